#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SettingsFileFixture.h"
#include "core/input/DefaultBrowser.h"
#include "core/shell/SafeFile.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExecutable = "/opt/zelvora/zelvora";
constexpr std::string_view kHtmOpenWith =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.htm\\OpenWithList";
constexpr std::string_view kHtmlOpenWith =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.html\\OpenWithList";

// A file's content and identity: a file replaced by an atomic write is a new file.
struct FileState {
  std::optional<std::string> bytes;
  ino_t inode = 0;
  timespec modified{};

  explicit FileState(const std::string& path) : bytes(ReadWholeFile(path)) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
      inode = info.st_ino;
      modified = info.st_mtim;
    }
  }
  bool operator==(const FileState& other) const {
    return bytes == other.bytes && inode == other.inode &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

// The fixture's settings path serves as the registry store; a home of its own holds the XDG
// folders.
class DefaultBrowserTest : public SettingsFileFixture {
 protected:
  void SetUp() override {
    SettingsFileFixture::SetUp();
    desktop_ = DesktopFoldersFrom((folder_ / "data").string(), (folder_ / "config").string(),
                                  "/nonexistent");
  }
  std::string ListPath() const { return desktop_.configFolder + "/mimeapps.list"; }
  std::string EntryPath() const { return desktop_.applicationsFolder + "/zelvora.desktop"; }
  std::optional<std::string> DefaultFor(std::string_view type) const {
    return DefaultApplicationOf(ReadWholeFile(ListPath()).value_or(""), type);
  }
  void WriteList(const std::string& text) {
    fs::create_directories(desktop_.configFolder);
    ASSERT_TRUE(WriteFileAtomic(ListPath(), text).ok);
  }
  void Apply(bool on, TRegistry& registry) {
    const TDefaultBrowserResult result = ApplyDefaultBrowser(on, registry, kExecutable, desktop_);
    EXPECT_TRUE(result.ok) << result.error;
  }

  TDesktopFolders desktop_;
};

TEST_F(DefaultBrowserTest, RegisteringSetsEachClassOnceAndTheSecondTimeWritesNothing) {
  TRegistry registry(path_);
  ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kHtmOpenWith, "a", "other.exe"));
  ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kHtmOpenWith, "b", "third.exe"));
  ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kHtmOpenWith, "MRUList", "ba"));
  ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kHtmlOpenWith, "a", "ZELVORA"));
  const TProgramIdentity program = IdentityOf(kExecutable);

  RegisterInRegistry(registry, program);
  for (const char* pageClass : {"htmlfile", "http", "https", "mhtmlfile"}) {
    const std::string shell = std::string(pageClass) + "\\shell";
    EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, shell, ""), "zelvora") << pageClass;
    EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, shell + "\\zelvora\\command", ""),
              "/opt/zelvora/zelvora /URL=%1")
        << pageClass;
  }
  EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, kHtmOpenWith, "c"), "zelvora");
  EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, kHtmOpenWith, "MRUList"), "ba");
  EXPECT_EQ(registry.ValueNames(kHkeyCurrentUser, kHtmlOpenWith),
            std::vector<std::string>{"a"});  // listed already, whatever the case

  const FileState before(path_);
  RegisterInRegistry(registry, program);
  EXPECT_TRUE(FileState(path_) == before);

  // Twenty-six letters taken: nothing more is written.
  for (char letter = 'a'; letter <= 'z'; ++letter)
    registry.WriteString(kHkeyCurrentUser, kHtmlOpenWith, std::string(1, letter), "x.exe");
  const FileState full(path_);
  RegisterInRegistry(registry, program);
  EXPECT_TRUE(FileState(path_) == full);
}

