#include <gtest/gtest.h>

#include "TreeQueries.h"
#include "core/shell/WindowState.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/TreeFile.h"

namespace zelvora {
namespace {

const TreeDefaults kDefaults;

TEST(BookmarkFileTest, ReadsWhatOtherBrowsersWrite) {
  const std::string_view html =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<!-- <DT><A HREF=\"http://comment/\">not a bookmark</A> -->\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Bookmarks</TITLE>\n"
      "<H1>Bookmarks Menu</H1>\n"
      "<DL><p>\n"
      "    <DT><H3 ADD_DATE=\"1\" LAST_MODIFIED=\"2\">Tom &amp; Jerry&#39;s</H3>\n"
      "    <DD>A folder's description\n"
      "    <DL><p>\n"
      "        <DT><a add_date=\"3\" href='http://example.org/?a=1&amp;b=2'>"
      "Caf&#233; &LT;b&gt; &#x263A;</a>\n"
      "        <DT><H3>Empty</H3>\n"
      "        <DL><p>\n"
      "        </DL><p>\n"
      "        <dt><h3>Inner</h3>\n"
      "        <dl><p>\n"
      "            <DT><A HREF=http://unquoted/ ICON=\"data:x\">Name\r\n"
      "with a line break\tand tab</A>\n"
      "            <DT><A NAME=\"anchor\">no address</A>\n"
      "            <DT><A HREF=\"http://open/\">No end tag\n"
      "            <DT><A HREF=\"http://x/\">  <b>Bold</b> name  </A>\n"
      "        </DL><p>\n"
      "        <DT><A HREF=\"1,2\">Comma</A>\n"
      "    </DL><p>\n"
      "    < garbage & more garbage &unknown; </p>\n"
      "    <DT><A TITLE=\"a>b\" HREF=\"javascript:alert(&quot;x&gt;&quot;)\">Top</A>\n"
      "    <DT><H3>Unclosed</H3>\n"
      "    <DL><p>\n"
      "        <DT><A HREF=\"http://last/\">Last\n";
  EXPECT_EQ(BookmarksToTreeText(html),
            "0,Tom & Jerry's\r\n"
            "\thttp://example.org/?a=1&b=2\tCaf\xc3\xa9 <b> \xe2\x98\xba\r\n"
            "\t0,Empty\r\n"
            "\t0,Inner\r\n"
            "\t\thttp://unquoted/\tName  with a line break and tab\r\n"
            "\t\thttp://open/\tNo end tag\r\n"
            "\t\thttp://x/\tBold name\r\n"
            "\t1%2C2\tComma\r\n"
            "javascript:alert(\"x>\")\tTop\r\n"
            "0,Unclosed\r\n"
            "\thttp://last/\tLast\r\n");
  EXPECT_EQ(BookmarksToTreeText("<p>no bookmarks</p>"), "");
}

class BookmarkExportTest : public ::testing::Test {
 protected:
  BookmarkExportTest() {
    InsertTreeText(model_,
                   "0,Favorite\r\n"
                   "\t0,Tom & \"Jerry\" <'s>\r\n"
                   "\t\thttp://a/?x=1&y=<2>\tA & B\r\n"
                   "\t\t0,Empty\r\n"
                   "\t\t0,Deep\r\n"
                   "\t\t\thttp://d/\tD\r\n"
                   "\thttp://c/\tC's \"quoted\"\r\n"
                   "0,Second\r\n",
                   false, kDefaults, nullptr);
  }
  // The export read back as tree text.
  std::string RoundTrip(bool wholeTree) const {
    return BookmarksToTreeText(TreeToBookmarks(model_, wholeTree));
  }
  void Mark(std::initializer_list<std::string_view> names) {
    model_.ClearMarks();
    for (const std::string_view name : names)
      model_.SetMarked(Find(model_, name), true);
  }

  TTreeModel model_{kToolFavorite};
};

TEST_F(BookmarkExportTest, ExportReadsBackAsTheSameTree) {
  const std::string html = TreeToBookmarks(model_, true);
  EXPECT_TRUE(html.starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"));
  EXPECT_NE(html.find("charset=UTF-8"), std::string::npos);
  EXPECT_NE(html.find("HREF=\"http://a/?x=1&amp;y=&lt;2&gt;\""), std::string::npos);
  EXPECT_EQ(BookmarksToTreeText(html), SerializeTree(model_, nullptr));
}

TEST_F(BookmarkExportTest, MarkedFoldersBringTheirSubtreeOnce) {
  Mark({"Tom & \"Jerry\" <'s>", "D", "Second"});
  EXPECT_EQ(RoundTrip(false),
            "0,Tom & \"Jerry\" <'s>\r\n"
            "\thttp://a/?x=1&y=<2>\tA & B\r\n"
            "\t0,Empty\r\n"
            "\t0,Deep\r\n"
            "\t\thttp://d/\tD\r\n"
            "0,Second\r\n");
  Mark({"D", "C's \"quoted\""});
  EXPECT_EQ(RoundTrip(false), "http://d/\tD\r\nhttp://c/\tC's \"quoted\"\r\n");
  model_.ClearMarks();
  EXPECT_EQ(RoundTrip(false), "");
}

}  // namespace
}  // namespace zelvora
