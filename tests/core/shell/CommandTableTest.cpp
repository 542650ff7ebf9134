#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shell/CommandTable.h"

namespace zelvora {
namespace {

struct BlockExpectation {
  CommandBlock block;
  std::size_t count;
  int firstMenu;
  std::uint16_t firstId;
  std::uint16_t lastId;
  std::string_view lastName;
};

TEST(CommandTableTest, BlocksHaveTheirSizesAndBoundaryRows) {
  const BlockExpectation expectations[] = {
      {kMenuBarBlock, 83, 0, 3001, 3149, "HELPMenu"},
      {kTreeContextBlock, 32, 2, 3037, 3110, "FavoriteFolderClose"},
      {kProxyContextBlock, 20, 3, 3037, 3110, "FavoriteFolderClose"},
      {kTabContextBlock, 29, 4, 3055, 3030, "WebHistoryCatalog"},
      {kListViewContextBlock, 7, 21, 3172, 3171, "CFGListViewAllSelect"},
      {kCharSizeBlock, 6, 10, 3148, 3147, "CharSizeMinimum"},
      {kToolPanelBlock, 14, 11, 3078, 3088, "FavoriteNew"},
      {kKeywordBoxBlock, 6, 14, 3233, 3237, "KeyWordNew"},
      {kSelectActionBlock, 6, 12, 3223, 3228, "SelectUrlEdit"},
      {kSelectBeforeActionBlock, 4, 13, 3229, 3232, "SelectBeforeActionMenu"},
  };
  std::size_t total = 0;
  for (const BlockExpectation& e : expectations) {
    const auto rows = BlockRows(e.block);
    ASSERT_EQ(rows.size(), e.count) << e.lastName;
    EXPECT_EQ(rows.front().kind, RowKind::kBeginPopup) << e.lastName;
    EXPECT_EQ(rows.front().menu, e.firstMenu) << e.lastName;
    EXPECT_EQ(rows.front().id, e.firstId) << e.lastName;
    EXPECT_EQ(rows.back().id, e.lastId) << e.lastName;
    EXPECT_EQ(rows.back().name, e.lastName);
    total += rows.size();
  }
  EXPECT_EQ(total, kCommandRows.size());
  EXPECT_EQ(BlockRows(kMenuBarBlock).back().kind, RowKind::kEndPopup);
  EXPECT_EQ(BlockRows(kMenuBarBlock).back().caption, "&Help..");
  EXPECT_EQ(BlockRows(kTabContextBlock).back().kind, RowKind::kItem);
  EXPECT_TRUE(BlockRows(CommandBlock{kCommandRowCount, 1}).empty());
  EXPECT_TRUE(BlockRows(CommandBlock{200, 8}).empty());

  // The build walks every block but the configuration dialog's.
  std::size_t built = 0;
  for (const CommandBlock& block : kMenuBuildBlocks) {
    built += block.count;
  }
  EXPECT_EQ(built, kCommandRowCount - kListViewContextBlock.count);
}

TEST(CommandTableTest, MenuBarPopupsEndInOrderWithTheirThemeKeys) {
  std::vector<std::string> ends;
  for (const CommandRow& row : BlockRows(kMenuBarBlock)) {
    if (row.kind == RowKind::kEndPopup) {
      ends.push_back(std::to_string(row.menu) + " " + std::string(row.name) + " " +
                     std::string(row.caption));
    }
  }
  EXPECT_EQ(ends,
            (std::vector<std::string>{"0 FileMenu &File", "5 DISPLAYMenu &DISPLAY",
                                      "6 ToolMenu &Tool", "7 ScriptMenu &Script", "1 TabMenu &Tab",
                                      "8 SystemMenu &System", "9 HELPMenu &Help.."}));
}

// Every row that bears `id` in `menu`, as "name|caption".
std::vector<std::string> RowsWithId(int menu, std::uint16_t id) {
  std::vector<std::string> found;
  for (const CommandRow& row : kCommandRows) {
    if (row.menu == menu && row.id == id && row.kind == RowKind::kItem) {
      found.push_back(std::string(row.name) + "|" + std::string(row.caption));
    }
  }
  return found;
}

TEST(CommandTableTest, IdsAndNamesMatchTheirMenus) {
  EXPECT_EQ(RowsWithId(2, 3092), std::vector<std::string>{"TitleCopy|&Title Copy"});
  EXPECT_EQ(RowsWithId(3, 3092), std::vector<std::string>{"ProxyNameCopy|Name Copy"});
  EXPECT_EQ(RowsWithId(4, 3137), std::vector<std::string>{"TitleCopy|&Title Copy"});
  EXPECT_EQ(RowsWithId(0, 3002), std::vector<std::string>{"NewTab|&New"});
  EXPECT_EQ(RowsWithId(1, 3002), std::vector<std::string>{"NewTab|&New"});
  EXPECT_EQ(RowsWithId(5, 3027), std::vector<std::string>{"WebSearchNext|Search Prev"});
  EXPECT_EQ(RowsWithId(5, 3028), std::vector<std::string>{"WebSearchPrev|Search Next"});
  EXPECT_EQ(RowsWithId(0, 200), std::vector<std::string>{"Exit|&Exit"});
  EXPECT_EQ(RowsWithId(9, 9), std::vector<std::string>{"Help|&Help"});
  EXPECT_EQ(RowsWithId(12, 3227), std::vector<std::string>{"SelectClipEdit|Edit && Copy"});
  EXPECT_EQ(RowsWithId(10, 3143), std::vector<std::string>{"CharSizeMaximum|Maximum(&1)"});
  EXPECT_EQ(RowsWithId(1, 3046), std::vector<std::string>{"FavoriteAllADD|Favorite All ADD"});
  EXPECT_EQ(RowsWithId(4, 3046), std::vector<std::string>{"FavoriteAllAdd|&Add Favorite All Tab"});
  EXPECT_EQ(RowsWithId(3, 3107), std::vector<std::string>{"FavoriteFolderAdd|&Folder Add"});
  EXPECT_EQ(RowsWithId(2, 3107), std::vector<std::string>{"FavoriteFolderAdd|&FolderAdd"});

  int separators = 0;
  for (const CommandRow& row : kCommandRows) {
    if (row.kind == RowKind::kSeparator) {
      ++separators;
      EXPECT_EQ(row.id, kSeparatorId);
      EXPECT_TRUE(row.name.empty() && row.caption.empty());
    }
    if (row.kind == RowKind::kBeginPopup && row.menu != 12 && row.menu != 13) {
      EXPECT_TRUE(row.name.empty() && row.caption.empty()) << int{row.menu};
    }
    EXPECT_NE(row.kind, RowKind::kMenuBarItem);
  }
  EXPECT_EQ(separators, 45);
  EXPECT_EQ(BlockRows(kSelectActionBlock).front().name, "SelectAction");
  EXPECT_EQ(BlockRows(kSelectBeforeActionBlock).front().caption, "Select Before Action");
}

}  // namespace
}  // namespace zelvora
