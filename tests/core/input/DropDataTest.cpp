#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsFileFixture.h"
#include "core/input/DropData.h"
#include "core/shell/WindowState.h"
#include "core/tools/TreeFile.h"

namespace zelvora {
namespace {

DroppedUri Web(const std::string& url) {
  return {url, {}};
}
DroppedUri File(const std::string& path) {
  return {"file://" + path, path};
}

TEST(ClassifyDropTest, TheFirstOfferedFormatDecidesTheKind) {
  // A link with its title wins over the URL list and the text that come with it.
  DropOffer offer;
  offer.mozUrl = "https://example.org/a\nExample \xc3\xa4 page\r\nhttps://example.org/b\nB";
  offer.uris = {Web("https://example.org/a")};
  offer.text = "https://example.org/a";
  DropContent content = ClassifyDrop(offer);
  EXPECT_EQ(content.kind, DropKind::kUrl);
  EXPECT_EQ(content.text, "https://example.org/a");
  EXPECT_EQ(content.title, "Example \xc3\xa4 page");

  // Files only while every entry is a local file; the order is kept.
  offer.mozUrl.clear();
  offer.uris = {File("/tmp/c.txt"), File("/tmp/a b.txt"), File("/tmp/b")};
  content = ClassifyDrop(offer);
  EXPECT_EQ(content.kind, DropKind::kFiles);
  EXPECT_EQ(content.files, (std::vector<std::string>{"/tmp/c.txt", "/tmp/a b.txt", "/tmp/b"}));
  offer.uris.push_back(Web("ftp://example.org/x"));
  offer.uris.front() = Web("http://example.org/first\r\n");
  content = ClassifyDrop(offer);
  EXPECT_EQ(content.kind, DropKind::kUrl);
  EXPECT_EQ(content.text, "http://example.org/first");
  EXPECT_TRUE(content.files.empty());

  // Text keeps its first line, whatever the line ends.
  offer.uris.clear();
  for (const char* text : {"first line\r\nsecond", "first line\rsecond", "first line\nsecond\n"}) {
    offer.text = text;
    content = ClassifyDrop(offer);
    EXPECT_EQ(content.kind, DropKind::kText);
    EXPECT_EQ(content.text, "first line");
  }

  // Nothing usable is refused: no format, or an empty first line.
  offer.text = "\r\nsecond line";
  EXPECT_EQ(ClassifyDrop(offer).kind, DropKind::kRefused);
  EXPECT_EQ(ClassifyDrop(DropOffer{}).kind, DropKind::kRefused);
  offer.text.clear();
  offer.mozUrl = "\nTitle only";
  EXPECT_EQ(ClassifyDrop(offer).kind, DropKind::kRefused);
}

// Marked links leave a tree with their names; what comes back of them is the first link.
TEST(MarkedLinksTest, MarkedLinksLeaveWithTheirNames) {
  TTreeModel model(kToolFavorite);
  FavoriteNew(model);
  SelectTreeItem(model, model.FirstTopLevel());
  InsertTreeText(model,
                 "https://a.example/\tAlpha\r\n1,Folder\r\n\tabout:blank\tInside\r\n"
                 "https://c.example/\tGamma\r\n",
                 true, {}, nullptr);
  // Every new item is marked: the folder and an item no longer marked stay behind.
  const TreeHandle folder = model.Children(model.FirstTopLevel())[1];
  model.SetMarked(model.Children(folder).front(), false);
  const std::vector<DraggedLink> links = MarkedLinks(model);
  ASSERT_EQ(links.size(), 2u);
  const std::string text = MozUrlText(links);
  EXPECT_EQ(text, "https://a.example/\nAlpha\nhttps://c.example/\nGamma\n");
  DropOffer offer;
  offer.mozUrl = text;
  const DropContent content = ClassifyDrop(offer);
  EXPECT_EQ(content.text, "https://a.example/");
  EXPECT_EQ(content.title, "Alpha");
  // A link without a name goes by its address.
  EXPECT_EQ(MozUrlText({{"https://d.example/", ""}}), "https://d.example/\nhttps://d.example/\n");
}

class DroppedFilesTest : public SettingsFileFixture {
 protected:
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
};

TEST_F(DroppedFilesTest, EachNameBecomesOneTreeLineInItsOrder) {
  std::filesystem::create_directory(folder_ / "Pictures");
  WriteRaw("News.URL", "[InternetShortcut]\r\nURL=https://news.example/?a=1&b=2\r\n");
  WriteRaw("Broken.url", "[Other]\r\nURL=https://wrong.example/\r\n");
  WriteRaw("site.desktop", "[Desktop Entry]\nType=Link\nName=My Site\nURL=https://site.example/\n");
  WriteRaw("app.desktop", "[Desktop Entry]\nType=Application\nName=App\nExec=app\n");
  WriteRaw("notes.txt", "plain");
  // A shortcut would not be this large: the file is taken as a plain one.
  WriteRaw("huge.url",
           "[InternetShortcut]\r\nURL=https://huge.example/\r\n" + std::string(200 * 1024, 'x'));
  const std::vector<std::string> paths = {
      Path("notes.txt"),  Path("Pictures"),     Path("News.URL"),
      Path("Broken.url"), Path("site.desktop"), Path("app.desktop"),
      Path("huge.url"),   Path("missing.pdf"),  Path("gone/")};
  EXPECT_EQ(DroppedFilesTreeText(paths, {}),
            Path("notes.txt") + "\tnotes.txt\r\n" +  //
                "0,Pictures\r\n" +                   //
                "https://news.example/?a=1&b=2\tNews\r\n" + Path("Broken.url") + "\tBroken\r\n" +
                "https://site.example/\tMy Site\r\n" + Path("app.desktop") + "\tapp.desktop\r\n" +
                Path("huge.url") + "\thuge\r\n" + Path("missing.pdf") + "\tmissing.pdf\r\n" +
                Path("gone/") + "\tNo Name\r\n");

  // A dragged tab's title names what it carries.
  EXPECT_EQ(DroppedFilesTreeText({Path("News.URL"), Path("Pictures")}, "Tab\ttitle"),
            "https://news.example/?a=1&b=2\tTab title\r\n0,Tab title\r\n");

  // The bars, dialog fields and tabs get an address or a path; a shortcut without an address
  // gives the blank page.
  EXPECT_EQ(DroppedFileText(Path("News.URL")), "https://news.example/?a=1&b=2");
  EXPECT_EQ(DroppedFileText(Path("Broken.url")), "about:blank");
  EXPECT_EQ(DroppedFileText(Path("site.desktop")), "https://site.example/");
  EXPECT_EQ(DroppedFileText(Path("notes.txt")), Path("notes.txt"));
  EXPECT_EQ(DroppedLinkTreeText("https://a.example/", {}),
            "https://a.example/\thttps://a.example/\r\n");
  EXPECT_EQ(DroppedLinkTreeText("https://a.example/", "A"), "https://a.example/\tA\r\n");
}

}  // namespace
}  // namespace zelvora
