#pragma once

// The commands that every tool-panel tree shares (the Favorite tree's, used by the History,
// Analysis and Proxy trees too): adding pages, choosing what to open, copying names and values,
// deleting and moving the marked items, marking, and opening or closing every folder. They work
// on the item model alone; the window supplies tabs, the clipboard and the view.

#include <string>
#include <string_view>
#include <vector>

#include "core/tools/TreeFile.h"

namespace zelvora {

struct PageToAdd {
  std::string title;
  std::string url;
};
// Adds one item per page after the caret, in order (each after the previous one), named by the
// page's title, else the name derived from its address, else "No Title", shortened to `nameMax`
// characters ("ToolItemNameMax"). Returns the new items.
std::vector<TreeHandle> AddPages(TTreeModel& model, const std::vector<PageToAdd>& pages,
                                 int nameMax, const TreeDefaults& defaults);

// What opening asks for: the values of the marked non-folder items with a value, in display
// order, as many as fit beside `openTabs` when at most `tabOpenMax` tabs may be open.
std::vector<std::string> ValuesToOpen(const TTreeModel& model, int openTabs, int tabOpenMax);

enum class CopyKind { kNames, kValues, kBoth };
// The marked non-folders in display order: each name, value, or name then value, each line
// ending in CR LF. Empty when nothing qualifies or the stop flag ended the walk (the clipboard is
// then left alone).
std::string CopyNamesAndValues(const TTreeModel& model, CopyKind kind, TJobState* job);

// Deletes the marked items: an item without children or a closed folder (with its subtree) at
// once; an open folder with children after the items behind it, and only when none of its
// children is left. The first top-level item is never deleted. Afterwards the item at the
// pre-order index of the first marked one is the only one selected, else the first top-level
// item. The stop flag ends the walk; what it had decided until then is deleted.
void DeleteMarked(TTreeModel& model, TJobState* job);
// DeleteMarked, handing back the records of the non-folder items that went (those inside a
// deleted closed folder too), each once.
std::vector<TTreeItemRec> DeleteMarkedRecords(TTreeModel& model, TJobState* job);

// Moves the marked items onto `target` (an item that is not marked): their text, deletion as
// DeleteMarked does, `target` selected, the text inserted there with the focus flag. Nothing
// happens when nothing is marked, or `target` is marked, gone or inside a marked closed folder.
// The stop flag is heeded until the text is taken; after that the move runs to its end, so that
// no item is lost.
void MoveMarked(TTreeModel& model, TreeHandle target, const TreeDefaults& defaults, TJobState* job);

// Marks every item from the first top-level item to the last visible one (open folders' items).
void MarkAllVisible(TTreeModel& model);
// Marks the caret item (its first child when it is a folder) and its following siblings, as
// many as there are free tab places (`tabOpenMax` - `openTabs`); the first gets the caret.
// Without a caret, or with an empty caret folder, nothing changes.
void MarkLimit(TTreeModel& model, int openTabs, int tabOpenMax);

// Opens (or closes) every folder, then always opens the first top-level item.
void SetAllFoldersOpen(TTreeModel& model, bool open, TJobState* job);

}  // namespace zelvora
