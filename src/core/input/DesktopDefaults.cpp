#include "core/input/DesktopDefaults.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/shell/SafeFile.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDefaultGroup = "[Default Applications]";
// The registry store's record of the desktop registration: the default value is the desktop
// entry's path, each named value a type's former default ("" when it had none).
constexpr std::string_view kRecordKey = "Software\\Zelvora\\DesktopDefaults";

// The value Zelvora gives each type: its entry alone, so no fallback of another program's can
// come before it.
constexpr std::string_view kOwnDefault = "zelvora.desktop;";

// An argument of an Exec line, quoted: '"', '`', '$' and '\' get a backslash, '%' is doubled so
// it cannot start a field code; then the escapes of a string value on top (a backslash doubled,
// line breaks and tabs written as \n, \r, \t).
std::string QuotedExecArgument(std::string_view argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\')
      quoted += '\\';
    else if (c == '%')
      quoted += '%';
    quoted += c;
  }
  quoted += '"';
  std::string value;
  for (const char c : quoted) {
    switch (c) {
      case '\\':
        value += "\\\\";
        break;
      case '\n':
        value += "\\n";
        break;
      case '\r':
        value += "\\r";
        break;
      case '\t':
        value += "\\t";
        break;
      default:
        value += c;
    }
  }
  return value;
}

struct ListLine {
  std::string_view text;  // as it stands, without its line end
  bool inDefaultGroup = false;
  bool isGroup = false;
  std::string_view key;  // trimmed, for an entry of "[Default Applications]"
};

// The lines of a mimeapps.list with what they are; a line end is "\n" (a "\r" before it stays
// with the line).
std::vector<ListLine> ParseList(std::string_view list) {
  std::vector<ListLine> lines;
  bool inDefault = false;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\n', start);
    if (end == std::string_view::npos)
      end = list.size();
    ListLine line;
    line.text = list.substr(start, end - start);
    const std::string_view trimmed = TrimBlanksAndControls(line.text);
    if (trimmed.starts_with('[') && trimmed.ends_with(']')) {
      line.isGroup = true;
      inDefault = trimmed == kDefaultGroup;
    } else if (inDefault && !trimmed.starts_with('#')) {
      line.inDefaultGroup = true;
      if (const std::size_t equals = trimmed.find('='); equals != std::string_view::npos)
        line.key = TrimBlanksAndControls(trimmed.substr(0, equals));
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string_view ValueOf(const ListLine& line) {
  const std::string_view trimmed = TrimBlanksAndControls(line.text);
  return TrimBlanksAndControls(trimmed.substr(trimmed.find('=') + 1));
}

// The first desktop entry of a list value ("a.desktop;b.desktop;") is the one that opens.
bool NamesFirst(std::string_view value, std::string_view desktopId) {
  return TrimBlanksAndControls(value.substr(0, value.find(';'))) == desktopId;
}

bool AnyDefaultNamesFirst(std::string_view list, std::string_view desktopId) {
  for (const ListLine& line : ParseList(list)) {
    if (!line.key.empty() && NamesFirst(ValueOf(line), desktopId))
      return true;
  }
  return false;
}

std::string WriteError(std::string_view what, const std::string& path, std::string_view error) {
  return std::string(what) + " " + path + ": " + std::string(error);
}

// The list's text, empty when there is none yet; nothing when it is there but cannot be read
// (writing a new one would lose the user's other choices).
std::optional<std::string> ReadList(const std::string& path) {
  if (std::optional<std::string> text = ReadWholeFile(path))
    return text;
  std::error_code error;
  if (fs::exists(path, error) || error)
    return std::nullopt;
  return std::string();
}

std::optional<std::string> WriteInFolder(const std::string& folder, const std::string& path,
                                         std::string_view text) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error)
    return WriteError("Cannot make the folder for", path, error.message());
  const FileWriteResult written = WriteFileAtomic(path, text);
  if (!written.ok)
    return WriteError("Cannot write", path, written.error);
  return std::nullopt;
}

}  // namespace

TDesktopFolders DesktopFoldersFrom(std::string_view xdgDataHome, std::string_view xdgConfigHome,
                                   std::string_view home) {
  const std::string homeFolder(home);
  TDesktopFolders folders;
  folders.applicationsFolder =
      (xdgDataHome.starts_with('/') ? std::string(xdgDataHome) : homeFolder + "/.local/share") +
      "/applications";
  folders.configFolder =
      xdgConfigHome.starts_with('/') ? std::string(xdgConfigHome) : homeFolder + "/.config";
  return folders;
}

std::string DesktopEntryText(std::string_view executablePath) {
  std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Zelvora\n"
      "GenericName=Web Browser\n"
      "Comment=Browse the web in tabs\n"
      "Exec=";
  entry += QuotedExecArgument(executablePath);
  entry +=
      " /url=%u\n"
      "Terminal=false\n"
      "MimeType=";
  for (const std::string_view type : kBrowserMimeTypes) {
    entry += type;
    entry += ';';
  }
  entry +=
      "\n"
      "Categories=Network;WebBrowser;\n";
  return entry;
}

