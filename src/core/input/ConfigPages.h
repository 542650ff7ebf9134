#pragma once

// The configuration dialog as data: its page tree, the controls of every page bound to the
// entries of the settings record with their ranges, and the copies between the values the
// controls show and the record. The dialog builds its pages from this table and moves values
// through a whole settings record, so loading, "Base Reset", OK and Apply are plain copies.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/input/ThemeTexts.h"
#include "core/shell/Settings.h"

namespace zelvora {

enum class ConfigControlKind : std::uint8_t {
  kCheck,         // a check box: flag `index`
  kSpin,          // a labelled spin edit: integer `index`, `min`..`max`
  kCheckSpin,     // a check box (flag `index`) followed by a spin edit (integer `second`)
  kLayered,       // a check box (flag `index`), a spin edit and a track bar (integer `second`)
  kCombo,         // a labelled list: tab action `index`, one entry per label of `items`
  kEdit,          // an edit box: string `index`, labelled unless the caption is empty
  kStartMode,     // radio buttons "None", "Last …", "Fixed": start size (0) or start position (1)
  kColour,        // a labelled colour button: colour `index`
  kButton,        // a push button: action `index`
  kDenyText,      // the multi-line text of the deny list
  kSample,        // a progress bar drawn in the two tool progress colours
  kNote,          // a line of text
  kSessionCheck,  // a check box: tab session option `index`
  kSessionSpin,   // a labelled spin edit: tab session option `index`, `min`..`max`
};

// What the push buttons of the pages do.
enum ConfigAction : int {
  kConfigNowUserAgent,
  kConfigIeHomePage,
  kConfigNowTabPage,
  kConfigBlankPage,
  kConfigDenyReload,
  kConfigDenyEdit,
  kConfigProgressReset,
};

// Where a caption comes from.
struct ConfigText {
  enum Source : std::uint8_t {
    kNone,
    kLabel,          // control label `index`
    kPageName,       // the displayed title of page `index`
    kTreeName,       // the theme name of tool-panel tree `index`
    kLabelReminder,  // control label `index` followed by the bracketed last label
    kSessionLabel,   // the label of tab session option `index`
  };
  Source source = kNone;
  int index = 0;
};

struct ConfigControl {
  ConfigTreePage page;
  ConfigControlKind kind;
  int index;
  ConfigText caption;
  // The group box the control sits in; consecutive controls with the same group share it.
  ConfigText group{};
  int second = 0;
  int min = 0;
  int max = 0;
  std::span<const ControlLabel> items{};
  // Placed on the same line as the control before it.
  bool sameRow = false;
};

// Every control of every page, in page order and, inside a page, in display order.
std::span<const ConfigControl> ConfigControls();

// The tree place of each page: its parent page, or nothing for the root.
std::optional<ConfigTreePage> ConfigPageParent(ConfigTreePage page);

// The text of a caption under the current theme (empty for kNone).
std::string ConfigCaption(const TThemeTexts& texts, ConfigText caption);

// The radio index of "Fixed": the W/H and X/Y spin edits are usable only with it.
inline constexpr int kStartModeFixed = 2;
inline constexpr int kStartModeCount = 3;
// The opacity range of the translucency rows.
inline constexpr int kLayeredValueMax = 255;
// The longest sleep delay the dialog offers, in minutes: a week.
inline constexpr int kTabDiscardMinutesMax = 7 * 24 * 60;
// Longest text an edit box takes: what the settings file reads back whole.
inline constexpr int kConfigEditMax = 259;

// A spin edit's value brought into its range.
int ClampConfigValue(const ConfigControl& control, int value);

// Copies every entry the dialog shows from `from` into `to`, each value clamped to its control's
// range. Entries without a control (the gesture flags and sensitivity, the theme editor's list,
// the deny list's text, the selection actions) stay as `to` has them.
void CopyConfigValues(const TSettings& from, TSettings& to);

// The page shown when the dialog opens: the one last shown in this run, else the saved one,
// else the first; out-of-range numbers give the first.
int OpeningConfigPage(int lastShown, int saved);

// What section "ConfigDialog" keeps for the dialog itself.
struct ConfigDialogState {
  std::optional<int> x;
  std::optional<int> y;
  int select = 0;
};
ConfigDialogState LoadConfigDialogState(const std::string& settingsFile);
bool SaveConfigDialogPosition(const std::string& settingsFile, int x, int y);

// OK and Apply: copies the shown values into the record, keeps the page in "ConfigSelect",
// saves the settings, and saves the deny list's text into `denyListFile` (the record keeps the
// text too). False when a file could not be written; the record is changed all the same.
bool CommitConfiguration(const std::string& settingsFile, const std::string& denyListFile,
                         const TSettings& shown, int page, std::string_view denyText,
                         TSettings& record);

}  // namespace zelvora
