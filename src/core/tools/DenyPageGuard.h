#pragma once

// A page's side of the deny list: how often the list's outcomes are carried out on one page, so
// that no list can send a page round in circles. A redirect is carried out once: the navigation
// it starts (with its frames and the server's redirects) is not redirected again. The completed
// top document is checked once per load, however often the engine and the frames' bridge report
// it; its redirect happens once in the life of the page, since the address it checks (the first
// one the page showed) never changes.

#include "core/tools/DenyList.h"

namespace zelvora {

class DenyPageGuard {
 public:
  // The outcome to carry out for a navigation about to start. `topLevel`: the page's own
  // navigation, not a frame's and not a redirect sent by the server.
  DenyOutcome Navigation(DenyOutcome outcome, bool topLevel);
  // A top-level load started.
  void LoadStarted();
  // Whether the completed top document is to be checked now: once per load, neither while a
  // redirect is under way nor for the load a redirect started.
  bool CompletedCheckDue();
  // The outcome to carry out for the completed top document.
  DenyOutcome Completed(DenyOutcome outcome);

 private:
  bool redirectPending_ = false;
  bool redirectedLoad_ = false;
  bool completedChecked_ = false;
  bool completedRedirected_ = false;
};

}  // namespace zelvora
