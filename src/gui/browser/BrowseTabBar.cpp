#include "gui/browser/BrowseTabBar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QToolButton>
#include <QToolTip>

#include "gui/toolkit/Text.h"

namespace zelvora {

namespace {

constexpr int kCaptionInsetX = 12;
constexpr int kCaptionInsetY = 2;
constexpr int kProgressHeight = 2;
constexpr int kArrowWidth = 10;

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow, const char* name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setArrowType(arrow);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->hide();
  return button;
}

}  // namespace

TBrowseTabBar::TBrowseTabBar(QWidget* parent)
    : QTabBar(parent), progressColour_(palette().color(QPalette::Highlight)) {
  setObjectName(QStringLiteral("TabBar"));
  setDrawBase(false);
  setExpanding(false);
  setElideMode(Qt::ElideNone);
  setUsesScrollButtons(true);
  backArrow_ = ArrowButton(this, Qt::LeftArrow, "TabBack");
  forwardArrow_ = ArrowButton(this, Qt::RightArrow, "TabForward");
  connect(this, &QTabBar::currentChanged, this, [this] { PlaceArrows(); });
}

void TBrowseTabBar::SetTabSize(const QSize& size) {
  tabSize_ = size;
  updateGeometry();
  update();
}

QSize TBrowseTabBar::tabSizeHint(int index) const {
  QSize hint = QTabBar::tabSizeHint(index);
  // Room for the caption's insets, which the style does not know about.
  hint.rwidth() += 2 * kCaptionInsetX;
  if (tabSize_.width() > 0)
    hint.setWidth(tabSize_.width());
  if (tabSize_.height() > 0)
    hint.setHeight(tabSize_.height());
  return hint;
}

int TBrowseTabBar::InsertCaptionTab(int index, const QString& caption) {
  return insertTab(index, LiteralCaption(caption));
}

void TBrowseTabBar::SetCaption(int index, const QString& caption) {
  setTabText(index, LiteralCaption(caption));
}

QString TBrowseTabBar::Caption(int index) const {
  return tabText(index).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QRect TBrowseTabBar::CaptionRect(int index) const {
  return tabRect(index).adjusted(kCaptionInsetX, kCaptionInsetY, -kCaptionInsetX, -kCaptionInsetY);
}

void TBrowseTabBar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  const QFont normal = font();
  QFont current = normal;
  current.setBold(true);
  for (int index = 0; index < count(); ++index) {
    QStyleOptionTab option;
    initStyleOption(&option, index);
    option.text.clear();
    painter.drawControl(QStyle::CE_TabBarTabShape, option);
    const QRect caption = CaptionRect(index);
    painter.setFont(index == currentIndex() ? current : normal);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.save();
    painter.setClipRect(caption);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     Caption(index));
    painter.restore();
    const TabLook look = lookSource_ ? lookSource_(index) : TabLook{};
    if (look.progressPercent >= 1 && look.progressPercent <= 99) {
      const int width = (caption.width() * look.progressPercent + 50) / 100;
      painter.fillRect(
          QRect(caption.left(), caption.bottom() - kProgressHeight + 1, width, kProgressHeight),
          progressColour_);
    }
  }
}

bool TBrowseTabBar::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const int index = tabAt(help->pos());
    const QString tip = TipText(index);
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), LiteralToolTip(tip), this);
    return true;
  }
  return QTabBar::event(event);
}

void TBrowseTabBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    const int index = tabAt(event->position().toPoint());
    if (index >= 0)
      emit TabMiddleClicked(index);
    return;
  }
  QTabBar::mouseReleaseEvent(event);
}

void TBrowseTabBar::SetArrows(bool back, bool forward) {
  canGoBack_ = back;
  canGoForward_ = forward;
  PlaceArrows();
}

void TBrowseTabBar::tabLayoutChange() {
  QTabBar::tabLayoutChange();
  PlaceArrows();
}

void TBrowseTabBar::resizeEvent(QResizeEvent* event) {
  QTabBar::resizeEvent(event);
  PlaceArrows();
}

void TBrowseTabBar::PlaceArrows() {
  // The base class lays its tabs out while it is being made, before the buttons exist.
  if (backArrow_ == nullptr || forwardArrow_ == nullptr)
    return;
  const int current = currentIndex();
  if (current < 0) {
    backArrow_->hide();
    forwardArrow_->hide();
    return;
  }
  // On the current tab, from its top to just above its bottom edge.
  QRect tab = tabRect(current).adjusted(1, 2, -1, -2);
  tab.setTop(tab.top() - 2);
  backArrow_->setGeometry(tab.left() + 1, tab.top(), kArrowWidth, tab.height());
  forwardArrow_->setGeometry(tab.right() - 11, tab.top(), kArrowWidth, tab.height());
  backArrow_->setVisible(canGoBack_);
  forwardArrow_->setVisible(canGoForward_);
  backArrow_->raise();
  forwardArrow_->raise();
}

}  // namespace zelvora