std::optional<std::string> DefaultApplicationOf(std::string_view list, std::string_view mimeType) {
  std::optional<std::string> value;
  for (const ListLine& line : ParseList(list)) {
    if (line.key == mimeType)
      value = std::string(ValueOf(line));
  }
  return value;
}

std::string WithDefaultApplication(std::string_view list, std::string_view mimeType,
                                   std::optional<std::string_view> value) {
  const std::vector<ListLine> lines = ParseList(list);
  const std::string newLine = value ? std::string(mimeType) + "=" + std::string(*value) : "";
  // The type's line goes where its last line was (the one that counts), or after the last entry
  // of the group; its other lines go, so that only one says what opens the type.
  std::optional<std::size_t> at;
  std::optional<std::size_t> lastInGroup;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].key == mimeType)
      at = i;
    if (lines[i].isGroup && TrimBlanksAndControls(lines[i].text) == kDefaultGroup)
      lastInGroup = i;
    else if (lines[i].inDefaultGroup && !TrimBlanksAndControls(lines[i].text).empty())
      lastInGroup = i;
  }
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].key == mimeType) {
      if (i == at && value) {
        out += newLine;
        out += '\n';
      }
      continue;
    }
    out += lines[i].text;
    out += '\n';
    if (!at && value && i == lastInGroup) {
      out += newLine;
      out += '\n';
    }
  }
  if (!at && value && !lastInGroup) {
    if (!out.empty())
      out += '\n';
    out += kDefaultGroup;
    out += '\n';
    out += newLine;
    out += '\n';
  }
  return out;
}

std::optional<std::string> RegisterOnDesktop(TRegistry& registry, const TDesktopFolders& folders,
                                             std::string_view executablePath) {
  const std::string entryPath = folders.applicationsFolder + "/" + std::string(kDesktopEntryName);
  const std::string entry = DesktopEntryText(executablePath);
  if (ReadWholeFile(entryPath) != entry) {
    if (auto error = WriteInFolder(folders.applicationsFolder, entryPath, entry))
      return error;
  }
  if (registry.ReadString(kHkeyCurrentUser, kRecordKey, ""))
    return std::nullopt;

  const std::string listPath = folders.configFolder + "/" + std::string(kMimeAppsListName);
  const std::optional<std::string> list = ReadList(listPath);
  if (!list)
    return "Cannot read " + listPath;
  std::string changed = *list;
  for (const std::string_view type : kBrowserMimeTypes) {
    const std::optional<std::string> current = DefaultApplicationOf(changed, type);
    if (current && NamesFirst(*current, kDesktopEntryName))
      continue;
    // The former default is kept before it is replaced, or it is not replaced at all.
    if (!registry.WriteString(kHkeyCurrentUser, kRecordKey, type, current.value_or("")))
      return "Cannot keep the former default browser in the registry store";
    changed = WithDefaultApplication(changed, type, kOwnDefault);
  }
  if (!registry.WriteString(kHkeyCurrentUser, kRecordKey, "", entryPath))
    return "Cannot keep the former default browser in the registry store";
  if (changed == *list)
    return std::nullopt;
  std::optional<std::string> error = WriteInFolder(folders.configFolder, listPath, changed);
  // Not registered after all: the next try takes the defaults again.
  if (error)
    registry.DeleteKey(kHkeyCurrentUser, kRecordKey);
  return error;
}

std::optional<std::string> UnregisterFromDesktop(TRegistry& registry,
                                                 const TDesktopFolders& folders) {
  const std::optional<std::string> entryPath =
      registry.ReadString(kHkeyCurrentUser, kRecordKey, "");
  if (!entryPath)
    return std::nullopt;
  const std::string listPath = folders.configFolder + "/" + std::string(kMimeAppsListName);
  const std::optional<std::string> list = ReadList(listPath);
  if (!list)
    return "Cannot read " + listPath;
  std::string changed = *list;
  for (const std::string_view type : kBrowserMimeTypes) {
    const std::optional<std::string> former =
        registry.ReadString(kHkeyCurrentUser, kRecordKey, type);
    const std::optional<std::string> current = DefaultApplicationOf(changed, type);
    if (!former || !current || !NamesFirst(*current, kDesktopEntryName))
      continue;
    changed = WithDefaultApplication(
        changed, type, former->empty() ? std::nullopt : std::optional<std::string_view>(*former));
  }
  if (changed != *list) {
    if (auto error = WriteInFolder(folders.configFolder, listPath, changed))
      return error;
  }
  // The entry stays while a type still opens with it (the user chose it there himself); a
  // recorded path is only followed to a file of the entry's own name.
  if (!AnyDefaultNamesFirst(changed, kDesktopEntryName) &&
      fs::path(*entryPath).filename() == kDesktopEntryName) {
    std::error_code ignored;
    fs::remove(*entryPath, ignored);
  }
  registry.DeleteKey(kHkeyCurrentUser, kRecordKey);
  return std::nullopt;
}

}  // namespace zelvora
