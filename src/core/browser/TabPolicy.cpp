#include "core/browser/TabPolicy.h"

#include <algorithm>

namespace zelvora {

int NewTabIndex(int count, int current, int tabNewPos) {
  if (count <= 0)
    return 0;
  if (current < 0)
    return count;
  // A stale current index past the end must not place the tab beyond the strip.
  const int known = std::min(current, count - 1);
  switch (tabNewPos) {
    case kNewFirst:
      return 0;
    case kNewRightOfCurrent:
      return known + 1;
    case kNewLeftOfCurrent:
      return known;
    default:
      return count;
  }
}

namespace {

// The rule's choice before it is checked against the tabs that remain.
int ChosenAfterClose(int closing, int count, int tabDelPos, bool hasOpener, int openerIndex) {
  if (!hasOpener)
    return 1;
  const bool isLast = closing == count - 1;
  switch (tabDelPos) {
    case kDelReturn:
      if (openerIndex >= 0 && openerIndex != closing)
        return openerIndex;
      return closing == 0 ? 1 : closing - 1;
    case kDelLast:
      if (closing == 0)
        return 1;
      return isLast ? count - 2 : count - 1;
    case kDelFirst:
      return closing == 0 ? 1 : 0;
    case kDelRight:
      if (closing == 0)
        return 1;
      return isLast ? closing - 1 : closing + 1;
    case kDelLeft:
      return closing == 0 ? 1 : closing - 1;
    default:
      return -1;
  }
}

}  // namespace

int TabAfterClose(int closing, int count, int tabDelPos, bool hasOpener, int openerIndex) {
  if (closing < 0 || closing >= count)
    return -1;
  const int chosen = ChosenAfterClose(closing, count, tabDelPos, hasOpener, openerIndex);
  if (chosen < 0 || chosen >= count || chosen == closing)
    return -1;
  return chosen;
}

std::vector<TabRange> CloseRanges(CloseKind kind, int clicked, int count) {
  std::vector<TabRange> candidates;
  if (clicked < 0) {
    // Without a clicked tab there is nothing to its left, and everything counts as its right.
    if (kind != CloseKind::kLeft)
      candidates.push_back({0, count - 1});
  } else {
    if (kind != CloseKind::kLeft)
      candidates.push_back({clicked + 1, count - 1});
    if (kind != CloseKind::kRight)
      candidates.push_back({0, clicked - 1});
  }
  std::vector<TabRange> ranges;
  for (const TabRange& range : candidates) {
    if (range.first <= range.last && range.first >= 0 && range.last <= count - 1)
      ranges.push_back(range);
  }
  return ranges;
}

int StepTab(int current, int count, int step) {
  if (count <= 0)
    return -1;
  const long long target = static_cast<long long>(current) + step;
  return static_cast<int>(std::clamp<long long>(target, 0, count - 1));
}

TabSize TabSizeOf(bool widthUse, int width, bool heightUse, int height) {
  return {widthUse ? width : 0, heightUse ? height : 0};
}

}  // namespace zelvora
