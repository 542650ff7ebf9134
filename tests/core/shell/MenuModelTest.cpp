#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/shell/MenuModel.h"

namespace zelvora {
namespace {

class FakeTheme : public MenuThemeSource {
 public:
  std::map<std::string, std::string, std::less<>> captions;
  std::map<std::string, std::string, std::less<>> barCaptions;
  std::map<std::string, std::string, std::less<>> shortcuts;
  std::map<std::string, std::string, std::less<>> gestures;
  std::string label = "&File History";
  int gestureReads = 0;

  std::string MenuCaption(std::string_view name, std::string_view builtIn) override {
    return Lookup(captions, name, builtIn);
  }
  std::string MenuBarCaption(std::string_view name, std::string_view builtIn) override {
    return Lookup(barCaptions, name, builtIn);
  }
  std::string ShortcutText(std::string_view name) override { return Lookup(shortcuts, name, {}); }
  std::string GestureText(std::string_view name) override {
    ++gestureReads;
    return Lookup(gestures, name, {});
  }
  std::string FileHistoryLabel() override { return label; }

 private:
  static std::string Lookup(const std::map<std::string, std::string, std::less<>>& map,
                            std::string_view name, std::string_view fallback) {
    const auto it = map.find(name);
    return std::string(it != map.end() ? std::string_view(it->second) : fallback);
  }
};

// A popup as short lines: "id text" for items, "-" for separators, ">popup text" for submenus.
std::vector<std::string> Describe(const MenuPopup& popup) {
  std::vector<std::string> lines;
  for (const MenuEntry& entry : popup.entries) {
    switch (entry.kind) {
      case MenuEntryKind::kItem:
        lines.push_back(std::to_string(entry.id) + " " + entry.Text());
        break;
      case MenuEntryKind::kSeparator:
        lines.push_back(entry.id == kSeparatorId ? "-" : "-?");
        break;
      case MenuEntryKind::kSubmenu:
        lines.push_back(">" + std::to_string(entry.popup) + " " + entry.caption);
        break;
    }
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(MenuModelTest, BuiltInMenusPutEveryInsertWhereItBelongs) {
  const MenuModel model = BuildMenus(MenuBuildOptions{});
  const Lines file = Describe(model.popups[kMenuFile]);
  ASSERT_EQ(file.size(), 19u);
  EXPECT_EQ(file[9], ">17 &File History");
  EXPECT_EQ(Describe(model.popups[kMenuScript])[5], ">19 &File History");
  // The items of the three submenus become the submenus, in place; captions stand as written.
  const Lines display = Describe(model.popups[kMenuDisplay]);
  ASSERT_EQ(display.size(), 22u);
  EXPECT_EQ(display[8], ">10 CharSize");
  EXPECT_EQ(display[21], ">13 Select Before Action");
  // Every popup but the configuration dialog's own is built.
  for (int popup = 0; popup < kPopupCount; ++popup)
    EXPECT_EQ(model.popups[popup].exists, popup != kMenuListViewContext) << popup;
}

TEST(MenuModelTest, ThemeTextsReachEveryRowOfTheirName) {
  FakeTheme theme;
  theme.captions["NewTab"] = "Open &Tab   ";
  theme.captions["FileHistoryDelete"] = "Forget Files";
  theme.captions["SelectAction"] = "On &Select (mouse)";
  theme.captions["FileMenu"] = "ignored for the bar";
  theme.barCaptions["FileMenu"] = "&Files ";
  theme.shortcuts["NewTab"] = " Ctrl+T ";
  theme.shortcuts["FileHistoryDelete"] = "Bogus+Key";
  theme.shortcuts["Exit"] = "Alt+F4";
  theme.shortcuts["FileMenu"] = "Ctrl+F";
  theme.gestures["WebBack"] = "L";
  theme.label = "Recent";

  std::vector<std::pair<std::uint16_t, std::string>> offered;
  std::vector<std::pair<std::uint16_t, std::string>> gestures;
  MenuBuildOptions options;
  options.theme = &theme;
  options.addShortcut = [&](std::uint16_t id, std::string_view keyText) {
    offered.emplace_back(id, std::string(keyText));
    return keyText != "Bogus+Key";
  };
  options.addGesture = [&](std::uint16_t id, std::string_view gesture) {
    gestures.emplace_back(id, std::string(gesture));
  };

  MenuModel model = BuildMenus(options);
  EXPECT_EQ(Describe(model.popups[kMenuFile])[0], "3002 Open &Tab\tCtrl+T");
  EXPECT_EQ(Describe(model.popups[kMenuTab])[0], "3002 Open &Tab\tCtrl+T");
  // A refused key still shows its text; the items that borrow the caption do not take the key.
  EXPECT_EQ(Describe(model.popups[kMenuFile])[10], "5874 Forget Files\tBogus+Key");
  EXPECT_EQ(Describe(model.popups[kMenuToolPanel])[13], "5875 Forget Files");
  EXPECT_EQ(Describe(model.popups[kMenuScript])[5], ">19 Recent");
  EXPECT_EQ(Describe(model.popups[kMenuDisplay])[20], ">12 On &Select (mouse)");
  EXPECT_EQ(Describe(model.popups[kPopupStandardMenu]).front(), ">0 &Files ");
  EXPECT_EQ(Describe(model.popups[kPopupStandardMenu]).back(), "200 &Exit\tAlt+F4");
  EXPECT_EQ(model.selectActionCaptions[0], "On Select ");

  // Both NewTab rows are offered; the menu-bar row's key is not a command.
  EXPECT_EQ(offered,
            (std::vector<std::pair<std::uint16_t, std::string>>{
                {3002, "Ctrl+T"}, {5874, "Bogus+Key"}, {200, "Alt+F4"}, {3002, "Ctrl+T"}}));
  EXPECT_TRUE(gestures.empty());
  EXPECT_EQ(theme.gestureReads, 0);

  options.gesturesEnabled = true;
  model = BuildMenus(options);
  EXPECT_EQ(gestures, (std::vector<std::pair<std::uint16_t, std::string>>{{3069, "L"}}));
}

TEST(MenuModelTest, CaptionsAreCleanedForFeedback) {
  EXPECT_EQ(CleanCommandCaption("&New\tCtrl+N"), "New");
  EXPECT_EQ(CleanCommandCaption("Re&load (&R)\tF5"), "Reload ");
  EXPECT_EQ(CleanCommandCaption("Title & Url Copy"), "Title & Url Copy");
  EXPECT_EQ(CleanCommandCaption("A&&B_&_"), "A&B__");
  EXPECT_EQ(CleanCommandCaption("(&x)"), "");

  FakeTheme theme;
  theme.shortcuts["WebBack"] = "Alt+Left";
  theme.captions["ProxyNameCopy"] = "Copy &Name";
  MenuBuildOptions options;
  options.theme = &theme;
  const MenuModel model = BuildMenus(options);
  // Menu-bar popups are searched before the context menus, which are searched by number.
  const std::pair<std::uint16_t, std::string_view> commands[] = {
      {3069, "Go Back"}, {3155, "CharSize"}, {3143, "Maximum"}, {3092, "Title Copy"},
      {3237, "New"},     {4772, "Edit"},     {3171, ""},        {9999, ""}};
  for (const auto& [id, caption] : commands)
    EXPECT_EQ(CaptionOfCommand(model, id), caption) << id;
  ASSERT_NE(FindMenuEntry(model, 3156), nullptr);
  EXPECT_EQ(FindMenuEntry(model, 3156)->popup, kMenuSelectAction);
}

TEST(MenuModelTest, FileHistoryCaptionsKeepToFortyCharacters) {
  std::string umlauts;  // 45 two-byte letters
  for (int i = 0; i < 45; ++i)
    umlauts += "\xC3\xA4";
  // 40 characters stay; at 41 dropping "Users" is enough, at 43 "someone" goes too. When the name
  // alone is too long for "\...\", the drive goes, then the name is cut. Characters count, not
  // bytes.
  const std::pair<std::string, std::string> paths[] = {
      {"C:tabs.dat", "C:\\tabs.dat"},
      {"D:\\Users\\someone\\Zelvora\\lists\\Tabs.dat12",
       "D:\\...\\someone\\Zelvora\\lists\\Tabs.dat12"},
      {"D:\\Users\\someone\\Zelvora\\lists\\Tabs.dat1234", "D:\\...\\Zelvora\\lists\\Tabs.dat1234"},
      {"E:\\lists\\A name of thirty-eight characters.dat", "A name of thirty-eight characters.dat"},
      {"E:\\lists\\" + std::string(60, 'n'), std::string(37, 'n') + "..."},
      {umlauts, umlauts.substr(0, 74) + "..."},
      {"/Tom & Jerry/list.dat", "/Tom && Jerry/list.dat"}};
  for (const auto& [path, caption] : paths)
    EXPECT_EQ(FileHistoryCaption(path), caption) << path;

  const std::vector<std::string> entries = {"/a/one.dat", "  ", "/a/three.dat  ", "/a/four.dat"};
  std::vector<std::string> items;
  for (const MenuEntry& item : FileHistoryItems(entries, kTabFileHistoryIds))
    items.push_back(std::to_string(item.id) + " " + item.Text());
  EXPECT_EQ(items, (Lines{"3869 /a/one.dat", "3871 /a/three.dat", "3872 /a/four.dat"}));
  const auto capped =
      FileHistoryItems(std::vector<std::string>(300, "/x.dat"), kScriptFileHistoryIds);
  ASSERT_EQ(capped.size(), 199u);
  EXPECT_EQ(capped.front().id, 4469);
  EXPECT_EQ(capped.back().id, 4667);
}

TEST(MenuModelTest, FileHistoryPopupsListTheirOwnKind) {
  std::array<TFileHistoryList, kFileHistoryKindCount> histories;
  histories[kFileTab].Add("/home/u/tabs.dat", 20);
  histories[kFileScript].Add("/home/u/a.js", 20);
  histories[kFileScript].Add("/home/u/b.js", 20);
  histories[kFileProxy].Add("/home/u/proxy.dat", 20);
  EXPECT_EQ(FileHistoryPopupItems(kPopupTabFileHistory, histories, 0).size(), 1u);
  const auto scripts = FileHistoryPopupItems(kPopupScriptFileHistory, histories, 0);
  ASSERT_EQ(scripts.size(), 2u);
  EXPECT_EQ(scripts[1].id, kScriptFileHistoryIds.firstId + 1);
  // The tool panel's popup follows the page shown: Proxy here, nothing for Favorite.
  EXPECT_EQ(FileHistoryPopupItems(kPopupTreeFileHistory, histories, kFileProxy).size(), 1u);
  EXPECT_TRUE(FileHistoryPopupItems(kPopupTreeFileHistory, histories, kFileFavorite).empty());
  EXPECT_TRUE(FileHistoryPopupItems(kPopupTravelLog, histories, 0).empty());
}

}  // namespace
}  // namespace zelvora
