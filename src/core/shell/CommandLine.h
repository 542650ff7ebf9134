#pragma once

// The command line: fifteen switch slots, each holding the value of its switch. The values are
// not applied while parsing; each is later delivered to the main window as a switch message, the
// same message a second start sends, so both take one road.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

enum SwitchSlot : int {
  kSwitchUser = 0,
  kSwitchShow,
  kSwitchSize,
  kSwitchPos,
  kSwitchMenu,
  kSwitchCaption,
  kSwitchStatusBar,
  kSwitchToolBar,
  kSwitchSplit,
  kSwitchTool,
  kSwitchReber,
  kSwitchLayered,
  kSwitchDat,
  kSwitchUrl,
  kSwitchDebug,
  kSwitchCount,
};

inline constexpr std::array<std::string_view, kSwitchCount> kSwitchNames = {
    "/user=",  "/show=", "/size=",  "/pos=",     "/menu=", "/caption=", "/statusbar=", "/toolbar=",
    "/split=", "/tool=", "/reber=", "/layered=", "/dat=",  "/url=",     "/debug="};

inline constexpr std::string_view kThemeSwitch = "/theme=";

// The message code of a switch handed to the main window is this base plus the slot index.
inline constexpr int kSwitchMessageBase = 3173;

struct CommandLine {
  std::string theme;
  std::array<std::string, kSwitchCount> switches;

  std::string& Slot(SwitchSlot slot) { return switches[static_cast<std::size_t>(slot)]; }
  const std::string& Slot(SwitchSlot slot) const {
    return switches[static_cast<std::size_t>(slot)];
  }
};

// The process arguments (without the program itself) as one line, each followed by a blank.
std::string JoinArguments(const std::vector<std::string>& arguments);

// The process arguments (without the program itself) as a command line. One argument alone that
// is "/url=" and a single link (a scheme and no blank) is how the desktop starts the default
// browser: the link is taken whole, even where its path holds a switch's text
// ("https://shop.example/size=xl"), which would otherwise cut it and apply the rest as switches.
// Everything else reads by ParseCommandLine.
CommandLine ParseArguments(const std::vector<std::string>& arguments);

// Every switch but "/debug=" starts a line of its own; each slot takes the trimmed text after
// the first occurrence of its switch up to the end of that line. Text before the first switch,
// such as a bare URL, has no effect.
CommandLine ParseCommandLine(std::string_view line);

}  // namespace zelvora
