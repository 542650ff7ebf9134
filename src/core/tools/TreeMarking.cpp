#include "core/tools/TreeMarking.h"

#include <algorithm>

namespace zelvora {

namespace {

void AppendVisible(const TTreeModel& model, TreeHandle parent, std::vector<TreeHandle>& out) {
  for (const TreeHandle child : model.Children(parent)) {
    out.push_back(child);
    if (model.IsOpen(child))
      AppendVisible(model, child, out);
  }
}

}  // namespace

std::vector<TreeHandle> VisibleItems(const TTreeModel& model) {
  std::vector<TreeHandle> visible;
  AppendVisible(model, kNoItem, visible);
  return visible;
}

bool TTreeMarking::PressItem(TTreeModel& model, TreeHandle item, bool ctrl, bool shift) {
  if (!model.Exists(item))
    return false;
  if (shift) {
    const std::vector<TreeHandle> visible = VisibleItems(model);
    const TreeHandle from = model.Exists(anchor_) ? anchor_ : item;
    const auto first = std::find(visible.begin(), visible.end(), from);
    const auto last = std::find(visible.begin(), visible.end(), item);
    if (first != visible.end() && last != visible.end()) {
      for (auto each = std::min(first, last); each <= std::max(first, last); ++each) {
        model.SetMarked(*each, true);
      }
    } else {
      model.SetMarked(item, true);
    }
    model.SetCaret(item);
    return false;
  }
  if (ctrl) {
    model.SetMarked(item, !model.IsMarked(item));
    if (!model.Exists(anchor_))
      anchor_ = item;
    return false;
  }
  model.SetCaret(item);
  anchor_ = item;
  if (model.IsMarked(item))
    return true;
  model.ClearMarks();
  model.SetMarked(item, true);
  return false;
}

void TTreeMarking::ReleaseWithoutDrag(TTreeModel& model, TreeHandle item) {
  if (!model.Exists(item))
    return;
  model.ClearMarks();
  model.SetMarked(item, true);
  model.SetCaret(item);
  anchor_ = item;
}

void TTreeMarking::PressEmpty(TTreeModel& model, bool keepMarks) {
  if (keepMarks)
    return;
  model.ClearMarks();
  model.SetCaret(kNoItem);
  anchor_ = kNoItem;
}

void TTreeMarking::PressExpandButton(TTreeModel& model, TreeHandle folder) {
  if (!model.Exists(folder))
    return;
  model.SetOpen(folder, !model.IsOpen(folder));
  model.ClearMarks();
  model.SetMarked(folder, true);
  model.SetCaret(folder);
  anchor_ = folder;
}

void TTreeMarking::BeginBand(const TTreeModel& model, bool ctrl, bool shift) {
  band_ = true;
  bandCtrl_ = ctrl;
  bandShift_ = shift;
  covered_.clear();
  before_.clear();
  for (const TreeHandle item : model.MarkedItems()) {
    before_.insert(item);
  }
}

void TTreeMarking::MoveBand(TTreeModel& model, const std::vector<TreeHandle>& covered) {
  if (!band_)
    return;
  const std::unordered_set<TreeHandle> now(covered.begin(), covered.end());
  const bool keepOutside = bandCtrl_ || bandShift_;
  // Items the band left go back to what they had when it began (with Shift, an item the band
  // touched counts as newly marked and so loses its mark).
  for (const TreeHandle item : covered_) {
    if (!now.contains(item) && model.Exists(item))
      model.SetMarked(item, keepOutside && before_.contains(item));
  }
  if (!keepOutside && !before_.empty()) {
    for (const TreeHandle item : before_) {
      if (!now.contains(item) && model.Exists(item))
        model.SetMarked(item, false);
    }
    before_.clear();
  }
  for (const TreeHandle item : now) {
    if (!model.Exists(item))
      continue;
    if (bandCtrl_) {
      model.SetMarked(item, !before_.contains(item));
    } else {
      if (bandShift_)
        before_.erase(item);
      model.SetMarked(item, true);
    }
  }
  covered_ = now;
}

void TTreeMarking::EndBand() {
  band_ = false;
  before_.clear();
  covered_.clear();
}

void TTreeMarking::Forget() {
  anchor_ = kNoItem;
  EndBand();
}

}  // namespace zelvora
