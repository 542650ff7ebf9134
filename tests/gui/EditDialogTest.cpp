#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "WindowFixture.h"
#include "core/shell/SafeFile.h"
#include "gui/shell/MainMenus.h"
#include "gui/tools/EditDialog.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeJobRunner.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

constexpr int kEditDialogCommand = 3106;
constexpr int kProxyPageCommand = 3082;

// One, a closed folder with one item, and Two; One is selected.
constexpr char kFavorites[] =
    "// Select=1 Pos=0,0\r\n1,Favorite\r\n\thttp://one.example/\tOne\r\n\t0,Folder\r\n"
    "\t\thttp://inner.example/\tInner\r\n\thttp://two.example/\tTwo\r\n";

struct EditFixture : WindowFixture {
  explicit EditFixture(const std::string& settings) : WindowFixture("") {
    const std::string file = folder.path().toStdString() + "/Favorites.dat";
    WriteFileAtomic(file, kFavorites);
    WriteFileAtomic(paths.settingsFile, "[FileFavorite]\r\n0=" + file + "\r\n" + settings);
    FlushProfile(paths.settingsFile);
  }

  // The window with the Favorite tree loaded and the dialog open.
  TEditDialog* OpenDialog() {
    Open();
    if (!QTest::qWaitFor([this] { return Model().ItemCount() == 5u; }) ||
        !QTest::qWaitFor([this] { return !window->ToolTaskRunning(); }))
      return nullptr;
    window->ExecuteCommand(kEditDialogCommand);
    return window->ToolTrees().EditDialog();
  }

  TTreeModel& Model() const { return window->ToolTrees().Model(kToolFavorite); }
  TTreeView& View() const { return window->ToolTrees().View(kToolFavorite); }
  // One, Folder, Two.
  TreeHandle Item(int row) const {
    return Model().Children(Model().FirstTopLevel())[static_cast<std::size_t>(row)];
  }
  std::string Name(int row) const { return Model().Name(Item(row)); }
  std::string Value(int row) const { return Model().Record(Item(row))->Value; }
  QAction* MenuItem() const { return window->Menus().Action(kEditDialogCommand); }
};

template <typename Control>
Control* Find(const TEditDialog* dialog, const char* name) {
  return dialog->findChild<Control*>(QLatin1String(name));
}

void Click(const TEditDialog* dialog, const char* button) {
  Find<QPushButton>(dialog, button)->click();
}

// Typing replaces the field's text, as the user does.
void Type(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClicks(field, text);
}

}  // namespace

class EditDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowsTheSelectedItemAndAppliesOnlyEditedFieldsByTheirRules() {
    EditFixture fixture("");
    TEditDialog* dialog = fixture.OpenDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(!fixture.MenuItem()->isEnabled());
    fixture.window->ExecuteCommand(kEditDialogCommand);
    QCOMPARE(fixture.window->ToolTrees().EditDialog(), dialog);
    auto* name = Find<QLineEdit>(dialog, "NameField");
    auto* value = Find<QLineEdit>(dialog, "ValueField");
    QCOMPARE(name->text(), QStringLiteral("One"));
    QCOMPARE(value->text(), QStringLiteral("http://one.example/"));

    // "&Name" keeps the name field; the value follows the caret (the keys move it here), and a
    // folder has no value to edit.
    Find<QCheckBox>(dialog, "KeepName")->setChecked(true);
    QTest::keyClick(&fixture.View(), Qt::Key_Down);
    QCOMPARE(fixture.Model().Caret(), fixture.Item(1));
    QCOMPARE(name->text(), QStringLiteral("One"));
    QCOMPARE(value->text(), QString());
    QVERIFY(!value->isEnabled());
    fixture.View().MarkOnly(fixture.Item(2));
    QCOMPARE(name->text(), QStringLiteral("One"));
    QCOMPARE(value->text(), QStringLiteral("http://two.example/"));
    QVERIFY(value->isEnabled());

    // Text that was not edited since the field was filled is not applied, whatever it shows.
    Click(dialog, "Apply");
    QCOMPARE(fixture.Name(2), std::string("Two"));
    QVERIFY(!fixture.Model().Items().Modified);

    // The name counts case, the value does not.
    Type(name, "two");
    Type(value, "HTTP://TWO.EXAMPLE/");
    Click(dialog, "Apply");
    QCOMPARE(fixture.Name(2), std::string("two"));
    QCOMPARE(fixture.Value(2), std::string("http://two.example/"));
    QVERIFY(fixture.Model().Items().Modified);

    // A field's own button applies that field alone; an empty name is refused; "<Reload>" and F5
    // fill the field from the item again.
    Type(name, "Zwei");
    Type(value, "http://zwei.example/");
    Click(dialog, "ApplyValue");
    QCOMPARE(fixture.Value(2), std::string("http://zwei.example/"));
    QCOMPARE(fixture.Name(2), std::string("two"));
    Type(name, "");
    Click(dialog, "ApplyName");
    QCOMPARE(fixture.Name(2), std::string("two"));
    Click(dialog, "ReloadName");
    QCOMPARE(name->text(), QStringLiteral("two"));
    Type(value, "http://drei.example/");
    QTest::keyClick(value, Qt::Key_F5);
    QCOMPARE(value->text(), QStringLiteral("http://zwei.example/"));

