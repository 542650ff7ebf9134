#include <QApplication>

#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/TerminationSignals.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Zelvora");

  zelvora::TSDIMainWindow mainWindow;
  zelvora::TerminationSignals terminationSignals;
  QObject::connect(&terminationSignals, &zelvora::TerminationSignals::Received, &mainWindow,
                   [&mainWindow](int) { mainWindow.CloseWithoutQuestions(); });
  mainWindow.show();
  return QApplication::exec();
}
