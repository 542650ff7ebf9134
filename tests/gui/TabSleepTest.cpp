#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QtEndian>
#include <QtTest>
#include <cmath>

#include "LocalServer.h"
#include "PageFixture.h"
#include "core/browser/SessionAutoSave.h"
#include "core/input/ThemeTexts.h"
#include "core/tools/TabList.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/TabSleep.h"

namespace zelvora {

namespace {

// Two seconds of a 440 Hz tone, 8 kHz mono 16-bit PCM.
QByteArray ToneWav() {
  constexpr int kRate = 8000;
  constexpr int kSamples = 2 * kRate;
  QByteArray data(kSamples * 2, Qt::Uninitialized);
  for (int i = 0; i < kSamples; ++i)
    qToLittleEndian<qint16>(static_cast<qint16>(12000 * std::sin(2 * M_PI * 440 * i / kRate)),
                            data.data() + 2 * i);
  QByteArray wav = "RIFF" + QByteArray(4, 0) + "WAVEfmt " + QByteArray(4, 0) + QByteArray(16, 0) +
                   "data" + QByteArray(4, 0);
  qToLittleEndian<quint32>(36 + data.size(), wav.data() + 4);
  qToLittleEndian<quint32>(16, wav.data() + 16);
  qToLittleEndian<quint16>(1, wav.data() + 20);  // PCM
  qToLittleEndian<quint16>(1, wav.data() + 22);  // mono
  qToLittleEndian<quint32>(kRate, wav.data() + 24);
  qToLittleEndian<quint32>(kRate * 2, wav.data() + 28);
  qToLittleEndian<quint16>(2, wav.data() + 32);
  qToLittleEndian<quint16>(16, wav.data() + 34);
  qToLittleEndian<quint32>(data.size(), wav.data() + 40);
  return wav + data;
}

int Requests(const LocalServer& server, const QString& path) {
  return static_cast<int>(
      std::count_if(server.requests.begin(), server.requests.end(),
                    [&](const auto& request) { return request.target == path; }));
}

// Pages asked for (the engine asks for the site's icon besides).
int PageRequests(const LocalServer& server) {
  return static_cast<int>(
      std::count_if(server.requests.begin(), server.requests.end(),
                    [](const auto& request) { return request.target.startsWith("/p"); }));
}

QWebEnginePage::LifecycleState State(TMyContainerClass& page) {
  return page.Page()->lifecycleState();
}

}  // namespace

class TabSleepTest : public QObject {
  Q_OBJECT

 private slots:
  void ADiscardedTabKeepsItsCaptionAndReloadsWhenSelected() {
    LocalServer server;
    server.Page("/a", "<title>Page A</title><p>a</p>");
    server.Page("/b", "<title>Page B</title><p>b</p>");
    server.Page("/start", "<title>Start</title><p>start</p>");
    PageFixture fixture("");
    TAPIBrowsePage& strip = fixture.Strip();
    TMyContainerClass& a = fixture.Load(server.Url("/start"));
    a.Navigate(QUrl(server.Url("/a")));
    QVERIFY(PageFixture::WaitLoaded(a));
    fixture.Load(server.Url("/b"));
    QTRY_COMPARE(strip.TabBar().Caption(0), QStringLiteral("Page A"));

    // The shown tab cannot sleep (its menu entry is greyed); the other one goes at once.
    QVERIFY(!strip.Sleep().CanSleepNow(1));
    QVERIFY(strip.Sleep().CanSleepNow(0));
    strip.Sleep().SleepNow(1);
    QCOMPARE(State(*strip.GetContainer(1)), QWebEnginePage::LifecycleState::Active);
    strip.Sleep().SleepNow(0);
    QCOMPARE(State(a), QWebEnginePage::LifecycleState::Discarded);
    QVERIFY(!strip.Sleep().CanSleepNow(0));
    QTest::qWait(300);
    QCOMPARE(strip.TabBar().Caption(0), QStringLiteral("Page A"));
    QCOMPARE(strip.TabEntries().front().url, server.Url("/a").toStdString());
    QCOMPARE(Requests(server, "/a"), 1);

    strip.SetCurrentIndex(0);
    QCOMPARE(State(a), QWebEnginePage::LifecycleState::Active);
    QTRY_COMPARE_WITH_TIMEOUT(Requests(server, "/a"), 2, 20000);
    QTRY_COMPARE(a.Page()->title(), QStringLiteral("Page A"));
    QCOMPARE(a.Page()->url(), QUrl(server.Url("/a")));
    // The back list came through the sleep.
    QVERIFY(a.Page()->history()->canGoBack());
    QCOMPARE(a.Page()->history()->backItems(1).front().url(), QUrl(server.Url("/start")));
  }

