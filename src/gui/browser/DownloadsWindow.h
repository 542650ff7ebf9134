#pragma once

// The downloads of the window in a small window of their own: one row per download with its
// name, a progress bar, the progress line or what became of it, and the buttons that fit its
// state (Cancel while it runs; Open and Open Folder once it is finished).

#include <QWidget>
#include <vector>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace zelvora {

class TDownloads;
class TDownloadRow;

class TDownloadsWindow : public QWidget {
  Q_OBJECT

 public:
  TDownloadsWindow(TDownloads& downloads, QWidget* parent);

  TDownloadRow* Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

 private:
  void AddRow(int row);
  void UpdateRow(int row);

  TDownloads& downloads_;
  QListWidget* list_ = nullptr;
  std::vector<TDownloadRow*> rows_;
};

// One download's row.
class TDownloadRow : public QWidget {
  Q_OBJECT

 public:
  TDownloadRow(TDownloads& downloads, int row, QWidget* parent);
  // Shows the download's present state.
  void Update();

 private:
  TDownloads& downloads_;
  int row_;
  QLabel* name_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* text_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* openFolder_ = nullptr;
};

}  // namespace zelvora
