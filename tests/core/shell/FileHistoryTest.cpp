#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SettingsFileFixture.h"
#include "core/shell/FileHistory.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

class FileHistoryTest : public SettingsFileFixture {};

TEST_F(FileHistoryTest, LoadStopsAtAGapAtADotAndAtTheMaximum) {
  WriteRaw(
      "[FileFavorite]\r\n0=/home/u/fav/Main.txt\r\n2=/home/u/fav/Other.txt\r\n"
      "[FileHistory]\r\n0=/a\r\n1=.\r\n2=/c\r\n"
      "[FileTab]\r\n0=/t0\r\n1=/t1\r\n2=/t2\r\n3=/t3\r\n");
  TFileHistoryList list;
  list.Load(path_, kFileHistorySections[kFileFavorite], 20, "/home/u");
  EXPECT_EQ(list.Entries(), std::vector<std::string>{"/home/u/fav/Main.txt"});
  EXPECT_EQ(list.CurrentFile(), "/home/u/fav/Main.txt");
  EXPECT_EQ(list.CurrentFolder(), "/home/u/fav");
  EXPECT_EQ(list.CurrentName(), "Main.txt");

  list.Load(path_, kFileHistorySections[kFileHistory], 20, "/home/u");
  EXPECT_EQ(list.Entries(), std::vector<std::string>{"/a"});

  list.Load(path_, kFileHistorySections[kFileTab], 3, "/home/u");
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/t0", "/t1", "/t2"}));

  list.Load(path_, kFileHistorySections[kFileScript], 20, "/home/u");
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.CurrentFile(), "");
  EXPECT_EQ(list.CurrentFolder(), "/home/u");
}

TEST_F(FileHistoryTest, AddMovesDuplicatesToTheFrontAndClearKeepsOnlyAnExistingFile) {
  TFileHistoryList list;
  list.Add("/f/One.txt", 3);
  list.Add("/f/Two.txt", 3);
  list.Add("/f/Three.txt", 3);
  list.Add("/F/one.TXT", 3);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/F/one.TXT", "/f/Three.txt", "/f/Two.txt"}));
  list.Add("/f/Four.txt", 3);
  EXPECT_EQ(list.Entries(),
            (std::vector<std::string>{"/f/Four.txt", "/F/one.TXT", "/f/Three.txt"}));
  // Re-adding an entry of the list itself (picked from the menu); long enough to live on the heap.
  list.Clear(false);
  const std::string longA = "/home/user/lists/a-long-favorites-file-name.txt";
  const std::string longB = "/home/user/lists/b-long-favorites-file-name.txt";
  list.Add(longA, 3);
  list.Add(longB, 3);
  list.Add(list.Entries()[1], 3);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{longA, longB}));

  const std::string existing = (folder_ / "Kept.txt").string();
  std::ofstream(existing) << "x";
  list.SetCurrentFile(existing);
  list.Add("/f/Six.txt", 5);
  list.Clear(true);
  EXPECT_EQ(list.Entries(), std::vector<std::string>{existing});
  list.Add("/f/Six.txt", 5);
  list.Clear(false);
  EXPECT_EQ(list.Count(), 0u);
  list.SetCurrentFile((folder_ / "Gone.txt").string());
  list.Add("/f/Six.txt", 5);
  list.Clear(true);
  EXPECT_EQ(list.Count(), 0u);
}

TEST_F(FileHistoryTest, SaveReplacesTheWholeSection) {
  WriteRaw("[FileProxy]\r\n0=/p0\r\n1=/p1\r\n2=/p2\r\n3=/p3\r\n4=/p4\r\n5=/p5\r\nStale=1\r\n");
  TFileHistoryList list;
  list.Add("/new/b.txt  ", 20);
  list.Add("/new/a.txt", 20);
  ASSERT_TRUE(list.Save(path_, kFileHistorySections[kFileProxy]));
  EXPECT_EQ(ProfileKeyNames(path_, "FileProxy"), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(ReadProfileString(path_, "FileProxy", "5", "none"), "none");
  EXPECT_EQ(list.Entry(2), "/new/b.txt");

  TFileHistoryList loaded;
  loaded.Load(path_, kFileHistorySections[kFileProxy], 20, "/");
  EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{"/new/a.txt", "/new/b.txt"}));

  TFileHistoryList empty;
  ASSERT_TRUE(empty.Save(path_, kFileHistorySections[kFileProxy]));
  EXPECT_TRUE(ProfileKeyNames(path_, "FileProxy").empty());
}

}  // namespace
}  // namespace zelvora
