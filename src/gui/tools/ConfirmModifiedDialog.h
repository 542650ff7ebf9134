#pragma once

// The question "Confirm Modified" asks before a changed tree is left: write it, leave it
// unwritten, or stay. Alt+O writes, Alt+N leaves it unwritten, Alt+C and the "<x>" button stay.

#include <QDialog>
#include <string>

namespace zelvora {

class TThemeTexts;

class TConfirmModifiedDialog : public QDialog {
  Q_OBJECT

 public:
  enum Answer { kCancel = 0, kWrite, kDontWrite };

  // `section` names the tree, `file` its file (or the untitled name).
  TConfirmModifiedDialog(const TThemeTexts& texts, const std::string& section,
                         const std::string& file, QWidget* parent);

  Answer Result() const { return answer_; }

 private:
  Answer answer_ = kCancel;
};

}  // namespace zelvora
