#include "core/shell/UtilFunc.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "core/shell/ProfileFile.h"
#include "core/shell/SafeFile.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

using Clock = std::chrono::steady_clock;

// What tells us another writer replaced or changed the file: atomic writes give a new inode,
// in-place editors change the size or the modification time (nanoseconds).
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0)
    return {};
  return {true, st.st_dev, st.st_ino, st.st_size,
          static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

struct CachedProfile {
  ProfileFile file;
  FileStamp stamp;
  Clock::time_point checkedAt;
  bool loaded = false;
  bool readable = true;  // false: the file exists but cannot be read, so it must not be rewritten
  int batchDepth = 0;
  bool pending = false;  // edits made inside a batch that are not on disk yet
};

struct PathHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view path) const {
    return std::hash<std::string_view>{}(path);
  }
};

using Entry = std::pair<const std::string, CachedProfile>;

class ProfileCache {
 public:
  static ProfileCache& Instance() {
    static ProfileCache cache;
    return cache;
  }

  template <typename Reader>
  auto Read(std::string_view path, Reader&& reader) {
    const std::lock_guard lock(mutex_);
    return reader(static_cast<const ProfileFile&>(Fresh(path, false).second.file));
  }

  // `edit` returns whether it changed the content; an unchanged file is not rewritten.
  template <typename Editor>
  bool Edit(std::string_view path, Editor&& edit) {
    const std::lock_guard lock(mutex_);
    Entry& entry = Fresh(path, true);
    CachedProfile& cached = entry.second;
    if (!cached.readable)
      return false;
    if (!edit(cached.file))
      return true;
    if (cached.batchDepth > 0) {
      cached.pending = true;
      return true;
    }
    return Store(entry).ok;
  }

  void BeginBatch(std::string_view path) {
    const std::lock_guard lock(mutex_);
    ++EntryFor(path).second.batchDepth;
  }

  FileWriteResult EndBatch(std::string_view path) {
    const std::lock_guard lock(mutex_);
    Entry& entry = EntryFor(path);
    if (--entry.second.batchDepth > 0 || !entry.second.pending)
      return {true, {}};
    return Store(entry);
  }

  FileWriteResult Flush(std::string_view path) {
    const std::lock_guard lock(mutex_);
    const auto it = entries_.find(path);
    if (it == entries_.end())
      return {true, {}};
    FileWriteResult result{true, {}};
    if (it->second.pending)
      result = Store(*it);
    it->second.checkedAt = {};
    return result;
  }

 private:
  Entry& EntryFor(std::string_view path) {
    auto it = entries_.find(path);
    if (it == entries_.end())
      it = entries_.try_emplace(std::string(path)).first;
    return *it;
  }

  // The cached copy, re-read when the file changed. Pending batch edits are never thrown away
  // for a newer file: the batch's write will win, as the last writer.
  Entry& Fresh(std::string_view path, bool checkNow) {
    Entry& entry = EntryFor(path);
    CachedProfile& cached = entry.second;
    const Clock::time_point now = Clock::now();
    if (cached.loaded &&
        (cached.pending || (!checkNow && now - cached.checkedAt < kProfileRecheckInterval))) {
      return entry;
    }
    const FileStamp stamp = StampOf(entry.first);
    cached.checkedAt = now;
    if (cached.loaded && stamp == cached.stamp)
      return entry;

    std::optional<std::string> content;
    if (stamp.exists)
      content = ReadWholeFile(entry.first);
    cached.file = ProfileFile::Parse(content ? *content : std::string_view());
    cached.readable = !stamp.exists || content.has_value();
    cached.stamp = stamp;
    cached.loaded = true;
    return entry;
  }

  FileWriteResult Store(Entry& entry) {
    CachedProfile& cached = entry.second;
    FileWriteResult result = WriteFileAtomic(entry.first, cached.file.Serialize());
    cached.pending = false;
    if (result.ok) {
      cached.stamp = StampOf(entry.first);
      cached.checkedAt = Clock::now();
    } else {
      cached.loaded = false;  // what the disk holds is the truth again
    }
    return result;
  }

  std::mutex mutex_;
  std::unordered_map<std::string, CachedProfile, PathHash, std::equal_to<>> entries_;
};

