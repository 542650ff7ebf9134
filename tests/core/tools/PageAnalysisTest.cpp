#include <gtest/gtest.h>

#include "core/shell/WindowState.h"
#include "core/tools/PageAnalysis.h"

namespace zelvora {
namespace {

AnalysisTexts Texts(std::string links, std::string images = "") {
  AnalysisTexts texts;
  texts.pageName = "Page";
  texts.links = std::move(links);
  texts.images = std::move(images);
  return texts;
}

// The tree that the texts make, as tree text.
std::string Built(AnalysisTexts texts, const AnalysisOptions& options) {
  TTreeModel tree(kToolAnalysis);
  EXPECT_EQ(BuildAnalysisTree(tree, std::move(texts), options, nullptr), AnalysisResult::kBuilt);
  return SerializeTree(tree, nullptr);
}

// The names of the items that are no folders, in display order.
std::vector<std::string> ItemNames(const TTreeModel& tree) {
  std::vector<std::string> names;
  for (TreeHandle item = tree.FirstTopLevel(); item != kNoItem; item = tree.NextInPreOrder(item))
    if (!tree.IsFolder(item))
      names.push_back(tree.Name(item));
  return names;
}

TEST(MakeAnalysisTextsTest, OneLinePerLinkAndImageWithLineBreaksAndTabsTakenOut) {
  PageDocumentRecord document;
  document.url = "http://h.example/dir/page.html";
  document.links = {
      {"http://a.example/\r\n1", "Line\r\none\ttab", ""},
      // The inner text is empty or a single space: the inner HTML names the link.
      {"http://a.example/2", " ", "<img alt=\"x\">\r\n"},
      {"http://a.example/3", "", "<b>bold</b>"},
      {"\r\n\t", "no address", ""},
      {"http://a.example/4", "  text  ", "<i>unused</i>"},
  };
  document.images = {{"http://i.example/a.png", "alt\ttext"}, {"\t", "no source"}};
  TJobState job;
  AnalysisTexts texts = MakeAnalysisTexts(document, 80, true, &job);
  EXPECT_EQ(texts.pageName, "page.html");
  EXPECT_EQ(texts.links,
            "http://a.example/1\tLine  one tab\r\n"
            " http://a.example/2\t<img alt=\"x\">  \r\n"
            " http://a.example/3\t<b>bold</b>\r\n"
            "http://a.example/4\t  text  \r\n");
  EXPECT_EQ(texts.images, "http://i.example/a.png\talt text\r\n");
  EXPECT_EQ(job.range, 7);
  EXPECT_EQ(job.position, 7);

  document.title = "Front page";
  texts = MakeAnalysisTexts(document, 80, false, &job);
  EXPECT_EQ(texts.pageName, "Front page");
  EXPECT_FALSE(texts.links.empty());
  EXPECT_TRUE(texts.images.empty());
  EXPECT_EQ(job.range, 5);

  job.stop = true;
  texts = MakeAnalysisTexts(document, 80, true, &job);
  EXPECT_TRUE(texts.Empty());
  EXPECT_EQ(texts.pageName, "Front page");
}

TEST(NameFromLinkHtmlTest, ImageTagsGiveTheirAltOrTitleOtherHtmlLosesItsTags) {
  const std::string_view url = "http://x.example/p";
  const struct {
    std::string_view html;
    std::string_view name;
  } cases[] = {
      {R"(<img src="p.png" alt="Two words  here">)", "Two words here"},
      {"<IMG SRC='q.gif' ALT='\u3000&lt;Tom &amp; Jerry&gt;\u3000\u3000'> caption",
       "<Tom & Jerry>"},
      {"<img alt=plain src=u.png>", "plain"},
      {R"(<b><img src="r.png" alt="" title="Tooltip"></b>)", "Tooltip"},
      {R"(<img src="s.png" alt="" title="">)", url},
      {"<img src=\"t.png\">", url},
      // The alt text is there but the entity table leaves nothing of it.
      {R"(<img alt="&nbsp;">)", ""},
      {"<b>Bold</b> &amp; <i>it</i>", "Bold &amp; it"},
      {"<span></span>", ""},
      {"a < b", "a < b"},
  };
  for (const auto& [html, name] : cases)
    EXPECT_EQ(NameFromLinkHtml(html, url), name) << html;
}

TEST(BuildAnalysisTreeTest, ListsLinksAndImagesInDocumentOrderOnceEach) {
  AnalysisOptions options;
  options.nameMax = 10;
  const AnalysisTexts texts = Texts(
      "http://a.example/1\tOne\r\n"
      "http://a.example/1\tOne  \r\n"
      " http://a.example/1\t<b>One</b>\r\n"
      "http://a.example/1\tUno\r\n"
      " http://a.example/2\t<a><img src=\"p.png\" alt=\"Two words\"></a>\r\n"
      " http://a.example/3\t<img src=\"p.png\">\r\n"
      " http://a.example/4\t<span></span>\r\n"
      "http://a.example/5\t   \r\n"
      "http://a.example/6\tA name that is long\r\n",
      "http://i.example/d/pic.png\t  Alt  kept  as it is  \r\n"
      "http://i.example/d/\t\r\n"
      "http://i.example/d/photograph.jpg\t\r\n"
      "http://i.example/d/pic.png\tAlt  kept  as it is\r\n");
  const std::string listed =
      "\t\t1,links\r\n"
      "\t\t\thttp://a.example/1\tOne\r\n"
      "\t\t\thttp://a.example/1\tUno\r\n"
      "\t\t\thttp://a.example/2\tTwo words\r\n"
      "\t\t\thttp://a.example/3\thttp://a.e...\r\n"
      "\t\t\thttp://a.example/4\tNo Name\r\n"
      "\t\t\thttp://a.example/5\tNo Name\r\n"
      "\t\t\thttp://a.example/6\tAnamethati...\r\n"
      "\t\t1,images\r\n"
      "\t\t\thttp://i.example/d/pic.png\tAlt  kept  as it is\r\n"
      "\t\t\thttp://i.example/d/\tNo Name\r\n"
      "\t\t\thttp://i.example/d/photograph.jpg\tphotograph...\r\n";
  TTreeModel tree(kToolAnalysis);
  AnalysisTexts consumed = texts;
  TJobState job;
  EXPECT_EQ(BuildAnalysisTree(tree, std::move(consumed), options, &job), AnalysisResult::kBuilt);
  EXPECT_TRUE(consumed.Empty());
  EXPECT_EQ(SerializeTree(tree, nullptr), "1,Analysis\r\n\t1,Page\r\n" + listed);
  EXPECT_EQ(tree.Caret(), tree.FirstTopLevel());
  EXPECT_EQ(tree.MarkedItems(), std::vector<TreeHandle>{tree.FirstTopLevel()});
  EXPECT_TRUE(tree.Items().Modified);
  EXPECT_EQ(job.position, job.range);
  EXPECT_EQ(static_cast<std::size_t>(job.range), texts.links.size() + texts.images.size());

  // Closed folders: all but the root. Texts with nothing in them leave the tree as it was.
  options.closeFolders = true;
  std::string closed = "1,Analysis\r\n\t0,Page\r\n" + listed;
  for (const std::string_view folder : {"1,links", "1,images"})
    closed[closed.find(folder)] = '0';
  EXPECT_EQ(Built(texts, options), closed);
  EXPECT_EQ(BuildAnalysisTree(tree, AnalysisTexts{"Empty", "", ""}, options, nullptr),
            AnalysisResult::kNothing);
  EXPECT_EQ(SerializeTree(tree, nullptr), "1,Analysis\r\n\t1,Page\r\n" + listed);
}

TEST(BuildAnalysisTreeTest, TheKeywordFiltersByUrlTitleBothOrNothing) {
  const AnalysisTexts texts = Texts(
      "http://alpha.example/x\tBeta page\r\n"
      "http://beta.example/y\tGamma page\r\n"
      "http://gamma.example/z\tAlpha page\r\n");
  const struct {
    std::string keyword;
    bool url;
    bool title;
    bool regExp;
    bool caseInsensitive;
    std::vector<std::string> names;
  } cases[] = {
      {"beta", true, false, false, true, {"Gamma page"}},
      {"beta", false, true, false, true, {"Beta page"}},
      {"beta", true, true, false, true, {"Beta page", "Gamma page"}},
      {"beta", false, false, false, true, {"Beta page", "Gamma page", "Alpha page"}},
      {"", true, true, false, false, {"Beta page", "Gamma page", "Alpha page"}},
      {"Beta", true, true, false, false, {"Beta page"}},
      {"^http://(alpha|gamma)", true, false, true, false, {"Beta page", "Alpha page"}},
      {".", false, true, false, false, {}},
      {"a.e", false, true, true, false, {"Beta page", "Gamma page", "Alpha page"}},
  };
  for (const auto& [keyword, url, title, regExp, caseInsensitive, names] : cases) {
    AnalysisOptions options;
    options.query = {keyword, url, title, regExp, caseInsensitive};
    TTreeModel tree(kToolAnalysis);
    EXPECT_EQ(BuildAnalysisTree(tree, AnalysisTexts(texts), options, nullptr),
              AnalysisResult::kBuilt);
    EXPECT_EQ(ItemNames(tree), names) << keyword << " " << url << title << regExp;
  }

  // Nothing passes: no empty "links" folder, the images go straight into the page folder.
  AnalysisOptions options;
  options.query = {"nowhere", true, false, false, true};
  EXPECT_EQ(Built(Texts(texts.links, "http://nowhere.example/i.png\tI\r\n"), options),
            "1,Analysis\r\n"
            "\t1,Page\r\n"
            "\t\t1,images\r\n"
            "\t\t\thttp://nowhere.example/i.png\tI\r\n");

  // A pattern that does not compile leaves only the root.
  options.query = {"(", true, false, true, true};
  TTreeModel tree(kToolAnalysis);
  EXPECT_EQ(BuildAnalysisTree(tree, AnalysisTexts(texts), options, nullptr),
            AnalysisResult::kBadPattern);
  EXPECT_EQ(SerializeTree(tree, nullptr), "1,Analysis\r\n");
  EXPECT_EQ(tree.Caret(), tree.FirstTopLevel());
}

TEST(BuildAnalysisTreeTest, DirFilesByHostAndDirectoryInDocumentOrder) {
  AnalysisOptions options;
  options.dir = true;
  EXPECT_EQ(Built(Texts("http://h.example/a/b/1.html\tAB1\r\n"
                        "http://h.example/2.html\tRoot2\r\n"
                        "http://h.example/a/b/3.html\tAB3\r\n"
                        "http://h.example/a/4.html\tA4\r\n"
                        "http://k.example/5.html\tK5\r\n"
                        "http://h.example/a/c/6.html\tAC6\r\n"
                        "http://h.example/a/7.html\tA7\r\n"
                        "about:blank\tBlank\r\n"
                        "no address\tBare\r\n",
                        "http://h.example/a/i.png\tImage\r\n"),
                  options),
            "1,Analysis\r\n"
            "\t1,Page\r\n"
            "\t\t1,links\r\n"
            "\t\t\t1,h.example\r\n"
            "\t\t\t\t1,a\r\n"
            "\t\t\t\t\t1,b\r\n"
            "\t\t\t\t\t\thttp://h.example/a/b/1.html\tAB1\r\n"
            "\t\t\t\t\t\thttp://h.example/a/b/3.html\tAB3\r\n"
            "\t\t\t\t\thttp://h.example/a/4.html\tA4\r\n"
            "\t\t\t\t\thttp://h.example/a/7.html\tA7\r\n"
            "\t\t\t\t\t1,c\r\n"
            "\t\t\t\t\t\thttp://h.example/a/c/6.html\tAC6\r\n"
            "\t\t\t\thttp://h.example/2.html\tRoot2\r\n"
            "\t\t\t1,k.example\r\n"
            "\t\t\t\thttp://k.example/5.html\tK5\r\n"
            "\t\t\t1,aboutblank\r\n"
            "\t\t\t\tabout:blank\tBlank\r\n"
            "\t\t\tno address\tBare\r\n"
            "\t\t1,images\r\n"
            "\t\t\t1,h.example\r\n"
            "\t\t\t\t1,a\r\n"
            "\t\t\t\t\thttp://h.example/a/i.png\tImage\r\n");

  // A key that is the tail of an earlier one is a key of its own, for the duplicate check and for
  // the directories alike.
  for (const bool dir : {false, true}) {
    options.dir = dir;
    TTreeModel tree(kToolAnalysis);
    BuildAnalysisTree(tree,
                      Texts("http://ab.example/x/p\tab\r\n"
                            "http://ab.example/x/p\tb\r\n"
                            "http://b.example/x/q\tq\r\n"),
                      options, nullptr);
    EXPECT_EQ(ItemNames(tree), (std::vector<std::string>{"ab", "b", "q"}));
    if (dir) {
      const TreeHandle q = tree.Items().At(tree.Items().LastIndex()).Handle;
      EXPECT_EQ(tree.Name(tree.Parent(q)), "x");
      EXPECT_EQ(tree.Name(tree.Parent(tree.Parent(q))), "b.example");
    }
  }
}

// Sets the stop flag once the tree has had a given number of insertions.
class StopAfter : public TTreeModelListener {
 public:
  StopAfter(TJobState& job, int inserts) : job_(job), left_(inserts) {}
  void BeforeInsert(TreeHandle, int) override {}
  void AfterInsert() override {
    if (--left_ == 0)
      job_.stop = true;
  }
  void BeforeRemove(TreeHandle, int) override {}
  void AfterRemove() override {}
  void BeforeReset() override {}
  void AfterReset() override {}
  void ItemChanged(TreeHandle) override {}

