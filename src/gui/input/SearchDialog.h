#pragma once

// The find dialog: a small captionless window, dragged by its surface, with the "KeyWord" box on
// the search dialog's keyword list, "&Whole Words Only", "&Match Case", the "Search Scope" with
// "&Forward" and "&Backward", "Next &Search", "&Cancel", the small close button and a status
// line that stays hidden until a message shows. Its settings are read when it opens and written
// when it closes; it deletes itself on closing.

#include <QDialog>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace zelvora {

class TSDIMainWindow;
class TKeywordBox;

struct FindOptions {
  QString text;
  bool wholeWords = false;
  bool matchCase = false;
  bool backward = false;
};

class TSearchDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TSearchDialog(TSDIMainWindow& window);
  ~TSearchDialog() override;

  // The box's text and the dialog's options.
  FindOptions Options() const;
  void SetText(const QString& text);
  // Checks the direction button that searches that way.
  void SetBackward(bool backward);
  // Takes the box's text into the keyword list (it moves to the top; the list is cut).
  void TakeTextIntoList();
  // An empty text hides the status line.
  void ShowStatus(const QString& text);
  bool StatusShown() const;

 signals:
  // Enter released in the box, "Next &Search" or Alt+F.
  void SearchRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  TSDIMainWindow& window_;
  TKeywordBox* box_ = nullptr;
  QCheckBox* wholeWords_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* forward_ = nullptr;
  QRadioButton* backward_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace zelvora
