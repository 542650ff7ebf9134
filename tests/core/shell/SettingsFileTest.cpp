#include <gtest/gtest.h>

#include <string>

#include "SettingsFileFixture.h"
#include "core/shell/SettingsFile.h"
#include "core/shell/SettingsTable.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {
namespace {

constexpr PlatformColours kPlatform{MakeColour(1, 2, 3), MakeColour(4, 5, 6)};

class SettingsFileTest : public SettingsFileFixture {
 protected:
  void SetUp() override {
    SettingsFileFixture::SetUp();
    context_.platform = kPlatform;
    context_.windowWidth = 1024;
    context_.windowHeight = 700;
    context_.windowLeft = 33;
    context_.windowTop = 44;
    context_.userFolder = folder_.string();
  }

  TSettings Load(SettingsLoadResult* result = nullptr) {
    TSettings record;
    const SettingsLoadResult loaded = LoadSettings(path_, record, context_);
    if (result != nullptr)
      *result = loaded;
    return record;
  }

  SettingsLoadContext context_;
};

void ExpectSameRecord(const TSettings& a, const TSettings& b) {
  EXPECT_EQ(a.flags, b.flags);
  EXPECT_EQ(a.integers, b.integers);
  EXPECT_EQ(a.tabActions, b.tabActions);
  EXPECT_EQ(a.strings, b.strings);
  EXPECT_EQ(a.startSize, b.startSize);
  EXPECT_EQ(a.startPos, b.startPos);
  EXPECT_EQ(a.colours, b.colours);
  EXPECT_EQ(a.selectAction, b.selectAction);
  EXPECT_EQ(a.selectBeforeAction, b.selectBeforeAction);
  EXPECT_EQ(a.tabSession, b.tabSession);
}

TEST_F(SettingsFileTest, MissingFileGivesBaseDefaultsAndMissingKeysTheirFallbacks) {
  WriteRaw("DenyUrlList.txt", "ads.example\r\ntrack.example\r\n");
  SettingsLoadResult result;
  TSettings record = Load(&result);
  EXPECT_FALSE(result.fileExisted);
  TSettings expected = BaseDefaultSettings(kPlatform);
  // The user's denied-URL list is there even without a settings file.
  expected.strings[kStringDenyUrlList] = "ads.example\r\ntrack.example\r\n";
  ExpectSameRecord(record, expected);

  WriteRaw("Zelvora.ini", "[ConfigDialog]\r\nTabOpenMax=7\r\n");
  record = Load(&result);
  EXPECT_TRUE(result.fileExisted);
  EXPECT_EQ(record.Int(kIntTabOpenMax), 7);
  // The fixed start geometry falls back to where the window came up, the start modes to none.
  EXPECT_EQ(record.Int(kIntStartY), 44);
  EXPECT_EQ(record.startSize, 0);
  EXPECT_EQ(record.colours[kColourLayeredKey], kPlatform.buttonFace);
  // Permission fallbacks "111" and "0000".
  EXPECT_TRUE(record.Flag(kFlagWebPermitMultiMediaFirst + 2));
  EXPECT_FALSE(record.Flag(kFlagWebPermitSecurityFirst));
}

TEST_F(SettingsFileTest, ValuesAreReadTheWayTheFileHasAlwaysMeantThem) {
  WriteRaw("Zelvora.ini",
           "[ConfigDialog]\r\nTabNewSelect=-1\r\nWebPermitSecurity=1x1\r\n"
           "StartSize=7\r\nStartPos=-3\r\nTabWidth=12px\r\n"
           "TabProgressColor=a0b0c0\r\nToolProgressColorFour=GGGGGG\r\n"
           "[SelectDialog]\r\nAction=9\r\nBeforeAction=-1\r\n"
           "[Zelvora]\r\nTabLazyLoad=2\r\nTabDiscardMinutes=-5\r\n");
  const TSettings record = Load();
  EXPECT_FALSE(record.Flag(kFlagTabNewSelect));
  // A character other than "1", and a missing one, is off.
  EXPECT_TRUE(record.Flag(kFlagWebPermitSecurityFirst + 2));
  EXPECT_FALSE(record.Flag(kFlagWebPermitSecurityFirst + 1));
  EXPECT_FALSE(record.Flag(kFlagWebPermitSecurityFirst + 3));
  EXPECT_EQ(record.startSize, 2);
  EXPECT_EQ(record.startPos, 0);
  EXPECT_EQ(record.Int(kIntTabWidth), 12);
  EXPECT_EQ(record.colours[kColourTabProgress], MakeColour(0xA0, 0xB0, 0xC0));
  EXPECT_EQ(record.colours[kColourToolProgressFore], kPlatform.activeCaption);
  EXPECT_EQ(record.selectAction, 4);
  EXPECT_EQ(record.selectBeforeAction, 0);
  // The tab session options sit in section "Zelvora"; a missing one keeps its default (on).
  EXPECT_EQ(record.TabSession(kSessionAutoSave), 1);
  EXPECT_EQ(record.TabSession(kTabLazyLoad), 0);
  EXPECT_EQ(record.TabSession(kTabDiscardMinutes), 0);
}

TSettings NonDefaultRecord() {
  TSettings record = BaseDefaultSettings(kPlatform);
  for (std::size_t i = 0; i < record.flags.size(); ++i) {
    if (i != kFlagGestureEnable && i != kFlagGestureSameDirection)
      record.flags[i] = record.flags[i] != 0 ? 0 : 1;
  }
  for (std::size_t i = 0; i < record.integers.size(); ++i) {
    if (!kIntegerKeys[i].key.empty())
      record.integers[i] = static_cast<std::int32_t>(i * 11) - 50;
  }
  record.tabActions = {3, 2, 4, 0, 0};
  for (std::size_t i = 0; i + 1 < record.strings.size(); ++i)
    record.strings[i] = "value " + std::to_string(i) + " \xE2\x82\xAC";
  record.startSize = 2;
  record.startPos = 0;
  record.colours = {MakeColour(0x0A, 0x0B, 0xCD), MakeColour(0xFF, 0, 0), MakeColour(0, 0xFF, 0),
                    MakeColour(0x12, 0x34, 0x56)};
  record.selectAction = 3;
  record.selectBeforeAction = 2;
  record.tabSession = {0, 0, 7};
  return record;
}

TEST_F(SettingsFileTest, SaveThenLoadGivesTheSameRecord) {
  const TSettings saved = NonDefaultRecord();
  ASSERT_TRUE(SaveSettings(path_, saved));
  FlushProfile(path_);
  SettingsLoadResult result;
  const TSettings loaded = Load(&result);
  EXPECT_TRUE(result.fileExisted);
  ExpectSameRecord(loaded, saved);
  EXPECT_EQ(ReadProfileString(path_, "ConfigDialog", "TabProgressColor", ""), "0A0BCD");
  EXPECT_EQ(ReadProfileInt(path_, "Zelvora", "TabDiscardMinutes", 0), 7);
  // Every saved key once: two settings under one name would leave the file a key short.
  EXPECT_EQ(ProfileKeyNames(path_, "ConfigDialog").size(), SavedConfigKeyNames().size());

  // Keys that do not belong to the record survive a save.
  WriteProfileString(path_, "ConfigDialog", "ConfigSelect", "3");
  ASSERT_TRUE(SaveSettings(path_, BaseDefaultSettings(kPlatform)));
  EXPECT_EQ(ReadProfileInt(path_, "ConfigDialog", "ConfigSelect", 0), 3);
  EXPECT_FALSE(SaveSettings((folder_ / "missing" / "Zelvora.ini").string(), saved));
}

}  // namespace
}  // namespace zelvora
