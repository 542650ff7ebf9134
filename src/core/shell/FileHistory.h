#pragma once

// The recently used files of each list kind (favorites, history, analysis, proxy, tab lists,
// selection lists, search lists, scripts), most recent first, with the kind's current file.
// Stored in the settings file, one section per kind, keys "0", "1", ... in list order.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

enum FileHistoryKind : int {
  kFileFavorite = 0,
  kFileHistory,
  kFileAnalysis,
  kFileProxy,
  kFileTab,
  kFileSelect,
  kFileSearchList,
  kFileScript,
  kFileHistoryKindCount,
};

inline constexpr std::array<std::string_view, kFileHistoryKindCount> kFileHistorySections = {
    "FileFavorite", "FileHistory", "FileAnalysis",   "FileProxy",
    "FileTab",      "FileSelect",  "FileSearchList", "FileScript"};

class TFileHistoryList {
 public:
  const std::vector<std::string>& Entries() const { return entries_; }
  std::size_t Count() const { return entries_.size(); }
  // The n-th entry counted from 1, trailing blanks removed; empty when there is none.
  std::string Entry(std::size_t n) const;

  // Puts `path` first, dropping an earlier occurrence that differs at most in case, and keeps
  // at most `maxEntries` entries.
  void Add(std::string_view path, int maxEntries);
  // Empties the list; the current file is put back when `keepCurrent` and it still exists.
  void Clear(bool keepCurrent);

  const std::string& CurrentFile() const { return currentFile_; }
  const std::string& CurrentFolder() const { return currentFolder_; }
  const std::string& CurrentName() const { return currentName_; }
  void SetCurrentFile(std::string_view path);

  // Reads keys "0", "1", ... until a key is absent, holds ".", or `maxEntries` were read. The
  // first entry becomes the current file; without entries the current folder is `defaultFolder`.
  void Load(const std::string& settingsFile, std::string_view section, int maxEntries,
            const std::string& defaultFolder);
  // Replaces the whole section by the list.
  bool Save(const std::string& settingsFile, std::string_view section) const;

 private:
  std::vector<std::string> entries_;
  std::string currentFile_;
  std::string currentFolder_;
  std::string currentName_;
};

}  // namespace zelvora
