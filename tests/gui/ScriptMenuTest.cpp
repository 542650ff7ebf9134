// The Script menu over script files in a temporary folder: the menu read from the file when it
// opens, New, Edit, Open and the file history, and entries run in a page served on 127.0.0.1 or
// as a command line.

#include <QAction>
#include <QMenu>
#include <QStatusBar>
#include <QtTest>
#include <fstream>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "core/shell/FileHistory.h"
#include "core/shell/SafeFile.h"
#include "gui/input/ScriptMenu.h"
#include "gui/shell/MainMenus.h"

namespace zelvora {

namespace {

constexpr int kNewScript = 4771;
constexpr int kEditScript = 4772;
constexpr int kOpenScript = 4773;
constexpr int kScriptFileHistoryDelete = 5877;

QMenu& ScriptMenu(TSDIMainWindow& window) {
  return *window.Menus().Popup(kMenuScript);
}

// The items after the menu's own ones, as text: "-" for a separator, "Name[...]" for a sub-menu.
QString Describe(const QList<QAction*>& actions) {
  QStringList parts;
  for (const QAction* action : actions) {
    if (action->isSeparator())
      parts << QStringLiteral("-");
    else if (action->menu() != nullptr)
      parts << action->text() + "[" + Describe(action->menu()->actions()) + "]";
    else
      parts << action->text();
  }
  return parts.join(',');
}

QString ScriptEntries(TSDIMainWindow& window) {
  const QList<QAction*> actions = ScriptMenu(window).actions();
  // New, -, Edit, Open, -, File History, File History Delete, -
  return Describe(actions.mid(8));
}

// Opens the Script menu, closes it and chooses the entry, as a click on it does.
void ChooseEntry(TSDIMainWindow& window, const QString& caption) {
  QMenu& menu = ScriptMenu(window);
  menu.popup(QPoint(0, 0));
  QAction* chosen = nullptr;
  for (QAction* action : menu.actions()) {
    if (action->text() == caption)
      chosen = action;
  }
  menu.hide();
  QVERIFY2(chosen != nullptr, qPrintable(caption));
  chosen->trigger();
}

void WriteFile(const QString& path, const std::string& content) {
  std::ofstream(path.toStdString(), std::ios::binary) << content;
}

}  // namespace

class ScriptMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    TScriptMenu::SetFileAsker({});
    TScriptMenu::SetFileOpener({});
  }

  // New writes a fresh file under the name given plus ".txt" and shows it in the editor; the
  // menu shows the file's sections when it opens and drops them once it has closed; Open takes
  // another file, and File History Delete keeps only the current one.
  void FileCommandsAndTheMenuLayout() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    const QString folder = fixture.folder.path();
    QString answer = folder + "/Mine";
    QStringList edited;
    TScriptMenu::SetFileAsker([&answer](QWidget*, const QString&, bool) { return answer; });
    TScriptMenu::SetFileOpener([&edited](const QString& path) { edited << path; });

    ScriptMenu(window).popup(QPoint(0, 0));
    QVERIFY(!window.Menus().Action(kEditScript)->isEnabled());
    QCOMPARE(ScriptEntries(window), QString());
    ScriptMenu(window).hide();

    window.ExecuteCommand(kNewScript);
    const QString mine = folder + "/Mine.txt";
    QCOMPARE(ReadWholeFile(mine.toStdString()), "[.]\r\nLanguage=JavaScript\r\n\r\n");
    QCOMPARE(edited, QStringList{mine});
    QCOMPARE(window.FileHistory(kFileScript).Entry(1), mine.toStdString());

    WriteFile(mine, "[.]\r\n[A]\r\n[-]\r\n[.Tools]\r\n[..B]\r\n[..-]\r\n[..C]\r\n[D]\r\n");
    ScriptMenu(window).popup(QPoint(0, 0));
    QVERIFY(window.Menus().Action(kEditScript)->isEnabled());
    QCOMPARE(ScriptEntries(window), QStringLiteral("A,-,Tools[B,-,C],D"));
    // Rebuilt only after the menus closed.
    WriteFile(mine, "[E]\r\n");
    ScriptMenu(window).hide();
    ScriptMenu(window).popup(QPoint(0, 0));
    QCOMPARE(ScriptEntries(window), QStringLiteral("A,-,Tools[B,-,C],D"));
    ScriptMenu(window).hide();
    QTRY_COMPARE(ScriptEntries(window), QString());
    ScriptMenu(window).popup(QPoint(0, 0));
    QCOMPARE(ScriptEntries(window), QStringLiteral("E"));
    ScriptMenu(window).hide();

    // A file far too big for the menu: a megabyte line, broken UTF-8, 10,000 sections.
    std::string big = "[\xFF\xC3]\r\n0=" + std::string(1 << 20, 'x') + "\r\n";
    for (int i = 0; i < 10000; ++i)
      big += "[S" + std::to_string(i) + "]\r\n0=Include:$SelfDir$Mine.txt\r\n";
    WriteFile(mine, big);
    QTRY_COMPARE(ScriptEntries(window), QString());
    ScriptMenu(window).popup(QPoint(0, 0));
    QCOMPARE(ScriptMenu(window).actions().size(), 8 + 400);
    ScriptMenu(window).hide();

    answer = folder + "/Other.txt";
    WriteFile(answer, "[F]\r\n");
    window.ExecuteCommand(kOpenScript);
    QCOMPARE(window.FileHistory(kFileScript).Entries(),
             (std::vector<std::string>{answer.toStdString(), mine.toStdString()}));
    window.ExecuteCommand(kScriptFileHistoryDelete);
    QCOMPARE(window.FileHistory(kFileScript).Entries(),
             std::vector<std::string>{answer.toStdString()});
    window.ExecuteCommand(kEditScript);
    QCOMPARE(edited, (QStringList{mine, answer}));
    // Menus made anew for another theme still read the script file.
    window.RebuildMenus();
    ScriptMenu(window).popup(QPoint(0, 0));
    QCOMPARE(ScriptEntries(window), QStringLiteral("F"));
    ScriptMenu(window).hide();
  }

  // Scripts run in the page's own world, only while the page allows scripts; "ShortCut" scripts
  // are command lines: "/url=" opens its address, a bare address nothing.
  void EntriesRunInThePageOrAsCommandLines() {
    LocalServer server;
    server.Page("/", "<title>start</title><script>var secret = 'k7';</script>");
    server.Page("/opened", "<title>opened</title>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    const QString file = fixture.folder.path() + "/Scripts.txt";
    WriteFile(file,
              "[.]\r\nLanguage=JavaScript\r\n"
              "[Title]\r\n0=document.title =\r\n1=  'seen ' + secret;\r\n"
              "[VB]\r\nLanguage=VBScript\r\n0=document.title = \"vb\"\r\n"
              "[Bare]\r\nLanguage=ShortCut\r\n0=" +
                  server.Url("/bare").toStdString() +
                  "\r\n"
                  "[Go]\r\nLanguage=shortcut\r\n0=/url=" +
                  server.Url("/opened").toStdString() + "\r\n");
    TScriptMenu::SetFileAsker([&file](QWidget*, const QString&, bool) { return file; });
    window.ExecuteCommand(kOpenScript);
    TMyContainerClass& page = fixture.Load(server.Url("/"));

    page.permissions[4] = false;
    ChooseEntry(window, "Title");
    // The program's scripts run in order: one sent before would have run before this one.
    QCOMPARE(RunPageScript(*page.Page(), "document.title"), QStringLiteral("start"));
    page.permissions[4] = true;
    ChooseEntry(window, "Title");
    QTRY_COMPARE(RunPageScript(*page.Page(), "document.title"), QStringLiteral("seen k7"));

    ChooseEntry(window, "VB");
    QVERIFY(window.statusBar()->currentMessage().contains("VBScript"));

    const int tabs = fixture.Strip().Count();
    ChooseEntry(window, "Bare");
    QCOMPARE(fixture.Strip().Count(), tabs);
    ChooseEntry(window, "Go");
    QCOMPARE(fixture.Strip().Count(), tabs + 1);
    QTRY_VERIFY_WITH_TIMEOUT(server.Requested("/opened"), 20000);
    QVERIFY(!server.Requested("/bare"));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::ScriptMenuTest)
#include "ScriptMenuTest.moc"
