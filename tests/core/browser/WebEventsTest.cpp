#include <gtest/gtest.h>

#include "core/browser/WebEvents.h"

namespace zelvora {
namespace {

const FrameRef kTop{1, ""};
const FrameRef kChild{1, "0"};
const FrameRef kOtherPage{2, ""};

TEST(WebEventsTest, AttachKeepsOneEntryPerFrameAndDetachForgetsIt) {
  TWebEventClass events;
  EXPECT_TRUE(events.AttachDocument(kTop, "doc1"));
  EXPECT_FALSE(events.AttachDocument(kTop, "doc2"));
  ASSERT_EQ(events.Connections().size(), 1u);
  ASSERT_NE(events.Entry(kTop), nullptr);
  EXPECT_EQ(events.Entry(kTop)->document, "doc2");
  EXPECT_EQ(events.Entry(kChild), nullptr);

  EXPECT_TRUE(events.AttachDocument(kChild, "c"));
  EXPECT_TRUE(events.AttachDocument(kOtherPage, "o"));
  EXPECT_TRUE(events.MouseDown(kChild));
  EXPECT_EQ(events.FocusedBrowser(), kChild);
  events.DetachDocument(kChild);
  EXPECT_FALSE(events.IsAttached(kChild));
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);
  EXPECT_EQ(events.PointedBrowser(), std::nullopt);
  EXPECT_FALSE(events.MouseDown(kChild));  // a re-attach must not restore it
  EXPECT_TRUE(events.AttachDocument(kChild, "c"));
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);

  EXPECT_TRUE(events.MouseDown(kTop));
  events.DetachPage(1);
  EXPECT_FALSE(events.IsAttached(kTop));
  EXPECT_FALSE(events.IsAttached(kChild));
  EXPECT_TRUE(events.IsAttached(kOtherPage));
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);
  ASSERT_EQ(events.Connections().size(), 1u);

  EXPECT_TRUE(events.MouseDown(kOtherPage));
  events.SelectStart(kOtherPage);
  events.DetachAll();
  EXPECT_TRUE(events.Connections().empty());
  EXPECT_FALSE(events.IsAttached(kOtherPage));
  EXPECT_FALSE(events.SelectStarted());
  EXPECT_TRUE(events.AttachDocument(kOtherPage, "o"));
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);
}

TEST(WebEventsTest, ReloadedFrameIsFocusedAndPointedAgain) {
  TWebEventClass events;
  events.AttachDocument(kTop, "before");
  events.AttachDocument(kChild, "child");
  EXPECT_TRUE(events.MouseDown(kTop));
  events.SelectStart(kTop);
  EXPECT_TRUE(events.BeforeUnload(kTop, "before"));
  EXPECT_FALSE(events.IsAttached(kTop));
  EXPECT_FALSE(events.SelectStarted());
  EXPECT_EQ(events.UnloadingWindow(), kTop);
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);

  events.AttachDocument(kChild, "child again");  // another frame does not take the focus
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);
  EXPECT_TRUE(events.AttachDocument(kTop, "after"));
  EXPECT_EQ(events.FocusedBrowser(), kTop);
  EXPECT_EQ(events.PointedBrowser(), kTop);
  EXPECT_EQ(events.UnloadingWindow(), std::nullopt);
  EXPECT_EQ(events.Entry(kTop)->document, "after");

  // A page closed while one of its frames unloads does not focus it when the number returns.
  EXPECT_TRUE(events.BeforeUnload(kChild, "child again"));
  events.DetachPage(1);
  EXPECT_EQ(events.UnloadingWindow(), std::nullopt);

  events.AttachDocument(kTop, "t");
  events.Unload(kTop, "t");
  EXPECT_FALSE(events.IsAttached(kTop));
  EXPECT_EQ(events.UnloadingWindow(), std::nullopt);
}

TEST(WebEventsTest, ALateUnloadOfAReplacedDocumentLeavesItsSuccessorAttached) {
  TWebEventClass events;
  events.AttachDocument(kTop, "old");
  EXPECT_TRUE(events.BeforeUnload(kTop, "old"));
  // The successor reports before the old document's unload events arrive.
  EXPECT_TRUE(events.AttachDocument(kTop, "new"));
  EXPECT_EQ(events.FocusedBrowser(), kTop);
  events.AttachDocument(kTop, "");  // the engine's end of the load knows no token
  EXPECT_FALSE(events.BeforeUnload(kTop, "old"));
  events.Unload(kTop, "old");
  EXPECT_TRUE(events.IsAttached(kTop));
  EXPECT_EQ(events.FocusedBrowser(), kTop);
  EXPECT_EQ(events.UnloadingWindow(), std::nullopt);

  events.Unload(kTop, "new");
  EXPECT_FALSE(events.IsAttached(kTop));
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);
}

TEST(WebEventsTest, MouseSelectionAndContextMenuEvents) {
  TWebEventClass events;
  events.AttachDocument(kTop, "t");
  events.AttachDocument(kChild, "c");

  EXPECT_FALSE(events.MouseUp(kTop));  // no selection was started
  events.SelectStart(kTop);
  EXPECT_TRUE(events.SelectStarted());
  EXPECT_TRUE(events.MouseUp(kTop));
  EXPECT_FALSE(events.SelectStarted());
  EXPECT_FALSE(events.MouseUp(kTop));

  events.MouseMove(kChild, 12, -4);
  EXPECT_EQ(events.PointedBrowser(), kChild);
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);
  EXPECT_EQ(events.LastX(), 12);
  EXPECT_EQ(events.LastY(), -4);
  events.WindowFocus(kTop);
  EXPECT_EQ(events.FocusedBrowser(), kTop);
  EXPECT_EQ(events.PointedBrowser(), kTop);

  EXPECT_TRUE(events.ContextMenu());
  events.SuppressNextContextMenu();
  EXPECT_FALSE(events.ContextMenuAllowed());
  EXPECT_FALSE(events.ContextMenu());
  EXPECT_TRUE(events.ContextMenu());
  EXPECT_TRUE(events.ContextMenu());
  events.SuppressNextContextMenu();
  events.MouseMove(kTop, 1, 1);  // moving on lifts the suppression
  EXPECT_TRUE(events.ContextMenu());
}

TEST(WebEventsTest, EventsOfUnattachedFramesChangeNothing) {
  TWebEventClass events;
  events.AttachDocument(kTop, "t");
  events.MouseMove(kTop, 5, 6);
  events.SuppressNextContextMenu();
  const FrameRef stranger{1, "3"};

  EXPECT_FALSE(events.MouseDown(stranger));
  events.MouseMove(stranger, 99, 99);
  events.SelectStart(stranger);
  EXPECT_FALSE(events.MouseUp(stranger));
  events.WindowFocus(stranger);
  EXPECT_FALSE(events.BeforeUnload(stranger, "t"));
  events.Unload(stranger, "t");

  EXPECT_EQ(events.PointedBrowser(), kTop);
  EXPECT_EQ(events.FocusedBrowser(), std::nullopt);
  EXPECT_EQ(events.LastX(), 5);
  EXPECT_EQ(events.LastY(), 6);
  EXPECT_FALSE(events.SelectStarted());
  EXPECT_FALSE(events.ContextMenuAllowed());
  EXPECT_EQ(events.UnloadingWindow(), std::nullopt);
  EXPECT_EQ(events.Connections().size(), 1u);
}

}  // namespace
}  // namespace zelvora
