#include "core/tools/BookmarkFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/text/HtmlText.h"
#include "core/text/Utf8.h"
#include "core/tools/TreeFile.h"

namespace zelvora {

namespace {

constexpr std::string_view kFileStart =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<!-- This is an automatically generated file.\n"
    "     It will be read and overwritten.\n"
    "     DO NOT EDIT! -->\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<TITLE>Bookmarks</TITLE>\n"
    "<H1>Bookmarks</H1>\n"
    "<DL><p>\n";
constexpr std::string_view kListEnd = "</DL><p>\n";
constexpr std::string_view kIndent = "    ";

// Folders nested deeper than this keep their items at this depth: a file of thousands of nested
// lists would otherwise make tree text of millions of TABs.
constexpr int kNestingMax = 100;

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHtmlBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

struct Tag {
  // Where the tag begins ("<") and one past its end (">").
  std::size_t start = 0;
  std::size_t end = 0;
  // Empty for a comment or a declaration ("<!...>").
  std::string_view name;
  bool closing = false;
  std::string_view attributes;

  bool Is(std::string_view tagName) const { return EqualsIgnoreCase(name, tagName); }
};

// Finds the tags of a file, one after the other. A "<" that starts no tag is text; a tag that
// never ends ends the file.
class TagScanner {
 public:
  explicit TagScanner(std::string_view html)
      : html_(html), lastQuote_(html.rfind('"')), lastApostrophe_(html.rfind('\'')) {}

  // The next tag at or after `from`; nothing when none follows.
  std::optional<Tag> Next(std::size_t from) const {
    for (std::size_t open = html_.find('<', from); open != std::string_view::npos;
         open = html_.find('<', open + 1)) {
      Tag tag;
      tag.start = open;
      if (html_.substr(open, 4) == "<!--") {
        const std::size_t close = html_.find("-->", open + 4);
        if (close == std::string_view::npos)
          return std::nullopt;
        tag.end = close + 3;
        return tag;
      }
      std::size_t pos = open + 1;
      if (pos < html_.size() && html_[pos] == '/') {
        tag.closing = true;
        ++pos;
      }
      const bool declaration = !tag.closing && pos < html_.size() && html_[pos] == '!';
      if (!declaration && (pos >= html_.size() || !IsAsciiLetter(html_[pos])))
        continue;
      const std::size_t nameStart = pos;
      while (pos < html_.size() && !IsHtmlBlank(html_[pos]) && html_[pos] != '>' &&
             html_[pos] != '/')
        ++pos;
      if (!declaration)
        tag.name = html_.substr(nameStart, pos - nameStart);
      const std::size_t close = TagClose(pos);
      if (close == std::string_view::npos)
        return std::nullopt;
      tag.attributes = html_.substr(pos, close - pos);
      tag.end = close + 1;
      return tag;
    }
    return std::nullopt;
  }

 private:
  // The ">" that ends a tag whose attributes begin at `pos`: one inside a quoted value does not,
  // unless the quote is never closed.
  std::size_t TagClose(std::size_t pos) const {
    while (pos < html_.size() && html_[pos] != '>') {
      const char c = html_[pos];
      if (c == '=') {
        std::size_t value = pos + 1;
        while (value < html_.size() && IsHtmlBlank(html_[value]))
          ++value;
        if (value < html_.size() && (html_[value] == '"' || html_[value] == '\'')) {
          const char quote = html_[value];
          // The file's last quote of this kind is at least this one: when it lies further on,
          // the value closes.
          const std::size_t last = quote == '"' ? lastQuote_ : lastApostrophe_;
          if (last > value) {
            pos = html_.find(quote, value + 1) + 1;
            continue;
          }
        }
      }
      ++pos;
    }
    return pos < html_.size() ? pos : std::string_view::npos;
  }

