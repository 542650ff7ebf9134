#pragma once

// The main window's state kept in the settings file between runs: section "Zelvora" (geometry,
// visibility of the bars, tool-panel page and option check boxes, proxy check boxes), section
// "Rebar" (band layout, toolbar buttons, search keyword box width) and the find highlight colour
// of section "SearchDialog". Read at start-up, written at exit.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/Settings.h"

namespace zelvora {

inline constexpr std::string_view kWindowSection = "Zelvora";
inline constexpr std::string_view kRebarSection = "Rebar";
inline constexpr std::string_view kSearchDialogSection = "SearchDialog";

enum WindowShowState : int { kWindowMaximised = 0, kWindowMinimised = 1, kWindowNormal = 2 };

enum ToolPage : int { kToolFavorite = 0, kToolHistory, kToolAnalysis, kToolProxy };
// The tool pages' trees by page: their settings sections and the names of new trees' root folders.
inline constexpr std::array<std::string_view, 4> kToolPageNames = {"Favorite", "History",
                                                                   "Analysis", "Proxy"};

// The history and analysis search option check boxes, in this order.
inline constexpr int kToolOptionCount = 10;
inline constexpr std::array<std::string_view, kToolOptionCount> kToolOptionKeys = {
    "HistoryUrl",  "HistoryTitle",  "HistoryRegExp",  "HistoryDate", "HistoryLock",
    "AnalysisUrl", "AnalysisTitle", "AnalysisRegExp", "AnalysisDir", "AnalysisLock"};

struct WindowState {
  // The restored geometry. When the file lacks "x" or "y" the window is centred: the caller
  // passes that position; `positionStored` / `sizeStored` tell whether both keys were present.
  int x = 0;
  int y = 0;
  int w = 500;
  int h = 300;
  bool positionStored = false;
  bool sizeStored = false;
  int state = kWindowNormal;
  bool onTop = false;
  // Absent: the caller computes the splitter position from the tool panel's controls.
  std::optional<int> split;
  bool showMenu = true;
  bool showCaption = true;
  bool showStatusBar = true;
  bool showTool = true;
  bool showRebar = true;
  int selectTool = kToolFavorite;
  int selectHistoryKeyWord = 0;
  int selectAnalysisKeyWord = 0;
  std::array<bool, kToolOptionCount> toolOptions{};
  bool useIEProxy = true;
  bool proxyBypassLocal = false;

  // Every field from the file, or its default when the key is absent ("ThemeFile" is read by
  // the theme code).
  void Load(const std::string& settingsFile, int centredX, int centredY);
  // The geometry is written only when the window is not maximised, so that the last normal
  // geometry survives a run that ends maximised.
  bool Save(const std::string& settingsFile, bool maximised) const;
};

// One band of the rebar as "<id>,<width>" with a trailing "n" when it starts a new row.
struct RebarBand {
  int id = 0;
  int width = 0;
  bool breakBefore = false;

  bool operator==(const RebarBand&) const = default;
};

inline constexpr int kRebarBandCount = 3;
// The band of the address bar.
inline constexpr int kAddressBarBand = 1;
// Toolbar layouts hold button numbers 0 to kToolbarButtonMax and -1 for a separator.
inline constexpr int kToolbarButtonMax = 18;
inline constexpr int kToolbarSeparator = -1;
inline constexpr int kBarSearchKeyWidthDefault = 150;

// Nothing when the text is not a band: the id must be one digit followed by a comma and the
// width must start with a digit. Only the first three digits of the width count.
std::optional<RebarBand> ParseRebarBand(std::string_view text);
// The width is clamped to 0..999: a wider band would read back as its first three digits.
std::string FormatRebarBand(const RebarBand& band);
// Key "0" is the toolbar, 16 buttons plus 10 pixels wide; keys "1" and "2" are the bar bands,
// the address bar (key "1") starting the second row.
RebarBand DefaultRebarBand(int key, int toolbarButtonWidth);

// Every button in order, as a layout string: "0,1,2,...,18,".
std::vector<int> DefaultToolbarLayout();
// Comma-separated button numbers; empty entries and entries that are not a button number or
// -1 are dropped. "reset" in any case gives the default layout.
std::vector<int> ParseToolbarLayout(std::string_view text);
// The numbers joined by commas, no trailing comma.
std::string FormatToolbarLayout(const std::vector<int>& layout);

struct RebarState {
  std::array<RebarBand, kRebarBandCount> bands;
  std::vector<int> toolbar;
  int barSearchKeyWidth = kBarSearchKeyWidthDefault;

  // A malformed band, or one whose id is not one of the three bands, gets the default of its
  // key; when the ids then do not name each band exactly once, all three get their defaults.
  // An empty toolbar layout reads back as the default one.
  void Load(const std::string& settingsFile, int toolbarButtonWidth);
  bool Save(const std::string& settingsFile) const;
};

// The highlight colour of in-page find: "FFFF00" (yellow) when absent or not a colour.
inline constexpr Colour kHighlightColourDefault = MakeColour(0xFF, 0xFF, 0x00);
Colour LoadHighlightColour(const std::string& settingsFile);
bool SaveHighlightColour(const std::string& settingsFile, Colour colour);

// The folder the last download went to, where the next save dialog starts: `defaultFolder` (the
// desktop's download folder) when the file has none. A path longer than a setting can hold is
// not written (it would read back cut, as some other folder): the previous one stays.
std::string LoadDownloadFolder(const std::string& settingsFile, const std::string& defaultFolder);
bool SaveDownloadFolder(const std::string& settingsFile, const std::string& folder);

}  // namespace zelvora
