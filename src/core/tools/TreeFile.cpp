#include "core/tools/TreeFile.h"

#include <chrono>
#include <climits>
#include <filesystem>

#include "core/shell/Settings.h"
#include "core/shell/WindowState.h"
#include "core/text/Regex.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeaderStart = "//";
constexpr std::string_view kTreeFileExtension = "dat";
constexpr std::string_view kRecoveredSuffix = ".recovered.dat";
// The Proxy tree's items are "host:port" texts: a line without one gets a value that names no
// proxy rather than the address default of the other trees.
constexpr std::string_view kProxyValueDefault = "0";
// The header's numbers; a number that is missing or empty is 0.
constexpr std::string_view kSelectPattern = R"((?ig)\s*select\s*=\s*(\d*)[\s\r\n]?)";
constexpr std::string_view kPosPattern = R"((?ig)\s*pos\s*=\s*(\d*),(\d*)[\s\r\n]?)";

std::string_view DefaultName(const TTreeModel& model, bool isFolder, const TreeDefaults& defaults) {
  if (isFolder)
    return defaults.nameFolder;
  return model.Tree() == kToolProxy ? defaults.nameProxy : defaults.nameUrl;
}

std::string_view DefaultValue(const TTreeModel& model, const TreeDefaults& defaults) {
  return model.Tree() == kToolProxy ? kProxyValueDefault : defaults.valueUrl;
}

void AppendItemLine(std::string& out, const TTreeModel& model, TreeHandle item, int depth) {
  const TTreeItemRec* record = model.Record(item);
  const bool isFolder = record != nullptr && record->IsFolder;
  AppendTreeLine(out, depth, isFolder, model.IsOpen(item), model.Name(item),
                 record != nullptr ? std::string_view(record->Value) : std::string_view());
}

// Decimal digits as a number, clamped to what an int holds.
int ClampedNumber(std::string_view digits) {
  long long value = 0;
  for (const char digit : digits) {
    value = value * 10 + (digit - '0');
    if (value > INT_MAX)
      return INT_MAX;
  }
  return static_cast<int>(value);
}

int HeaderNumber(std::string_view pattern, std::string_view header, int group) {
  return ClampedNumber(RegexGroupText(pattern, header, group).value_or(std::string()));
}

std::size_t SubtreeSize(const TTreeModel& model, TreeHandle item) {
  std::size_t size = 0;
  int depth = 0;
  for (TreeHandle next = model.NextInPreOrder(item, false, &depth); next != kNoItem && depth > 0;
       next = model.NextInPreOrder(next, false, &depth))
    ++size;
  return size;
}

// The nearest marked item above `item`, kNoItem when there is none.
TreeHandle MarkedAncestor(const TTreeModel& model, TreeHandle item) {
  TreeHandle parent = model.Parent(item);
  while (parent != kNoItem && !model.IsMarked(parent))
    parent = model.Parent(parent);
  return parent;
}

}  // namespace

bool JobStopped(const TJobState* job) {
  return job != nullptr && job->stop.load();
}

void SetJobRange(TJobState* job, std::size_t range) {
  if (job != nullptr)
    job->range = static_cast<int>(std::min<std::size_t>(range, INT_MAX));
}

void SetJobPosition(TJobState* job, std::size_t position) {
  if (job != nullptr)
    job->position = static_cast<int>(std::min<std::size_t>(position, INT_MAX));
}

TreeDefaults TreeDefaultsOf(const TSettings& settings) {
  TreeDefaults defaults;
  defaults.nameFolder = settings.strings[kStringNameFolder];
  defaults.nameUrl = settings.strings[kStringNameUrl];
  defaults.nameProxy = settings.strings[kStringNameProxy];
  defaults.valueUrl = settings.strings[kStringValueUrl];
  defaults.valueProxy = settings.strings[kStringValueProxy];
  defaults.fileUntitled = settings.strings[kStringFileUnTitled];
  return defaults;
}

TreeLine ParseTreeLine(std::string_view line) {
  TreeLine parsed;
  const std::size_t tabs = std::min(line.find_first_not_of('\t'), line.size());
  parsed.depth = static_cast<int>(std::min<std::size_t>(tabs, INT_MAX));
  const std::string_view rest = line.substr(tabs);
  if (rest.size() >= 2 && rest[1] == ',') {
    parsed.isFolder = true;
    parsed.expanded = rest[0] >= '1' && rest[0] <= '9';
    parsed.name = rest.substr(2);
    return parsed;
  }
  const std::size_t tab = rest.find('\t');
  if (tab == std::string_view::npos) {
    parsed.name = rest;
    return parsed;
  }
  parsed.value = rest.substr(0, tab);
  parsed.name = TrimBlanksAndControls(rest.substr(tab + 1));
  return parsed;
}

