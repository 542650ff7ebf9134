#include "gui/browser/PagePrompts.h"

#include <QApplication>
#include <QAuthenticator>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"

namespace zelvora {

// The page alone on the whole screen: a view of its own shows the page meanwhile, and the page
// goes back to its tab's view when this window goes.
class TFullScreenWindow : public QWidget {
 public:
  explicit TFullScreenWindow(QWebEngineView& tabView)
      : view_(new QWebEngineView(this)), tabView_(&tabView) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->setPage(tabView.page());
    // The page takes every key it is given, Escape included: the window looks first.
    qApp->installEventFilter(this);
    // A page that goes away (its tab closed) takes its full screen with it.
    connect(tabView.page(), &QObject::destroyed, this, &QObject::deleteLater);
    showFullScreen();
    view_->setFocus();
  }
  ~TFullScreenWindow() override {
    if (tabView_ && view_->page() != nullptr)
      tabView_->setPage(view_->page());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::KeyPress || widget == nullptr || widget->window() != this ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape || view_->page() == nullptr)
      return false;
    view_->page()->triggerAction(QWebEnginePage::ExitFullScreen);
    return true;
  }

 private:
  QWebEngineView* view_;
  QPointer<QWebEngineView> tabView_;
};

namespace {

bool AskLogin(QWidget* parent, const QString& host, const QString& realm, QString* user,
              QString* password) {
  QDialog dialog(parent);
  dialog.setWindowTitle(host);
  auto* layout = new QVBoxLayout(&dialog);
  auto* intro = new QLabel(&dialog);
  intro->setTextFormat(Qt::PlainText);
  intro->setText(realm.isEmpty()
                     ? QStringLiteral("%1 asks for a user name and a password.").arg(host)
                     : QStringLiteral("%1 asks for a user name and a password for "
                                      "\"%2\".")
                           .arg(host, realm));
  intro->setWordWrap(true);
  layout->addWidget(intro);
  auto* form = new QFormLayout;
  auto* name = new QLineEdit(&dialog);
  auto* secret = new QLineEdit(&dialog);
  secret->setEchoMode(QLineEdit::Password);
  form->addRow(QStringLiteral("User name"), name);
  form->addRow(QStringLiteral("Password"), secret);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  *user = name->text();
  *password = secret->text();
  return true;
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text, const QString& yes,
              const QString& no) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
  box.setDefaultButton(box.addButton(no, QMessageBox::RejectRole));
  box.exec();
  return box.clickedButton() == static_cast<QAbstractButton*>(accept);
}

bool AskCertificate(QWidget* parent, const QString& host, const QString& text) {
  return AskYesNo(parent, host,
                  QStringLiteral("The certificate of %1 cannot be trusted:\n%2\n\nGo on to %1 "
                                 "anyway for as long as Zelvora runs?")
                      .arg(host, text),
                  QStringLiteral("Go on"), QStringLiteral("Cancel"));
}

bool AskPermission(QWidget* parent, const QString& host, const QString& feature) {
  return AskYesNo(parent, host, QStringLiteral("%1 wants to use %2.").arg(host, feature),
                  QStringLiteral("Allow"), QStringLiteral("Deny"));
}

QString FeatureName(QWebEnginePage::Feature feature) {
  switch (feature) {
    case QWebEnginePage::Geolocation:
      return QStringLiteral("your location");
    case QWebEnginePage::Notifications:
      return QStringLiteral("notifications");
    case QWebEnginePage::MediaAudioCapture:
      return QStringLiteral("your microphone");
    case QWebEnginePage::MediaVideoCapture:
      return QStringLiteral("your camera");
    case QWebEnginePage::MediaAudioVideoCapture:
      return QStringLiteral("your camera and microphone");
    case QWebEnginePage::MouseLock:
      return QStringLiteral("the mouse pointer alone");
    case QWebEnginePage::DesktopVideoCapture:
      return QStringLiteral("a picture of your screen");
    case QWebEnginePage::DesktopAudioVideoCapture:
      return QStringLiteral("a picture and the sound of your screen");
  }
  return QStringLiteral("feature %1").arg(static_cast<int>(feature));
}

}  // namespace

TPagePrompts::Askers& TPagePrompts::Ask() {
  static Askers askers{AskLogin, AskCertificate, AskPermission};
  return askers;
}

TPagePrompts::TPagePrompts(TAPIBrowsePage& strip) : QObject(&strip), strip_(strip) {}

TPagePrompts::~TPagePrompts() {
  delete fullScreen_;
}

