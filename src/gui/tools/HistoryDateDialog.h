#pragma once

// The history date dialog: the visit range of the history search and of the visited selections
// (From and To dates and times, "Always Today"). OK keeps the range in the settings; a search
// started while the dialog is open takes its unapplied changes over without keeping them.

#include <QDialog>

#include "core/tools/HistorySearch.h"

class QCheckBox;
class QDateEdit;
class QTimeEdit;

namespace zelvora {

class TSDIMainWindow;

class THistoryDateDialog : public QDialog {
  Q_OBJECT

 public:
  explicit THistoryDateDialog(TSDIMainWindow& window);

  // The range as the dialog shows it.
  VisitRangeTexts Texts() const;
  // Whether anything was changed since the dialog opened or OK was pressed.
  bool Changed() const { return changed_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Fill(const VisitRangeTexts& texts);
  void Accept();

  TSDIMainWindow& window_;
  QDateEdit* dateFrom_ = nullptr;
  QDateEdit* dateTo_ = nullptr;
  QTimeEdit* timeFrom_ = nullptr;
  QTimeEdit* timeTo_ = nullptr;
  QCheckBox* alwaysToday_ = nullptr;
  bool changed_ = false;
};

}  // namespace zelvora
