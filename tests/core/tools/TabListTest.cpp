#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "SettingsFileFixture.h"
#include "core/tools/TabList.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;
using Urls = std::vector<std::string>;

TEST(TabListTest, FormatAndParseRoundTrip) {
  const std::vector<TabListEntry> entries = {
      {"http://a.example/", "Plain"},
      {"http://b.example/?q=1,2", "Tab\tinside"},
      {"http://c.example/\xc3\xa9", "Two\r\nlines\rand\nmore"},
  };
  const std::string text = FormatTabList("2026/12/06 09:05:03", entries);
  EXPECT_TRUE(text.starts_with("1,2026/12/06 09:05:03\r\n\thttp://a.example/\tPlain\r\n"));
  EXPECT_NE(text.find("\tTwo  lines and more\r\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
  EXPECT_EQ(ParseTabList(text),
            (Urls{"http://a.example/", "http://b.example/?q=1,2", "http://c.example/\xc3\xa9"}));
  EXPECT_EQ(ParseTabList(FormatTabList("now", {})), Urls{});
  EXPECT_EQ(ParseTabListEntries(text)[1], (TabListEntry{"http://b.example/?q=1,2", "Tab inside"}));
  EXPECT_EQ(ParseTabListEntries("\turl\t  spaced caption \r\n\tbare\t\r\n"),
            (std::vector<TabListEntry>{{"url", "spaced caption"}, {"bare", ""}}));
}

TEST(TabListTest, ParseSkipsWhatIsNotAnItem) {
  EXPECT_EQ(ParseTabList("1,2026\r\n"
                         "\t\t\t3,sub folder\r\n"
                         "\t\thttp://deep/\tcaption\r\n"
                         "no tab after\r\n"
                         "\t\tcaption only\r\n"
                         "\t\tcaption\r\n"
                         "\r\n"
                         "bare\t\r\n"
                         "\t\tx1,y\t\r\n"
                         "\tlast\twithout an end"),
            (Urls{"http://deep/", "bare", "x1,y"}));
  EXPECT_EQ(ParseTabList("1,d\r\ta\tA\r\tb\tB\r\tc\tC"), (Urls{"a", "b"}));
  EXPECT_EQ(ParseTabList("\t\xff\xfe\x80\t\xc3\r\n"), Urls{"\xff\xfe\x80"});
  const std::string longUrl(1 << 20, 'u');
  EXPECT_EQ(ParseTabList("\t" + longUrl + "\tcaption\r\n\tshort\t\r\n"), (Urls{longUrl, "short"}));
}

class TabListFileTest : public SettingsFileFixture {};

TEST_F(TabListFileTest, FilesAreReplacedWholeOrNotAtAll) {
  const std::string path = (folder_ / std::string(kLastWebListName)).string();

  EXPECT_EQ(ReadTabList(path), std::nullopt);
  EXPECT_TRUE(WriteTabList(path, "d", {{"http://old/", "old"}, {"http://gone/", ""}}).ok);
  EXPECT_TRUE(WriteTabList(path, "d", {{"http://kept/", "kept"}}).ok);
  EXPECT_EQ(ReadTabList(path), Urls{"http://kept/"});
  const fs::path missing = folder_ / "missing";
  EXPECT_FALSE(WriteTabList((missing / "list.dat").string(), "d", {{"u", "c"}}).ok);
  EXPECT_FALSE(fs::exists(missing));

  // A full disk, as far as this process can tell: writes beyond a small size fail with EFBIG.
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::vector<TabListEntry> many(2000, TabListEntry{"http://example.org/a/long/path", "t"});
  const FileWriteResult written = WriteTabList(path, "d", many);
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written.ok);
  EXPECT_FALSE(written.error.empty());
  EXPECT_EQ(ReadTabList(path), Urls{"http://kept/"});
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
}

TEST_F(TabListFileTest, AReaderAndAKillDuringAWriteSeeOneWholeListOrTheOther) {
  const std::string path = (folder_ / std::string(kLastWebListName)).string();
  const std::vector<TabListEntry> three(3, TabListEntry{"http://three.example/", "three"});
  const std::vector<TabListEntry> many(400, TabListEntry{"http://many.example/long/path", "m"});
  const auto readsWhole = [&] {
    const auto urls = ReadTabList(path);
    return urls && (urls->size() == three.size() || urls->size() == many.size());
  };
  ASSERT_TRUE(WriteTabList(path, "d", three).ok);
  for (int round = 0; round < 5; ++round) {
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      for (;;) {
        WriteTabList(path, "d", many);
        WriteTabList(path, "d", three);
      }
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(60 + 37 * round);
    int reads = 0;
    while (std::chrono::steady_clock::now() < end) {
      ASSERT_TRUE(readsWhole()) << "read " << reads;
      ++reads;
    }
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    EXPECT_TRUE(readsWhole());
  }
}

TEST(TabListTest, DateTimeAndHistoryCatalog) {
  EXPECT_EQ(TabListDateTime(2026, 12, 6, 9, 5, 3), "2026/12/06 09:05:03");
  EXPECT_EQ(TabListDateTime(987, 1, 31, 23, 59, 0), "0987/01/31 23:59:00");

  EXPECT_EQ(HistoryCatalogHtml({{"  Title \r\n", " http://a.example/ "}}),
            "Title\t<a href=\"http://a.example/\">http://a.example/</a><br>");
  EXPECT_EQ(HistoryCatalogHtml(
                {{"<script>alert('x')</script> & co", "http://b.example/?a=1&b=\"><script>"}}),
            "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; co\t"
            "<a href=\"http://b.example/?a=1&amp;b=&quot;&gt;&lt;script&gt;\">"
            "http://b.example/?a=1&amp;b=&quot;&gt;&lt;script&gt;</a><br>");

  std::vector<CatalogEntry> many;
  for (int i = 0; i < 300; ++i)
    many.push_back({std::string("t").append(std::to_string(i)), "u"});
  const std::string html = HistoryCatalogHtml(many);
  EXPECT_NE(html.find("t254\t"), std::string::npos);
  EXPECT_EQ(html.find("t255\t"), std::string::npos);
  EXPECT_EQ(static_cast<std::size_t>(std::count(html.begin(), html.end(), '\t')), 255u);
}

}  // namespace
}  // namespace zelvora
