#include "core/shell/SwitchValues.h"

#include <algorithm>
#include <array>
#include <memory>

#include "core/shell/UtilFunc.h"
#include "core/text/Regex.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// The names of "/layered=" in the order they are applied; the first eight go with the
// translucent windows' flags and opacities in their index order, "color" with the colour key.
constexpr std::array<std::string_view, kLayeredWindowCount + 1> kLayeredNames = {
    "main", "search", "open", "edit", "select", "config", "date", "other", "color"};

constexpr int kOpacityMax = 255;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The leading integer as the settings file reads numbers, but only when there is one: a value
// such as "abc" must not turn into 0 and, say, make a window fully transparent.
std::optional<int> LeadingInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
    ++pos;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
    ++pos;
  if (pos >= text.size() || !IsDigit(text[pos]))
    return std::nullopt;
  return ParseProfileInt(text, 0);
}

void ApplyLayeredItem(std::size_t nameIndex, std::string_view text, TSettings& settings) {
  const bool isColour = nameIndex == kLayeredWindowCount;
  const int flag = isColour ? kFlagLayeredColorKey : kFlagLayeredMain + static_cast<int>(nameIndex);
  if (const std::optional<bool> on = OnOff(text)) {
    settings.flags[static_cast<std::size_t>(flag)] = *on ? 1 : 0;
    return;
  }
  if (isColour) {
    Colour& key = settings.colours[kColourLayeredKey];
    key = ColourFromText(text, key);
    return;
  }
  if (const std::optional<int> opacity = LeadingInteger(text)) {
    const auto index = static_cast<std::size_t>(kIntLayeredMainValue) + nameIndex;
    settings.integers[index] = std::clamp(*opacity, 0, kOpacityMax);
  }
}

}  // namespace

std::optional<bool> OnOff(std::string_view value) {
  value = TrimBlanksAndControls(value);
  if (EqualsIgnoreCase(value, "ON"))
    return true;
  if (EqualsIgnoreCase(value, "OFF"))
    return false;
  return std::nullopt;
}

int ShowSwitchState(std::string_view value) {
  value = TrimBlanksAndControls(value);
  if (EqualsIgnoreCase(value, "max"))
    return 0;
  if (EqualsIgnoreCase(value, "min"))
    return 1;
  return 2;
}

std::optional<int> SplitSwitch(std::string_view value) {
  const std::optional<int> position = LeadingInteger(TrimBlanksAndControls(value));
  if (!position)
    return std::nullopt;
  return std::max(*position, 0);
}

void ApplyLayeredSwitch(std::string_view value, TSettings& settings) {
  value = TrimBlanksAndControls(value);
  for (std::size_t i = 0; i < kLayeredNames.size(); ++i) {
    // Case as written, and no word boundary: "domain(...)" counts as "main(...)" too.
    const std::string pattern = std::string(kLayeredNames[i]) + "\\(([^\\)]*)\\)";
    const std::shared_ptr<const Regex> regex = Regex::Cached(pattern);
    for (std::optional<RegexMatch> match = regex->FindFirst(value); match;
         match = regex->FindNext(value, *match)) {
      ApplyLayeredItem(i, TrimBlanksAndControls(match->GroupText(value, 1)), settings);
    }
  }
}

}  // namespace zelvora
