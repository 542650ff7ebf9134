#pragma once

// The main window's fixed rules as data: the toolbar's buttons, the small speed buttons, the
// command groups that the menu refresh enables and checks, the window buttons and the rebar's
// band arrangement. The window layer applies them; nothing here needs a display.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/browser/PageRules.h"
#include "core/shell/WindowState.h"

namespace zelvora {

enum class ToolbarButtonStyle : std::uint8_t {
  kPlain,
  kCheck,     // stays pressed while its state is on
  kDropDown,  // a menu drops from its arrow
};

struct ToolbarButton {
  std::uint16_t command;
  ToolbarButtonStyle style;
  bool startsDisabled;
  int dropDownMenu;  // the popup number of a drop-down button, -1 otherwise
};

inline constexpr int kToolbarButtonCount = kToolbarButtonMax + 1;

// Indexed by the number the toolbar layout stores; the tips are the theme's toolbar group.
extern const std::array<ToolbarButton, kToolbarButtonCount> kToolbarButtons;

// The toolbar index of the button that runs `command`, or -1.
int ToolbarIndexOfCommand(int command);

// The permission buttons of the status bar run 3070 to 3076 in the order of the settings flags;
// the offline and the lock button sit after them.
inline constexpr int kPermissionCommandFirst = 3070;
inline constexpr int kPermissionCount = 7;
inline constexpr int kOfflineCommand = 3018;
inline constexpr int kLockCommand = 3077;

// The commands the menu refresh keeps in step.
inline constexpr std::array<std::uint16_t, 3> kClipboardCommands = {3003, 3097, 3051};
// Enabled only while the tab strip is visible.
inline constexpr std::array<std::uint16_t, 19> kPageCommands = {
    3017, 3014, 3019, 3020, 3021, 3022,  // File: write as, close, page setup, print, preview, props
    3005, 3007, 3009,                    // Display: stop, reload, source
    3143, 3144, 3145, 3146, 3147,        // the five character sizes
    3059, 3060, 3015, 3045, 3046,        // Tab: next, previous, close all, add, add all
};
// The page buttons, disabled when the last page closes. These serve any page, even one without a
// document (stuck loading, a failed load), so that it can always be stopped, reloaded and closed:
inline constexpr std::array<std::uint16_t, 6> kPageButtonCommands = {3005, 3006, 3007,
                                                                     3008, 3014, 3015};
// and these need the page's document: enabled once the engine reported the page's command states.
inline constexpr std::array<std::uint16_t, 7> kDocumentButtonCommands = {3026, 3029, 3020, 3017,
                                                                         3009, 3045, 3047};

// Disabled while their dialog is open: the open dialog, the About box, the configuration
// dialog, the selection dialog and the tree item edit dialog.
enum class TrackedDialog : int { kOpen, kAbout, kConfig, kSelect, kItemEdit, kSearch };
inline constexpr int kTrackedDialogCount = 6;
inline constexpr std::array<std::uint16_t, kTrackedDialogCount> kTrackedDialogCommands = {
    3004, 3151, 3049, 3160, 3106, 3026};
// Enabled in the tree menu on the History page only.
inline constexpr int kDeleteHistoryTooCommand = 3159;

// The radio groups whose check follows a value: tool page, character size.
inline constexpr int kToolPageCommandFirst = 3079;
inline constexpr int kCharSizeCommandFirst = 3143;  // the largest size; the smallest is 3147
// The command whose check marks character size `size` (0 smallest … 4 largest).
constexpr int CharSizeCommand(int size) {
  return kCharSizeCommandFirst + (kCharSizeCount - 1 - size);
}

// Page after Proxy is Favorite; before Favorite is Proxy.
int NextToolPage(int page);
int PreviousToolPage(int page);

// The Exit, Maximize and Minimize buttons beside the tab strip are shown exactly while the window
// has neither a caption nor a menu bar, so that it can still be closed and sized.
constexpr bool WindowButtonsVisible(bool captionShown, bool menuBarShown) {
  return !captionShown && !menuBarShown;
}

// The small speed buttons, by tag.
enum class SpeedAction : std::uint8_t {
  kStopToolTask,
  kNextToolPage,
  kPreviousToolPage,
  kCommand,                 // run the command
  kCommandWithAddressText,  // run it only when the address bar holds text
  kCommandWithSearchText,   // run it only when the search bar holds text
  kToggleHighlight,
  kMinimise,
};

struct SpeedButton {
  SpeedAction action;
  int command;  // 0 when the action runs no command
};

inline constexpr int kSpeedButtonCount = 16;
enum SpeedTag : int {
  kSpeedStopTask = 0,
  kSpeedNextPage = 1,
  kSpeedToggleTool = 2,
  kSpeedPreviousPage = 3,
  kSpeedNextPageOther = 4,
  kSpeedHistorySearch = 5,
  kSpeedHistoryDate = 6,
  kSpeedAnalysis = 7,
  kSpeedAddressGo = 8,
  kSpeedSearchGo = 9,
  kSpeedFindNext = 10,
  kSpeedFindPrevious = 11,
  kSpeedHighlight = 12,
  kSpeedExit = 13,
  kSpeedMaximize = 14,
  kSpeedMinimise = 15,
};

// Nothing for a tag outside 0..15.
std::optional<SpeedButton> SpeedButtonOf(int tag);

// The translucent windows, in the order of their settings flags and opacity values.
enum LayeredWindow : int {
  kLayeredMain = 0,
  kLayeredSearch,
  kLayeredOpen,
  kLayeredEdit,
  kLayeredSelect,
  kLayeredConfig,
  kLayeredHistoryDate,
  kLayeredOther,
};

// The opacity of a translucent window, 0 (invisible) to 255, from the low 8 bits of its value;
// nothing while its flag is off.
std::optional<int> LayeredAlpha(const TSettings& settings, LayeredWindow window);

// One rebar band as the window finds it: its id and where it sits.
struct BandPlacement {
  int id = 0;
  int top = 0;
  int left = 0;
  int width = 0;
};

// The saved form of the bands: in reading order (row by row, left to right), a band that starts
// a row below the first gets its row break. Bands of one row share their top.
std::array<RebarBand, kRebarBandCount> ArrangeRebarBands(
    std::span<const BandPlacement, kRebarBandCount> placements);

// The width each band asks for, by band id, on rows `rowWidth` wide: its saved width, or what
// its contents need when that is more. The address bar, the band typed in most, also takes
// whatever its row leaves over (the window would give it to the band that ends the row). A row
// that is too narrow for the widths is left to the window to shrink. `bands` is the saved
// arrangement, in display order with its row breaks; `needs` is by band id.
std::array<int, kRebarBandCount> RebarBandWidths(std::span<const RebarBand, kRebarBandCount> bands,
                                                 std::span<const int, kRebarBandCount> needs,
                                                 int rowWidth);

}  // namespace zelvora
