#include "gui/input/ThemeCellDelegate.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "gui/input/KeyMapping.h"
#include "gui/input/ThemeGridModel.h"

namespace zelvora {

namespace {

// The modifier keys by their own codes; every other key as the key-name table knows it.
std::optional<std::uint16_t> EditKeyCode(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Shift:
      return kVirtualKeyShift;
    case Qt::Key_Control:
      return kVirtualKeyControl;
    case Qt::Key_Alt:
      return kVirtualKeyAlt;
    default:
      return VirtualKeyOf(key);
  }
}

// The gesture column's box: the edit field with a backspace button and four arrow buttons, each
// of which hands the field the key it stands for, so a click edits as the key would.
QWidget* MakeGestureBox(QWidget* parent, QLineEdit*& edit, const QString& backSpace) {
  auto* box = new QWidget(parent);
  box->setAutoFillBackground(true);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  edit = new QLineEdit(box);
  layout->addWidget(edit, 1);
  const auto addButton = [&](Qt::Key key, Qt::ArrowType arrow, const QString& text) {
    auto* button = new QToolButton(box);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    if (arrow == Qt::NoArrow)
      button->setText(text);
    else
      button->setArrowType(arrow);
    button->setObjectName(QStringLiteral("GestureKey%1").arg(int(key)));
    QObject::connect(button, &QToolButton::clicked, edit, [edit, key] {
      QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    });
    layout->addWidget(button);
  };
  addButton(Qt::Key_Backspace, Qt::NoArrow, backSpace);
  addButton(Qt::Key_Left, Qt::LeftArrow, {});
  addButton(Qt::Key_Up, Qt::UpArrow, {});
  addButton(Qt::Key_Right, Qt::RightArrow, {});
  addButton(Qt::Key_Down, Qt::DownArrow, {});
  box->setFocusProxy(edit);
  return box;
}

}  // namespace

TThemeCellDelegate::TThemeCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void TThemeCellDelegate::SetLabels(GestureLabels labels, const QString& backSpace) {
  labels_ = std::move(labels);
  backSpace_ = backSpace;
}

void TThemeCellDelegate::CommitOpenEditor() {
  if (editor_.isNull())
    return;
  QWidget* editor = editor_.data();
  emit commitData(editor);
  Release();
  emit closeEditor(editor, NoHint);
}

void TThemeCellDelegate::Release() {
  // The view stops watching the editor it closes; the field inside a composite box is ours to
  // stop watching, or its focus-out would close the box a second time.
  if (!edit_.isNull())
    edit_->removeEventFilter(this);
  edit_ = nullptr;
  editor_ = nullptr;
}

QWidget* TThemeCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const {
  column_ = static_cast<ThemeColumn>(index.data(TThemeGridModel::kColumnKindRole).toInt());
  QLineEdit* edit = nullptr;
  QWidget* editor = nullptr;
  if (column_ == ThemeColumn::kGesture) {
    editor = MakeGestureBox(parent, edit, backSpace_);
  } else {
    edit = new QLineEdit(parent);
    editor = edit;
  }
  edit->setFrame(false);
  edit->installEventFilter(const_cast<TThemeCellDelegate*>(this));
  keys_.SetLabels(labels_);
  keys_.Open(column_);
  editor_ = editor;
  edit_ = edit;
  return editor;
}

void TThemeCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (editor == editor_ && !edit_.isNull())
    edit_->setText(index.data(Qt::EditRole).toString());
}

void TThemeCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
  if (editor == editor_ && !edit_.isNull())
    model->setData(index, edit_->text().trimmed(), Qt::EditRole);
}

void TThemeCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                              const QModelIndex&) const {
  QRect rect = option.rect;
  // The gesture buttons need their room even in a narrow column.
  rect.setWidth(std::max(rect.width(), editor->sizeHint().width()));
  editor->setGeometry(rect);
}

bool TThemeCellDelegate::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_ || edit_.isNull())
    return QStyledItemDelegate::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Keys the box acts on reach it as key presses, whatever shortcut would claim them.
      if (column_ == ThemeColumn::kText)
        break;
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return OnEditKey(event);
    case QEvent::FocusOut:
      // The focus left the field of a composite box: the box decides as a plain box would.
      if (editor_ != edit_)
        return QStyledItemDelegate::eventFilter(editor_.data(), event);
      break;
    default:
      break;
  }
  return QStyledItemDelegate::eventFilter(watched, event);
}

bool TThemeCellDelegate::OnEditKey(QEvent* event) {
  const auto& key = static_cast<const QKeyEvent&>(*event);
  const auto code = EditKeyCode(key);
  if (!code)
    return column_ != ThemeColumn::kText;
  const CellKeyResult result = event->type() == QEvent::KeyPress
                                   ? keys_.KeyDown(*code, edit_->text().isEmpty())
                                   : keys_.KeyUp(*code);
  if (result.action == CellKeyAction::kPass)
    return false;
  Apply(result);
  return true;
}

void TThemeCellDelegate::Apply(const CellKeyResult& result) {
  switch (result.action) {
    case CellKeyAction::kSetText:
      edit_->setText(QString::fromStdString(result.text));
      break;
    case CellKeyAction::kInsert:
      edit_->insert(QString::fromStdString(result.text));
      break;
    case CellKeyAction::kDiscard: {
      QWidget* editor = editor_.data();
      Release();
      emit closeEditor(editor, NoHint);
      break;
    }
    case CellKeyAction::kCommit:
      CommitOpenEditor();
      break;
    case CellKeyAction::kPass:
    case CellKeyAction::kSwallow:
      break;
  }
}

}  // namespace zelvora
