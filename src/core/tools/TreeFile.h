#pragma once

// The tree text (files, clipboard, dropped text) and the tree algorithms that run on the item
// model: adding an item, inserting tree text at the caret, serializing the marked items, writing
// and reading tree files, the pre-order index, and the comparison behind "Confirm Modified".
//
// Tree text: UTF-8, CR LF after every line (LF-only and CR-only line ends are read too). An
// optional first line "// Select=<n> Pos=<x>,<y>". Every other line is one item, its depth given
// by leading TABs: a folder is "<digit>,<name>" (the digit is its open state), an item is
// "<value>TAB<name>" or a bare name.

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/SafeFile.h"
#include "core/tools/TreeViewClass.h"

namespace zelvora {

struct TSettings;

// What the progress bar shows and the stop button asks, shared between a job on the worker and
// the user-interface thread that polls it.
struct TJobState {
  std::atomic<bool> stop{false};
  std::atomic<int> range{0};
  std::atomic<int> position{0};
};
// A job may run without a state (null): it is then never stopped and shows no progress.
bool JobStopped(const TJobState* job);
void SetJobRange(TJobState* job, std::size_t range);
void SetJobPosition(TJobState* job, std::size_t position);

// The names and values that new items get when they have none (settings "NameFolder", "NameURL",
// "NameProxy", "ValueURL", "ValueProxy", "FileUnTitled").
struct TreeDefaults {
  std::string nameFolder = "Folder";
  std::string nameUrl = "Url";
  std::string nameProxy = "Proxy";
  std::string valueUrl = "about:blank";
  std::string valueProxy = "127.0.0.1:8080";
  std::string fileUntitled = "UnTitled";
};
TreeDefaults TreeDefaultsOf(const TSettings& settings);

// The folder that an empty tree gets before its first item, and that a file without items
// loads as.
inline constexpr std::string_view kFallbackFolderName = "Zelvora";

// One parsed line of tree text.
struct TreeLine {
  int depth = 0;
  bool isFolder = false;
  // For a folder: the digit was not 0.
  bool expanded = false;
  std::string_view name;
  std::string_view value;
};
// Parses one line without its line end.
TreeLine ParseTreeLine(std::string_view line);
// The lines of a text that end in CR LF, CR or LF; the text after the last end is not a line;
// empty lines are kept (callers skip them).
std::vector<std::string_view> TerminatedLines(std::string_view text);
// Appends `text` with its CR, LF and TAB characters as blanks, so that it stays one field of one
// line.
void AppendLineField(std::string& out, std::string_view text);
// Appends one line: depth TABs, then "1,"/"0," and the name for a folder, else value TAB name;
// then CR LF. Line breaks and TABs inside the name or value become blanks.
void AppendTreeLine(std::string& out, int depth, bool isFolder, bool open, std::string_view name,
                    std::string_view value);

// Makes the item the caret, as a tree's own selection does: the previous caret loses its mark
// and the item is marked; other marks stay.
void SelectTreeItem(TTreeModel& model, TreeHandle item);

// Where a new item goes: the caret item if it is a folder (a closed folder with children yields
// its own parent); a non-folder caret yields its parent; without a caret the first top-level item,
// or the top level (kNoItem) in an empty tree.
TreeHandle InsertionParent(const TTreeModel& model);

// Inserts one item after `insertAfter` under the insertion parent (first under it when
// `insertAfter` is an open folder; last when `insertAfter` is not its child). A non-folder in an
// empty tree first gets a folder named after the tree's section. Empty names and values take the
// defaults of the tree. The new item becomes the caret. Returns its handle.
TreeHandle AddTreeItem(TTreeModel& model, bool isFolder, TreeHandle insertAfter,
                       std::string_view value, std::string_view name, const TreeDefaults& defaults);

struct InsertResult {
  // The new items in text order.
  std::vector<TreeHandle> added;
  bool stopped = false;
  // "Read Time : %d": the milliseconds the insertion took.
  long long milliseconds = 0;
};
// Parses tree text into the model at the caret. Leading lines that start with a TAB are skipped;
// lines deeper than one level below their predecessor go under the first top-level item. With
// `focus`, every mark is cleared, the new items are marked and the first one's parent is opened.
// New folders whose line said open are opened. The first new item becomes the caret. Progress
// runs over the text length; the stop flag ends it early, keeping what was inserted.
InsertResult InsertTreeText(TTreeModel& model, std::string_view text, bool focus,
                            const TreeDefaults& defaults, TJobState* job);

// The marked items as tree text (an open folder or an item alone; a closed folder with its whole
// subtree); nothing when no item is marked. The stop flag ends the walk early.
std::optional<std::string> SerializeSelection(const TTreeModel& model, TJobState* job);
// The whole tree as the body of a tree file (no header).
std::string SerializeTree(const TTreeModel& model, TJobState* job);

// Pre-order over all items, collapsed folders' descendants counted; the first top-level item is 0.
int PreOrderIndex(const TTreeModel& model, TreeHandle item);
// kNoItem when there is no item with that index.
TreeHandle ItemAtPreOrderIndex(const TTreeModel& model, int index);

enum class TreeWriteStatus {
  kWritten,
  kStopped,  // the stop flag was set: nothing written ("Stopped Working.")
  kEmpty,    // the tree has no items: nothing written
  kFailed,   // the disk refused: the previous file is untouched
};
struct TreeWriteResult {
  TreeWriteStatus status = TreeWriteStatus::kFailed;
  std::string error;
};
// Writes "// Select=<caret's pre-order index> Pos=<x>,<y>" and the tree's body atomically; on
// success the list's Modified is cleared. A stop flag set before or during the walk writes
// nothing. The file history is the caller's.
TreeWriteResult WriteTreeFile(TTreeModel& model, const std::string& path, TJobState* job);

enum class TreeReadStatus {
  kLoaded,
  kNothingLoaded,  // the file had no items: the tree holds one folder "Zelvora"
  kRejected,       // not a ".dat" path, missing, unreadable or locked: the tree is unchanged
};
struct TreeReadResult {
  TreeReadStatus status = TreeReadStatus::kRejected;
  InsertResult insert;
  std::string error;
};
// Reads a ".dat" file (extension compared ignoring case) under an exclusive lock, replaces the
// tree by its items, selects the item the header names (the first item when it names none) and
// takes its scroll position. Modified is cleared. The file history and the status bar are the
// caller's.
TreeReadResult ReadTreeFile(TTreeModel& model, const std::string& path,
                            const TreeDefaults& defaults, TJobState* job);

// The comparison of "Confirm Modified": whether the tree differs from what its file holds. The
// list's Modified flag; else, with a file that exists, a line without a record or a folder whose
// line is not a folder line with its open state (an unreadable file counts as different); else,
// without a file, more than one item or a single item not named after the section (ignoring
// case).
bool TreeDiffersFromFile(const TTreeModel& model, const std::string& path);

// A new tree: every item removed, one root folder named after the section, Modified cleared.
void FavoriteNew(TTreeModel& model);

// Where a modified tree goes when the program is ended by a signal and cannot ask: beside its
// file, never over it ("Favorite.dat" → "Favorite.recovered.dat"); without a file, in `userFolder`
// under the section's name.
std::string RecoveryPath(const TTreeModel& model, const std::string& treeFile,
                         const std::string& userFolder);

}  // namespace zelvora
