#pragma once

// The bracket check of a keyword that is to be used as a regular expression (history search,
// page analysis): a failed check is explained in a message box and the caller stops.

#include <QString>
#include <string>

#include "core/input/ThemeTexts.h"

class QStatusBar;
class QWidget;

namespace zelvora {

// True when the pattern's brackets are in order. Otherwise a box captioned "Zelvora" and the
// theme's "RegularExpression" says what is wrong and where. The status bar shows the check's
// result code either way.
bool CheckRegexOrExplain(QWidget* parent, const TThemeTexts& texts, const QString& pattern,
                         QStatusBar* status);

// The bracket check of `keyword`, then whether `pattern` (the keyword as it is matched) compiles;
// when it does not, a box captioned "Zelvora" gives the compiler's reason.
bool CheckPatternOrExplain(QWidget* parent, const TThemeTexts& texts, const QString& keyword,
                           const std::string& pattern, QStatusBar* status);

}  // namespace zelvora
