#pragma once

// What the history date dialog keeps in the settings file: the date range texts and "Always
// Today" in section "ConfigDialog" (written only by the dialog's OK), and the dialog's position in
// section "HistoryDateDialog".

#include <optional>
#include <string>

#include "core/tools/HistorySearch.h"

namespace zelvora {

VisitRangeTexts LoadVisitRangeTexts(const std::string& settingsFile);
bool SaveVisitRangeTexts(const std::string& settingsFile, const VisitRangeTexts& texts);

struct DialogPosition {
  std::optional<int> x;
  std::optional<int> y;
};
DialogPosition LoadHistoryDateDialogPosition(const std::string& settingsFile);
bool SaveHistoryDateDialogPosition(const std::string& settingsFile, int x, int y);

}  // namespace zelvora
