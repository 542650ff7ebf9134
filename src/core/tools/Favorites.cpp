#include "core/tools/Favorites.h"

#include <unordered_set>

#include "core/browser/PageRules.h"
#include "core/tools/TreeMarking.h"

namespace zelvora {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Whether `target` goes when the marked items are deleted: it lies inside a marked closed folder
// (other than the first top-level item, which stays).
bool GoesWithMarked(const TTreeModel& model, TreeHandle target) {
  for (TreeHandle above = model.Parent(target); above != kNoItem; above = model.Parent(above)) {
    if (model.IsMarked(above) && !model.IsOpen(above) && above != model.FirstTopLevel())
      return true;
  }
  return false;
}

// Appends the records of the non-folder items among `doomed` and their descendants, each once
// (a marked item inside a doomed closed folder is doomed twice).
void CollectDeletedRecords(const TTreeModel& model, const std::vector<TreeHandle>& doomed,
                           std::vector<TTreeItemRec>& out) {
  std::unordered_set<TreeHandle> seen;
  for (const TreeHandle top : doomed) {
    int depth = 0;
    for (TreeHandle item = top; item != kNoItem && (item == top || depth > 0);
         item = model.NextInPreOrder(item, false, &depth)) {
      if (!seen.insert(item).second)
        continue;
      const TTreeItemRec* record = model.Record(item);
      if (record != nullptr && !record->IsFolder)
        out.push_back(*record);
    }
  }
}

// DeleteMarked. With `stoppable` the stop flag ends the walk, and only what was decided until
// then is deleted; a move passes false, because it has already taken the items' text and must
// not lose any of it halfway. `deleted`, when given, receives the records of the non-folder
// items that went.
void DeleteMarkedItems(TTreeModel& model, TJobState* job, bool stoppable,
                       std::vector<TTreeItemRec>* deleted) {
  const std::vector<TreeHandle> marked = model.MarkedItems();
  if (marked.empty())
    return;
  const TreeHandle first = model.FirstTopLevel();
  const int reselect = PreOrderIndex(model, marked.front());
  SetJobRange(job, marked.size());

  std::vector<TreeHandle> doomed;
  std::unordered_set<TreeHandle> doomedSet;
  std::vector<TreeHandle> heldBack;
  bool stopped = false;
  std::size_t walked = 0;
  for (const TreeHandle item : marked) {
    if (stoppable && JobStopped(job)) {
      stopped = true;
      break;
    }
    SetJobPosition(job, ++walked);
    if (item == first)
      continue;
    if (model.IsOpen(item) && model.FirstChild(item) != kNoItem) {
      heldBack.push_back(item);
    } else {
      doomed.push_back(item);
      doomedSet.insert(item);
    }
  }
  // Inner folders first: an open folder whose marked children all went may leave its own parent
  // without children.
  for (auto folder = heldBack.rbegin(); folder != heldBack.rend() && !stopped; ++folder) {
    bool childLeft = false;
    for (TreeHandle child = model.FirstChild(*folder); child != kNoItem && !childLeft;
         child = model.NextSibling(child))
      childLeft = !doomedSet.contains(child);
    if (!childLeft) {
      doomed.push_back(*folder);
      doomedSet.insert(*folder);
    }
  }
  if (deleted != nullptr)
    CollectDeletedRecords(model, doomed, *deleted);
  model.DeleteItems(doomed);

  TreeHandle selected = ItemAtPreOrderIndex(model, reselect);
  if (selected == kNoItem)
    selected = model.FirstTopLevel();
  model.ClearMarks();
  SelectTreeItem(model, selected);
}

}  // namespace

std::vector<TreeHandle> AddPages(TTreeModel& model, const std::vector<PageToAdd>& pages,
                                 int nameMax, const TreeDefaults& defaults) {
  std::vector<TreeHandle> added;
  added.reserve(pages.size());
  for (const PageToAdd& page : pages) {
    added.push_back(AddTreeItem(model, false, model.Caret(), page.url,
                                PageTitle(page.title, page.url, nameMax), defaults));
  }
  return added;
}

std::vector<std::string> ValuesToOpen(const TTreeModel& model, int openTabs, int tabOpenMax) {
  std::vector<std::string> values;
  int tabs = openTabs;
  for (const TreeHandle item : model.MarkedItems()) {
    if (tabs >= tabOpenMax)
      break;
    const TTreeItemRec* record = model.Record(item);
    if (record == nullptr || record->IsFolder || record->Value.empty())
      continue;
    values.push_back(record->Value);
    ++tabs;
  }
  return values;
}

std::string CopyNamesAndValues(const TTreeModel& model, CopyKind kind, TJobState* job) {
  const std::vector<TreeHandle> marked = model.MarkedItems();
  SetJobRange(job, marked.size());
  std::string text;
  std::size_t walked = 0;
  for (const TreeHandle item : marked) {
    if (JobStopped(job))
      return {};
    SetJobPosition(job, ++walked);
    const TTreeItemRec* record = model.Record(item);
    if (record == nullptr || record->IsFolder)
      continue;
    if (kind != CopyKind::kValues) {
      text += model.Name(item);
      text += kLineEnd;
    }
    if (kind != CopyKind::kNames) {
      text += record->Value;
      text += kLineEnd;
    }
  }
  return text;
}

void DeleteMarked(TTreeModel& model, TJobState* job) {
  DeleteMarkedItems(model, job, true, nullptr);
}

std::vector<TTreeItemRec> DeleteMarkedRecords(TTreeModel& model, TJobState* job) {
  std::vector<TTreeItemRec> deleted;
  DeleteMarkedItems(model, job, true, &deleted);
  return deleted;
}

void MoveMarked(TTreeModel& model, TreeHandle target, const TreeDefaults& defaults,
                TJobState* job) {
  if (!model.Exists(target) || model.IsMarked(target) || GoesWithMarked(model, target))
    return;
  const std::optional<std::string> text = SerializeSelection(model, job);
  if (!text || JobStopped(job))
    return;
  DeleteMarkedItems(model, job, false, nullptr);
  SelectTreeItem(model, target);
  InsertTreeText(model, *text, true, defaults, nullptr);
}

void MarkAllVisible(TTreeModel& model) {
  for (const TreeHandle item : VisibleItems(model))
    model.SetMarked(item, true);
}

void MarkLimit(TTreeModel& model, int openTabs, int tabOpenMax) {
  TreeHandle start = model.Caret();
  if (model.IsFolder(start))
    start = model.FirstChild(start);
  if (start == kNoItem)
    return;
  model.ClearMarks();
  int tabs = openTabs;
  for (TreeHandle item = start; item != kNoItem && tabs < tabOpenMax;
       item = model.NextSibling(item)) {
    model.SetMarked(item, true);
    ++tabs;
  }
  if (model.IsMarked(start))
    model.SetCaret(start);
}

void SetAllFoldersOpen(TTreeModel& model, bool open, TJobState* job) {
  const TTreeViewItemList& items = model.Items();
  SetJobRange(job, static_cast<std::size_t>(items.Count()));
  for (int index = 0; index < items.Count() && !JobStopped(job); ++index) {
    const TTreeItemRec& record = items.At(index);
    if (record.IsFolder)
      model.SetOpen(record.Handle, open);
    SetJobPosition(job, static_cast<std::size_t>(index) + 1);
  }
  model.SetOpen(model.FirstTopLevel(), true);
}

}  // namespace zelvora
