#pragma once

// The item model of the tool panel's trees. A tree is a forest of nodes, each with a stable
// handle (never reused while the model lives), a name, an open state and a selection mark; what
// else an item carries (folder flag, value, visit stamp) lives in the parallel item list, which
// the tree files and every tree command address by record index. The view on screen is only an
// adapter over this model: jobs run on the model alone, off the user-interface thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelvora {

using TreeHandle = std::uint32_t;
inline constexpr TreeHandle kNoItem = 0;

// Where InsertNode puts a new item among its siblings, besides "after this sibling".
inline constexpr TreeHandle kInsertFirst = 0xFFFF0001u;
inline constexpr TreeHandle kInsertLast = 0xFFFF0002u;

// A name survives a round trip through the tree with at most this many characters.
inline constexpr std::size_t kTreeNameMax = 255;

// No visit stamp: every item but those of the history search.
inline constexpr std::int32_t kNoVisitStamp = -1;

// The visit stamp's four bytes: the history entry was not cached, and the hour, minute and
// second of the last visit.
struct TVisitStamp {
  std::uint8_t notCached = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
};
std::int32_t PackVisitStamp(const TVisitStamp& stamp);
TVisitStamp UnpackVisitStamp(std::int32_t value);

// One item's record in the item list, copied by value in and out.
struct TTreeItemRec {
  TreeHandle Handle = kNoItem;
  bool IsFolder = false;
  // The open state of a folder as the text it was loaded from said (used once, after loading).
  bool Expanded = false;
  // The URL of a URL item, "host:port" of a proxy item; empty for folders.
  std::string Value;
  // The visit stamp (history search items) or kNoVisitStamp; the serializer's scratch list keeps
  // an item's depth here.
  std::int32_t VisitStamp = kNoVisitStamp;
};

// The records of one tree in record order. Looking a handle up is a hash lookup, so that
// whole-tree operations stay linear.
class TTreeViewItemList {
 public:
  // Stores a copy and sets Modified.
  void Add(const TTreeItemRec& record);
  // Copies record `index` out; outside the list the out record's Handle and Value are cleared and
  // the result is false.
  bool Get(int index, TTreeItemRec& out) const;
  // Overwrites record `index`; Modified becomes whether the new Value differs from the stored one,
  // compared ignoring case. Outside the list nothing happens.
  void Put(int index, const TTreeItemRec& record);
  // Removes record `index`, closing the gap; sets Modified.
  void Delete(int index);
  // Removes every record whose handle is in `handles` in one pass; sets Modified when any went.
  void DeleteHandles(const std::vector<TreeHandle>& handles);
  // Empties the list and clears Modified.
  void Clear();
  // The record index of the handle, -1 when absent.
  int IndexOfHandle(TreeHandle handle) const;
  int Count() const { return static_cast<int>(records_.size()); }
  int LastIndex() const { return Count() - 1; }
  // Direct access for readers that only look (valid indexes only).
  const TTreeItemRec& At(int index) const { return records_[static_cast<std::size_t>(index)]; }

  bool Modified = false;

 private:
  void RebuildIndex() const;

  std::vector<TTreeItemRec> records_;
  // Handle → record index; rebuilt lazily after a removal moved records.
  mutable std::unordered_map<TreeHandle, int> index_;
  mutable bool indexStale_ = false;
};

// Told about every structural change the model makes, so that a view can follow. A model being
// worked on by a job has no listener; the view is reset from the model when the job ends.
class TTreeModelListener {
 public:
  virtual ~TTreeModelListener() = default;
  // `parent` is kNoItem for the top level; `row` is the position among the parent's children.
  virtual void BeforeInsert(TreeHandle parent, int row) = 0;
  virtual void AfterInsert() = 0;
  virtual void BeforeRemove(TreeHandle parent, int row) = 0;
  virtual void AfterRemove() = 0;
  virtual void BeforeReset() = 0;
  virtual void AfterReset() = 0;
  // The name or the open state of an item changed. Marks are not reported one by one: a view
  // takes them over in one step after the program changed them.
  virtual void ItemChanged(TreeHandle item) = 0;
};

// One tree of the tool panel: its nodes, its caret item (the tree's selected item, where
// insertions go), the marks (the selection that commands act on), its scroll position and its
// item list.
class TTreeModel {
 public:
  // `tree`: 0 Favorite, 1 History, 2 Analysis, 3 Proxy.
  explicit TTreeModel(int tree);

  int Tree() const { return tree_; }
  // "Favorite", "History", "Analysis" or "Proxy": the tree's settings section and the name of a
  // new tree's root folder.
  std::string_view SectionName() const;

  void SetListener(TTreeModelListener* listener) { listener_ = listener; }

