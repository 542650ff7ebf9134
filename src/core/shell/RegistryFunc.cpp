#include "core/shell/RegistryFunc.h"

#include <algorithm>

#include "core/shell/SafeFile.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kStartPageKey = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
constexpr std::string_view kStartPageName = "Start Page";

// Root and key joined by one "\" per level: runs of "\" count as one, and "\" at either end is
// dropped, so "a\\b\" and "a\b" name the same key.
std::string KeyPath(std::string_view root, std::string_view key) {
  std::string joined(root);
  joined += '\\';
  joined += key;
  std::string path;
  path.reserve(joined.size());
  for (const char c : joined) {
    if (c == '\\' && (path.empty() || path.back() == '\\'))
      continue;
    path += c;
  }
  if (!path.empty() && path.back() == '\\')
    path.pop_back();
  return path;
}

// A path that would break the file's line structure cannot be stored.
bool IsStorablePath(std::string_view path) {
  return !path.empty() && path.find_first_of("\r\n") == std::string_view::npos;
}

// `path` lies strictly below `base`.
bool IsBelow(std::string_view path, std::string_view base) {
  return path.size() > base.size() + 1 && path[base.size()] == '\\' &&
         EqualsIgnoreCase(path.substr(0, base.size()), base);
}

// Line breaks are escaped as well as '"' and "\", so a value can never split its line.
void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      if (c == '"' || c == '\\')
        out += '\\';
      out += c;
    }
  }
  out += '"';
}

// Reads a quoted string at `pos`, moving `pos` past it; nothing when it is not one.
std::optional<std::string> ReadQuoted(std::string_view line, std::size_t& pos) {
  if (pos >= line.size() || line[pos] != '"')
    return std::nullopt;
  std::string text;
  for (std::size_t i = pos + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      pos = i + 1;
      return text;
    }
    if (c == '\\') {
      if (++i == line.size())
        return std::nullopt;
      c = line[i];
      c = c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    text += c;
  }
  return std::nullopt;
}

struct ParsedValue {
  std::string name;
  std::string data;
};

// `"name"="data"` or `@="data"`; blanks may follow.
std::optional<ParsedValue> ParseValueLine(std::string_view line) {
  ParsedValue value;
  std::size_t pos = 0;
  if (line.starts_with('@')) {
    pos = 1;
  } else {
    std::optional<std::string> name = ReadQuoted(line, pos);
    if (!name)
      return std::nullopt;
    value.name = std::move(*name);
  }
  if (pos >= line.size() || line[pos] != '=')
    return std::nullopt;
  ++pos;
  std::optional<std::string> data = ReadQuoted(line, pos);
  if (!data || !TrimBlanksAndControls(line.substr(pos)).empty())
    return std::nullopt;
  value.data = std::move(*data);
  return value;
}

// The lines of `text`, ended by CR LF, CR or LF; a last line without an end counts too.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.substr(end, 2) == kLineEnd ? 2 : 1);
  }
  return lines;
}

}  // namespace

TRegistry::TRegistry(std::string path) : path_(std::move(path)) {
  const std::optional<std::string> content = ReadWholeFile(path_);
  if (!content)
    return;
  Key* current = nullptr;
  for (const std::string_view rawLine : SplitLines(*content)) {
    const std::string_view line = TrimBlanksAndControls(rawLine);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string keyPath = KeyPath(line.substr(1, line.size() - 2), {});
      current = nullptr;
      if (keyPath.empty())
        continue;
      // A key that shows up twice continues where its first section left off.
      const auto found = std::find_if(keys_.begin(), keys_.end(), [&](const Key& key) {
        return EqualsIgnoreCase(key.path, keyPath);
      });
      if (found != keys_.end()) {
        current = &*found;
      } else {
        keys_.push_back({keyPath, {}});
        current = &keys_.back();
      }
      continue;
    }
    if (!current)
      continue;
    std::optional<ParsedValue> value = ParseValueLine(line);
    if (!value)
      continue;
    const bool known =
        std::any_of(current->values.begin(), current->values.end(),
                    [&](const Value& v) { return EqualsIgnoreCase(v.name, value->name); });
    if (!known)
      current->values.push_back({std::move(value->name), std::move(value->data)});
  }
}

