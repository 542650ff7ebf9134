#include "core/browser/DownloadRules.h"

#include <algorithm>

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// An extension longer than this is no extension worth keeping when a name is cut.
constexpr std::size_t kExtensionMax = 32;
constexpr int kFreeNumberMax = 9999;

struct NameParts {
  std::string_view stem;
  std::string_view extension;  // with its dot; empty when the name has none
};

NameParts SplitExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size() ||
      name.size() - dot - 1 > kExtensionMax)
    return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

// The stem cut so that stem, `suffix` and extension together fit kDownloadNameMax bytes.
std::string Compose(const NameParts& parts, std::string_view suffix) {
  const std::size_t room = kDownloadNameMax - parts.extension.size() - suffix.size();
  std::string result(CutAtCharBoundary(parts.stem, room));
  result += suffix;
  result += parts.extension;
  return result;
}

bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

std::string_view TrimDotsAndBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(". ");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(". ") - first + 1);
}

}  // namespace

std::string CleanDownloadName(std::string_view suggested) {
  const std::size_t separator = suggested.find_last_of("/\\");
  const std::string_view last = TrimBlanksAndControls(
      separator == std::string_view::npos ? suggested : suggested.substr(separator + 1));
  std::string replaced;
  for (std::size_t pos = 0; pos < last.size();) {
    const std::size_t length = CharLengthAt(last, pos);
    const auto c = static_cast<unsigned char>(last[pos]);
    // A lone byte at or over 0x80 is not UTF-8.
    if (length == 1 && (IsControl(c) || c >= 0x80))
      replaced += '_';
    else
      replaced += last.substr(pos, length);
    pos += length;
  }
  const std::string_view name = TrimDotsAndBlanks(replaced);
  if (name.empty())
    return std::string(kDownloadFallbackName);
  if (name.size() <= kDownloadNameMax)
    return std::string(name);
  return Compose(SplitExtension(name), {});
}

std::string FreeDownloadName(std::string_view name,
                             const std::function<bool(const std::string& name)>& taken) {
  std::string candidate(name);
  if (!taken(candidate))
    return candidate;
  const NameParts parts = SplitExtension(name);
  for (int number = 1; number <= kFreeNumberMax; ++number) {
    candidate = Compose(parts, " (" + std::to_string(number) + ")");
    if (!taken(candidate))
      return candidate;
  }
  return {};
}

bool IsProgramDownload(std::string_view name, std::string_view mimeType) {
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) {
    const std::string_view extension = name.substr(dot + 1);
    if (std::any_of(std::begin(kProgramExtensions), std::end(kProgramExtensions),
                    [&](std::string_view known) { return EqualsIgnoreCase(known, extension); }))
      return true;
  }
  const std::string_view type = TrimBlanksAndControls(mimeType.substr(0, mimeType.find(';')));
  return std::any_of(std::begin(kProgramMimeTypes), std::end(kProgramMimeTypes),
                     [&](std::string_view known) { return EqualsIgnoreCase(known, type); });
}

}  // namespace zelvora
