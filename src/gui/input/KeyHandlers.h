#pragma once

// The table of widgets whose keys the program handles before anything else: the edit boxes of
// the bars and keyword boxes, the trees and the tab strip. A key pressed in one of them is
// offered to its handler first; a handler that takes the key ends its road there.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QKeyEvent;

namespace zelvora {

class TKeyHandlerTable {
 public:
  // Returns whether it took the key.
  using Handler = std::function<bool(const QKeyEvent& key)>;

  // A widget that goes away leaves the table by itself.
  void Add(QWidget* widget, Handler handler);
  // The handler of exactly that widget, when there is one. A handler that runs an event loop
  // (a dialog) does not see the keys pressed meanwhile: they take the normal road.
  bool Offer(const QObject* target, const QKeyEvent& key);

 private:
  struct Entry {
    QPointer<QWidget> widget;
    Handler handler;
  };
  std::vector<Entry> entries_;
  bool running_ = false;
};

}  // namespace zelvora
