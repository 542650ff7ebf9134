#include <gtest/gtest.h>

#include "core/tools/DenyPageGuard.h"

namespace zelvora {
namespace {

const DenyOutcome kProceed{};
const DenyOutcome kClose{DenyStep::kCloseTab, {}};

DenyOutcome RedirectTo(const std::string& url) {
  return {DenyStep::kRedirect, url};
}

TEST(DenyPageGuardTest, TheNavigationARedirectStartedIsNotRedirectedAgain) {
  DenyPageGuard guard;
  // Two entries that send each address to the other: the second redirect is never made.
  EXPECT_EQ(guard.Navigation(RedirectTo("http://pong/"), true), RedirectTo("http://pong/"));
  EXPECT_EQ(guard.Navigation(RedirectTo("http://ping/"), false), kProceed);  // a frame meanwhile
  EXPECT_EQ(guard.Navigation(RedirectTo("http://ping/"), true), kProceed);
  EXPECT_EQ(guard.Navigation(RedirectTo("http://ping/"), false), kProceed);  // the server's
  EXPECT_EQ(guard.Navigation(kClose, false), kClose);  // other outcomes are carried out
  // The next navigation of the page's own is a new one.
  EXPECT_EQ(guard.Navigation(RedirectTo("http://pong/"), true), RedirectTo("http://pong/"));
}

TEST(DenyPageGuardTest, TheCompletedDocumentIsCheckedOncePerLoadAndRedirectedOnce) {
  DenyPageGuard guard;
  guard.Navigation(kProceed, true);
  guard.LoadStarted();
  EXPECT_TRUE(guard.CompletedCheckDue());
  EXPECT_FALSE(guard.CompletedCheckDue());  // the same load reported again
  EXPECT_EQ(guard.Completed(RedirectTo("http://new/")), RedirectTo("http://new/"));

  // Under way, then the redirected load itself: no check.
  EXPECT_FALSE(guard.CompletedCheckDue());
  guard.Navigation(kProceed, true);
  guard.LoadStarted();
  EXPECT_FALSE(guard.CompletedCheckDue());

  // A later load is checked, but the first address never redirects twice.
  guard.Navigation(kProceed, true);
  guard.LoadStarted();
  EXPECT_TRUE(guard.CompletedCheckDue());
  EXPECT_EQ(guard.Completed(RedirectTo("http://new/")), kProceed);
  EXPECT_EQ(guard.Completed(kClose), kClose);

  // A redirect of a navigation is under way: the cancelled load's end is not checked.
  guard.Navigation(RedirectTo("http://new/"), true);
  guard.LoadStarted();
  EXPECT_FALSE(guard.CompletedCheckDue());
}

}  // namespace
}  // namespace zelvora
