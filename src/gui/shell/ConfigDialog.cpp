#include "gui/shell/ConfigDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "core/shell/MainWindowRules.h"
#include "core/tools/DenyList.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/browser/WebSession.h"
#include "gui/input/DefaultBrowserApply.h"
#include "gui/input/ThemeEditor.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/toolkit/Colours.h"
#include "gui/toolkit/DialogKeys.h"
#include "gui/toolkit/OpeningPosition.h"

namespace zelvora {

namespace {

constexpr std::string_view kDialogCaption = "ConfigDialog";
// How often the held Apply button looks whether Alt is still down.
constexpr int kApplyKeyInterval = 100;
constexpr int kSampleValue = 50;
constexpr int kColourSwatchWidth = 32;
constexpr int kColourSwatchHeight = 14;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

std::size_t At(int index) {
  return static_cast<std::size_t>(index);
}

// A spin edit that takes any number typed into it and brings it into its range, instead of
// refusing the keystroke that leaves the range.
class TClampSpinBox : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

 protected:
  QValidator::State validate(QString& input, int& pos) const override {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid)
      return state;
    bool number = false;
    input.toLongLong(&number);
    return number ? QValidator::Intermediate : QValidator::Invalid;
  }

  void fixup(QString& input) const override {
    bool number = false;
    const qlonglong value = input.toLongLong(&number);
    if (number)
      input = QString::number(std::clamp<qlonglong>(value, minimum(), maximum()));
  }
};

QString ProgressStyle(Colour fore, Colour back) {
  return QStringLiteral(
             "QProgressBar { background: %1; border: 1px solid palette(mid); }"
             "QProgressBar::chunk { background: %2; }")
      .arg(ToQColor(back).name(), ToQColor(fore).name());
}

}  // namespace

