#pragma once

// The question shown when the main window is asked to close while a background job runs. It
// does not block: the job goes on and may end while it is up, and then it says so.

#include <QMessageBox>
#include <functional>

#include "core/input/ThemeTexts.h"

namespace zelvora {

class TWorkingDialog : public QMessageBox {
  Q_OBJECT

 public:
  // `stop` runs when the user answers Yes. The dialog deletes itself when it is answered.
  TWorkingDialog(const TThemeTexts& texts, std::function<void()> stop, QWidget* parent);

  // The job has ended: the question gives way to the theme's "finished" text.
  void ShowFinished();

 private:
  QString finishedText_;
};

}  // namespace zelvora
