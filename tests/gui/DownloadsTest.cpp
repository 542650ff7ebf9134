#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "gui/browser/Downloads.h"

namespace zelvora {

// Downloads served by the test itself, saved where the test answers in place of the user.
class DownloadsTest : public QObject {
  Q_OBJECT

 private:
  static LocalServer::Reply Attachment(const QByteArray& name, const QByteArray& body,
                                       qint64 generated = 0) {
    return {"200 OK",
            {"Content-Type: application/octet-stream",
             "Content-Disposition: attachment; filename=\"" + name + "\""},
            body,
            generated};
  }
  static QString Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }
  static QStringList Files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
  }
  // The download of `row` ended in `state` (waits for it).
  static bool Ends(const TDownloads& downloads, std::size_t row, TDownloads::State state) {
    const bool ended = QTest::qWaitFor(
        [&] {
          return downloads.Items().size() > row &&
                 downloads.Items()[row]->state != TDownloads::State::kRunning;
        },
        20000);
    return ended && downloads.Items()[row]->state == state;
  }

  // Every question goes to `answer`, with the path the dialog would have started at.
  QStringList asked_;
  void AnswerWith(const std::function<QString(const QString& suggested)>& answer) {
    asked_.clear();
    TDownloads::SetSaveAsker([this, answer](QWidget*, const QString& suggested) {
      asked_.append(suggested);
      return TDownloads::SaveAnswer{answer(suggested), false};
    });
  }

 private slots:
  void cleanup() { TDownloads::SetSaveAsker({}); }

  void FilesLandInTheChosenFolderWithoutReplacingOrLeavingIt() {
    LocalServer server;
    server.Page("/", "<title>Files</title>");
    server.Serve("/report", Attachment("report.txt", "first"));
    server.Serve("/escape", Attachment("../x", "escaped?"));
    QTemporaryDir outer;
    const QString folder = outer.path() + "/dl";
    QVERIFY(QDir().mkpath(folder));
    PageFixture fixture("");
    TDownloads& downloads = fixture.window->Downloads();
    TMyContainerClass& page = fixture.Load(server.Url("/"));

    AnswerWith([&folder](const QString&) { return folder + "/report.txt"; });
    page.Navigate(QUrl(server.Url("/report")));
    QVERIFY(Ends(downloads, 0, TDownloads::State::kFinished));
    QCOMPARE(asked_.size(), 1);
    QVERIFY(asked_[0].endsWith("/report.txt"));
    QCOMPARE(Content(folder + "/report.txt"), QString("first"));
    QCOMPARE(fixture.Key("Zelvora", "DownloadFolder"), folder.toStdString());

    // The same name again: the first file stays, the second takes the free name.
    server.Serve("/report", Attachment("report.txt", "second"));
    page.Navigate(QUrl(server.Url("/report")));
    QVERIFY(Ends(downloads, 1, TDownloads::State::kFinished));
    QCOMPARE(asked_.size(), 2);
    QCOMPARE(asked_[1], folder + "/report.txt");  // the dialog starts in the last folder
    QCOMPARE(Content(folder + "/report.txt"), QString("first"));
    QCOMPARE(Content(folder + "/report (1).txt"), QString("second"));
    QCOMPARE(downloads.Items()[1]->name, QString("report (1).txt"));

    // A server's name that climbs out stays a name in the folder.
    AnswerWith([](const QString& suggested) { return suggested; });
    page.Navigate(QUrl(server.Url("/escape")));
    QVERIFY(Ends(downloads, 2, TDownloads::State::kFinished));
    QCOMPARE(QFileInfo(asked_[0]).absolutePath(), folder);
    QCOMPARE(Files(outer.path()), QStringList{"dl"});
    QCOMPARE(Files(folder).size(), 3);
    QCOMPARE(Content(downloads.Items()[2]->Path()), QString("escaped?"));
    QCOMPARE(QFileInfo(downloads.Items()[2]->Path()).absolutePath(), folder);
  }

  void ProgramsAreRefusedWhereActiveXDownloadIsOff() {
    LocalServer server;
    server.Page("/", "<title>Programs</title>");
    server.Serve("/setup", Attachment("setup.exe", "MZ"));
    QTemporaryDir folder;
    PageFixture fixture("");
    TDownloads& downloads = fixture.window->Downloads();
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    AnswerWith([&folder](const QString&) { return folder.filePath("setup.exe"); });

    page.permissions[6] = false;
    page.Navigate(QUrl(server.Url("/setup")));
    QVERIFY(Ends(downloads, 0, TDownloads::State::kRefused));
    QVERIFY(asked_.isEmpty());
    QVERIFY(fixture.window->statusBar()->currentMessage().contains("setup.exe"));
    QTest::qWait(300);
    QVERIFY(Files(folder.path()).isEmpty());

    // With the switch on, the same program may be saved.
    page.permissions[6] = true;
    page.Navigate(QUrl(server.Url("/setup")));
    QVERIFY(Ends(downloads, 1, TDownloads::State::kFinished));
    QCOMPARE(Content(folder.filePath("setup.exe")), QString("MZ"));
  }

  void CancellingLeavesNothingBehind() {
    LocalServer server;
    server.Page("/", "<title>Big</title>");
    server.Serve("/big", Attachment("big.bin", {}, qint64{4} << 30));
    QTemporaryDir folder;
    PageFixture fixture("");
    TDownloads& downloads = fixture.window->Downloads();
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    AnswerWith([&folder](const QString&) { return folder.filePath("big.bin"); });

    page.Navigate(QUrl(server.Url("/big")));
    QTRY_VERIFY_WITH_TIMEOUT(
        !downloads.Items().empty() && downloads.Items()[0]->received > (qint64{8} << 20), 20000);
    // While it runs, nothing stands under the final name.
    QVERIFY(!QFileInfo::exists(folder.filePath("big.bin")));
    QVERIFY(!Files(folder.path()).isEmpty());
    QCOMPARE(downloads.RunningCount(), 1);

    downloads.Cancel(0);
    QVERIFY(Ends(downloads, 0, TDownloads::State::kCancelled));
    QTRY_VERIFY_WITH_TIMEOUT(Files(folder.path()).isEmpty(), 10000);
    QCOMPARE(downloads.RunningCount(), 0);
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::DownloadsTest)
#include "DownloadsTest.moc"
