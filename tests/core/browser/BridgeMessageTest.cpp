#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "core/browser/BridgeMessage.h"

namespace zelvora {
namespace {

const std::string kSecret = "0123456789abcdef0123456789abcdef";

TEST(BridgeMessageTest, SecretsAreHexAndDiffer) {
  std::set<std::string> secrets;
  for (int i = 0; i < 8; ++i) {
    const std::string secret = MakeBridgeSecret();
    ASSERT_EQ(secret.size(), 32u);
    EXPECT_EQ(secret.find_first_not_of("0123456789abcdef"), std::string::npos) << secret;
    secrets.insert(secret);
  }
  EXPECT_EQ(secrets.size(), 8u);
}

TEST(BridgeMessageTest, WellFormedMessagesAreDecoded) {
  const auto message = ParseBridgeMessage(
      kSecret + "|mousemove|0.12.3|tok%7Cen|-15|240|http%3A%2F%2Fh%2Fa%20b|Price%20%E2%82%AC+1",
      kSecret);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->kind, BridgeKind::kMouseMove);
  EXPECT_EQ(message->framePath, "0.12.3");
  EXPECT_EQ(message->document, "tok|en");
  EXPECT_EQ(message->x, -15);
  EXPECT_EQ(message->y, 240);
  EXPECT_EQ(message->url, "http://h/a b");
  EXPECT_EQ(message->title, "Price \xE2\x82\xAC+1");

  const auto ready = ParseBridgeMessage(kSecret + "|ready||||||", kSecret);
  ASSERT_TRUE(ready);
  EXPECT_EQ(ready->kind, BridgeKind::kReady);
  EXPECT_TRUE(ready->framePath.empty() && ready->document.empty() && ready->title.empty());
  EXPECT_TRUE(ready->x == 0 && ready->y == 0);
  EXPECT_EQ(ParseBridgeMessage(kSecret + "|beforeunload|%31|d|0|0|u|t", kSecret)->framePath, "1");

  // Invalid UTF-8 passes byte for byte; the receiver decides what to show.
  const auto raw = ParseBridgeMessage(kSecret + "|focus|||1|2|\xFF\xC3|%FE%80", kSecret);
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->url, "\xFF\xC3");
  EXPECT_EQ(raw->title, "\xFE\x80");

  for (const std::string& digits : {std::string(100, '9'), std::string("2147483648")}) {
    const auto clamped =
        ParseBridgeMessage(kSecret + "|mousedown|||" + digits + "|-" + digits + "||", kSecret);
    ASSERT_TRUE(clamped) << digits;
    EXPECT_EQ(clamped->x, INT_MAX);
    EXPECT_EQ(clamped->y, INT_MIN);
  }
}

TEST(BridgeMessageTest, ForgedAndMalformedMessagesAreRejected) {
  const std::string tail = "|ready|0|d|1|2|u|t";
  EXPECT_TRUE(ParseBridgeMessage(kSecret + tail, kSecret));
  EXPECT_FALSE(ParseBridgeMessage("fedcba9876543210fedcba9876543210" + tail, kSecret));
  EXPECT_FALSE(ParseBridgeMessage(kSecret + "0" + tail, kSecret));
  EXPECT_FALSE(ParseBridgeMessage(tail, ""));
  EXPECT_FALSE(ParseBridgeMessage(" " + kSecret + tail, kSecret));

  EXPECT_FALSE(ParseBridgeMessage(kSecret + "|ready|0|d|1|2|u", kSecret));
  EXPECT_FALSE(ParseBridgeMessage(kSecret + tail + "|", kSecret));

  EXPECT_FALSE(ParseBridgeMessage(kSecret + "|Ready|0|d|1|2|u|t", kSecret));
  for (const char* path : {"0.", ".0", "0..1", "a", "-1", " 0", "%2E"}) {
    EXPECT_FALSE(ParseBridgeMessage(kSecret + "|ready|" + path + "|d|1|2|u|t", kSecret)) << path;
  }
  for (const char* number : {"-", "1.5", "+3", "0x10", " 1", "1-"}) {
    EXPECT_FALSE(ParseBridgeMessage(kSecret + "|ready|0|d|" + number + "|2|u|t", kSecret))
        << number;
  }
  EXPECT_FALSE(ParseBridgeMessage(kSecret + "|ready|0|%G1|1|2|u|t", kSecret));
  EXPECT_FALSE(ParseBridgeMessage(kSecret + "|ready|0|d|1|2|u|%", kSecret));
}

TEST(BridgeMessageTest, AnswersKeepTheirPayloadAsItStands) {
  const auto answer =
      ParseBridgeAnswer(kSecret + "|answer|42|0.3|tok%7C1|{\"a\":\"x|y\"}\r\n|", kSecret);
  ASSERT_TRUE(answer);
  EXPECT_FALSE(answer->progress);
  EXPECT_EQ(answer->id, 42u);
  EXPECT_EQ(answer->framePath, "0.3");
  EXPECT_EQ(answer->document, "tok|1");
  EXPECT_EQ(answer->payload, "{\"a\":\"x|y\"}\r\n|");

  const auto progress = ParseBridgeAnswer(kSecret + "|progress|4294967295|7|99999999999", kSecret);
  ASSERT_TRUE(progress);
  EXPECT_TRUE(progress->progress);
  EXPECT_EQ(progress->id, 4294967295u);
  EXPECT_EQ(progress->done, 7);
  EXPECT_EQ(progress->total, INT_MAX);

  // Another secret, an id out of range, a bad path or escape, a missing field, an event line.
  for (const std::string& bad :
       {std::string("fedcba9876543210fedcba9876543210|answer|1||d|null"),
        kSecret + "|answer|0||d|null", kSecret + "|answer|4294967296||d|null",
        kSecret + "|answer|1|0.|d|null", kSecret + "|answer|1||%G0|null", kSecret + "|answer|1||d",
        kSecret + "|progress|1|2", kSecret + "|progress|1|2|3|4", kSecret + "|ready||||||"}) {
    EXPECT_FALSE(ParseBridgeAnswer(bad, kSecret)) << bad;
  }
  EXPECT_FALSE(ParseBridgeAnswer(kSecret + "|answer|1||d|null", ""));
}

TEST(BridgeMessageTest, PercentDecodeNeedsTwoHexDigits) {
  EXPECT_EQ(PercentDecode("a%20b%2fc%2F+"), "a b/c/+");
  EXPECT_EQ(PercentDecode("%E2%82%ac"), "\xE2\x82\xAC");
  EXPECT_EQ(PercentDecode("%00"), std::string(1, '\0'));
  for (const char* bad : {"%G1", "%1G", "%4", "abc%"})
    EXPECT_FALSE(PercentDecode(bad)) << bad;
}

}  // namespace
}  // namespace zelvora
