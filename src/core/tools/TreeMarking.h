#pragma once

// How the mouse marks items in the tool panel's trees. A plain press makes the pressed item the
// only marked one, the caret and the anchor; Ctrl toggles; Shift marks the run from the anchor; a
// press on an already marked item keeps the marks for a drag; a press on empty space clears. A
// band dragged over empty space marks what it covers, by the modifiers held when it began.

#include <unordered_set>
#include <vector>

#include "core/tools/TreeViewClass.h"

namespace zelvora {

// The items a view shows, in display order: pre-order, without the descendants of closed folders.
std::vector<TreeHandle> VisibleItems(const TTreeModel& model);

class TTreeMarking {
 public:
  // A left press on an item. Returns true when the item was already marked and nothing changed
  // (the marks wait for a drag; Release decides when none follows).
  bool PressItem(TTreeModel& model, TreeHandle item, bool ctrl, bool shift);
  // The button went up without a drag after PressItem returned true: the item becomes the only
  // marked one, as a plain press would have made it.
  void ReleaseWithoutDrag(TTreeModel& model, TreeHandle item);
  // A press on empty space (or an item's indent, or right of it): unless `keepMarks` (Ctrl or
  // Shift held) every mark, the caret and the anchor go.
  void PressEmpty(TTreeModel& model, bool keepMarks);
  // A press on a folder's expand button: it opens or closes and is the only marked item.
  void PressExpandButton(TTreeModel& model, TreeHandle folder);

  // Band selection: begins with the marks as they are and the modifiers held now; each move passes
  // the items the band covers; the end (release or Escape) keeps the marks.
  void BeginBand(const TTreeModel& model, bool ctrl, bool shift);
  void MoveBand(TTreeModel& model, const std::vector<TreeHandle>& covered);
  void EndBand();
  bool BandActive() const { return band_; }

  TreeHandle Anchor() const { return anchor_; }
  // After the tree was cleared or reloaded: an anchor may not name a removed item.
  void Forget();

 private:
  TreeHandle anchor_ = kNoItem;
  bool band_ = false;
  bool bandCtrl_ = false;
  bool bandShift_ = false;
  // The items marked when the band began (Shift: those the band has not yet touched).
  std::unordered_set<TreeHandle> before_;
  std::unordered_set<TreeHandle> covered_;
};

}  // namespace zelvora
