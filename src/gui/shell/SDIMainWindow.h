#pragma once

#include <QMainWindow>

namespace zelvora {

// The one main window of the program.
class TSDIMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit TSDIMainWindow(QWidget* parent = nullptr);

  // Closes the window through the normal closing sequence without asking the user anything:
  // used when the session ends (logout, shutdown, a termination signal).
  void CloseWithoutQuestions();
};

}  // namespace zelvora