  void AnIdleTabSleepsUnlessItPlaysAudio() {
    LocalServer server;
    server.Serve("/tone.wav", {"200 OK", {"Content-Type: audio/wav"}, ToneWav(), 0});
    server.Page("/audio", "<title>Audio</title><audio autoplay loop src=\"/tone.wav\"></audio>");
    server.Page("/quiet", "<title>Quiet</title><p>quiet</p>");
    server.Page("/front", "<title>Front</title><p>front</p>");
    PageFixture fixture("");
    TAPIBrowsePage& strip = fixture.Strip();
    strip.Profile()->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture,
                                              false);
    TMyContainerClass& audio = fixture.Load(server.Url("/audio"));
    TMyContainerClass& quiet = fixture.Load(server.Url("/quiet"));
    fixture.Load(server.Url("/front"));
    QTRY_VERIFY_WITH_TIMEOUT(audio.Page()->recentlyAudible(), 20000);

    // Within the default half hour nothing sleeps; two hours later the quiet tab is frozen, then
    // discarded, while the one that plays stays awake.
    TTabSleep& sleep = strip.Sleep();
    sleep.Check();
    QCOMPARE(State(quiet), QWebEnginePage::LifecycleState::Active);
    const auto clock = sleep.now;
    sleep.now = [clock] { return clock() + 2 * 60 * 60 * 1000; };
    sleep.Check();
    QCOMPARE(State(quiet), QWebEnginePage::LifecycleState::Frozen);
    QTRY_COMPARE(quiet.Page()->recommendedState(), QWebEnginePage::LifecycleState::Discarded);
    sleep.Check();
    QCOMPARE(State(quiet), QWebEnginePage::LifecycleState::Discarded);
    QVERIFY(audio.Page()->recentlyAudible());
    QCOMPARE(State(audio), QWebEnginePage::LifecycleState::Active);
  }

  void ARestoredListLoadsOnlyTheCurrentTab() {
    LocalServer server;
    std::vector<TabListEntry> tabs;
    for (int i = 0; i < 20; ++i) {
      const QString path = QStringLiteral("/p%1").arg(i);
      server.Page(path, "<title>loaded</title>");
      tabs.push_back({server.Url(path).toStdString(), "Saved " + std::to_string(i)});
    }
    PageFixture fixture("TabOpenMax=20\r\n");
    TAPIBrowsePage& strip = fixture.Strip();
    const std::string list = fixture.paths.perUserFolder + "/list.dat";
    QVERIFY(WriteTabList(list, "now", tabs).ok);
    fixture.window->OpenTabList(list);
    QCOMPARE(strip.Count(), 20);
    QTRY_COMPARE(Requests(server, "/p19"), 1);
    QTest::qWait(1000);
    QCOMPARE(PageRequests(server), 1);
    QCOMPARE(strip.TabBar().Caption(3), QStringLiteral("Saved 3"));
    // The tab list keeps the tabs that never loaded as they were.
    const std::vector<TabListEntry> entries = strip.TabEntries();
    QCOMPARE(entries.size(), tabs.size());
    QVERIFY(std::equal(tabs.begin(), tabs.end() - 1, entries.begin()));
    // Commands that need a document leave a tab that has not loaded alone.
    strip.ExecCommand(3, TAPIBrowsePage::DocumentCommand::kSaveAs);
    strip.Sleep().SleepNow(3);
    QCOMPARE(strip.GetContainer(3)->pendingUrl, QUrl(server.Url("/p3")));
    strip.SetCurrentIndex(3);
    QTRY_COMPARE(Requests(server, "/p3"), 1);
    QCOMPARE(PageRequests(server), 2);
  }

  void AStartAfterAnUncleanEndRestoresTheTabsAndSaysSo() {
    LocalServer server;
    server.Page("/r", "<title>R</title>");
    // Restoring is off now, and the crashed run left its marker and its list.
    WindowFixture fixture(PageSettings(""));
    const std::string folder = fixture.paths.perUserFolder;
    const QString marker = QString::fromStdString(folder + "/" + std::string(kSessionMarkerName));
    QFile(marker).open(QIODevice::WriteOnly);
    QVERIFY(WriteTabList(folder + "/" + std::string(kLastWebListName), "now",
                         {{server.Url("/r").toStdString(), "R"}})
                .ok);
    fixture.Open();
    QCOMPARE(fixture.window->BrowsePage().Count(), 1);
    const auto* note = fixture.window->statusBar()->findChild<QLabel*>(QStringLiteral("Note"));
    QVERIFY(note != nullptr);
    QCOMPARE(note->text().toStdString(), BuiltInMessage(kMessageSessionRestored));
    // This run does not save as it goes: the stale marker is gone.
    QVERIFY(!QFile::exists(marker));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::TabSleepTest)
#include "TabSleepTest.moc"
