#include "gui/browser/PageRequestGuard.h"

#include "core/browser/SessionOptions.h"

namespace zelvora {

std::atomic<bool> TPageRequestGuard::offline_{false};

namespace {

// What the network would have to fetch; local documents, data and the engine's own pages do not.
bool NeedsNetwork(const QUrl& url) {
  const QString scheme = url.scheme();
  return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
         scheme == QLatin1String("ws") || scheme == QLatin1String("wss") ||
         scheme == QLatin1String("ftp");
}

}  // namespace

void TPageRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const std::uint32_t flags = flags_.load();
  if ((Offline() || (flags & kDlctlForceOffline) != 0) && NeedsNetwork(info.requestUrl())) {
    info.block(true);
    return;
  }
  switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
      if ((flags & kDlctlDlImages) == 0) {
        info.block(true);
        return;
      }
      break;
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
      // One request type carries sound and video alike: either switch lets it through.
      if ((flags & (kDlctlVideos | kDlctlBgSounds)) == 0) {
        info.block(true);
        return;
      }
      break;
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
    case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
      if ((flags & (kDlctlNoRunActiveXCtls | kDlctlNoJava)) != 0) {
        info.block(true);
        return;
      }
      break;
    default:
      break;
  }
  if ((flags & kDlctlPragmaNoCache) != 0) {
    info.setHttpHeader(QByteArrayLiteral("Pragma"), QByteArrayLiteral("no-cache"));
    info.setHttpHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache"));
  }
}

}  // namespace zelvora
