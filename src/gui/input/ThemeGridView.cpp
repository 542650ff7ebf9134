#include "gui/input/ThemeGridView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <algorithm>

#include "core/input/CellBlockText.h"
#include "core/shell/CommandTable.h"

namespace zelvora {

namespace {

constexpr int kCopyId = 3166;
constexpr int kCutId = 3167;
constexpr int kPasteId = 3168;
constexpr int kDeleteId = 3170;
constexpr int kAllSelectId = 3171;

}  // namespace

TThemeGridView::TThemeGridView(CaptionSource caption, QWidget* parent)
    : QTableView(parent), caption_(std::move(caption)) {
  setObjectName(QStringLiteral("ThemeGrid"));
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  setWordWrap(false);
  setAlternatingRowColors(true);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
  horizontalHeader()->setHighlightSections(false);
}

QModelIndexList TThemeGridView::BlockCells() const {
  QModelIndexList cells =
      selectionModel() == nullptr ? QModelIndexList() : selectionModel()->selectedIndexes();
  if (cells.isEmpty() && currentIndex().isValid())
    cells.append(currentIndex());
  std::sort(cells.begin(), cells.end(), [](const QModelIndex& a, const QModelIndex& b) {
    return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
  });
  return cells;
}

void TThemeGridView::CopyCells() {
  const QModelIndexList cells = BlockCells();
  if (cells.isEmpty())
    return;
  CellBlock block;
  int row = -1;
  for (const QModelIndex& cell : cells) {
    if (cell.row() != row) {
      block.emplace_back();
      row = cell.row();
    }
    block.back().push_back(cell.data(Qt::EditRole).toString().toStdString());
  }
  QApplication::clipboard()->setText(QString::fromStdString(CellBlockToText(block)));
}

void TThemeGridView::CutCells() {
  CopyCells();
  DeleteCells();
}

void TThemeGridView::DeleteCells() {
  for (const QModelIndex& cell : BlockCells()) {
    if (cell.flags().testFlag(Qt::ItemIsEditable))
      model()->setData(cell, QString(), Qt::EditRole);
  }
}

void TThemeGridView::PasteCells() {
  const QModelIndexList cells = BlockCells();
  if (cells.isEmpty() || model() == nullptr)
    return;
  const CellBlock block = CellBlockFromText(QApplication::clipboard()->text().toStdString());
  const QModelIndex& topLeft = cells.front();
  for (std::size_t row = 0; row < block.size(); ++row) {
    for (std::size_t column = 0; column < block[row].size(); ++column) {
      const QModelIndex cell = model()->index(topLeft.row() + static_cast<int>(row),
                                              topLeft.column() + static_cast<int>(column));
      if (cell.isValid() && cell.flags().testFlag(Qt::ItemIsEditable))
        model()->setData(cell, QString::fromStdString(block[row][column]).trimmed(), Qt::EditRole);
    }
  }
}

void TThemeGridView::RunMenuCommand(int id) {
  switch (id) {
    case kCopyId:
      CopyCells();
      break;
    case kCutId:
      CutCells();
      break;
    case kPasteId:
      PasteCells();
      break;
    case kDeleteId:
      DeleteCells();
      break;
    case kAllSelectId:
      selectAll();
      break;
    default:
      break;
  }
}

void TThemeGridView::keyPressEvent(QKeyEvent* event) {
  // Enter opens the cell (the view would only report it as activated).
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      state() != EditingState && currentIndex().isValid()) {
    edit(currentIndex());
    return;
  }
  QTableView::keyPressEvent(event);
}

QModelIndex TThemeGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  const QModelIndex current = currentIndex();
  if ((cursorAction != MovePageUp && cursorAction != MovePageDown) || !current.isValid() ||
      model() == nullptr)
    return QTableView::moveCursor(cursorAction, modifiers);
  const int step = cursorAction == MovePageUp ? -kPageRows : kPageRows;
  const int row = std::clamp(current.row() + step, 0, model()->rowCount() - 1);
  return model()->index(row, current.column());
}

void TThemeGridView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  for (const CommandRow& row : BlockRows(kListViewContextBlock)) {
    if (row.kind == RowKind::kSeparator) {
      menu.addSeparator();
    } else if (row.kind == RowKind::kItem) {
      const int id = row.id;
      QAction* action = menu.addAction(QString::fromStdString(caption_(row.name, row.caption)));
      connect(action, &QAction::triggered, this, [this, id] { RunMenuCommand(id); });
    }
  }
  menu.exec(event->globalPos());
}

}  // namespace zelvora