  // Structure. `parent` kNoItem stands for the top level.
  bool Exists(TreeHandle item) const;
  TreeHandle FirstTopLevel() const;
  TreeHandle Parent(TreeHandle item) const;
  const std::vector<TreeHandle>& Children(TreeHandle parent) const;
  TreeHandle FirstChild(TreeHandle item) const;
  TreeHandle NextSibling(TreeHandle item) const;
  // The item's position among its parent's children.
  int Row(TreeHandle item) const;
  std::size_t ItemCount() const { return count_; }
  // The number of parents above the item (0 at the top level).
  int Depth(TreeHandle item) const;
  // The item after `item` in pre-order over all items (closed folders' descendants included),
  // kNoItem after the last one. With `skipChildren` the item's own subtree is passed over.
  // `depth`, when given, follows the step: one more into a child, one less per level climbed.
  TreeHandle NextInPreOrder(TreeHandle item, bool skipChildren = false, int* depth = nullptr) const;

  // Node data.
  const std::string& Name(TreeHandle item) const;
  // Keeps at most kTreeNameMax characters, cut on a character boundary.
  void SetName(TreeHandle item, std::string_view name);
  bool IsOpen(TreeHandle item) const;
  // Opening marks a folder open even while it has no children.
  void SetOpen(TreeHandle item, bool open);
  bool IsMarked(TreeHandle item) const;
  void SetMarked(TreeHandle item, bool marked);
  // Clears every mark.
  void ClearMarks();
  // The marked items in display order (pre-order, hidden descendants included).
  std::vector<TreeHandle> MarkedItems() const;
  TreeHandle Caret() const { return caret_; }
  void SetCaret(TreeHandle item);

  // The item's record, or null when the item has none.
  const TTreeItemRec* Record(TreeHandle item) const;
  bool IsFolder(TreeHandle item) const;
  TTreeViewItemList& Items() { return items_; }
  const TTreeViewItemList& Items() const { return items_; }

  // Puts a new node under `parent` (kNoItem: top level) after `after` (a child of `parent`,
  // kInsertFirst or kInsertLast; a handle that is not a child of `parent` means kInsertLast) and
  // adds its record. The name is cut as SetName does.
  TreeHandle InsertItem(TreeHandle parent, TreeHandle after, std::string_view name,
                        const TTreeItemRec& record);
  // Removes the item with its subtree and their records.
  void DeleteItem(TreeHandle item);
  // Removes several items with their subtrees in one pass (items inside another removed subtree
  // are fine).
  void DeleteItems(const std::vector<TreeHandle>& items);
  // Removes every item and record; Modified is cleared; the scroll position is reset.
  void Clear();

  // The view's horizontal and vertical scroll positions, as the tree file header keeps them.
  int scrollX = 0;
  int scrollY = 0;

 private:
  // Siblings are linked both ways, so that an item goes in or out anywhere in constant time; the
  // children as a vector (and each child's row) are a cache, kept up by insertions at the end
  // and rebuilt from the links when something else left it behind.
  struct Node {
    TreeHandle parent = kNoItem;
    TreeHandle previous = kNoItem;
    TreeHandle next = kNoItem;
    TreeHandle first = kNoItem;
    TreeHandle last = kNoItem;
    mutable int row = 0;
    mutable bool childrenStale = false;
    bool alive = false;
    bool open = false;
    bool marked = false;
    mutable std::vector<TreeHandle> children;
    std::string name;
  };
  Node& At(TreeHandle item);
  const Node& At(TreeHandle item) const;
  // The parent's children cache, brought up to date.
  const std::vector<TreeHandle>& ChildrenOf(TreeHandle parent) const;
  // Takes the item out of its parent's sibling chain.
  void Unlink(TreeHandle item);
  void CollectSubtree(TreeHandle item, std::vector<TreeHandle>& out) const;
  // Where the caret goes when `removed` (the topmost removed item above it) is being removed;
  // the removed nodes are already marked dead, their places not yet closed.
  TreeHandle CaretAfterRemoval(TreeHandle removed) const;
  // Frees the removed nodes' data and drops their records.
  void Bury(const std::vector<TreeHandle>& doomed);

  int tree_;
  TTreeModelListener* listener_ = nullptr;
  // The top level's children; node of handle h is nodes_[h - base_]. Removed nodes keep their
  // slot (dead) until Clear, which starts the storage anew while handles keep counting up.
  Node top_;
  std::vector<Node> nodes_;
  TreeHandle base_ = 1;
  std::size_t count_ = 0;
  TreeHandle caret_ = kNoItem;
  TTreeViewItemList items_;
};

}  // namespace zelvora
