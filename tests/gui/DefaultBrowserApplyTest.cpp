#include <QLabel>
#include <QStatusBar>
#include <QtTest>

#include "WindowFixture.h"
#include "core/input/DefaultBrowser.h"
#include "core/shell/SafeFile.h"
#include "gui/input/DefaultBrowserApply.h"

namespace zelvora {

class DefaultBrowserApplyTest : public QObject {
  Q_OBJECT

 private slots:
  // The option registers the running executable in the window's registry store and on the
  // desktop of the XDG folders.
  void TheOptionRegistersTheRunningProgram() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    const QString data = fixture.folder.filePath(QStringLiteral("data"));
    const QString config = fixture.folder.filePath(QStringLiteral("config"));
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const std::string entry = data.toStdString() + "/applications/zelvora.desktop";
    const std::string list = config.toStdString() + "/mimeapps.list";
    const std::string executable = QCoreApplication::applicationFilePath().toStdString();
    const std::string verb =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();

    ApplyDefaultBrowser(window, true);
    QCOMPARE(ReadWholeFile(entry), DesktopEntryText(executable));
    QCOMPARE(DefaultApplicationOf(ReadWholeFile(list).value_or(""), "x-scheme-handler/https"),
             std::optional<std::string>("zelvora.desktop;"));
    // What the next start reads.
    const TRegistry stored(fixture.paths.perUserFolder + "/Registry.txt");
    QCOMPARE(stored.ReadString(kHkeyClassesRoot, "http\\shell", ""), verb);
    QCOMPARE(stored.ReadString(kHkeyClassesRoot, "http\\shell\\" + verb + "\\command", ""),
             executable + " /URL=%1");

    // A desktop that cannot take the registration says so.
    ApplyDefaultBrowser(window, false);
    QVERIFY(QDir(config).removeRecursively());
    QVERIFY(WriteFileAtomic(config.toStdString(), "a file, not a folder").ok);
    ApplyDefaultBrowser(window, true);
    const auto* note = window.statusBar()->findChild<QLabel*>(QStringLiteral("Note"));
    QVERIFY(note != nullptr);
    QVERIFY2(note->text().contains(QStringLiteral("mimeapps.list")), qPrintable(note->text()));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::DefaultBrowserApplyTest)
#include "DefaultBrowserApplyTest.moc"
