#include "gui/shell/Rebar.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "gui/shell/BarWidgets.h"
#include "gui/shell/ButtonIcons.h"

namespace zelvora {

namespace {

constexpr std::array<const char*, kRebarBandCount> kBandNames = {"ToolBar", "AddresBar",
                                                                 "SearchBar"};

// A band's contents, asking for the width its band is to have, so that the bands of one row
// share it out as they did when they were saved, and the address bar gets the room left over.
class BandBody : public QWidget {
 public:
  explicit BandBody(QWidget* parent) : QWidget(parent) {}
  void SetPreferredWidth(int width) {
    if (width == preferredWidth_)
      return;
    preferredWidth_ = width;
    updateGeometry();
  }
  // What the contents need, whatever width is preferred.
  int NaturalWidth() const { return QWidget::sizeHint().width(); }
  QSize sizeHint() const override {
    QSize hint = QWidget::sizeHint();
    hint.setWidth(std::max(hint.width(), preferredWidth_));
    return hint;
  }

 private:
  int preferredWidth_ = 0;
};

BandBody* BodyOf(QToolBar* band) {
  return dynamic_cast<BandBody*>(band->widgetForAction(band->actions().value(0)));
}

}  // namespace

TRebar::TRebar(QMainWindow& window, Sinks sinks)
    : QObject(&window), window_(window), sinks_(std::move(sinks)) {
  for (std::size_t id = 0; id < bands_.size(); ++id) {
    auto* band = new QToolBar(QString::fromLatin1(kBandNames[id]), &window);
    band->setObjectName(QString::fromLatin1(kBandNames[id]));
    band->setAllowedAreas(Qt::TopToolBarArea);
    band->setFloatable(false);
    band->setIconSize(QSize(16, 16));
    bands_[id] = band;
  }

  for (int index = 0; index < kToolbarButtonCount; ++index) {
    const ToolbarButton& button = kToolbarButtons[static_cast<std::size_t>(index)];
    auto* action = new QAction(ButtonIcon(IconKind::kToolbar, index), QString::number(index), this);
    action->setData(button.command);
    action->setCheckable(button.style == ToolbarButtonStyle::kCheck);
    action->setEnabled(!button.startsDisabled);
    // A check button runs its command only: the command itself decides the pressed state.
    connect(action, &QAction::triggered, this, [this, action, command = button.command] {
      if (action->isCheckable())
        action->setChecked(!action->isChecked());
      sinks_.command(command);
    });
    buttons_[static_cast<std::size_t>(index)] = action;
  }

  auto* address = new BandBody(bands_[1]);
  auto* addressLayout = new QHBoxLayout(address);
  addressLayout->setContentsMargins(0, 0, 0, 0);
  addressLayout->setSpacing(1);
  addressBox_ = MakeKeywordCombo("AddressBox", true);
  addressBox_->setMinimumContentsLength(8);
  addressBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  addressLayout->addWidget(addressBox_, 1);
  addressLayout->addWidget(SpeedButton(kSpeedAddressGo, QStringLiteral("Go")));
  bands_[1]->addWidget(address);

  auto* search = new BandBody(bands_[2]);
  auto* searchLayout = new QHBoxLayout(search);
  searchLayout->setContentsMargins(0, 0, 0, 0);
  searchLayout->setSpacing(1);
  searchKeyBox_ = MakeKeywordCombo("SearchKeyBox", true);
  searchKeyBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  searchListBox_ = MakeKeywordCombo("SearchListBox", false);
  searchListBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  searchListBox_->setMinimumContentsLength(4);
  searchLayout->addWidget(searchKeyBox_, 1);
  searchLayout->addWidget(searchListBox_);
  searchListButton_ = new QToolButton;
  searchListButton_->setObjectName(QStringLiteral("SearchListButton"));
  searchListButton_->setArrowType(Qt::DownArrow);
  searchListButton_->setAutoRaise(true);
  searchListButton_->setFixedWidth(12);
  searchLayout->addWidget(searchListButton_);
  searchLayout->addWidget(SpeedButton(kSpeedSearchGo, QStringLiteral("Search")));
  searchLayout->addWidget(SpeedButton(kSpeedFindNext, QStringLiteral("Find Next")));
  searchLayout->addWidget(SpeedButton(kSpeedFindPrevious, QStringLiteral("Find Previous")));
  highlightButton_ = SpeedButton(kSpeedHighlight, QStringLiteral("Highlight"));
  highlightButton_->setCheckable(true);
  searchLayout->addWidget(highlightButton_);
  bands_[2]->addWidget(search);
  window_.installEventFilter(this);
}

QToolButton* TRebar::SpeedButton(int tag, const QString& tip) {
  QToolButton* button = MakeSpeedButton(tag, sinks_.speedButton);
  button->setToolTip(tip);
  return button;
}

void TRebar::Apply(const RebarState& state) {
  for (QToolBar* band : bands_) {
    window_.removeToolBarBreak(band);
    window_.removeToolBar(band);
  }
  for (std::size_t position = 0; position < state.bands.size(); ++position) {
    const RebarBand& saved = state.bands[position];
    QToolBar* band = bands_[static_cast<std::size_t>(saved.id)];
    if (position > 0 && saved.breakBefore)
      window_.addToolBarBreak(Qt::TopToolBarArea);
    window_.addToolBar(Qt::TopToolBarArea, band);
    band->show();
  }
  searchKeyBox_->setMinimumWidth(std::clamp(state.barSearchKeyWidth, 0, 2000));
  applied_ = state;
  SetToolbarLayout(state.toolbar);
  FitBands();
}

void TRebar::FitBands() {
  std::array<int, kRebarBandCount> needs{};
  std::array<int, kRebarBandCount> frames{};
  for (std::size_t id = 0; id < bands_.size(); ++id) {
    const int bandHint = bands_[id]->sizeHint().width();
    const BandBody* body = BodyOf(bands_[id]);
    // The band's handle and margins come on top of its contents.
    frames[id] = body != nullptr ? bandHint - body->sizeHint().width() : 0;
    needs[id] = body != nullptr ? body->NaturalWidth() + frames[id] : bandHint;
  }
  // The user may have moved the bands since they were applied: their rows and order count as
  // they are now, with the widths the bands were given.
  std::array<RebarBand, kRebarBandCount> arrangement = applied_.bands;
  if (window_.isVisible() && bands_[0]->isVisible()) {
    RebarState live;
    Read(live);
    for (RebarBand& band : live.bands) {
      const auto given = std::find_if(applied_.bands.begin(), applied_.bands.end(),
                                      [&band](const RebarBand& b) { return b.id == band.id; });
      if (given != applied_.bands.end())
        band.width = given->width;
    }
    arrangement = live.bands;
  }
  const auto widths = RebarBandWidths(arrangement, needs, window_.width());
  for (std::size_t id = 0; id < bands_.size(); ++id) {
    if (BandBody* body = BodyOf(bands_[id]))
      body->SetPreferredWidth(widths[id] - frames[id]);
  }
}

bool TRebar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Resize)
    FitBands();
  return QObject::eventFilter(watched, event);
}

