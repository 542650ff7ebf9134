#include <gtest/gtest.h>

#include <vector>

#include "core/browser/SessionOptions.h"

namespace zelvora {
namespace {

using Kind = ProxyChoice::Kind;

TEST(SessionOptionsTest, DownloadControlFlags) {
  const std::array<bool, kPagePermissionCount> allowMedia = {true,  true,  true, false,
                                                             false, false, false};
  const std::array<bool, kPagePermissionCount> allowActive = {false, false, false, true,
                                                              true,  true,  true};
  std::array<bool, kGlobalDownloadFlagCount> globals{};
  globals[6] = true;
  EXPECT_EQ(DownloadControlFlags(allowMedia, globals), 0x400007F0u);
  EXPECT_EQ(DownloadControlFlags(allowActive, globals), kDlctlSilent);

  globals = {};
  globals[0] = true;
  EXPECT_EQ(DownloadControlFlags(allowActive, globals), kDlctlDownloadOnly);
  globals.fill(true);
  EXPECT_EQ(DownloadControlFlags(allowActive, globals), 0xF0007800u);
}

TEST(SessionOptionsTest, ChooseProxy) {
  EXPECT_EQ(ChooseProxy("  ", false, true).kind, Kind::kLeaveAlone);
  EXPECT_EQ(ChooseProxy("proxy:8080", true, true).kind, Kind::kLeaveAlone);
  ProxyChoice direct;
  direct.kind = Kind::kDirect;
  EXPECT_EQ(ChooseProxy(" 0 ", false, true), direct);  // the local bypass only goes with a proxy

  EXPECT_EQ(ChooseProxy(" proxy.example:8080\r\n", false, true),
            (ProxyChoice{Kind::kProxy, "proxy.example", 8080, true}));
  EXPECT_EQ(ChooseProxy("HTTP://proxy.example", false, false),
            (ProxyChoice{Kind::kProxy, "proxy.example", 80, false}));
  EXPECT_EQ(ChooseProxy("[::1]:3128", false, false),
            (ProxyChoice{Kind::kProxy, "::1", 3128, false}));
  EXPECT_EQ(ChooseProxy("proxy:65535", false, false).port, 65535);

  // Scheme lists: the http entry, else the first; never a host with "=" in it.
  EXPECT_EQ(ChooseProxy("https=secure:443;http=plain:3128;ftp=f:21", false, false),
            (ProxyChoice{Kind::kProxy, "plain", 3128, false}));
  EXPECT_EQ(ChooseProxy(";;HTTPS=secure:443 ftp=f:21", false, false),
            (ProxyChoice{Kind::kProxy, "secure", 443, false}));
  EXPECT_EQ(ChooseProxy("socks=tor:9050", false, false),
            (ProxyChoice{Kind::kProxy, "tor", 9050, false, true}));

  for (const char* bad : {"proxy:0", "proxy:65536", "proxy:99999999999", "proxy:80a", "proxy:",
                          ":8080", "proxy/path:80", "http://proxy:80/", "a:b:c", "[::1", "[]:80",
                          "[::1]x", "ftp://proxy:21", "http=", "=host:80", "http=a=b:80", ";"}) {
    EXPECT_EQ(ChooseProxy(bad, false, true).kind, Kind::kUnusable) << bad;
  }
}

TEST(SessionOptionsTest, SecurityNameOnlyForKnownLockStates) {
  const std::vector<std::string> names = {"none", "mixed",    "unknown", "40",
                                          "56",   "fortezza", "128"};
  EXPECT_EQ(SecurityName(6, names), "128");
  EXPECT_EQ(SecurityName(7, names), "");
  EXPECT_EQ(SecurityName(3, std::span(names).first(2)), "");
}

TEST(SessionOptionsTest, HomeWithoutAnAddressIsTheBlankPage) {
  // A fresh registry store has no start page; a tab opened on nothing would never finish.
  EXPECT_EQ(HomePage(false, "http://stored.example/", ""), "about:blank");
  EXPECT_EQ(HomePage(true, " \t", "http://start.example/"), "about:blank");
  EXPECT_EQ(HomePage(false, "", " http://start.example/ "), "http://start.example/");
}

TEST(SessionOptionsTest, RequestsFollowTheFlagsAndTheOfflineState) {
  const std::uint32_t everything = kDlctlDlImages | kDlctlVideos | kDlctlBgSounds;
  EXPECT_EQ(DecideRequest(everything, false, true, RequestKind::kImage), (RequestDecision{}));
  EXPECT_TRUE(DecideRequest(everything, true, true, RequestKind::kOther).block);
  EXPECT_FALSE(DecideRequest(everything, true, false, RequestKind::kOther).block);  // a file
  EXPECT_TRUE(
      DecideRequest(everything | kDlctlForceOffline, false, true, RequestKind::kOther).block);
  EXPECT_TRUE(DecideRequest(kDlctlVideos, false, true, RequestKind::kImage).block);
  EXPECT_FALSE(DecideRequest(kDlctlBgSounds, false, true, RequestKind::kMedia).block);
  EXPECT_TRUE(DecideRequest(kDlctlDlImages, false, true, RequestKind::kMedia).block);
  EXPECT_TRUE(
      DecideRequest(everything | kDlctlNoJava, false, true, RequestKind::kPluginContent).block);
  EXPECT_FALSE(DecideRequest(everything, false, true, RequestKind::kPluginContent).block);
  EXPECT_EQ(DecideRequest(everything | kDlctlPragmaNoCache, false, true, RequestKind::kOther),
            (RequestDecision{false, true}));
  EXPECT_TRUE(SchemeNeedsNetwork("HTTPS"));
  EXPECT_TRUE(SchemeNeedsNetwork("ws"));
  for (const char* local : {"file", "data", "about", "qrc", "blob", ""})
    EXPECT_FALSE(SchemeNeedsNetwork(local)) << local;
}

}  // namespace
}  // namespace zelvora
