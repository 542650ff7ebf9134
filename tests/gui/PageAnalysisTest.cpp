#include <QCheckBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "gui/browser/DocumentRequests.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/AnalysisCommands.h"
#include "gui/tools/KeywordBox.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeJobRunner.h"
#include "gui/tools/WorkingDialog.h"

namespace zelvora {

namespace {

struct Reply {
  bool over = false;
  std::optional<QByteArray> payload;
  int progressReports = 0;
};

// Sends a "links" request and waits for its answer.
Reply ReadLinks(TAPIBrowsePage& strip, TMyContainerClass& page, const QString& path,
                bool images = true) {
  Reply reply;
  strip.Requests().Send(
      page, {page.Id(), path.toStdString()}, QStringLiteral("links"),
      {{QStringLiteral("images"), images}},
      [&reply](std::optional<QByteArray> payload) {
        reply.payload = std::move(payload);
        reply.over = true;
      },
      [&reply](int, int) { ++reply.progressReports; });
  if (!QTest::qWaitFor([&reply] { return reply.over; }, 15000))
    qWarning("the request was never answered");
  return reply;
}

QJsonObject Json(const std::optional<QByteArray>& payload) {
  return payload ? QJsonDocument::fromJson(*payload).object() : QJsonObject();
}

// The names of the Analysis tree's items in pre-order, one per line, indented by depth, with the
// values of the items that are no folders.
QString Outline(const TTreeModel& tree) {
  QString outline;
  for (TreeHandle item = tree.FirstTopLevel(); item != kNoItem; item = tree.NextInPreOrder(item)) {
    outline += QString(tree.Depth(item), u' ') + QString::fromStdString(tree.Name(item));
    if (!tree.IsFolder(item))
      outline += u' ' + QString::fromStdString(tree.Record(item)->Value);
    outline += u'\n';
  }
  return outline;
}

// Runs the analysis of the current tab with the Analysis page's boxes as given (keyword empty,
// no lock) and waits for its end.
void Analyse(TSDIMainWindow& window, bool dir = false) {
  window.ExecuteCommand(kToolPageCommandFirst + kToolAnalysis);
  window.KeywordBox(kListAnalysisKey).SetText({}, true);
  for (int option = 5; option < 10; ++option) {
    window.ToolPanel().Option(option)->setChecked(option == 8 && dir);
  }
  window.ExecuteCommand(3116);
  QTRY_VERIFY_WITH_TIMEOUT(!window.ToolTaskRunning(), 20000);
}

QByteArray ManyLinks(int count) {
  QByteArray html = "<title>Many</title><body>";
  for (int index = 0; index < count; ++index) {
    html += "<a href='/page" + QByteArray::number(index % 2000) + "/item" +
            QByteArray::number(index) + "'>link number " + QByteArray::number(index) + "</a>\n";
  }
  return html;
}

}  // namespace

class PageAnalysisTest : public QObject {
  Q_OBJECT

 private slots:
  // The program's requests reach the top document and a frame of another origin alike; the
  // request travels without the secret, so the frame's own scripts, which see it pass, learn
  // nothing they could forge an answer with; a frame that is not there answers nothing at once.
  void RequestsReachEveryFrameWithoutShowingTheSecret() {
    LocalServer top;
    LocalServer other;
    other.Page("/frame",
               "<title>Inner</title><body><a href='/inner'>Inner link</a><script>"
               "addEventListener('message', e => console.log('seen:' + JSON.stringify(e.data)));"
               "</script></body>");
    top.Page("/", "<title>Top</title><body><a href='/a'>Top link</a><iframe src='" +
                      other.Url("/frame").toUtf8() + "'></iframe></body>");
    PageFixture fixture("");
    TMyContainerClass& page = fixture.Load(top.Url("/"));
    TAPIBrowsePage& strip = fixture.Strip();
    QTRY_VERIFY_WITH_TIMEOUT(strip.WebEvents().IsAttached({page.Id(), "0"}), 10000);
    QStringList seen;
    const auto bridge = page.Page()->consoleLine;
    page.Page()->consoleLine = [&seen, bridge](const QString& line) {
      if (line.startsWith(QLatin1String("seen:")))
        seen << line;
      bridge(line);
    };

    const QJsonObject topAnswer = Json(ReadLinks(strip, page, {}).payload);
    QCOMPARE(topAnswer.value("title").toString(), QStringLiteral("Top"));
    QCOMPARE(topAnswer.value("links").toArray().at(0).toArray().at(0).toString(), top.Url("/a"));

    const Reply frameReply = ReadLinks(strip, page, QStringLiteral("0"));
    const QJsonObject frameAnswer = Json(frameReply.payload);
    QCOMPARE(frameAnswer.value("title").toString(), QStringLiteral("Inner"));
    QCOMPARE(frameAnswer.value("links").toArray().at(0).toArray().at(1).toString(),
             QStringLiteral("Inner link"));
    QVERIFY(frameReply.progressReports > 0);

    // The frame's own script wrote every message it saw to the console.
    QTRY_VERIFY(std::any_of(seen.begin(), seen.end(),
                            [](const QString& line) { return line.contains("zelvoraRequest"); }));
    const QString secret = QString::fromStdString(strip.BridgeSecret());
    QVERIFY(std::none_of(seen.begin(), seen.end(),
                         [&secret](const QString& line) { return line.contains(secret); }));

    const Reply missing = ReadLinks(strip, page, QStringLiteral("7"));
    QVERIFY(missing.over);
    QVERIFY(!missing.payload);
  }

