#pragma once

// A captionless window is moved by dragging its surface: a left press that no control of the
// window took (on the background, a label or a group's frame) starts the move. The window
// system moves the window where it can; elsewhere the window follows the mouse by hand.

#include <QObject>
#include <QPoint>
#include <optional>

class QWidget;

namespace zelvora {

class TDragSurface : public QObject {
  Q_OBJECT

 public:
  // Watches `window` for as long as it lives.
  explicit TDragSurface(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  // Where the press was, from the window's corner, while the window is moved by hand.
  std::optional<QPoint> offset_;
};

}  // namespace zelvora
