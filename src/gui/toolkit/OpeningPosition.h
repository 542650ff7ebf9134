#pragma once

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>
#include <QWidget>
#include <optional>

namespace zelvora {

// Where a tool dialog of the main window opens: at its saved position while that still lies on
// a screen (a screen may have gone since), else at the main window's corner plus 50.
inline QPoint OpeningPosition(const QWidget& mainWindow, std::optional<int> x,
                              std::optional<int> y) {
  constexpr int kOffset = 50;
  if (x && y && QGuiApplication::screenAt(QPoint(*x, *y)) != nullptr)
    return QPoint(*x, *y);
  return mainWindow.pos() + QPoint(kOffset, kOffset);
}

}  // namespace zelvora