std::vector<std::string_view> TerminatedLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      return lines;
    lines.push_back(text.substr(start, end - start));
    start = end + (text.substr(end, 2) == kLineEnd ? 2 : 1);
  }
}

void AppendLineField(std::string& out, std::string_view text) {
  for (const char c : text)
    out += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
}

void AppendTreeLine(std::string& out, int depth, bool isFolder, bool open, std::string_view name,
                    std::string_view value) {
  out.append(static_cast<std::size_t>(std::max(depth, 0)), '\t');
  if (isFolder) {
    out += open ? "1," : "0,";
  } else {
    AppendLineField(out, value);
    out += '\t';
  }
  AppendLineField(out, name);
  out += kLineEnd;
}

void SelectTreeItem(TTreeModel& model, TreeHandle item) {
  model.SetMarked(model.Caret(), false);
  model.SetCaret(item);
  model.SetMarked(item, true);
}

TreeHandle InsertionParent(const TTreeModel& model) {
  const TreeHandle caret = model.Caret();
  if (!model.Exists(caret))
    return model.FirstTopLevel();
  if (!model.IsFolder(caret))
    return model.Parent(caret);
  if (!model.IsOpen(caret) && model.FirstChild(caret) != kNoItem)
    return model.Parent(caret);
  return caret;
}

TreeHandle AddTreeItem(TTreeModel& model, bool isFolder, TreeHandle insertAfter,
                       std::string_view value, std::string_view name,
                       const TreeDefaults& defaults) {
  if (!isFolder && model.ItemCount() == 0)
    AddTreeItem(model, true, kNoItem, {}, model.SectionName(), defaults);
  const TreeHandle parent = InsertionParent(model);
  const bool firstUnder = model.IsFolder(insertAfter) && model.IsOpen(insertAfter);

  TTreeItemRec record;
  record.IsFolder = isFolder;
  if (!isFolder)
    record.Value = value.empty() ? DefaultValue(model, defaults) : value;
  const TreeHandle item =
      model.InsertItem(parent, firstUnder ? kInsertFirst : insertAfter,
                       name.empty() ? DefaultName(model, isFolder, defaults) : name, record);
  SelectTreeItem(model, item);
  return item;
}

namespace {

// The top level as an entry of the parent stack, where kNoItem means "no parent known".
constexpr TreeHandle kTopLevel = 0xFFFF0000u;

}  // namespace

InsertResult InsertTreeText(TTreeModel& model, std::string_view text, bool focus,
                            const TreeDefaults& defaults, TJobState* job) {
  const auto started = std::chrono::steady_clock::now();
  InsertResult result;

  TreeHandle parent = InsertionParent(model);
  if (parent == kNoItem) {
    parent = model.FirstTopLevel();
    model.SetOpen(parent, true);
  }
  const TreeHandle caret = model.Caret();
  TreeHandle insertAfter = caret;
  if (model.IsFolder(caret) && model.IsOpen(caret))
    insertAfter = kInsertFirst;

  const std::vector<std::string_view> allLines = TerminatedLines(text);
  std::size_t first = 0;
  while (first < allLines.size() && (allLines[first].empty() || allLines[first][0] == '\t'))
    ++first;
  if (first < allLines.size() && !ParseTreeLine(allLines[first]).isFolder &&
      model.ItemCount() == 0) {
    // Items never stand at the top level: they go into the folder made for them.
    parent = AddTreeItem(model, true, kNoItem, {}, kFallbackFolderName, defaults);
    model.SetOpen(parent, true);
  }

  // Per depth: the folder that takes the next line of that depth, and the item it goes after.
  // Text pasted at the top level keeps its depth-0 lines there: a tree of several top-level
  // items reads back as it was written, not folded into its first item.
  std::vector<TreeHandle> parents = {parent == kNoItem ? kTopLevel : parent};
  std::vector<TreeHandle> lastSiblings = {insertAfter};
  int previousDepth = 0;
  SetJobRange(job, text.size());
  for (std::size_t index = first; index < allLines.size(); ++index) {
    const std::string_view line = allLines[index];
    if (line.empty())
      continue;
    if (JobStopped(job)) {
      result.stopped = true;
      break;
    }
    const TreeLine parsed = ParseTreeLine(line);
    const auto depth = static_cast<std::size_t>(parsed.depth);
    TreeHandle lineParent = depth < parents.size() && parents[depth] != kNoItem
                                ? parents[depth]
                                : model.FirstTopLevel();
    if (lineParent == kTopLevel)
      lineParent = kNoItem;
    const TreeHandle after = depth < lastSiblings.size() ? lastSiblings[depth] : kInsertFirst;

    TTreeItemRec record;
    record.IsFolder = parsed.isFolder;
    record.Expanded = parsed.expanded;
    if (!parsed.isFolder)
      record.Value = parsed.value.empty() ? DefaultValue(model, defaults) : parsed.value;
    const TreeHandle item = model.InsertItem(
        lineParent, after,
        parsed.name.empty() ? DefaultName(model, parsed.isFolder, defaults) : parsed.name, record);
    result.added.push_back(item);

    if (parsed.depth <= previousDepth) {
      lastSiblings.resize(std::min(lastSiblings.size(), depth));
      if (parsed.isFolder)
        parents.resize(std::min(parents.size(), depth + 1));
    }
    if (parsed.isFolder)
      parents.push_back(item);
    lastSiblings.push_back(item);
    previousDepth = parsed.depth;
    SetJobPosition(job, static_cast<std::size_t>(line.data() - text.data()) + line.size());
  }

  if (!result.added.empty()) {
    SelectTreeItem(model, result.added.front());
    if (focus) {
      model.ClearMarks();
      model.SetOpen(model.Parent(result.added.front()), true);
      for (const TreeHandle item : result.added)
        model.SetMarked(item, true);
    }
    std::size_t opened = 0;
    for (const TreeHandle item : result.added) {
      const TTreeItemRec* record = model.Record(item);
      if (record != nullptr && record->IsFolder && record->Expanded) {
        model.SetOpen(item, true);
        if (!focus)
          SetJobPosition(job, ++opened);
      }
    }
  }

  result.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
  if (job != nullptr)
    job->stop = false;
  return result;
}

