#include "core/input/DropData.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/browser/UrlUtil.h"
#include "core/shell/ProfileFile.h"
#include "core/shell/SafeFile.h"
#include "core/text/Utf8.h"
#include "core/tools/TreeFile.h"

namespace zelvora {

namespace {

// Shortcut files are a few hundred bytes; anything much larger is not read as one.
constexpr std::uintmax_t kShortcutSizeMax = 64 * 1024;
constexpr std::string_view kUrlExtension = ".url";
constexpr std::string_view kDesktopExtension = ".desktop";
constexpr std::string_view kBlankPage = "about:blank";

bool EndsWithIgnoreCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && EqualsIgnoreCase(text.substr(text.size() - end.size()), end);
}

// The lines after the first one (empty when there is no line break).
std::string_view AfterFirstLine(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos)
    return {};
  const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
  return text.substr(next);
}

}  // namespace

std::string_view FirstLine(std::string_view text) {
  return text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
}

DropContent ClassifyDrop(const DropOffer& offer) {
  DropContent content;
  if (!offer.mozUrl.empty()) {
    content.kind = DropKind::kUrl;
    content.text = FirstLine(offer.mozUrl);
    content.title = TrimBlanksAndControls(FirstLine(AfterFirstLine(offer.mozUrl)));
  } else if (!offer.uris.empty()) {
    const bool allFiles = std::all_of(offer.uris.begin(), offer.uris.end(),
                                      [](const DroppedUri& uri) { return !uri.localPath.empty(); });
    if (allFiles) {
      content.kind = DropKind::kFiles;
      for (const DroppedUri& uri : offer.uris) {
        content.files.push_back(uri.localPath);
      }
      return content;
    }
    content.kind = DropKind::kUrl;
    content.text = FirstLine(offer.uris.front().url);
  } else if (!offer.text.empty()) {
    content.kind = DropKind::kText;
    content.text = FirstLine(offer.text);
  }
  if (content.text.empty())
    return {};
  return content;
}

ShortcutTarget ReadShortcut(const std::string& path) {
  ShortcutTarget target;
  const bool internet = EndsWithIgnoreCase(path, kUrlExtension);
  if (!internet && !EndsWithIgnoreCase(path, kDesktopExtension))
    return target;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) ||
      std::filesystem::file_size(path, error) > kShortcutSizeMax || error) {
    // A ".url" name still counts as a shortcut: its address falls back as for a missing "URL".
    target.isShortcut = internet;
    return target;
  }
  const std::optional<std::string> bytes = ReadWholeFile(path);
  const ProfileFile file = ProfileFile::Parse(bytes.value_or(std::string()));
  if (internet) {
    target.isShortcut = true;
    target.url = file.Find("InternetShortcut", "URL").value_or(std::string_view());
    return target;
  }
  // Only a desktop entry of type Link is a shortcut; an application's entry is a plain file.
  if (!EqualsIgnoreCase(file.Find("Desktop Entry", "Type").value_or(std::string_view()), "Link"))
    return target;
  target.isShortcut = true;
  target.url = file.Find("Desktop Entry", "URL").value_or(std::string_view());
  target.name = file.Find("Desktop Entry", "Name").value_or(std::string_view());
  return target;
}

std::string DroppedFilesTreeText(const std::vector<std::string>& paths, std::string_view title) {
  std::string text;
  for (const std::string& path : paths) {
    const std::string fileName = NameFromUrl(path);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
      AppendTreeLine(text, 0, true, false, title.empty() ? std::string_view(fileName) : title, {});
      continue;
    }
    std::string value = path;
    std::string name = fileName;
    const ShortcutTarget shortcut = ReadShortcut(path);
    if (shortcut.isShortcut) {
      if (!shortcut.url.empty())
        value = shortcut.url;
      const std::string_view extension =
          EndsWithIgnoreCase(path, kUrlExtension) ? kUrlExtension : kDesktopExtension;
      name = shortcut.name.empty() ? fileName.substr(0, fileName.size() - extension.size())
                                   : shortcut.name;
    }
    if (!title.empty())
      name = title;
    else if (TrimBlanksAndControls(name).empty())
      name = kNoName;
    AppendTreeLine(text, 0, false, false, name, value);
  }
  return text;
}

std::string DroppedLinkTreeText(std::string_view value, std::string_view name) {
  std::string text;
  AppendTreeLine(text, 0, false, false, name.empty() ? value : name, value);
  return text;
}

std::string DroppedFileText(const std::string& path) {
  const ShortcutTarget shortcut = ReadShortcut(path);
  if (!shortcut.isShortcut)
    return path;
  return shortcut.url.empty() ? std::string(kBlankPage) : shortcut.url;
}

std::vector<DraggedLink> MarkedLinks(const TTreeModel& model) {
  std::vector<DraggedLink> links;
  for (const TreeHandle item : model.MarkedItems()) {
    const TTreeItemRec* record = model.Record(item);
    if (record != nullptr && !record->IsFolder && !record->Value.empty())
      links.push_back({record->Value, model.Name(item)});
  }
  return links;
}

std::string MozUrlText(const std::vector<DraggedLink>& links) {
  std::string text;
  for (const DraggedLink& link : links) {
    AppendLineField(text, link.url);
    text += '\n';
    AppendLineField(text, link.name.empty() ? link.url : link.name);
    text += '\n';
  }
  return text;
}

}  // namespace zelvora
