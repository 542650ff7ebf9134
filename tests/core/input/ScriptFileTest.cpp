#include <gtest/gtest.h>

#include <string>

#include "SettingsFileFixture.h"
#include "core/input/ScriptFile.h"
#include "core/shell/SafeFile.h"
#include "core/text/Utf8.h"

namespace zelvora {
namespace {

class ScriptFileTest : public SettingsFileFixture {
 protected:
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  TScriptFile Write(const std::string& content) {
    WriteRaw("Script.txt", content);
    return TScriptFile::Read(Path("Script.txt"));
  }
  ScriptFolders Folders() const { return {"/opt/zelvora", folder_.string()}; }
};

TEST(ScriptMenuEntriesTest, SectionNamesPlaceSeparatorsSubmenusAndTheirItems) {
  const std::string longName = "\xC3\xA9" + std::string(45, 'x');  // 46 characters, "é" first
  const auto entries = ScriptMenuEntries({"..Early", ".", "A", "-", ".Tools", "..B", "..-", "..C",
                                          "D", "..E", "-", "." + longName, "", longName});
  struct Expected {
    ScriptEntryKind kind;
    bool inSubmenu;
    std::string caption;
    std::string section;
  };
  const Expected expected[] = {
      {ScriptEntryKind::kItem, false, "A", "A"},
      {ScriptEntryKind::kSeparator, false, "", ""},
      {ScriptEntryKind::kSubmenu, false, "Tools", ""},
      {ScriptEntryKind::kItem, true, "B", "..B"},
      {ScriptEntryKind::kSeparator, true, "", ""},
      {ScriptEntryKind::kItem, true, "C", "..C"},
      {ScriptEntryKind::kItem, false, "D", "D"},
      // The most recent sub-menu takes ".." sections wherever they come.
      {ScriptEntryKind::kItem, true, "E", "..E"},
      {ScriptEntryKind::kSeparator, false, "", ""},
      {ScriptEntryKind::kSubmenu, false, longName.substr(0, 41), ""},
      // Cut captions still run their whole section.
      {ScriptEntryKind::kItem, false, longName.substr(0, 41), longName},
  };
  ASSERT_EQ(entries.size(), std::size(expected));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(entries[i].kind, expected[i].kind);
    EXPECT_EQ(entries[i].inSubmenu, expected[i].inSubmenu);
    EXPECT_EQ(entries[i].caption, expected[i].caption);
    EXPECT_EQ(entries[i].section, expected[i].section);
    EXPECT_EQ(entries[i].id, 4775 + i);
  }
  EXPECT_EQ(CharCount(entries[9].caption), 40u);
}

TEST_F(ScriptFileTest, LinesStopAtTheFirstGapAndTheLanguageFallsBack) {
  const TScriptFile file = Write(
      "[.]\r\nLanguage=VBScript\r\n"
      "[Gap]\r\n0=first\r\n1= second \r\n3=never\r\n"
      "[Own]\r\nLanguage=shortcut\r\n0=/url=http://a/\r\n1=\r\n2=never\r\n"
      "[..Sub]\r\n0=x\r\n");
  const Script gap = file.ScriptOf("gap", Folders());
  EXPECT_EQ(gap.language, "VBScript");
  EXPECT_EQ(gap.code, "first\r\nsecond\r\n");
  const Script own = file.ScriptOf("Own", Folders());
  EXPECT_EQ(ClassifyScriptLanguage(own.language), ScriptLanguage::kShortCut);
  EXPECT_EQ(own.code, "/url=http://a/\r\n");
  EXPECT_EQ(file.ScriptOf("..Sub", Folders()).code, "x\r\n");
  EXPECT_EQ(file.ScriptOf("Missing", Folders()).code, "");

  const TScriptFile plain = Write("[A]\r\n0=x\r\n");
  EXPECT_EQ(plain.ScriptOf("A", Folders()).language, "JavaScript");
  EXPECT_EQ(ClassifyScriptLanguage("javascript"), ScriptLanguage::kJavaScript);
  EXPECT_EQ(ClassifyScriptLanguage("JScript"), ScriptLanguage::kJavaScript);
  EXPECT_EQ(ClassifyScriptLanguage("VBScript"), ScriptLanguage::kOther);

  EXPECT_FALSE(TScriptFile::Read(Path("None.txt")).Exists());
  EXPECT_TRUE(TScriptFile::Read(Path("None.txt")).MenuEntries().empty());
}

TEST_F(ScriptFileTest, IncludesExpandVariablesNestAndStopAtCycles) {
  std::filesystem::create_directory(folder_ / "lib");
  WriteRaw("lib/a.js", "var a = 1;\nInclude: $SelfDir$lib/b.js\r\nvar a2 = 2;\n");
  WriteRaw("lib/b.js", "var b = 1;\r\n  include:$Lib$/a.js\r\n");  // back to a: a cycle
  WriteRaw("self.js", "var s = 1;\nInclude:$SelfDir$self.js\n");
  WriteRaw("user.js", "var u = 1;");
  const TScriptFile file = Write(
      "[.]\r\nLib=$SelfDir$lib\r\nLoop=$Loop$$Loop$\r\n"
      "[Nest]\r\n0=start\r\n1=Include:$Lib$/a.js\r\n2=end\r\n"
      "[Self]\r\n0=Include:$SELFDIR$self.js\r\n1=Include:$SelfDir$Script.txt\r\n"
      "[Other]\r\n0=Include:$UserDir$user.js\r\n1=Include:$Unknown$/user.js\r\n"
      "2=Include:$SelfDir$missing.js\r\n3=Include:$Loop$\r\n4=done\r\n");

  EXPECT_EQ(file.ExpandIncludePath("$Lib$/$ZelvoraDir$", Folders()),
            folder_.string() + "/lib//opt/zelvora/");
  EXPECT_EQ(file.ScriptOf("Nest", Folders()).code,
            "start\r\nvar a = 1;\r\nvar b = 1;\r\nvar a2 = 2;\r\nend\r\n");
  // A file that includes itself is read once, and the script file is never read as a script.
  EXPECT_EQ(file.ScriptOf("Self", Folders()).code, "var s = 1;\r\n");
  // Unknown names stay, unreadable files give nothing, a self-doubling variable stops growing.
  EXPECT_EQ(file.ScriptOf("Other", Folders()).code, "var u = 1;\r\ndone\r\n");
  EXPECT_LE(file.ExpandIncludePath("$Loop$", Folders()).size(), kScriptIncludePathMax);

  // A chain of ten files, each including the next, is read eight files deep.
  for (int i = 0; i < 10; ++i) {
    const std::string name = std::to_string(i);
    const std::string next = std::to_string(i + 1);
    WriteRaw(
        "f" + name + ".js",
        std::string("f").append(name).append("\nInclude:$SelfDir$f").append(next).append(".js\n"));
  }
  const std::string chain = "[Chain]\r\n0=Include:$SelfDir$f0.js\r\n";
  EXPECT_EQ(Write(chain).ScriptOf("Chain", Folders()).code,
            "f0\r\nf1\r\nf2\r\nf3\r\nf4\r\nf5\r\nf6\r\nf7\r\n");
}

TEST_F(ScriptFileTest, HugeAndBrokenFilesGiveAtMostFourHundredEntries) {
  std::string content = "[.]\r\nLanguage=JavaScript\r\n[Big]\r\n0=" + std::string(1 << 20, 'y') +
                        "\r\n1=Include:" + std::string(1 << 20, '$') + "\r\n";
  content += "[Bad\xFF\xFE\xC3]\r\n0=\xC0\xAF\r\n[..\xE2\x82]\r\n";
  for (int i = 0; i < 10000; ++i)
    content += "[S" + std::to_string(i) + "]\r\n0=x\r\n";
  const TScriptFile file = Write(content);
  const auto entries = file.MenuEntries();
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(kScriptEntryMax));
  EXPECT_EQ(entries.front().caption, "Big");
  EXPECT_EQ(entries[1].caption, "Bad\xFF\xFE\xC3");
  EXPECT_EQ(entries[2].caption, "S0");
  EXPECT_EQ(entries.back().id, 5174);
  EXPECT_EQ(file.ScriptOf("Big", Folders()).code.size(), (1u << 20) + 2);
  EXPECT_EQ(file.ScriptOf(entries[1].section, Folders()).code, "\xC0\xAF\r\n");

  // A section name too long for the name buffer ends the list there.
  const TScriptFile longName = Write("[A]\r\n[" + std::string(1 << 20, 'n') + "]\r\n[B]\r\n");
  ASSERT_EQ(longName.MenuEntries().size(), 1u);
}

TEST_F(ScriptFileTest, NewFilesGetTheDefaultContentAndOldOnesAreKept) {
  ASSERT_TRUE(CreateScriptFile(Path("New.txt")).ok);
  EXPECT_EQ(ReadWholeFile(Path("New.txt")), "[.]\r\nLanguage=JavaScript\r\n\r\n");
  WriteRaw("Old.txt", "[Mine]\r\n0=keep\r\n");
  ASSERT_TRUE(CreateScriptFile(Path("Old.txt")).ok);
  EXPECT_EQ(ReadWholeFile(Path("Old.txt")), "[Mine]\r\n0=keep\r\n");
  EXPECT_FALSE(CreateScriptFile(Path("no/such/folder/New.txt")).ok);
}

}  // namespace
}  // namespace zelvora
