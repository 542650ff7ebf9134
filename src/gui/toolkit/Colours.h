#pragma once

// Colours between the settings file's form (red in the low byte) and Qt's.

#include <QColor>

#include "core/shell/Settings.h"

namespace zelvora {

inline QColor ToQColor(Colour colour) {
  return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
          static_cast<int>((colour >> 16) & 0xFF)};
}

inline Colour ToColour(const QColor& colour) {
  return MakeColour(colour.red(), colour.green(), colour.blue());
}

}  // namespace zelvora
