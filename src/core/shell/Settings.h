#pragma once

// The settings record: every configuration option of section "ConfigDialog" of the settings
// file (plus the two selection-action keys of "SelectDialog"), held in memory for the whole run.
// The groups and their index order are fixed: the configuration dialog walks them by index.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvora {

// A colour as the settings file stores it, composed with red in the low byte.
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue) {
  return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

inline constexpr int kFlagCount = 55;
inline constexpr int kIntegerCount = 27;
inline constexpr int kTabActionCount = 5;
inline constexpr int kStringCount = 9;
inline constexpr int kColourCount = 4;

// Flag indices that other code names.
enum Flag : int {
  kFlagOptionSetForeground = 0,
  kFlagLastWebRestore = 1,
  kFlagAllowMultiple = 2,
  kFlagConfirmExit = 3,
  kFlagDefaultBrowser = 4,
  kFlagTabNewSelect = 5,
  kFlagTabToolTip = 6,
  kFlagAddresBarNewTabOpen = 7,
  kFlagAddresBarFitness = 8,
  kFlagAddresBarImmediately = 9,
  kFlagSearchBarNewTabOpen = 10,
  kFlagSearchBarImmediately = 11,
  kFlagToolNewTab = 12,
  kFlagToolTip = 13,
  kFlagHistoryAfterCloseItem = 14,
  kFlagHistoryCaseInsensitive = 15,
  kFlagAnalysisAfterCloseItem = 16,
  kFlagAnalysisCaseInsensitive = 17,
  kFlagAnalysisImageTag = 18,
  kFlagWebUserAgent = 19,
  kFlagWebHomePage = 20,
  kFlagDenyUseUrl = 21,
  kFlagWebPermitMultiMediaFirst = 22,
  kFlagWebPermitSecurityFirst = 25,
  kFlagWebPermitDownLoadFirst = 29,
  kFlagWebPermitReload = 37,
  kFlagGestureEnable = 38,
  kFlagGestureSameDirection = 39,
  kFlagTabWidthUse = 40,
  kFlagTabHeightUse = 41,
  // "ModifiedFavorite", "ModifiedHistory", "ModifiedAnalysis", "ModifiedProxy": by tree index.
  kFlagModifiedFirst = 42,
  kFlagLayeredMain = 46,
  kFlagLayeredColorKey = 54,
};

// Integer indices that other code names.
enum Integer : int {
  kIntStartWidth = 0,
  kIntStartHeight = 1,
  kIntStartX = 2,
  kIntStartY = 3,
  kIntTabToolTipCharMax = 4,
  kIntTabOpenMax = 5,
  kIntTabTitleMax = 6,
  kIntAddresBarListMax = 7,
  kIntSearchBarKeyWordListMax = 8,
  kIntToolTipCharMax = 9,
  kIntToolFileHistoryMax = 10,
  kIntToolItemNameMax = 11,
  kIntHistoryKeyWordListMax = 12,
  kIntAnalysisKeyWordListMax = 13,
  kIntWebHistoryListMax = 14,
  kIntTabWidth = 16,
  kIntTabHeight = 17,
  kIntLayeredMainValue = 18,
  kIntGestureSensitivity = 26,
};

enum TabAction : int { kTabNewPos = 0, kTabDelPos = 1, kWheelClick = 2, kLeftDBClick = 3 };

enum String : int {
  kStringWebUserAgentValue = 0,
  kStringWebHomePageValue = 1,
  kStringNameFolder = 2,
  kStringNameUrl = 3,
  kStringNameProxy = 4,
  kStringValueUrl = 5,
  kStringValueProxy = 6,
  kStringFileUnTitled = 7,
  kStringDenyUrlList = 8,
};

enum ColourIndex : int {
  kColourTabProgress = 0,
  kColourToolProgressFore = 1,
  kColourToolProgressBack = 2,
  kColourLayeredKey = 3,
};

// The tab session options of section "Zelvora": the crash-safe tab list, tabs that load when
// first selected, and the minutes after which an unseen tab sleeps (0: never).
enum TabSessionOption : int {
  kSessionAutoSave = 0,
  kTabLazyLoad = 1,
  kTabDiscardMinutes = 2,
};
inline constexpr int kTabSessionCount = 3;

// The eight translucent windows, in the order of their flags and opacity values.
inline constexpr int kLayeredWindowCount = 8;

struct TSettings {
  std::array<std::uint8_t, kFlagCount> flags{};
  std::array<std::int32_t, kIntegerCount> integers{};
  std::array<std::int32_t, kTabActionCount> tabActions{};
  std::array<std::string, kStringCount> strings{};
  int startSize = 0;
  int startPos = 0;
  std::array<Colour, kColourCount> colours{};
  // Section "SelectDialog", read and written with the configuration settings.
  int selectAction = 0;
  int selectBeforeAction = 0;
  // Section "Zelvora", by TabSessionOption: two flags and the discard minutes.
  std::array<std::int32_t, kTabSessionCount> tabSession{};

  bool Flag(int index) const { return flags[static_cast<std::size_t>(index)] != 0; }
  std::int32_t Int(int index) const { return integers[static_cast<std::size_t>(index)]; }
  std::int32_t TabSession(int index) const { return tabSession[static_cast<std::size_t>(index)]; }
};

// The desktop's colours that stand in for the platform colours of the base defaults.
struct PlatformColours {
  Colour activeCaption = MakeColour(0x99, 0xB4, 0xD1);
  Colour buttonFace = MakeColour(0xF0, 0xF0, 0xF0);
};

// The values used when no settings file exists (and by the configuration dialog's reset).
TSettings BaseDefaultSettings(const PlatformColours& platform);

// Colours in the file: six hexadecimal digits RRGGBB, upper case.
std::string ColourToText(Colour colour);
// Anything but six hexadecimal digits leaves `fallback`.
Colour ColourFromText(std::string_view text, Colour fallback);

}  // namespace zelvora
