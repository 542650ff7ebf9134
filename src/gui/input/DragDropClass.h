#pragma once

// Drag and drop on the main window. What a drop does depends on the widget under the pointer:
// the current tool-panel tree stores the dropped links, files or text as items at the item under
// the pointer (highlighted while the drag is over it; the tree scrolls near its top and bottom
// edges), the keyword boxes take the first line as their text, the edit fields of open dialogs
// insert it at the drop point, and the tab strip opens it in the tab under the pointer. Tabs are
// dragged out as links (their title with them) and moved within the strip; marked tree items
// are moved within their tree and dragged out as links.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/input/DropData.h"

class QDrag;
class QDropEvent;
class QLineEdit;
class QMimeData;
class QTimer;

namespace zelvora {

class TKeywordBox;
class TSDIMainWindow;
class TTreeView;

class TDragAcceptClass : public QObject {
  Q_OBJECT

 public:
  // Made by the main window once its bars, trees and tab strip exist.
  explicit TDragAcceptClass(TSDIMainWindow& window);

  // A keyword box whose text a drop replaces (the search dialog's, while it is open).
  void AddKeywordBox(TKeywordBox& box);
  // An edit field of an open dialog: a drop inserts at the drop point. The field stops being a
  // target when the dialog closes.
  void AddDialogField(QWidget& dialog, QLineEdit& field);

  // Runs the drag loop of a drag the program starts; tests answer in its place (offscreen no
  // drag loop runs). The drag is deleted afterwards.
  std::function<void(QDrag& drag, Qt::DropActions actions)> runDrag;

  // How far a press on a tab must move, on either axis, before the tab is dragged.
  static constexpr int kTabDragDistance = 5;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class TargetKind { kTree, kKeyword, kDialogField, kTabStrip };
  struct Target {
    QPointer<QWidget> widget;
    TargetKind kind = TargetKind::kTree;
    // The tree's index for a tree; the keyword box for a keyword field; the dialog for a field.
    int tree = -1;
    QPointer<TKeywordBox> box;
    QPointer<QWidget> dialog;
  };

  void Watch(QWidget& widget, Target target);
  const Target* TargetOf(const QObject* widget) const;
  // The drag enters or moves over a target: whether it is accepted there.
  bool DragOver(const Target& target, QDropEvent& event, bool entering);
  void Drop(const Target& target, QDropEvent& event);
  void DragLeft();
  // The tree's edge scrolls while a drag rests near it: -1 up, 1 down, 0 stops.
  void ScrollTree(TTreeView* tree, int direction);
  // Whether a drop carries the marked items of the tree `tree` (they move within it).
  bool MovesWithin(const Target& target) const;
  void DropOnTree(const Target& target, const QPoint& pos, const DropContent& content);
  void DropOnTabStrip(const QPoint& pos, const DropContent& content);
  // The text a bar, a field or a tab gets of a drop.
  static QString SingleText(const DropContent& content);
  bool TabMouse(QEvent* event);
  void DragTab(int index);
  void DragTreeItems(int tree);
  void RunDrag(QMimeData* data, Qt::DropActions actions);
  void ClearHighlights();

  TSDIMainWindow& window_;
  std::vector<Target> targets_;
  // A press on a tab: the tab and the press point, until the button is released.
  int pressedTab_ = -1;
  QPoint pressPos_;
  // While a tab is being dragged: its page and title.
  std::int64_t draggedTab_ = -1;
  QString draggedTitle_;
  // While marked tree items are being dragged: their tree.
  int draggedTree_ = -1;
  // What the drag over a target carries, classified when it entered.
  const QMimeData* overData_ = nullptr;
  DropContent overContent_;
  QTimer* scrollTimer_ = nullptr;
  QPointer<TTreeView> scrolledTree_;
  int scrollDirection_ = 0;
};

}  // namespace zelvora
