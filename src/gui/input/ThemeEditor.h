#pragma once

// The theme editor: the current theme file in six pages ("Author", "Menu", "Button Tips",
// "Control Labels", "Message" as grids, "Mouse" as the three gesture settings), with "Open",
// "Edit", "Write as", "Define" and "Base Reset". Defining a page writes it into the theme file,
// shows it in the running program at once and keeps the theme for the next start.

#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "core/input/ThemePages.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace zelvora {

class TSDIMainWindow;
class TThemeCellDelegate;
class TThemeGridModel;
class TThemeGridView;

// How the editor asks for files and opens the theme in a text editor; tests replace it.
struct TThemeFileDialogs {
  // A theme file to open, or an empty text when the user gave none; `current` is the theme now.
  std::function<QString(QWidget* parent, const QString& current)> open;
  // The file to write the whole theme into, or an empty text.
  std::function<QString(QWidget* parent, const QString& current)> writeAs;
  // Shows the file in the desktop's editor for it.
  std::function<void(const QString& path)> edit;
};

class TThemeEditor : public QWidget {
  Q_OBJECT

 public:
  enum Button : int { kOpen, kEdit, kWriteAs, kDefine, kBaseReset, kButtonCount };

  TThemeEditor(TSDIMainWindow& window, QWidget* parent);
  ~TThemeEditor() override;

  void SetFileDialogs(TThemeFileDialogs dialogs) { dialogs_ = std::move(dialogs); }

  void ShowPage(ThemePage page);
  // The file the editor reads and writes.
  const std::string& ThemeFile() const { return themeFile_; }
  TThemeGridView& Grid() const { return *grid_; }
  TThemeCellDelegate& CellDelegate() const { return *delegate_; }
  QPushButton* ButtonOf(Button button) const { return buttons_[button]; }

  void Open();
  void Edit();
  void WriteAs();
  void Define();
  void BaseReset();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ThemePageData& PageData(ThemePage page);
  void FillMouseControls();
  void TakeMouseControls();
  void UpdateButtons();
  void ShowWriteError(const std::string& errorText);
  QString Label(ControlLabel label) const;

  TSDIMainWindow& window_;
  std::string themeFile_;
  ThemePage current_ = ThemePage::kAuthor;
  std::array<ThemePageData, kThemePageCount> pages_;
  std::array<bool, kThemePageCount> loaded_{};
  TThemeFileDialogs dialogs_;

  QLineEdit* path_ = nullptr;
  QComboBox* pageBox_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  TThemeGridModel* model_ = nullptr;
  TThemeCellDelegate* delegate_ = nullptr;
  TThemeGridView* grid_ = nullptr;
  QCheckBox* gestureEnable_ = nullptr;
  QCheckBox* sameDirection_ = nullptr;
  QSpinBox* sensitivity_ = nullptr;
  std::array<QPushButton*, kButtonCount> buttons_{};
};

}  // namespace zelvora