std::string_view Name(std::string_view name) {
  return TrimBlanksAndControls(name);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> CapProfileNameList(std::vector<std::string> names) {
  std::size_t used = 1;  // the final NUL
  for (std::size_t i = 0; i < names.size(); ++i) {
    used += names[i].size() + 1;
    if (used > kProfileNameListMax) {
      names.resize(i);
      break;
    }
  }
  return names;
}

int ParseProfileInt(std::string_view value, int defaultValue) {
  if (value.empty())
    return defaultValue;
  std::size_t pos = 0;
  while (pos < value.size() && IsBlank(value[pos]))
    ++pos;
  bool negative = false;
  if (pos < value.size() && (value[pos] == '+' || value[pos] == '-')) {
    negative = value[pos] == '-';
    ++pos;
  }
  long long number = 0;
  constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
  for (; pos < value.size() && value[pos] >= '0' && value[pos] <= '9'; ++pos) {
    number = std::min(number * 10 + (value[pos] - '0'), kLimit);
  }
  if (negative)
    return static_cast<int>(-number);
  return static_cast<int>(std::min(number, static_cast<long long>(INT_MAX)));
}

std::optional<int> ReadProfileOptionalInt(std::string_view path, std::string_view section,
                                          std::string_view key) {
  const std::string text = ReadProfileString(path, section, key, "");
  if (text.empty())
    return std::nullopt;
  return ParseProfileInt(text, 0);
}

int ReadProfileInt(std::string_view path, std::string_view section, std::string_view key,
                   int defaultValue) {
  section = Name(section);
  key = Name(key);
  if (path.empty() || section.empty() || key.empty())
    return defaultValue;
  return ProfileCache::Instance().Read(path, [&](const ProfileFile& file) {
    const std::optional<std::string_view> value = file.Find(section, key);
    return value ? ParseProfileInt(*value, defaultValue) : defaultValue;
  });
}

std::string ReadProfileString(std::string_view path, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
  section = Name(section);
  key = Name(key);
  const std::string fallback(CutAtCharBoundary(defaultValue, kProfileStringMax));
  if (path.empty() || section.empty() || key.empty())
    return fallback;
  return ProfileCache::Instance().Read(path, [&](const ProfileFile& file) {
    const std::optional<std::string_view> value = file.Find(section, key);
    if (!value || value->empty())
      return fallback;
    return std::string(CutAtCharBoundary(*value, kProfileStringMax));
  });
}

std::string ReadProfileText(std::string_view path, std::string_view section, std::string_view key,
                            std::string_view defaultValue) {
  return DecodeCaptionEscapes(ReadProfileString(path, section, key, defaultValue));
}

std::string DecodeCaptionEscapes(std::string_view text, bool lineBreaks) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '\\' && (next == 's' || next == 't' || (lineBreaks && next == 'n'))) {
      ++i;
      decoded += next == 's' ? " " : next == 't' ? "\t" : "\r\n";
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

bool WriteProfileString(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (path.empty() || !ProfileFile::IsWritableSection(section) ||
      !ProfileFile::IsWritableKey(key)) {
    return false;
  }
  const std::string flat = ProfileFile::FlattenLineBreaks(value);
  return ProfileCache::Instance().Edit(
      path, [&](ProfileFile& file) { return file.Set(Name(section), Name(key), flat); });
}

bool WriteProfileInt(std::string_view path, std::string_view section, std::string_view key,
                     int value) {
  return WriteProfileString(path, section, key, std::to_string(value));
}

bool DeleteProfileKey(std::string_view path, std::string_view section, std::string_view key) {
  section = Name(section);
  key = Name(key);
  if (path.empty() || section.empty() || key.empty())
    return false;
  return ProfileCache::Instance().Edit(
      path, [&](ProfileFile& file) { return file.DeleteKey(section, key); });
}

bool DeleteProfileSection(std::string_view path, std::string_view section) {
  section = Name(section);
  if (path.empty() || section.empty())
    return false;
  return ProfileCache::Instance().Edit(
      path, [&](ProfileFile& file) { return file.DeleteSection(section); });
}

std::vector<std::string> ProfileSectionNames(std::string_view path) {
  if (path.empty())
    return {};
  return CapProfileNameList(ProfileCache::Instance().Read(
      path, [](const ProfileFile& file) { return file.SectionNames(); }));
}

std::vector<std::string> ProfileKeyNames(std::string_view path, std::string_view section) {
  section = Name(section);
  if (path.empty() || section.empty())
    return {};
  return CapProfileNameList(ProfileCache::Instance().Read(
      path, [&](const ProfileFile& file) { return file.KeyNames(section); }));
}

bool FlushProfile(std::string_view path) {
  if (path.empty())
    return false;
  return ProfileCache::Instance().Flush(path).ok;
}

ProfileUpdate::ProfileUpdate(std::string_view path) : path_(path) {
  ProfileCache::Instance().BeginBatch(path_);
}

ProfileUpdate::~ProfileUpdate() {
  Commit();
}

bool ProfileUpdate::Commit() {
  if (!open_)
    return !failed_;
  open_ = false;
  const FileWriteResult result = ProfileCache::Instance().EndBatch(path_);
  failed_ = !result.ok;
  error_ = result.error;
  return result.ok;
}

}  // namespace zelvora
