#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/shell/InstanceLink.h"

namespace zelvora {
namespace {

TEST(InstanceLockTest, OnlyTheFirstHolderIsFirst) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("zelvora-lock-" + std::to_string(::getpid()) + ".lock"))
                               .string();
  {
    TInstanceLock first(path);
    EXPECT_EQ(first.GetState(), TInstanceLock::State::kFirst);
    TInstanceLock second(path);
    EXPECT_EQ(second.GetState(), TInstanceLock::State::kRunning);
  }
  // Released with its holder: the next start is first again.
  TInstanceLock again(path);
  EXPECT_EQ(again.GetState(), TInstanceLock::State::kFirst);
  std::filesystem::remove(path);

  TInstanceLock impossible("/nonexistent-folder/zelvora.lock");
  EXPECT_EQ(impossible.GetState(), TInstanceLock::State::kFailed);
}

TEST(InstanceLockTest, RuntimeFolderIsTheDesktopsOrAPrivateOneOfTheUsersOwn) {
  EXPECT_EQ(PrivateRuntimeFolder("/run/user/1000", "/tmp", 1000), "/run/user/1000");
  const std::filesystem::path temp =
      std::filesystem::temp_directory_path() / ("zelvora-rt-" + std::to_string(::getpid()));
  std::filesystem::create_directories(temp);
  const std::string own = PrivateRuntimeFolder("", temp.string(), ::getuid());
  EXPECT_EQ(own, (temp / ("zelvora-" + std::to_string(::getuid()))).string());
  EXPECT_EQ(std::filesystem::status(own).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_all);
  // Somebody else's folder under that name, or one that others may enter, is refused.
  EXPECT_EQ(PrivateRuntimeFolder("", temp.string(), ::getuid() + 1), "");
  std::filesystem::permissions(own, std::filesystem::perms::others_read,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(PrivateRuntimeFolder("", temp.string(), ::getuid()), "");
  std::filesystem::remove_all(temp);
}

TEST(SwitchMessageTest, MessagesSurviveArbitrarySplitting) {
  const std::string stream = EncodeSwitchMessage(3186, "http://a.example/ http://b.example/") +
                             EncodeSwitchMessage(3174, "") +
                             EncodeSwitchMessage(3185, "/home/\xE6\x97\xA5/tabs.dat");
  for (std::size_t chunk = 1; chunk <= stream.size(); ++chunk) {
    SwitchMessageDecoder decoder;
    std::vector<SwitchMessage> messages;
    for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
      ASSERT_TRUE(decoder.Feed(std::string_view(stream).substr(pos, chunk)));
      while (auto message = decoder.Next())
        messages.push_back(*message);
    }
    ASSERT_EQ(messages.size(), 3u) << "chunk " << chunk;
    EXPECT_EQ(messages[0].code, 3186u);
    EXPECT_EQ(messages[0].value, "http://a.example/ http://b.example/");
    EXPECT_EQ(messages[1].value, "");
    EXPECT_EQ(messages[2].value, "/home/\xE6\x97\xA5/tabs.dat");
  }
}

TEST(SwitchMessageTest, ValueEndsAtItsFirstNulAndOversizedStreamsBreak) {
  SwitchMessageDecoder decoder;
  decoder.Feed(EncodeSwitchMessage(3177, std::string("ON\0junk", 7)));
  EXPECT_EQ(decoder.Next()->value, "ON");

  std::string hostile = EncodeSwitchMessage(3186, "x");
  hostile[4] = hostile[5] = hostile[6] = hostile[7] = '\xFF';
  SwitchMessageDecoder broken;
  broken.Feed(hostile);
  EXPECT_FALSE(broken.Next().has_value());
  EXPECT_FALSE(broken.Feed(EncodeSwitchMessage(3177, "ON")));
  EXPECT_FALSE(broken.Next().has_value());
}

}  // namespace
}  // namespace zelvora