  std::string_view html_;
  std::size_t lastQuote_;
  std::size_t lastApostrophe_;
};

// The raw value of the attribute `wanted` (name in any case), without its quotes; nothing when
// the tag does not have it.
std::optional<std::string_view> AttributeValue(std::string_view attributes,
                                               std::string_view wanted) {
  std::size_t pos = 0;
  while (pos < attributes.size()) {
    while (pos < attributes.size() && (IsHtmlBlank(attributes[pos]) || attributes[pos] == '/'))
      ++pos;
    const std::size_t nameStart = pos;
    while (pos < attributes.size() && !IsHtmlBlank(attributes[pos]) && attributes[pos] != '=' &&
           attributes[pos] != '/')
      ++pos;
    const std::string_view name = attributes.substr(nameStart, pos - nameStart);
    while (pos < attributes.size() && IsHtmlBlank(attributes[pos]))
      ++pos;
    std::string_view value;
    if (pos < attributes.size() && attributes[pos] == '=') {
      ++pos;
      while (pos < attributes.size() && IsHtmlBlank(attributes[pos]))
        ++pos;
      std::size_t valueEnd = pos;
      if (pos < attributes.size() && (attributes[pos] == '"' || attributes[pos] == '\'')) {
        const std::size_t close = attributes.find(attributes[pos], pos + 1);
        valueEnd = close == std::string_view::npos ? attributes.size() : close;
        ++pos;
      } else {
        while (valueEnd < attributes.size() && !IsHtmlBlank(attributes[valueEnd]))
          ++valueEnd;
      }
      value = attributes.substr(pos, valueEnd - pos);
      pos = std::min(valueEnd + 1, attributes.size());
    }
    if (!name.empty() && EqualsIgnoreCase(name, wanted))
      return value;
  }
  return std::nullopt;
}

// The tags that begin or end an entry or a list: text that was left open ends before them.
bool IsStructural(const Tag& tag) {
  return tag.Is("dl") ||
         (!tag.closing && (tag.Is("dt") || tag.Is("dd") || tag.Is("h3") || tag.Is("a")));
}

// A name or an address as one field of a tree line: references decoded, TABs and line breaks
// as blanks, blanks and control characters trimmed from both ends.
std::string FieldText(std::string_view raw) {
  std::string decoded = DecodeHtmlEntities(raw);
  for (char& c : decoded) {
    if (c == '\t' || c == '\r' || c == '\n')
      c = ' ';
  }
  return std::string(TrimBlanksAndControls(decoded));
}

void AppendIndent(std::string& html, std::size_t level) {
  for (std::size_t i = 0; i < level; ++i)
    html += kIndent;
}

// Writes `top` with its whole subtree, its own entry at list level 1. An item that is no folder
// has no list of its own: whatever lies below it is written beside it.
void AppendSubtree(std::string& html, const TTreeModel& model, TreeHandle top) {
  // The depths (below `top`) of the folders whose lists are open.
  std::vector<int> folders;
  int depth = 0;
  for (TreeHandle item = top; item != kNoItem && (item == top || depth > 0);
       item = model.NextInPreOrder(item, false, &depth)) {
    while (!folders.empty() && folders.back() >= depth) {
      folders.pop_back();
      AppendIndent(html, folders.size() + 1);
      html += kListEnd;
    }
    const std::size_t level = folders.size() + 1;
    AppendIndent(html, level);
    const TTreeItemRec* record = model.Record(item);
    if (record != nullptr && record->IsFolder) {
      html += "<DT><H3>";
      AppendHtmlEscaped(html, model.Name(item));
      html += "</H3>\n";
      AppendIndent(html, level);
      html += "<DL><p>\n";
      folders.push_back(depth);
    } else {
      html += "<DT><A HREF=\"";
      AppendHtmlEscaped(html, record != nullptr ? std::string_view(record->Value) : "");
      html += "\">";
      AppendHtmlEscaped(html, model.Name(item));
      html += "</A>\n";
    }
  }
  while (!folders.empty()) {
    folders.pop_back();
    AppendIndent(html, folders.size() + 1);
    html += kListEnd;
  }
}

}  // namespace

std::string BookmarksToTreeText(std::string_view html) {
  const TagScanner scanner(html);
  std::string text;
  // Per open <DL>: whether it holds a folder's entries (and so is one level deeper).
  std::vector<bool> lists;
  int depth = 0;
  // A folder's heading was read: the next list holds its entries.
  bool folderWaits = false;

  // The text of the element whose start tag ends at `pos`, up to its end tag (or, when that is
  // missing, up to the next entry); inner tags are dropped. `pos` moves past what was read.
  const auto elementText = [&](std::size_t& pos, std::string_view name) {
    std::string content;
    for (std::optional<Tag> tag = scanner.Next(pos);; tag = scanner.Next(pos)) {
      const std::size_t end = tag ? tag->start : html.size();
      content += html.substr(pos, end - pos);
      if (!tag || (tag->closing && tag->Is(name))) {
        pos = tag ? tag->end : html.size();
        return content;
      }
      if (IsStructural(*tag)) {
        pos = tag->start;
        return content;
      }
      pos = tag->end;
    }
  };

  std::size_t pos = 0;
  for (std::optional<Tag> tag = scanner.Next(pos); tag; tag = scanner.Next(pos)) {
    pos = tag->end;
    if (tag->Is("dl")) {
      if (!tag->closing) {
        const bool folderList = folderWaits && depth < kNestingMax;
        lists.push_back(folderList);
        depth += folderList ? 1 : 0;
      } else if (!lists.empty()) {
        depth -= lists.back() ? 1 : 0;
        lists.pop_back();
      }
      folderWaits = false;
    } else if (tag->closing) {
      continue;
    } else if (tag->Is("h3")) {
      AppendTreeLine(text, depth, true, false, FieldText(elementText(pos, "h3")), {});
      folderWaits = true;
    } else if (tag->Is("a")) {
      folderWaits = false;
      std::string address = FieldText(AttributeValue(tag->attributes, "href").value_or(""));
      const std::string name = FieldText(elementText(pos, "a"));
      // A link without an address is nothing to open.
      if (address.empty())
        continue;
      // A comma as the second character would make the line a folder's.
      if (address.size() >= 2 && address[1] == ',')
        address.replace(1, 1, "%2C");
      AppendTreeLine(text, depth, false, false, name, address);
    }
  }
  return text;
}

std::string TreeToBookmarks(const TTreeModel& model, bool wholeTree) {
  std::string html(kFileStart);
  TreeHandle item = model.FirstTopLevel();
  while (item != kNoItem) {
    if (wholeTree || model.IsMarked(item)) {
      AppendSubtree(html, model, item);
      item = model.NextInPreOrder(item, true);
    } else {
      item = model.NextInPreOrder(item);
    }
  }
  html += kListEnd;
  return html;
}

}  // namespace zelvora
