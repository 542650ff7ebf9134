#include "gui/input/InputFilter.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/input/KeyMapping.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

TInputFilter::TInputFilter(TSDIMainWindow& window) : QObject(&window), window_(window) {}

bool TInputFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
      return OnKey(watched, event);
    case QEvent::MouseButtonPress:
      if (OnPress(watched, event))
        return true;
      [[fallthrough]];
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::ContextMenu: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget == nullptr || !window_.InGestureArea(widget))
        return false;
      return event->type() == QEvent::ContextMenu ? OnContextMenu(widget, event)
                                                  : OnMouse(widget, event);
    }
    default:
      return false;
  }
}

std::optional<std::uint16_t> TInputFilter::BoundCommand(QObject* watched, const QKeyEvent& key) {
  // Keys of the main window's own widgets only: a dialog's keys are the dialog's. (Without a
  // window manager no window is ever "active", so the receiver decides, not the activation.)
  const auto* widget = qobject_cast<const QWidget*>(watched);
  if (widget == nullptr || widget->window() != &window_)
    return std::nullopt;
  const auto virtualKey = VirtualKeyOf(key);
  if (!virtualKey)
    return std::nullopt;
  return window_.Accelerators().Find(AcceleratorModifiersOf(key), *virtualKey);
}

bool TInputFilter::OnKey(QObject* watched, QEvent* event) {
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (event->type() == QEvent::ShortcutOverride) {
    // A bound key is claimed before Qt's own shortcuts see it: an Alt+letter binding runs its
    // command instead of opening the menu whose mnemonic it is, and a page or an edit box that
    // would keep the key for itself does not get it.
    if (!BoundCommand(watched, key))
      return false;
    event->accept();
    return true;
  }
  const auto* widget = qobject_cast<const QWidget*>(watched);
  if (widget != nullptr && widget->window() == &window_ &&
      window_.KeyHandlers().Offer(watched, key))
    return true;
  // Bound keys win over every control of the window, the page included; a key that is not bound
  // takes the normal road.
  const auto command = BoundCommand(watched, key);
  if (!command)
    return false;
  window_.PostCommand(*command);
  return true;
}

bool TInputFilter::OnPress(QObject* watched, QEvent* event) {
  const auto& mouse = static_cast<const QMouseEvent&>(*event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != &window_)
    return false;
  // A press nobody took travels up to the parents, through this filter again each time.
  if (mouse.timestamp() == lastPressTime_ && mouse.globalPosition() == lastPressPos_)
    return false;
  lastPressTime_ = mouse.timestamp();
  lastPressPos_ = mouse.globalPosition();
  // Without a caption the window's edges are the only place left to size it from.
  if (mouse.button() == Qt::LeftButton && window_.ResizeFromEdge(mouse.globalPosition().toPoint()))
    return true;
  if (mouse.button() != Qt::LeftButton && mouse.button() != Qt::MiddleButton)
    return false;
  if (window_.InTabStrip(widget))
    window_.PagePressed();
  return false;
}

bool TInputFilter::OnMouse(QWidget* widget, QEvent* event) {
  GestureRecogniser& gestures = window_.Gestures();
  if (!gestures.Enabled() || replaying_)
    return false;
  const auto& mouse = static_cast<const QMouseEvent&>(*event);
  const QPoint global = mouse.globalPosition().toPoint();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (mouse.button() == Qt::RightButton) {
        heldMenuWidget_ = nullptr;
        swallowNextMenu_ = false;
        heldPress_ = nullptr;
        gestures.Press(global.x(), global.y());
        // The engine opens a page's menu on the press itself: the press waits for the release.
        if (window_.IsPageWidget(widget)) {
          heldPress_ = widget;
          heldPressPos_ = mouse.position();
          heldPressGlobalPos_ = mouse.globalPosition();
          heldPressModifiers_ = mouse.modifiers();
          return true;
        }
      }
      return false;
    case QEvent::MouseMove:
      if (gestures.State().active) {
        const auto status =
            gestures.Move(global.x(), global.y(), mouse.buttons().testFlag(Qt::RightButton),
                          [this](std::uint16_t id) { return window_.CaptionOfCommand(id); });
        if (status)
          window_.ShowGestureStatus(*status);
      }
      return false;
    default:
      break;
  }
  if (mouse.button() != Qt::RightButton || !gestures.State().active)
    return false;
  const GestureEnd end = gestures.Release();
  window_.ShowGestureStatus({});
  if (end.command)
    window_.PostCommand(*end.command);
  if (end.swallow) {
    // Platforms that ask for the menu on the release still have that request to come.
    swallowNextMenu_ = heldMenuWidget_ == nullptr && heldPress_ == nullptr;
    heldMenuWidget_ = nullptr;
    heldPress_ = nullptr;
    return true;
  }
  if (heldPress_) {
    // A plain right click after all: the page gets its press now, and the release after it.
    QMouseEvent press(QEvent::MouseButtonPress, heldPressPos_, heldPressGlobalPos_, Qt::RightButton,
                      Qt::RightButton, heldPressModifiers_);
    replaying_ = true;
    QApplication::sendEvent(heldPress_, &press);
    replaying_ = false;
    heldPress_ = nullptr;
  }
  if (heldMenuWidget_) {
    QApplication::postEvent(
        heldMenuWidget_,
        new QContextMenuEvent(QContextMenuEvent::Mouse, heldMenuPos_, heldMenuGlobalPos_));
    heldMenuWidget_ = nullptr;
  }
  return false;
}

bool TInputFilter::OnContextMenu(QWidget* widget, QEvent* event) {
  const auto& menu = static_cast<const QContextMenuEvent&>(*event);
  if (menu.reason() != QContextMenuEvent::Mouse)
    return false;
  if (swallowNextMenu_) {
    swallowNextMenu_ = false;
    return true;
  }
  if (window_.Gestures().State().active) {
    heldMenuWidget_ = widget;
    heldMenuPos_ = menu.pos();
    heldMenuGlobalPos_ = menu.globalPos();
    return true;
  }
  return false;
}

}  // namespace zelvora
