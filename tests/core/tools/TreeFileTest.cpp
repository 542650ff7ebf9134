#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "SettingsFileFixture.h"
#include "TreeQueries.h"
#include "core/shell/WindowState.h"
#include "core/text/Utf8.h"
#include "core/tools/TreeFile.h"

namespace zelvora {
namespace {

namespace fs = std::filesystem;

const TreeDefaults kDefaults;

InsertResult Paste(TTreeModel& model, std::string_view text, bool focus = false) {
  return InsertTreeText(model, text, focus, kDefaults, nullptr);
}

std::string Dump(const TTreeModel& model) {
  return SerializeTree(model, nullptr);
}

// The item with this name, searched in pre-order.
class TreeFileTest : public SettingsFileFixture {
 protected:
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  std::string Read(const std::string& name) const {
    return ReadWholeFile(PathOf(name)).value_or("(missing)");
  }
};

TEST_F(TreeFileTest, AddedItemsWriteTheDocumentedExample) {
  TTreeModel model(kToolFavorite);
  const TreeHandle root = AddTreeItem(model, true, kNoItem, {}, "Favorite", kDefaults);
  model.SetOpen(root, true);
  const TreeHandle news = AddTreeItem(model, true, kNoItem, {}, "News", kDefaults);
  model.SetOpen(news, true);
  const TreeHandle start = AddTreeItem(model, false, news, {}, "Start page", kDefaults);
  model.SetCaret(root);
  const TreeHandle url = AddTreeItem(model, false, kNoItem, {}, {}, kDefaults);
  EXPECT_EQ(model.Caret(), url);
  model.SetCaret(start);

  ASSERT_EQ(WriteTreeFile(model, PathOf("Favorite.dat"), nullptr).status,
            TreeWriteStatus::kWritten);
  EXPECT_EQ(Read("Favorite.dat"),
            "// Select=2 Pos=0,0\r\n"
            "1,Favorite\r\n"
            "\t1,News\r\n"
            "\t\tabout:blank\tStart page\r\n"
            "\tabout:blank\tUrl\r\n");
  EXPECT_FALSE(model.Items().Modified);
}

TEST_F(TreeFileTest, RoundTripKeepsItemsOpenFoldersSelectionAndScroll) {
  std::string longName = "x";
  for (int i = 0; i < 299; ++i)
    longName += "\xe6\x97\xa5";
  TTreeModel model(kToolFavorite);
  Paste(model,
        "1,Favorite\r\n"
        "\t1,News\r\n"
        "\t\thttp://example.org/?a=1,2\tStart page\r\n"
        "\t0,Closed\r\n"
        "\t\tftp://x/\tHidden\r\n"
        "\t\t1,Open inside closed\r\n"
        "\t\t\thttp://\xe4\xbe\x8b.jp/\t" +
            longName +
            "\r\n"
            "\tabout:blank\tUrl\r\n"
            "0,Second top-level folder\r\n"
            "\tabout:blank\tIn the second\r\n");
  const std::string cut = longName.substr(0, 1 + 254 * 3);
  ASSERT_NE(Find(model, cut), kNoItem);
  EXPECT_EQ(CharCount(cut), kTreeNameMax);
  model.SetCaret(Find(model, "Hidden"));
  model.scrollX = 17;
  model.scrollY = 4242;

  const std::string path = PathOf("Round.dat");
  ASSERT_EQ(WriteTreeFile(model, path, nullptr).status, TreeWriteStatus::kWritten);
  EXPECT_TRUE(Read("Round.dat").starts_with("// Select=4 Pos=17,4242\r\n1,Favorite\r\n"));

  TTreeModel loaded(kToolFavorite);
  Paste(loaded, "0,Replaced\r\n");
  const TreeReadResult read = ReadTreeFile(loaded, path, kDefaults, nullptr);
  ASSERT_EQ(read.status, TreeReadStatus::kLoaded);
  EXPECT_EQ(read.insert.added.size(), 10u);
  EXPECT_EQ(loaded.Children(kNoItem).size(), 2u);
  EXPECT_EQ(Dump(loaded), Dump(model));
  EXPECT_EQ(loaded.Caret(), Find(loaded, "Hidden"));
  EXPECT_EQ(loaded.scrollX, 17);
  EXPECT_EQ(loaded.scrollY, 4242);
  EXPECT_FALSE(loaded.Items().Modified);
  EXPECT_FALSE(TreeDiffersFromFile(loaded, path));
}

TEST_F(TreeFileTest, ReadingLoadsWhatParses) {
  const std::string huge(1 << 20, 'v');
  WriteRaw("Mixed.dat",
           "// Select=2 Pos=3,4\n"
           "\ta fragment without its parent\r"
           "2,Root\r"
           "\t12,x\n"
           "\t" +
               huge +
               "\tbig\r\n"
               "\t\xff\xfe\t \xc3 odd \r\n"
               "\r\n\r\n"
               "\t\t\tover-deep\r\n"
               "\t0,Sub\r\n"
               "a last line without its end");
  TTreeModel model(kToolFavorite);
  const TreeReadResult read = ReadTreeFile(model, PathOf("Mixed.dat"), kDefaults, nullptr);
  ASSERT_EQ(read.status, TreeReadStatus::kLoaded);
  EXPECT_EQ(Dump(model),
            "1,Root\r\n"
            "\tabout:blank\tover-deep\r\n"
            "\tabout:blank\t12,x\r\n"
            "\t" +
                huge +
                "\tbig\r\n"
                "\t\xff\xfe\t\xc3 odd\r\n"
                "\t0,Sub\r\n");
  EXPECT_EQ(model.Caret(), Find(model, "12,x"));
  EXPECT_EQ(model.scrollY, 4);

  // A header naming no item keeps the first one; a missing number is 0 and a huge one is clamped.
  WriteRaw("Header.DAT", "// Select=99999999999999999999 Pos=,7\r\n0,A\r\n");
  ASSERT_EQ(ReadTreeFile(model, PathOf("Header.DAT"), kDefaults, nullptr).status,
            TreeReadStatus::kLoaded);
  EXPECT_EQ(Dump(model), "0,A\r\n");
  EXPECT_EQ(model.Caret(), model.FirstTopLevel());
  EXPECT_EQ(model.scrollX, 0);
  EXPECT_EQ(model.scrollY, 7);
}

TEST_F(TreeFileTest, FilesThatLoadNothingOrCannotBeRead) {
  TTreeModel model(kToolHistory);
  WriteRaw("Only.dat", "// Select=3 Pos=1,2\r\n");
  const TreeReadResult empty = ReadTreeFile(model, PathOf("Only.dat"), kDefaults, nullptr);
  EXPECT_EQ(empty.status, TreeReadStatus::kNothingLoaded);
  EXPECT_EQ(Dump(model), "0,Zelvora\r\n");
  EXPECT_EQ(model.Caret(), model.FirstTopLevel());
  EXPECT_FALSE(model.Items().Modified);

  Paste(model, "kept\tKept\r\n");
  const std::string before = Dump(model);
  WriteRaw("Tree.txt", "0,A\r\n");
  EXPECT_EQ(ReadTreeFile(model, PathOf("Tree.txt"), kDefaults, nullptr).status,
            TreeReadStatus::kRejected);
  EXPECT_EQ(ReadTreeFile(model, PathOf("missing.dat"), kDefaults, nullptr).status,
            TreeReadStatus::kRejected);
  WriteRaw("Locked.dat", "0,A\r\n");
  const int fd = open(PathOf("Locked.dat").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  const TreeReadResult locked = ReadTreeFile(model, PathOf("Locked.dat"), kDefaults, nullptr);
  close(fd);
  EXPECT_EQ(locked.status, TreeReadStatus::kRejected);
  EXPECT_FALSE(locked.error.empty());
  EXPECT_EQ(Dump(model), before);
}

TEST_F(TreeFileTest, WritesThatFailOrStopKeepTheOldFile) {
  TTreeModel model(kToolFavorite);
  const std::string path = PathOf("Favorite.dat");
  EXPECT_EQ(WriteTreeFile(model, path, nullptr).status, TreeWriteStatus::kEmpty);
  EXPECT_FALSE(fs::exists(path));

  FavoriteNew(model);
  ASSERT_EQ(WriteTreeFile(model, path, nullptr).status, TreeWriteStatus::kWritten);
  const std::string old = Read("Favorite.dat");
  for (int i = 0; i < 2000; ++i)
    AddTreeItem(model, false, model.Caret(), "http://example.org/a/long/path", "t", kDefaults);

  TJobState job;
  job.stop = true;
  EXPECT_EQ(WriteTreeFile(model, path, &job).status, TreeWriteStatus::kStopped);
  EXPECT_EQ(Read("Favorite.dat"), old);

  // A full disk, as far as this process can tell: writes beyond a small size fail with EFBIG.
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const TreeWriteResult full = WriteTreeFile(model, path, nullptr);
  setrlimit(RLIMIT_FSIZE, &limit);
  signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(full.status, TreeWriteStatus::kFailed);
  EXPECT_FALSE(full.error.empty());
  EXPECT_TRUE(model.Items().Modified);
  EXPECT_EQ(Read("Favorite.dat"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
}

TEST(TreeTextTest, PasteGoesWhereTheCaretSays) {
  TTreeModel model(kToolFavorite);
  Paste(model,
        "1,Root\r\n"
        "\t0,Closed\r\n"
        "\t\tc\tC\r\n"
        "\t1,Open\r\n"
        "\t\to\tO\r\n"
        "\ti\tI\r\n");
  model.SetCaret(Find(model, "I"));
  EXPECT_EQ(
      Paste(model, "\torphan\tskipped\r\n\t\tdeeper\tskipped\r\np\tP\r\nq\tQ\r\n").added.size(),
      2u);
  EXPECT_EQ(model.Caret(), Find(model, "P"));
  model.SetCaret(Find(model, "Open"));
  Paste(model, "r\tR\r\n");
  model.SetCaret(Find(model, "Closed"));
  Paste(model, "0,S\r\n");
  model.SetCaret(Find(model, "S"));
  Paste(model, "s\tS1\r\n");
  EXPECT_EQ(Dump(model),
            "1,Root\r\n"
            "\t0,Closed\r\n"
            "\t\tc\tC\r\n"
            "\t0,S\r\n"
            "\t\ts\tS1\r\n"
            "\t1,Open\r\n"
            "\t\tr\tR\r\n"
            "\t\to\tO\r\n"
            "\ti\tI\r\n"
            "\tp\tP\r\n"
            "\tq\tQ\r\n");
}

TEST(TreeTextTest, LinesTakeTheDefaultsOfTheirTree) {
  // A History search that found nothing leaves a tree without items: a pasted item gets a folder.
  TTreeModel history(kToolHistory);
  const InsertResult pasted = Paste(history, "http://a/\tA\r\nhttp://b/\tB\r\n", true);
  EXPECT_EQ(Dump(history), "1,Zelvora\r\n\thttp://a/\tA\r\n\thttp://b/\tB\r\n");
  EXPECT_EQ(history.MarkedItems(), pasted.added);
  EXPECT_EQ(history.Caret(), pasted.added.front());

  TTreeModel proxy(kToolProxy);
  Paste(proxy, "2,Folder digit 2 opens\r\n\tbare name\r\n\tvalue\t\r\n\t0,\r\n");
  EXPECT_EQ(Dump(proxy),
            "1,Folder digit 2 opens\r\n\t0\tbare name\r\n\tvalue\tProxy\r\n\t0,Folder\r\n");
  TTreeModel favorite(kToolFavorite);
  Paste(favorite, "0,Folder digit 2 opens\r\n\tbare name\r\n\tvalue\t\r\n\t0,\r\n");
  EXPECT_EQ(Dump(favorite),
            "0,Folder digit 2 opens\r\n\tabout:blank\tbare name\r\n\tvalue\tUrl\r\n\t0,Folder\r\n");

  TTreeModel empty(kToolProxy);
  AddTreeItem(empty, false, kNoItem, {}, {}, kDefaults);
  EXPECT_EQ(Dump(empty), "0,Proxy\r\n\t0\tProxy\r\n");
}

TEST(TreeTextTest, SelectionAndPreOrderOverClosedFolders) {
  TTreeModel model(kToolFavorite);
  Paste(model,
        "1,Root\r\n"
        "\t0,Closed\r\n"
        "\t\ta\tA\r\n"
        "\t\t1,Sub\r\n"
        "\t\t\tb\tB\r\n"
        "\t1,Open\r\n"
        "\t\t1,Inner\r\n"
        "\t\t\tc\tC\r\n"
        "\t\td\tD\r\n");
  const auto select = [&](std::initializer_list<std::string_view> names) {
    model.ClearMarks();
    for (const std::string_view name : names)
      model.SetMarked(Find(model, name), true);
    return SerializeSelection(model, nullptr);
  };
  EXPECT_EQ(select({}), std::nullopt);
  EXPECT_EQ(select({"Closed"}), "0,Closed\r\n\ta\tA\r\n\t1,Sub\r\n\t\tb\tB\r\n");
  EXPECT_EQ(select({"Closed", "B"}), "0,Closed\r\n\ta\tA\r\n\t1,Sub\r\n\t\tb\tB\r\n");
  EXPECT_EQ(select({"C"}), "c\tC\r\n");
  EXPECT_EQ(select({"Open", "C"}), "1,Open\r\n\tc\tC\r\n");
  EXPECT_EQ(select({"Inner", "D"}), "1,Inner\r\nd\tD\r\n");

  const std::vector<std::string_view> order = {"Root", "Closed", "A", "Sub", "B",
                                               "Open", "Inner",  "C", "D"};
  for (int i = 0; i < static_cast<int>(order.size()); ++i) {
    EXPECT_EQ(PreOrderIndex(model, Find(model, order[i])), i);
    EXPECT_EQ(ItemAtPreOrderIndex(model, i), Find(model, order[i]));
  }
  EXPECT_EQ(ItemAtPreOrderIndex(model, 9), kNoItem);
}

TEST_F(TreeFileTest, DiffersFromFile) {
  TTreeModel written(kToolFavorite);
  Paste(written, "1,Favorite\r\n\t0,Closed\r\n\t\tc\tC\r\n");
  const std::string path = PathOf("Favorite.dat");
  ASSERT_EQ(WriteTreeFile(written, path, nullptr).status, TreeWriteStatus::kWritten);

  TTreeModel model(kToolFavorite);
  ASSERT_EQ(ReadTreeFile(model, path, kDefaults, nullptr).status, TreeReadStatus::kLoaded);
  EXPECT_FALSE(TreeDiffersFromFile(model, path));
  model.SetOpen(Find(model, "Closed"), true);
  EXPECT_FALSE(model.Items().Modified);
  EXPECT_TRUE(TreeDiffersFromFile(model, path));
  model.SetOpen(Find(model, "Closed"), false);
  EXPECT_FALSE(TreeDiffersFromFile(model, path));
  WriteRaw("Favorite.dat", "1,Favorite\r\n\t0,Closed\r\n\t\tc\tC\r\n\td\tD\r\n");
  EXPECT_TRUE(TreeDiffersFromFile(model, path));

  // Without a file only a lone root named after the section counts as unchanged.
  TTreeModel fresh(kToolFavorite);
  FavoriteNew(fresh);
  const std::string none = PathOf("none.dat");
  EXPECT_FALSE(TreeDiffersFromFile(fresh, none));
  fresh.SetName(fresh.FirstTopLevel(), "FAVORITE");
  EXPECT_FALSE(TreeDiffersFromFile(fresh, ""));
  fresh.SetName(fresh.FirstTopLevel(), "Other");
  EXPECT_TRUE(TreeDiffersFromFile(fresh, none));
  FavoriteNew(fresh);
  AddTreeItem(fresh, false, kNoItem, {}, {}, kDefaults);
  fresh.Items().Modified = false;
  EXPECT_TRUE(TreeDiffersFromFile(fresh, none));
}

TEST(TreeFileNameTest, RecoveryGoesBesideTheFileNeverOverIt) {
  const TTreeModel proxy(kToolProxy);
  EXPECT_EQ(RecoveryPath(proxy, "/home/u/Proxy.DAT", "/data"), "/home/u/Proxy.recovered.dat");
  EXPECT_EQ(RecoveryPath(proxy, "/home/u.v/list", "/data"), "/home/u.v/list.recovered.dat");
  EXPECT_EQ(RecoveryPath(proxy, "", "/data/"), "/data/Proxy.recovered.dat");
}

}  // namespace
}  // namespace zelvora
