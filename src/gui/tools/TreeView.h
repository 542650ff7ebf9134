#pragma once

// One tree of the tool panel on screen. The marks of the core model are the selection: the mouse
// marks items by the tree's own rules (plain, Ctrl and Shift presses, a band dragged over empty
// space), the keyboard moves the caret as in any tree view, and the view shows the model's marks,
// open folders and scroll position after every change the program makes.

#include <QPointer>
#include <QTreeView>
#include <memory>
#include <optional>

#include "core/tools/TreeMarking.h"

class QRubberBand;

namespace zelvora {

class TTreeItemModel;

class TTreeView : public QTreeView {
  Q_OBJECT

 public:
  explicit TTreeView(QWidget* parent = nullptr);
  ~TTreeView() override;

  // Shows `model` (the view keeps its adapter); null until a tree is attached.
  void SetTreeModel(TTreeModel& model);
  TTreeItemModel* Adapter() const { return adapter_; }
  TTreeModel* TreeModel() const;

  // Before a job works on the model: the view lets go of it. After the job: the view shows the
  // model again with its open folders, marks, caret and scroll position.
  void BeginJob();
  void EndJob();

  // The model's marks and caret become the view's selection and current item.
  void SyncSelection();
  // The model's scroll position becomes the view's, and the other way round.
  void ApplyScroll();
  void StoreScroll();

  // The item under a point of the viewport; kNoItem on empty space.
  TreeHandle ItemAt(const QPoint& pos) const;
  // Makes the item the only marked one and the caret (the context menu's item).
  void MarkOnly(TreeHandle item);
  // Starts editing the caret item's name in place.
  void EditCaretName();
  // The item a drag would drop on, drawn as highlighted; kNoItem shows none.
  void SetDropHighlight(TreeHandle item);
  TreeHandle DropHighlight() const { return dropHighlight_; }

 signals:
  // The marked items are being dragged (the mouse moved the drag distance with the button held
  // on a marked item).
  void DragStarted(const QPoint& pressPos);
  // The left button went up over an item's icon or name after a plain press on an item, with no
  // drag or band in between: the caret item is to be opened.
  void ItemReleased(TreeHandle caret);
  // The model's caret moved: by the mouse, the keys, or the program followed by SyncSelection.
  void CaretChanged(TreeHandle caret);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  // A double click on a folder's name opens or closes it.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

 private:
  enum class HitPart { kNothing, kItem, kExpandButton };
  HitPart HitTest(const QPoint& pos, TreeHandle& item) const;
  void UpdateBand(const QPoint& pos);
  int RowStep() const;
  // Where the viewport's top left corner is in the content.
  QPoint ContentOffset() const;
  void EndBand();
  void SyncOpenFolders();
  void FollowItemState(TreeHandle item);
  void SelectionChangedByView(const QItemSelection& selected, const QItemSelection& deselected);
  // Reports the model's caret when it is not the one reported last.
  void ReportCaret();

  TTreeItemModel* adapter_ = nullptr;
  TTreeMarking marking_;
  // Set while the view itself brings Qt's selection or expansion in line with the model.
  bool syncing_ = false;
  // A press on a marked item: the item, and where the press was, until a drag or a release.
  TreeHandle pressedMarked_ = kNoItem;
  QPoint pressPos_;
  // A plain press on an item that no drag or band has followed yet.
  bool releaseOpens_ = false;
  // The band: its origin in content coordinates and the visible items when it began.
  QRubberBand* band_ = nullptr;
  QPoint bandOrigin_;
  std::vector<TreeHandle> bandRows_;
  TreeHandle reportedCaret_ = kNoItem;
  TreeHandle dropHighlight_ = kNoItem;
};

}  // namespace zelvora
