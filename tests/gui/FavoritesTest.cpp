#include <QCheckBox>
#include <QClipboard>
#include <QTemporaryDir>
#include <QtTest>

#include "LocalServer.h"
#include "PageFixture.h"
#include "core/shell/SafeFile.h"
#include "core/tools/TreeFile.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/FavoriteCommands.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

// The items of a folder by name.
TreeHandle Child(const TTreeModel& model, TreeHandle folder, const std::string& name) {
  for (const TreeHandle item : model.Children(folder)) {
    if (model.Name(item) == name)
      return item;
  }
  return kNoItem;
}

}  // namespace

class FavoritesTest : public QObject {
  Q_OBJECT

 private slots:
  // The Proxy file's selected item is in force from the first page on; "0" goes direct; with
  // "Use IE Proxy" checked the proxy items change nothing.
  void TheProxyTreeSwitchesTheProxy() {
    LocalServer proxy;
    QTemporaryDir folder;
    const std::string file = folder.path().toStdString() + "/Proxy.dat";
    WriteFileAtomic(file, "// Select=1 Pos=0,0\r\n1,Proxy\r\n\t" +
                              proxy.Url("").mid(7).toStdString() + "\tLocal\r\n\t0\tDirect\r\n");
    PageFixture fixture("\r\n[FileProxy]\r\n0=" + file + "\r\n[Zelvora]\r\nUseIEProxy=0\r\n");
    TSDIMainWindow& window = *fixture.window;
    QTRY_VERIFY(!window.ToolTaskRunning());
    QTest::qWait(300);
    fixture.Strip().OpenTab(QStringLiteral("http://zelvora.test/through"));
    QTRY_VERIFY_WITH_TIMEOUT(proxy.Requested("http://zelvora.test/through"), 10000);

    // Loopback addresses never go through a proxy: only other hosts tell which way a request
    // went. Opens a tab and waits until its load ended, whichever way.
    const auto load = [&fixture](const char* url) {
      TMyContainerClass& page =
          *fixture.Strip().GetContainer(fixture.Strip().AddPage(QString::fromLatin1(url)));
      PageFixture::WaitLoaded(page);
    };
    const TTreeModel& proxies = window.ToolTrees().Model(kToolProxy);
    const TreeHandle directItem = Child(proxies, proxies.FirstTopLevel(), "Direct");
    window.FavoriteCommands().OpenItem(kToolProxy, directItem, false);
    QTest::qWait(300);
    load("http://zelvora.test/direct");
    QVERIFY(!proxy.Requested("http://zelvora.test/direct"));

    window.ToolPanel().UseIEProxy()->setChecked(true);
    window.FavoriteCommands().OpenItem(kToolProxy, Child(proxies, proxies.FirstTopLevel(), "Local"),
                                       false);
    QTest::qWait(300);
    load("http://zelvora.test/still-direct");
    QVERIFY(!proxy.Requested("http://zelvora.test/still-direct"));
    window.ToolPanel().UseIEProxy()->setChecked(false);
    window.FavoriteCommands().OpenItem(kToolProxy, Child(proxies, proxies.FirstTopLevel(), "Local"),
                                       false);
    QTest::qWait(300);
    load("http://zelvora.test/through-again");
    QVERIFY(proxy.Requested("http://zelvora.test/through-again"));
  }

  // Pages become items after the caret; marked items open in tabs up to "TabOpenMax"; a click
  // on an item's name opens it; the keys copy, paste and delete.
  void PagesBecomeItemsAndItemsOpenAsTabs() {
    LocalServer server;
    server.Page("/one", "<title>One</title>");
    server.Page("/two", "<title>Two</title>");
    PageFixture fixture("TabOpenMax=3\r\n");
    TSDIMainWindow& window = *fixture.window;
    fixture.Load(server.Url("/one"));
    fixture.Load(server.Url("/two"));
    window.ExecuteCommand(3046);
    TTreeModel& favorites = window.ToolTrees().Model(kToolFavorite);
    const TreeHandle root = favorites.FirstTopLevel();
    QCOMPARE(favorites.Children(root).size(), 2u);
    QVERIFY(favorites.IsOpen(root));
    const TreeHandle one = favorites.Children(root)[0];
    QCOMPARE(favorites.Name(one), std::string("One"));
    QCOMPARE(favorites.Record(one)->Value, server.Url("/one").toStdString());

    // Two tabs are open: of the two marked items only one more fits.
    window.ExecuteCommand(3099);
    window.ExecuteCommand(3089);
    QTRY_COMPARE(fixture.Strip().Count(), 3);
    QTest::qWait(200);
    QCOMPARE(fixture.Strip().Count(), 3);
    fixture.Strip().DeleteAllPages();

    TTreeView& view = window.ToolTrees().View(kToolFavorite);
    const QRect rect = view.visualRect(view.Adapter()->IndexOf(one));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, {rect.left() + 24, rect.center().y()});
    QTRY_COMPARE(fixture.Strip().Count(), 1);

    // Ctrl+C and Ctrl+V on the tree duplicate the item after it; Delete takes the copy away.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("%1\tOne\r\n").arg(server.Url("/one")));
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE(favorites.Children(root).size(), 3u);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(favorites.MarkedItems(), std::vector<TreeHandle>{favorites.Children(root)[1]});
    QTest::keyClick(&view, Qt::Key_Delete);
    QTRY_COMPARE(favorites.Children(root).size(), 2u);
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::FavoritesTest)
#include "FavoritesTest.moc"