std::optional<std::string> TRegistry::ReadString(std::string_view root, std::string_view key,
                                                 std::string_view name) const {
  const std::string keyPath = KeyPath(root, key);
  for (const Key& stored : keys_) {
    if (!EqualsIgnoreCase(stored.path, keyPath))
      continue;
    for (const Value& value : stored.values) {
      if (EqualsIgnoreCase(value.name, name))
        return value.data;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

bool TRegistry::WriteString(std::string_view root, std::string_view key, std::string_view name,
                            std::string_view value) {
  const std::string keyPath = KeyPath(root, key);
  if (!IsStorablePath(keyPath))
    return false;
  const std::vector<Key> before = keys_;
  auto found = std::find_if(keys_.begin(), keys_.end(), [&](const Key& stored) {
    return EqualsIgnoreCase(stored.path, keyPath);
  });
  if (found == keys_.end()) {
    keys_.push_back({keyPath, {}});
    found = keys_.end() - 1;
  }
  auto existing = std::find_if(found->values.begin(), found->values.end(),
                               [&](const Value& v) { return EqualsIgnoreCase(v.name, name); });
  if (existing != found->values.end())
    existing->data = std::string(value);
  else
    found->values.push_back({std::string(name), std::string(value)});
  if (Save())
    return true;
  keys_ = before;
  return false;
}

bool TRegistry::KeyExists(std::string_view root, std::string_view key) const {
  // A key also exists while only keys below it are stored, as parents are never written alone.
  const std::string keyPath = KeyPath(root, key);
  return std::any_of(keys_.begin(), keys_.end(), [&](const Key& stored) {
    return EqualsIgnoreCase(stored.path, keyPath) || IsBelow(stored.path, keyPath);
  });
}

std::vector<std::string> TRegistry::ValueNames(std::string_view root, std::string_view key) const {
  const std::string keyPath = KeyPath(root, key);
  std::vector<std::string> names;
  for (const Key& stored : keys_) {
    if (!EqualsIgnoreCase(stored.path, keyPath))
      continue;
    for (const Value& value : stored.values)
      names.push_back(value.name);
    break;
  }
  return names;
}

std::vector<std::string> TRegistry::SubKeyNames(std::string_view root, std::string_view key) const {
  const std::string keyPath = KeyPath(root, key);
  std::vector<std::string> names;
  for (const Key& stored : keys_) {
    if (!IsBelow(stored.path, keyPath))
      continue;
    const std::string_view below = std::string_view(stored.path).substr(keyPath.size() + 1);
    const std::string_view child = below.substr(0, below.find('\\'));
    const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
      return EqualsIgnoreCase(name, child);
    });
    if (!known)
      names.emplace_back(child);
  }
  return names;
}

bool TRegistry::DeleteValue(std::string_view root, std::string_view key, std::string_view name) {
  const std::string keyPath = KeyPath(root, key);
  const auto found = std::find_if(keys_.begin(), keys_.end(), [&](const Key& stored) {
    return EqualsIgnoreCase(stored.path, keyPath);
  });
  if (found == keys_.end())
    return false;
  const auto value = std::find_if(found->values.begin(), found->values.end(),
                                  [&](const Value& v) { return EqualsIgnoreCase(v.name, name); });
  if (value == found->values.end())
    return false;
  const std::vector<Key> before = keys_;
  found->values.erase(value);
  if (Save())
    return true;
  keys_ = before;
  return false;
}

bool TRegistry::DeleteKey(std::string_view root, std::string_view key) {
  const std::string keyPath = KeyPath(root, key);
  const std::vector<Key> before = keys_;
  std::erase_if(keys_, [&](const Key& stored) {
    return EqualsIgnoreCase(stored.path, keyPath) || IsBelow(stored.path, keyPath);
  });
  if (keys_.size() == before.size())
    return false;
  if (Save())
    return true;
  keys_ = before;
  return false;
}

bool TRegistry::Save() {
  std::string text;
  for (const Key& key : keys_) {
    text += '[';
    text += key.path;
    text += ']';
    text += kLineEnd;
    for (const Value& value : key.values) {
      if (value.name.empty())
        text += '@';
      else
        AppendQuoted(text, value.name);
      text += '=';
      AppendQuoted(text, value.data);
      text += kLineEnd;
    }
  }
  return WriteFileAtomic(path_, text).ok;
}

std::string ReadStartPage(const TRegistry& registry) {
  return registry.ReadString(kHkeyCurrentUser, kStartPageKey, kStartPageName).value_or("");
}

}  // namespace zelvora
