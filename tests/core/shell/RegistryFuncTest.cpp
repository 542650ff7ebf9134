#include <gtest/gtest.h>
#include <unistd.h>

#include "SettingsFileFixture.h"
#include "core/shell/RegistryFunc.h"
#include "core/shell/SafeFile.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

// The fixture's file is the registry store here.
class RegistryFuncTest : public SettingsFileFixture {
 protected:
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    SettingsFileFixture::TearDown();
  }
};

constexpr std::string_view kMain = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";

TEST_F(RegistryFuncTest, ValuesRoundTripThroughTheFile) {
  const std::vector<std::pair<std::string, std::string>> values = {
      {"", "default"},
      {"quoted \"name\"", "say \"hi\""},
      {"back\\slash", "C:\\dir\\\\share\\"},
      {"a=b", "x=\"y\"=z"},
      {"日本語", "値 ü"},
      {"lines", "one\r\ntwo\rthree\n"},
      {"@", ""},
      {"]", "[HKEY_CURRENT_USER\\fake]"},
  };
  {
    TRegistry registry(path_);
    for (const auto& [name, data] : values)
      ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, "Software\\Zelvora", name, data)) << name;
    ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kMain, "Start Page", "http://a.example/"));
  }
  const TRegistry reopened(path_);
  for (const auto& [name, data] : values)
    EXPECT_EQ(reopened.ReadString(kHkeyCurrentUser, "Software\\Zelvora", name), data) << name;
  std::vector<std::string> names;
  for (const auto& value : values)
    names.push_back(value.first);
  EXPECT_EQ(reopened.ValueNames(kHkeyCurrentUser, "software\\zelvora"), names);
  EXPECT_EQ(ReadStartPage(reopened), "http://a.example/");
  EXPECT_EQ(ReadStartPage(TRegistry((folder_ / "missing.txt").string())), "");

  const std::string text = ReadWholeFile(path_).value_or("");
  EXPECT_TRUE(text.starts_with("[HKEY_CURRENT_USER\\Software\\Zelvora]\r\n@=\"default\"\r\n"));
}

TEST_F(RegistryFuncTest, KeysCompareWithoutCaseAndNormalisePaths) {
  TRegistry registry(path_);
  ASSERT_TRUE(registry.WriteString(kHkeyClassesRoot, "http\\shell\\open\\command", "", "cmd"));
  ASSERT_TRUE(registry.WriteString(kHkeyClassesRoot, "HTTP\\\\Shell\\\\Print\\", "", "print"));
  ASSERT_TRUE(registry.WriteString(kHkeyClassesRoot, "http\\DefaultIcon", "", "icon"));
  ASSERT_TRUE(registry.WriteString(kHkeyClassesRoot, "Http\\SHELL\\open\\command", "", "new"));

  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "HTTP\\shell\\OPEN\\command\\", ""), "new");
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "http\\shell\\print", ""), "print");
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "http\\shell\\print", "other"), std::nullopt);
  EXPECT_EQ(registry.ReadString(kHkeyLocalMachine, "http\\shell\\print", ""), std::nullopt);
  EXPECT_EQ(registry.SubKeyNames(kHkeyClassesRoot, "HTTP"),
            (std::vector<std::string>{"shell", "DefaultIcon"}));
  EXPECT_EQ(registry.SubKeyNames(kHkeyClassesRoot, "http\\shell"),
            (std::vector<std::string>{"open", "Print"}));
  EXPECT_TRUE(registry.KeyExists(kHkeyClassesRoot, "http\\shell"));  // a parent never written
  EXPECT_FALSE(registry.KeyExists(kHkeyClassesRoot, "http\\she"));

  EXPECT_FALSE(registry.DeleteValue(kHkeyClassesRoot, "http\\DefaultIcon", "missing"));
  EXPECT_TRUE(registry.DeleteValue(kHkeyClassesRoot, "http\\DefaultIcon", ""));
  EXPECT_TRUE(registry.ValueNames(kHkeyClassesRoot, "http\\DefaultIcon").empty());

  ASSERT_TRUE(registry.WriteString(kHkeyClassesRoot, "https\\shell", "", "kept"));
  EXPECT_TRUE(registry.DeleteKey(kHkeyClassesRoot, "HTTP\\Shell"));
  EXPECT_FALSE(registry.DeleteKey(kHkeyClassesRoot, "http\\shell"));
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "https\\shell", ""), "kept");
  EXPECT_EQ(TRegistry(path_).SubKeyNames(kHkeyClassesRoot, "http"),
            (std::vector<std::string>{"DefaultIcon"}));

  EXPECT_FALSE(registry.WriteString(kHkeyClassesRoot, "bad\nkey", "", "x"));
}

TEST_F(RegistryFuncTest, DamagedFilesReadAsFarAsTheyParse) {
  std::string text = "@=\"before any key\"\r\n";
  text += "[HKEY_CURRENT_USER\\A]\r";
  text += "\"x\"=\"first\"\n";
  text += "\"X\"=\"second\"\r\n";
  text += "garbage line\r\n\"unterminated\"=\"value\r\n\"y\"=\"ok\" trailing\r\n";
  text += "\"bytes\"=\"\xff\xfe\x80\"\r\n";
  text += "\"long\"=\"" + std::string(1 << 20, 'L') + "\"\r\n";
  text += "[]\r\n\"lost\"=\"no key\"\r\n";
  text += "[HKEY_CURRENT_USER\\\\B\\]\r\n@=\"last line without an end\"";
  WriteRaw(text);

  const TRegistry registry(path_);
  EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, "A", "x"), "first");
  EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, "A", "bytes"), "\xff\xfe\x80");
  EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, "A", "long")->size(), 1u << 20);
  EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, "B", ""), "last line without an end");
  EXPECT_EQ(registry.ValueNames(kHkeyCurrentUser, "A"),
            (std::vector<std::string>{"x", "bytes", "long"}));
  EXPECT_EQ(registry.SubKeyNames(kHkeyCurrentUser, ""), (std::vector<std::string>{"A", "B"}));
}

TEST_F(RegistryFuncTest, FailedWriteKeepsMemoryAndFile) {
  TRegistry registry(path_);
  ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, "A", "v", "old"));

  TRegistry nowhere((folder_ / "missing" / "Registry.txt").string());
  EXPECT_FALSE(nowhere.WriteString(kHkeyCurrentUser, "A", "v", "new"));
  EXPECT_EQ(nowhere.ReadString(kHkeyCurrentUser, "A", "v"), std::nullopt);
  EXPECT_FALSE(nowhere.KeyExists(kHkeyCurrentUser, "A"));

  if (geteuid() == 0)
    return;  // root writes into read-only folders all the same
  fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_FALSE(registry.WriteString(kHkeyCurrentUser, "A", "v", "new"));
  EXPECT_FALSE(registry.DeleteKey(kHkeyCurrentUser, "A"));
  EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, "A", "v"), "old");
  EXPECT_EQ(TRegistry(path_).ReadString(kHkeyCurrentUser, "A", "v"), "old");
}

}  // namespace
}  // namespace zelvora
