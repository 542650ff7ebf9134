#include <sys/resource.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <csignal>

#include "WindowFixture.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/Rebar.h"

namespace zelvora {

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The default theme as the build wrote it beside the executable.
std::string DefaultTheme() {
  return ReadFile(ZELVORA_DEFAULT_THEME);
}

QString ItemText(const TSDIMainWindow& window, int popup, int id) {
  for (QAction* action : window.Menus().Popup(popup)->actions()) {
    if (action->menu() == nullptr && action->data().toInt() == id)
      return action->text();
  }
  return {};
}

// A window whose program folder is a folder of its own, holding `defaultTheme` as its default
// theme (none when empty), beside the current theme `theme`.
struct MergeFixture : WindowFixture {
  explicit MergeFixture(const std::string& theme, const std::string& defaultTheme)
      : WindowFixture("", theme) {
    paths.programFolder = folder.filePath(QStringLiteral("program")).toStdString();
    QDir().mkpath(QString::fromStdString(paths.programFolder));
    if (!defaultTheme.empty())
      std::ofstream(DefaultThemeFile(paths), std::ios::binary) << defaultTheme;
    Open();
  }
};

}  // namespace

class FirstStartTest : public QObject {
  Q_OBJECT

 private slots:
  void TheDefaultThemeShowsItsKeysAndTheyWork() {
    WindowFixture fixture("", DefaultTheme());
    TSDIMainWindow& window = fixture.Open();
    QCOMPARE(ItemText(window, kMenuFile, 3002), QString("&New\tCtrl+T"));
    QCOMPARE(ItemText(window, kMenuTab, 3002), QString("&New\tCtrl+T"));
    QCOMPARE(ItemText(window, kMenuDisplay, 3007), QString("Reload\tF5 | Ctrl+R"));

    // Pressed in the address bar, the key opens a tab.
    QLineEdit* address = window.Rebar().AddressBox()->lineEdit();
    address->setFocus();
    QTest::keyClick(address, Qt::Key_T, Qt::ControlModifier);
    QTRY_COMPARE(window.BrowsePage().Count(), 1);
    QTest::keyClick(address, Qt::Key_T, Qt::ControlModifier);
    QTRY_COMPARE(window.BrowsePage().Count(), 2);
    // Keys of their own in a text field, Ctrl+Shift+Tab and Ctrl+Tab go to the tab before and
    // the tab after (the window system sends Shift+Tab as a key of its own).
    window.BrowsePage().SetCurrentIndex(1);
    address->setFocus();
    QTest::keyClick(address, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(window.BrowsePage().CurrentIndex(), 0);
    address->setFocus();
    QTest::keyClick(address, Qt::Key_Tab, Qt::ControlModifier);
    QTRY_COMPARE(window.BrowsePage().CurrentIndex(), 1);
  }

  void TheAddressBarTakesTheRoomOfItsRow() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open({{0, 0, 1200, 700}, kShowNormal, false});
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QToolBar* address = window.Rebar().Band(1);
    QToolBar* search = window.Rebar().Band(2);
    const int addressWidth = address->width();
    const int searchWidth = search->width();
    // The search bar, last in the row, is as wide as it needs to be, and still ends the row.
    QCOMPARE(searchWidth, search->sizeHint().width());
    QCOMPARE(search->geometry().right(), window.width() - 1);
    // It grows and shrinks with the window; the search bar keeps its width.
    window.resize(1500, 700);
    QTRY_COMPARE(address->width(), addressWidth + 300);
    QCOMPARE(search->width(), searchWidth);
    window.resize(1100, 700);
    QTRY_COMPARE(address->width(), addressWidth - 100);

    // Widths the user set stay as they are.
    WindowFixture set("[Rebar]\r\n0=0,450\r\n1=1,300\r\n2=2,600\r\n");
    TSDIMainWindow& other = set.Open({{0, 0, 1200, 700}, kShowNormal, false});
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QCOMPARE(other.Rebar().Band(1)->width(), 300);
  }

  void HomeWithoutAnAddressOpensTheBlankPage() {
    WindowFixture fixture(PageSettings(""));
    TSDIMainWindow& window = fixture.Open();
    window.ExecuteCommand(3024);
    QCOMPARE(window.BrowsePage().Count(), 1);
    const TMyContainerClass* page = window.BrowsePage().GetContainer(0);
    QTRY_COMPARE(page->Page()->url(), QUrl("about:blank"));
  }

  void ThemeMergeCompletesTheThemeAndShowsItsTexts() {
    MergeFixture fixture("[Menu]\r\nNewTab=&Neu\r\n",
                         "[Menu]\r\nNewTab=&New\r\nWebBack=Zur\xC3\xBC"
                         "ck\r\n[Button]\r\nStopAll=Halt\r\n[ShortCutKey]\r\nNewTab=Ctrl+T\r\n");
    TSDIMainWindow& window = *fixture.window;
    window.ExecuteCommand(3150);
    // The translated caption stays; what the theme lacked shows at once; keys are not merged.
    QCOMPARE(ItemText(window, kMenuFile, 3002), QString("&Neu"));
    QCOMPARE(ItemText(window, kMenuDisplay, 3069), QString("Zur\u00FCck"));
    QCOMPARE(window.Rebar().ButtonOfCommand(3006)->toolTip(), QString("Halt"));
    QVERIFY(window.statusBar()->currentMessage().isEmpty());
  }

  void AMergeThatCannotBeDoneSaysWhyInTheStatusBar() {
    const std::string theme = "[Menu]\r\nNewTab=&Neu\r\n";
    MergeFixture missing(theme, "");
    missing.window->ExecuteCommand(3150);
    QVERIFY2(missing.window->statusBar()->currentMessage().startsWith("Theme Merge..: ") &&
                 missing.window->statusBar()->currentMessage().contains("program/Zelvora.txt"),
             qPrintable(missing.window->statusBar()->currentMessage()));

    // A full disk, as far as this process can tell: writes beyond a small size fail.
    MergeFixture full(theme, DefaultTheme());
    rlimit before{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    full.window->ExecuteCommand(3150);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    const QString message = full.window->statusBar()->currentMessage();
    QVERIFY2(message.startsWith("Theme Merge..: ") && message.size() > 15, qPrintable(message));
    QCOMPARE(ReadFile(full.paths.themeFile), theme);
    QCOMPARE(ItemText(*full.window, kMenuDisplay, 3069), QString("Go &Back"));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::FirstStartTest)
#include "FirstStartTest.moc"
