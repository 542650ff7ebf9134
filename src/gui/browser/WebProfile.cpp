#include "gui/browser/WebProfile.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace zelvora {

namespace {

QString BridgeSource(const std::string& secret) {
  QFile file(QStringLiteral(":/web/Bridge.js"));
  if (!file.open(QIODevice::ReadOnly))
    qFatal("Zelvora: the page bridge script is missing from the program");
  return QString::fromUtf8(file.readAll())
      .replace(QStringLiteral("@SECRET@"), QString::fromStdString(secret));
}

}  // namespace

QWebEngineProfile* CreateWebProfile(const QString& storageFolder, const std::string& secret,
                                    QObject* parent) {
  // A named profile: the default one keeps nothing on disk.
  auto* profile = new QWebEngineProfile(QStringLiteral("Zelvora"), parent);
  profile->setPersistentStoragePath(storageFolder);
  profile->setCachePath(storageFolder + QStringLiteral("/Cache"));
  profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
  profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
  // A page (a video) may ask for the whole screen; the program shows it there.
  profile->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);

  // Built from scratch: a script object is not shared between profiles or runs.
  QWebEngineScript bridge;
  bridge.setName(QStringLiteral("ZelvoraBridge"));
  bridge.setSourceCode(BridgeSource(secret));
  bridge.setInjectionPoint(QWebEngineScript::DocumentCreation);
  bridge.setWorldId(QWebEngineScript::ApplicationWorld);
  bridge.setRunsOnSubFrames(true);
  profile->scripts()->insert(bridge);
  return profile;
}

}  // namespace zelvora
