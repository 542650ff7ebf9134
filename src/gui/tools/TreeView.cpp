#include "gui/tools/TreeView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "gui/tools/TreeItemModel.h"

namespace zelvora {

namespace {

// The room between an item's icon and its name, as the style draws it.
constexpr int kDecorationMargin = 4;

}  // namespace

TTreeView::TTreeView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  // Every row is as high as the first: a tree of 100,000 items lays out in one step.
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
  // Whatever opens a folder on screen opens it in the model too, the view's own scrolling to the
  // current item included (while the view follows the model, this changes nothing).
  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
    if (adapter_ != nullptr)
      adapter_->Model().SetOpen(adapter_->HandleOf(index), true);
  });
  connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
    if (adapter_ != nullptr)
      adapter_->Model().SetOpen(adapter_->HandleOf(index), false);
  });
}

TTreeView::~TTreeView() = default;

void TTreeView::SetTreeModel(TTreeModel& model) {
  delete adapter_;
  adapter_ = new TTreeItemModel(model, this);
  setModel(adapter_);
  connect(adapter_, &TTreeItemModel::ItemStateChanged, this, &TTreeView::FollowItemState);
  connect(adapter_, &TTreeItemModel::ModelReset, this, [this] {
    marking_.Forget();
    SyncOpenFolders();
    SyncSelection();
    ApplyScroll();
  });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TTreeView::SelectionChangedByView);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (syncing_)
              return;
            adapter_->Model().SetCaret(adapter_->HandleOf(current));
            ReportCaret();
          });
  SyncOpenFolders();
  SyncSelection();
}

TTreeModel* TTreeView::TreeModel() const {
  return adapter_ != nullptr ? &adapter_->Model() : nullptr;
}

void TTreeView::BeginJob() {
  if (adapter_ == nullptr)
    return;
  EndBand();
  pressedMarked_ = kNoItem;
  StoreScroll();
  adapter_->Detach();
}

void TTreeView::EndJob() {
  if (adapter_ != nullptr)
    adapter_->Attach();
}

void TTreeView::SyncOpenFolders() {
  if (adapter_ == nullptr || !adapter_->Attached())
    return;
  TTreeModel& model = adapter_->Model();
  syncing_ = true;
  // A pending layout lets each expand only note the folder; the view lays out once afterwards.
  scheduleDelayedItemsLayout();
  std::vector<TreeHandle> pending(model.Children(kNoItem).begin(), model.Children(kNoItem).end());
  while (!pending.empty()) {
    const TreeHandle item = pending.back();
    pending.pop_back();
    const std::vector<TreeHandle>& children = model.Children(item);
    if (children.empty())
      continue;
    setExpanded(adapter_->IndexOf(item), model.IsOpen(item));
    pending.insert(pending.end(), children.begin(), children.end());
  }
  syncing_ = false;
}

void TTreeView::SyncSelection() {
  if (adapter_ == nullptr || !adapter_->Attached())
    return;
  TTreeModel& model = adapter_->Model();
  // Runs of neighbouring siblings become one range each, so that marking a whole folder of
  // many items stays one step for the selection model.
  QItemSelection selection;
  const std::vector<TreeHandle> marked = model.MarkedItems();
  for (std::size_t first = 0; first < marked.size();) {
    std::size_t last = first;
    while (last + 1 < marked.size() &&
           model.Parent(marked[last + 1]) == model.Parent(marked[first]) &&
           model.Row(marked[last + 1]) == model.Row(marked[last]) + 1) {
      ++last;
    }
    selection.select(adapter_->IndexOf(marked[first]), adapter_->IndexOf(marked[last]));
    first = last + 1;
  }
  syncing_ = true;
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  selectionModel()->setCurrentIndex(adapter_->IndexOf(model.Caret()),
                                    QItemSelectionModel::NoUpdate);
  syncing_ = false;
  ReportCaret();
}

void TTreeView::ReportCaret() {
  const TreeHandle caret = adapter_->Model().Caret();
  if (caret == reportedCaret_)
    return;
  reportedCaret_ = caret;
  emit CaretChanged(caret);
}

