// Times the page analysis of a page with 10,000 links (a fifth of them image links with an alt
// text, on 300 hosts and 2,000 directories) and 2,000 images, from the start command to the
// Analysis tree painted, with "&Dir" off and on (median of 5 each).
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "LocalServer.h"
#include "PageFixture.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/KeywordBox.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeView.h"

namespace {

QByteArray BigPage() {
  QByteArray html = "<title>Many links</title><body>";
  for (int index = 0; index < 10000; ++index) {
    const QByteArray url = "http://host" + QByteArray::number(index % 300) + ".example/dir" +
                           QByteArray::number(index % 2000) + "/page" + QByteArray::number(index) +
                           ".html";
    if (index % 5 == 0)
      html += "<a href='" + url + "'><img src='data:,' alt='picture " + QByteArray::number(index) +
              "'></a>\n";
    else
      html += "<a href='" + url + "'>Link text " + QByteArray::number(index) + "</a>\n";
  }
  for (int index = 0; index < 2000; ++index) {
    html += "<img src='data:,i" + QByteArray::number(index) + "' alt='image " +
            QByteArray::number(index) + "'>\n";
  }
  return html;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (getuid() == 0)
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
  QApplication application(argc, argv);
  zelvora::LocalServer server;
  server.Page("/", BigPage());
  zelvora::PageFixture fixture("");
  zelvora::TSDIMainWindow& window = *fixture.window;
  fixture.Load(server.Url("/"));
  window.ExecuteCommand(zelvora::kToolPageCommandFirst + zelvora::kToolAnalysis);
  zelvora::TTreeView& view = window.ToolTrees().View(zelvora::kToolAnalysis);
  for (const bool dir : {false, true}) {
    window.ToolPanel().Option(8)->setChecked(dir);
    std::vector<qint64> times;
    std::size_t items = 0;
    for (int run = 0; run < 5; ++run) {
      QElapsedTimer timer;
      timer.start();
      window.ExecuteCommand(3116);
      while (window.ToolTaskRunning()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      }
      view.grab();
      times.push_back(timer.elapsed());
      items = window.ToolTrees().Model(zelvora::kToolAnalysis).ItemCount();
    }
    std::sort(times.begin(), times.end());
    std::printf("analysis with Dir %s: %lld ms (median of 5), %zu items\n", dir ? "on" : "off",
                static_cast<long long>(times[2]), items);
  }
  return 0;
}