TConfigDialog::TConfigDialog(TSDIMainWindow& window, int page)
    : QDialog(&window, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      window_(window) {
  setObjectName(Text(std::string(kDialogCaption)));
  setWindowTitle(objectName());
  setAttribute(Qt::WA_DeleteOnClose);
  const TThemeTexts& texts = window.ThemeTexts();

  tree_ = new QTreeWidget;
  tree_->setObjectName(QStringLiteral("PageTree"));
  tree_->header()->hide();
  pages_ = new QStackedWidget;
  std::array<QTreeWidgetItem*, kConfigTreePageCount> items{};
  for (int each = 0; each < kConfigTreePageCount; ++each) {
    const auto treePage = static_cast<ConfigTreePage>(each);
    const auto parent = ConfigPageParent(treePage);
    auto* item = parent ? new QTreeWidgetItem(items[At(*parent)]) : new QTreeWidgetItem(tree_);
    item->setText(0, Text(texts.ConfigPageName(treePage)));
    item->setData(0, Qt::UserRole, each);
    items[At(each)] = item;
    pages_->addWidget(BuildPage(treePage));
  }
  tree_->expandAll();
  int titleWidth = 0;
  for (const QTreeWidgetItem* item : items) {
    titleWidth = std::max(titleWidth, tree_->fontMetrics().horizontalAdvance(item->text(0)));
  }
  // Three levels of indentation, the frame and a little room for the selection.
  tree_->setFixedWidth(titleWidth + 3 * tree_->indentation() + 2 * tree_->frameWidth() + 8);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item == nullptr)
      return;
    const int shown = item->data(0, Qt::UserRole).toInt();
    pages_->setCurrentIndex(shown);
    emit PageShown(shown);
  });

  guard_ = new QCheckBox;
  guard_->setObjectName(QStringLiteral("BaseResetGuard"));
  baseReset_ = new QPushButton(Text(texts.Label(kLabelBaseReset)));
  baseReset_->setObjectName(QStringLiteral("BaseReset"));
  baseReset_->setEnabled(false);
  connect(guard_, &QCheckBox::toggled, baseReset_, &QPushButton::setEnabled);
  connect(baseReset_, &QPushButton::clicked, this,
          [this] { Fill(BaseDefaultSettings(DesktopColours())); });
  auto* ok = new QPushButton(Text(texts.Label(kLabelOk)));
  ok->setObjectName(QStringLiteral("OK"));
  auto* cancel = new QPushButton(Text(texts.Label(kLabelCancel)));
  cancel->setObjectName(QStringLiteral("Cancel"));
  apply_ = new QPushButton(Text(texts.Label(kLabelApply)));
  apply_->setObjectName(QStringLiteral("Apply"));
  for (QPushButton* button : {baseReset_, ok, cancel, apply_}) {
    button->setAutoDefault(false);
  }
  const auto accept = [this] {
    Commit();
    close();
  };
  connect(ok, &QPushButton::clicked, this, accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  connect(apply_, &QPushButton::clicked, this, [this] { Commit(); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(guard_);
  buttons->addWidget(baseReset_);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(apply_);
  auto* body = new QHBoxLayout;
  body->addWidget(tree_);
  body->addWidget(pages_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);
  // Neither sized nor minimised nor maximised: the pages fix the size.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Fill(window.Settings());
  RunAction(kConfigDenyReload);
  SelectPage(page);

  auto* keys = new TDialogKeys(*this);
  keys->AddAltKey(Qt::Key_O, accept);
  keys->AddAltKey(Qt::Key_C, [this] { close(); });
  keys->AddAltKey(Qt::Key_A, [this] { PressApplyByKey(); });
  for (QWidget* control : findChildren<QWidget*>()) {
    control->installEventFilter(this);
  }
  applyKeyTimer_.setInterval(kApplyKeyInterval);
  connect(&applyKeyTimer_, &QTimer::timeout, this, [this] {
    if (!QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier))
      ReleaseApplyKey();
  });

  const ConfigDialogState state = LoadConfigDialogState(window.Paths().settingsFile);
  move(OpeningPosition(window, state.x, state.y));
  window.SetDialogOpen(TrackedDialog::kConfig, this);
  window.RegisterDialog(this, kLayeredConfig);
}

QWidget* TConfigDialog::BuildPage(ConfigTreePage page) {
  auto* panel = new QWidget;
  panel->setObjectName(Text("Page" + std::string(kConfigTreePageNames[page])));
  auto* column = new QVBoxLayout(panel);
  auto* header = new QLabel(Text(window_.ThemeTexts().ConfigPageName(page)));
  QFont bold = header->font();
  bold.setBold(true);
  header->setFont(bold);
  column->addWidget(header);
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::HLine);
  frame->setFrameShadow(QFrame::Sunken);
  column->addWidget(frame);
  if (page == kConfigPageTheme) {
    column->addWidget(new TThemeEditor(window_, panel), 1);
    return panel;
  }

  QVBoxLayout* target = column;
  QHBoxLayout* row = nullptr;
  std::vector<QHBoxLayout*> rows;
  ConfigText group;
  for (const ConfigControl& control : ConfigControls()) {
    if (control.page != page)
      continue;
    if (control.group.source != group.source || control.group.index != group.index) {
      group = control.group;
      target = column;
      if (group.source != ConfigText::kNone) {
        auto* box = new QGroupBox(Text(ConfigCaption(window_.ThemeTexts(), group)));
        target = new QVBoxLayout(box);
        column->addWidget(box);
      }
      row = nullptr;
    }
    const QHBoxLayout* previous = row;
    AddControl(control, *target, row);
    if (row != previous)
      rows.push_back(row);
  }
  // Rows without a widget that takes the spare width keep their controls together on the left;
  // the check boxes of rows with spin edits line up.
  int checkWidth = 0;
  for (QHBoxLayout* line : rows) {
    bool grows = false;
    for (int item = 0; item < line->count(); ++item) {
      const QWidget* widget = line->itemAt(item)->widget();
      grows = grows || (widget != nullptr &&
                        (widget->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag));
      if (item == 0 && line->count() > 1)
        if (const auto* check = qobject_cast<const QCheckBox*>(widget))
          checkWidth = std::max(checkWidth, check->sizeHint().width());
    }
    if (!grows)
      line->addStretch(1);
  }
  for (QHBoxLayout* line : rows) {
    if (line->count() > 2)
      if (auto* check = qobject_cast<QCheckBox*>(line->itemAt(0)->widget()))
        check->setMinimumWidth(checkWidth);
  }
  const bool growing =
      std::any_of(ConfigControls().begin(), ConfigControls().end(), [page](const auto& control) {
        return control.page == page && control.kind == ConfigControlKind::kDenyText;
      });
  if (!growing)
    column->addStretch(1);
  return panel;
}

