#pragma once

// The configuration dialog: a page tree on the left, one page of controls on the right, every
// control bound to one entry of the settings record. The pages are built from the table of
// core/input/ConfigPages; loading, "Base Reset", OK and Apply copy whole settings records.

#include <QDialog>
#include <QTimer>
#include <array>
#include <vector>

#include "core/input/ConfigPages.h"
#include "core/shell/Settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;
class QVBoxLayout;

namespace zelvora {

class TSDIMainWindow;

class TConfigDialog : public QDialog {
  Q_OBJECT

 public:
  TConfigDialog(TSDIMainWindow& window, int page);

  int CurrentPage() const;
  void SelectPage(int page);

 signals:
  void PageShown(int page);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildPage(ConfigTreePage page);
  void AddControl(const ConfigControl& control, QVBoxLayout& column, QHBoxLayout*& row);
  // A spin edit for integer `integer` of the record.
  QSpinBox* MakeSpin(const ConfigControl& control, int integer);
  static QSpinBox* MakeClampSpin(const ConfigControl& control, const QString& name);
  QPushButton* MakeColourButton(int colour);
  void RunAction(ConfigAction action);
  void Fill(const TSettings& settings);
  TSettings Shown() const;
  void ShowColour(int colour, Colour value);
  void ChooseColour(int colour);
  void UpdateStartModeSpins();
  PlatformColours DesktopColours() const;
  // OK and Apply.
  void Commit();
  void PressApplyByKey();
  void ReleaseApplyKey();

  TSDIMainWindow& window_;
  QTreeWidget* tree_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  std::array<QCheckBox*, kFlagCount> checks_{};
  std::array<QSpinBox*, kIntegerCount> spins_{};
  std::array<QComboBox*, kTabActionCount> combos_{};
  std::array<QCheckBox*, kTabSessionCount> sessionChecks_{};
  std::array<QSpinBox*, kTabSessionCount> sessionSpins_{};
  std::array<QLineEdit*, kStringCount> edits_{};
  std::array<QButtonGroup*, 2> startModes_{};
  // The spin edits each start mode enables on "Fixed".
  std::array<ConfigText, 2> startModeGroups_{};
  std::array<std::vector<QSpinBox*>, 2> startModeSpins_;
  std::array<QPushButton*, kColourCount> colourButtons_{};
  std::array<Colour, kColourCount> colours_{};
  QPlainTextEdit* denyText_ = nullptr;
  QProgressBar* sample_ = nullptr;
  QCheckBox* guard_ = nullptr;
  QPushButton* baseReset_ = nullptr;
  QPushButton* apply_ = nullptr;
  // Alt+A holds the Apply button down until Alt or A is let go.
  bool applyHeld_ = false;
  QTimer applyKeyTimer_;
};

}  // namespace zelvora
