#pragma once

// "ToolConfig": opens the configuration dialog unless it is open already, on the page last shown
// in this run (or, at the first opening, the page kept in the settings file).

#include <QObject>
#include <QPointer>

namespace zelvora {

class TSDIMainWindow;
class TConfigDialog;

class TConfigCommands : public QObject {
  Q_OBJECT

 public:
  explicit TConfigCommands(TSDIMainWindow& window);

 private:
  void Open();

  TSDIMainWindow& window_;
  QPointer<TConfigDialog> dialog_;
  // -1 until the dialog has shown a page in this run.
  int lastPage_ = -1;
};

}  // namespace zelvora
