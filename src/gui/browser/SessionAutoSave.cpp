#include "gui/browser/SessionAutoSave.h"

#include "gui/browser/MyWEBClass4.h"

namespace zelvora {

TSessionAutoSave::TSessionAutoSave(TAPIBrowsePage& strip, const TSettings& settings,
                                   const std::string& userFolder,
                                   std::function<bool(const std::string&)> write, QObject* parent)
    : QObject(parent),
      strip_(strip),
      settings_(settings),
      listPath_(userFolder + "/" + std::string(kLastWebListName)),
      write_(std::move(write)),
      marker_(userFolder + "/" + std::string(kSessionMarkerName)) {
  elapsed_.start();
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &TSessionAutoSave::WriteIfChanged);
  connect(&strip_, &TAPIBrowsePage::TabsChanged, this, &TSessionAutoSave::Changed);
}

bool TSessionAutoSave::Wanted() const {
  return started_ && !ended_ && settings_.Flag(kFlagLastWebRestore) &&
         settings_.TabSession(kSessionAutoSave) == 1;
}

bool TSessionAutoSave::StartRun() {
  const bool unclean = marker_.Inspect() == PreviousRun::kEndedUncleanly;
  started_ = true;
  SettingsApplied();
  return unclean;
}

void TSessionAutoSave::SettingsApplied() {
  if (!started_ || ended_)
    return;
  if (!Wanted()) {
    timer_.stop();
    clock_.Clear();
    marker_.Remove();
    return;
  }
  // Another instance that holds the marker saves the list; this one leaves it alone.
  if (marker_.Hold())
    Changed();
}

void TSessionAutoSave::EndCleanly() {
  ended_ = true;
  timer_.stop();
  marker_.Remove();
}

void TSessionAutoSave::Changed() {
  if (!Wanted() || !marker_.Held())
    return;
  clock_.Changed(elapsed_.elapsed());
  Schedule();
}

void TSessionAutoSave::Schedule() {
  const std::optional<std::int64_t> due = clock_.DueAt();
  if (!due) {
    timer_.stop();
    return;
  }
  if (!timer_.isActive())
    timer_.start(static_cast<int>(std::max<std::int64_t>(*due - elapsed_.elapsed(), 0)));
}

void TSessionAutoSave::WriteIfChanged() {
  if (!Wanted() || !marker_.Held())
    return;
  const std::int64_t now = elapsed_.elapsed();
  std::vector<TabListEntry> entries = strip_.TabEntries();
  // Nothing is written while nothing changed; a failed write is tried again at the next change.
  if (entries == written_ || write_(listPath_))
    written_ = std::move(entries);
  clock_.Written(now);
}

}  // namespace zelvora
