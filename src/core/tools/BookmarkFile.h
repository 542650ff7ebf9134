#pragma once

// The bookmark file every desktop browser reads and writes (the Netscape bookmark format: an
// HTML file of nested <DL> lists, <H3> for a folder, <A HREF> for a link), turned into tree text
// and back.

#include <string>
#include <string_view>

#include "core/tools/TreeViewClass.h"

namespace zelvora {

// The bookmarks of an HTML bookmark file as tree text (folders closed, the file's own nesting),
// entities decoded, whatever parses; empty when there are none. Links without an address are
// skipped; folders nested more than 100 deep keep their entries at that depth.
std::string BookmarksToTreeText(std::string_view html);

// The marked items (all items when `wholeTree`) as a bookmark file: folders with their subtrees,
// links with their names; names and addresses escaped.
std::string TreeToBookmarks(const TTreeModel& model, bool wholeTree);

}  // namespace zelvora
