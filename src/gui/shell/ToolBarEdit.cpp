#include "gui/shell/ToolBarEdit.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <utility>

#include "core/shell/WindowState.h"

namespace zelvora {

namespace {

constexpr int kButtonCount = kToolbarButtonMax + 1;

const char* const kTitleText = "Customize Toolbar";
const char* const kAvailableText = "Available toolbar buttons:";
const char* const kCurrentText = "Current toolbar buttons:";
const char* const kSeparatorText = "Separator";
const char* const kAddText = "&Add ->";
const char* const kRemoveText = "<- &Remove";
const char* const kUpText = "Move &Up";
const char* const kDownText = "Move &Down";
const char* const kResetText = "R&eset";

int ButtonOf(const QListWidgetItem* item) {
  return item->data(Qt::UserRole).toInt();
}

// The lists allow a single selection; -1 when nothing is selected. The current index alone does
// not count: a list can have one without showing any row as chosen.
int SelectedRow(const QListWidget* list) {
  const QList<QListWidgetItem*> items = list->selectedItems();
  return items.isEmpty() ? -1 : list->row(items.first());
}

QPushButton* MakeButton(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

QListWidget* MakeList(const char* name, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromUtf8(name));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

QLabel* MakeLabel(const char* text, const char* name, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TToolBarEditDialog::TToolBarEditDialog(std::vector<ToolbarButtonView> buttons,
                                       const std::vector<int>& layout, QWidget* parent)
    : QDialog(parent), buttons_(std::move(buttons)) {
  for (int button = static_cast<int>(buttons_.size()); button < kButtonCount; ++button)
    buttons_.push_back({QIcon(), QString::number(button)});

  setObjectName(QStringLiteral("toolBarEdit"));
  setWindowTitle(QString::fromUtf8(kTitleText));

  available_ = MakeList("available", this);
  current_ = MakeList("current", this);
  add_ = MakeButton(kAddText, "add", this);
  remove_ = MakeButton(kRemoveText, "remove", this);
  up_ = MakeButton(kUpText, "up", this);
  down_ = MakeButton(kDownText, "down", this);
  reset_ = MakeButton(kResetText, "reset", this);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  box->setObjectName(QStringLiteral("buttonBox"));
  box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
  box->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));

  auto* moveColumn = new QVBoxLayout;
  moveColumn->addStretch();
  moveColumn->addWidget(add_);
  moveColumn->addWidget(remove_);
  moveColumn->addStretch();
  auto* orderColumn = new QVBoxLayout;
  orderColumn->addWidget(up_);
  orderColumn->addWidget(down_);
  orderColumn->addWidget(reset_);
  orderColumn->addStretch();
  auto* grid = new QGridLayout(this);
  grid->addWidget(MakeLabel(kAvailableText, "availableLabel", available_, this), 0, 0);
  grid->addWidget(MakeLabel(kCurrentText, "currentLabel", current_, this), 0, 2);
  grid->addWidget(available_, 1, 0);
  grid->addLayout(moveColumn, 1, 1);
  grid->addWidget(current_, 1, 2);
  grid->addLayout(orderColumn, 1, 3);
  grid->addWidget(box, 2, 0, 1, 4);

  Fill(layout);

  connect(available_, &QListWidget::itemSelectionChanged, this, &TToolBarEditDialog::UpdateButtons);
  connect(current_, &QListWidget::itemSelectionChanged, this, &TToolBarEditDialog::UpdateButtons);
  connect(available_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    available_->setCurrentItem(item);
    AddSelected();
  });
  connect(current_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    current_->setCurrentItem(item);
    RemoveSelected();
  });
  connect(add_, &QPushButton::clicked, this, &TToolBarEditDialog::AddSelected);
  connect(remove_, &QPushButton::clicked, this, &TToolBarEditDialog::RemoveSelected);
  connect(up_, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveSelected(1); });
  connect(reset_, &QPushButton::clicked, this, &TToolBarEditDialog::Reset);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::vector<int> TToolBarEditDialog::Layout() const {
  std::vector<int> layout;
  layout.reserve(static_cast<std::size_t>(current_->count()));
  for (int row = 0; row < current_->count(); ++row)
    layout.push_back(ButtonOf(current_->item(row)));
  return layout;
}

