// Times in-page find and highlighting through the page bridge:
// - highlighting and unhighlighting 1,000 matches (median of 5);
// - highlighting 20,000 matches in a 5 MB page: the whole run, the longest time the page's own
//   timers were held up meanwhile, and how long the page takes to stop once Shift is held;
// - find next on the 5 MB page: the first search (the page's text is read) and the next ones.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "gui/browser/DocumentRequests.h"
#include "gui/input/FindCommands.h"
#include "gui/shell/Rebar.h"

namespace {

using zelvora::TSDIMainWindow;

// `count` paragraphs of about `size` bytes, each with one "needle".
QByteArray Paragraphs(int count, int size) {
  QByteArray html =
      "<body><script>window.longest = 0; let last = performance.now();"
      "setInterval(() => { const now = performance.now();"
      "window.longest = Math.max(window.longest, now - last); last = now; }, 5);"
      "</script>";
  const QByteArray filler = QByteArray("lorem ipsum dolor sit amet ").repeated(size / 27);
  for (int index = 0; index < count; ++index) {
    html += "<p>" + filler + "needle " + QByteArray::number(index) + "</p>\n";
  }
  return html + "</body>";
}

qint64 Highlight(TSDIMainWindow& window) {
  QElapsedTimer timer;
  timer.start();
  window.Rebar().HighlightButton()->click();
  while (window.FindCommands().Highlighting()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
  }
  return timer.elapsed();
}

qint64 Find(zelvora::TAPIBrowsePage& strip, zelvora::TMyContainerClass& page) {
  bool done = false;
  QElapsedTimer timer;
  timer.start();
  strip.Requests().Send(page, {page.Id(), {}}, QStringLiteral("find"),
                        {{QStringLiteral("text"), QStringLiteral("needle")}},
                        [&done](std::optional<QByteArray>) { done = true; });
  while (!done) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
  }
  return timer.elapsed();
}

qint64 Median(std::vector<qint64> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (getuid() == 0)
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
  QApplication application(argc, argv);
  zelvora::LocalServer server;
  server.Page("/small", Paragraphs(1000, 100));
  server.Page("/large", Paragraphs(20000, 250));
  zelvora::PageFixture fixture("");
  TSDIMainWindow& window = *fixture.window;
  zelvora::TAPIBrowsePage& strip = fixture.Strip();
  window.Rebar().SearchKeyBox()->setEditText(QStringLiteral("needle"));

  zelvora::TMyContainerClass& small = fixture.Load(server.Url("/small"));
  QTest::qWait(500);
  std::vector<qint64> on;
  std::vector<qint64> off;
  for (int run = 0; run < 5; ++run) {
    on.push_back(Highlight(window));
    off.push_back(Highlight(window));
  }
  std::printf("highlight 1,000 matches: %lld ms, remove them: %lld ms (medians of 5)\n",
              static_cast<long long>(Median(on)), static_cast<long long>(Median(off)));
  strip.CloseTab(strip.IndexOfContainer(&small));

  zelvora::TMyContainerClass& large = fixture.Load(server.Url("/large"));
  QTest::qWait(500);
  std::vector<qint64> finds;
  const qint64 first = Find(strip, large);
  for (int run = 0; run < 5; ++run) {
    finds.push_back(Find(strip, large));
  }
  std::printf("find next in 5 MB: first %lld ms, then %lld ms (median of 5)\n",
              static_cast<long long>(first), static_cast<long long>(Median(finds)));

  zelvora::RunPageScript(*large.Page(), QStringLiteral("window.longest = 0; 1"));
  const qint64 whole = Highlight(window);
  const QString held = zelvora::RunPageScript(*large.Page(), QStringLiteral("window.longest"));
  std::printf("highlight 20,000 matches in 5 MB: %lld ms; page timers held up at most %s ms\n",
              static_cast<long long>(whole), qPrintable(held));
  Highlight(window);

  bool shift = false;
  window.FindCommands().shiftDown = [&shift] { return shift; };
  window.Rebar().HighlightButton()->click();
  QTest::qWait(300);
  QElapsedTimer stop;
  stop.start();
  shift = true;
  while (window.FindCommands().Highlighting()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
  }
  std::printf("Shift held: highlighting stopped after %lld ms\n",
              static_cast<long long>(stop.elapsed()));
  return 0;
}
