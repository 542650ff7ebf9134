#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "SettingsFileFixture.h"
#include "core/shell/SafeFile.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

class SafeFileTest : public SettingsFileFixture {
 protected:
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }
  static mode_t ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }
};

TEST_F(SafeFileTest, AtomicWriteReplacesKeepsModeAndFollowsLinks) {
  const std::string path = PathOf("a.ini");
  const mode_t oldMask = umask(077);  // a new file gets 0644 whatever the mask says
  EXPECT_TRUE(WriteFileAtomic(path, std::string("one\0two", 7)).ok);
  umask(oldMask);
  EXPECT_EQ(ReadWholeFile(path), std::string("one\0two", 7));
  EXPECT_EQ(ModeOf(path), 0644u);

  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_TRUE(WriteFileAtomic(path, "replaced").ok);
  EXPECT_EQ(ReadWholeFile(path), "replaced");
  EXPECT_EQ(ModeOf(path), 0600u);
  EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind

  const std::string link = PathOf("link.ini");
  fs::create_symlink("a.ini", link);
  EXPECT_TRUE(WriteFileAtomic(link, "through the link").ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadWholeFile(path), "through the link");
}

TEST_F(SafeFileTest, FailedWriteLeavesOldFileAndNoTemporary) {
  const std::string blocker = PathOf("plain");
  ASSERT_TRUE(WriteFileAtomic(blocker, "x").ok);
  const FileWriteResult noFolder = WriteFileAtomic(blocker + "/a.ini", "data");
  EXPECT_FALSE(noFolder.ok);
  EXPECT_NE(noFolder.error.find("plain"), std::string::npos);

  // A file size limit fails the write the way a full disk does.
  const std::string path = PathOf("a.ini");
  ASSERT_TRUE(WriteFileAtomic(path, "old content").ok);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileWriteResult full = WriteFileAtomic(path, std::string(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(full.ok);
  EXPECT_FALSE(full.error.empty());
  EXPECT_EQ(ReadWholeFile(path), "old content");
  EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(SafeFileTest, LockedReadReportsMissingLockedAndContent) {
  const std::string path = PathOf("tree.dat");
  EXPECT_EQ(ReadFileLocked(path).status, LockedReadStatus::kMissing);
  EXPECT_FALSE(ReadWholeFile(path).has_value());

  ASSERT_TRUE(WriteFileAtomic(path, "content").ok);
  const int holder = open(path.c_str(), O_RDONLY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  const LockedRead whileHeld = ReadFileLocked(path);
  EXPECT_EQ(whileHeld.status, LockedReadStatus::kLocked);
  EXPECT_TRUE(whileHeld.content.empty());
  close(holder);

  const LockedRead afterwards = ReadFileLocked(path);
  EXPECT_EQ(afterwards.status, LockedReadStatus::kOk);
  EXPECT_EQ(afterwards.content, "content");
  // The lock is gone once the read is over.
  const int again = open(path.c_str(), O_RDONLY);
  EXPECT_EQ(flock(again, LOCK_EX | LOCK_NB), 0);
  close(again);
}

}  // namespace
}  // namespace zelvora