QListWidgetItem* TToolBarEditDialog::MakeItem(int button) const {
  auto* item = button == kToolbarSeparator
                   ? new QListWidgetItem(QString::fromUtf8(kSeparatorText))
                   : new QListWidgetItem(buttons_[static_cast<std::size_t>(button)].icon,
                                         buttons_[static_cast<std::size_t>(button)].tip);
  item->setData(Qt::UserRole, button);
  return item;
}

void TToolBarEditDialog::Fill(const std::vector<int>& layout) {
  available_->clear();
  current_->clear();
  // A toolbar shows each button once; the layout may come from a hand-edited settings file.
  std::array<bool, kButtonCount> placed{};
  for (const int button : layout) {
    if (button == kToolbarSeparator) {
      current_->addItem(MakeItem(button));
    } else if (button >= 0 && button < kButtonCount && !placed[static_cast<std::size_t>(button)]) {
      placed[static_cast<std::size_t>(button)] = true;
      current_->addItem(MakeItem(button));
    }
  }
  available_->addItem(MakeItem(kToolbarSeparator));
  for (int button = 0; button < kButtonCount; ++button) {
    if (!placed[static_cast<std::size_t>(button)])
      available_->addItem(MakeItem(button));
  }
  UpdateButtons();
}

void TToolBarEditDialog::ReturnToAvailable(QListWidgetItem* item) {
  // Row 0 is the separator, which never leaves the list.
  int row = 1;
  while (row < available_->count() && ButtonOf(available_->item(row)) < ButtonOf(item))
    ++row;
  available_->insertItem(row, item);
}

void TToolBarEditDialog::AddSelected() {
  const int from = SelectedRow(available_);
  if (from < 0)
    return;
  const bool separator = ButtonOf(available_->item(from)) == kToolbarSeparator;
  QListWidgetItem* item = separator ? MakeItem(kToolbarSeparator) : available_->takeItem(from);
  // The selected row of the toolbar stays selected, so that several additions land above it in
  // the order they were made; with nothing selected they append in order.
  const int anchor = SelectedRow(current_);
  current_->insertItem(anchor < 0 ? current_->count() : anchor, item);
  current_->scrollToItem(item);
  if (!separator)
    available_->setCurrentRow(std::min(from, available_->count() - 1));
  UpdateButtons();
}

void TToolBarEditDialog::RemoveSelected() {
  const int row = SelectedRow(current_);
  if (row < 0)
    return;
  QListWidgetItem* item = current_->takeItem(row);
  if (ButtonOf(item) == kToolbarSeparator) {
    delete item;
  } else {
    ReturnToAvailable(item);
    available_->setCurrentItem(item);
  }
  // The row that took the removed one's place is selected, so that Remove can be pressed again.
  if (current_->count() > 0)
    current_->setCurrentRow(std::min(row, current_->count() - 1));
  UpdateButtons();
}

void TToolBarEditDialog::MoveSelected(int step) {
  const int row = SelectedRow(current_);
  const int target = row + step;
  if (row < 0 || target < 0 || target >= current_->count())
    return;
  QListWidgetItem* item = current_->takeItem(row);
  current_->insertItem(target, item);
  current_->setCurrentItem(item);
  UpdateButtons();
}

void TToolBarEditDialog::Reset() {
  Fill(DefaultToolbarLayout());
}

void TToolBarEditDialog::UpdateButtons() {
  add_->setEnabled(SelectedRow(available_) >= 0);
  const int row = SelectedRow(current_);
  remove_->setEnabled(row >= 0);
  up_->setEnabled(row > 0);
  down_->setEnabled(row >= 0 && row < current_->count() - 1);
}

}  // namespace zelvora
