#include "gui/input/SearchDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "core/input/DialogSettings.h"
#include "gui/input/DragDropClass.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/toolkit/DialogKeys.h"
#include "gui/toolkit/DragSurface.h"
#include "gui/toolkit/OpeningPosition.h"
#include "gui/toolkit/Text.h"
#include "gui/tools/KeywordBox.h"

namespace zelvora {

namespace {

// The search dialog's list keeps this many texts; no setting changes it.
constexpr int kSearchListMax = 20;
// Room for a search text of a few words.
constexpr int kBoxMinimumChars = 28;

}  // namespace

TSearchDialog::TSearchDialog(TSDIMainWindow& window)
    : QDialog(&window, Qt::Tool | Qt::FramelessWindowHint), window_(window) {
  setObjectName(QStringLiteral("SearchDialog"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  const TThemeTexts& texts = window.ThemeTexts();
  const auto label = [&texts](ControlLabel id) { return FromView(texts.Label(id)); };

  auto* combo = new QComboBox(this);
  combo->setObjectName(QStringLiteral("KeyWord"));
  combo->setEditable(true);
  // The list is the keyword box's to keep: Enter must not add the text a second time.
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  combo->setMinimumWidth(fontMetrics().averageCharWidth() * kBoxMinimumChars);
  box_ = new TKeywordBox(*combo, kListSearchDialog, window.Paths().perUserFolder);
  auto* cross = new QToolButton(this);
  cross->setObjectName(QStringLiteral("Cross"));
  cross->setText(label(kLabelCross));
  cross->setAutoRaise(true);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(label(kLabelKeyWord), this));
  top->addWidget(combo, 1);
  top->addWidget(cross);

  wholeWords_ = new QCheckBox(label(kLabelWholeWordsOnly), this);
  wholeWords_->setObjectName(QStringLiteral("WholeWordsOnly"));
  matchCase_ = new QCheckBox(label(kLabelMatchCase), this);
  matchCase_->setObjectName(QStringLiteral("MatchCase"));
  auto* checks = new QVBoxLayout;
  checks->addWidget(wholeWords_);
  checks->addWidget(matchCase_);

  auto* scope = new QGroupBox(label(kLabelSearchScope), this);
  forward_ = new QRadioButton(label(kLabelForward), scope);
  forward_->setObjectName(QStringLiteral("Forward"));
  backward_ = new QRadioButton(label(kLabelBackward), scope);
  backward_->setObjectName(QStringLiteral("Backward"));
  auto* directions = new QHBoxLayout(scope);
  directions->addWidget(forward_);
  directions->addWidget(backward_);

  auto* next = new QPushButton(label(kLabelNextSearch), this);
  next->setObjectName(QStringLiteral("NextSearch"));
  next->setAutoDefault(false);
  auto* cancel = new QPushButton(label(kLabelCancel), this);
  cancel->setObjectName(QStringLiteral("Cancel"));
  cancel->setAutoDefault(false);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(next);
  buttons->addWidget(cancel);

  auto* options = new QHBoxLayout;
  options->addLayout(checks);
  options->addWidget(scope);
  options->addStretch(1);
  options->addLayout(buttons);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  status_->hide();

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 4, 4, 6);
  column->addLayout(top);
  column->addLayout(options);
  column->addWidget(status_);
  // The dialog is as large as its contents; it grows by the status line while that shows.
  column->setSizeConstraint(QLayout::SetFixedSize);

  connect(next, &QPushButton::clicked, this, &TSearchDialog::SearchRequested);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  connect(cross, &QToolButton::clicked, this, &QDialog::close);
  new TDragSurface(*this);
  auto* keys = new TDialogKeys(*this);
  keys->AddAltKey(Qt::Key_F, [this] { emit SearchRequested(); });
  keys->AddAltKey(Qt::Key_C, [this] { close(); });
  keys->AddEnterReleased(combo, [this] { emit SearchRequested(); });

  box_->Load(false);
  const SearchDialogSettings settings = LoadSearchDialogSettings(window.Paths().settingsFile);
  // The saved state is that of "&Forward", and "&Forward" searches forward.
  forward_->setChecked(settings.searchForard);
  backward_->setChecked(!settings.searchForard);
  wholeWords_->setChecked(settings.wholeWordsOnly);
  matchCase_->setChecked(settings.matchCase);
  move(OpeningPosition(window, settings.x, settings.y));
  window.SetDialogOpen(TrackedDialog::kSearch, this);
  window.RegisterDialog(this, kLayeredSearch);
  window.DragAccept().AddKeywordBox(*box_);
}

TSearchDialog::~TSearchDialog() = default;

FindOptions TSearchDialog::Options() const {
  return {box_->Text(), wholeWords_->isChecked(), matchCase_->isChecked(), backward_->isChecked()};
}

void TSearchDialog::SetText(const QString& text) {
  box_->SetText(text, true);
}

void TSearchDialog::SetBackward(bool backward) {
  (backward ? backward_ : forward_)->setChecked(true);
}

void TSearchDialog::TakeTextIntoList() {
  box_->Add(kSearchListMax);
}

void TSearchDialog::ShowStatus(const QString& text) {
  status_->setText(text);
  status_->setVisible(!text.isEmpty());
}

bool TSearchDialog::StatusShown() const {
  return !status_->isHidden();
}

void TSearchDialog::keyPressEvent(QKeyEvent* event) {
  // Escape closes through close(), so that the settings are written as by every other way out.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TSearchDialog::closeEvent(QCloseEvent* event) {
  SearchDialogSettings settings;
  settings.x = x();
  settings.y = y();
  settings.searchForard = forward_->isChecked();
  settings.wholeWordsOnly = wholeWords_->isChecked();
  settings.matchCase = matchCase_->isChecked();
  if (!SaveSearchDialogSettings(window_.Paths().settingsFile, settings))
    qWarning("Zelvora: the find dialog's settings could not be written");
  const FileWriteResult saved = box_->Save();
  if (!saved.ok)
    qWarning("Zelvora: %s could not be written: %s", box_->FilePath().c_str(), saved.error.c_str());
  window_.SetDialogOpen(TrackedDialog::kSearch, nullptr);
  QDialog::closeEvent(event);
}

}  // namespace zelvora
