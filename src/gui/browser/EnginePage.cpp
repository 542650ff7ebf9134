#include "gui/browser/EnginePage.h"

namespace zelvora {

TEnginePage::NestedLoop::NestedLoop(TEnginePage& page) : page_(&page) {
  ++page.nestedLoops_;
}

TEnginePage::NestedLoop::~NestedLoop() {
  if (page_ && --page_->nestedLoops_ == 0)
    emit page_->NestedLoopsEnded();
}

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

void TEnginePage::javaScriptAlert(const QUrl& securityOrigin, const QString& message) {
  const NestedLoop running(*this);
  QWebEnginePage::javaScriptAlert(securityOrigin, message);
}

bool TEnginePage::javaScriptConfirm(const QUrl& securityOrigin, const QString& message) {
  const NestedLoop running(*this);
  return QWebEnginePage::javaScriptConfirm(securityOrigin, message);
}

bool TEnginePage::javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                                   const QString& defaultValue, QString* result) {
  const NestedLoop running(*this);
  return QWebEnginePage::javaScriptPrompt(securityOrigin, message, defaultValue, result);
}

QStringList TEnginePage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                     const QStringList& acceptedMimeTypes) {
  const NestedLoop running(*this);
  return QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
}

}  // namespace zelvora
