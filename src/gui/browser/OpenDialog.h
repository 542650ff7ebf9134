#pragma once

// The open dialog: a small captionless window with an address box, a "new tab" check box and
// OK, Cancel and Select. It is moved by dragging its client area and sized in width only.

#include <QDialog>

#include "core/input/ThemeTexts.h"

class QCheckBox;
class QComboBox;

namespace zelvora {

class TOpenDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinimumWidth = 400;

  TOpenDialog(const TThemeTexts& texts, QWidget* parent);

  QComboBox& Address() const { return *address_; }
  QCheckBox& NewTab() const { return *newTab_; }

 signals:
  // The text is to be opened; the dialog stays open unless OK was pressed.
  void Applied(const QString& text, bool newTab);

 private:
  void ChooseFile();

  QComboBox* address_ = nullptr;
  QCheckBox* newTab_ = nullptr;
};

}  // namespace zelvora