TEST_F(DefaultBrowserTest, AnotherProgramsVerbIsNotTakenBackAndWithdrawingRestoresOnlyOurs) {
  TRegistry registry(path_);
  const TProgramIdentity program = IdentityOf(kExecutable);
  RegisterInRegistry(registry, program);
  ASSERT_TRUE(registry.WriteString(kHkeyClassesRoot, "http\\shell", "", "firefox"));
  ASSERT_TRUE(registry.WriteString(kHkeyClassesRoot, "https\\shell", "", "ZelVora"));
  RegisterInRegistry(registry, program);
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "http\\shell", ""), "firefox");

  ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kHtmOpenWith, "a", "other.exe"));
  ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kHtmOpenWith, "b", "zelvora"));
  UnregisterFromRegistry(registry, program);
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "http\\shell", ""), "firefox");
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "https\\shell", ""), "open");
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "htmlfile\\shell", ""), "opennew");
  EXPECT_EQ(registry.ReadString(kHkeyClassesRoot, "mhtmlfile\\shell", ""), "open");
  for (const char* pageClass : {"htmlfile", "http", "https", "mhtmlfile"})
    EXPECT_FALSE(registry.KeyExists(kHkeyClassesRoot, std::string(pageClass) + "\\shell\\zelvora"));
  EXPECT_EQ(registry.ValueNames(kHkeyCurrentUser, kHtmOpenWith), std::vector<std::string>{"a"});

  // Withdrawing what is not there writes nothing.
  const FileState before(path_);
  UnregisterFromRegistry(registry, program);
  EXPECT_TRUE(FileState(path_) == before);
}

TEST_F(DefaultBrowserTest, TheDesktopEntryQuotesThePathForTheLauncher) {
  const std::string entry = DesktopEntryText("/opt/my apps/$HOME \"x\"/100%/a\\b/zelvora");
  EXPECT_NE(
      entry.find(
          "\nExec=\"/opt/my apps/\\\\$HOME \\\\\"x\\\\\"/100%%/a\\\\\\\\b/zelvora\" /url=%u\n"),
      std::string::npos)
      << entry;
  EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
  EXPECT_NE(entry.find("\nMimeType=text/html;application/xhtml+xml;x-scheme-handler/http;"
                       "x-scheme-handler/https;\n"),
            std::string::npos);
  EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
  EXPECT_NE(entry.find("\nCategories=Network;WebBrowser;\n"), std::string::npos);
}

TEST_F(DefaultBrowserTest, TheListKeepsEveryOtherLineWhenADefaultChanges) {
  const std::string list =
      "# mine\n"
      "[Added Associations]\n"
      "x-scheme-handler/https=other.desktop;\n"
      "\n"
      "[Default Applications]\n"
      "text/html=firefox.desktop;\n"
      " x-scheme-handler/https = firefox.desktop;chromium.desktop;\r\n"
      "image/png=viewer.desktop;\n"
      "\n"
      "[Removed Associations]\n"
      "text/plain=editor.desktop;";
  EXPECT_EQ(DefaultApplicationOf(list, "x-scheme-handler/https"),
            "firefox.desktop;chromium.desktop;");
  EXPECT_EQ(DefaultApplicationOf(list, "x-scheme-handler/http"), std::nullopt);
  EXPECT_EQ(DefaultApplicationOf(list, "text/plain"), std::nullopt);  // not a default

  const std::string set = WithDefaultApplication(list, "x-scheme-handler/https", "a.desktop;");
  const std::string added = WithDefaultApplication(set, "x-scheme-handler/http", "a.desktop;");
  EXPECT_EQ(added,
            "# mine\n"
            "[Added Associations]\n"
            "x-scheme-handler/https=other.desktop;\n"
            "\n"
            "[Default Applications]\n"
            "text/html=firefox.desktop;\n"
            "x-scheme-handler/https=a.desktop;\n"
            "image/png=viewer.desktop;\n"
            "x-scheme-handler/http=a.desktop;\n"
            "\n"
            "[Removed Associations]\n"
            "text/plain=editor.desktop;\n");
  EXPECT_EQ(WithDefaultApplication(added, "x-scheme-handler/http", std::nullopt),
            WithDefaultApplication(set, "x-scheme-handler/http", std::nullopt));
  EXPECT_EQ(
      DefaultApplicationOf(WithDefaultApplication(set, "text/html", std::nullopt), "text/html"),
      std::nullopt);

  // No group yet: it is added at the end.
  EXPECT_EQ(WithDefaultApplication("[Added Associations]\nx=y;", "text/html", "a.desktop;"),
            "[Added Associations]\nx=y;\n\n[Default Applications]\ntext/html=a.desktop;\n");
  // A type given twice: the last line counts, and setting it leaves one.
  EXPECT_EQ(WithDefaultApplication("[Default Applications]\nt=a;\n[Default Applications]\nt=b;\n",
                                   "t", "c;"),
            "[Default Applications]\n[Default Applications]\nt=c;\n");
}

