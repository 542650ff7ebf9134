#include "core/tools/PageAnalysis.h"

#include <array>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/browser/PageRules.h"
#include "core/browser/UrlUtil.h"
#include "core/text/Regex.h"
#include "core/text/Utf8.h"
#include "core/tools/Favorites.h"

namespace zelvora {

namespace {

constexpr std::string_view kLinksFolderName = "links";
constexpr std::string_view kImagesFolderName = "images";
constexpr std::string_view kNoName = "No Name";

// The patterns that take a name out of a link whose text is an image, in the order they run:
// the tag itself, its empty attributes (dropped), a quoted alt value (its white space made
// "&nbsp;" so that the alt value pattern takes it whole), the alt value, the title value, and
// whatever tags are left (dropped).
constexpr std::string_view kImageTagPattern = R"((?i-g)(<\s*img\s+[^<]*>))";
constexpr std::string_view kEmptyAttributePattern = R"((?ig)(src|alt|title)\s*=\s*['"]['"])";
constexpr std::string_view kQuotedAltPattern = R"((?ig)\s+alt\s*=\s*['"]([^'"]*)['"])";
constexpr std::string_view kAltValuePattern = R"((?ig)\s+alt\s*=['"\s]*([^'"\s>]*))";
constexpr std::string_view kTitleValuePattern = R"((?ig)\s+title\s*=['"\s]*([^'"\s>]*))";
constexpr std::string_view kTagPattern = R"((</?[^<]*>))";
constexpr std::string_view kWhiteSpacePattern = R"(\s)";
constexpr std::string_view kNbsp = "&nbsp;";
// An image without alt text is named by the last segment of its address.
constexpr std::string_view kLastSegmentPattern = R"(/([^/]*)$)";

// Applied in this order to a name taken from an image tag.
struct EntityRule {
  std::string_view pattern;
  std::string_view replacement;
};
constexpr std::array<EntityRule, 10> kEntityTable = {{
    {"&lt;", "<"},
    {"&gt;", ">"},
    {"&amp;", "&"},
    {"&quot;", "\""},
    {"&nbsp;", " "},
    {R"(\s+)", " "},
    {R"(^\s*)", ""},
    {R"(\s*$)", ""},
    {R"(^\x{3000})", ""},
    {R"(\x{3000}+$)", ""},
}};

// The white space of the patterns' "\s".
bool IsPatternSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view TrimLeadingSpace(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsPatternSpace(text[start]))
    ++start;
  return text.substr(start);
}

std::string_view TrimTrailingSpace(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsPatternSpace(text[end - 1]))
    --end;
  return text.substr(0, end);
}

// Appends one line of an extraction text; nothing when the URL is empty without its line
// breaks and TABs.
void AppendTextLine(std::string& out, bool marker, std::string_view url, std::string_view text) {
  const std::size_t start = out.size();
  if (marker)
    out += ' ';
  const std::size_t urlStart = out.size();
  for (const char c : url) {
    if (c != '\r' && c != '\n' && c != '\t')
      out += c;
  }
  if (out.size() == urlStart) {
    out.resize(start);
    return;
  }
  out += '\t';
  AppendLineField(out, text);
  out += "\r\n";
}

// One line of an extraction text: an optional marker (white space before the URL, links only),
// the URL, TAB, then the text, whose white space at both ends is not part of it.
struct TextLine {
  bool marker = false;
  std::string_view url;
  std::string_view text;
};

// Reads the line that starts at `pos` and moves `pos` past its CR LF. False at the end of the
// text (an unterminated rest is not a line). A line without a TAB is passed over.
bool NextTextLine(std::string_view text, bool withMarker, std::size_t& pos, TextLine& line) {
  while (true) {
    const std::size_t end = text.find("\r\n", pos);
    if (end == std::string_view::npos)
      return false;
    std::string_view whole = text.substr(pos, end - pos);
    pos = end + 2;
    std::size_t tab = whole.find('\t');
    if (tab == std::string_view::npos)
      continue;
    line.marker = withMarker && tab > 0 && IsPatternSpace(whole[0]);
    if (line.marker) {
      whole.remove_prefix(1);
      --tab;
    }
    line.url = whole.substr(0, tab);
    line.text = TrimTrailingSpace(TrimLeadingSpace(whole.substr(tab + 1)));
    return true;
  }
}

std::string ApplyEntityTable(std::string name) {
  for (const EntityRule& rule : kEntityTable)
    name = Regex::Cached(rule.pattern)->ReplaceAll(name, rule.replacement);
  return name;
}

// The name of a link whose text is an image tag (`tag`, as the image tag pattern found it).
std::string NameFromImageTag(std::string tag, std::string_view url) {
  tag = Regex::Cached(kEmptyAttributePattern)->ReplaceAll(tag, "");
  if (const std::optional<RegexMatch> alt = Regex::Cached(kQuotedAltPattern)->FindFirst(tag)) {
    const RegexSpan value = alt->Group(1);
    tag.replace(value.position - 1, value.length,
                Regex::Cached(kWhiteSpacePattern)->ReplaceAll(alt->GroupText(tag, 1), kNbsp));
  }
  std::optional<std::string> name = RegexGroupText(kAltValuePattern, tag, 1);
  if (!name)
    name = RegexGroupText(kTitleValuePattern, tag, 1);
  std::string stripped = Regex::Cached(kTagPattern)->ReplaceAll(name.value_or(tag), "");
  if (stripped.empty())
    return std::string(url);
  return ApplyEntityTable(std::move(stripped));
}

// The filter of the analysis keyword: which of URL and name the pattern is tried on, and the
// pattern (none accepts every pair).
class ItemFilter {
 public:
  ItemFilter(const HistoryQuery& query, const Regex* regex)
      : regex_(query.keyword.empty() || (!query.url && !query.title) ? nullptr : regex),
        byUrl_(query.url),
        byName_(query.title) {}

  bool Accepts(std::string_view url, std::string_view name) const {
    return regex_ == nullptr || (byUrl_ && regex_->FindFirst(url)) ||
           (byName_ && regex_->FindFirst(name));
  }

 private:
  const Regex* regex_;
  bool byUrl_;
  bool byName_;
};

// What every folder of one analysis is filed with.
struct Filing {
  TTreeModel& tree;
  TreeHandle page;
  const ItemFilter& filter;
  const AnalysisOptions& options;
  TJobState* job;
};

// A folder among the children of `parent`, by its name.
struct ChildKey {
  TreeHandle parent = kNoItem;
  std::string name;
  bool operator==(const ChildKey&) const = default;
};
struct ChildKeyHash {
  std::size_t operator()(const ChildKey& key) const {
    return std::hash<std::string>{}(key.name) ^ (std::size_t{key.parent} * 0x9E3779B97F4A7C15ull);
  }
};

// Files the items of one folder ("links" or "images"): the filter, the duplicate check and,
// with "&Dir", the folders by host and directory. The keys are compared whole, so a key that is
// only the tail of an earlier one ("b" after "ab") is a key of its own.
class FolderFiler {
 public:
  FolderFiler(const Filing& filing, TreeHandle folder) : filing_(filing), folder_(folder) {
    folderRecord_.IsFolder = true;
  }

  void File(std::string_view url, std::string_view name) {
    if (!filing_.filter.Accepts(url, name))
      return;
    std::string key(name);
    key += '\t';
    key += url;
    if (!filed_.insert(std::move(key)).second)
      return;
    itemRecord_.Value.assign(url);
    if (!filing_.options.dir) {
      filing_.tree.InsertItem(folder_, kInsertLast, name, itemRecord_);
      return;
    }
    // The item goes after the last one filed for its directory, or last into the directory's
    // folder when it is the first: each folder keeps document order, new directories come after
    // the existing ones.
    auto [directory, isNew] = directories_.try_emplace(DirectoryKey(url));
    if (isNew)
      directory->second = {DirectoryFolder(directory->first), kInsertLast};
    directory->second.last = filing_.tree.InsertItem(directory->second.folder,
                                                     directory->second.last, name, itemRecord_);
  }

 private:
  struct Directory {
    TreeHandle folder = kNoItem;
    TreeHandle last = kNoItem;
  };

  // "/" + host (the scheme when there is none) + the path up to its last "/".
  static std::string DirectoryKey(std::string_view url) {
    const SplitUrlParts parts = SplitUrl(url);
    return "/" + (parts.host.empty() ? parts.scheme : parts.host) + parts.directory;
  }

  // The folder path of a directory key under this folder, made where it is missing: one folder
  // per non-empty segment, each added at the end of its parent.
  TreeHandle DirectoryFolder(std::string_view key) {
    TreeHandle parent = folder_;
    std::size_t start = 0;
    while (start < key.size()) {
      std::size_t end = key.find('/', start);
      if (end == std::string_view::npos)
        end = key.size();
      if (end > start) {
        ChildKey child{parent,
                       ShortenText(key.substr(start, end - start), filing_.options.nameMax)};
        auto [found, isNew] = folders_.try_emplace(std::move(child), kNoItem);
        if (isNew)
          found->second =
              filing_.tree.InsertItem(parent, kInsertLast, found->first.name, folderRecord_);
        parent = found->second;
      }
      start = end + 1;
    }
    return parent;
  }

  const Filing& filing_;
  TreeHandle folder_;
  // Name TAB URL of every item filed.
  std::unordered_set<std::string> filed_;
  std::unordered_map<std::string, Directory> directories_;
  std::unordered_map<ChildKey, TreeHandle, ChildKeyHash> folders_;
  TTreeItemRec folderRecord_;
  // One record for every item, so that its value reuses its buffer.
  TTreeItemRec itemRecord_;
};

std::string ItemName(std::string_view name, int nameMax) {
  return name.empty() ? std::string(kNoName) : ShortenText(name, nameMax);
}

// A link is named by its text; by what its HTML says when the text is HTML (the marker).
std::string LinkName(const TextLine& line, int nameMax) {
  return ItemName(line.marker ? NameFromLinkHtml(line.text, line.url) : std::string(line.text),
                  nameMax);
}

// An image is named by its alt text as it is; without one, by the last segment of its address.
std::string ImageName(const TextLine& line, int nameMax) {
  if (!line.text.empty())
    return std::string(line.text);
  return ItemName(RegexGroupText(kLastSegmentPattern, line.url, 1).value_or(""), nameMax);
}

// Adds the folder `name` to the page folder after `after` and files the lines of `text` into
// it; closes the folder and deletes it when it stayed empty. Returns the folder, or kNoItem when
// it was deleted.
TreeHandle FileText(const Filing& filing, TreeHandle after, std::string_view name,
                    std::string_view text, bool withMarker, std::size_t progressBase,
                    std::string (*nameOf)(const TextLine&, int)) {
  TTreeItemRec record;
  record.IsFolder = true;
  const TreeHandle folder = filing.tree.InsertItem(filing.page, after, name, record);
  FolderFiler filer(filing, folder);
  std::size_t pos = 0;
  TextLine line;
  while (!JobStopped(filing.job) && NextTextLine(text, withMarker, pos, line)) {
    SetJobPosition(filing.job, progressBase + pos);
    filer.File(line.url, nameOf(line, filing.options.nameMax));
  }
  filing.tree.SetOpen(folder, false);
  if (filing.tree.FirstChild(folder) != kNoItem)
    return folder;
  filing.tree.DeleteItem(folder);
  return kNoItem;
}

}  // namespace

AnalysisTexts MakeAnalysisTexts(const PageDocumentRecord& document, int tabTitleMax, bool imageTags,
                                TJobState* job) {
  AnalysisTexts texts;
  texts.pageName = PageTitle(document.title, document.url, tabTitleMax);
  SetJobRange(job, document.links.size() + (imageTags ? document.images.size() : 0));
  std::size_t walked = 0;
  for (const PageLinkRecord& link : document.links) {
    if (JobStopped(job))
      return texts;
    SetJobPosition(job, ++walked);
    const bool fromHtml = link.text.empty() || link.text == " ";
    AppendTextLine(texts.links, fromHtml, link.href, fromHtml ? link.html : link.text);
  }
  if (!imageTags)
    return texts;
  for (const PageImageRecord& image : document.images) {
    if (JobStopped(job))
      return texts;
    SetJobPosition(job, ++walked);
    AppendTextLine(texts.images, false, image.src, image.alt);
  }
  return texts;
}

std::string NameFromLinkHtml(std::string_view html, std::string_view url) {
  if (const std::optional<std::string> tag = RegexGroupText(kImageTagPattern, html, 1))
    return NameFromImageTag(*tag, url);
  return Regex::Cached(kTagPattern)->ReplaceAll(html, "");
}

AnalysisResult BuildAnalysisTree(TTreeModel& tree, AnalysisTexts&& texts,
                                 const AnalysisOptions& options, TJobState* job) {
  AnalysisTexts input;
  std::swap(input, texts);
  if (input.Empty())
    return AnalysisResult::kNothing;

  tree.Clear();
  TTreeItemRec folder;
  folder.IsFolder = true;
  const TreeHandle root = tree.InsertItem(kNoItem, kInsertLast, tree.SectionName(), folder);
  tree.SetOpen(root, true);
  const auto finish = [&] {
    // The folders are set even after a stop, so the partial result shows as asked.
    SetAllFoldersOpen(tree, !options.closeFolders, nullptr);
    SelectTreeItem(tree, root);
  };

  const Regex regex(QueryPattern(options.query, options.query.caseInsensitive));
  if (!regex.IsValid()) {
    finish();
    return AnalysisResult::kBadPattern;
  }
  const ItemFilter filter(options.query, &regex);

  const Filing filing{tree, tree.InsertItem(root, kInsertLast, input.pageName, folder), filter,
                      options, job};
  const std::size_t range = input.links.size() + input.images.size();
  SetJobRange(job, range);
  TreeHandle links = kNoItem;
  if (!input.links.empty())
    links = FileText(filing, kInsertLast, kLinksFolderName, input.links, true, 0, LinkName);
  if (!input.images.empty()) {
    FileText(filing, links == kNoItem ? kInsertLast : links, kImagesFolderName, input.images, false,
             input.links.size(), ImageName);
  }
  SetJobPosition(job, range);
  finish();
  return AnalysisResult::kBuilt;
}

}  // namespace zelvora
