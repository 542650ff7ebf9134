// The yardstick for the page-load benchmark: a bare engine view that loads one URL, nothing
// else. Zelvora's start to its first loaded page is compared with this program's.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc < 2)
    return 2;
  QWebEngineView view;
  view.resize(1024, 700);
  view.load(QUrl(QString::fromLocal8Bit(argv[1])));
  view.show();
  return QApplication::exec();
}
