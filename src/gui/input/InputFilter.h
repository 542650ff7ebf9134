#pragma once

// The program's own routing of keys and mouse gestures, in front of every widget and web page:
// while the main window is active, a key goes first to the handler of the widget it was pressed
// in (the bars' edit boxes, the trees, the tab strip), then a bound key becomes its command and
// is not delivered, whatever widget or page has the focus; a right-button drag
// over the main window or its tab-strip area is read as a mouse gesture.

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <cstdint>
#include <optional>

class QKeyEvent;

namespace zelvora {

class TSDIMainWindow;

class TInputFilter : public QObject {
  Q_OBJECT

 public:
  explicit TInputFilter(TSDIMainWindow& window);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The command bound to a key pressed in the main window, if any.
  std::optional<std::uint16_t> BoundCommand(QObject* watched, const QKeyEvent& key);
  bool OnKey(QObject* watched, QEvent* event);
  // A press at the edge of a captionless main window sizes it; left and middle presses on a page
  // let the page's tab know first. Returns whether the press was used up.
  bool OnPress(QObject* watched, QEvent* event);
  bool OnMouse(QWidget* widget, QEvent* event);
  bool OnContextMenu(QWidget* widget, QEvent* event);

  TSDIMainWindow& window_;
  // A context menu asked for while a gesture may still be drawn waits for the release: it opens
  // only when no direction was recognised.
  QPointer<QWidget> heldMenuWidget_;
  QPoint heldMenuPos_;
  QPoint heldMenuGlobalPos_;
  bool swallowNextMenu_ = false;
  // A right press on a page, held back while a gesture may still be drawn.
  QPointer<QWidget> heldPress_;
  QPointF heldPressPos_;
  QPointF heldPressGlobalPos_;
  Qt::KeyboardModifiers heldPressModifiers_;
  bool replaying_ = false;
  quint64 lastPressTime_ = 0;
  QPointF lastPressPos_;
};

}  // namespace zelvora
