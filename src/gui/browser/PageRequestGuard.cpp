#include "gui/browser/PageRequestGuard.h"

#include "core/browser/SessionOptions.h"

namespace zelvora {

std::atomic<bool> TPageRequestGuard::offline_{false};

namespace {

RequestKind KindOf(QWebEngineUrlRequestInfo::ResourceType type) {
  switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
      return RequestKind::kImage;
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
      return RequestKind::kMedia;
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
    case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
      return RequestKind::kPluginContent;
    default:
      return RequestKind::kOther;
  }
}

}  // namespace

void TPageRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const RequestDecision decision = DecideRequest(
      flags_.load(), Offline(), SchemeNeedsNetwork(info.requestUrl().scheme().toStdString()),
      KindOf(info.resourceType()));
  if (decision.block) {
    info.block(true);
    return;
  }
  if (decision.noCache) {
    info.setHttpHeader(QByteArrayLiteral("Pragma"), QByteArrayLiteral("no-cache"));
    info.setHttpHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache"));
  }
}

}  // namespace zelvora
