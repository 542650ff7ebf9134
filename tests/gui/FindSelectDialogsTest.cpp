#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QToolButton>
#include <QtTest>
#include <fstream>

#include "WindowFixture.h"
#include "core/input/SelectEntry.h"
#include "core/shell/SafeFile.h"
#include "gui/input/SearchDialog.h"
#include "gui/input/SelectDialog.h"
#include "gui/shell/MainMenus.h"

namespace zelvora {

// The find dialog and the select dialog over a main window of their own.
class FindSelectDialogsTest : public QObject {
  Q_OBJECT

 private:
  template <typename Widget>
  static Widget* Child(QWidget* dialog, const char* name) {
    auto* widget = dialog->findChild<Widget*>(QLatin1String(name));
    if (widget == nullptr)
      qFatal("no control %s", name);
    return widget;
  }

  // Types into a field and presses Enter, as the user does: the keys go to the control that has
  // the focus (an editable combo box, not its edit field).
  static void TypeAndEnter(QWidget* field, const QString& text) {
    field->setFocus();
    if (auto* combo = qobject_cast<QComboBox*>(field))
      combo->lineEdit()->selectAll();
    else
      static_cast<QLineEdit*>(field)->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
  }

  static std::string FileText(const std::string& path) {
    return ReadWholeFile(path).value_or("<missing>");
  }

 private slots:
  void FindDialogSearchesKeepsItsListAndRemembers() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    QAction* webSearch = window.Menus().Action(3026);
    QVERIFY(webSearch != nullptr && !webSearch->isEnabled());  // no page to search yet
    window.ExecuteCommand(3002);
    window.RefreshMenus();
    QVERIFY(webSearch->isEnabled());

    QPointer<TSearchDialog> dialog = new TSearchDialog(window);
    dialog->show();
    // Active, so that the mnemonics of its captions are live.
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QVERIFY(!webSearch->isEnabled());
    // Never closed before: forward, nothing else checked, near the main window.
    QVERIFY(Child<QRadioButton>(dialog, "Forward")->isChecked());
    QVERIFY(!dialog->Options().backward && !dialog->Options().wholeWords);
    QCOMPARE(dialog->pos(), window.pos() + QPoint(50, 50));

    QSignalSpy searches(dialog.data(), &TSearchDialog::SearchRequested);
    QComboBox* box = Child<QComboBox>(dialog, "KeyWord");
    TypeAndEnter(box, "first");
    QCOMPARE(searches.count(), 1);
    QCOMPARE(dialog->Options().text, QString("first"));
    dialog->TakeTextIntoList();
    // Alt+F searches, though "&Forward" marks the same letter; the box takes no "f".
    dialog->SetBackward(true);
    QTest::keyClick(box, Qt::Key_F, Qt::AltModifier);
    QCOMPARE(searches.count(), 2);
    QCOMPARE(box->currentText(), QString("first"));
    QVERIFY(dialog->Options().backward);
    Child<QPushButton>(dialog, "NextSearch")->click();
    QCOMPARE(searches.count(), 3);
    TypeAndEnter(box, "second");
    dialog->TakeTextIntoList();

    // A press beside the controls (here on a label) drags the window; one on a control does not.
    QWidget* surface = dialog->findChild<QLabel*>();
    const QPoint start = surface->rect().center();
    const QPoint before = dialog->pos();
    QTest::mousePress(surface, Qt::LeftButton, {}, start);
    QTest::mouseMove(surface, start + QPoint(30, 20));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, start + QPoint(30, 20));
    QCOMPARE(dialog->pos(), before + QPoint(30, 20));
    QCheckBox* wholeWords = Child<QCheckBox>(dialog, "WholeWordsOnly");
    QTest::mousePress(wholeWords, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseMove(wholeWords, QPoint(40, 30));
    QTest::mouseRelease(wholeWords, Qt::LeftButton, {}, QPoint(40, 30));
    QCOMPARE(dialog->pos(), before + QPoint(30, 20));
    QVERIFY(!wholeWords->isChecked());  // released away from the box

    wholeWords->setChecked(true);
    dialog->move(130, 140);
    QTest::keyClick(box, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(webSearch->isEnabled());
    QCOMPARE(FileText(fixture.paths.perUserFolder + "/SearchKey.txt"),
             std::string("second\r\nfirst\r\n"));

    dialog = new TSearchDialog(window);
    dialog->show();
    QCOMPARE(dialog->pos(), QPoint(130, 140));
    QVERIFY(Child<QRadioButton>(dialog, "Backward")->isChecked());
    QVERIFY(dialog->Options().backward && dialog->Options().wholeWords);
    QVERIFY(!dialog->Options().matchCase);
    box = Child<QComboBox>(dialog, "KeyWord");
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(0), QString("second"));
    Child<QToolButton>(dialog, "Cross")->click();
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(fixture.Key("SearchDialog", "SearchForard"), "0");
  }

