#include "gui/browser/EnginePage.h"

namespace zelvora {

bool TEnginePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  return !beforeNavigate || beforeNavigate(url, type, isMainFrame);
}

QWebEnginePage* TEnginePage::createWindow(WebWindowType) {
  return newWindow ? newWindow() : nullptr;
}

void TEnginePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message,
                                           int, const QString&) {
  if (consoleLine)
    consoleLine(message);
}

}  // namespace zelvora
