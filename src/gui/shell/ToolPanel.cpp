#include "gui/shell/ToolPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "core/shell/MainWindowRules.h"
#include "gui/shell/BarWidgets.h"
#include "gui/shell/ButtonIcons.h"
#include "gui/toolkit/Colours.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

// The labels of the option check boxes, in the order of kToolOptionKeys.
constexpr std::array<ControlLabel, kToolOptionCount> kOptionLabels = {
    kLabelUrl, kLabelTitle, kLabelRegExp, kLabelDate, kLabelLock,
    kLabelUrl, kLabelTitle, kLabelRegExp, kLabelDir,  kLabelLock};

QHBoxLayout* Row() {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  return row;
}

QComboBox* KeywordBox(const char* name) {
  QComboBox* box = MakeKeywordCombo(name, true);
  box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  // Never narrower than a few words, however narrow the panel is dragged.
  box->setMinimumContentsLength(8);
  return box;
}

}  // namespace

TToolPanel::TToolPanel(std::function<void(int tag)> speedSink, QWidget* parent)
    : QWidget(parent), speedSink_(std::move(speedSink)) {
  setObjectName(QStringLiteral("ToolPanel"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(2, 2, 0, 2);
  column->setSpacing(2);

  auto* header = Row();
  pageButton_ = new QToolButton;
  pageButton_->setObjectName(QStringLiteral("PageButton"));
  pageButton_->setIcon(ButtonIcon(IconKind::kToolbar, ToolbarIndexOfCommand(3063)));
  pageButton_->setPopupMode(QToolButton::InstantPopup);
  pageButton_->setAutoRaise(true);
  title_ = new QLabel;
  title_->setObjectName(QStringLiteral("ToolTitle"));
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  header->addWidget(pageButton_);
  header->addWidget(title_, 1);
  for (const int tag : {kSpeedPreviousPage, kSpeedNextPage, kSpeedStopTask, kSpeedToggleTool}) {
    header->addWidget(SpeedButton(tag));
  }
  column->addLayout(header);

  for (std::size_t index = 0; index < options_.size(); ++index) {
    options_[index] = new QCheckBox;
    options_[index]->setObjectName(QString::fromLatin1(
        kToolOptionKeys[index].data(), static_cast<qsizetype>(kToolOptionKeys[index].size())));
  }
  const auto optionRows = [this](int page, QComboBox* keyBox, std::initializer_list<int> tags) {
    auto* rows = new QWidget;
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    auto* keyRow = Row();
    keyRow->addWidget(keyBox, 1);
    for (const int tag : tags) {
      keyRow->addWidget(SpeedButton(tag));
    }
    layout->addLayout(keyRow);
    auto* checks = Row();
    const int first = page == kToolHistory ? 0 : kToolOptionCount / 2;
    for (int index = first; index < first + kToolOptionCount / 2; ++index) {
      checks->addWidget(options_[static_cast<std::size_t>(index)]);
    }
    checks->addStretch(1);
    layout->addLayout(checks);
    return rows;
  };
  historyKeyBox_ = KeywordBox("HistoryKeyBox");
  analysisKeyBox_ = KeywordBox("AnalysisKeyBox");
  optionRows_[kToolHistory] =
      optionRows(kToolHistory, historyKeyBox_, {kSpeedHistorySearch, kSpeedHistoryDate});
  optionRows_[kToolAnalysis] = optionRows(kToolAnalysis, analysisKeyBox_, {kSpeedAnalysis});
  auto* proxyRows = new QWidget;
  auto* proxyLayout = new QVBoxLayout(proxyRows);
  proxyLayout->setContentsMargins(0, 0, 0, 0);
  proxyLayout->setSpacing(1);
  useIEProxy_ = new QCheckBox;
  useIEProxy_->setObjectName(QStringLiteral("UseIEProxy"));
  bypassLocal_ = new QCheckBox;
  bypassLocal_->setObjectName(QStringLiteral("ProxyBypassLocal"));
  proxyLayout->addWidget(useIEProxy_);
  proxyLayout->addWidget(bypassLocal_);
  optionRows_[kToolProxy] = proxyRows;
  for (QWidget* rows : optionRows_) {
    if (rows != nullptr) {
      rows->hide();
      column->addWidget(rows);
    }
  }

  treeStack_ = new QStackedWidget;
  for (std::size_t page = 0; page < trees_.size(); ++page) {
    auto* tree = new TTreeView;
    tree->setObjectName(
        QString::fromLatin1(kToolPanelTreeNames[page].data(),
                            static_cast<qsizetype>(kToolPanelTreeNames[page].size())));
    treeStack_->addWidget(tree);
    trees_[page] = tree;
  }
  jobPicture_ = new QLabel;
  jobPicture_->setObjectName(QStringLiteral("JobPicture"));
  jobPicture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  treeStack_->addWidget(jobPicture_);
  column->addWidget(treeStack_, 1);

  auto* footer = Row();
  progress_ = new QProgressBar;
  progress_->setObjectName(QStringLiteral("ToolProgress"));
  progress_->setTextVisible(false);
  progress_->setMaximumHeight(12);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  // Shown only while a job runs; the button beside it keeps its place meanwhile.
  QSizePolicy keepPlace = progress_->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  progress_->setSizePolicy(keepPlace);
  progress_->hide();
  footer->addWidget(progress_, 1);
  footer->addWidget(SpeedButton(kSpeedNextPageOther));
  column->addLayout(footer);
}

QToolButton* TToolPanel::SpeedButton(int tag) {
  QToolButton* button = MakeSpeedButton(tag, speedSink_);
  button->setIconSize(QSize(12, 12));
  return button;
}

void TToolPanel::SetTexts(const TThemeTexts& texts) {
  for (std::size_t index = 0; index < options_.size(); ++index) {
    options_[index]->setText(QString::fromStdString(texts.Label(kOptionLabels[index])));
  }
  useIEProxy_->setText(QString::fromStdString(texts.Label(kLabelUseIeProxy)));
  bypassLocal_->setText(QString::fromStdString(texts.Label(kLabelBypassLocalAddresses)));
}

void TToolPanel::ShowPage(int page, const QString& title) {
  const int previous = std::exchange(page_, std::clamp(page, 0, kToolPanelTreeCount - 1));
  title_->setText(title);
  for (std::size_t index = 0; index < optionRows_.size(); ++index) {
    if (QWidget* rows = optionRows_[index]) {
      const bool current = static_cast<int>(index) == page_;
      rows->setEnabled(current);
      rows->setVisible(current);
    }
  }
  if (jobTree_.isNull())
    treeStack_->setCurrentIndex(page_);
  if (page_ != previous)
    emit PageChanged(page_);
}

void TToolPanel::SetPageMenu(QMenu* menu) {
  pageButton_->setMenu(menu);
}

void TToolPanel::SetOptions(const WindowState& state) {
  for (std::size_t index = 0; index < options_.size(); ++index) {
    options_[index]->setChecked(state.toolOptions[index]);
  }
  useIEProxy_->setChecked(state.useIEProxy);
  bypassLocal_->setChecked(state.proxyBypassLocal);
}

void TToolPanel::ReadOptions(WindowState& state) const {
  for (std::size_t index = 0; index < options_.size(); ++index) {
    state.toolOptions[index] = options_[index]->isChecked();
  }
  state.useIEProxy = useIEProxy_->isChecked();
  state.proxyBypassLocal = bypassLocal_->isChecked();
}

void TToolPanel::SetProgressColours(Colour fore, Colour back) {
  // A style sheet: the desktop styles ignore the palette's highlight for progress chunks.
  progress_->setStyleSheet(
      QStringLiteral("QProgressBar { background: %1; border: 1px solid palette(mid); }"
                     "QProgressBar::chunk { background: %2; }")
          .arg(ToQColor(back).name(), ToQColor(fore).name()));
}

void TToolPanel::ShowJobPicture(QWidget* tree, const QPixmap& picture) {
  jobTree_ = tree;
  tree->setEnabled(false);
  jobPicture_->setPixmap(picture);
  treeStack_->setCurrentWidget(jobPicture_);
  progress_->setValue(0);
  progress_->show();
}

void TToolPanel::HideJobPicture() {
  progress_->hide();
  treeStack_->setCurrentIndex(page_);
  jobPicture_->clear();
  if (jobTree_)
    jobTree_->setEnabled(true);
  jobTree_.clear();
  if (page_ == kToolFavorite && isVisible())
    trees_[kToolFavorite]->setFocus();
}

}  // namespace zelvora
