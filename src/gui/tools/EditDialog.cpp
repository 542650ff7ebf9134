#include "gui/tools/EditDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/tools/TreeFile.h"
#include "gui/input/DragDropClass.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/toolkit/Text.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeJobRunner.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

constexpr std::uint16_t kEditDialogCommand =
    kTrackedDialogCommands[static_cast<std::size_t>(TrackedDialog::kItemEdit)];
// Where the dialog first opens, from the main window's corner.
constexpr int kFirstOffset = 50;

QString Label(const TThemeTexts& texts, ControlLabel label) {
  return FromView(texts.Label(label));
}

QPushButton* Button(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

// Alt+O, Alt+C and Alt+A stay with OK, Cancel and Apply even when the theme's captions mark
// other letters.
void KeepAltKey(QPushButton* button, Qt::Key key, QWidget* dialog) {
  const QKeySequence alt(Qt::ALT | key);
  if (QKeySequence::mnemonic(button->text()) == alt)
    return;
  QObject::connect(new QShortcut(alt, dialog), &QShortcut::activated, button, &QPushButton::click);
}

}  // namespace

TEditDialog::TEditDialog(TSDIMainWindow& window, const EditDialogState& state)
    : QDialog(&window, Qt::Tool), window_(window) {
  setObjectName(QStringLiteral("EditDialog"));
  setModal(false);
  setWindowTitle(FromView(window.CaptionOfCommand(kEditDialogCommand)));
  const TThemeTexts& texts = window.ThemeTexts();
  // Each field under its own row of check box and buttons, so that the field has the dialog's
  // whole width for a long address.
  auto* column = new QVBoxLayout(this);
  const std::array<const char*, 2> names = {"Name", "Value"};
  for (const Field field : {kNameField, kValueField}) {
    const QString name = QLatin1String(names[field]);
    keep_[field] = new QCheckBox(Label(texts, field == kNameField ? kLabelName : kLabelUrl), this);
    keep_[field]->setObjectName(QStringLiteral("Keep") + name);
    fields_[field] = new QLineEdit(this);
    fields_[field]->setObjectName(name + QStringLiteral("Field"));
    fields_[field]->installEventFilter(this);
    QPushButton* reload =
        Button(Label(texts, kLabelReloadMark), QStringLiteral("Reload") + name, this);
    QPushButton* apply =
        Button(Label(texts, kLabelApplyMark), QStringLiteral("Apply") + name, this);
    auto* row = new QHBoxLayout;
    row->addWidget(keep_[field], 1);
    row->addWidget(reload);
    row->addWidget(apply);
    column->addLayout(row);
    column->addWidget(fields_[field]);
    connect(reload, &QPushButton::clicked, this, [this, field] { Fill(field); });
    connect(apply, &QPushButton::clicked, this, [this, field] { ApplyTo(field, tree_, item_); });
  }
  keep_[kNameField]->setChecked(state.keepName);
  keep_[kValueField]->setChecked(state.keepValue);
  changeNext_ = new QCheckBox(Label(texts, kLabelChangeNext), this);
  changeNext_->setObjectName(QStringLiteral("ChangeNext"));
  changeNext_->setChecked(state.changeNext);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(changeNext_, 1);
  QPushButton* ok = Button(Label(texts, kLabelOk), QStringLiteral("OK"), this);
  QPushButton* cancel = Button(Label(texts, kLabelCancel), QStringLiteral("Cancel"), this);
  QPushButton* apply = Button(Label(texts, kLabelApply), QStringLiteral("Apply"), this);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(apply);
  column->addLayout(buttons);
  KeepAltKey(ok, Qt::Key_O, this);
  KeepAltKey(cancel, Qt::Key_C, this);
  KeepAltKey(apply, Qt::Key_A, this);
  connect(ok, &QPushButton::clicked, this, [this] {
    ApplyBoth();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply, &QPushButton::clicked, this, &TEditDialog::ApplyBoth);

  // Sized in width only.
  setFixedHeight(sizeHint().height());
  resize(state.w, height());
  move(state.x.value_or(window.x() + kFirstOffset), state.y.value_or(window.y() + kFirstOffset));

  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    connect(&window.ToolTrees().View(tree), &TTreeView::CaretChanged, this,
            [this, tree](TreeHandle caret) { ShowItem(tree, caret); });
  }
  connect(&window.ToolPanel(), &TToolPanel::PageChanged, this, &TEditDialog::SwitchTree);
  SwitchTree(window.ToolPanel().Page());
  for (QLineEdit* field : fields_) {
    window.DragAccept().AddDialogField(*this, *field);
  }
}

