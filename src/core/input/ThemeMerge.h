#pragma once

// Bringing a theme up to date with the program: a theme written for an older version lacks the
// captions of newer commands and labels. Copying the English defaults in gives the translator a
// row with a value for each of them in the theme editor.

#include <string>
#include <string_view>

#include "core/input/ThemeTexts.h"

namespace zelvora {

// The sections a merge fills in; the others (keys, gestures, messages) are the user's choice.
inline constexpr std::string_view kThemeMergeSections[] = {kThemeButtonSection, kThemeMenuSection,
                                                           kThemeLabelSection};

struct ThemeMergeResult {
  bool done = false;  // both files existed and the theme was written (or needed nothing)
  int copiedKeys = 0;
  std::string errorText;  // otherwise: which file is missing, or why the theme was not written
};

// Copies every key of the merged sections of `defaultThemeFile` that is missing or empty in
// `themeFile` into it, value and all; keys the theme has are left alone. Nothing happens unless
// both files exist. Keys whose names the file syntax cannot hold are skipped.
ThemeMergeResult MergeTheme(std::string_view themeFile, std::string_view defaultThemeFile);

}  // namespace zelvora
