#pragma once

// The window's downloads. The engine hands every download to the program; here it is checked
// against the page's "ActiveX Download" switch (off: programs are refused), saved where the user
// says, written under "<name>.part" and moved to its name once whole. Downloads belong to the
// profile, so they go on when their tab closes; the window's closing asks before it cancels them.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "core/browser/DownloadProgress.h"

class QToolButton;
class QWebEngineDownloadRequest;

namespace zelvora {

class TSDIMainWindow;
class TDownloadsWindow;

class TDownloads : public QObject {
  Q_OBJECT

 public:
  // Where a download goes. `overwriteConfirmed`: the user agreed to replace an existing file of
  // that name (the save dialog asks); without it an existing file is never replaced.
  struct SaveAnswer {
    QString path;
    bool overwriteConfirmed = false;
  };
  // Asks where to save `suggestedPath`; an empty path cancels the download. Tests answer in
  // place of the user.
  using SaveAsker = std::function<SaveAnswer(QWidget* parent, const QString& suggestedPath)>;
  static void SetSaveAsker(SaveAsker asker);

  enum class State { kRunning, kFinished, kFailed, kCancelled, kRefused };
  struct Item {
    QPointer<QWebEngineDownloadRequest> request;
    QString folder;
    QString name;  // the final name; once finished, the name the file got
    bool replace = false;
    State state = State::kRunning;
    qint64 received = 0;
    qint64 total = -1;
    TransferRate rate;
    QString text;  // the progress line, or why the download stopped

    QString Path() const { return folder + u'/' + name; }
    QString PartPath() const;
  };

  explicit TDownloads(TSDIMainWindow& window);
  ~TDownloads() override;

  const std::vector<std::unique_ptr<Item>>& Items() const { return items_; }
  int RunningCount() const;
  void Cancel(int row);
  // At exit, with downloads running: whether the user lets them be cancelled.
  bool AskExit();
  // Cancels every running download and removes its part file.
  void CancelAll();
  void ShowWindow();

 signals:
  void Added(int row);
  void Changed(int row);

 private:
  void Requested(QWebEngineDownloadRequest* request);
  bool ProgramsAllowed(const QWebEngineDownloadRequest& request) const;
  // Claims a free final name in the folder: no file, no part file, no running download has it.
  bool Claim(Item& item, const SaveAnswer& answer);
  int Add(std::unique_ptr<Item> item);
  void StateChanged(int row);
  void Stop(Item& item, State state, const QString& text);
  void UpdateProgress();
  void UpdateButton();

  TSDIMainWindow& window_;
  std::vector<std::unique_ptr<Item>> items_;
  QToolButton* button_ = nullptr;
  QPointer<TDownloadsWindow> list_;
  QTimer progressTimer_;
  QElapsedTimer clock_;
};

}  // namespace zelvora
