// In-page find and highlight, and the selection actions, over pages served on 127.0.0.1.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "PageScript.h"
#include "core/input/SelectEntry.h"
#include "core/shell/FileHistory.h"
#include "gui/browser/DocumentRequests.h"
#include "gui/input/FindCommands.h"
#include "gui/input/SearchDialog.h"
#include "gui/input/SelectionCommands.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/Rebar.h"

namespace zelvora {

namespace {

constexpr int kFindNext = 3027;
constexpr int kFindPrevious = 3028;

// Where the selection of the page starts in the text of element `id`, and what it holds:
// "offset:text", or "none".
QString SelectionAt(TMyContainerClass& page, const QString& id) {
  return RunPageScript(*page.Page(), QStringLiteral(R"(
      (() => {
        const s = getSelection();
        if (s.rangeCount === 0 || s.isCollapsed) return 'none';
        const r = document.createRange();
        r.setStart(document.getElementById('%1'), 0);
        r.setEnd(s.getRangeAt(0).startContainer, s.getRangeAt(0).startOffset);
        return r.toString().length + ':' + s.toString();
      })())")
                                         .arg(id));
}

// Selects characters start..end of element `id`'s text, as a user's drag would end.
void SelectAndRelease(TMyContainerClass& page, const QString& id, int start, int end) {
  RunPageScript(*page.Page(), QStringLiteral(R"(
      (() => {
        const text = document.getElementById('%1').firstChild;
        document.dispatchEvent(new MouseEvent('mousedown', {clientX: 1, clientY: 1}));
        document.dispatchEvent(new Event('selectstart'));
        const r = document.createRange();
        r.setStart(text, %2);
        r.setEnd(text, %3);
        getSelection().removeAllRanges();
        getSelection().addRange(r);
        document.dispatchEvent(new MouseEvent('mouseup'));
        return 1;
      })())")
                                  .arg(id)
                                  .arg(start)
                                  .arg(end));
}

// A press where the text `offset` of element `id` is, as the page reports it.
void PressAt(TMyContainerClass& page, const QString& id, int offset) {
  RunPageScript(*page.Page(), QStringLiteral(R"(
      (() => {
        getSelection().removeAllRanges();
        const r = document.createRange();
        r.setStart(document.getElementById('%1').firstChild, %2);
        const box = r.getClientRects()[0] || r.getBoundingClientRect();
        document.dispatchEvent(new MouseEvent('mousedown', {clientX: box.left + 1,
                                                            clientY: box.top + 2}));
        return 1;
      })())")
                                  .arg(id)
                                  .arg(offset));
}

int HighlightSpans(TMyContainerClass& page) {
  return RunPageScript(*page.Page(),
                       QStringLiteral("document.querySelectorAll('span#zelvora_c').length"))
      .toInt();
}

QString BodyMarkup(TMyContainerClass& page) {
  return RunPageScript(*page.Page(), QStringLiteral("document.body.innerHTML"));
}

void SetSearchText(TSDIMainWindow& window, const QString& text) {
  window.Rebar().SearchKeyBox()->setEditText(text);
}

// Presses the highlight button and waits until the page has answered.
void PressHighlight(TSDIMainWindow& window) {
  window.Rebar().HighlightButton()->click();
  QTRY_VERIFY_WITH_TIMEOUT(!window.FindCommands().Highlighting(), 10000);
}

}  // namespace

class FindAndSelectionTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QApplication::clipboard()->setText(QStringLiteral("before")); }

  // Find next steps over the match it selected, find previous goes back, a press in the page
  // starts the search where it was made, and whole words skip a word's inner part.
  void FindStepsOverMatchesAndStartsAtThePress() {
    LocalServer server;
    server.Page("/",
                "<body><p id='p'>cat one cat two cat three</p>"
                "<p id='w'>category concatenate cat</p></body>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached({page.Id(), ""}), 10000);
    SetSearchText(window, QStringLiteral("cat"));

    window.ExecuteCommand(kFindNext);
    QTRY_COMPARE(SelectionAt(page, "p"), QStringLiteral("0:cat"));
    window.ExecuteCommand(kFindNext);
    QTRY_COMPARE(SelectionAt(page, "p"), QStringLiteral("8:cat"));
    window.ExecuteCommand(kFindPrevious);
    QTRY_COMPARE(SelectionAt(page, "p"), QStringLiteral("0:cat"));

    PressAt(page, "p", 12);  // on "two"
    QTRY_COMPARE(SelectionAt(page, "p"), QStringLiteral("none"));
    window.ExecuteCommand(kFindNext);
    QTRY_COMPARE(SelectionAt(page, "p"), QStringLiteral("16:cat"));

    // The dialog's options: whole words find the last "cat" of the second paragraph only.
    window.FindCommands().OpenDialog(QStringLiteral("cat"));
    TSearchDialog* dialog = window.FindCommands().Dialog();
    QVERIFY(dialog != nullptr);
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
      if (box->text() == QLatin1String("&Whole Words Only"))
        box->setChecked(true);
    }
    PressAt(page, "w", 0);
    window.ExecuteCommand(kFindNext);
    QTRY_COMPARE(SelectionAt(page, "w"), QStringLiteral("21:cat"));
    QVERIFY(!dialog->StatusShown());
    window.ExecuteCommand(kFindNext);
    QTRY_VERIFY(dialog->StatusShown());
    QCOMPARE(SelectionAt(page, "w"), QStringLiteral("21:cat"));
    dialog->close();
  }

  // Highlighting wraps every match in a span of the highlight colour; pressing the button again
  // unwraps them and leaves the markup as it was; with an empty search text it only removes.
  void HighlightWrapsAndUnwrapsEveryMatch() {
    LocalServer server;
    server.Page("/", "<body><p id='p'>abab <b>x</b>ab</p></body>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached({page.Id(), ""}), 10000);
    const QString original = BodyMarkup(page);
    QToolButton* button = window.Rebar().HighlightButton();
    SetSearchText(window, QStringLiteral("AB"));

    PressHighlight(window);
    QTRY_COMPARE(HighlightSpans(page), 3);
    QVERIFY(button->isChecked());
    QCOMPARE(RunPageScript(*page.Page(),
                           "document.querySelector('span#zelvora_c').getAttribute('style')"),
             QStringLiteral("background-color: #FFFF00"));
    QCOMPARE(RunPageScript(*page.Page(), "document.getElementById('p').textContent"),
             QStringLiteral("abab xab"));

    PressHighlight(window);
    QTRY_COMPARE(HighlightSpans(page), 0);
    QVERIFY(!button->isChecked());
    QCOMPARE(BodyMarkup(page), original);
    QCOMPARE(RunPageScript(*page.Page(), "document.getElementById('p').childNodes.length"),
             QStringLiteral("3"));

    PressHighlight(window);
    QTRY_COMPARE(HighlightSpans(page), 3);
    button->setChecked(false);
    SetSearchText(window, QString());
    PressHighlight(window);
    QTRY_COMPARE(HighlightSpans(page), 0);
    QVERIFY(!button->isChecked());
    QCOMPARE(BodyMarkup(page), original);
  }

  // Search texts are text: metacharacters, quotes, markup and a text of ten thousand characters
  // find only themselves and never put markup into the page.
  void SearchTextsStayText() {
    LocalServer server;
    server.Page("/", "<body><p id='p'>a.*b \"q\" &lt;/span&gt;&lt;b&gt;x (1+1)</p></body>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached({page.Id(), ""}), 10000);
    const QString original = BodyMarkup(page);
    const QString invalid = QString::fromUtf8("\xFF\xFE\xC0");
    for (const QString& text :
         {QStringLiteral("</span><b>x"), QStringLiteral("\"q\""), QStringLiteral(".*"),
          QStringLiteral("(1+1)"), QString(10000, u'x'), invalid}) {
      SetSearchText(window, text);
      RunPageScript(*page.Page(), QStringLiteral("getSelection().removeAllRanges(); 1"));
      window.ExecuteCommand(kFindNext);
      if (text.size() < 20 && text != invalid)
        QTRY_COMPARE(SelectionAt(page, "p").section(u':', 1), text);
      PressHighlight(window);
      QCOMPARE(RunPageScript(*page.Page(), "document.querySelectorAll('b').length"),
               QStringLiteral("0"));
      if (HighlightSpans(page) > 0) {
        QCOMPARE(RunPageScript(*page.Page(),
                               "Array.from(document.querySelectorAll('span#zelvora_c'))"
                               ".map(s => s.textContent).join('')"),
                 text);
        PressHighlight(window);
      }
      QTRY_COMPARE(BodyMarkup(page), original);
    }
  }

  // Holding Shift stops a long highlighting where it is: what was done stays.
  void ShiftStopsHighlighting() {
    LocalServer server;
    QByteArray body = "<body><p id='p'>";
    for (int i = 0; i < 20000; ++i)
      body += "word match ";
    server.Page("/", body + "</p></body>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached({page.Id(), ""}), 10000);
    bool shift = false;
    window.FindCommands().shiftDown = [&shift] { return shift; };
    SetSearchText(window, QStringLiteral("match"));
    window.Rebar().HighlightButton()->click();
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("SHIFT Key Stopped"));
    QTest::qWait(60);
    shift = true;
    QTRY_VERIFY_WITH_TIMEOUT(!window.FindCommands().Highlighting(), 10000);
    QVERIFY(window.statusBar()->currentMessage().isEmpty());
    const int spans = HighlightSpans(page);
    QVERIFY2(spans > 0 && spans < 20000, qPrintable(QString::number(spans)));
    QVERIFY(window.Rebar().HighlightButton()->isChecked());
  }

  // A frame of another origin that has the focus is the one searched and highlighted.
  void TheFocusedFrameOfAnotherOriginIsSearched() {
    LocalServer top;
    LocalServer other;
    other.Page("/frame",
               "<body><p id='f'>inner needle</p><script>new MutationObserver(() => console.log("
               "'spans:' + document.querySelectorAll('span#zelvora_c').length)).observe("
               "document.body, {childList: true, subtree: true});</script></body>");
    top.Page("/", "<body><p id='p'>outer needle</p><iframe src='" + other.Url("/frame").toUtf8() +
                      "'></iframe></body>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = fixture.Load(top.Url("/"));
    const FrameRef frame{page.Id(), "0"};
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached(frame), 10000);
    QString spans;
    const auto bridge = page.Page()->consoleLine;
    page.Page()->consoleLine = [&spans, bridge](const QString& line) {
      if (line.startsWith(QLatin1String("spans:")))
        spans = line;
      bridge(line);
    };
    fixture.Strip().WebEvents().WindowFocus(frame);
    SetSearchText(window, QStringLiteral("needle"));

    window.ExecuteCommand(kFindNext);
    QString selected;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
          window.FindCommands().ReadSelection(false, false,
                                              [&selected](const QString& t) { selected = t; });
          QTest::qWait(50);
          return selected == QLatin1String("needle");
        }(),
        10000);
    QCOMPARE(SelectionAt(page, "p"), QStringLiteral("none"));

    PressHighlight(window);
    QTRY_COMPARE(spans, QStringLiteral("spans:1"));
    QCOMPARE(HighlightSpans(page), 0);
    QVERIFY(fixture.Strip().WebEvents().Entry(frame)->highlighted);
  }

  // The selection actions on the release of a selection: none does nothing, Copy copies the
  // selected text exactly, Edit && Url Open opens the edited text, and the select menu's Copy
  // becomes the action and copies.
  void SelectionActionsActOnTheReleasedSelection() {
    LocalServer server;
    server.Page("/", "<body><p id='p'> two words here</p></body>");
    server.Page("/search", "<title>Results</title><body>results</body>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached({page.Id(), ""}), 10000);
    QClipboard* clipboard = QApplication::clipboard();

    window.ExecuteCommand(3224);  // None
    window.ExecuteCommand(3230);  // before: None
    SelectAndRelease(page, "p", 1, 4);
    QTest::qWait(300);
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    QCOMPARE(fixture.Strip().Count(), 1);

    window.ExecuteCommand(3225);  // Copy
    SelectAndRelease(page, "p", 1, 5);
    QTRY_COMPARE(clipboard->text(), QStringLiteral("two "));

    const std::string list = (fixture.folder.path() + "/Select.txt").toStdString();
    QVERIFY(
        WriteSelectEntry(list, {"Search", server.Url("/search?q=").toStdString(), "", false, false})
            .ok);
    window.FileHistory(kFileSelect).SetCurrentFile(list);
    window.SelectionCommands().LoadEntry();
    window.ExecuteCommand(3228);  // Edit && Url Open
    SelectAndRelease(page, "p", 1, 10);
    QTRY_COMPARE(fixture.Strip().Count(), 2);
    TMyContainerClass& opened = *fixture.Strip().GetContainer(1);
    QTRY_COMPARE_WITH_TIMEOUT(opened.Page()->title(), QStringLiteral("Results"), 10000);
    QCOMPARE(QUrl::fromPercentEncoding(opened.Page()->url().query().toUtf8()),
             QStringLiteral("q=two words"));
    fixture.Strip().SetCurrentIndex(0);

    window.ExecuteCommand(3224);
    window.ExecuteCommand(3232);  // before: the select menu
    // The menu runs its own loop: a timer inside it picks "Copy".
    bool chosen = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&chosen, &poll] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr)
        return;
      poll.stop();
      for (QAction* action : menu->actions()) {
        if (action->data().toInt() == 3225)
          menu->setActiveAction(action);
      }
      QTest::keyClick(menu, Qt::Key_Return);
      chosen = true;
    });
    poll.start(20);
    SelectAndRelease(page, "p", 5, 10);
    QTRY_VERIFY_WITH_TIMEOUT(chosen, 10000);
    QTRY_COMPARE(clipboard->text(), QStringLiteral("words"));
    QCOMPARE(window.Settings().selectAction, 1);
    QVERIFY(window.Menus().Action(3225)->isChecked());
  }

  // The source of a selection: in a tab of its own as a text area (the markup as text), or
  // copied; with nothing selected the copy empties the clipboard.
  void SelectionSourceIsShownAsTextAndCopied() {
    LocalServer server;
    server.Page("/", "<body><p id='p'>plain <b>bold</b> end</p></body>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    TMyContainerClass& page = fixture.Load(server.Url("/"));
    QTRY_VERIFY_WITH_TIMEOUT(fixture.Strip().WebEvents().IsAttached({page.Id(), ""}), 10000);
    window.ExecuteCommand(3224);
    window.ExecuteCommand(3230);
    RunPageScript(*page.Page(),
                  "document.dispatchEvent(new MouseEvent('mousedown'));"
                  "getSelection().selectAllChildren(document.getElementById('p')); 1");

    window.ExecuteCommand(3011);
    QTRY_COMPARE(QApplication::clipboard()->text(), QStringLiteral("plain <b>bold</b> end"));
    window.ExecuteCommand(3010);
    QTRY_COMPARE(fixture.Strip().Count(), 2);
    TMyContainerClass& shown = *fixture.Strip().GetContainer(1);
    QTRY_COMPARE_WITH_TIMEOUT(
        RunPageScript(*shown.Page(), "document.getElementsByTagName('textarea')[0].value"),
        QStringLiteral("plain <b>bold</b> end"), 10000);
    QCOMPARE(shown.Page()->title(), QStringLiteral("ClipRange"));

    fixture.Strip().SetCurrentIndex(0);
    RunPageScript(*page.Page(),
                  "document.dispatchEvent(new MouseEvent('mousedown'));"
                  "getSelection().removeAllRanges(); 1");
    window.ExecuteCommand(3011);
    QTRY_VERIFY(QApplication::clipboard()->text().isEmpty());
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::FindAndSelectionTest)
#include "FindAndSelectionTest.moc"
