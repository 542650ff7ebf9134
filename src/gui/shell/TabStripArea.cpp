#include "gui/shell/TabStripArea.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "core/shell/MainWindowRules.h"
#include "gui/shell/ButtonIcons.h"

namespace zelvora {

namespace {

constexpr int kWindowButtonSize = 14;
constexpr std::array<int, 3> kWindowButtonTags = {kSpeedExit, kSpeedMaximize, kSpeedMinimise};
constexpr std::array<const char*, 3> kWindowButtonNames = {"Exit", "Maximize", "Minimize"};

}  // namespace

TTabStripArea::TTabStripArea(std::function<void(int tag)> speedSink, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QStringLiteral("TabStripArea"));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Dark);
  for (std::size_t index = 0; index < windowButtons_.size(); ++index) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(kWindowButtonNames[index]));
    button->setToolTip(button->objectName());
    button->setIcon(ButtonIcon(IconKind::kSpeed, kWindowButtonTags[index]));
    button->setIconSize(QSize(kWindowButtonSize - 4, kWindowButtonSize - 4));
    button->setFixedSize(kWindowButtonSize, kWindowButtonSize);
    button->setAutoRaise(true);
    button->hide();
    connect(button, &QToolButton::clicked, this,
            [speedSink, tag = kWindowButtonTags[index]] { speedSink(tag); });
    windowButtons_[index] = button;
  }
}

void TTabStripArea::SetContent(QWidget* content) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content);
  for (QToolButton* button : windowButtons_) {
    button->raise();
  }
}

void TTabStripArea::SetWindowButtonsVisible(bool visible) {
  for (QToolButton* button : windowButtons_) {
    button->setVisible(visible);
    button->raise();
  }
  PlaceWindowButtons();
}

void TTabStripArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceWindowButtons();
}

void TTabStripArea::PlaceWindowButtons() {
  // From the right edge leftwards, each moved left by its own width.
  int right = width();
  for (QToolButton* button : windowButtons_) {
    right -= button->width();
    button->move(right, 0);
  }
}

}  // namespace zelvora