 private:
  TJobState& job_;
  int left_;
};

TEST(BuildAnalysisTreeTest, TheStopFlagKeepsWhatWasFiled) {
  std::string links;
  for (int i = 0; i < 20; ++i)
    links += "http://h.example/d" + std::to_string(i % 3) + "/" + std::to_string(i) + "\tL\r\n";
  AnalysisOptions options;
  options.dir = true;
  options.closeFolders = true;
  TTreeModel tree(kToolAnalysis);
  TJobState job;
  // Root, page folder, "links", then "h.example", "d0" and the first link, "d1" and the second.
  StopAfter stop(job, 8);
  tree.SetListener(&stop);
  EXPECT_EQ(BuildAnalysisTree(tree, Texts(links, "http://h.example/i.png\tI\r\n"), options, &job),
            AnalysisResult::kBuilt);
  tree.SetListener(nullptr);
  EXPECT_EQ(SerializeTree(tree, nullptr),
            "1,Analysis\r\n"
            "\t0,Page\r\n"
            "\t\t0,links\r\n"
            "\t\t\t0,h.example\r\n"
            "\t\t\t\t0,d0\r\n"
            "\t\t\t\t\thttp://h.example/d0/0\tL\r\n"
            "\t\t\t\t0,d1\r\n"
            "\t\t\t\t\thttp://h.example/d1/1\tL\r\n");
  EXPECT_EQ(tree.Caret(), tree.FirstTopLevel());
}

TEST(BuildAnalysisTreeTest, InvalidUtf8AndHugeAttributesAreFiled) {
  std::string words;
  for (int i = 0; i < 200000; ++i)
    words += "word ";
  const std::string blanks(1 << 20, ' ');
  const std::string letters(1 << 20, 'a');
  const std::string invalid = "bad \xfe\xc3 bytes";
  std::string links = "http://h.example/\xff\t" + invalid + "\r\n";
  links += " http://h.example/w\t<img alt=\"" + words + "\">\r\n";
  links += " http://h.example/b\t<img src=x" + blanks + "alt='" + blanks + "'>\r\n";
  links += " http://h.example/t\t<img title=" + letters + ">\r\n";
  links += " http://h.example/o\t<img" + blanks + "x>\r\n";
  AnalysisOptions options;
  options.nameMax = 8;
  TTreeModel tree(kToolAnalysis);
  EXPECT_EQ(BuildAnalysisTree(tree, Texts(links, "http://h.example/" + letters + "\t\r\n"), options,
                              nullptr),
            AnalysisResult::kBuilt);
  // Malformed bytes count as one character each.
  const std::string shortened =
      "bad\xfe\xc3"
      "byt...";
  const std::vector<std::string> names = {shortened,     "wordword...", "No Name",
                                          "aaaaaaaa...", "http://h...", "aaaaaaaa..."};
  EXPECT_EQ(ItemNames(tree), names);
}

}  // namespace
}  // namespace zelvora
