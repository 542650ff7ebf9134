#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "WindowFixture.h"
#include "core/shell/SafeFile.h"
#include "gui/input/ThemeCellDelegate.h"
#include "gui/input/ThemeEditor.h"
#include "gui/input/ThemeGridView.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/TabStripArea.h"

namespace zelvora {

namespace {

constexpr int kTextColumn = 0;
constexpr int kKeyColumn = 1;
constexpr int kGestureColumn = 2;

// A key as the window system delivers it to the focused field.
void SendKey(QWidget* widget, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent event(type, key, modifiers);
  QApplication::sendEvent(widget, &event);
}

int RowOf(const TThemeEditor& editor, const QString& key) {
  QAbstractItemModel* model = editor.Grid().model();
  const int keyColumn = model->columnCount() - 1;
  for (int row = 0; row < model->rowCount(); ++row) {
    if (model->index(row, keyColumn).data().toString() == key)
      return row;
  }
  return -1;
}

// Opens the cell's edit box with Enter, as a user at the keyboard does.
QLineEdit* OpenCell(TThemeEditor& editor, int row, int column) {
  TThemeGridView& grid = editor.Grid();
  grid.setFocus();
  grid.setCurrentIndex(grid.model()->index(row, column));
  QTest::keyClick(&grid, Qt::Key_Return);
  return editor.CellDelegate().EditBox();
}

QString CellText(const TThemeEditor& editor, int row, int column) {
  return editor.Grid().model()->index(row, column).data().toString();
}

QAction* MenuItem(const TSDIMainWindow& window, int id) {
  for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && action->menu() == nullptr && action->data().toInt() == id)
        return action;
    }
  }
  return nullptr;
}

// An editor beside a shown main window.
struct EditorFixture : WindowFixture {
  TThemeEditor* editor = nullptr;
  std::unique_ptr<TThemeEditor> owner;
  QStringList edited;

  explicit EditorFixture(const std::string& theme) : WindowFixture("", theme) {
    Open({{0, 0, 640, 480}, kShowNormal, false});
    owner = std::make_unique<TThemeEditor>(*window, nullptr);
    editor = owner.get();
    editor->resize(720, 520);
    editor->show();
  }

  void Offer(const QString& openPath, const QString& writePath) {
    editor->SetFileDialogs({[openPath](QWidget*, const QString&) { return openPath; },
                            [writePath](QWidget*, const QString&) { return writePath; },
                            [this](const QString& path) { edited << path; }});
  }
};

}  // namespace

class ThemeEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void KeysPressedInTheKeyColumnBecomeABindingThatWorksOnceDefined() {
    EditorFixture fixture("[ShortCutKey]\r\nWebBack=Alt+Left\r\n");
    TThemeEditor& editor = *fixture.editor;
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.ShowPage(ThemePage::kMenu);
    const int row = RowOf(editor, "NewTab");
    QVERIFY(row >= 0);
    QLineEdit* edit = OpenCell(editor, row, kKeyColumn);
    QVERIFY(edit != nullptr);
    SendKey(edit, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString("Ctrl+"));
    SendKey(edit, QEvent::KeyPress, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    SendKey(edit, QEvent::KeyPress, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(edit->text(), QString("Ctrl+Shift+T"));
    SendKey(edit, QEvent::KeyRelease, Qt::Key_Shift, Qt::ControlModifier);
    SendKey(edit, QEvent::KeyPress, Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString("Ctrl+U"));
    SendKey(edit, QEvent::KeyRelease, Qt::Key_U, Qt::ControlModifier);
    SendKey(edit, QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    SendKey(edit, QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCOMPARE(edit->text(), QString("Alt+U"));
    // A typed character never reaches the box: its key is named instead.
    SendKey(edit, QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QTest::keyClicks(edit, "x");
    QCOMPARE(edit->text(), QString("X"));
    SendKey(edit, QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCOMPARE(edit->text(), QString("Alt+X"));
    SendKey(edit, QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    SendKey(edit, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QTRY_VERIFY(editor.CellDelegate().EditBox() == nullptr);
    QCOMPARE(CellText(editor, row, kKeyColumn), QString("Alt+X"));

    // A box closed with Escape keeps the cell as it was.
    edit = OpenCell(editor, RowOf(editor, "WebBack"), kKeyColumn);
    QVERIFY(edit != nullptr);
    SendKey(edit, QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCOMPARE(edit->text(), QString());
    SendKey(edit, QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QTRY_VERIFY(editor.CellDelegate().EditBox() == nullptr);
    QCOMPARE(CellText(editor, RowOf(editor, "WebBack"), kKeyColumn), QString("Alt+Left"));

    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kDefine), Qt::LeftButton);
    TSDIMainWindow& window = *fixture.window;
    QVERIFY(window.isEnabled());
    QList<int> ids;
    connect(&window, &TSDIMainWindow::CommandRequested, this, [&ids](int id) {
      if (id == 3002 || id == 3069)
        ids << id;
    });
    auto* field = new QLineEdit(&window.TabStripArea());
    field->show();
    QTest::keyClick(field, Qt::Key_X, Qt::AltModifier);
    QTest::keyClick(field, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(ids, (QList<int>{3002, 3069}));
    QVERIFY(MenuItem(window, 3002) != nullptr);
    QVERIFY(MenuItem(window, 3002)->text().endsWith("\tAlt+X"));
    QCOMPARE(fixture.Key("Zelvora", "ThemeFile"), fixture.paths.themeFile);
  }

  void CaptionsAndGesturesDefinedShowInTheRunningWindow() {
    EditorFixture fixture("[Mouse]\r\nGestureEnable=0\r\n");
    TThemeEditor& editor = *fixture.editor;
    TSDIMainWindow& window = *fixture.window;
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    window.MutableSettings().selectAction = 2;
    window.RefreshMenus();
    editor.ShowPage(ThemePage::kMenu);
    const int row = RowOf(editor, "WebOpen");
    QLineEdit* edit = OpenCell(editor, row, kTextColumn);
    QVERIFY(edit != nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "  Adresse\\s&eingeben\\tF6 ");
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(editor.CellDelegate().EditBox() == nullptr);
    QCOMPARE(CellText(editor, row, kTextColumn), QString("Adresse\\s&eingeben\\tF6"));

    // The gesture cell opens on a second click; its buttons and arrow keys write labels.
    TThemeGridView& grid = editor.Grid();
    const QModelIndex gesture = grid.model()->index(row, kGestureColumn);
    grid.setCurrentIndex(gesture);
    grid.scrollTo(gesture);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(gesture).center());
    QTRY_VERIFY(editor.CellDelegate().EditBox() != nullptr);
    edit = editor.CellDelegate().EditBox();
    QWidget* box = edit->parentWidget();
    const auto click = [box](Qt::Key key) {
      auto* button = box->findChild<QToolButton*>(QStringLiteral("GestureKey%1").arg(int(key)));
      QVERIFY(button != nullptr);
      QTest::mouseClick(button, Qt::LeftButton);
    };
    click(Qt::Key_Down);
    click(Qt::Key_Right);
    click(Qt::Key_Up);
    click(Qt::Key_Backspace);
    QTRY_COMPARE(edit->text(), QString("DR"));
    SendKey(edit, QEvent::KeyPress, Qt::Key_L, Qt::NoModifier);
    SendKey(edit, QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCOMPARE(edit->text(), QString("DRL"));
    SendKey(edit, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QTRY_VERIFY(editor.CellDelegate().EditBox() == nullptr);

    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kDefine), Qt::LeftButton);
    QAction* open = MenuItem(window, 3004);
    QVERIFY(open != nullptr);
    QCOMPARE(open->text(), QString("Adresse &eingeben\tF6"));
    // The menus were rebuilt with the window's choices still ticked.
    QVERIFY(MenuItem(window, kSelectNoneId + 2)->isChecked());
    QVERIFY(!window.Gestures().Enabled());

    editor.ShowPage(ThemePage::kMouse);
    auto* enable = editor.findChild<QCheckBox*>();
    QVERIFY(enable != nullptr && !enable->isChecked());
    enable->setChecked(true);
    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kDefine), Qt::LeftButton);
    QVERIFY(window.Gestures().Enabled());
    const auto& bindings = *window.Gestures().State().bindings;
    QVERIFY(std::any_of(bindings.begin(), bindings.end(), [](const TMouseGestureRec& binding) {
      return binding.command == 3004 && binding.gesture == "DRL";
    }));
  }

  void HugeOrBrokenThemesOpenAndKeepWhatTheGridCannotShow() {
    EditorFixture fixture("");
    TThemeEditor& editor = *fixture.editor;
    const std::string folder = fixture.folder.path().toStdString();
    const std::string big = folder + "/Big.txt";
    std::string text = "[Menu]\r\n";
    for (int key = 0; key < 10000; ++key)
      text += "Extra" + std::to_string(key) + "=Value " + std::to_string(key) + "\r\n";
    const std::string huge(1 << 20, 'w');
    text += "WebOpen=" + huge + "\r\nWebBack=\xFF\xFE\xC3\r\n[ControlLabel]\r\nNone=\x80\x81\r\n";
    text += "[Message]\r\n4=" + huge + "\r\n[Mouse]\r\nGestureSensitivity=99999\r\n";
    std::ofstream(big, std::ios::binary) << text;
    FlushProfile(big);

    // A theme path that names no file: only the buttons that make or choose one work.
    fixture.Offer(QString::fromStdString(folder + "/Missing.txt"), {});
    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kOpen), Qt::LeftButton);
    QVERIFY(!editor.ButtonOf(TThemeEditor::kDefine)->isEnabled());
    QVERIFY(!editor.ButtonOf(TThemeEditor::kEdit)->isEnabled());
    QVERIFY(editor.ButtonOf(TThemeEditor::kWriteAs)->isEnabled());

    const std::string copy = folder + "/Copy.txt";
    fixture.Offer(QString::fromStdString(big), QString::fromStdString(copy));
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kOpen), Qt::LeftButton);
    for (std::size_t page = 0; page < kThemePageCount; ++page)
      editor.ShowPage(static_cast<ThemePage>(page));
    qInfo("opened and showed every page in %lld ms", static_cast<long long>(timer.elapsed()));
    QVERIFY(editor.ButtonOf(TThemeEditor::kDefine)->isEnabled());

    editor.ShowPage(ThemePage::kMenu);
    const int open = RowOf(editor, "WebOpen");
    QCOMPARE(CellText(editor, open, kTextColumn).size(), static_cast<int>(kProfileStringMax));
    QVERIFY(!CellText(editor, RowOf(editor, "WebBack"), kTextColumn).isEmpty());
    // Opening and closing the broken value's cell changes nothing.
    QLineEdit* edit = OpenCell(editor, RowOf(editor, "WebBack"), kTextColumn);
    QVERIFY(edit != nullptr);
    SendKey(edit, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    edit = OpenCell(editor, RowOf(editor, "NewTab"), kTextColumn);
    QVERIFY(edit != nullptr);
    edit->setText("Neu");
    SendKey(edit, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kDefine), Qt::LeftButton);
    const std::string written = ReadWholeFile(big).value_or("");
    QVERIFY(written.find("WebOpen=" + huge + "\r\n") != std::string::npos);
    QVERIFY(written.find("WebBack=\xFF\xFE\xC3\r\n") != std::string::npos);
    QVERIFY(written.find("NewTab=Neu\r\n") != std::string::npos);
    QVERIFY(written.find("Extra9999=Value 9999\r\n") != std::string::npos);
    QCOMPARE(QString::fromStdString(fixture.window->CaptionOfCommand(3002)), QString("Neu"));

    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kWriteAs), Qt::LeftButton);
    QCOMPARE(editor.ThemeFile(), copy);
    QCOMPARE(ReadProfileString(copy, "Menu", "NewTab", ""), std::string("Neu"));
    QCOMPARE(ReadProfileInt(copy, "Mouse", "GestureSensitivity", 0), 255);
    QTest::mouseClick(editor.ButtonOf(TThemeEditor::kEdit), Qt::LeftButton);
    QCOMPARE(fixture.edited, QStringList{QString::fromStdString(copy)});
  }

  void GridMovesByPagesAndCopiesPastesAndDeletesBlocks() {
    EditorFixture fixture("[Menu]\r\nCFGListViewPaste=Ein&f\\x81gen\r\n");
    TThemeEditor& editor = *fixture.editor;
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.ShowPage(ThemePage::kMenu);
    TThemeGridView& grid = editor.Grid();
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(3, kKeyColumn));
    QTest::keyClick(&grid, Qt::Key_PageDown);
    QCOMPARE(grid.currentIndex().row(), 23);
    QTest::keyClick(&grid, Qt::Key_PageUp);
    QTest::keyClick(&grid, Qt::Key_PageUp);
    QCOMPARE(grid.currentIndex().row(), 0);
    // The key name column is read-only: F2 opens nothing there.
    grid.setCurrentIndex(grid.model()->index(0, grid.model()->columnCount() - 1));
    QTest::keyClick(&grid, Qt::Key_F2);
    QVERIFY(editor.CellDelegate().EditBox() == nullptr);

    // Copy a block of two rows by three values, paste it two rows down, delete the source.
    const int webBack = RowOf(editor, "WebBack");
    QAbstractItemModel* model = grid.model();
    model->setData(model->index(webBack, kKeyColumn), "Alt+Left");
    model->setData(model->index(webBack + 1, kGestureColumn), "RL");
    grid.setCurrentIndex(model->index(webBack, kTextColumn));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      grid.visualRect(model->index(webBack + 1, kGestureColumn)).center());
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 6);
    QStringList captions;
    QTimer::singleShot(0, this, [&captions] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr)
        return;
      for (QAction* action : menu->actions())
        captions << action->text();
      menu->actions().front()->trigger();
      menu->close();
    });
    const QPoint at = grid.visualRect(model->index(webBack, kTextColumn)).center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &menuEvent);
    QCOMPARE(captions,
             (QStringList{"&Copy", "Cu&t", "Ein&f\\x81gen", "&Delete", "", "&All Select"}));
    const QString block = QApplication::clipboard()->text();
    QCOMPARE(block.count('\n'), 2);
    QVERIFY(block.contains("Alt+Left"));

    grid.RunMenuCommand(3170);
    QCOMPARE(CellText(editor, webBack, kKeyColumn), QString());
    grid.setCurrentIndex(model->index(webBack + 2, kTextColumn));
    grid.RunMenuCommand(3168);
    QCOMPARE(CellText(editor, webBack + 2, kKeyColumn), QString("Alt+Left"));
    QCOMPARE(CellText(editor, webBack + 3, kGestureColumn), QString("RL"));
    grid.RunMenuCommand(3171);
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(),
             model->rowCount() * model->columnCount());
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::ThemeEditorTest)
#include "ThemeEditorTest.moc"