void TConfigDialog::AddControl(const ConfigControl& control, QVBoxLayout& column,
                               QHBoxLayout*& row) {
  const QString caption = Text(ConfigCaption(window_.ThemeTexts(), control.caption));
  if (!control.sameRow || row == nullptr) {
    row = new QHBoxLayout;
    column.addLayout(row);
  }
  QHBoxLayout* line = row;
  const auto labelled = [&](QWidget* field) {
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    line->addWidget(label);
    line->addWidget(field);
  };
  switch (control.kind) {
    case ConfigControlKind::kCheck:
    case ConfigControlKind::kCheckSpin:
    case ConfigControlKind::kLayered: {
      auto* check = new QCheckBox(caption);
      check->setObjectName(QStringLiteral("Flag%1").arg(control.index));
      checks_[At(control.index)] = check;
      line->addWidget(check);
      if (control.kind == ConfigControlKind::kCheck)
        break;
      QSpinBox* spin = MakeSpin(control, control.second);
      line->addWidget(spin);
      if (control.kind == ConfigControlKind::kLayered) {
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setObjectName(QStringLiteral("Slider%1").arg(control.second));
        slider->setRange(control.min, control.max);
        slider->setMinimumWidth(kLayeredValueMax / 2);
        connect(slider, &QSlider::valueChanged, spin, &QSpinBox::setValue);
        connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
        line->addWidget(slider, 1);
      }
      break;
    }
    case ConfigControlKind::kSpin: {
      QSpinBox* spin = MakeSpin(control, control.index);
      labelled(spin);
      // The spin edits in a start mode's group are its W/H or X/Y.
      for (std::size_t mode = 0; mode < startModes_.size(); ++mode) {
        if (startModes_[mode] != nullptr && control.group.source == startModeGroups_[mode].source &&
            control.group.index == startModeGroups_[mode].index)
          startModeSpins_[mode].push_back(spin);
      }
      break;
    }
    case ConfigControlKind::kCombo: {
      auto* combo = new QComboBox;
      combo->setObjectName(QStringLiteral("TabAction%1").arg(control.index));
      for (const ControlLabel item : control.items) {
        combo->addItem(Text(window_.ThemeTexts().Label(item)));
      }
      combos_[At(control.index)] = combo;
      labelled(combo);
      break;
    }
    case ConfigControlKind::kEdit: {
      auto* edit = new QLineEdit;
      edit->setObjectName(QStringLiteral("String%1").arg(control.index));
      edit->setMaxLength(kConfigEditMax);
      edits_[At(control.index)] = edit;
      if (caption.isEmpty())
        line->addWidget(edit, 1);
      else
        labelled(edit);
      break;
    }
    case ConfigControlKind::kStartMode: {
      const TThemeTexts& texts = window_.ThemeTexts();
      auto* group = new QButtonGroup(this);
      const ControlLabel last = control.index == 0 ? kLabelLastSize : kLabelLastPos;
      const std::array<ControlLabel, kStartModeCount> labels = {kLabelStartNone, last,
                                                                kLabelStartFixed};
      for (int mode = 0; mode < kStartModeCount; ++mode) {
        auto* radio = new QRadioButton(Text(texts.Label(labels[At(mode)])));
        radio->setObjectName(QStringLiteral("StartMode%1_%2").arg(control.index).arg(mode));
        group->addButton(radio, mode);
        line->addWidget(radio);
      }
      startModes_[At(control.index)] = group;
      startModeGroups_[At(control.index)] = control.group;
      connect(group, &QButtonGroup::idToggled, this, [this] { UpdateStartModeSpins(); });
      break;
    }
    case ConfigControlKind::kColour: {
      QPushButton* button = MakeColourButton(control.index);
      if (caption.isEmpty())
        line->addWidget(button);
      else
        labelled(button);
      break;
    }
    case ConfigControlKind::kButton: {
      auto* button = new QPushButton(caption);
      button->setObjectName(QStringLiteral("Action%1").arg(control.index));
      button->setAutoDefault(false);
      const auto action = static_cast<ConfigAction>(control.index);
      connect(button, &QPushButton::clicked, this, [this, action] { RunAction(action); });
      line->addWidget(button);
      break;
    }
    case ConfigControlKind::kDenyText:
      denyText_ = new QPlainTextEdit;
      denyText_->setObjectName(QStringLiteral("DenyText"));
      denyText_->setLineWrapMode(QPlainTextEdit::NoWrap);
      denyText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
      line->addWidget(denyText_);
      column.setStretchFactor(line, 1);
      break;
    case ConfigControlKind::kSample:
      sample_ = new QProgressBar;
      sample_->setObjectName(QStringLiteral("Sample"));
      sample_->setRange(0, 100);
      sample_->setValue(kSampleValue);
      sample_->setTextVisible(false);
      labelled(sample_);
      break;
    case ConfigControlKind::kNote:
      line->addWidget(new QLabel(caption));
      break;
    case ConfigControlKind::kSessionCheck: {
      auto* check = new QCheckBox(caption);
      check->setObjectName(QStringLiteral("Session%1").arg(control.index));
      sessionChecks_[At(control.index)] = check;
      line->addWidget(check);
      break;
    }
    case ConfigControlKind::kSessionSpin: {
      QSpinBox* spin = MakeClampSpin(control, QStringLiteral("Session%1").arg(control.index));
      sessionSpins_[At(control.index)] = spin;
      labelled(spin);
      break;
    }
  }
}

