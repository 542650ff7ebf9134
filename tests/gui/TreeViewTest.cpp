#include <QScrollBar>
#include <QtTest>

#include "core/shell/WindowState.h"
#include "core/tools/TreeFile.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

// The mouse on a tree view: where a press lands (name, expand button, empty space) and what it
// marks in the model.
class TreeViewTest : public QObject {
  Q_OBJECT

 private:
  struct Tree {
    TTreeModel model{kToolFavorite};
    TTreeView view;
    std::vector<TreeHandle> items;

    Tree() {
      InsertTreeText(model,
                     "1,Root\r\n\tu\ta\r\n\tu\tb\r\n\t0,Sub\r\n\t\tu\tinside\r\n\tu\tc\r\n"
                     "\tu\td\r\n",
                     false, {}, nullptr);
      view.SetTreeModel(model);
      view.resize(300, 300);
      view.show();
      QVERIFY(QTest::qWaitForWindowExposed(&view));
      items = model.Children(model.FirstTopLevel());
    }
    QPoint NameOf(TreeHandle item) const {
      const QRect rect = view.visualRect(view.Adapter()->IndexOf(item));
      return QPoint(rect.left() + 24, rect.center().y());
    }
    QPoint RightOf(TreeHandle item) const {
      return QPoint(view.viewport()->width() - 5, NameOf(item).y());
    }
    void Press(const QPoint& pos, Qt::KeyboardModifiers modifiers = {}) {
      QTest::mousePress(view.viewport(), Qt::LeftButton, modifiers, pos);
      QTest::mouseRelease(view.viewport(), Qt::LeftButton, modifiers, pos);
    }
    // The names of the marked items, and whether Qt's selection shows the same.
    QString Marked() const {
      QStringList names;
      for (const TreeHandle item : model.MarkedItems()) {
        names << QString::fromStdString(model.Name(item));
      }
      const auto selected = view.selectionModel()->selectedIndexes();
      return names.size() == selected.size() ? names.join(u',') : QStringLiteral("out of step");
    }
  };

 private slots:
  void PressesMarkItemsByTheirModifiers() {
    Tree tree;
    const auto& items = tree.items;
    tree.Press(tree.NameOf(items[0]));
    QCOMPARE(tree.Marked(), QStringLiteral("a"));
    tree.Press(tree.NameOf(items[3]), Qt::ControlModifier);
    QCOMPARE(tree.Marked(), QStringLiteral("a,c"));
    tree.Press(tree.NameOf(items[4]), Qt::ShiftModifier);
    QCOMPARE(tree.Marked(), QStringLiteral("a,b,Sub,c,d"));
    QCOMPARE(tree.model.Caret(), items[4]);
    // The right button leaves the marks to the context menu.
    QTest::mousePress(tree.view.viewport(), Qt::RightButton, {}, tree.NameOf(items[0]));
    QCOMPARE(tree.Marked(), QStringLiteral("a,b,Sub,c,d"));
    QTest::mouseRelease(tree.view.viewport(), Qt::RightButton, {}, tree.NameOf(items[0]));
    // Right of a name is empty space: the marks and the caret go.
    tree.Press(tree.RightOf(items[1]));
    QCOMPARE(tree.Marked(), QString());
    QCOMPARE(tree.model.Caret(), kNoItem);

    // The expand button opens the folder and marks it alone; the model keeps the open state.
    const QRect sub = tree.view.visualRect(tree.view.Adapter()->IndexOf(items[2]));
    tree.Press(QPoint(sub.left() - tree.view.indentation() / 2, sub.center().y()));
    QVERIFY(tree.model.IsOpen(items[2]));
    QVERIFY(tree.view.isExpanded(tree.view.Adapter()->IndexOf(items[2])));
    QCOMPARE(tree.Marked(), QStringLiteral("Sub"));
    QTest::mouseDClick(tree.view.viewport(), Qt::LeftButton, {}, tree.NameOf(items[2]));
    QVERIFY(!tree.model.IsOpen(items[2]));
  }

  void ABandMarksTheRowsItCrosses() {
    Tree tree;
    const auto& items = tree.items;
    tree.Press(tree.NameOf(items[0]));
    QTest::mousePress(tree.view.viewport(), Qt::LeftButton, Qt::ControlModifier,
                      tree.RightOf(items[0]));
    QTest::mouseMove(tree.view.viewport(), tree.RightOf(items[2]));
    // Ctrl toggles: a, marked before, is unmarked while the band covers it.
    QCOMPARE(tree.Marked(), QStringLiteral("b,Sub"));
    QTest::mouseRelease(tree.view.viewport(), Qt::LeftButton, Qt::ControlModifier,
                        tree.RightOf(items[2]));
    QCOMPARE(tree.Marked(), QStringLiteral("b,Sub"));

    // Keys move the caret (still on a) and the selection as in any tree; the model follows.
    tree.view.setFocus();
    QTest::keyClick(&tree.view, Qt::Key_Down);
    QCOMPARE(tree.Marked(), QStringLiteral("b"));
    QCOMPARE(tree.model.Caret(), items[1]);
  }

  void AJobDetachesTheViewAndBringsBackItsState() {
    Tree tree;
    tree.Press(tree.NameOf(tree.items[1]));
    tree.view.BeginJob();
    QCOMPARE(tree.view.model()->rowCount({}), 0);
    // What a job does: the model changes without a listener.
    const TreeHandle sub = tree.items[2];
    tree.model.SetOpen(sub, true);
    tree.model.ClearMarks();
    tree.model.SetMarked(sub, true);
    tree.model.SetCaret(sub);
    tree.view.EndJob();
    QVERIFY(tree.view.isExpanded(tree.view.Adapter()->IndexOf(sub)));
    QCOMPARE(tree.Marked(), QStringLiteral("Sub"));
    QCOMPARE(tree.view.currentIndex(), tree.view.Adapter()->IndexOf(sub));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::TreeViewTest)
#include "TreeViewTest.moc"
