#pragma once

// The crash-safe tab list: when the tab list is rewritten after a change, and the marker that
// tells the next start whether this run ended cleanly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvora {

// A change is written this long after it happened (the changes in between go with it) ...
inline constexpr std::int64_t kAutoSaveDelayMs = 3000;
// ... and never sooner than this after the previous write.
inline constexpr std::int64_t kAutoSaveMinIntervalMs = 2000;

// When the tab list is next due. Times are milliseconds of a steady clock.
class AutoSaveClock {
 public:
  // The tabs changed: the first change since the last write starts the delay, later ones join it
  // (so a page that keeps changing its address still gets written every few seconds).
  void Changed(std::int64_t now);
  // The list was written, or found unchanged: nothing is due until the next change.
  void Written(std::int64_t now);
  // Nothing is due: no write was asked for, or the change was undone.
  void Clear() { changedAt_.reset(); }
  // When the next write is due; nothing while no change waits.
  std::optional<std::int64_t> DueAt() const;

 private:
  std::optional<std::int64_t> changedAt_;
  std::optional<std::int64_t> writtenAt_;
};

// The marker file in the per-user folder: present while a run saves its tab list as it goes, and
// locked (flock) by that run, so that a second instance never takes a running one for crashed.
inline constexpr std::string_view kSessionMarkerName = "Zelvora.running";

enum class PreviousRun {
  kEndedCleanly,    // no marker
  kEndedUncleanly,  // a marker nobody holds: the run that wrote it was killed or crashed
  kStillRunning,    // another instance holds it
};

class SessionMarker {
 public:
  explicit SessionMarker(std::string path) : path_(std::move(path)) {}
  ~SessionMarker();
  SessionMarker(const SessionMarker&) = delete;
  SessionMarker& operator=(const SessionMarker&) = delete;

  // What the marker left by earlier runs says. Call once, before Hold.
  PreviousRun Inspect() const;
  // Creates the marker (an unheld one from a crashed run is taken over) and holds it for the
  // run; false when another instance holds it or it cannot be created.
  bool Hold();
  // A clean end, or the tab list is no longer saved as the run goes: the marker goes, the one a
  // crashed run left included, unless another instance holds it.
  void Remove();
  bool Held() const { return fd_ >= 0; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace zelvora
