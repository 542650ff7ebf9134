#include "gui/input/SelectDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSizeGrip>
#include <QSplitter>
#include <QToolButton>

#include "core/input/DialogSettings.h"
#include "core/tools/KeywordList.h"
#include "gui/input/DragDropClass.h"
#include "gui/shell/MainMenus.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/toolkit/DialogKeys.h"
#include "gui/toolkit/DragSurface.h"
#include "gui/toolkit/OpeningPosition.h"
#include "gui/toolkit/Text.h"
#include "gui/tools/EntryListMenu.h"

namespace zelvora {

namespace {

// The select actions are the menu's items after its title.
constexpr int kSelectActionCount = static_cast<int>(kSelectActionBlock.count) - 1;
// What the divider leaves of the text field and of the entry box at least.
constexpr int kFieldMinimumWidth = 40;
constexpr int kEntriesMinimumWidth = 100;
// The switch shows what it will do: fold the rows away or bring them back.
constexpr char16_t kFoldMark = u'\u25B2';
constexpr char16_t kUnfoldMark = u'\u25BC';

QString AskForListFile(QWidget* parent, const QString& folder) {
  return QFileDialog::getSaveFileName(parent, QString(), folder, QStringLiteral("txt (*.txt)"));
}

TSelectDialog::ListFileAsker& ListFileAskerSlot() {
  static TSelectDialog::ListFileAsker asker = AskForListFile;
  return asker;
}

QPushButton* Button(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QToolButton* SmallButton(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  return button;
}

}  // namespace

void TSelectDialog::SetListFileAsker(ListFileAsker asker) {
  ListFileAskerSlot() = asker ? std::move(asker) : AskForListFile;
}

TSelectDialog::TSelectDialog(TSDIMainWindow& window, SelectEntry& current)
    : QDialog(&window, Qt::Tool | Qt::FramelessWindowHint), window_(window), current_(current) {
  setObjectName(QStringLiteral("SelectDialog"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  const TThemeTexts& texts = window.ThemeTexts();
  const auto label = [&texts](ControlLabel id) { return FromView(texts.Label(id)); };

  const QString title =
      FromView(PlainActionName(window.MenuBuild().model.selectActionCaptions.front()));
  auto* step = SmallButton(QStringLiteral(">"), QStringLiteral("Step"), this);
  action_ = Button(QString(), QStringLiteral("Action"), this);
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("Text"));
  entries_ = new QComboBox(this);
  entries_->setObjectName(QStringLiteral("Entries"));
  entries_->setEditable(true);
  // The entries are the list file's sections; a typed name becomes one only through Enter.
  entries_->setInsertPolicy(QComboBox::NoInsert);
  // The text field and the entry box share the space; the divider sets the field's width.
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(text_);
  splitter->addWidget(entries_);
  text_->setMinimumWidth(kFieldMinimumWidth);
  entries_->setMinimumWidth(kEntriesMinimumWidth);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  auto* enter = SmallButton(QStringLiteral("\u21B5"), QStringLiteral("EnterEntry"), this);
  // The list's file: open another, write it as, or pick one of the recent ones.
  auto* listFile = SmallButton(QString(), QStringLiteral("ListFile"), this);
  listFile->setArrowType(Qt::DownArrow);
  single_ = SmallButton(QString(kFoldMark), QStringLiteral("Single"), this);
  auto* cross = SmallButton(label(kLabelCross), QStringLiteral("Cross"), this);
  cross->setAutoRaise(true);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(title, this));
  top->addWidget(step);
  top->addWidget(action_);
  top->addWidget(splitter, 1);
  top->addWidget(enter);
  top->addWidget(listFile);
  top->addWidget(single_);
  top->addWidget(cross);
  // Sized in width only: the grip at the right end, the height follows the layout.
  top->addWidget(new QSizeGrip(this), 0, Qt::AlignBottom);

  rows_ = new QWidget(this);
  auto* grid = new QGridLayout(rows_);
  grid->setContentsMargins(0, 0, 0, 0);
  front_ = new QLineEdit(rows_);
  front_->setObjectName(QStringLiteral("Front"));
  back_ = new QLineEdit(rows_);
  back_->setObjectName(QStringLiteral("Back"));
  regExp_ = new QCheckBox(label(kLabelRegExp), rows_);
  regExp_->setObjectName(QStringLiteral("RegExp"));
  source_ = new QCheckBox(label(kLabelSource), rows_);
  source_->setObjectName(QStringLiteral("Source"));
  QPushButton* reload = Button(label(kLabelReloadMark), QStringLiteral("Reload"), rows_);
  QPushButton* apply = Button(label(kLabelApplyMark), QStringLiteral("Apply"), rows_);
  QPushButton* ok = Button(label(kLabelOk), QStringLiteral("OK"), rows_);
  QPushButton* cancel = Button(label(kLabelCancel), QStringLiteral("Cancel"), rows_);
  grid->addWidget(new QLabel(label(kLabelFront), rows_), 0, 0);
  grid->addWidget(reload, 0, 1);
  grid->addWidget(front_, 0, 2);
  grid->addWidget(regExp_, 0, 3);
  grid->addWidget(ok, 0, 4);
  grid->addWidget(new QLabel(label(kLabelBack), rows_), 1, 0);
  grid->addWidget(apply, 1, 1);
  grid->addWidget(back_, 1, 2);
  grid->addWidget(source_, 1, 3);
  grid->addWidget(cancel, 1, 4);
  grid->setColumnStretch(2, 1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 3, 2, 4);
  column->addLayout(top);
  column->addWidget(rows_);

  connect(step, &QToolButton::clicked, this, &TSelectDialog::StepRequested);
  connect(action_, &QPushButton::clicked, this, [this] {
    if (QMenu* menu = window_.Menus().Popup(kMenuSelectAction))
      menu->exec(action_->mapToGlobal(QPoint(0, action_->height())));
  });
  connect(entries_, &QComboBox::activated, this, &TSelectDialog::ChooseEntry);
  connect(enter, &QToolButton::clicked, this, &TSelectDialog::EnterEntry);
  connect(listFile, &QToolButton::clicked, this, [this, listFile] {
    ShowEntryListMenu(window_, kFileSelect, listFile->mapToGlobal(QPoint(0, listFile->height())),
                      [this](const std::string& path) {
                        LoadList();
                        current_ = ReadCurrentSelectEntry(path);
                      });
  });
  connect(reload, &QPushButton::clicked, this, &TSelectDialog::ReloadEntry);
  connect(apply, &QPushButton::clicked, this, &TSelectDialog::ApplyEntry);
  connect(single_, &QToolButton::clicked, this, [this] { SetSingle(!rows_->isHidden()); });
  connect(ok, &QPushButton::clicked, this, &QDialog::close);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  connect(cross, &QToolButton::clicked, this, &QDialog::close);
  new TDragSurface(*this);
  auto* keys = new TDialogKeys(*this);
  keys->AddAltKey(Qt::Key_O, [this] { close(); });
  keys->AddAltKey(Qt::Key_C, [this] { close(); });
  keys->AddEnterReleased(text_, [this] { emit PerformRequested(Text()); });
  keys->AddEnterReleased(entries_, [this] { EnterEntry(); });

  // As wide as the longest name, so that stepping through the actions moves nothing.
  int actionWidth = 0;
  for (int action = 0; action < kSelectActionCount; ++action) {
    ShowAction(action);
    actionWidth = std::max(actionWidth, action_->sizeHint().width());
  }
  action_->setMinimumWidth(actionWidth);
  ShowAction(window.Settings().selectAction);
  LoadList();
  const SelectDialogSettings settings = LoadSelectDialogSettings(window.Paths().settingsFile);
  SetSingle(settings.single);
  // At least as wide as the controls need with the text field at its saved width; the field
  // gets that width once the layout has given the divider its room.
  const int fieldExtra = std::max(0, settings.editWidth - text_->minimumWidth());
  resize(std::max(settings.w, minimumSizeHint().width() + fieldExtra), height());
  // A hidden dialog is not laid out again by the resize itself.
  layout()->invalidate();
  layout()->activate();
  splitter->setSizes({settings.editWidth, splitter->width() - settings.editWidth});
  move(OpeningPosition(window, settings.x, settings.y));
  window.SetDialogOpen(TrackedDialog::kSelect, this);
  window.RegisterDialog(this, kLayeredSelect);
  for (QLineEdit* field : {text_, front_, back_}) {
    window.DragAccept().AddDialogField(*this, *field);
  }
}

TSelectDialog::~TSelectDialog() = default;

QString TSelectDialog::Text() const {
  return text_->text();
}

void TSelectDialog::SetText(const QString& text) {
  text_->setText(text);
  // A long selection shows from its start.
  text_->setCursorPosition(0);
}

void TSelectDialog::ShowAction(int action) {
  if (action < 0 || action >= kSelectActionCount)
    return;
  const std::string& caption =
      window_.MenuBuild().model.selectActionCaptions[static_cast<std::size_t>(action) + 1];
  action_->setText(LiteralCaption(FromView(PlainActionName(caption))));
}

std::string TSelectDialog::ListFile() const {
  return window_.FileHistory(kFileSelect).CurrentFile();
}

void TSelectDialog::LoadList() {
  const QSignalBlocker blocker(entries_);
  entries_->clear();
  ShowEntry({});
  const std::string file = ListFile();
  if (file.empty())
    return;
  const SearchList list = ReadSearchList(file);
  for (const std::string& name : list.entries) {
    entries_->addItem(FromView(name));
  }
  entries_->setCurrentIndex(list.selected);
  if (list.selected >= 0)
    ShowEntry(ReadSelectEntry(file, list.entries[static_cast<std::size_t>(list.selected)]));
}

void TSelectDialog::ShowEntry(const SelectEntry& entry) {
  front_->setText(FromView(entry.front));
  back_->setText(FromView(entry.back));
  regExp_->setChecked(entry.regExp);
  source_->setChecked(entry.source);
}

SelectEntry TSelectDialog::EntryOfFields() const {
  return {entries_->currentText().toStdString(), front_->text().toStdString(),
          back_->text().toStdString(), regExp_->isChecked(), source_->isChecked()};
}

void TSelectDialog::ChooseEntry(int index) {
  const std::string file = ListFile();
  if (file.empty() || index < 0)
    return;
  const std::string name = entries_->itemText(index).toStdString();
  if (!WriteSearchSelect(file, name))
    qWarning("Zelvora: the chosen entry could not be written to %s", file.c_str());
  current_ = ReadSelectEntry(file, name);
  ShowEntry(current_);
}

void TSelectDialog::ReloadEntry() {
  const std::string file = ListFile();
  if (!file.empty())
    ShowEntry(ReadSelectEntry(file, entries_->currentText().toStdString()));
}

void TSelectDialog::ApplyEntry() {
  const std::string file = ListFile();
  if (file.empty() || entries_->findText(entries_->currentText(), Qt::MatchExactly) < 0)
    return;
  const SelectEntry entry = EntryOfFields();
  const FileWriteResult written = WriteSelectEntry(file, entry);
  if (!written.ok) {
    ShowWriteError(written);
    return;
  }
  current_ = entry;
}

void TSelectDialog::EnterEntry() {
  const QString name = entries_->currentText();
  if (!name.isEmpty() && entries_->findText(name, Qt::MatchExactly) < 0) {
    if (ListFile().empty() && !CreateListFile())
      return;
    const FileWriteResult written =
        WriteSelectEntry(ListFile(), {name.toStdString(), {}, {}, false, false});
    if (!written.ok) {
      ShowWriteError(written);
      return;
    }
    const QSignalBlocker blocker(entries_);
    entries_->addItem(name);
    entries_->setCurrentIndex(entries_->count() - 1);
  }
  emit PerformRequested(Text());
}

bool TSelectDialog::CreateListFile() {
  TFileHistoryList& history = window_.FileHistory(kFileSelect);
  QString path = ListFileAskerSlot()(this, FromView(history.CurrentFolder()));
  if (path.isEmpty())
    return false;
  if (QFileInfo(path).suffix().isEmpty())
    path += QStringLiteral(".txt");
  const std::string file = path.toStdString();
  const FileWriteResult written = WriteSearchListAs(std::string(), file);
  if (!written.ok) {
    ShowWriteError(written);
    return false;
  }
  history.Add(file, window_.Settings().Int(kIntToolFileHistoryMax));
  history.SetCurrentFile(file);
  return true;
}

void TSelectDialog::SetSingle(bool single) {
  rows_->setHidden(single);
  single_->setText(QString(single ? kUnfoldMark : kFoldMark));
  layout()->activate();
  setFixedHeight(sizeHint().height());
}

void TSelectDialog::ShowWriteError(const FileWriteResult& result) {
  QMessageBox::warning(this, windowTitle(), FromView(result.error));
}

void TSelectDialog::keyPressEvent(QKeyEvent* event) {
  // Escape closes through close(), so that the settings are written as by every other way out.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TSelectDialog::closeEvent(QCloseEvent* event) {
  SelectDialogSettings settings;
  settings.x = x();
  settings.y = y();
  settings.w = width();
  settings.single = rows_->isHidden();
  settings.editWidth = text_->width();
  if (!SaveSelectDialogSettings(window_.Paths().settingsFile, settings))
    qWarning("Zelvora: the select dialog's settings could not be written");
  const std::string file = ListFile();
  if (!file.empty() && !current_.name.empty() && !WriteSearchSelect(file, current_.name))
    qWarning("Zelvora: the current entry could not be written to %s", file.c_str());
  window_.SetDialogOpen(TrackedDialog::kSelect, nullptr);
  QDialog::closeEvent(event);
}

}  // namespace zelvora
