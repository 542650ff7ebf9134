#include "core/tools/DenyPageGuard.h"

namespace zelvora {

DenyOutcome DenyPageGuard::Navigation(DenyOutcome outcome, bool topLevel) {
  if (topLevel) {
    // The first top-level navigation after a redirect is the one the redirect started.
    redirectedLoad_ = redirectPending_;
    redirectPending_ = false;
  }
  if (outcome.step != DenyStep::kRedirect)
    return outcome;
  if (redirectPending_ || redirectedLoad_)
    return {};
  redirectPending_ = true;
  return outcome;
}

void DenyPageGuard::LoadStarted() {
  completedChecked_ = false;
}

bool DenyPageGuard::CompletedCheckDue() {
  if (redirectPending_ || redirectedLoad_ || completedChecked_)
    return false;
  completedChecked_ = true;
  return true;
}

DenyOutcome DenyPageGuard::Completed(DenyOutcome outcome) {
  if (outcome.step != DenyStep::kRedirect)
    return outcome;
  if (completedRedirected_)
    return {};
  completedRedirected_ = true;
  redirectPending_ = true;
  return outcome;
}

}  // namespace zelvora
