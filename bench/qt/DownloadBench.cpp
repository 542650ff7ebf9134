// Downloads 1 GB made on the fly by a server on its own thread, through the window's downloads,
// and reports the time, the user-interface thread's longest stall while it runs (a 10 ms timer
// measuring its gaps) and the resident memory of the program and of the engine's processes at
// the start, the middle and the end: the memory must stay flat, whatever the size.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <future>

#include "LocalServer.h"
#include "PageFixture.h"
#include "gui/browser/Downloads.h"

namespace {

constexpr qint64 kSize = qint64{1} << 30;

// VmRSS of a process in kB, 0 when it cannot be read.
qint64 ResidentKb(const QString& pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').value(0).toLongLong();
  }
  return 0;
}

// The engine's processes are children of this one (or of its zygote child).
qint64 EngineResidentKb() {
  const QString self = QString::number(QCoreApplication::applicationPid());
  QStringList parents{self};
  qint64 total = 0;
  // Two rounds reach the grandchildren the zygote forks.
  for (int round = 0; round < 2; ++round) {
    QStringList children;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
      QFile stat("/proc/" + pid + "/stat");
      if (pid.toLongLong() == 0 || !stat.open(QIODevice::ReadOnly))
        continue;
      const QByteArray line = stat.readAll();
      // "pid (name) state ppid ...": the name may hold blanks, so count from its closing bracket.
      const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
      if (parents.contains(QString::fromLatin1(fields.value(1))) && !children.contains(pid) &&
          pid != self) {
        children.append(pid);
      }
    }
    for (const QString& child : children) {
      if (!parents.contains(child)) {
        total += ResidentKb(child);
        parents.append(child);
      }
    }
  }
  return total;
}

void Report(const char* moment) {
  std::printf("%-6s program %6lld MB, engine processes %6lld MB\n", moment,
              ResidentKb(QStringLiteral("self")) / 1024, EngineResidentKb() / 1024);
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (getuid() == 0)
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
  QApplication application(argc, argv);

  // The server sends from a thread of its own, so its work is not counted as the window's.
  std::promise<QString> url;
  QThread* serverThread = QThread::create([&url] {
    zelvora::LocalServer server;
    server.Page("/", "<title>Download</title>");
    server.Serve("/big", {"200 OK",
                          {"Content-Type: application/octet-stream",
                           "Content-Disposition: attachment; filename=\"big.bin\""},
                          {},
                          kSize});
    url.set_value(server.Url(""));
    QEventLoop loop;
    loop.exec();
  });
  serverThread->start();
  const QString base = url.get_future().get();

  QTemporaryDir folder;
  zelvora::TDownloads::SetSaveAsker([&folder](QWidget*, const QString& suggested) {
    return zelvora::TDownloads::SaveAnswer{folder.filePath(QFileInfo(suggested).fileName()), false};
  });
  zelvora::PageFixture fixture("");
  zelvora::TDownloads& downloads = fixture.window->Downloads();
  zelvora::TMyContainerClass& page = fixture.Load(base + "/");
  Report("start");

  QElapsedTimer clock;
  QElapsedTimer gap;
  qint64 longestStall = 0;
  QTimer ticker;
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { longestStall = std::max(longestStall, gap.restart()); });
  bool middleReported = false;
  QTimer middle;
  middle.setInterval(100);
  QObject::connect(&middle, &QTimer::timeout, [&] {
    if (!middleReported && !downloads.Items().empty() &&
        downloads.Items()[0]->received >= kSize / 2) {
      middleReported = true;
      Report("middle");
    }
  });

  clock.start();
  gap.start();
  ticker.start();
  middle.start();
  page.Navigate(QUrl(base + "/big"));
  // A plain event loop, as the program runs: a test wait would sleep between its rounds, and the
  // engine's work on this thread with it.
  QEventLoop loop;
  bool ended = false;
  QObject::connect(&downloads, &zelvora::TDownloads::Changed, &loop, [&] {
    if (downloads.Items()[0]->state != zelvora::TDownloads::State::kRunning) {
      ended = true;
      loop.quit();
    }
  });
  QTimer::singleShot(600000, &loop, &QEventLoop::quit);
  loop.exec();
  const qint64 elapsed = clock.elapsed();
  ticker.stop();
  middle.stop();
  Report("end");

  const bool finished = ended &&
                        downloads.Items()[0]->state == zelvora::TDownloads::State::kFinished &&
                        QFileInfo(folder.filePath("big.bin")).size() == kSize;
  std::printf("1 GB download: %s in %.1f s (%.0f MB/s), longest main-thread stall %lld ms\n",
              finished ? "finished" : "FAILED", elapsed / 1000.0,
              kSize / 1048576.0 / (elapsed / 1000.0), longestStall);
  fixture.window.reset();
  serverThread->quit();
  serverThread->wait();
  delete serverThread;
  return finished ? 0 : 1;
}