    // OK applies both and closes.
    Type(name, "Final");
    Click(dialog, "OK");
    QCOMPARE(fixture.Name(2), std::string("Final"));
    QTRY_VERIFY(fixture.window->ToolTrees().EditDialog() == nullptr);
    QVERIFY(fixture.MenuItem()->isEnabled());
  }

  void EnterMovesDownAndChangeNextHandsTheEditsOn() {
    EditFixture fixture("");
    TEditDialog* dialog = fixture.OpenDialog();
    QVERIFY(dialog != nullptr);
    auto* name = Find<QLineEdit>(dialog, "NameField");
    auto* value = Find<QLineEdit>(dialog, "ValueField");

    // Enter applies, then the caret goes one item down: past the closed folder's item.
    Type(name, "First");
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(fixture.Name(0), std::string("First"));
    QCOMPARE(fixture.Model().Caret(), fixture.Item(1));
    QCOMPARE(name->text(), QStringLiteral("Folder"));
    QTest::keyClick(name, Qt::Key_Enter);
    QCOMPARE(fixture.Model().Caret(), fixture.Item(2));
    QCOMPARE(fixture.Model().MarkedItems(), std::vector<TreeHandle>{fixture.Item(2)});
    QCOMPARE(fixture.View().currentIndex(), fixture.View().Adapter()->IndexOf(fixture.Item(2)));
    Type(name, "Held");
    QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(fixture.Name(2), std::string("Two"));
    QCOMPARE(fixture.Model().Caret(), fixture.Item(2));

    // With "Chang&e Next" the pending edit goes to the item selected next, not to the one shown.
    Find<QCheckBox>(dialog, "ChangeNext")->setChecked(true);
    fixture.View().MarkOnly(fixture.Item(0));
    QCOMPARE(fixture.Name(0), std::string("Held"));
    QCOMPARE(fixture.Name(2), std::string("Two"));

    // Switching trees hands the pending edits to the item shown before.
    Type(value, "http://changed.example/");
    fixture.window->ExecuteCommand(kProxyPageCommand);
    QCOMPARE(fixture.Value(0), std::string("http://changed.example/"));
    QCOMPARE(Find<QCheckBox>(dialog, "KeepValue")->text(), QStringLiteral("&Proxy"));
    QCOMPARE(name->text(), QStringLiteral("Proxy"));
  }

  void NothingIsAppliedWhileAJobRunsAndTheSettingsComeAndGo() {
    EditFixture fixture("[EditDialog]\r\nChangeNext=1\r\nName=1\r\nUrl=0\r\nw=520\r\n");
    TEditDialog* dialog = fixture.OpenDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(Find<QCheckBox>(dialog, "ChangeNext")->isChecked());
    QVERIFY(Find<QCheckBox>(dialog, "KeepName")->isChecked());
    QVERIFY(!Find<QCheckBox>(dialog, "KeepValue")->isChecked());
    QCOMPARE(dialog->width(), 520);

    auto* name = Find<QLineEdit>(dialog, "NameField");
    Type(name, "Busy");
    std::atomic<bool> release{false};
    QVERIFY(fixture.window->ToolTrees().RunTreeJob([&release](TJobState&) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!release && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }));
    Click(dialog, "Apply");
    QTest::keyClick(name, Qt::Key_Return);
    release = true;
    QTRY_VERIFY(!fixture.window->ToolTaskRunning());
    QCOMPARE(fixture.Name(0), std::string("One"));
    QCOMPARE(fixture.Model().Caret(), fixture.Item(0));
    // The edit is still pending and goes once the job has ended.
    Click(dialog, "Apply");
    QCOMPARE(fixture.Name(0), std::string("Busy"));

    Find<QCheckBox>(dialog, "ChangeNext")->setChecked(false);
    Find<QCheckBox>(dialog, "KeepValue")->setChecked(true);
    dialog->resize(610, dialog->height());
    dialog->move(140, 90);
    const int x = dialog->x();
    const int y = dialog->y();
    Click(dialog, "Cancel");
    QTRY_VERIFY(fixture.window->ToolTrees().EditDialog() == nullptr);
    QCOMPARE(fixture.Key("EditDialog", "ChangeNext"), std::string("0"));
    QCOMPARE(fixture.Key("EditDialog", "Name"), std::string("1"));
    QCOMPARE(fixture.Key("EditDialog", "Url"), std::string("1"));
    QCOMPARE(fixture.Key("EditDialog", "w"), std::string("610"));
    QCOMPARE(fixture.Key("EditDialog", "x"), std::to_string(x));
    QCOMPARE(fixture.Key("EditDialog", "y"), std::to_string(y));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::EditDialogTest)
#include "EditDialogTest.moc"
