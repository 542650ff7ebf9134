#include <gtest/gtest.h>

#include <string>

#include "core/shell/WindowState.h"
#include "core/tools/TreeViewClass.h"

namespace zelvora {
namespace {

TTreeItemRec Item(TreeHandle handle, std::string value) {
  TTreeItemRec record;
  record.Handle = handle;
  record.Value = std::move(value);
  return record;
}

TEST(TreeViewItemListTest, ModifiedAndHandleLookups) {
  TTreeViewItemList list;
  list.Add(Item(10, "http://a/"));
  list.Add(Item(11, "http://b/"));
  list.Add(Item(12, "http://c/"));
  EXPECT_TRUE(list.Modified);
  list.Modified = false;

  // The history search stores a visit stamp with an unchanged value: not a modification.
  TTreeItemRec record;
  ASSERT_TRUE(list.Get(1, record));
  record.Value = "HTTP://B/";
  record.VisitStamp = PackVisitStamp({1, 23, 59, 58});
  list.Put(1, record);
  EXPECT_FALSE(list.Modified);
  EXPECT_EQ(UnpackVisitStamp(list.At(1).VisitStamp).second, 58);
  record.Value = "http://other/";
  list.Put(1, record);
  EXPECT_TRUE(list.Modified);
  list.Put(1, record);
  EXPECT_FALSE(list.Modified);
  EXPECT_EQ(PackVisitStamp({0xFF, 0xFF, 0xFF, 0xFF}), kNoVisitStamp);

  EXPECT_FALSE(list.Get(3, record));
  EXPECT_EQ(record.Handle, kNoItem);
  EXPECT_TRUE(record.Value.empty());

  list.Delete(0);
  EXPECT_TRUE(list.Modified);
  EXPECT_EQ(list.IndexOfHandle(10), -1);
  EXPECT_EQ(list.IndexOfHandle(12), 1);
  list.Add(Item(13, ""));
  list.Delete(list.LastIndex());
  list.Add(Item(14, ""));
  EXPECT_EQ(list.IndexOfHandle(13), -1);
  EXPECT_EQ(list.IndexOfHandle(14), 2);
  list.DeleteHandles({11, 99});
  EXPECT_EQ(list.IndexOfHandle(12), 0);
  EXPECT_EQ(list.IndexOfHandle(14), 1);

  list.Clear();
  EXPECT_FALSE(list.Modified);
  EXPECT_EQ(list.LastIndex(), -1);
  EXPECT_EQ(list.IndexOfHandle(12), -1);
}

// Records what a view would be told.
class Recorder : public TTreeModelListener {
 public:
  void BeforeInsert(TreeHandle parent, int row) override {
    events.push_back("insert " + std::to_string(parent) + " " + std::to_string(row));
  }
  void AfterInsert() override { events.push_back("inserted"); }
  void BeforeRemove(TreeHandle parent, int row) override {
    events.push_back("remove " + std::to_string(parent) + " " + std::to_string(row));
  }
  void AfterRemove() override { events.push_back("removed"); }
  void BeforeReset() override { events.push_back("reset"); }
  void AfterReset() override { events.push_back("was reset"); }
  void ItemChanged(TreeHandle) override {}

  std::vector<std::string> events;
};

// Every node has its record, every record its node, and rows match the children's order.
void ExpectConsistent(const TTreeModel& model) {
  ASSERT_EQ(static_cast<std::size_t>(model.Items().Count()), model.ItemCount());
  for (int i = 0; i < model.Items().Count(); ++i) {
    const TreeHandle item = model.Items().At(i).Handle;
    ASSERT_TRUE(model.Exists(item));
    ASSERT_EQ(model.Items().IndexOfHandle(item), i);
    ASSERT_EQ(model.Children(model.Parent(item))[static_cast<std::size_t>(model.Row(item))], item);
  }
}

TEST(TreeModelTest, InsertAndDeleteKeepNodesRecordsAndRowsTogether) {
  TTreeModel model(kToolFavorite);
  Recorder recorder;
  model.SetListener(&recorder);
  const TTreeItemRec folder{kNoItem, true, false, {}, kNoVisitStamp};
  const TreeHandle root = model.InsertItem(kNoItem, kInsertLast, "Root", folder);
  const TreeHandle f = model.InsertItem(root, kInsertLast, "F", folder);
  const TreeHandle b = model.InsertItem(root, kInsertLast, "b", Item(0, "u"));
  const TreeHandle x = model.InsertItem(f, kInsertLast, "x", Item(0, "u"));
  const TreeHandle y = model.InsertItem(f, x, "y", folder);
  const TreeHandle z = model.InsertItem(y, root, "z", Item(0, "u"));
  const TreeHandle a = model.InsertItem(root, kInsertFirst, "a", Item(0, "u"));
  const TreeHandle c = model.InsertItem(root, f, "c", Item(0, "u"));
  EXPECT_EQ(model.Children(root), (std::vector<TreeHandle>{a, f, c, b}));
  EXPECT_EQ(recorder.events[recorder.events.size() - 2], "insert " + std::to_string(root) + " 2");
  EXPECT_EQ(model.Depth(z), 3);
  ExpectConsistent(model);

  // One pass over overlapping items: a descendant before its folder, a stale handle.
  model.SetCaret(z);
  recorder.events.clear();
  model.DeleteItems({z, f, a, 99999});
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"reset", "was reset"}));
  EXPECT_EQ(model.Children(root), (std::vector<TreeHandle>{c, b}));
  EXPECT_EQ(model.ItemCount(), 3u);
  for (const TreeHandle gone : {f, x, y, z, a})
    EXPECT_FALSE(model.Exists(gone));
  EXPECT_EQ(model.Caret(), c);
  ExpectConsistent(model);

  recorder.events.clear();
  model.DeleteItem(c);
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"remove " + std::to_string(root) + " 0", "removed"}));
  EXPECT_EQ(model.Caret(), b);
  model.DeleteItem(b);
  EXPECT_EQ(model.Caret(), root);
  ExpectConsistent(model);

  model.scrollY = 5;
  model.Clear();
  EXPECT_EQ(model.ItemCount(), 0u);
  EXPECT_EQ(model.Caret(), kNoItem);
  EXPECT_EQ(model.scrollY, 0);
  EXPECT_FALSE(model.Exists(root));
  EXPECT_GT(model.InsertItem(kNoItem, kInsertLast, "new", folder), c);
  ExpectConsistent(model);
}

}  // namespace
}  // namespace zelvora
