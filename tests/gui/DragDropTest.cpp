#include <QComboBox>
#include <QDrag>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>
#include <fstream>

#include "LocalServer.h"
#include "PageFixture.h"
#include "core/tools/TreeFile.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/OpenDialog.h"
#include "gui/input/DragDropClass.h"
#include "gui/shell/Rebar.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

constexpr Qt::DropActions kCopyOrLink = Qt::CopyAction | Qt::LinkAction;

// What the platform sends over a widget: enter, move and drop at one point. The effect of the
// drop, or IgnoreAction when the target refused it.
Qt::DropAction DropOn(QWidget* widget, const QPoint& pos, const QMimeData& data,
                      Qt::DropActions actions = kCopyOrLink) {
  QDragEnterEvent enter(pos, actions, &data, Qt::LeftButton, {});
  QApplication::sendEvent(widget, &enter);
  QDragMoveEvent move(pos, actions, &data, Qt::LeftButton, {});
  QApplication::sendEvent(widget, &move);
  if (!move.isAccepted())
    return Qt::IgnoreAction;
  QDropEvent drop(QPointF(pos), actions, &data, Qt::LeftButton, {});
  QApplication::sendEvent(widget, &drop);
  return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, {});
  QApplication::sendEvent(widget, &event);
}

QMimeData* FileList(const QStringList& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const QString& path : paths) {
    urls.append(QUrl::fromLocalFile(path));
  }
  data->setUrls(urls);
  return data;
}

std::vector<std::string> Names(const TTreeModel& model, TreeHandle folder) {
  std::vector<std::string> names;
  for (const TreeHandle item : model.Children(folder)) {
    names.push_back(model.Name(item));
  }
  return names;
}

std::string ValueOf(const TTreeModel& model, TreeHandle item) {
  const TTreeItemRec* record = model.Record(item);
  return record != nullptr ? record->Value : std::string("<none>");
}

QPoint ItemPoint(TTreeView& view, TreeHandle item) {
  const QRect rect = view.visualRect(view.Adapter()->IndexOf(item));
  return {rect.left() + 24, rect.center().y()};
}

}  // namespace

class DragDropTest : public QObject {
  Q_OBJECT