QSpinBox* TConfigDialog::MakeClampSpin(const ConfigControl& control, const QString& name) {
  auto* spin = new TClampSpinBox;
  spin->setObjectName(name);
  spin->setRange(control.min, control.max);
  spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  spin->setKeyboardTracking(false);
  return spin;
}

QSpinBox* TConfigDialog::MakeSpin(const ConfigControl& control, int integer) {
  QSpinBox* spin = MakeClampSpin(control, QStringLiteral("Integer%1").arg(integer));
  spins_[At(integer)] = spin;
  return spin;
}

QPushButton* TConfigDialog::MakeColourButton(int colour) {
  auto* button = new QPushButton;
  button->setObjectName(QStringLiteral("Colour%1").arg(colour));
  button->setAutoDefault(false);
  button->setIconSize(QSize(kColourSwatchWidth, kColourSwatchHeight));
  colourButtons_[At(colour)] = button;
  connect(button, &QPushButton::clicked, this, [this, colour] { ChooseColour(colour); });
  return button;
}

void TConfigDialog::ShowColour(int colour, Colour value) {
  colours_[At(colour)] = value;
  QPixmap swatch(kColourSwatchWidth, kColourSwatchHeight);
  swatch.fill(ToQColor(value));
  QPainter painter(&swatch);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  painter.end();
  colourButtons_[At(colour)]->setIcon(QIcon(swatch));
  colourButtons_[At(colour)]->setToolTip(ToQColor(value).name().toUpper());
  if (colour == kColourToolProgressFore || colour == kColourToolProgressBack)
    sample_->setStyleSheet(
        ProgressStyle(colours_[kColourToolProgressFore], colours_[kColourToolProgressBack]));
}

