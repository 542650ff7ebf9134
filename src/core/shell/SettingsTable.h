#pragma once

// The keys of the settings record in section "ConfigDialog", in record order, with their base
// defaults and, where it differs, the value used when the file lacks the key.

#include <array>
#include <optional>
#include <string_view>

#include "core/shell/Settings.h"
#include "core/shell/WindowState.h"

namespace zelvora {

inline constexpr std::string_view kConfigSection = "ConfigDialog";
inline constexpr std::string_view kSelectSection = "SelectDialog";

struct FlagKey {
  std::string_view key;  // empty: the flag has no key of its own
  std::uint8_t baseDefault;
  std::optional<std::uint8_t> fallback;
};

// Flags 22 to 36 are stored as three permission strings instead of keys of their own.
struct PermissionString {
  std::string_view key;
  int firstFlag;
  int length;
  std::string_view fallback;
};

struct IntegerKey {
  std::string_view key;  // empty: no key
  std::int32_t baseDefault;
  std::optional<std::int32_t> fallback;
};

struct StringKey {
  std::string_view key;  // empty: no key
  std::string_view baseDefault;
};

// clang-format off
inline constexpr std::array<FlagKey, kFlagCount> kFlagKeys = {{
  {"OptionSetForeground", 0, {}}, {"LastWebRestore", 0, {}}, {"AllowMultiple", 0, {}},
  {"ConfirmExit", 0, {}}, {"DefaultBrowser", 0, {}}, {"TabNewSelect", 1, {}},
  {"TabToolTip", 0, {}}, {"AddresBarNewTabOpen", 1, {}}, {"AddresBarFitness", 1, {}},
  {"AddresBarImmediately", 0, {}}, {"SearchBarNewTabOpen", 1, {}},
  {"SearchBarImmediately", 0, {}}, {"ToolNewTab", 1, {}}, {"ToolTip", 1, {}},
  {"HistoryAfterCloseItem", 0, {}}, {"HistoryCaseInsensitive", 1, 0},
  {"AnalysisAfterCloseItem", 0, {}}, {"AnalysisCaseInsensitive", 1, {}},
  {"AnalysisImageTag", 0, 1}, {"WebUserAgent", 0, {}}, {"WebHomePage", 0, {}},
  {"DenyUseUrl", 0, {}},
  {"", 1, {}}, {"", 1, {}}, {"", 1, {}},                 // WebPermitMultiMedia
  {"", 1, {}}, {"", 1, {}}, {"", 1, {}}, {"", 1, {}},    // WebPermitSecurity
  {"", 0, {}}, {"", 0, {}}, {"", 0, {}}, {"", 0, {}},    // WebPermitDownLoad
  {"", 0, {}}, {"", 0, {}}, {"", 1, {}}, {"", 0, {}},
  {"WebPermitReload", 1, {}},
  {"", 0, {}}, {"", 0, {}},                              // gesture flags, kept in the theme
  {"TabWidthUse", 0, {}}, {"TabHeightUse", 0, {}},
  {"ModifiedFavorite", 1, {}}, {"ModifiedHistory", 0, {}}, {"ModifiedAnalysis", 0, {}},
  {"ModifiedProxy", 1, {}},
  {"LayeredMain", 0, {}}, {"LayeredSearch", 0, {}}, {"LayeredOpen", 0, {}},
  {"LayeredEdit", 0, {}}, {"LayeredSelect", 0, {}}, {"LayeredConfig", 0, {}},
  {"LayeredHistoryDate", 0, {}}, {"LayeredOther", 0, {}}, {"LayeredColorKey", 0, {}},
}};

inline constexpr std::array<PermissionString, 3> kPermissionStrings = {{
  {"WebPermitMultiMedia", kFlagWebPermitMultiMediaFirst, 3, "111"},
  {"WebPermitSecurity", kFlagWebPermitSecurityFirst, 4, "0000"},
  {"WebPermitDownLoad", kFlagWebPermitDownLoadFirst, 8, "0000001"},
}};

inline constexpr std::array<IntegerKey, kIntegerCount> kIntegerKeys = {{
  {"StartWidth", 600, {}}, {"StartHeight", 400, {}}, {"StartX", 0, {}}, {"StartY", 0, {}},
  {"TabToolTipCharMax", 60, 80}, {"TabOpenMax", 20, {}}, {"TabTitleMax", 80, {}},
  {"AddresBarListMax", 20, {}}, {"SearchBarKeyWordListMax", 20, {}},
  {"ToolTipCharMax", 60, 200}, {"ToolFileHistoryMax", 20, {}}, {"ToolItemNameMax", 100, {}},
  {"HistoryKeyWordListMax", 20, {}}, {"AnalysisKeyWordListMax", 20, {}},
  {"WebHistoryListMax", 20, {}},
  {"", 20, {}},                                          // reserved, no key
  {"TabWidth", 100, {}}, {"TabHeight", 20, {}},
  {"LayeredMainValue", 180, {}}, {"LayeredSearchValue", 180, {}},
  {"LayeredOpenValue", 180, {}}, {"LayeredEditValue", 180, {}},
  {"LayeredSelectValue", 180, {}}, {"LayeredConfigValue", 180, {}},
  {"LayeredHistoryDateValue", 180, {}}, {"LayeredOtherValue", 180, {}},
  {"", 30, {}},                                          // gesture sensitivity, kept in the theme
}};

// Tab actions are read with the fallback 0, not their base default.
inline constexpr std::array<IntegerKey, kTabActionCount> kTabActionKeys = {{
  {"TabNewPos", 0, 0}, {"TabDelPos", 1, 0}, {"WheelClick", 1, 0}, {"LeftDBClick", 2, 0},
  {"", 0, {}},
}};

inline constexpr std::array<StringKey, kStringCount> kStringKeys = {{
  {"WebUserAgentValue", ""}, {"WebHomePageValue", ""}, {"NameFolder", "Folder"},
  {"NameURL", "Url"}, {"NameProxy", "Proxy"}, {"ValueURL", "about:blank"},
  {"ValueProxy", "127.0.0.1:8080"}, {"FileUnTitled", "UnTitled"},
  {"", ""},                                              // the deny-URL list's text
}};

// Section "Zelvora" (kWindowSection): "SessionAutoSave" and "TabLazyLoad" are flags, on when
// exactly 1; a negative "TabDiscardMinutes" counts as 0 (never).
inline constexpr std::array<IntegerKey, kTabSessionCount> kTabSessionKeys = {{
  {"SessionAutoSave", 1, {}}, {"TabLazyLoad", 1, {}}, {"TabDiscardMinutes", 30, {}},
}};

inline constexpr std::array<std::string_view, kColourCount> kColourKeys = {
  "TabProgressColor", "ToolProgressColorFour", "ToolProgressColorBack", "LayeredColorKeyValue",
};
// clang-format on

inline constexpr std::string_view kStartSizeKey = "StartSize";
inline constexpr std::string_view kStartPosKey = "StartPos";
inline constexpr std::string_view kSelectActionKey = "Action";
inline constexpr std::string_view kSelectBeforeActionKey = "BeforeAction";
inline constexpr int kSelectActionMax = 4;
inline constexpr int kSelectBeforeActionMax = 2;
inline constexpr int kStartModeMax = 2;

}  // namespace zelvora