std::optional<std::string> SerializeSelection(const TTreeModel& model, TJobState* job) {
  const std::vector<TreeHandle> marked = model.MarkedItems();
  if (marked.empty())
    return std::nullopt;
  std::size_t range = marked.size();
  for (const TreeHandle item : marked) {
    if (!model.IsOpen(item))
      range += SubtreeSize(model, item);
  }
  SetJobRange(job, range);

  // The folders written so far, with the depth each was written at (kept where a record keeps
  // its visit stamp).
  TTreeViewItemList folders;
  std::string text;
  std::size_t lines = 0;
  const auto writeItem = [&](TreeHandle item, TreeHandle reference) {
    const int index = folders.IndexOfHandle(reference);
    const int depth = index < 0 ? 0 : folders.At(index).VisitStamp + 1;
    AppendItemLine(text, model, item, depth);
    if (model.IsFolder(item))
      folders.Add(TTreeItemRec{item, true, false, {}, depth});
    SetJobPosition(job, ++lines);
  };

  const bool several = marked.size() >= 2;
  TreeHandle item = model.FirstTopLevel();
  while (item != kNoItem && !JobStopped(job)) {
    if (!model.IsMarked(item)) {
      item = model.NextInPreOrder(item);
      continue;
    }
    writeItem(item, several ? MarkedAncestor(model, item) : model.Parent(item));
    if (model.IsOpen(item) || !model.IsFolder(item)) {
      item = model.NextInPreOrder(item);
      continue;
    }
    // A closed folder brings its whole subtree; a marked item inside it is written once.
    int depth = 0;
    for (TreeHandle inside = model.NextInPreOrder(item, false, &depth);
         inside != kNoItem && depth > 0 && !JobStopped(job);
         inside = model.NextInPreOrder(inside, false, &depth))
      writeItem(inside, model.Parent(inside));
    item = model.NextInPreOrder(item, true);
  }
  return text;
}

std::string SerializeTree(const TTreeModel& model, TJobState* job) {
  std::string text;
  SetJobRange(job, model.ItemCount());
  std::size_t lines = 0;
  int depth = 0;
  for (TreeHandle item = model.FirstTopLevel(); item != kNoItem && !JobStopped(job);
       item = model.NextInPreOrder(item, false, &depth)) {
    AppendItemLine(text, model, item, depth);
    SetJobPosition(job, ++lines);
  }
  return text;
}

int PreOrderIndex(const TTreeModel& model, TreeHandle item) {
  if (!model.Exists(item))
    return -1;
  int index = 0;
  for (TreeHandle next = model.FirstTopLevel(); next != item; next = model.NextInPreOrder(next))
    ++index;
  return index;
}

TreeHandle ItemAtPreOrderIndex(const TTreeModel& model, int index) {
  if (index < 0)
    return kNoItem;
  TreeHandle item = model.FirstTopLevel();
  for (int i = 0; i < index && item != kNoItem; ++i)
    item = model.NextInPreOrder(item);
  return item;
}