TTreeModel& TEditDialog::Model(int tree) const {
  return window_.ToolTrees().Model(tree);
}

bool TEditDialog::Readable(int tree) const {
  if (tree < 0 || tree >= kToolPanelTreeCount)
    return false;
  const TTreeItemModel* adapter = window_.ToolTrees().View(tree).Adapter();
  return adapter != nullptr && adapter->Attached();
}

void TEditDialog::ShowItem(int tree, TreeHandle item) {
  if (tree != window_.ToolPanel().Page() || !Readable(tree) || !Model(tree).Exists(item))
    return;
  if (changeNext_->isChecked() && item_ != kNoItem) {
    ApplyTo(kNameField, tree, item);
    ApplyTo(kValueField, tree, item);
  }
  Take(tree, item);
}

void TEditDialog::Take(int tree, TreeHandle item) {
  tree_ = tree;
  item_ = item;
  for (const Field field : {kNameField, kValueField}) {
    if (!keep_[field]->isChecked())
      Fill(field);
  }
  fields_[kValueField]->setEnabled(!Model(tree).IsFolder(item));
}

void TEditDialog::SwitchTree(int tree) {
  if (changeNext_->isChecked())
    ApplyBoth();
  keep_[kValueField]->setText(
      Label(window_.ThemeTexts(), tree == kToolProxy ? kLabelProxy : kLabelUrl));
  tree_ = tree;
  item_ = kNoItem;
  if (Readable(tree) && Model(tree).Exists(Model(tree).Caret()))
    Take(tree, Model(tree).Caret());
}

void TEditDialog::Fill(Field field) {
  if (!Readable(tree_) || !Model(tree_).Exists(item_))
    return;
  const TTreeModel& model = Model(tree_);
  if (field == kNameField) {
    fields_[field]->setText(FromView(model.Name(item_)));
  } else {
    const TTreeItemRec* record = model.Record(item_);
    fields_[field]->setText(record != nullptr ? FromView(record->Value) : QString());
  }
}

void TEditDialog::ApplyTo(Field field, int tree, TreeHandle item) {
  if (!fields_[field]->isModified() || window_.JobRunner().Running() || !Readable(tree))
    return;
  const std::string text = fields_[field]->text().toStdString();
  if (field == kNameField)
    RenameItem(Model(tree), item, text);
  else
    ChangeItemValue(Model(tree), item, text);
}

void TEditDialog::ApplyBoth() {
  ApplyTo(kNameField, tree_, item_);
  ApplyTo(kValueField, tree_, item_);
}

void TEditDialog::ApplyAndMoveDown() {
  ApplyBoth();
  if (window_.JobRunner().Running() || !Readable(tree_))
    return;
  TTreeModel& model = Model(tree_);
  const TreeHandle below = ItemBelow(model, model.Caret());
  if (below == kNoItem)
    return;
  SelectTreeItem(model, below);
  TTreeView& view = window_.ToolTrees().View(tree_);
  view.SyncSelection();
  view.scrollTo(view.Adapter()->IndexOf(below));
}

bool TEditDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  const auto& key = static_cast<const QKeyEvent&>(*event);
  for (const Field field : {kNameField, kValueField}) {
    if (watched != fields_[field])
      continue;
    if (key.key() == Qt::Key_F5) {
      Fill(field);
      return true;
    }
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
        !key.modifiers().testFlag(Qt::ControlModifier)) {
      ApplyAndMoveDown();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

EditDialogState TEditDialog::State() const {
  EditDialogState state;
  state.changeNext = changeNext_->isChecked();
  state.keepName = keep_[kNameField]->isChecked();
  state.keepValue = keep_[kValueField]->isChecked();
  state.w = width();
  state.x = x();
  state.y = y();
  return state;
}

}  // namespace zelvora