void TRebar::Read(RebarState& state) const {
  state.toolbar = layout_;
  state.barSearchKeyWidth = searchKeyBox_->width() > 0 && searchKeyBox_->isVisible()
                                ? searchKeyBox_->width()
                                : applied_.barSearchKeyWidth;
  // Hidden bands have no place of their own: the arrangement they were given stands.
  if (!bands_[0]->isVisible()) {
    state.bands = applied_.bands;
    return;
  }
  std::array<BandPlacement, kRebarBandCount> placements;
  for (std::size_t id = 0; id < bands_.size(); ++id) {
    const QRect geometry = bands_[id]->geometry();
    placements[id] = {static_cast<int>(id), geometry.y(), geometry.x(), geometry.width()};
  }
  state.bands = ArrangeRebarBands(placements);
}

void TRebar::SetToolbarLayout(const std::vector<int>& layout) {
  QToolBar* toolbar = bands_[0];
  toolbar->clear();
  for (QAction* separator : separators_) {
    delete separator;
  }
  separators_.clear();
  layout_.clear();
  for (const int index : layout) {
    if (index == kToolbarSeparator) {
      separators_.push_back(toolbar->addSeparator());
    } else if (index >= 0 && index < kToolbarButtonCount) {
      toolbar->addAction(buttons_[static_cast<std::size_t>(index)]);
    } else {
      continue;
    }
    layout_.push_back(index);
  }
  const int sizeIndex = ToolbarIndexOfCommand(3029);
  if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(Button(sizeIndex))))
    button->setPopupMode(QToolButton::MenuButtonPopup);
}

void TRebar::SetTips(std::span<const std::string> tips) {
  for (std::size_t index = 0; index < buttons_.size() && index < tips.size(); ++index) {
    buttons_[index]->setText(QString::fromStdString(tips[index]));
    buttons_[index]->setToolTip(QString::fromStdString(tips[index]));
  }
}

void TRebar::SetDropDownMenu(int index, QMenu* menu) {
  if (index < 0 || index >= kToolbarButtonCount)
    return;
  Button(index)->setMenu(menu);
  if (auto* button = qobject_cast<QToolButton*>(bands_[0]->widgetForAction(Button(index))))
    button->setPopupMode(QToolButton::MenuButtonPopup);
}

void TRebar::SetVisible(bool visible) {
  for (QToolBar* band : bands_) {
    band->setVisible(visible);
  }
}

bool TRebar::IsVisible() const {
  return bands_[0]->isVisibleTo(&window_);
}

QAction* TRebar::ButtonOfCommand(int command) const {
  const int index = ToolbarIndexOfCommand(command);
  return index < 0 ? nullptr : Button(index);
}

}  // namespace zelvora