 private slots:
  // A shortcut file lands as a link to its address named after the file; files keep their
  // order; the item under the pointer is highlighted while the drag is over it; what offers no
  // known format is refused; ten thousand names go in as one job.
  void FilesDropOntoTheFavoriteTree() {
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    QTRY_VERIFY(!window.ToolTaskRunning());
    const QString folder = fixture.folder.path();
    std::ofstream((folder + "/News.url").toStdString(), std::ios::binary)
        << "[InternetShortcut]\r\nURL=https://news.example/today\r\n";
    for (const char* name : {"c.txt", "a.txt", "b.txt"}) {
      std::ofstream((folder + "/" + name).toStdString(), std::ios::binary) << name;
    }
    TTreeModel& favorites = window.ToolTrees().Model(kToolFavorite);
    TTreeView& view = window.ToolTrees().View(kToolFavorite);
    const TreeHandle root = favorites.FirstTopLevel();
    QWidget* viewport = view.viewport();

    const std::unique_ptr<QMimeData> shortcut(FileList({folder + "/News.url"}));
    QDragEnterEvent enter(ItemPoint(view, root), kCopyOrLink, shortcut.get(), Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent over(ItemPoint(view, root), kCopyOrLink, shortcut.get(), Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &over);
    QVERIFY(over.isAccepted());
    QCOMPARE(over.dropAction(), Qt::CopyAction);
    QCOMPARE(view.DropHighlight(), root);
    QDragLeaveEvent leave;
    QApplication::sendEvent(viewport, &leave);
    QCOMPARE(view.DropHighlight(), kNoItem);

    QCOMPARE(DropOn(viewport, ItemPoint(view, root), *shortcut), Qt::CopyAction);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(Names(favorites, root), std::vector<std::string>{"News"});
    const TreeHandle news = favorites.Children(root).front();
    QCOMPARE(ValueOf(favorites, news), std::string("https://news.example/today"));

    // Dropped on the link, the three files follow it in the order they were listed.
    const std::unique_ptr<QMimeData> three(
        FileList({folder + "/c.txt", folder + "/a.txt", folder + "/b.txt"}));
    QCOMPARE(DropOn(viewport, ItemPoint(view, news), *three), Qt::CopyAction);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(Names(favorites, root), (std::vector<std::string>{"News", "c.txt", "a.txt", "b.txt"}));
    QCOMPARE(ValueOf(favorites, favorites.Children(root)[1]), (folder + "/c.txt").toStdString());
    QCOMPARE(view.DropHighlight(), kNoItem);

    QMimeData unknown;
    unknown.setData(QStringLiteral("application/octet-stream"), "\x01\x02");
    QCOMPARE(DropOn(viewport, ItemPoint(view, news), unknown), Qt::IgnoreAction);
    QVERIFY(!window.ToolTaskRunning());

    QStringList many;
    for (int each = 0; each < 10000; ++each) {
      many.append(
          QStringLiteral("%1/missing-%2.html").arg(folder).arg(each, 5, 10, QLatin1Char('0')));
    }
    const std::unique_ptr<QMimeData> list(FileList(many));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(DropOn(viewport, ItemPoint(view, news), *list), Qt::CopyAction);
    // The drop handed the whole list to one job: it runs, and when it ends every name is in.
    QVERIFY(window.ToolTaskRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!window.ToolTaskRunning(), 60000);
    qInfo("10,000 dropped names inserted in %lld ms", static_cast<long long>(clock.elapsed()));
    const std::vector<std::string> names = Names(favorites, root);
    QCOMPARE(names.size(), std::size_t{10004});
    QCOMPARE(names[1], std::string("missing-00000.html"));
    QCOMPARE(names[10000], std::string("missing-09999.html"));
    QCOMPARE(names[10001], std::string("c.txt"));
    QCOMPARE(favorites.MarkedItems().size(), std::size_t{10000});

    // Over the top edge of the scrolled tree the drag takes nothing: the tree scrolls up until the
    // drag leaves.
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const int scrolled = bar->value();
    QVERIFY(scrolled > 0);
    QDragEnterEvent back(QPoint(40, viewport->height() / 2), kCopyOrLink, list.get(),
                         Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &back);
    QVERIFY(back.isAccepted());
    QVERIFY(view.DropHighlight() != kNoItem);
    QDragMoveEvent edge(QPoint(40, 1), kCopyOrLink, list.get(), Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &edge);
    QVERIFY(!edge.isAccepted());
    QCOMPARE(view.DropHighlight(), kNoItem);
    QTRY_VERIFY(bar->value() < scrolled - 1);
    QApplication::sendEvent(viewport, &leave);
    const int left = bar->value();
    QTest::qWait(300);
    QCOMPARE(bar->value(), left);
  }

  // A bar takes only the first line of a text; a dialog field takes it at the drop point,
  // selected, as an edit it can undo.
  void TextDropsOntoTheBarsAndDialogFields() {
    LocalServer server;
    server.Page(QStringLiteral("/first"), "<title>First</title>");
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    QLineEdit* address = window.Rebar().AddressBox()->lineEdit();
    QMimeData text;
    text.setText(server.Url("/first") + QStringLiteral("\r\nsecond line\r\nthird"));
    QCOMPARE(DropOn(address, address->rect().center(), text), Qt::CopyAction);
    QCOMPARE(address->text(), server.Url("/first"));
    // Taken as typed: going there adds it to the address list.
    window.ExecuteCommand(3117);
    QTRY_COMPARE(fixture.Strip().Count(), 1);
    QCOMPARE(window.Rebar().AddressBox()->itemText(0), server.Url("/first"));

    window.ExecuteCommand(3004);
    QVERIFY(window.OpenDialog() != nullptr);
    QLineEdit* field = window.OpenDialog()->Address().lineEdit();
    field->setText(QStringLiteral("abcdef"));
    field->setCursorPosition(3);
    const QPoint between = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    field->setCursorPosition(6);
    QMimeData insert;
    insert.setText(QStringLiteral("XY\nZ"));
    QCOMPARE(DropOn(field, between, insert), Qt::CopyAction);
    QCOMPARE(field->text(), QStringLiteral("abcXYdef"));
    QCOMPARE(field->selectedText(), QStringLiteral("XY"));
    field->undo();
    QCOMPARE(field->text(), QStringLiteral("abcdef"));
  }

  // A tab moves only after the pointer went 5 pixels from the press; it carries its address and
  // title; dropped on another tab it moves there and becomes current, dropped on the tree it
  // becomes a link named by its title.
  void TabsAreDraggedOntoTabsAndTheTree() {
    LocalServer server;
    for (const char* name : {"one", "two", "three"}) {
      server.Page(QStringLiteral("/%1").arg(QLatin1String(name)),
                  QByteArray("<title>Page ") + name + "</title>");
    }
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    QTRY_VERIFY(!window.ToolTaskRunning());
    TMyContainerClass& one = fixture.Load(server.Url("/one"));
    TMyContainerClass& two = fixture.Load(server.Url("/two"));
    TMyContainerClass& three = fixture.Load(server.Url("/three"));
    TAPIBrowsePage& strip = fixture.Strip();
    TBrowseTabBar& tabs = strip.TabBar();
    QTRY_COMPARE(one.DocumentTitle(), QStringLiteral("Page one"));

    int drags = 0;
    std::function<void(QDrag&)> onDrag = [](QDrag&) {};
    window.DragAccept().runDrag = [&](QDrag& drag, Qt::DropActions actions) {
      ++drags;
      QCOMPARE(actions, kCopyOrLink);
      onDrag(drag);
    };
    const QPoint press = tabs.tabRect(0).center();
    SendMouse(&tabs, QEvent::MouseButtonPress, press, Qt::LeftButton);
    SendMouse(&tabs, QEvent::MouseMove, press + QPoint(4, 0), Qt::LeftButton);
    SendMouse(&tabs, QEvent::MouseMove, press + QPoint(-4, 4), Qt::LeftButton);
    QCOMPARE(drags, 0);
    onDrag = [&](QDrag& drag) {
      const QMimeData& data = *drag.mimeData();
      QCOMPARE(data.urls(), QList<QUrl>{QUrl(server.Url("/one"))});
      QCOMPARE(data.text(), server.Url("/one"));
      QCOMPARE(DropOn(&tabs, tabs.tabRect(2).center(), data), Qt::CopyAction);
    };
    SendMouse(&tabs, QEvent::MouseMove, press + QPoint(0, 5), Qt::LeftButton);
    QCOMPARE(drags, 1);
    QCOMPARE(strip.GetContainer(0), &two);
    QCOMPARE(strip.GetContainer(1), &three);
    QCOMPARE(strip.GetContainer(2), &one);
    QCOMPARE(strip.CurrentIndex(), 2);
    QCOMPARE(tabs.Caption(2), QStringLiteral("Page one"));
    // The released button ends the press: a later move drags nothing.
    SendMouse(&tabs, QEvent::MouseButtonRelease, press, Qt::NoButton);
    SendMouse(&tabs, QEvent::MouseMove, press + QPoint(20, 0), Qt::LeftButton);
    QCOMPARE(drags, 1);

    TTreeModel& favorites = window.ToolTrees().Model(kToolFavorite);
    TTreeView& view = window.ToolTrees().View(kToolFavorite);
    const TreeHandle root = favorites.FirstTopLevel();
    onDrag = [&](QDrag& drag) {
      QCOMPARE(DropOn(view.viewport(), ItemPoint(view, root), *drag.mimeData()), Qt::CopyAction);
    };
    const QPoint second = tabs.tabRect(1).center();
    SendMouse(&tabs, QEvent::MouseButtonPress, second, Qt::LeftButton);
    SendMouse(&tabs, QEvent::MouseMove, second + QPoint(6, 0), Qt::LeftButton);
    QCOMPARE(drags, 2);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(Names(favorites, root), std::vector<std::string>{"Page three"});
    QCOMPARE(ValueOf(favorites, favorites.Children(root).front()),
             server.Url("/three").toStdString());
    // Tabs are left as they were.
    QCOMPARE(strip.GetContainer(1), &three);

    // A page of a local file goes as that file, named by the tab's title.
    const QString local = fixture.folder.path() + QStringLiteral("/local.html");
    std::ofstream(local.toStdString(), std::ios::binary) << "<title>Local page</title>";
    TMyContainerClass& file = fixture.Load(QUrl::fromLocalFile(local).toString());
    QTRY_COMPARE(file.DocumentTitle(), QStringLiteral("Local page"));
    onDrag = [&](QDrag& drag) {
      QCOMPARE(drag.mimeData()->text(), local);
      QCOMPARE(DropOn(view.viewport(), ItemPoint(view, root), *drag.mimeData()), Qt::CopyAction);
    };
    const QPoint fourth = tabs.tabRect(3).center();
    SendMouse(&tabs, QEvent::MouseButtonPress, fourth, Qt::LeftButton);
    SendMouse(&tabs, QEvent::MouseMove, fourth + QPoint(0, -5), Qt::LeftButton);
    QCOMPARE(drags, 3);
    QTRY_VERIFY(!window.ToolTaskRunning());
    QCOMPARE(Names(favorites, root), (std::vector<std::string>{"Local page", "Page three"}));
    QCOMPARE(ValueOf(favorites, favorites.Children(root).front()), local.toStdString());

    // A link dropped on a tab opens in that tab.
    QMimeData link;
    link.setUrls({QUrl(server.Url("/one"))});
    QSignalSpy loaded(two.Page(), &QWebEnginePage::loadFinished);
    QCOMPARE(DropOn(&tabs, tabs.tabRect(0).center(), link), Qt::CopyAction);
    QVERIFY(loaded.wait(20000));
    QCOMPARE(two.Page()->url(), QUrl(server.Url("/one")));
    QCOMPARE(strip.Count(), 4);
  }

  // Marked items dragged within their tree move to the item they are dropped on; out of the tree
  // they are links with their names.
  void MarkedItemsMoveWithinTheTreeAndLeaveAsLinks() {
    PageFixture fixture("");
    TSDIMainWindow& window = *fixture.window;
    QTRY_VERIFY(!window.ToolTaskRunning());
    TTreeModel& favorites = window.ToolTrees().Model(kToolFavorite);
    TTreeView& view = window.ToolTrees().View(kToolFavorite);
    const TreeHandle root = favorites.FirstTopLevel();
    SelectTreeItem(favorites, root);
    InsertTreeText(favorites,
                   "https://a.example/\tAlpha\r\nhttps://b.example/\tBeta\r\n"
                   "https://c.example/\tGamma\r\n",
                   false, {}, nullptr);
    view.doItemsLayout();
    QCOMPARE(Names(favorites, root), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    const TreeHandle alpha = favorites.Children(root)[0];
    const TreeHandle gamma = favorites.Children(root)[2];
    view.MarkOnly(alpha);

    QLineEdit* search = window.Rebar().SearchKeyBox()->lineEdit();
    window.DragAccept().runDrag = [&](QDrag& drag, Qt::DropActions actions) {
      QVERIFY(actions.testFlag(Qt::MoveAction));
      const QMimeData& data = *drag.mimeData();
      QCOMPARE(data.urls(), QList<QUrl>{QUrl(QStringLiteral("https://a.example/"))});
      // Out of the tree: a link.
      QCOMPARE(DropOn(search, search->rect().center(), data), Qt::CopyAction);
      QCOMPARE(DropOn(view.viewport(), ItemPoint(view, gamma), data, actions), Qt::MoveAction);
    };
    const QPoint press = ItemPoint(view, alpha);
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, press);
    SendMouse(view.viewport(), QEvent::MouseMove,
              press + QPoint(0, QApplication::startDragDistance() + 2), Qt::LeftButton);
    QCOMPARE(search->text(), QStringLiteral("https://a.example/"));
    QTRY_VERIFY(!window.ToolTaskRunning());
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, press);
    QCOMPARE(Names(favorites, root), (std::vector<std::string>{"Beta", "Gamma", "Alpha"}));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::DragDropTest)
#include "DragDropTest.moc"
