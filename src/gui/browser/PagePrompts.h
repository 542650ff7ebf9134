#pragma once

// What a page asks of the user through the engine, which leaves the asking to the program: a
// login for a site or a proxy, whether to go on past a certificate error, whether a site may use
// the location, notifications, the camera, the microphone or the screen, full screen, and
// printing from a script. Answers about a host count for the run and are never written down.

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <functional>

class QWebEngineFullScreenRequest;

namespace zelvora {

class TAPIBrowsePage;
class TMyContainerClass;
class TFullScreenWindow;

class TPagePrompts : public QObject {
  Q_OBJECT

 public:
  // Whoever answers the questions: the user through dialogs, or a test.
  struct Askers {
    // Fills in the user name and password; false when the user cancelled.
    std::function<bool(QWidget* parent, const QString& host, const QString& realm, QString* user,
                       QString* password)>
        login;
    // Whether to go on to `host` despite the certificate error described by `text`.
    std::function<bool(QWidget* parent, const QString& host, const QString& text)> certificate;
    // Whether `host` may use what `feature` names.
    std::function<bool(QWidget* parent, const QString& host, const QString& feature)> permission;
  };
  static Askers& Ask();

  explicit TPagePrompts(TAPIBrowsePage& strip);
  ~TPagePrompts() override;

  // Connects a new page's questions.
  void PageCreated(TMyContainerClass& page);

 private:
  void Login(QWebEnginePage& page, const QUrl& url, QAuthenticator* authenticator,
             const QString& proxyHost);
  void CertificateError(TMyContainerClass& page, const QWebEngineCertificateError& error);
  void Permission(TMyContainerClass& page, const QUrl& origin, QWebEnginePage::Feature feature);
  void FullScreen(TMyContainerClass& page, QWebEngineFullScreenRequest request);

  TAPIBrowsePage& strip_;
  // Hosts whose certificate errors the user let through in this run.
  QSet<QString> acceptedHosts_;
  // "host feature" pairs, allowed or denied in this run.
  QSet<QString> allowed_;
  QSet<QString> denied_;
  QPointer<TFullScreenWindow> fullScreen_;
};

}  // namespace zelvora
