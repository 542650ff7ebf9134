#include <gtest/gtest.h>

#include <string>

#include "core/browser/UrlCracker.h"

namespace zelvora {
namespace {

UrlParts Crack(std::string_view url, std::uint32_t flags = 0, UrlPartLimits limits = {}) {
  UrlParts parts;
  EXPECT_TRUE(CrackUrl(url, flags, limits, parts)) << url;
  return parts;
}

bool Fails(std::string_view url, UrlPartLimits limits = {}) {
  UrlParts parts{"x", "x", "x", "x"};
  const bool cracked = CrackUrl(url, 0, limits, parts);
  EXPECT_TRUE(parts.scheme.empty() && parts.host.empty() && parts.urlPath.empty());
  return !cracked;
}

TEST(UrlCrackerTest, SplitsAuthorityPathAndExtra) {
  const UrlParts parts = Crack("HTTP://user:pw@Www.Example.com:8080/a/b.html?q=1#frag");
  EXPECT_EQ(parts.scheme, "HTTP");
  EXPECT_EQ(parts.host, "Www.Example.com");
  EXPECT_EQ(parts.urlPath, "/a/b.html");
  EXPECT_EQ(parts.extraInfo, "?q=1#frag");
  EXPECT_EQ(Crack("http://a@b@h:1").host, "h");
  EXPECT_EQ(Crack("http://[::1]:80/x").host, "[::1]");
  EXPECT_EQ(Crack("http://h\\dir\\a.htm").urlPath, "\\dir\\a.htm");
}

TEST(UrlCrackerTest, SchemesWithoutAuthorityGiveAnEmptyHost) {
  EXPECT_EQ(Crack("about:blank").urlPath, "blank");
  const UrlParts mail = Crack("mailto:a@b?subject=x");
  EXPECT_EQ(mail.host, "");
  EXPECT_EQ(mail.urlPath, "a@b");
  EXPECT_EQ(mail.extraInfo, "?subject=x");
}

TEST(UrlCrackerTest, TextWithoutAValidSchemeFails) {
  EXPECT_TRUE(Fails("www.example.com"));
  EXPECT_TRUE(Fails("c:\\dir\\a.htm"));  // one letter is a drive
  EXPECT_TRUE(Fails("ht tp://h"));
  EXPECT_EQ(Crack("svn+ssh.x-1://h").scheme, "svn+ssh.x-1");
}

TEST(UrlCrackerTest, FileUrlsComeBackDriveFirst) {
  EXPECT_EQ(Crack("file:///C:/dir/a.htm").urlPath, "C:/dir/a.htm");
  EXPECT_EQ(Crack("file:///\\\\server\\share\\a.htm").urlPath, "\\\\server\\share\\a.htm");
  EXPECT_EQ(Crack("file:///\\\\server").urlPath, "/\\\\server");  // no share: no drive
  const UrlParts shared = Crack("file://host/share/x");
  EXPECT_EQ(shared.host, "host");
  EXPECT_EQ(shared.urlPath, "/share/x");
  EXPECT_EQ(Crack("FILE:///c%3A/x", kIcuDecode).urlPath, "c:/x");
}

TEST(UrlCrackerTest, PartsOverTheirLimitFailUnlessNotWanted) {
  const std::string longHost = "http://" + std::string(257, 'h') + "/p";
  EXPECT_TRUE(Fails(longHost));
  EXPECT_EQ(Crack(longHost, 0, {.host = 257}).host.size(), 257u);
  EXPECT_TRUE(Fails("http://h/" + std::string(2048, 'p')));
  EXPECT_EQ(Crack("http://h/" + std::string(2047, 'p')).urlPath.size(), 2048u);
  EXPECT_TRUE(Fails(std::string(33, 's') + ":x"));
  const UrlParts hostOnly =
      Crack(longHost + std::string(5000, 'p'), 0,
            {.scheme = kUrlPartNotWanted, .host = 300, .urlPath = kUrlPartNotWanted});
  EXPECT_EQ(hostOnly.scheme, "");
  EXPECT_EQ(hostOnly.urlPath, "");
  EXPECT_EQ(hostOnly.host.size(), 257u);
}

TEST(UrlCrackerTest, DecodingAndNulCuts) {
  EXPECT_EQ(Crack("http://%77ww.ex%41mple.com/a%20b", kIcuDecode).host, "www.exAmple.com");
  EXPECT_EQ(Crack("http://%77ww/a%20b%zz%4", kIcuDecode).urlPath, "/a b%zz%4");
  EXPECT_EQ(Crack("http://h/a%00b", kIcuDecode).urlPath, "/a");
  EXPECT_EQ(Crack(std::string_view("http://h\0x/p\0q", 14)).host, "h");
  EXPECT_EQ(Crack(std::string_view("http://h\0x/p\0q", 14)).urlPath, "/p");
  // The limit applies to the part as returned, so decoding can make a part fit.
  EXPECT_EQ(Crack("http://" + std::string(100, 'h') + "%41%41", kIcuDecode, {.host = 102}).host,
            std::string(100, 'h') + "AA");
}

TEST(UrlCrackerTest, DrivesAreLettersOrUncServerAndShare) {
  EXPECT_EQ(DriveLength("c:"), 2u);
  EXPECT_EQ(DriveLength("\\\\srv\\share\\a.htm"), 11u);
  EXPECT_EQ(DriveLength("\\\\srv\\"), 0u);
  EXPECT_EQ(DriveLength("//srv/share"), 0u);
}

}  // namespace
}  // namespace zelvora
