#include "core/tools/HistoryDateSettings.h"

#include "core/shell/UtilFunc.h"

namespace zelvora {

namespace {

constexpr std::string_view kConfigSection = "ConfigDialog";
constexpr std::string_view kDialogSection = "HistoryDateDialog";

}  // namespace

VisitRangeTexts LoadVisitRangeTexts(const std::string& settingsFile) {
  VisitRangeTexts texts;
  texts.alwaysToday = ReadProfileInt(settingsFile, kConfigSection, "HistoryAlwaysToday", 1) == 1;
  texts.dateFrom = ReadProfileString(settingsFile, kConfigSection, "HistoryDateFrom", "");
  texts.dateTo = ReadProfileString(settingsFile, kConfigSection, "HistoryDateTo", "");
  texts.timeFrom = ReadProfileString(settingsFile, kConfigSection, "HistoryTimeFrom", "");
  texts.timeTo = ReadProfileString(settingsFile, kConfigSection, "HistoryTimeTo", "");
  return texts;
}

bool SaveVisitRangeTexts(const std::string& settingsFile, const VisitRangeTexts& texts) {
  ProfileUpdate update(settingsFile);
  bool accepted = WriteProfileInt(settingsFile, kConfigSection, "HistoryAlwaysToday",
                                  texts.alwaysToday ? 1 : 0);
  accepted = WriteProfileString(settingsFile, kConfigSection, "HistoryDateFrom", texts.dateFrom) &&
             accepted;
  accepted =
      WriteProfileString(settingsFile, kConfigSection, "HistoryDateTo", texts.dateTo) && accepted;
  accepted = WriteProfileString(settingsFile, kConfigSection, "HistoryTimeFrom", texts.timeFrom) &&
             accepted;
  accepted =
      WriteProfileString(settingsFile, kConfigSection, "HistoryTimeTo", texts.timeTo) && accepted;
  return update.Commit() && accepted;
}

DialogPosition LoadHistoryDateDialogPosition(const std::string& settingsFile) {
  return {ReadProfileOptionalInt(settingsFile, kDialogSection, "x"),
          ReadProfileOptionalInt(settingsFile, kDialogSection, "y")};
}

bool SaveHistoryDateDialogPosition(const std::string& settingsFile, int x, int y) {
  ProfileUpdate update(settingsFile);
  const bool acceptedX = WriteProfileInt(settingsFile, kDialogSection, "x", x);
  const bool acceptedY = WriteProfileInt(settingsFile, kDialogSection, "y", y);
  return update.Commit() && acceptedX && acceptedY;
}

}  // namespace zelvora
