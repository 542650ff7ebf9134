#pragma once

// The tab list kept up to date while the program runs: with "LastWebRestore" and
// "SessionAutoSave" on, "LastWebList.dat" is rewritten (atomically) a few seconds after the tabs
// or their addresses change, so that a crash, a kill or a power loss loses at most those seconds.
// A marker in the per-user folder, removed by a clean exit, tells the next start to restore.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "core/browser/SessionAutoSave.h"
#include "core/shell/Settings.h"
#include "core/tools/TabList.h"

namespace zelvora {

class TAPIBrowsePage;

class TSessionAutoSave : public QObject {
  Q_OBJECT

 public:
  // `write` writes the tab list to a path (the main window's tab-list writer).
  TSessionAutoSave(TAPIBrowsePage& strip, const TSettings& settings, const std::string& userFolder,
                   std::function<bool(const std::string& path)> write, QObject* parent);

  // At start, before any tab opens: whether the last run ended without a clean exit while it
  // saved its tabs. Then saving starts when the settings ask for it.
  bool StartRun();
  // The settings changed: saving starts or stops (and the marker with it).
  void SettingsApplied();
  // A clean exit: no more writes, the marker goes.
  void EndCleanly();

 private:
  bool Wanted() const;
  void Changed();
  void Schedule();
  void WriteIfChanged();

  TAPIBrowsePage& strip_;
  const TSettings& settings_;
  std::string listPath_;
  std::function<bool(const std::string&)> write_;
  SessionMarker marker_;
  AutoSaveClock clock_;
  QElapsedTimer elapsed_;
  QTimer timer_;
  std::vector<TabListEntry> written_;
  bool started_ = false;
  bool ended_ = false;
};

}  // namespace zelvora