  // Ten thousand links come back whole, in one answer.
  void LargeAnswersArriveWhole() {
    LocalServer server;
    server.Page("/", ManyLinks(10000));
    PageFixture fixture("");
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    QElapsedTimer timer;
    timer.start();
    const Reply reply = ReadLinks(fixture.Strip(), page, {});
    qInfo("10,000 links read in %lld ms", static_cast<long long>(timer.elapsed()));
    const QJsonArray links = Json(reply.payload).value("links").toArray();
    QCOMPARE(links.size(), 10000);
    QCOMPARE(links.at(9999).toArray().at(1).toString(), QStringLiteral("link number 9999"));
  }

  // Image links are named by their alt text (spaces kept), else their title, else their
  // address; a link met twice with the same text is listed once, with another text twice; the
  // images follow in a folder of their own, and without "AnalysisImageTag" there is none.
  void LinksAndImagesAreListedUnderTheirNames() {
    LocalServer server;
    server.Page("/",
                "<title>Gallery</title><body>"
                "<a href='/one'><img src='/one.png' alt='two  words'></a>"
                "<a href='/two'><img src='/two.png' title='Titled'></a>"
                "<a href='/three'><img src='/three.png'></a>"
                "<a href='/same'>Same</a><a href='/same'>Same</a><a href='/same'>Again</a>"
                "</body>");
    const QString expected =
        "Analysis\n Gallery\n  links\n   two words %1/one\n   Titled %1/two\n   %1/three "
        "%1/three\n   Same %1/same\n   Again %1/same\n  images\n   two  words %1/one.png\n"
        "   two.png %1/two.png\n   three.png %1/three.png\n";
    {
      PageFixture fixture("");
      fixture.Load(server.Url("/"));
      Analyse(*fixture.window);
      QCOMPARE(Outline(fixture.window->ToolTrees().Model(kToolAnalysis)),
               expected.arg(server.Url({})));
    }
    PageFixture fixture("AnalysisImageTag=0\r\n");
    fixture.Load(server.Url("/"));
    Analyse(*fixture.window);
    QCOMPARE(Outline(fixture.window->ToolTrees().Model(kToolAnalysis)),
             expected.arg(server.Url({})).section(QStringLiteral("  images\n"), 0, 0));
  }

  // With a selection only the selected links are read, and relative ones resolve against the
  // page's base address; "&Dir" files them by host and directory, in document order.
  void ASelectionIsReadAgainstTheBaseAndFiledByDirectory() {
    LocalServer server;
    server.Page("/",
                "<title>Based</title><head><base href='http://zelvora.test/base/'></head><body>"
                "<a href='outside.html'>Outside</a>"
                "<div id='part'><a href='b.html'>B</a><a href='sub/c.html'>C</a>"
                "<a href='a.html'>A</a></div>"
                "</body>");
    PageFixture fixture("AnalysisImageTag=0\r\n");
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    RunPageScript(*page.Page(),
                  "getSelection().selectAllChildren(document.getElementById('part')); 1");
    Analyse(*fixture.window, true);
    QCOMPARE(Outline(fixture.window->ToolTrees().Model(kToolAnalysis)),
             QStringLiteral("Analysis\n Based\n  links\n   zelvora.test\n    base\n"
                            "     B http://zelvora.test/base/b.html\n"
                            "     A http://zelvora.test/base/a.html\n"
                            "     sub\n      C http://zelvora.test/base/sub/c.html\n"));
  }

