#include "gui/shell/BarWidgets.h"

#include <QComboBox>
#include <QToolButton>

#include "gui/shell/ButtonIcons.h"

namespace zelvora {

QToolButton* MakeSpeedButton(int tag, std::function<void(int tag)> sink) {
  auto* button = new QToolButton;
  button->setObjectName(QStringLiteral("Speed%1").arg(tag));
  button->setIcon(ButtonIcon(IconKind::kSpeed, tag));
  button->setAutoRaise(true);
  QObject::connect(button, &QToolButton::clicked, button,
                   [tag, sink = std::move(sink)] { sink(tag); });
  return button;
}

QComboBox* MakeKeywordCombo(const char* name, bool editable) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(editable);
  box->setInsertPolicy(QComboBox::NoInsert);
  return box;
}

}  // namespace zelvora
