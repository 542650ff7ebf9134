#include "core/shell/FileHistory.h"

#include <algorithm>
#include <filesystem>

#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {
constexpr std::string_view kEndOfList = ".";
}

std::string TFileHistoryList::Entry(std::size_t n) const {
  if (n == 0 || n > entries_.size())
    return {};
  return std::string(TrimTrailingBlanks(entries_[n - 1]));
}

void TFileHistoryList::Add(std::string_view path, int maxEntries) {
  // Copied first: `path` may be one of the entries (re-adding a file picked from the menu), which
  // the erase below would move or destroy.
  std::string added(path);
  std::erase_if(entries_,
                [&added](const std::string& entry) { return EqualsIgnoreCase(entry, added); });
  entries_.insert(entries_.begin(), std::move(added));
  entries_.resize(std::min(entries_.size(), static_cast<std::size_t>(std::max(maxEntries, 0))));
}

void TFileHistoryList::Clear(bool keepCurrent) {
  entries_.clear();
  std::error_code error;
  if (keepCurrent && !currentFile_.empty() && std::filesystem::exists(currentFile_, error)) {
    entries_.push_back(currentFile_);
  }
}

void TFileHistoryList::SetCurrentFile(std::string_view path) {
  const std::filesystem::path file(path);
  currentFile_ = std::string(path);
  currentFolder_ = file.parent_path().string();
  currentName_ = file.filename().string();
}

void TFileHistoryList::Load(const std::string& settingsFile, std::string_view section,
                            int maxEntries, const std::string& defaultFolder) {
  entries_.clear();
  for (int index = 0; index < maxEntries; ++index) {
    std::string entry = ReadProfileString(settingsFile, section, std::to_string(index), kEndOfList);
    if (entry == kEndOfList)
      break;
    entries_.push_back(std::move(entry));
  }
  if (entries_.empty()) {
    currentFile_.clear();
    currentName_.clear();
    currentFolder_ = defaultFolder;
  } else {
    SetCurrentFile(entries_.front());
  }
}

bool TFileHistoryList::Save(const std::string& settingsFile, std::string_view section) const {
  ProfileUpdate update(settingsFile);
  DeleteProfileSection(settingsFile, section);
  for (std::size_t index = 0; index < entries_.size(); ++index) {
    WriteProfileString(settingsFile, section, std::to_string(index), entries_[index]);
  }
  return update.Commit();
}

}  // namespace zelvora