void TPagePrompts::PageCreated(TMyContainerClass& page) {
  TEnginePage* engine = page.Page();
  connect(engine, &QWebEnginePage::authenticationRequired, this,
          [this, engine](const QUrl& url, QAuthenticator* authenticator) {
            Login(*engine, url, authenticator, {});
          });
  connect(engine, &QWebEnginePage::proxyAuthenticationRequired, this,
          [this, engine](const QUrl& url, QAuthenticator* authenticator, const QString& proxy) {
            Login(*engine, url, authenticator, proxy);
          });
  connect(
      engine, &QWebEnginePage::certificateError, this,
      [this, &page](const QWebEngineCertificateError& error) { CertificateError(page, error); });
  connect(engine, &QWebEnginePage::featurePermissionRequested, this,
          [this, &page](const QUrl& origin, QWebEnginePage::Feature feature) {
            Permission(page, origin, feature);
          });
  connect(
      engine, &QWebEnginePage::fullScreenRequested, this,
      [this, &page](QWebEngineFullScreenRequest request) { FullScreen(page, std::move(request)); });
  connect(engine, &QWebEnginePage::printRequested, this, [this, &page] {
    // The page's script stands in window.print() until the engine has answered it; printing
    // meanwhile would wait for that script for ever. A script of the program's own runs once the
    // page's has returned, and the printing comes after it.
    page.Page()->runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                               [this, alive = QPointer<TMyContainerClass>(&page)](const QVariant&) {
                                 QTimer::singleShot(0, this, [this, alive] {
                                   if (alive && strip_.IndexOfContainer(alive) >= 0)
                                     strip_.Print(*alive, false);
                                 });
                               });
  });
}

void TPagePrompts::Login(QWebEnginePage& page, const QUrl& url, QAuthenticator* authenticator,
                         const QString& proxyHost) {
  const TEnginePage::NestedLoop asking(static_cast<TEnginePage&>(page));
  QString user;
  QString password;
  if (Ask().login(strip_.window(), proxyHost.isEmpty() ? url.host() : proxyHost,
                  authenticator->realm(), &user, &password)) {
    authenticator->setUser(user);
    authenticator->setPassword(password);
  } else {
    // No credentials: the page shows what the server answers without them.
    *authenticator = QAuthenticator();
  }
}

void TPagePrompts::CertificateError(TMyContainerClass& page,
                                    const QWebEngineCertificateError& error) {
  // An error that cannot be passed leaves the engine's error page.
  if (!error.isOverridable())
    return;
  QWebEngineCertificateError answer = error;
  const QString host = error.url().host();
  if (acceptedHosts_.contains(host)) {
    page.CertificateAccepted();
    answer.acceptCertificate();
    return;
  }
  answer.defer();
  QTimer::singleShot(0, &page, [this, &page, answer, host]() mutable {
    if (!Ask().certificate(strip_.window(), host, answer.description())) {
      answer.rejectCertificate();
      return;
    }
    acceptedHosts_.insert(host);
    page.CertificateAccepted();
    answer.acceptCertificate();
  });
}

void TPagePrompts::Permission(TMyContainerClass& page, const QUrl& origin,
                              QWebEnginePage::Feature feature) {
  const QString key = origin.host() + u' ' + QString::number(static_cast<int>(feature));
  const auto answer = [&page, origin, feature](bool allow) {
    page.Page()->setFeaturePermission(
        origin, feature,
        allow ? QWebEnginePage::PermissionGrantedByUser : QWebEnginePage::PermissionDeniedByUser);
  };
  if (allowed_.contains(key) || denied_.contains(key)) {
    answer(allowed_.contains(key));
    return;
  }
  // A page the user does not see asks nobody.
  if (strip_.GetContainer(strip_.CurrentIndex()) != &page) {
    answer(false);
    return;
  }
  QTimer::singleShot(0, &page, [this, answer, key, host = origin.host(), feature] {
    const bool allow = Ask().permission(strip_.window(), host, FeatureName(feature));
    (allow ? allowed_ : denied_).insert(key);
    answer(allow);
  });
}

void TPagePrompts::FullScreen(TMyContainerClass& page, QWebEngineFullScreenRequest request) {
  if (!request.toggleOn()) {
    request.accept();
    delete fullScreen_;
    return;
  }
  if (fullScreen_ || page.View() == nullptr) {
    request.reject();
    return;
  }
  request.accept();
  fullScreen_ = new TFullScreenWindow(*page.View());
}

}  // namespace zelvora
