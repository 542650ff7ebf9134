#include "gui/input/KeyHandlers.h"

#include <QKeyEvent>
#include <algorithm>

namespace zelvora {

void TKeyHandlerTable::Add(QWidget* widget, Handler handler) {
  std::erase_if(entries_, [](const Entry& entry) { return entry.widget.isNull(); });
  entries_.push_back({widget, std::move(handler)});
}

bool TKeyHandlerTable::Offer(const QObject* target, const QKeyEvent& key) {
  if (running_ || target == nullptr)
    return false;
  const auto found = std::find_if(entries_.begin(), entries_.end(), [target](const Entry& entry) {
    return entry.widget.data() == target;
  });
  if (found == entries_.end())
    return false;
  // A copy: the handler may add entries, which moves the vector.
  const Handler handler = found->handler;
  running_ = true;
  const bool taken = handler(key);
  running_ = false;
  return taken;
}

}  // namespace zelvora