TEST_F(DefaultBrowserTest, TheDesktopDefaultIsTakenAndGivenBackOnlyWhereItIsStillOurs) {
  WriteList(
      "[Default Applications]\n"
      "x-scheme-handler/https=firefox.desktop;\n"
      "x-scheme-handler/http=firefox.desktop;\n"
      "image/png=viewer.desktop;\n");
  TRegistry registry(path_);
  Apply(true, registry);
  for (const std::string_view type : kBrowserMimeTypes)
    EXPECT_EQ(DefaultFor(type), "zelvora.desktop;") << type;
  EXPECT_EQ(DefaultFor("image/png"), "viewer.desktop;");
  EXPECT_EQ(ReadWholeFile(EntryPath()), DesktopEntryText(kExecutable));

  const FileState list(ListPath());
  const FileState entry(EntryPath());
  const FileState store(path_);
  Apply(true, registry);
  EXPECT_TRUE(FileState(ListPath()) == list);
  EXPECT_TRUE(FileState(EntryPath()) == entry);
  EXPECT_TRUE(FileState(path_) == store);

  // The user chooses another browser for http; registering again does not take it back, and
  // withdrawing leaves it.
  WriteList(WithDefaultApplication(*ReadWholeFile(ListPath()), "x-scheme-handler/http",
                                   "chromium.desktop;"));
  Apply(true, registry);
  EXPECT_EQ(DefaultFor("x-scheme-handler/http"), "chromium.desktop;");

  Apply(false, registry);
  EXPECT_EQ(DefaultFor("x-scheme-handler/https"), "firefox.desktop;");
  EXPECT_EQ(DefaultFor("x-scheme-handler/http"), "chromium.desktop;");
  EXPECT_EQ(DefaultFor("text/html"), std::nullopt);
  EXPECT_EQ(DefaultFor("image/png"), "viewer.desktop;");
  EXPECT_FALSE(fs::exists(EntryPath()));

  // Withdrawn already: the next start reads the same, and nothing is written.
  const FileState withdrawnList(ListPath());
  const FileState withdrawnStore(path_);
  TRegistry reopened(path_);
  Apply(false, reopened);
  EXPECT_TRUE(FileState(ListPath()) == withdrawnList);
  EXPECT_TRUE(FileState(path_) == withdrawnStore);
}

TEST_F(DefaultBrowserTest, WithdrawingKeepsTheEntryWhileATypeStillOpensWithIt) {
  TRegistry registry(path_);
  Apply(true, registry);
  // The user made Zelvora the default for another type in the desktop's settings.
  WriteList(
      WithDefaultApplication(*ReadWholeFile(ListPath()), "application/pdf", "zelvora.desktop;"));
  Apply(false, registry);
  EXPECT_EQ(DefaultFor("x-scheme-handler/https"), std::nullopt);
  EXPECT_EQ(DefaultFor("application/pdf"), "zelvora.desktop;");
  EXPECT_TRUE(fs::exists(EntryPath()));
}

TEST_F(DefaultBrowserTest, AListThatCannotBeWrittenIsReportedAndTheNextTryTakesTheDefaults) {
  ASSERT_TRUE(WriteFileAtomic((folder_ / "config").string(), "a file, not a folder").ok);
  TRegistry registry(path_);
  const TDefaultBrowserResult failed = ApplyDefaultBrowser(true, registry, kExecutable, desktop_);
  EXPECT_FALSE(failed.ok);
  EXPECT_NE(failed.error.find("mimeapps.list"), std::string::npos) << failed.error;

  fs::remove(folder_ / "config");
  Apply(true, registry);
  EXPECT_EQ(DefaultFor("x-scheme-handler/https"), "zelvora.desktop;");
}

TEST_F(DefaultBrowserTest, NothingIsMadeWhenNeverRegistered) {
  TRegistry registry(path_);
  Apply(false, registry);
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_FALSE(fs::exists(folder_ / "config"));
  EXPECT_FALSE(fs::exists(folder_ / "data"));
}

}  // namespace
}  // namespace zelvora