TreeWriteResult WriteTreeFile(TTreeModel& model, const std::string& path, TJobState* job) {
  TreeWriteResult result;
  // The whole forest in pre-order: record 0 first while it leads the tree, and no line twice.
  const std::string body = SerializeTree(model, job);
  if (JobStopped(job)) {
    result.status = TreeWriteStatus::kStopped;
    return result;
  }
  if (body.empty()) {
    result.status = TreeWriteStatus::kEmpty;
    return result;
  }
  std::string text =
      "// Select=" + std::to_string(std::max(PreOrderIndex(model, model.Caret()), 0)) +
      " Pos=" + std::to_string(model.scrollX) + "," + std::to_string(model.scrollY) +
      std::string(kLineEnd);
  text += body;
  const FileWriteResult written = WriteFileAtomic(path, text);
  if (!written.ok) {
    result.status = TreeWriteStatus::kFailed;
    result.error = written.error;
    return result;
  }
  model.Items().Modified = false;
  result.status = TreeWriteStatus::kWritten;
  return result;
}

TreeReadResult ReadTreeFile(TTreeModel& model, const std::string& path,
                            const TreeDefaults& defaults, TJobState* job) {
  TreeReadResult result;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos ||
      !EqualsIgnoreCase(std::string_view(path).substr(dot + 1), kTreeFileExtension)) {
    result.error = "not a tree file (.dat): \"" + path + "\"";
    return result;
  }
  const LockedRead read = ReadFileLocked(path);
  if (read.status != LockedReadStatus::kOk) {
    result.error = read.error;
    return result;
  }

  model.Clear();
  std::string_view text = read.content;
  int select = 0;
  int scrollX = 0;
  int scrollY = 0;
  if (text.starts_with(kHeaderStart)) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view header = text.substr(0, end);
    select = HeaderNumber(kSelectPattern, header, 1);
    scrollX = HeaderNumber(kPosPattern, header, 1);
    scrollY = HeaderNumber(kPosPattern, header, 2);
    text.remove_prefix(end);
  }
  result.insert = InsertTreeText(model, text, false, defaults, job);

  if (model.ItemCount() == 0) {
    AddTreeItem(model, true, kNoItem, {}, kFallbackFolderName, defaults);
    result.status = TreeReadStatus::kNothingLoaded;
  } else {
    // A header naming no item (edited by hand, or its items cut off) keeps the first item
    // selected rather than passing the file off as empty.
    const TreeHandle selected = ItemAtPreOrderIndex(model, select);
    if (selected != kNoItem)
      SelectTreeItem(model, selected);
    model.scrollX = scrollX;
    model.scrollY = scrollY;
    result.status = TreeReadStatus::kLoaded;
  }
  model.Items().Modified = false;
  return result;
}

bool TreeDiffersFromFile(const TTreeModel& model, const std::string& path) {
  const TTreeViewItemList& items = model.Items();
  if (items.Modified)
    return true;
  std::error_code error;
  if (path.empty() || !std::filesystem::exists(path, error)) {
    if (items.Count() == 0)
      return false;
    return items.Count() > 1 ||
           !EqualsIgnoreCase(model.Name(items.At(0).Handle), model.SectionName());
  }

  std::optional<std::string> content = ReadWholeFile(path);
  if (!content)
    return true;
  // The last line counts even without its line end: the tree would not write it that way.
  if (!content->empty() && content->back() != '\n' && content->back() != '\r')
    *content += kLineEnd;
  int index = 0;
  for (const std::string_view line : TerminatedLines(*content)) {
    if (line.empty() || line.starts_with(kHeaderStart))
      continue;
    if (index >= items.Count())
      return true;
    const TTreeItemRec& record = items.At(index++);
    if (!record.IsFolder)
      continue;
    const TreeLine parsed = ParseTreeLine(line);
    if (!parsed.isFolder || parsed.expanded != model.IsOpen(record.Handle))
      return true;
  }
  return false;
}

void FavoriteNew(TTreeModel& model) {
  model.Clear();
  AddTreeItem(model, true, kNoItem, {}, model.SectionName(), TreeDefaults{});
  model.Items().Modified = false;
}

std::string RecoveryPath(const TTreeModel& model, const std::string& treeFile,
                         const std::string& userFolder) {
  if (treeFile.empty()) {
    std::string folder = userFolder.empty() ? std::string(".") : userFolder;
    if (folder.back() != '/')
      folder += '/';
    return folder + std::string(model.SectionName()) + std::string(kRecoveredSuffix);
  }
  const std::size_t slash = treeFile.rfind('/');
  const std::size_t dot = treeFile.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? treeFile.substr(0, dot) : treeFile) + std::string(kRecoveredSuffix);
}

}  // namespace zelvora
