#pragma once

// The built-in texts of the theme's "Message" section, by number. "%1" stands for a position or
// a file name that the caller fills in.

#include <array>
#include <string_view>

namespace zelvora {

enum ThemeMessage : int {
  kMessageRegularExpression = 0,
  kMessageNotEnoughClosingBrackets = 1,
  kMessageUnclosedClass = 2,
  kMessageUnopenedBracket = 3,
  kMessageModified = 4,
  kMessageWorkingNow = 5,
  kMessageStopWork = 6,
  kMessageWorkFinished = 7,
  kMessageStoppedWorking = 8,
  kMessageConfirmExit = 9,
  kThemeMessageCount,
};

inline constexpr std::array<std::string_view, kThemeMessageCount> kBuiltInMessages = {
    "RegularExpression",
    "There are not enough closing brackets ')'",
    "At position %1 was found opening '[' without\n\ncorresponding closing ']'",
    "At position %1 was found closing bracket ')' without\n\ncorresponding opening '('",
    "\"%1\" has been modified.\n\nDo you wish to write changes ?",
    "Working now.",
    "Do you wish to stop the work now ?",
    "Work finished. :-)",
    "Stopped Working.",
    "Do you wish to exit?\n",
};

}  // namespace zelvora
