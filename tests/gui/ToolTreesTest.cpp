#include <QApplication>
#include <QPushButton>
#include <QtTest>

#include "WindowFixture.h"
#include "core/shell/SafeFile.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/ConfirmModifiedDialog.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

constexpr char kFavorites[] =
    "// Select=2 Pos=0,0\r\n1,Favorite\r\n\tabout:blank\tOne\r\n\tabout:blank\tTwo\r\n";

// A window whose Favorite tree is the file above, loaded by the start-up job.
struct FavoritesFixture : WindowFixture {
  std::string file;

  explicit FavoritesFixture(const std::string& config) : WindowFixture("") {
    file = folder.path().toStdString() + "/Favorites.dat";
    WriteFileAtomic(file, kFavorites);
    WriteFileAtomic(paths.settingsFile,
                    "[FileFavorite]\r\n0=" + file + "\r\n[ConfigDialog]\r\n" + config);
    FlushProfile(paths.settingsFile);
  }
  TTreeModel& Favorites() const { return window->ToolTrees().Model(kToolFavorite); }
  TreeHandle Item(int row) const {
    return Favorites().Children(Favorites().FirstTopLevel())[static_cast<std::size_t>(row)];
  }
  // Renames an item as the in-place editor does.
  void Rename(int row, const char* name) const {
    TTreeItemModel& adapter = *window->ToolTrees().View(kToolFavorite).Adapter();
    QVERIFY(adapter.setData(adapter.IndexOf(Item(row)), QString::fromLatin1(name), Qt::EditRole));
  }
  std::string File() const { return ReadWholeFile(file).value_or("(missing)"); }
};

// Presses a button of the confirm dialog once it is shown (it runs its own event loop).
void AnswerConfirmDialog(const char* button) {
  QTimer::singleShot(100, [button] {
    auto* dialog = qobject_cast<TConfirmModifiedDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    dialog->findChild<QPushButton*>(QLatin1String(button))->click();
  });
}

}  // namespace

class ToolTreesTest : public QObject {
  Q_OBJECT

 private slots:
  void TheStartUpJobLoadsTheFavoritesWithTheHeadersItemSelected() {
    FavoritesFixture fixture("ModifiedFavorite=1\r\n");
    TSDIMainWindow& window = fixture.Open();
    QTRY_COMPARE(fixture.Favorites().ItemCount(), 3u);
    QTRY_VERIFY(!window.ToolTaskRunning());
    TTreeView& view = window.ToolTrees().View(kToolFavorite);
    QCOMPARE(fixture.Favorites().Caret(), fixture.Item(1));
    QCOMPARE(fixture.Favorites().MarkedItems(), std::vector<TreeHandle>{fixture.Item(1)});
    QCOMPARE(view.currentIndex(), view.Adapter()->IndexOf(fixture.Item(1)));
    QVERIFY(view.isExpanded(view.Adapter()->IndexOf(fixture.Favorites().FirstTopLevel())));

    // Closing with a changed tree asks first: Cancel keeps the window, Write writes and closes.
    fixture.Rename(0, "Renamed");
    AnswerConfirmDialog("Cancel");
    window.close();
    QTest::qWait(400);
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.File(), std::string(kFavorites));
    AnswerConfirmDialog("Write");
    window.close();
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(
        fixture.File(),
        "// Select=2 Pos=0,0\r\n1,Favorite\r\n\tabout:blank\tRenamed\r\n\tabout:blank\tTwo\r\n");
  }

  void FileCommandsWriteRestoreAndStartAnew() {
    FavoritesFixture fixture("ModifiedFavorite=0\r\n");
    TSDIMainWindow& window = fixture.Open();
    QTRY_COMPARE(fixture.Favorites().ItemCount(), 3u);
    QTRY_VERIFY(!window.ToolTaskRunning());
    fixture.Rename(0, "Written");
    window.ExecuteCommand(3085);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QVERIFY(fixture.File().find("\tabout:blank\tWritten\r\n") != std::string::npos);
    QVERIFY(!fixture.Favorites().Items().Modified);

    fixture.Rename(0, "Discarded");
    window.ExecuteCommand(3087);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(fixture.Favorites().Name(fixture.Item(0)), std::string("Written"));

    // File History Delete keeps the tree's own file; New forgets it.
    window.FileHistory(kToolFavorite).Add("/elsewhere/Other.dat", 20);
    window.ExecuteCommand(5875);
    QCOMPARE(window.FileHistory(kToolFavorite).Entries(), std::vector<std::string>{fixture.file});
    window.ExecuteCommand(3088);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(fixture.Favorites().ItemCount(), 1u);
    QCOMPARE(fixture.Favorites().Name(fixture.Favorites().FirstTopLevel()),
             std::string("Favorite"));
    QVERIFY(window.FileHistory(kToolFavorite).CurrentFile().empty());
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::ToolTreesTest)
#include "ToolTreesTest.moc"
