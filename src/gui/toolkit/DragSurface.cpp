#include "gui/toolkit/DragSurface.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zelvora {

TDragSurface::TDragSurface(QWidget& window) : QObject(&window), window_(window) {
  window_.installEventFilter(this);
}

bool TDragSurface::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_)
    return false;
  // A press a control did not take travels up to the window, so only presses on the surface
  // arrive here; the moves of the same drag come the same way.
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton)
        return false;
      QWindow* handle = window_.windowHandle();
      if (handle != nullptr && handle->startSystemMove())
        return true;
      offset_ = mouse->globalPosition().toPoint() - window_.frameGeometry().topLeft();
      return true;
    }
    case QEvent::MouseMove:
      if (!offset_)
        return false;
      window_.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - *offset_);
      return true;
    case QEvent::MouseButtonRelease:
      if (!offset_)
        return false;
      offset_.reset();
      return true;
    default:
      return false;
  }
}

}  // namespace zelvora
