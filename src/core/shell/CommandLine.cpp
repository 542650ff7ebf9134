#include "core/shell/CommandLine.h"

#include "core/text/Regex.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// "/debug=" is deliberately missing: it does not start a line, so a value before it runs on
// over it.
constexpr std::array<std::string_view, 15> kLineSwitches = {
    "/theme=",   "/user=",  "/show=", "/size=",  "/pos=",     "/menu=", "/caption=", "/statusbar=",
    "/toolbar=", "/split=", "/tool=", "/reber=", "/layered=", "/dat=",  "/url="};

std::string SwitchValue(std::string_view line, std::string_view name) {
  const std::string pattern = "(?ig)" + RegexEscape(name) + "\\s*([^\\r]*)";
  const auto value = RegexGroupText(pattern, line, 1);
  return value ? std::string(TrimBlanksAndControls(*value)) : std::string();
}

bool IsSchemeLetter(char c) {
  return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z';
}

// "scheme:" followed by anything without blanks or control characters.
bool IsSingleLink(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == 0 || colon == std::string_view::npos || !IsSchemeLetter(text[0]))
    return false;
  for (const char c : text.substr(0, colon)) {
    if (!IsSchemeLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
      return false;
  }
  for (const char c : text) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F)
      return false;
  }
  return true;
}

}  // namespace

CommandLine ParseArguments(const std::vector<std::string>& arguments) {
  constexpr std::string_view kUrl = kSwitchNames[kSwitchUrl];
  if (arguments.size() == 1 &&
      EqualsIgnoreCase(std::string_view(arguments[0]).substr(0, kUrl.size()), kUrl)) {
    const std::string_view link = std::string_view(arguments[0]).substr(kUrl.size());
    if (IsSingleLink(link)) {
      CommandLine result;
      result.Slot(kSwitchUrl) = std::string(link);
      return result;
    }
  }
  return ParseCommandLine(JoinArguments(arguments));
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const auto& argument : arguments)
    line += argument + ' ';
  return line;
}

CommandLine ParseCommandLine(std::string_view line) {
  std::string text(line);
  for (const std::string_view name : kLineSwitches) {
    text = RegexReplaceAll("(?i)" + RegexEscape(name), text, "\r\n" + std::string(name));
  }
  CommandLine result;
  result.theme = SwitchValue(text, kThemeSwitch);
  for (int slot = 0; slot < kSwitchCount; ++slot) {
    result.switches[static_cast<std::size_t>(slot)] =
        SwitchValue(text, kSwitchNames[static_cast<std::size_t>(slot)]);
  }
  return result;
}

}  // namespace zelvora
