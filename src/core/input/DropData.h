#pragma once

// What a drop onto the window carries, and what the trees, bars and tabs make of it. The kind
// is decided by the first format offered in this order: a link ("text/x-moz-url", or a URL list
// that names anything but local files), local files (a URL list of file URLs only), plain text.
// Trees take the drop as tree text: a link is one item, each file one line (a directory a closed
// folder, an internet shortcut or a desktop link its address, any other name a link to its path).

#include <string>
#include <string_view>
#include <vector>

#include "core/tools/TreeViewClass.h"

namespace zelvora {

// One entry of a dropped URL list; `localPath` is set for a file URL of this machine.
struct DroppedUri {
  std::string url;
  std::string localPath;
};

// The formats a drop offers, as the platform delivered them (UTF-8).
struct DropOffer {
  // "text/x-moz-url": a URL and its title on alternating lines; empty when not offered.
  std::string mozUrl;
  // "text/uri-list" in its order.
  std::vector<DroppedUri> uris;
  // "text/plain".
  std::string text;
};

enum class DropKind { kRefused, kUrl, kFiles, kText };

struct DropContent {
  DropKind kind = DropKind::kRefused;
  // A link's address or the text: the first line only.
  std::string text;
  // The link's title where the drag gave one.
  std::string title;
  // The local paths of dropped files, in their order.
  std::vector<std::string> files;
};

// An offer whose formats hold nothing usable (no address, no file, an empty first line) is
// refused.
DropContent ClassifyDrop(const DropOffer& offer);

// The text up to its first line break (CR LF, CR or LF).
std::string_view FirstLine(std::string_view text);

// The name of items made from dragged things that have none.
inline constexpr std::string_view kNoName = "No Name";

// The address inside a shortcut file: "[InternetShortcut]" "URL" of a ".url" file, or
// "[Desktop Entry]" "URL" of a ".desktop" file whose "Type" is "Link" (extensions compared
// ignoring case); `isShortcut` says whether the file was such a shortcut at all. Files too large
// to be a shortcut are not read.
struct ShortcutTarget {
  bool isShortcut = false;
  std::string url;
  // A desktop link's "Name"; internet shortcuts have none.
  std::string name;
};
ShortcutTarget ReadShortcut(const std::string& path);

// The tree text of dropped files, one line each in their order. A non-empty `title` (a dragged
// tab's) names every item.
std::string DroppedFilesTreeText(const std::vector<std::string>& paths, std::string_view title);
// One link item: `value` named `name`, or named by the value when `name` is empty.
std::string DroppedLinkTreeText(std::string_view value, std::string_view name);
// What a bar, a dialog field or a tab gets of a dropped file: a shortcut's address (a shortcut
// without one gives "about:blank"), else the path.
std::string DroppedFileText(const std::string& path);

// What a drag of marked tree items carries out of the tree: the marked non-folders with an
// address, in display order.
struct DraggedLink {
  std::string url;
  std::string name;
};
std::vector<DraggedLink> MarkedLinks(const TTreeModel& model);
// "text/x-moz-url" for links: each address, then its name (its address when it has none), each on
// a line of its own.
std::string MozUrlText(const std::vector<DraggedLink>& links);

}  // namespace zelvora
