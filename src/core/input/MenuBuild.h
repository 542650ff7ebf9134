#pragma once

// One menu build from the current theme file: the menu model with the theme's captions and key
// texts, the accepted shortcut keys and the gesture bindings, all read in one walk over the
// command table so that the first table wins for keys.

#include <string>

#include "core/input/GestureRecogniser.h"
#include "core/input/ShortcutKeys.h"
#include "core/input/ThemeTexts.h"
#include "core/shell/MenuModel.h"

namespace zelvora {

struct TMenuBuild {
  MenuModel model;
  ShortcutBindings shortcuts;
  GestureRecogniser gestures;
};

// Rebuilds everything from scratch: earlier bindings are dropped first.
void BuildMenusFromTheme(const std::string& themeFile, const TThemeTexts& texts, TMenuBuild& build);

}  // namespace zelvora
