#pragma once

// The engine page of one tab: it asks its container before every navigation and every new
// window, hands the bridge's console lines over, and knows when a nested event loop runs with
// it on the stack below (its JavaScript dialogs, its file chooser, the strip's dialogs about it).

#include <QPointer>
#include <QWebEnginePage>
#include <functional>

namespace zelvora {

class TEnginePage : public QWebEnginePage {
  Q_OBJECT

 public:
  using QWebEnginePage::QWebEnginePage;

  // Held while a nested event loop runs that returns into code of this page: the page must not
  // be destroyed before it has returned.
  class NestedLoop {
   public:
    explicit NestedLoop(TEnginePage& page);
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;

   private:
    QPointer<TEnginePage> page_;
  };
  bool InNestedLoop() const { return nestedLoops_ > 0; }

  // Returns whether the navigation may go on.
  std::function<bool(const QUrl& url, NavigationType type, bool isMainFrame)> beforeNavigate;
  // The page to open a new window in; null refuses the window.
  std::function<QWebEnginePage*()> newWindow;
  // A line written to the console (the bridge's messages among them).
  std::function<void(const QString& line)> consoleLine;

 signals:
  // The last nested loop over the page has returned.
  void NestedLoopsEnded();

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceId) override;
  // The engine's own dialogs, each in a nested loop.
  void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
  bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                        const QString& defaultValue, QString* result) override;
  QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                          const QStringList& acceptedMimeTypes) override;

 private:
  int nestedLoops_ = 0;
};

}  // namespace zelvora
