#pragma once

// The default theme, "Zelvora.txt" in the program folder: start-up copies it into the per-user
// folder, so a first start has shortcut keys and mouse gestures, and "Theme Merge.." completes
// an older theme from it. Its texts are the program's built-in English texts, taken from the
// program's own tables when the build writes the file, so that it is the template a translator
// starts from. Only the bindings below are chosen by hand.

#include <string>
#include <string_view>

#include "core/input/GestureRecogniser.h"
#include "core/shell/SafeFile.h"

namespace zelvora {

inline constexpr std::string_view kDefaultThemeFileTitle = "English";
inline constexpr std::string_view kDefaultThemeFileAuthor = "Zelvora";

// A command's key name in the command table and the text the theme binds to it.
struct ThemeBinding {
  std::string_view command;
  std::string_view text;
};

// The keys a user of a desktop browser reaches for. None of a page's editing keys is bound
// (Backspace, Delete, Enter, Tab alone, the arrows without Alt, Ctrl with A, C, V, X or Z): a
// bound key wins over the page, and typing in a page must never lose text.
inline constexpr ThemeBinding kDefaultShortcutKeys[] = {
    {"NewTab", "Ctrl+T"},
    {"WebClose", "Ctrl+W | Ctrl+F4"},
    {"WebReload", "F5 | Ctrl+R"},
    {"WebStop", "Escape"},
    {"WebBack", "Alt+Left"},
    {"WebForward", "Alt+Right"},
    {"TabNext", "Ctrl+Tab | Ctrl+PageDown"},
    {"TabPrev", "Ctrl+Shift+Tab | Ctrl+PageUp"},
    {"WebOpen", "Ctrl+L"},
    {"WebSearch", "Ctrl+F"},
    {"WebSearchNext", "F3 | Ctrl+G"},
    {"WebSearchPrev", "Shift+F3 | Ctrl+Shift+G"},
    {"FavoriteADD", "Ctrl+D"},
    {"FavoriteAllADD", "Ctrl+Shift+D"},
    {"Favorite", "Ctrl+B"},
    {"History", "Ctrl+H"},
    {"WebWriteAS", "Ctrl+S"},
    {"Print", "Ctrl+P"},
    {"WebSource", "Ctrl+U"},
    // The character sizes follow their menu's own numbering, largest first; Ctrl+0 goes back to
    // the standard size as in other browsers.
    {"CharSizeMaximum", "Ctrl+1"},
    {"CharSizeLarge", "Ctrl+2"},
    {"CharSizeStandard", "Ctrl+3 | Ctrl+0"},
    {"CharSizeSmall", "Ctrl+4"},
    {"CharSizeMinimum", "Ctrl+5"},
    {"Maximize", "F11"},
    {"Help", "F1"},
    {"Exit", "Ctrl+Q"},
};

// Written with the built-in direction labels. Same-direction repeats are off, so no gesture
// repeats a direction.
inline constexpr ThemeBinding kDefaultMouseGestures[] = {
    {"WebBack", "L"}, {"WebForward", "R"}, {"WebReload", "UD"}, {"WebClose", "DR"},
    {"NewTab", "U"},  {"TabNext", "UR"},   {"TabPrev", "UL"},
};

inline constexpr GestureSettings kDefaultThemeGestureSettings{true, false,
                                                              kDefaultGestureSensitivity};

// Writes the default theme into `path`, replacing every section the file held.
FileWriteResult WriteDefaultTheme(const std::string& path);

}  // namespace zelvora
