#include "gui/browser/EnginePage.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace zelvora {

namespace {

// A page's dialogs say whose they are: the host of the page that opens them (its whole address
// when it has no host, a local file for instance). A page's text is shown as text, never as
// markup.
QString DialogCaption(const QUrl& origin) {
  return origin.host().isEmpty() ? origin.toString() : origin.host();
}

}  // namespace

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
  QMessageBox box(QMessageBox::Information, DialogCaption(securityOrigin), message, QMessageBox::Ok,
                  QWebEngineView::forPage(this));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool TEnginePage::javaScriptConfirm(const QUrl& securityOrigin, const QString& message) {
  const NestedLoop running(*this);
  QMessageBox box(QMessageBox::Question, DialogCaption(securityOrigin), message,
                  QMessageBox::Ok | QMessageBox::Cancel, QWebEngineView::forPage(this));
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Ok;
}

bool TEnginePage::javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                                   const QString& defaultValue, QString* result) {
  const NestedLoop running(*this);
  QDialog dialog(QWebEngineView::forPage(this));
  dialog.setWindowTitle(DialogCaption(securityOrigin));
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QLabel(message, &dialog);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  layout->addWidget(text);
  auto* answer = new QLineEdit(defaultValue, &dialog);
  layout->addWidget(answer);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  *result = answer->text();
  return true;
}

QStringList TEnginePage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                     const QStringList& acceptedMimeTypes) {
  const NestedLoop running(*this);
  return QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
}

}  // namespace zelvora
