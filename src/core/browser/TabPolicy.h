#pragma once

// Where tabs open, which tab becomes current when the current one closes, which tabs the range
// closes take, and how big the tabs are. Indexes count from 0; -1 means none.

#include <cstdint>
#include <vector>

namespace zelvora {

enum TabNewPos : int { kNewLast = 0, kNewFirst = 1, kNewRightOfCurrent = 2, kNewLeftOfCurrent = 3 };
enum TabDelPos : int {
  kDelReturn = 0,
  kDelLast = 1,
  kDelFirst = 2,
  kDelRight = 3,
  kDelLeft = 4,
};
enum TabClickAction : int { kClickNone = 0, kClickClose = 1, kClickReload = 2 };

// The index a new tab is inserted at among `count` tabs (`count` = append). Without a current
// tab (-1) the tab is appended; unknown rules append.
int NewTabIndex(int count, int current, int tabNewPos);

// Whether another tab may open: the count is below `tabOpenMax`.
constexpr bool MayOpenTab(int count, int tabOpenMax) {
  return count < tabOpenMax;
}

// The tab to select when the current tab `closing` of `count` tabs closes, as an index before
// the removal (the caller shifts it). `hasOpener`: the tab was opened while another was
// current; `openerIndex`: that tab's index now, -1 when it is gone. Rules above 4 select
// nothing (-1). A choice that does not exist after the close (index 1 of one tab) is -1 too.
int TabAfterClose(int closing, int count, int tabDelPos, bool hasOpener, int openerIndex);

// The ranges a context-menu close takes, relative to tab `clicked` of `count` tabs, each as
// {first, last} inclusive, closed in this order by closing `first` again and again. A range
// whose bounds are out of 0..count-1 is left out.
struct TabRange {
  int first;
  int last;
  bool operator==(const TabRange&) const = default;
};
enum class CloseKind { kLeft, kRight, kExcluding };
std::vector<TabRange> CloseRanges(CloseKind kind, int clicked, int count);

// The tab after (+1) or before (-1) the current one; the current one at the ends.
int StepTab(int current, int count, int step);

// The fixed tab size: the configured width or height when its switch is on, else 0: the tab
// takes the width of its caption and the strip's own height.
struct TabSize {
  int width;
  int height;
  bool operator==(const TabSize&) const = default;
};
TabSize TabSizeOf(bool widthUse, int width, bool heightUse, int height);

}  // namespace zelvora
