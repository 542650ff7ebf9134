#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

namespace {
constexpr int kMinimumWidth = 500;
constexpr int kMinimumHeight = 300;
}  // namespace

TSDIMainWindow::TSDIMainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("Zelvora");
  setWindowTitle("Zelvora");
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  resize(kMinimumWidth, kMinimumHeight);
}

void TSDIMainWindow::CloseWithoutQuestions() {
  close();
}

}  // namespace zelvora
