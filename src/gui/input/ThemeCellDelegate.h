#pragma once

// The in-place edit box of the theme editor's grids and its keys: the shortcut column captures
// the keys pressed as a binding's text, the gesture column edits direction labels with the arrow
// keys and its own buttons, and Tab, Escape and Enter close the box everywhere.

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

#include "core/input/ThemeCellKeys.h"

namespace zelvora {

class TThemeCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TThemeCellDelegate(QObject* parent);

  // The direction labels the gesture column inserts and the caption of its backspace button.
  void SetLabels(GestureLabels labels, const QString& backSpace);
  // The edit box of the open editor; null while none is open.
  QLineEdit* EditBox() const { return edit_.data(); }
  // Saves and closes an open editor (before a page is written or left).
  void CommitOpenEditor();

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool OnEditKey(QEvent* event);
  void Apply(const CellKeyResult& result);
  void Release();

  // The editor functions are const for Qt; opening a box starts a fresh capture.
  mutable ThemeCellKeys keys_;
  mutable ThemeColumn column_ = ThemeColumn::kText;
  mutable QPointer<QWidget> editor_;
  mutable QPointer<QLineEdit> edit_;
  GestureLabels labels_;
  QString backSpace_ = QStringLiteral("BS");
};

}  // namespace zelvora
