#pragma once

// The tool panel at the left of the main window: the page button and the page's title, the
// option rows of the History, Analysis and Proxy pages, the four trees (one shown at a time),
// and the progress bar of the panel's background jobs, with the small speed buttons that step
// through the pages, hide the panel, stop a job and start the searches.

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "core/input/ThemeTexts.h"
#include "core/shell/Settings.h"
#include "core/shell/WindowState.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPixmap;
class QProgressBar;
class QStackedWidget;
class QToolButton;

namespace zelvora {

class TTreeView;

class TToolPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TToolPanel(std::function<void(int tag)> speedSink, QWidget* parent = nullptr);

  // The check boxes' labels from the theme.
  void SetTexts(const TThemeTexts& texts);
  // Shows the page's option rows and tree; the option controls of the other pages are disabled.
  void ShowPage(int page, const QString& title);
  int Page() const { return page_; }
  // The menu of the page button: the tool-panel menu (rebuilt with the menus).
  void SetPageMenu(QMenu* menu);

  void SetOptions(const WindowState& state);
  void ReadOptions(WindowState& state) const;
  void SetProgressColours(Colour fore, Colour back);
  // While a background job works on `tree`, the tree is disabled and its place shows `picture`
  // with the progress bar; HideJobPicture puts the tree back, enabled, and gives the Favorite
  // tree the focus when it is the one shown.
  void ShowJobPicture(QWidget* tree, const QPixmap& picture);
  void HideJobPicture();

  TTreeView* Tree(int page) const { return trees_[static_cast<std::size_t>(page)]; }
  QComboBox* HistoryKeyBox() const { return historyKeyBox_; }
  QComboBox* AnalysisKeyBox() const { return analysisKeyBox_; }
  QProgressBar* Progress() const { return progress_; }
  QToolButton* PageButton() const { return pageButton_; }
  QLabel* Title() const { return title_; }
  QCheckBox* Option(int index) const { return options_[static_cast<std::size_t>(index)]; }
  QCheckBox* UseIEProxy() const { return useIEProxy_; }
  QCheckBox* BypassLocal() const { return bypassLocal_; }

 signals:
  // Another page became the current one.
  void PageChanged(int page);

 private:
  QToolButton* SpeedButton(int tag);

  std::function<void(int tag)> speedSink_;
  int page_ = -1;
  QToolButton* pageButton_ = nullptr;
  QLabel* title_ = nullptr;
  // The option rows by page; Favorite has none.
  std::array<QWidget*, kToolPanelTreeCount> optionRows_{};
  std::array<QCheckBox*, kToolOptionCount> options_{};
  QCheckBox* useIEProxy_ = nullptr;
  QCheckBox* bypassLocal_ = nullptr;
  QComboBox* historyKeyBox_ = nullptr;
  QComboBox* analysisKeyBox_ = nullptr;
  QStackedWidget* treeStack_ = nullptr;
  std::array<TTreeView*, kToolPanelTreeCount> trees_{};
  QLabel* jobPicture_ = nullptr;
  QPointer<QWidget> jobTree_;
  QProgressBar* progress_ = nullptr;
};

}  // namespace zelvora
