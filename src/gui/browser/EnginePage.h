#pragma once

// The engine page of one tab: it asks its container before every navigation and every new
// window, and hands the bridge's console lines over.

#include <QWebEnginePage>
#include <functional>

namespace zelvora {

class TEnginePage : public QWebEnginePage {
  Q_OBJECT

 public:
  using QWebEnginePage::QWebEnginePage;

  // Returns whether the navigation may go on.
  std::function<bool(const QUrl& url, NavigationType type, bool isMainFrame)> beforeNavigate;
  // The page to open a new window in; null refuses the window.
  std::function<QWebEnginePage*()> newWindow;
  // A line written to the console (the bridge's messages among them).
  std::function<void(const QString& line)> consoleLine;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceId) override;
};

}  // namespace zelvora
