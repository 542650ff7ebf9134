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

}  // namespace

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
