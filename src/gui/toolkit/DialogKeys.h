#pragma once

// Keys a dialog handles itself, ahead of its controls: Alt+letter keys that run their action
// whatever its captions mark (before a mnemonic of the same letter would, and before an edit
// field could take the letter as text), and Enter released in an edit field, which an edit
// field keeps to itself. Only keys pressed inside the dialog count.

#include <QObject>
#include <functional>
#include <vector>

class QWidget;

namespace zelvora {

class TDialogKeys : public QObject {
  Q_OBJECT

 public:
  // Watches `dialog` and every control it holds now; it lives as long as the dialog.
  explicit TDialogKeys(QWidget& dialog);

  void AddAltKey(Qt::Key key, std::function<void()> action);
  // `field` is the control the keys go to: for an editable combo box the box itself, which hands
  // them on to its edit field without any filter seeing them there.
  void AddEnterReleased(const QWidget* field, std::function<void()> action);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct AltKey {
    Qt::Key key;
    std::function<void()> action;
  };
  struct EnterReleased {
    const QWidget* field;
    std::function<void()> action;
  };
  bool OnAltKey(QEvent* event);

  std::vector<AltKey> altKeys_;
  std::vector<EnterReleased> enterReleased_;
};

}  // namespace zelvora
