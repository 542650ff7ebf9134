#include "gui/toolkit/DialogKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace zelvora {

TDialogKeys::TDialogKeys(QWidget& dialog) : QObject(&dialog) {
  dialog.installEventFilter(this);
  for (QWidget* control : dialog.findChildren<QWidget*>()) {
    control->installEventFilter(this);
  }
}

void TDialogKeys::AddAltKey(Qt::Key key, std::function<void()> action) {
  altKeys_.push_back({key, std::move(action)});
}

void TDialogKeys::AddEnterReleased(const QWidget* field, std::function<void()> action) {
  enterReleased_.push_back({field, std::move(action)});
}

bool TDialogKeys::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
      return OnAltKey(event);
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
        return false;
      for (const EnterReleased& entry : enterReleased_) {
        if (entry.field == watched) {
          entry.action();
          return true;
        }
      }
      return false;
    }
    default:
      return false;
  }
}

bool TDialogKeys::OnAltKey(QEvent* event) {
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() != Qt::AltModifier)
    return false;
  for (const AltKey& binding : altKeys_) {
    if (binding.key != key->key())
      continue;
    // Claiming the override keeps the mnemonics out; the key press that follows runs the action.
    event->accept();
    if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
      binding.action();
    return true;
  }
  return false;
}

}  // namespace zelvora