void TTreeView::ApplyScroll() {
  if (adapter_ == nullptr)
    return;
  // The scroll bars' ranges follow the layout, which a reset only schedules.
  executeDelayedItemsLayout();
  horizontalScrollBar()->setValue(adapter_->Model().scrollX);
  verticalScrollBar()->setValue(adapter_->Model().scrollY);
}

void TTreeView::StoreScroll() {
  if (adapter_ == nullptr || !adapter_->Attached())
    return;
  adapter_->Model().scrollX = horizontalScrollBar()->value();
  adapter_->Model().scrollY = verticalScrollBar()->value();
}

TreeHandle TTreeView::ItemAt(const QPoint& pos) const {
  TreeHandle item = kNoItem;
  return HitTest(pos, item) == HitPart::kNothing ? kNoItem : item;
}

void TTreeView::MarkOnly(TreeHandle item) {
  if (adapter_ == nullptr)
    return;
  TTreeModel& model = adapter_->Model();
  model.ClearMarks();
  model.SetMarked(item, true);
  model.SetCaret(item);
  SyncSelection();
}

void TTreeView::EditCaretName() {
  if (adapter_ == nullptr)
    return;
  const QModelIndex index = adapter_->IndexOf(adapter_->Model().Caret());
  if (!index.isValid())
    return;
  setFocus();
  scrollTo(index);
  edit(index);
}

void TTreeView::SetDropHighlight(TreeHandle item) {
  if (item == dropHighlight_)
    return;
  const TreeHandle previous = std::exchange(dropHighlight_, item);
  if (adapter_ == nullptr)
    return;
  for (const TreeHandle each : {previous, item}) {
    const QModelIndex index = adapter_->IndexOf(each);
    if (index.isValid())
      viewport()->update(visualRect(index));
  }
}

void TTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const {
  if (dropHighlight_ == kNoItem || adapter_ == nullptr ||
      adapter_->HandleOf(index) != dropHighlight_) {
    QTreeView::drawRow(painter, option, index);
    return;
  }
  QStyleOptionViewItem highlighted = option;
  highlighted.state |= QStyle::State_Selected | QStyle::State_Active;
  QTreeView::drawRow(painter, highlighted, index);
}

TTreeView::HitPart TTreeView::HitTest(const QPoint& pos, TreeHandle& item) const {
  const QModelIndex index = indexAt(pos);
  if (adapter_ == nullptr || !index.isValid())
    return HitPart::kNothing;
  item = adapter_->HandleOf(index);
  const QRect rect = visualRect(index);
  if (pos.x() < rect.left()) {
    const bool button = pos.x() >= rect.left() - indentation() && model()->hasChildren(index);
    return button ? HitPart::kExpandButton : HitPart::kNothing;
  }
  // The icon and the name; the rest of the row to the right is empty space.
  const int icon = iconSize().isValid()
                       ? iconSize().width()
                       : style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  const int name = fontMetrics().horizontalAdvance(index.data(Qt::DisplayRole).toString());
  return pos.x() <= rect.left() + icon + name + 3 * kDecorationMargin ? HitPart::kItem
                                                                      : HitPart::kNothing;
}

void TTreeView::mousePressEvent(QMouseEvent* event) {
  // Only the left button marks: the context menu keeps the marks when it opens on one of them.
  if (adapter_ == nullptr || !adapter_->Attached() || event->button() != Qt::LeftButton) {
    event->accept();
    return;
  }
  TTreeModel& model = adapter_->Model();
  const QPoint pos = event->position().toPoint();
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
  TreeHandle item = kNoItem;
  const HitPart part = HitTest(pos, item);
  releaseOpens_ = part == HitPart::kItem && !ctrl && !shift;
  switch (part) {
    case HitPart::kItem:
      if (marking_.PressItem(model, item, ctrl, shift)) {
        pressedMarked_ = item;
        pressPos_ = pos;
      }
      break;
    case HitPart::kExpandButton:
      marking_.PressExpandButton(model, item);
      break;
    case HitPart::kNothing:
      // Shift keeps the marks as Ctrl does, so that a Shift band adds to them.
      marking_.PressEmpty(model, ctrl || shift);
      marking_.BeginBand(model, ctrl, shift);
      bandOrigin_ = pos + ContentOffset();
      bandRows_ = VisibleItems(model);
      band_->setGeometry(QRect(pos, QSize()));
      band_->show();
      break;
  }
  SyncSelection();
  event->accept();
}

void TTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  TreeHandle item = kNoItem;
  if (adapter_ != nullptr && event->button() == Qt::LeftButton &&
      HitTest(event->position().toPoint(), item) == HitPart::kItem &&
      !adapter_->Model().Children(item).empty()) {
    adapter_->Model().SetOpen(item, !adapter_->Model().IsOpen(item));
    event->accept();
    return;
  }
  mousePressEvent(event);
}

void TTreeView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (marking_.BandActive()) {
    UpdateBand(pos);
    event->accept();
    return;
  }
  if (pressedMarked_ != kNoItem && event->buttons().testFlag(Qt::LeftButton) &&
      (std::abs(pos.x() - pressPos_.x()) > QApplication::startDragDistance() ||
       std::abs(pos.y() - pressPos_.y()) > QApplication::startDragDistance())) {
    const QPoint pressPos = pressPos_;
    pressedMarked_ = kNoItem;
    releaseOpens_ = false;
    emit DragStarted(pressPos);
    event->accept();
    return;
  }
  QTreeView::mouseMoveEvent(event);
}

void TTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QTreeView::mouseReleaseEvent(event);
    return;
  }
  if (marking_.BandActive())
    EndBand();
  if (pressedMarked_ != kNoItem && adapter_ != nullptr) {
    marking_.ReleaseWithoutDrag(adapter_->Model(), pressedMarked_);
    pressedMarked_ = kNoItem;
    SyncSelection();
  }
  TreeHandle item = kNoItem;
  if (std::exchange(releaseOpens_, false) && adapter_ != nullptr &&
      HitTest(event->position().toPoint(), item) == HitPart::kItem)
    emit ItemReleased(adapter_->Model().Caret());
  event->accept();
}

void TTreeView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && marking_.BandActive()) {
    EndBand();
    event->accept();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void TTreeView::UpdateBand(const QPoint& pos) {
  const int rowStep = RowStep();
  // The band is anchored in the content, so the origin moves with the scroll position.
  const QPoint offset = ContentOffset();
  const QPoint end = pos + offset;
  band_->setGeometry(QRect(bandOrigin_ - offset, pos).normalized());
  const int top = std::min(bandOrigin_.y(), end.y());
  const int bottom = std::max(bandOrigin_.y(), end.y());
  std::vector<TreeHandle> covered;
  const int first = std::max(0, top / rowStep);
  const int last = std::min(static_cast<int>(bandRows_.size()) - 1, bottom / rowStep);
  for (int row = first; row <= last; ++row) {
    covered.push_back(bandRows_[static_cast<std::size_t>(row)]);
  }
  marking_.MoveBand(adapter_->Model(), covered);
  SyncSelection();
  // Past the edge the tree scrolls, so that the band can reach items out of sight.
  if (pos.y() < 0)
    verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
  else if (pos.y() > viewport()->height())
    verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
}

int TTreeView::RowStep() const {
  return std::max(1, rowHeight(indexAt(QPoint(0, 0))));
}

QPoint TTreeView::ContentOffset() const {
  // The vertical scroll bar counts rows.
  return {horizontalOffset(), verticalScrollBar()->value() * RowStep()};
}

void TTreeView::EndBand() {
  marking_.EndBand();
  band_->hide();
  bandRows_.clear();
}

void TTreeView::FollowItemState(TreeHandle item) {
  const QModelIndex index = adapter_->IndexOf(item);
  const bool open = adapter_->Model().IsOpen(item);
  if (index.isValid() && isExpanded(index) != open) {
    syncing_ = true;
    setExpanded(index, open);
    syncing_ = false;
  }
}

void TTreeView::SelectionChangedByView(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
  if (syncing_ || adapter_ == nullptr)
    return;
  TTreeModel& model = adapter_->Model();
  for (const QModelIndex& index : deselected.indexes()) {
    model.SetMarked(adapter_->HandleOf(index), false);
  }
  for (const QModelIndex& index : selected.indexes()) {
    model.SetMarked(adapter_->HandleOf(index), true);
  }
}

}  // namespace zelvora
