#include <gtest/gtest.h>

#include <string>

#include "core/browser/UrlUtil.h"

namespace zelvora {
namespace {

TEST(UrlUtilTest, HostIsDecodedAndLongUrlsHaveNone) {
  EXPECT_EQ(HostOfUrl("https://user:pw@www.%65xample.com:443/a?b"), "www.example.com");
  EXPECT_EQ(HostOfUrl("c:\\dir\\a.htm"), "");
  const std::string host2047 = std::string(2047, 'h');
  EXPECT_EQ(HostOfUrl("http://" + host2047), host2047);  // 2054 bytes
  EXPECT_EQ(HostOfUrl("http://" + host2047 + "h"), "");
  EXPECT_EQ(HostOfUrl("http://h/" + std::string(2100, 'p')), "");
}

TEST(UrlUtilTest, SplitUpperCasesTheDriveAndSplitsAtTheLastSlash) {
  const SplitUrlParts web = SplitUrl("http://h/dir/sub/f.htm?x");
  EXPECT_EQ(web.host, "h");
  EXPECT_EQ(web.directory, "/dir/sub");
  EXPECT_EQ(web.fileName, "f.htm");
  EXPECT_EQ(web.extra, "?x");
  const SplitUrlParts local = SplitUrl("c:\\dir\\a.htm");
  EXPECT_EQ(local.scheme, "file");
  EXPECT_EQ(local.directory, "C:/dir");
  EXPECT_EQ(SplitUrl("\\\\srv\\share\\a.htm").directory, "//SRV/SHARE");
  EXPECT_EQ(SplitUrl("http://h/dir/").fileName, "");
  const SplitUrlParts failed = SplitUrl("no scheme");
  EXPECT_TRUE(failed.scheme.empty() && failed.host.empty() && failed.directory.empty() &&
              failed.fileName.empty() && failed.extra.empty());
}

TEST(UrlUtilTest, NormalizeGivesOneFormForPathsAndUrls) {
  EXPECT_EQ(NormalizeUrl("c:\\dir\\a.htm"), "file:///C:/dir/a.htm");
  EXPECT_EQ(NormalizeUrl("file:///c:/dir/a.htm"), "file:///C:/dir/a.htm");
  EXPECT_EQ(NormalizeUrl("http://www.example.com/a/b.html?q=1#x"),
            "http://www.example.com/a/b.html");
  EXPECT_EQ(NormalizeUrl("HTTP://u@H:80/a"), "HTTP://H/a");
  EXPECT_EQ(NormalizeUrl("/home/a.htm"), "file:///home/a.htm");
  EXPECT_EQ(NormalizeUrl("File://host/share/x"), "File:///host/share/x");
  EXPECT_EQ(NormalizeUrl("\\\\srv\\share\\a.htm"), "file://///SRV/SHARE/a.htm");
  EXPECT_EQ(NormalizeUrl("about:blank"), "about://blank");
  EXPECT_EQ(NormalizeUrl("www.example.com"), "");
  EXPECT_EQ(NormalizeUrl("//host/a.htm"), "");  // not a local path, and no scheme
  EXPECT_EQ(NormalizeUrl("http://h/" + std::string(2048, 'p')), "");
}

TEST(UrlUtilTest, LocalPathOnlyForDrivesAndHostlessFileUrls) {
  EXPECT_EQ(LocalPathOfUrl("file:///C:/dir/a%20b.htm"), "C:/dir/a%20b.htm");
  EXPECT_EQ(LocalPathOfUrl("c:\\dir\\a.htm"), "c:\\dir\\a.htm");
  EXPECT_EQ(LocalPathOfUrl("file:///\\\\srv\\share\\a.htm"), "\\\\srv\\share\\a.htm");
  EXPECT_EQ(LocalPathOfUrl("/home/a.htm?x"), "/home/a.htm");
  EXPECT_EQ(LocalPathOfUrl("file://host/share/x"), "");
}

TEST(UrlUtilTest, NameIsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(NameFromUrl("http://h/dir/a.htm"), "a.htm");
  EXPECT_EQ(NameFromUrl("about:blank"), "about:blank");
  EXPECT_EQ(NameFromUrl("http://h/a?b=c/d"), "d");
}

}  // namespace
}  // namespace zelvora
