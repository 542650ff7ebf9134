#include "core/input/ConfigPages.h"

#include <algorithm>

#include "core/shell/SettingsFile.h"
#include "core/shell/SettingsTable.h"
#include "core/shell/UtilFunc.h"
#include "core/tools/DenyList.h"

namespace zelvora {

namespace {

using K = ConfigControlKind;
using P = ConfigTreePage;

static_assert(kTabSessionLabelCount == kTabSessionCount);

constexpr ConfigText Label(ControlLabel label) {
  return {ConfigText::kLabel, label};
}

constexpr ConfigText PageName(ConfigTreePage page) {
  return {ConfigText::kPageName, page};
}

constexpr ConfigControl Check(P page, int flag, ConfigText caption, ConfigText group = {},
                              bool sameRow = false) {
  return {page, K::kCheck, flag, caption, group, 0, 0, 0, {}, sameRow};
}

constexpr ConfigControl Spin(P page, int integer, ControlLabel label, int min, int max,
                             ConfigText group = {}, bool sameRow = false) {
  return {page, K::kSpin, integer, Label(label), group, 0, min, max, {}, sameRow};
}

constexpr ConfigText SessionLabel(int option) {
  return {ConfigText::kSessionLabel, option};
}

constexpr ConfigControl Combo(P page, int action, ControlLabel label,
                              std::span<const ControlLabel> items) {
  return {page, K::kCombo, action, Label(label), {}, 0, 0, 0, items};
}

constexpr ConfigControl Edit(P page, int string, ConfigText caption = {}, ConfigText group = {}) {
  return {page, K::kEdit, string, caption, group};
}

constexpr ConfigControl Button(P page, ConfigAction action, ControlLabel label, bool sameRow) {
  return {page, K::kButton, action, Label(label), {}, 0, 0, 0, {}, sameRow};
}

constexpr ConfigControl Colour(P page, int colour, ControlLabel label, ConfigText group) {
  return {page, K::kColour, colour, Label(label), group};
}

constexpr ConfigControl Layered(int row, ControlLabel label) {
  return {P::kConfigPageLayered,      K::kLayered, kFlagLayeredMain + row, Label(label), {},
          kIntLayeredMainValue + row, 0,           kLayeredValueMax};
}

constexpr ControlLabel kNewTabPositions[] = {kLabelLast, kLabelFirst, kLabelSelectTabRight,
                                             kLabelSelectTabLeft};
constexpr ControlLabel kDeletePositions[] = {kLabelReturn, kLabelLast, kLabelFirst,
                                             kLabelSelectTabRight, kLabelSelectTabLeft};
constexpr ControlLabel kClickActions[] = {kLabelClickNone, kLabelClickClose, kLabelClickReload};

constexpr ConfigText kStartSizeGroup = Label(kLabelStartSize);
constexpr ConfigText kStartPosGroup = Label(kLabelStartPos);
constexpr ConfigText kMultiMediaGroup = Label(kLabelMultiMedia);
constexpr ConfigText kSecurityGroup = Label(kLabelSecurity);
constexpr ConfigText kDownloadGroup = Label(kLabelDownload);
constexpr ConfigText kTabGroup = PageName(kConfigPageTab);
constexpr ConfigText kProgressGroup = Label(kLabelProgressBar);
constexpr ConfigText kModifiedGroup = Label(kLabelConfirmModified);

// clang-format off
constexpr ConfigControl kControls[] = {
  {P::kConfigPageConfig, K::kStartMode, 0, {}, kStartSizeGroup},
  Spin(P::kConfigPageConfig, kIntStartWidth, kLabelW, 0, 10000, kStartSizeGroup),
  Spin(P::kConfigPageConfig, kIntStartHeight, kLabelH, 0, 10000, kStartSizeGroup, true),
  {P::kConfigPageConfig, K::kStartMode, 1, {}, kStartPosGroup},
  Spin(P::kConfigPageConfig, kIntStartX, kLabelX, 0, 10000, kStartPosGroup),
  Spin(P::kConfigPageConfig, kIntStartY, kLabelY, 0, 10000, kStartPosGroup, true),
  Check(P::kConfigPageConfig, kFlagOptionSetForeground, Label(kLabelOptionToSetForeground)),
  Check(P::kConfigPageConfig, kFlagLastWebRestore, Label(kLabelTabUrlRestore)),
  Check(P::kConfigPageConfig, kFlagAllowMultiple, Label(kLabelAllowMultipleInstances)),
  Check(P::kConfigPageConfig, kFlagConfirmExit, Label(kLabelConfirmationOnExit)),
  Check(P::kConfigPageConfig, kFlagDefaultBrowser, Label(kLabelDefaultBrowser)),

  Check(P::kConfigPageTab, kFlagTabNewSelect, Label(kLabelNewTabSelect)),
  Check(P::kConfigPageTab, kFlagTabToolTip, Label(kLabelTabToolTip)),
  Spin(P::kConfigPageTab, kIntTabToolTipCharMax, kLabelTabToolTipCharMax, 0, 255),
  Spin(P::kConfigPageTab, kIntTabOpenMax, kLabelTabOpenMax, 1, 100),
  Spin(P::kConfigPageTab, kIntTabTitleMax, kLabelTabTitleCharMax, 1, 100),
  Combo(P::kConfigPageTab, kTabNewPos, kLabelNewTabPosition, kNewTabPositions),
  Combo(P::kConfigPageTab, kTabDelPos, kLabelDeleteTabAfterPosition, kDeletePositions),
  Combo(P::kConfigPageTab, kWheelClick, kLabelWheelClick, kClickActions),
  Combo(P::kConfigPageTab, kLeftDBClick, kLabelLeftDoubleClick, kClickActions),
  {P::kConfigPageTab, K::kSessionCheck, kSessionAutoSave, SessionLabel(kSessionAutoSave)},
  {P::kConfigPageTab, K::kSessionCheck, kTabLazyLoad, SessionLabel(kTabLazyLoad)},
  {P::kConfigPageTab, K::kSessionSpin, kTabDiscardMinutes, SessionLabel(kTabDiscardMinutes), {},
   0, 0, kTabDiscardMinutesMax},

  Check(P::kConfigPageAddressBar, kFlagAddresBarNewTabOpen, Label(kLabelAddressNewTabOpen)),
  Check(P::kConfigPageAddressBar, kFlagAddresBarFitness, Label(kLabelFitnessWidth)),
  Check(P::kConfigPageAddressBar, kFlagAddresBarImmediately, Label(kLabelSelectOpenImmediately)),
  Spin(P::kConfigPageAddressBar, kIntAddresBarListMax, kLabelHistoryListMax, 0, 100),

  Check(P::kConfigPageSearchBar, kFlagSearchBarNewTabOpen, Label(kLabelAddressNewTabOpen)),
  Check(P::kConfigPageSearchBar, kFlagSearchBarImmediately, Label(kLabelSelectOpenImmediately)),
  Spin(P::kConfigPageSearchBar, kIntSearchBarKeyWordListMax, kLabelKeyWordListMax, 0, 100),

  Check(P::kConfigPageTool, kFlagToolNewTab, Label(kLabelSearchNewTabOpen)),
  Check(P::kConfigPageTool, kFlagToolTip, Label(kLabelTreeToolTip)),
  Spin(P::kConfigPageTool, kIntToolTipCharMax, kLabelTreeToolTipCharMax, 0, 255),
  Spin(P::kConfigPageTool, kIntToolFileHistoryMax, kLabelFileHistoryMax, 1, 40),
  Spin(P::kConfigPageTool, kIntToolItemNameMax, kLabelItemNameCharMax, 0, 100),

  Spin(P::kConfigPageHistory, kIntHistoryKeyWordListMax, kLabelKeyWordListMax, 0, 100),
  Check(P::kConfigPageHistory, kFlagHistoryAfterCloseItem, Label(kLabelAfterCloseItem)),
  Check(P::kConfigPageHistory, kFlagHistoryCaseInsensitive, Label(kLabelCaseInsensitiveMatching)),

  Spin(P::kConfigPageAnalysis, kIntAnalysisKeyWordListMax, kLabelKeyWordListMax, 0, 100),
  Check(P::kConfigPageAnalysis, kFlagAnalysisAfterCloseItem, Label(kLabelAfterCloseItem)),
  Check(P::kConfigPageAnalysis, kFlagAnalysisCaseInsensitive,
        Label(kLabelCaseInsensitiveMatching)),
  Check(P::kConfigPageAnalysis, kFlagAnalysisImageTag, Label(kLabelTakeImageTags)),

  Check(P::kConfigPageWeb, kFlagWebUserAgent, {ConfigText::kLabelReminder, kLabelUserAgent}),
  Edit(P::kConfigPageWeb, kStringWebUserAgentValue),
  Button(P::kConfigPageWeb, kConfigNowUserAgent, kLabelNowUserAgent, true),
  Check(P::kConfigPageWeb, kFlagWebHomePage, Label(kLabelHomePage)),
  Edit(P::kConfigPageWeb, kStringWebHomePageValue),
  Button(P::kConfigPageWeb, kConfigIeHomePage, kLabelIeHomePage, false),
  Button(P::kConfigPageWeb, kConfigNowTabPage, kLabelNowTabPage, true),
  Button(P::kConfigPageWeb, kConfigBlankPage, kLabelBlankPage, true),
  Spin(P::kConfigPageWeb, kIntWebHistoryListMax, kLabelHistoryMenuMax, 0, 255),

  // Kept for the run only: the setting has no key in the file.
  Spin(P::kConfigPageSearch, 15, kLabelKeyWordListMax, 0, 100),

  Check(P::kConfigPageDenyUrl, kFlagDenyUseUrl, Label(kLabelUseDenyUrl)),
  Button(P::kConfigPageDenyUrl, kConfigDenyReload, kLabelReloadMark, false),
  Button(P::kConfigPageDenyUrl, kConfigDenyEdit, kLabelEdit, true),
  {P::kConfigPageDenyUrl, K::kDenyText, 0, {}},

  Check(P::kConfigPagePermission, 22, Label(kLabelImage), kMultiMediaGroup),
  Check(P::kConfigPagePermission, 23, Label(kLabelSound), kMultiMediaGroup),
  Check(P::kConfigPagePermission, 24, Label(kLabelVideo), kMultiMediaGroup),
  Check(P::kConfigPagePermission, 25, Label(kLabelJava), kSecurityGroup),
  Check(P::kConfigPagePermission, 26, Label(kLabelScript), kSecurityGroup),
  Check(P::kConfigPagePermission, 27, Label(kLabelActiveX), kSecurityGroup),
  Check(P::kConfigPagePermission, 28, Label(kLabelActiveXDownload), kSecurityGroup),
  // Two columns: DownloadOnly … PragmaNoCache beside ForceOffLine … OffLineIfNotConnected.
  Check(P::kConfigPagePermission, 29, Label(kLabelDownloadOnly), kDownloadGroup),
  Check(P::kConfigPagePermission, 33, Label(kLabelForceOffLine), kDownloadGroup, true),
  Check(P::kConfigPagePermission, 30, Label(kLabelFrameDownLoad), kDownloadGroup),
  Check(P::kConfigPagePermission, 34, Label(kLabelNoClientPull), kDownloadGroup, true),
  Check(P::kConfigPagePermission, 31, Label(kLabelReSynchronize), kDownloadGroup),
  Check(P::kConfigPagePermission, 35, Label(kLabelSilent), kDownloadGroup, true),
  Check(P::kConfigPagePermission, 32, Label(kLabelPragmaNoCache), kDownloadGroup),
  Check(P::kConfigPagePermission, 36, Label(kLabelOffLineIfNotConnected), kDownloadGroup, true),
  Check(P::kConfigPagePermission, kFlagWebPermitReload, Label(kLabelChangedReload)),

  Colour(P::kConfigPageOther, kColourTabProgress, kLabelWebProgressColor, kTabGroup),
  {P::kConfigPageOther, K::kCheckSpin, kFlagTabWidthUse, Label(kLabelTabWidth), kTabGroup,
   kIntTabWidth, 0, 255},
  {P::kConfigPageOther, K::kCheckSpin, kFlagTabHeightUse, Label(kLabelTabHeight), kTabGroup,
   kIntTabHeight, 0, 255},
  Colour(P::kConfigPageOther, kColourToolProgressFore, kLabelColorFore, kProgressGroup),
  Colour(P::kConfigPageOther, kColourToolProgressBack, kLabelColorBack, kProgressGroup),
  {P::kConfigPageOther, K::kSample, 0, Label(kLabelSample), kProgressGroup},
  {P::kConfigPageOther, K::kButton, kConfigProgressReset, Label(kLabelReset), kProgressGroup, 0,
   0, 0, {}, true},

  Edit(P::kConfigPageItems, kStringNameFolder, Label(kLabelNameFolder)),
  Edit(P::kConfigPageItems, kStringNameUrl, Label(kLabelNameUrl)),
  Edit(P::kConfigPageItems, kStringNameProxy, Label(kLabelNameProxy)),
  Edit(P::kConfigPageItems, kStringValueUrl, Label(kLabelValueUrl)),
  Edit(P::kConfigPageItems, kStringValueProxy, Label(kLabelValueProxy)),

  Check(P::kConfigPageFile, kFlagModifiedFirst + 0, {ConfigText::kTreeName, 0}, kModifiedGroup),
  Check(P::kConfigPageFile, kFlagModifiedFirst + 1, {ConfigText::kTreeName, 1}, kModifiedGroup),
  Check(P::kConfigPageFile, kFlagModifiedFirst + 2, {ConfigText::kTreeName, 2}, kModifiedGroup),
  Check(P::kConfigPageFile, kFlagModifiedFirst + 3, {ConfigText::kTreeName, 3}, kModifiedGroup),
  Edit(P::kConfigPageFile, kStringFileUnTitled, Label(kLabelFileUnTitled)),

  Layered(0, kLabelMainWindow),
  Check(P::kConfigPageLayered, kFlagLayeredColorKey, Label(kLabelColorKey)),
  {P::kConfigPageLayered, K::kColour, kColourLayeredKey, {}, {}, 0, 0, 0, {}, true},
  Layered(1, kLabelSearchDialog),
  Layered(2, kLabelOpenDialog),
  Layered(3, kLabelEditDialog),
  Layered(4, kLabelSelectDialog),
  Layered(5, kLabelConfigDialog),
  Layered(6, kLabelDateDialog),
  Layered(7, kLabelOtherDialog),
  {P::kConfigPageLayered, K::kNote, 0, Label(kLabelOnlyWindows2000Xp)},
};
// clang-format on

constexpr ConfigTreePage kPageParents[] = {
    P::kConfigPageConfig, P::kConfigPageConfig, P::kConfigPageConfig, P::kConfigPageConfig,
    P::kConfigPageConfig, P::kConfigPageTool,   P::kConfigPageTool,   P::kConfigPageTool,
    P::kConfigPageTool,   P::kConfigPageConfig, P::kConfigPageWeb,    P::kConfigPageWeb,
    P::kConfigPageWeb,    P::kConfigPageConfig, P::kConfigPageOther,  P::kConfigPageOther,
    P::kConfigPageOther,  P::kConfigPageOther,
};
static_assert(std::size(kPageParents) == kConfigTreePageCount);

constexpr std::string_view kConfigSelectKey = "ConfigSelect";

std::size_t At(int index) {
  return static_cast<std::size_t>(index);
}

}  // namespace

std::span<const ConfigControl> ConfigControls() {
  return kControls;
}

std::optional<ConfigTreePage> ConfigPageParent(ConfigTreePage page) {
  if (page == kConfigPageConfig)
    return std::nullopt;
  return kPageParents[page];
}

std::string ConfigCaption(const TThemeTexts& texts, ConfigText caption) {
  switch (caption.source) {
    case ConfigText::kNone:
      return {};
    case ConfigText::kLabel:
      return texts.Label(static_cast<ControlLabel>(caption.index));
    case ConfigText::kPageName:
      return texts.ConfigPageName(static_cast<ConfigTreePage>(caption.index));
    case ConfigText::kTreeName:
      return texts.ToolPanelTreeName(static_cast<ToolPanelTree>(caption.index));
    case ConfigText::kLabelReminder:
      // The theme texts keep the last label wrapped in its square brackets already.
      return texts.Label(static_cast<ControlLabel>(caption.index)) +
             texts.Label(kLabelImportantReboot);
    case ConfigText::kSessionLabel:
      return texts.TabSessionLabel(caption.index);
  }
  return {};
}

int ClampConfigValue(const ConfigControl& control, int value) {
  return std::clamp(value, control.min, control.max);
}

void CopyConfigValues(const TSettings& from, TSettings& to) {
  for (const ConfigControl& control : kControls) {
    const std::size_t index = At(control.index);
    switch (control.kind) {
      case K::kCheck:
        to.flags[index] = from.flags[index] == 1 ? 1 : 0;
        break;
      case K::kSpin:
        to.integers[index] = ClampConfigValue(control, from.integers[index]);
        break;
      case K::kCheckSpin:
      case K::kLayered:
        to.flags[index] = from.flags[index] == 1 ? 1 : 0;
        to.integers[At(control.second)] =
            ClampConfigValue(control, from.integers[At(control.second)]);
        break;
      case K::kCombo:
        to.tabActions[index] =
            std::clamp(from.tabActions[index], 0, static_cast<int>(control.items.size()) - 1);
        break;
      case K::kEdit:
        to.strings[index] = from.strings[index].substr(0, kConfigEditMax);
        break;
      case K::kStartMode:
        (control.index == 0 ? to.startSize : to.startPos) =
            std::clamp(control.index == 0 ? from.startSize : from.startPos, 0, kStartModeMax);
        break;
      case K::kColour:
        to.colours[index] = from.colours[index] & 0xFFFFFF;
        break;
      case K::kSessionCheck:
        to.tabSession[index] = from.tabSession[index] == 1 ? 1 : 0;
        break;
      case K::kSessionSpin:
        to.tabSession[index] = ClampConfigValue(control, from.tabSession[index]);
        break;
      case K::kButton:
      case K::kDenyText:
      case K::kSample:
      case K::kNote:
        break;
    }
  }
}

int OpeningConfigPage(int lastShown, int saved) {
  const int page = lastShown >= 0 ? lastShown : saved;
  return page >= 0 && page < kConfigTreePageCount ? page : 0;
}

ConfigDialogState LoadConfigDialogState(const std::string& settingsFile) {
  return {ReadProfileOptionalInt(settingsFile, kConfigSection, "x"),
          ReadProfileOptionalInt(settingsFile, kConfigSection, "y"),
          ReadProfileInt(settingsFile, kConfigSection, kConfigSelectKey, 0)};
}

bool SaveConfigDialogPosition(const std::string& settingsFile, int x, int y) {
  ProfileUpdate update(settingsFile);
  const bool acceptedX = WriteProfileInt(settingsFile, kConfigSection, "x", x);
  const bool acceptedY = WriteProfileInt(settingsFile, kConfigSection, "y", y);
  return update.Commit() && acceptedX && acceptedY;
}

bool CommitConfiguration(const std::string& settingsFile, const std::string& denyListFile,
                         const TSettings& shown, int page, std::string_view denyText,
                         TSettings& record) {
  CopyConfigValues(shown, record);
  record.strings[kStringDenyUrlList] = std::string(denyText);
  // One rewrite of the settings file for the page and every setting.
  ProfileUpdate update(settingsFile);
  const bool selected =
      WriteProfileInt(settingsFile, kConfigSection, kConfigSelectKey, OpeningConfigPage(page, 0));
  const bool written = SaveSettings(settingsFile, record);
  const bool saved = update.Commit() && selected && written;
  return SaveDenyList(denyListFile, denyText) && saved;
}

}  // namespace zelvora