void TConfigDialog::ChooseColour(int colour) {
  // The custom colours of the chooser are the application's, shared by every button.
  const QColor chosen = QColorDialog::getColor(ToQColor(colours_[At(colour)]), this);
  if (chosen.isValid())
    ShowColour(colour, ToColour(chosen));
}

PlatformColours TConfigDialog::DesktopColours() const {
  const QPalette desktop = QApplication::palette();
  return {ToColour(desktop.color(QPalette::Active, QPalette::Highlight)),
          ToColour(desktop.color(QPalette::Active, QPalette::Button))};
}

void TConfigDialog::RunAction(ConfigAction action) {
  switch (action) {
    case kConfigNowUserAgent:
      edits_[kStringWebUserAgentValue]->setText(window_.Session().CurrentUserAgent());
      break;
    case kConfigIeHomePage:
      edits_[kStringWebHomePageValue]->setText(window_.Session().StartPage());
      break;
    case kConfigNowTabPage:
      if (TMyContainerClass* tab =
              window_.BrowsePage().GetContainer(window_.BrowsePage().CurrentIndex()))
        edits_[kStringWebHomePageValue]->setText(tab->Page()->url().toString());
      break;
    case kConfigBlankPage:
      edits_[kStringWebHomePageValue]->setText(QStringLiteral("about:blank"));
      break;
    case kConfigDenyReload:
      denyText_->setPlainText(Text(ReadDenyList(window_.Session().DenyListPath()))
                                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
      break;
    case kConfigDenyEdit:
      if (QFileInfo::exists(Text(window_.Session().DenyListPath())))
        QDesktopServices::openUrl(QUrl::fromLocalFile(Text(window_.Session().DenyListPath())));
      break;
    case kConfigProgressReset: {
      const PlatformColours desktop = DesktopColours();
      ShowColour(kColourToolProgressFore, desktop.activeCaption);
      ShowColour(kColourToolProgressBack, desktop.buttonFace);
      break;
    }
  }
}

void TConfigDialog::Fill(const TSettings& settings) {
  for (std::size_t flag = 0; flag < checks_.size(); ++flag) {
    if (checks_[flag] != nullptr)
      checks_[flag]->setChecked(settings.flags[flag] == 1);
  }
  for (std::size_t integer = 0; integer < spins_.size(); ++integer) {
    // The spin edit brings a stored value outside its range to the nearest end.
    if (spins_[integer] != nullptr)
      spins_[integer]->setValue(settings.integers[integer]);
  }
  for (std::size_t option = 0; option < sessionChecks_.size(); ++option) {
    if (sessionChecks_[option] != nullptr)
      sessionChecks_[option]->setChecked(settings.tabSession[option] == 1);
    if (sessionSpins_[option] != nullptr)
      sessionSpins_[option]->setValue(settings.tabSession[option]);
  }
  for (std::size_t action = 0; action < combos_.size(); ++action) {
    if (combos_[action] != nullptr)
      combos_[action]->setCurrentIndex(
          std::clamp(settings.tabActions[action], 0, combos_[action]->count() - 1));
  }
  for (std::size_t string = 0; string < edits_.size(); ++string) {
    if (edits_[string] != nullptr)
      edits_[string]->setText(Text(settings.strings[string]));
  }
  startModes_[0]->button(std::clamp(settings.startSize, 0, kStartModeCount - 1))->setChecked(true);
  startModes_[1]->button(std::clamp(settings.startPos, 0, kStartModeCount - 1))->setChecked(true);
  UpdateStartModeSpins();
  for (int colour = 0; colour < kColourCount; ++colour) {
    ShowColour(colour, settings.colours[At(colour)]);
  }
}

TSettings TConfigDialog::Shown() const {
  TSettings shown = window_.Settings();
  for (std::size_t flag = 0; flag < checks_.size(); ++flag) {
    if (checks_[flag] != nullptr)
      shown.flags[flag] = checks_[flag]->isChecked() ? 1 : 0;
  }
  for (std::size_t integer = 0; integer < spins_.size(); ++integer) {
    if (spins_[integer] != nullptr) {
      // A number still being typed counts as typed, brought into range.
      spins_[integer]->interpretText();
      shown.integers[integer] = spins_[integer]->value();
    }
  }
  for (std::size_t option = 0; option < sessionChecks_.size(); ++option) {
    if (sessionChecks_[option] != nullptr)
      shown.tabSession[option] = sessionChecks_[option]->isChecked() ? 1 : 0;
    if (sessionSpins_[option] != nullptr) {
      sessionSpins_[option]->interpretText();
      shown.tabSession[option] = sessionSpins_[option]->value();
    }
  }
  for (std::size_t action = 0; action < combos_.size(); ++action) {
    if (combos_[action] != nullptr)
      shown.tabActions[action] = combos_[action]->currentIndex();
  }
  for (std::size_t string = 0; string < edits_.size(); ++string) {
    if (edits_[string] != nullptr)
      shown.strings[string] = edits_[string]->text().toStdString();
  }
  shown.startSize = startModes_[0]->checkedId();
  shown.startPos = startModes_[1]->checkedId();
  shown.colours = colours_;
  return shown;
}

void TConfigDialog::UpdateStartModeSpins() {
  for (std::size_t mode = 0; mode < startModes_.size(); ++mode) {
    const bool fixed = startModes_[mode]->checkedId() == kStartModeFixed;
    for (QSpinBox* spin : startModeSpins_[mode]) {
      spin->setEnabled(fixed);
    }
  }
}

int TConfigDialog::CurrentPage() const {
  return pages_->currentIndex();
}

void TConfigDialog::SelectPage(int page) {
  const int shown = OpeningConfigPage(page, 0);
  QTreeWidgetItemIterator item(tree_);
  for (; *item != nullptr; ++item) {
    if ((*item)->data(0, Qt::UserRole).toInt() == shown) {
      tree_->setCurrentItem(*item);
      return;
    }
  }
}

void TConfigDialog::Commit() {
  TSettings& record = window_.MutableSettings();
  const std::string denyText = denyText_->toPlainText().toStdString();
  if (!CommitConfiguration(window_.Paths().settingsFile, window_.Session().DenyListPath(), Shown(),
                           CurrentPage(), denyText, record))
    window_.ShowNote(
        QStringLiteral("The settings could not be written to %1 or %2; they hold "
                       "for this run only.")
            .arg(Text(window_.Paths().settingsFile), Text(window_.Session().DenyListPath())));
  window_.ApplySettings();
  window_.Session().ApplyUserAgent();
  ApplyDefaultBrowser(window_, record.Flag(kFlagDefaultBrowser));
  window_.Session().SetDenyList(record.strings[kStringDenyUrlList]);
}

void TConfigDialog::PressApplyByKey() {
  if (applyHeld_)
    return;
  applyHeld_ = true;
  apply_->setDown(true);
  applyKeyTimer_.start();
}

void TConfigDialog::ReleaseApplyKey() {
  if (!applyHeld_)
    return;
  applyHeld_ = false;
  applyKeyTimer_.stop();
  apply_->setDown(false);
  Commit();
}

bool TConfigDialog::eventFilter(QObject* watched, QEvent* event) {
  if (applyHeld_ && event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat() && (key->key() == Qt::Key_A || key->key() == Qt::Key_Alt)) {
      ReleaseApplyKey();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TConfigDialog::closeEvent(QCloseEvent* event) {
  applyKeyTimer_.stop();
  if (!SaveConfigDialogPosition(window_.Paths().settingsFile, x(), y()))
    qWarning("Zelvora: the configuration dialog's position could not be written");
  window_.SetDialogOpen(TrackedDialog::kConfig, nullptr);
  // Not QDialog's own handling: that rejects, and rejecting closes.
  event->accept();
}

void TConfigDialog::reject() {
  // Escape closes as Cancel does, through the close event.
  close();
}

}  // namespace zelvora
