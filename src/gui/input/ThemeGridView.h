#pragma once

// The grid of a theme editor page: cells edited in place by Enter, F2 or a second click on the
// selected cell, Page Up and Page Down by 20 rows, a block of cells selected by click and
// Shift-click, and the context menu of the configuration dialog's list views (copy, cut, paste,
// delete, select all) acting on that block.

#include <QTableView>
#include <functional>
#include <string>
#include <string_view>

namespace zelvora {

class TThemeGridView : public QTableView {
  Q_OBJECT

 public:
  // Rows Page Up and Page Down move by.
  static constexpr int kPageRows = 20;

  // `caption` gives a context-menu item's text from its command name and built-in caption.
  using CaptionSource = std::function<std::string(std::string_view name, std::string_view builtIn)>;

  TThemeGridView(CaptionSource caption, QWidget* parent);

  // The context menu's commands on the selected block; only editable cells change.
  void CopyCells();
  void CutCells();
  void PasteCells();
  void DeleteCells();
  void RunMenuCommand(int id);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // The selected block, or the current cell alone.
  QModelIndexList BlockCells() const;

  CaptionSource caption_;
};

}  // namespace zelvora
