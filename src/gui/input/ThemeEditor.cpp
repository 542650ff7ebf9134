#include "gui/input/ThemeEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "core/shell/Paths.h"
#include "gui/input/ThemeCellDelegate.h"
#include "gui/input/ThemeGridModel.h"
#include "gui/input/ThemeGridView.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

namespace {

constexpr int kGridPage = 0;
constexpr int kMousePage = 1;

// Column widths in average characters: the text, the key, the gesture; the key name takes the
// rest.
constexpr int kTextColumnChars = 36;
constexpr int kBindingColumnChars = 18;

const QString kThemeFileFilter = QStringLiteral("txt (*.txt)");

QString FolderOf(const QString& path) {
  return QFileInfo(path).absolutePath();
}

TThemeFileDialogs DesktopDialogs() {
  return {
      [](QWidget* parent, const QString& current) {
        return QFileDialog::getOpenFileName(parent, {}, FolderOf(current), kThemeFileFilter);
      },
      [](QWidget* parent, const QString& current) {
        return QFileDialog::getSaveFileName(parent, {}, FolderOf(current), kThemeFileFilter);
      },
      [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); },
  };
}

}  // namespace

TThemeEditor::TThemeEditor(TSDIMainWindow& window, QWidget* parent)
    : QWidget(parent),
      window_(window),
      themeFile_(window.Paths().themeFile),
      dialogs_(DesktopDialogs()) {
  setObjectName(QStringLiteral("ThemeEditor"));
  const TThemeTexts& texts = window_.ThemeTexts();

  path_ = new QLineEdit(this);
  path_->setObjectName(QStringLiteral("ThemeFilePath"));
  path_->setReadOnly(true);
  path_->setFocusPolicy(Qt::ClickFocus);

  pageBox_ = new QComboBox(this);
  pageBox_->setObjectName(QStringLiteral("ThemePages"));
  for (const ControlLabel label : kThemePageLabels)
    pageBox_->addItem(Label(label));

  model_ = new TThemeGridModel(texts, this);
  delegate_ = new TThemeCellDelegate(this);
  delegate_->SetLabels({texts.Label(kLabelGestureLeft), texts.Label(kLabelGestureUp),
                        texts.Label(kLabelGestureRight), texts.Label(kLabelGestureDown)},
                       Label(kLabelGestureBackSpace));
  grid_ = new TThemeGridView(
      [this](std::string_view name, std::string_view builtIn) {
        return ReadMenuCaption(window_.Paths().themeFile, name, builtIn);
      },
      this);
  grid_->setModel(model_);
  grid_->setItemDelegate(delegate_);
  grid_->horizontalHeader()->setStretchLastSection(true);

  auto* mousePage = new QWidget(this);
  gestureEnable_ = new QCheckBox(Label(kLabelEnableGesture), mousePage);
  sameDirection_ = new QCheckBox(Label(kLabelAllowSameDirection), mousePage);
  sensitivity_ = new QSpinBox(mousePage);
  sensitivity_->setRange(kThemeSensitivityMin, kThemeSensitivityMax);
  auto* mouseLayout = new QFormLayout(mousePage);
  mouseLayout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  mouseLayout->addRow(gestureEnable_);
  mouseLayout->addRow(sameDirection_);
  mouseLayout->addRow(Label(kLabelSensitivity), sensitivity_);

  stack_ = new QStackedWidget(this);
  stack_->insertWidget(kGridPage, grid_);
  stack_->insertWidget(kMousePage, mousePage);

  static constexpr ControlLabel kButtonLabels[kButtonCount] = {
      kLabelThemeOpen, kLabelThemeEdit, kLabelThemeWriteAs, kLabelThemeDefine, kLabelBaseReset};
  static constexpr void (TThemeEditor::*kButtonActions[kButtonCount])() = {
      &TThemeEditor::Open, &TThemeEditor::Edit, &TThemeEditor::WriteAs, &TThemeEditor::Define,
      &TThemeEditor::BaseReset};
  auto* buttonRow = new QHBoxLayout;
  for (int button = 0; button < kButtonCount; ++button) {
    buttons_[button] = new QPushButton(Label(kButtonLabels[button]), this);
    buttons_[button]->setAutoDefault(false);
    connect(buttons_[button], &QPushButton::clicked, this, kButtonActions[button]);
    if (button == kBaseReset)
      buttonRow->addStretch(1);
    buttonRow->addWidget(buttons_[button]);
  }

  auto* topRow = new QHBoxLayout;
  topRow->addWidget(pageBox_);
  topRow->addWidget(path_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(topRow);
  layout->addWidget(stack_, 1);
  layout->addLayout(buttonRow);

  connect(pageBox_, &QComboBox::activated, this,
          [this](int index) { ShowPage(static_cast<ThemePage>(index)); });
  ShowPage(ThemePage::kAuthor);
  UpdateButtons();
}

TThemeEditor::~TThemeEditor() {
  // The grid must not reach the pages while they go.
  model_->SetPage(nullptr);
}

QString TThemeEditor::Label(ControlLabel label) const {
  return QString::fromStdString(window_.ThemeTexts().Label(label));
}

ThemePageData& TThemeEditor::PageData(ThemePage page) {
  const auto index = static_cast<std::size_t>(page);
  if (!loaded_[index]) {
    pages_[index] = ReadThemePage(themeFile_, page);
    loaded_[index] = true;
  }
  return pages_[index];
}

void TThemeEditor::ShowPage(ThemePage page) {
  delegate_->CommitOpenEditor();
  if (current_ == ThemePage::kMouse && loaded_[static_cast<std::size_t>(current_)])
    TakeMouseControls();
  current_ = page;
  pageBox_->setCurrentIndex(static_cast<int>(page));
  ThemePageData& data = PageData(page);
  if (page == ThemePage::kMouse) {
    model_->SetPage(nullptr);
    FillMouseControls();
    stack_->setCurrentIndex(kMousePage);
    return;
  }
  model_->SetPage(&data);
  const int character = grid_->fontMetrics().averageCharWidth();
  for (int column = 0; column < model_->columnCount(); ++column) {
    const bool text = model_->ColumnKind(column) == ThemeColumn::kText;
    grid_->setColumnWidth(column, character * (text ? kTextColumnChars : kBindingColumnChars));
  }
  stack_->setCurrentIndex(kGridPage);
}

void TThemeEditor::FillMouseControls() {
  const GestureSettings& mouse = PageData(ThemePage::kMouse).mouse;
  gestureEnable_->setChecked(mouse.enabled);
  sameDirection_->setChecked(mouse.allowSameDirection);
  sensitivity_->setValue(mouse.sensitivity);
}

void TThemeEditor::TakeMouseControls() {
  GestureSettings& mouse = PageData(ThemePage::kMouse).mouse;
  mouse.enabled = gestureEnable_->isChecked();
  mouse.allowSameDirection = sameDirection_->isChecked();
  mouse.sensitivity = sensitivity_->value();
}

void TThemeEditor::UpdateButtons() {
  path_->setText(QString::fromStdString(themeFile_));
  // Editing and defining act on the file itself; without one, "Write as" makes it.
  const bool exists = ThemeFileExists(themeFile_);
  buttons_[kEdit]->setEnabled(exists);
  buttons_[kDefine]->setEnabled(exists);
}

void TThemeEditor::showEvent(QShowEvent* event) {
  UpdateButtons();
  QWidget::showEvent(event);
}

void TThemeEditor::ShowWriteError(const std::string& errorText) {
  QMessageBox::warning(this, window_.windowTitle(),
                       QString::fromStdString(themeFile_ + "\n\n" + errorText));
}

void TThemeEditor::Open() {
  const QString chosen = dialogs_.open(this, QString::fromStdString(themeFile_));
  if (chosen.isEmpty())
    return;
  themeFile_ = chosen.toStdString();
  loaded_.fill(false);
  ShowPage(current_);
  UpdateButtons();
}

void TThemeEditor::Edit() {
  if (ThemeFileExists(themeFile_))
    dialogs_.edit(QString::fromStdString(themeFile_));
}

void TThemeEditor::WriteAs() {
  const QString chosen = dialogs_.writeAs(this, QString::fromStdString(themeFile_));
  if (chosen.isEmpty())
    return;
  delegate_->CommitOpenEditor();
  if (current_ == ThemePage::kMouse)
    TakeMouseControls();
  // Pages not shown yet come from the theme read so far.
  for (std::size_t page = 0; page < kThemePageCount; ++page)
    PageData(static_cast<ThemePage>(page));
  const std::string previous = themeFile_;
  themeFile_ = chosen.toStdString();
  const ThemeWriteResult result = WriteWholeTheme(themeFile_, pages_);
  if (!result.written) {
    ShowWriteError(result.errorText);
    themeFile_ = previous;
  }
  UpdateButtons();
}

void TThemeEditor::Define() {
  if (!ThemeFileExists(themeFile_)) {
    UpdateButtons();
    return;
  }
  delegate_->CommitOpenEditor();
  if (current_ == ThemePage::kMouse)
    TakeMouseControls();
  const ThemeWriteResult result =
      WriteThemePage(themeFile_, PageData(current_), ThemeWrite::kChanged);
  if (!result.written) {
    ShowWriteError(result.errorText);
    return;
  }
  // Nothing may run a command while the menus and bindings are rebuilt.
  window_.setEnabled(false);
  window_.SetThemeFile(themeFile_);
  window_.ApplyThemePage(current_);
  window_.setEnabled(true);
  if (!StoreThemeFile(window_.Paths().settingsFile, themeFile_))
    QMessageBox::warning(
        this, window_.windowTitle(),
        QString::fromStdString(window_.Paths().settingsFile + "\n\n" +
                               std::string(kThemeFileSettingsKey) + "=" + themeFile_ +
                               "\n\nThe settings file cannot be written."));
}

void TThemeEditor::BaseReset() {
  delegate_->CommitOpenEditor();
  ThemePageData& data = PageData(current_);
  const ThemePageData base = BaseThemePage(current_);
  for (std::size_t row = 0; row < data.rows.size() && row < base.rows.size(); ++row)
    data.rows[row].values = base.rows[row].values;
  data.mouse = base.mouse;
  if (current_ == ThemePage::kMouse)
    FillMouseControls();
  else
    model_->Reload();
}

}  // namespace zelvora
