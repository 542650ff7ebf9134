#pragma once

// The engine profile every page of a run shares: stored in the per-user folder, so cookies, the
// cache and visited links outlive the run, with the bridge script installed in every frame.

#include <QString>
#include <string>

class QObject;
class QWebEngineProfile;

namespace zelvora {

// `storageFolder` holds the engine's files; `secret` is the bridge's secret of this run.
QWebEngineProfile* CreateWebProfile(const QString& storageFolder, const std::string& secret,
                                    QObject* parent);

}  // namespace zelvora
