#pragma once

// The select dialog: a small captionless window, dragged by its surface, that receives the
// selections made in pages and acts on them. It shows the select action (a button that steps to
// the next one and a button that pops up the select-action menu), a text field, the entry combo
// box on the select list with its small button, the "Front" and "Back" rows ("<Reload>",
// "<Apply>", "&RegExp", "&Source"), "&OK", "&Cancel", the small close button and the switch to a
// single-line layout. Its settings are read when it opens and written when it closes, with the
// current entry's name as the list's "Select"; it deletes itself on closing.

#include <QDialog>
#include <functional>

#include "core/input/SelectEntry.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace zelvora {

class TSDIMainWindow;

class TSelectDialog : public QDialog {
  Q_OBJECT

 public:
  // `current` is the current select entry of the selection actions: choosing an entry or
  // "<Apply>" changes it.
  TSelectDialog(TSDIMainWindow& window, SelectEntry& current);
  ~TSelectDialog() override;

  QString Text() const;
  void SetText(const QString& text);
  // The action buttons show the select action `action` (0..4) by its plain name.
  void ShowAction(int action);

  // Asks for the file of a new select list (a save-file dialog started in `folder`); an empty
  // answer gives up. Tests answer in place of the user.
  using ListFileAsker = std::function<QString(QWidget* parent, const QString& folder)>;
  static void SetListFileAsker(ListFileAsker asker);

 signals:
  // The select action is to be performed on the text: Enter released in the text field, or
  // Enter in the entry combo box or its small button once the entry exists.
  void PerformRequested(const QString& text);
  // The step button: the next select action (after the last comes the first).
  void StepRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The select list file of the file history; empty when none is set.
  std::string ListFile() const;
  void LoadList();
  // Puts an entry into the "Front" and "Back" rows.
  void ShowEntry(const SelectEntry& entry);
  SelectEntry EntryOfFields() const;
  void ChooseEntry(int index);
  void ReloadEntry();
  void ApplyEntry();
  // Enter in the entry combo box or its small button.
  void EnterEntry();
  // A new list file, asked for and written; false when the user gave up or it failed.
  bool CreateListFile();
  void SetSingle(bool single);
  void ShowWriteError(const FileWriteResult& result);

  TSDIMainWindow& window_;
  SelectEntry& current_;
  QPushButton* action_ = nullptr;
  QLineEdit* text_ = nullptr;
  QComboBox* entries_ = nullptr;
  QLineEdit* front_ = nullptr;
  QLineEdit* back_ = nullptr;
  QCheckBox* regExp_ = nullptr;
  QCheckBox* source_ = nullptr;
  QToolButton* single_ = nullptr;
  QWidget* rows_ = nullptr;
};

}  // namespace zelvora
