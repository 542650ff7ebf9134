#pragma once

// The toolbar's customise dialog: the buttons not on the toolbar on the left, the toolbar's
// layout on the right, and buttons to move entries between and within the two lists. The caller
// reads the edited layout with Layout() once the dialog is accepted.

#include <QDialog>
#include <QIcon>
#include <QString>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace zelvora {

// How one toolbar button looks in the lists; the vector handed to the dialog is indexed by the
// button number.
struct ToolbarButtonView {
  QIcon icon;
  QString tip;
};

class TToolBarEditDialog : public QDialog {
  Q_OBJECT

 public:
  // Numbers in `layout` that are not a button or a separator are dropped, and a button listed
  // twice keeps its first place only. Buttons missing from `buttons` show their number.
  TToolBarEditDialog(std::vector<ToolbarButtonView> buttons, const std::vector<int>& layout,
                     QWidget* parent = nullptr);

  // The current list from top to bottom, separators as kToolbarSeparator.
  std::vector<int> Layout() const;

 private:
  QListWidgetItem* MakeItem(int button) const;
  void Fill(const std::vector<int>& layout);
  // Puts a button back into the available list at its place in number order.
  void ReturnToAvailable(QListWidgetItem* item);
  void AddSelected();
  void RemoveSelected();
  void MoveSelected(int step);
  void Reset();
  void UpdateButtons();

  std::vector<ToolbarButtonView> buttons_;
  QListWidget* available_;
  QListWidget* current_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* reset_;
};

}  // namespace zelvora
