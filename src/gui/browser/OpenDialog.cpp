#include "gui/browser/OpenDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <QToolButton>

#include "core/browser/UrlUtil.h"
#include "gui/toolkit/DragSurface.h"

namespace zelvora {

namespace {

QString Label(const TThemeTexts& texts, ControlLabel label) {
  return QString::fromStdString(texts.Label(label));
}

}  // namespace

TOpenDialog::TOpenDialog(const TThemeTexts& texts, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("OpenDialog"));
  setModal(false);
  new TDragSurface(*this);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 3, 2, 3);
  row->setSpacing(3);
  row->addWidget(new QLabel(Label(texts, kLabelUrlOrFilePath) + u' ', this));
  address_ = new QComboBox(this);
  address_->setObjectName(QStringLiteral("Address"));
  address_->setEditable(true);
  address_->setInsertPolicy(QComboBox::NoInsert);
  address_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  row->addWidget(address_, 1);
  newTab_ = new QCheckBox(Label(texts, kLabelNewTabOpen), this);
  newTab_->setObjectName(QStringLiteral("NewTab"));
  row->addWidget(newTab_);
  auto* ok = new QPushButton(Label(texts, kLabelOk), this);
  auto* cancel = new QPushButton(Label(texts, kLabelCancel), this);
  auto* select = new QPushButton(Label(texts, kLabelSelect), this);
  ok->setObjectName(QStringLiteral("OK"));
  select->setObjectName(QStringLiteral("Select"));
  ok->setAutoDefault(false);
  cancel->setAutoDefault(false);
  select->setAutoDefault(false);
  row->addWidget(ok);
  row->addWidget(cancel);
  row->addWidget(select);
  auto* cross = new QToolButton(this);
  cross->setText(QStringLiteral("x"));
  cross->setAutoRaise(true);
  row->addWidget(cross);
  // Sized in width only: the grip at the right end, the height fixed.
  row->addWidget(new QSizeGrip(this), 0, Qt::AlignBottom);
  setMinimumWidth(kMinimumWidth);
  setFixedHeight(sizeHint().height());

  connect(ok, &QPushButton::clicked, this, [this] {
    emit Applied(address_->currentText(), newTab_->isChecked());
    close();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  connect(cross, &QToolButton::clicked, this, &QDialog::close);
  connect(select, &QPushButton::clicked, this, &TOpenDialog::ChooseFile);
  connect(address_->lineEdit(), &QLineEdit::returnPressed, this,
          [this] { emit Applied(address_->currentText(), newTab_->isChecked()); });
}

void TOpenDialog::ChooseFile() {
  // A "file:" address names its file; start the dialog there.
  QString start = address_->currentText().trimmed();
  const std::string local = LocalPathOfUrl(start.toStdString());
  if (!local.empty())
    start = QString::fromStdString(local);
  const QString chosen =
      QFileDialog::getOpenFileName(this, QString(), start, QStringLiteral("HTML (*.html *.htm)"));
  if (!chosen.isEmpty())
    address_->setEditText(chosen);
}

}  // namespace zelvora
