#include "core/tools/TreeViewClass.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "core/shell/WindowState.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

const std::vector<TreeHandle> kNoChildren;
const std::string kNoName;

// At most kTreeNameMax characters, a multi-byte sequence counting as one: what the view's name
// buffer would give back.
std::string_view CutName(std::string_view name) {
  std::size_t end = 0;
  for (std::size_t count = 0; count < kTreeNameMax && end < name.size(); ++count)
    end += CharLengthAt(name, end);
  return name.substr(0, end);
}

}  // namespace

std::int32_t PackVisitStamp(const TVisitStamp& stamp) {
  const std::uint32_t value = std::uint32_t{stamp.notCached} | std::uint32_t{stamp.hour} << 8 |
                              std::uint32_t{stamp.minute} << 16 | std::uint32_t{stamp.second} << 24;
  return static_cast<std::int32_t>(value);
}

TVisitStamp UnpackVisitStamp(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return TVisitStamp{static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                     static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

void TTreeViewItemList::Add(const TTreeItemRec& record) {
  records_.push_back(record);
  if (!indexStale_)
    index_.emplace(record.Handle, LastIndex());
  Modified = true;
}

bool TTreeViewItemList::Get(int index, TTreeItemRec& out) const {
  if (index < 0 || index >= Count()) {
    out.Handle = kNoItem;
    out.Value.clear();
    return false;
  }
  out = records_[static_cast<std::size_t>(index)];
  return true;
}

void TTreeViewItemList::Put(int index, const TTreeItemRec& record) {
  if (index < 0 || index >= Count())
    return;
  TTreeItemRec& stored = records_[static_cast<std::size_t>(index)];
  Modified = !EqualsIgnoreCase(stored.Value, record.Value);
  if (stored.Handle != record.Handle)
    indexStale_ = true;
  stored = record;
}

void TTreeViewItemList::Delete(int index) {
  if (index < 0 || index >= Count())
    return;
  const TreeHandle handle = records_[static_cast<std::size_t>(index)].Handle;
  if (index == LastIndex() && !indexStale_) {
    const auto found = index_.find(handle);
    if (found != index_.end() && found->second == index)
      index_.erase(found);
  } else {
    indexStale_ = true;
  }
  records_.erase(records_.begin() + index);
  Modified = true;
}

void TTreeViewItemList::DeleteHandles(const std::vector<TreeHandle>& handles) {
  if (handles.empty() || records_.empty())
    return;
  const std::unordered_set<TreeHandle> doomed(handles.begin(), handles.end());
  const auto kept = std::remove_if(records_.begin(), records_.end(), [&](const TTreeItemRec& r) {
    return doomed.contains(r.Handle);
  });
  if (kept == records_.end())
    return;
  records_.erase(kept, records_.end());
  indexStale_ = true;
  Modified = true;
}

void TTreeViewItemList::Clear() {
  records_.clear();
  index_.clear();
  indexStale_ = false;
  Modified = false;
}

int TTreeViewItemList::IndexOfHandle(TreeHandle handle) const {
  if (indexStale_)
    RebuildIndex();
  const auto found = index_.find(handle);
  return found == index_.end() ? -1 : found->second;
}

void TTreeViewItemList::RebuildIndex() const {
  index_.clear();
  index_.reserve(records_.size());
  // The first record with a handle wins, as a search from index 0 would find it.
  for (std::size_t i = 0; i < records_.size(); ++i)
    index_.emplace(records_[i].Handle, static_cast<int>(i));
  indexStale_ = false;
}

TTreeModel::TTreeModel(int tree) : tree_(tree) {}

std::string_view TTreeModel::SectionName() const {
  if (tree_ < 0 || tree_ >= static_cast<int>(kToolPageNames.size()))
    return {};
  return kToolPageNames[static_cast<std::size_t>(tree_)];
}

bool TTreeModel::Exists(TreeHandle item) const {
  if (item < base_)
    return false;
  const std::size_t slot = item - base_;
  return slot < nodes_.size() && nodes_[slot].alive;
}

TTreeModel::Node& TTreeModel::At(TreeHandle item) {
  return item == kNoItem ? top_ : nodes_[item - base_];
}

const TTreeModel::Node& TTreeModel::At(TreeHandle item) const {
  return item == kNoItem ? top_ : nodes_[item - base_];
}

TreeHandle TTreeModel::FirstTopLevel() const {
  return top_.first;
}

TreeHandle TTreeModel::Parent(TreeHandle item) const {
  return Exists(item) ? At(item).parent : kNoItem;
}

const std::vector<TreeHandle>& TTreeModel::ChildrenOf(TreeHandle parent) const {
  const Node& node = At(parent);
  if (node.childrenStale) {
    node.children.clear();
    for (TreeHandle child = node.first; child != kNoItem; child = At(child).next) {
      At(child).row = static_cast<int>(node.children.size());
      node.children.push_back(child);
    }
    node.childrenStale = false;
  }
  return node.children;
}

const std::vector<TreeHandle>& TTreeModel::Children(TreeHandle parent) const {
  if (parent != kNoItem && !Exists(parent))
    return kNoChildren;
  return ChildrenOf(parent);
}

TreeHandle TTreeModel::FirstChild(TreeHandle item) const {
  return Exists(item) ? At(item).first : kNoItem;
}

TreeHandle TTreeModel::NextSibling(TreeHandle item) const {
  return Exists(item) ? At(item).next : kNoItem;
}

int TTreeModel::Row(TreeHandle item) const {
  if (!Exists(item))
    return -1;
  ChildrenOf(At(item).parent);
  return At(item).row;
}

int TTreeModel::Depth(TreeHandle item) const {
  int depth = 0;
  for (TreeHandle parent = Parent(item); parent != kNoItem; parent = At(parent).parent)
    ++depth;
  return depth;
}

TreeHandle TTreeModel::NextInPreOrder(TreeHandle item, bool skipChildren, int* depth) const {
  if (!Exists(item))
    return kNoItem;
  if (!skipChildren && At(item).first != kNoItem) {
    if (depth != nullptr)
      ++*depth;
    return At(item).first;
  }
  for (TreeHandle climbing = item; climbing != kNoItem;) {
    const Node& node = At(climbing);
    if (node.next != kNoItem)
      return node.next;
    climbing = node.parent;
    if (depth != nullptr)
      --*depth;
  }
  return kNoItem;
}

const std::string& TTreeModel::Name(TreeHandle item) const {
  return Exists(item) ? At(item).name : kNoName;
}

void TTreeModel::SetName(TreeHandle item, std::string_view name) {
  if (!Exists(item))
    return;
  const std::string_view cut = CutName(name);
  if (At(item).name == cut)
    return;
  At(item).name = cut;
  if (listener_ != nullptr)
    listener_->ItemChanged(item);
}

bool TTreeModel::IsOpen(TreeHandle item) const {
  return Exists(item) && At(item).open;
}

void TTreeModel::SetOpen(TreeHandle item, bool open) {
  if (!Exists(item) || At(item).open == open)
    return;
  At(item).open = open;
  if (listener_ != nullptr)
    listener_->ItemChanged(item);
}

bool TTreeModel::IsMarked(TreeHandle item) const {
  return Exists(item) && At(item).marked;
}

void TTreeModel::SetMarked(TreeHandle item, bool marked) {
  if (!Exists(item) || At(item).marked == marked)
    return;
  At(item).marked = marked;
}

void TTreeModel::ClearMarks() {
  for (std::size_t slot = 0; slot < nodes_.size(); ++slot) {
    Node& node = nodes_[slot];
    if (node.alive)
      node.marked = false;
  }
}

std::vector<TreeHandle> TTreeModel::MarkedItems() const {
  std::vector<TreeHandle> marked;
  for (TreeHandle item = FirstTopLevel(); item != kNoItem; item = NextInPreOrder(item)) {
    if (At(item).marked)
      marked.push_back(item);
  }
  return marked;
}

void TTreeModel::SetCaret(TreeHandle item) {
  caret_ = Exists(item) ? item : kNoItem;
}

const TTreeItemRec* TTreeModel::Record(TreeHandle item) const {
  const int index = items_.IndexOfHandle(item);
  return index < 0 ? nullptr : &items_.At(index);
}

bool TTreeModel::IsFolder(TreeHandle item) const {
  const TTreeItemRec* record = Record(item);
  return record != nullptr && record->IsFolder;
}

TreeHandle TTreeModel::InsertItem(TreeHandle parent, TreeHandle after, std::string_view name,
                                  const TTreeItemRec& record) {
  if (!Exists(parent))
    parent = kNoItem;
  TreeHandle previous = At(parent).last;
  if (after == kInsertFirst) {
    previous = kNoItem;
  } else if (Exists(after) && At(after).parent == parent) {
    previous = after;
  }

  if (listener_ != nullptr)
    listener_->BeforeInsert(parent, previous == kNoItem ? 0 : Row(previous) + 1);
  const TreeHandle handle = base_ + static_cast<TreeHandle>(nodes_.size());
  Node& node = nodes_.emplace_back();
  Node& above = At(parent);
  node.parent = parent;
  node.name = CutName(name);
  node.alive = true;
  node.previous = previous;
  node.next = previous == kNoItem ? above.first : At(previous).next;
  (previous == kNoItem ? above.first : At(previous).next) = handle;
  (node.next == kNoItem ? above.last : At(node.next).previous) = handle;
  if (node.next == kNoItem && !above.childrenStale) {
    node.row = static_cast<int>(above.children.size());
    above.children.push_back(handle);
  } else {
    above.childrenStale = true;
  }
  ++count_;

  TTreeItemRec stored = record;
  stored.Handle = handle;
  items_.Add(stored);
  if (listener_ != nullptr)
    listener_->AfterInsert();
  return handle;
}

void TTreeModel::Unlink(TreeHandle item) {
  const Node& node = At(item);
  Node& above = At(node.parent);
  (node.previous == kNoItem ? above.first : At(node.previous).next) = node.next;
  (node.next == kNoItem ? above.last : At(node.next).previous) = node.previous;
  if (!above.childrenStale && !above.children.empty() && above.children.back() == item)
    above.children.pop_back();
  else
    above.childrenStale = true;
}

void TTreeModel::CollectSubtree(TreeHandle item, std::vector<TreeHandle>& out) const {
  int depth = 0;
  for (TreeHandle next = item; next != kNoItem && (next == item || depth > 0);
       next = NextInPreOrder(next, false, &depth))
    out.push_back(next);
}

void TTreeModel::DeleteItem(TreeHandle item) {
  if (!Exists(item))
    return;
  if (listener_ != nullptr)
    listener_->BeforeRemove(At(item).parent, Row(item));

  std::vector<TreeHandle> doomed;
  CollectSubtree(item, doomed);
  for (const TreeHandle handle : doomed)
    At(handle).alive = false;
  if (caret_ != kNoItem && !Exists(caret_))
    caret_ = CaretAfterRemoval(item);
  Unlink(item);
  Bury(doomed);
  if (listener_ != nullptr)
    listener_->AfterRemove();
}

void TTreeModel::DeleteItems(const std::vector<TreeHandle>& items) {
  if (std::none_of(items.begin(), items.end(), [this](TreeHandle i) { return Exists(i); }))
    return;
  if (listener_ != nullptr)
    listener_->BeforeReset();

  // Every removed node is visited once: a subtree already removed by an earlier entry of `items`
  // is not walked again when one of its ancestors comes later.
  std::vector<TreeHandle> doomed;
  std::vector<TreeHandle> topmost;
  std::vector<TreeHandle> pending;
  for (const TreeHandle item : items) {
    if (!Exists(item))
      continue;
    topmost.push_back(item);
    pending.push_back(item);
    while (!pending.empty()) {
      const TreeHandle handle = pending.back();
      pending.pop_back();
      At(handle).alive = false;
      doomed.push_back(handle);
      for (TreeHandle child = At(handle).first; child != kNoItem; child = At(child).next) {
        if (At(child).alive)
          pending.push_back(child);
      }
    }
  }

  if (caret_ != kNoItem && !Exists(caret_)) {
    TreeHandle removed = caret_;
    while (At(removed).parent != kNoItem && !Exists(At(removed).parent))
      removed = At(removed).parent;
    caret_ = CaretAfterRemoval(removed);
  }
  // Only the items whose parent stays are taken out of a sibling chain; the rest go with their
  // removed ancestors.
  for (const TreeHandle item : topmost) {
    const TreeHandle parent = At(item).parent;
    if (parent == kNoItem || Exists(parent))
      Unlink(item);
  }
  Bury(doomed);
  if (listener_ != nullptr)
    listener_->AfterReset();
}

TreeHandle TTreeModel::CaretAfterRemoval(TreeHandle removed) const {
  // As the view does when its selected item goes: the next sibling, else the previous one, else
  // the parent.
  for (TreeHandle next = At(removed).next; next != kNoItem; next = At(next).next) {
    if (Exists(next))
      return next;
  }
  for (TreeHandle previous = At(removed).previous; previous != kNoItem;
       previous = At(previous).previous) {
    if (Exists(previous))
      return previous;
  }
  return At(removed).parent;
}

void TTreeModel::Bury(const std::vector<TreeHandle>& doomed) {
  for (const TreeHandle handle : doomed) {
    Node& node = At(handle);
    node.marked = false;
    std::vector<TreeHandle>().swap(node.children);
    std::string().swap(node.name);
  }
  count_ -= doomed.size();
  items_.DeleteHandles(doomed);
}

void TTreeModel::Clear() {
  if (listener_ != nullptr)
    listener_->BeforeReset();
  base_ += static_cast<TreeHandle>(nodes_.size());
  std::vector<Node>().swap(nodes_);
  top_ = Node{};
  count_ = 0;
  caret_ = kNoItem;
  items_.Clear();
  scrollX = 0;
  scrollY = 0;
  if (listener_ != nullptr)
    listener_->AfterReset();
}

}  // namespace zelvora
