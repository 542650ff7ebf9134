#pragma once

// The page analysis: the links and images of a document (or of the selected part of it) as the
// bridge read them, turned into the two extraction texts, and those texts filed into the Analysis
// tree, flat in document order or by host and directory, through the analysis keyword's filter.

#include <string>
#include <string_view>
#include <vector>

#include "core/tools/HistorySearch.h"
#include "core/tools/TreeFile.h"

namespace zelvora {

// One link as the document has it: its full address, its inner text and, only when that text is
// empty or a single space, its inner HTML.
struct PageLinkRecord {
  std::string href;
  std::string text;
  std::string html;
};
// One image: the full address of its source and its alternative text.
struct PageImageRecord {
  std::string src;
  std::string alt;
};
// What the bridge read from the document, in document order.
struct PageDocumentRecord {
  std::string title;
  std::string url;
  std::vector<PageLinkRecord> links;
  std::vector<PageImageRecord> images;
};

// The extraction texts handed to the tree building.
struct AnalysisTexts {
  std::string pageName;
  // One line per link: a space when the text is the link's inner HTML, the URL, TAB, the text,
  // CR LF.
  std::string links;
  // One line per image: the URL, TAB, the alternative text, CR LF.
  std::string images;
  bool Empty() const { return links.empty() && images.empty(); }
};

// The page name is PageTitle of the title and URL with `tabTitleMax`. A link's text is its inner
// text; when that is empty or a single space, its inner HTML, and its line gets the marker space.
// CR, LF and TAB become a space in texts and are removed from URLs; a link or image whose URL is
// then empty is left out. Images only with `imageTags`. The job's progress counts links, then
// images; the stop flag ends the walk (what was read so far is kept).
AnalysisTexts MakeAnalysisTexts(const PageDocumentRecord& document, int tabTitleMax, bool imageTags,
                                TJobState* job);

struct AnalysisOptions {
  // The keyword and the "&URL", "&Title", "&RegExp" boxes; `caseInsensitive` is
  // "AnalysisCaseInsensitive".
  HistoryQuery query;
  bool dir = false;           // "&Dir": filed by host and directory
  bool closeFolders = false;  // "AnalysisAfterCloseItem"
  int nameMax = 100;          // "ToolItemNameMax"
};

enum class AnalysisResult {
  kNothing,     // both texts empty: the tree is left as it was
  kBuilt,       // the tree holds the analysis (or what was filed before the stop flag)
  kBadPattern,  // the keyword does not compile: the tree holds only its root folder
};

// Replaces the tree by the analysis of `texts`: the root folder "Analysis", the page folder,
// "links" and "images" folders (closed; deleted when they stayed empty). Names from link HTML
// go through the image-tag patterns or lose their tags; empty names are "No Name". A pair that
// the filter refuses, or whose exact name and URL were filed into the same "links" or "images"
// folder already, is left out. With `dir` items are filed into folders host / directory
// segments, each folder in document order. At the end every folder is closed (`closeFolders`,
// the root stays open) or opened, and the root is the caret. The texts are consumed. Runs in
// time linear in the texts.
AnalysisResult BuildAnalysisTree(TTreeModel& tree, AnalysisTexts&& texts,
                                 const AnalysisOptions& options, TJobState* job);

// A name taken from a link's inner HTML: the image tag's alt text (spaces kept), else its
// title, through the entity table; `url` when the tag has neither. Without an image tag the HTML
// without its tags. May be empty (the caller names the item "No Name").
std::string NameFromLinkHtml(std::string_view html, std::string_view url);

}  // namespace zelvora