  // A page that is still loading is stopped after a moment and then read.
  void APageStillLoadingIsStoppedAndRead() {
    LocalServer server;
    server.Stall("/never.png");
    server.Page("/", "<title>Slow</title><body><a href='/x'>X</a><img src='/never.png'></body>");
    PageFixture fixture("AnalysisImageTag=0\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& page = *strip.GetContainer(strip.AddPage(server.Url("/")));
    QTRY_VERIFY_WITH_TIMEOUT(strip.WebEvents().IsAttached({page.Id(), ""}), 10000);
    QVERIFY(page.busy);
    Analyse(*fixture.window);
    QCOMPARE(Outline(fixture.window->ToolTrees().Model(kToolAnalysis)),
             QStringLiteral("Analysis\n Slow\n  links\n   X %1\n").arg(server.Url("/x")));
  }

  // The frame the user last worked in is analysed, whatever its origin.
  void TheFocusedFrameIsAnalysed() {
    LocalServer top;
    LocalServer other;
    other.Page("/frame", "<title>Inner</title><body><a href='/inner'>Inner link</a></body>");
    top.Page("/", "<title>Top</title><body><a href='/a'>Top link</a><iframe src='" +
                      other.Url("/frame").toUtf8() + "'></iframe></body>");
    PageFixture fixture("");
    TMyContainerClass& page = fixture.Load(top.Url("/"));
    const FrameRef frame{page.Id(), "0"};
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached(frame), 10000);
    fixture.Strip().WebEvents().WindowFocus(frame);
    Analyse(*fixture.window);
    QCOMPARE(
        Outline(fixture.window->ToolTrees().Model(kToolAnalysis)),
        QStringLiteral("Analysis\n Inner\n  links\n   Inner link %1\n").arg(other.Url("/inner")));
  }

  // Megabyte addresses and alt texts, bytes that are no UTF-8, a lone surrogate and markup nested
  // two thousand deep are read and filed, or refused as a whole, but never hang the program.
  void HostileMarkupIsReadWithoutHarm() {
    LocalServer server;
    const QByteArray huge(1 << 20, 'x');
    server.Page("/", "<title>Hostile</title><body><a href='/" + huge +
                         "'>Long</a>"
                         "<a href='/alt'><img alt='" +
                         huge +
                         "'></a>"
                         "<a href='/bytes'>bad \xff\xfe bytes</a><div id='deep'></div><script>"
                         "const a = document.createElement('a'); a.href = '/lone';"
                         "a.textContent = 'half \\uD800 pair'; document.body.appendChild(a);"
                         "let node = document.getElementById('deep');"
                         "for (let i = 0; i < 2000; ++i) node = node.appendChild("
                         "document.createElement('span'));"
                         "node.innerHTML = \"<a href='/deep'>Deep</a>\";"
                         "</script></body>");
    PageFixture fixture("AnalysisImageTag=0\r\n");
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    Analyse(*fixture.window);
    const TTreeModel& tree = fixture.window->ToolTrees().Model(kToolAnalysis);
    const QStringList lines = Outline(tree).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 8);
    QVERIFY(lines[3].startsWith(QStringLiteral("   Long ")) && lines[3].size() > (1 << 20));
    QVERIFY(lines[4].startsWith(QStringLiteral("   xxx")));
    QCOMPARE(lines[5], QStringLiteral("   bad \uFFFD\uFFFD bytes %1").arg(server.Url("/bytes")));
    QCOMPARE(lines[6], QStringLiteral("   Deep %1").arg(server.Url("/deep")));
    QCOMPARE(lines[7], QStringLiteral("   half \uFFFD pair %1").arg(server.Url("/lone")));

    // The whole page selected: its copy is either read or refused, and the program goes on.
    RunPageScript(*page.Page(), "document.execCommand('selectAll'); 1");
    Analyse(*fixture.window);
    QVERIFY(tree.ItemCount() > 0);
  }

  // A tab whose document is being read cannot be closed: the close asks "Working now." and the
  // tab stays; the stop button ends the analysis quickly, and the tab closes afterwards.
  void TheAnalysedTabStaysUntilTheWorkStops() {
    LocalServer server;
    server.Page("/", ManyLinks(100000));
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    fixture.Load(server.Url("/"));
    TAPIBrowsePage& strip = fixture.Strip();
    window.ExecuteCommand(3012);
    QVERIFY(window.ToolTaskRunning());
    QCOMPARE(window.ToolPanel().Page(), static_cast<int>(kToolAnalysis));
    strip.CloseTab(strip.CurrentIndex());
    QCOMPARE(strip.Count(), 1);
    QTRY_VERIFY(window.findChild<TWorkingDialog*>() != nullptr);

    QElapsedTimer timer;
    timer.start();
    window.JobRunner().RequestStop();
    QTRY_VERIFY(!window.ToolTaskRunning());
    qInfo("stopped in %lld ms", static_cast<long long>(timer.elapsed()));
    QCOMPARE(window.AnalysisCommands().AnalysedPage(), 0u);
    strip.CloseTab(strip.CurrentIndex());
    QCOMPARE(strip.Count(), 0);
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::PageAnalysisTest)
#include "PageAnalysisTest.moc"
