#include "gui/browser/DownloadsWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/browser/Downloads.h"

namespace zelvora {

namespace {

constexpr int kWindowWidth = 520;
constexpr int kWindowHeight = 320;
// The bar's range when the total is known: fine enough for a smooth bar, far from overflowing.
constexpr int kProgressSteps = 1000;

QString StateText(const TDownloads::Item& item) {
  switch (item.state) {
    case TDownloads::State::kRunning:
      return item.text;
    case TDownloads::State::kFinished:
      return TDownloadsWindow::tr("Finished, %1").arg(item.text);
    case TDownloads::State::kFailed:
      return TDownloadsWindow::tr("Failed: %1").arg(item.text);
    case TDownloads::State::kCancelled:
      return TDownloadsWindow::tr("Cancelled");
    case TDownloads::State::kRefused:
      return item.text;
  }
  return {};
}

}  // namespace

TDownloadsWindow::TDownloadsWindow(TDownloads& downloads, QWidget* parent)
    : QWidget(parent, Qt::Window), downloads_(downloads) {
  setObjectName(QStringLiteral("DownloadsWindow"));
  setWindowTitle(tr("Downloads"));
  resize(kWindowWidth, kWindowHeight);
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(list_);
  for (int row = 0; row < static_cast<int>(downloads.Items().size()); ++row)
    AddRow(row);
  connect(&downloads, &TDownloads::Added, this, &TDownloadsWindow::AddRow);
  connect(&downloads, &TDownloads::Changed, this, &TDownloadsWindow::UpdateRow);
}

void TDownloadsWindow::AddRow(int row) {
  auto* widget = new TDownloadRow(downloads_, row, list_);
  auto* item = new QListWidgetItem;
  item->setSizeHint(widget->sizeHint());
  // The newest download comes first.
  list_->insertItem(0, item);
  list_->setItemWidget(item, widget);
  rows_.push_back(widget);
  list_->scrollToTop();
}

void TDownloadsWindow::UpdateRow(int row) {
  if (row >= 0 && row < static_cast<int>(rows_.size()))
    Row(row)->Update();
}

TDownloadRow::TDownloadRow(TDownloads& downloads, int row, QWidget* parent)
    : QWidget(parent), downloads_(downloads), row_(row) {
  setObjectName(QStringLiteral("DownloadRow%1").arg(row));
  auto* layout = new QHBoxLayout(this);
  auto* lines = new QVBoxLayout;
  name_ = new QLabel(this);
  QFont bold = name_->font();
  bold.setBold(true);
  name_->setFont(bold);
  name_->setTextFormat(Qt::PlainText);
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  progress_->setMaximumHeight(progress_->fontMetrics().height() / 2 + 4);
  text_ = new QLabel(this);
  text_->setTextFormat(Qt::PlainText);
  lines->addWidget(name_);
  lines->addWidget(progress_);
  lines->addWidget(text_);
  layout->addLayout(lines, 1);
  cancel_ = new QPushButton(tr("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("Cancel"));
  open_ = new QPushButton(tr("Open"), this);
  open_->setObjectName(QStringLiteral("Open"));
  openFolder_ = new QPushButton(tr("Open Folder"), this);
  openFolder_->setObjectName(QStringLiteral("OpenFolder"));
  for (QPushButton* button : {cancel_, open_, openFolder_}) {
    button->setAutoDefault(false);
    layout->addWidget(button);
  }
  connect(cancel_, &QPushButton::clicked, this, [this] { downloads_.Cancel(row_); });
  connect(open_, &QPushButton::clicked, this, [this] {
    const TDownloads::Item& item = *downloads_.Items()[static_cast<std::size_t>(row_)];
    QDesktopServices::openUrl(QUrl::fromLocalFile(item.Path()));
  });
  connect(openFolder_, &QPushButton::clicked, this, [this] {
    const TDownloads::Item& item = *downloads_.Items()[static_cast<std::size_t>(row_)];
    QDesktopServices::openUrl(QUrl::fromLocalFile(item.folder));
  });
  Update();
}

void TDownloadRow::Update() {
  const TDownloads::Item& item = *downloads_.Items()[static_cast<std::size_t>(row_)];
  const bool running = item.state == TDownloads::State::kRunning;
  const bool finished = item.state == TDownloads::State::kFinished;
  name_->setText(item.name);
  name_->setToolTip(item.folder.isEmpty() ? QString() : item.Path());
  text_->setText(StateText(item));
  progress_->setVisible(running);
  if (item.total > 0) {
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(
        static_cast<int>(std::min(item.received, item.total) * kProgressSteps / item.total));
  } else {
    // No total: the bar shows that something is happening.
    progress_->setRange(0, 0);
  }
  cancel_->setVisible(running);
  open_->setVisible(finished);
  openFolder_->setVisible(finished);
}

}  // namespace zelvora