  void SelectDialogAppliesReloadsAndRemembers() {
    QTemporaryDir lists;
    const std::string listFile = lists.path().toStdString() + "/Select.txt";
    std::ofstream(listFile, std::ios::binary)
        << "[.]\r\nSelect=Two\r\n[One]\r\nFront=1\r\n"
           "[Two]\r\nFront=http://s/?q=\r\nBack=&x\r\nRegExp=1\r\n";
    WindowFixture fixture("[FileSelect]\r\n0=" + listFile + "\r\n");
    TSDIMainWindow& window = fixture.Open();
    SelectEntry current = ReadCurrentSelectEntry(listFile);

    QPointer<TSelectDialog> dialog = new TSelectDialog(window, current);
    dialog->show();
    QComboBox* entries = Child<QComboBox>(dialog, "Entries");
    QLineEdit* front = Child<QLineEdit>(dialog, "Front");
    QCOMPARE(entries->count(), 2);
    QCOMPARE(entries->currentText(), QString("Two"));
    QCOMPARE(front->text(), QString("http://s/?q="));
    QVERIFY(Child<QCheckBox>(dialog, "RegExp")->isChecked());

    front->setText("F");
    Child<QCheckBox>(dialog, "Source")->setChecked(true);
    Child<QPushButton>(dialog, "Apply")->click();
    QCOMPARE(current.name, "Two");
    QCOMPARE(current.front, "F");
    QVERIFY(current.source && current.regExp);
    FlushProfile(listFile);
    const SelectEntry written = ReadSelectEntry(listFile, "Two");
    QCOMPARE(written.front, "F");
    QCOMPARE(written.back, "&x");
    QVERIFY(written.source);
    front->setText("changed");
    Child<QPushButton>(dialog, "Reload")->click();
    QCOMPARE(front->text(), QString("F"));

    // Choosing an entry makes it current and shows it.
    entries->setCurrentIndex(0);
    emit entries->activated(0);
    QCOMPARE(current.name, "One");
    QCOMPARE(front->text(), QString("1"));
    QVERIFY(!Child<QCheckBox>(dialog, "Source")->isChecked());

    dialog->ShowAction(3);
    QCOMPARE(Child<QPushButton>(dialog, "Action")->text(), QString("Edit && Copy"));
    QSignalSpy performs(dialog.data(), &TSelectDialog::PerformRequested);
    QSignalSpy steps(dialog.data(), &TSelectDialog::StepRequested);
    TypeAndEnter(Child<QLineEdit>(dialog, "Text"), "words");
    QCOMPARE(performs.count(), 1);
    QCOMPARE(performs[0][0].toString(), QString("words"));
    Child<QToolButton>(dialog, "Step")->click();
    QCOMPARE(steps.count(), 1);

    Child<QToolButton>(dialog, "Single")->click();
    QVERIFY(!front->isVisible());
    Child<QSplitter>(dialog, "")->setSizes({160, 200});
    dialog->resize(560, dialog->height());
    dialog->move(70, 80);
    const int textWidth = Child<QLineEdit>(dialog, "Text")->width();
    QTest::keyClick(entries->lineEdit(), Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(dialog.isNull());
    FlushProfile(listFile);
    QCOMPARE(ReadCurrentSelectEntry(listFile).name, "One");

    dialog = new TSelectDialog(window, current);
    dialog->show();
    QVERIFY(!Child<QLineEdit>(dialog, "Back")->isVisible());
    QCOMPARE(dialog->pos(), QPoint(70, 80));
    QCOMPARE(dialog->width(), 560);
    QCOMPARE(Child<QLineEdit>(dialog, "Text")->width(), textWidth);
    QCOMPARE(fixture.Key("SelectDialog", "EditWidth"), std::to_string(textWidth));
    dialog->close();
  }

  void NewEntryWithoutAListAsksForTheFile() {
    WindowFixture fixture("");
    TSDIMainWindow& window = fixture.Open();
    SelectEntry current;
    const QString folder = fixture.folder.path();
    QString answer;
    int asked = 0;
    TSelectDialog::SetListFileAsker([&](QWidget*, const QString&) {
      ++asked;
      return answer;
    });
    QPointer<TSelectDialog> dialog = new TSelectDialog(window, current);
    dialog->show();
    dialog->SetText("picked");
    QSignalSpy performs(dialog.data(), &TSelectDialog::PerformRequested);
    QComboBox* name = Child<QComboBox>(dialog, "Entries");

    TypeAndEnter(name, "Web");  // the user gives up
    QCOMPARE(asked, 1);
    QCOMPARE(performs.count(), 0);
    QVERIFY(window.FileHistory(kFileSelect).CurrentFile().empty());

    answer = folder + "/Mine";
    TypeAndEnter(name, "Web");
    QCOMPARE(asked, 2);
    QCOMPARE(performs.count(), 1);
    QCOMPARE(performs[0][0].toString(), QString("picked"));
    const std::string file = (folder + "/Mine.txt").toStdString();
    QCOMPARE(window.FileHistory(kFileSelect).CurrentFile(), file);
    QCOMPARE(window.FileHistory(kFileSelect).Entry(1), file);
    FlushProfile(file);
    QCOMPARE(FileText(file), std::string("[.]\r\nSelect=\r\n[Web]\r\nFront=\r\nBack=\r\n"
                                         "RegExp=0\r\nSource=0\r\n"));
    // The entry exists now: Enter and the small button only perform.
    TypeAndEnter(name, "Web");
    Child<QToolButton>(dialog, "EnterEntry")->click();
    QCOMPARE(asked, 2);
    QCOMPARE(performs.count(), 3);
    QCOMPARE(Child<QComboBox>(dialog, "Entries")->count(), 1);
    TSelectDialog::SetListFileAsker({});
    dialog->close();
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::FindSelectDialogsTest)
#include "FindSelectDialogsTest.moc"
