#include "core/input/ThemeTexts.h"

#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// The blanks a key loses: what "\s" matches in the program's pattern dialect.
bool IsKeyBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// What "\w" matches in the program's pattern dialect: ASCII letters, digits and "_".
bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view BeforeFirstParen(std::string_view text) {
  return text.substr(0, text.find('('));
}

std::string ReadLabel(std::string_view themeFile, std::string_view builtIn) {
  return ReadProfileString(themeFile, kThemeLabelSection, ThemeKey(builtIn), builtIn);
}

// The size cross and the time separators are keyed in the theme by a readable name; left at that
// name they show as the symbols, while a theme that gives them a text of its own keeps it.
struct LabelReplacement {
  ControlLabel label;
  std::string_view text;
};
constexpr LabelReplacement kUntouchedLabelReplacements[] = {
    {kLabelCross, "x"},
    {kLabelHour, ":"},
    {kLabelMin, ":"},
    {kLabelSec, ""},
};

}  // namespace

std::string ThemeKey(std::string_view builtInText) {
  std::string key;
  for (char c : BeforeFirstParen(builtInText)) {
    if (c != '&' && c != '\'' && !IsKeyBlank(c))
      key += c;
  }
  return key;
}

std::string DecodeMessageEscapes(std::string_view text) {
  return DecodeCaptionEscapes(text, true);
}

std::string ReadMenuCaption(std::string_view themeFile, std::string_view name,
                            std::string_view builtIn) {
  return std::string(
      TrimTrailingBlanks(ReadProfileText(themeFile, kThemeMenuSection, name, builtIn)));
}

std::string ReadMenuBarCaption(std::string_view themeFile, std::string_view name,
                               std::string_view builtIn) {
  return ReadProfileString(themeFile, kThemeMenuSection, name, builtIn);
}

std::string PlainActionName(std::string_view caption) {
  const std::string_view text = BeforeFirstParen(caption);
  std::string name;
  name.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '&' && next == '&') {
      name += '&';
      ++i;
    } else if (text[i] != '&' || !IsWordChar(next)) {
      name += text[i];
    }
  }
  return name;
}

std::string BuiltInMessage(ThemeMessage message) {
  return DecodeMessageEscapes(kBuiltInMessages[message]);
}

std::span<const std::string_view> BuiltInButtonTips(ButtonGroup group) {
  switch (group) {
    case ButtonGroup::kToolbar:
      return kToolbarButtonTips;
    case ButtonGroup::kDownloadControl:
      return kDownloadControlButtonTips;
    case ButtonGroup::kSecurity:
      return kSecurityButtonTips;
    case ButtonGroup::kTwoState:
      return kTwoStateButtonTips;
  }
  return {};
}

TThemeTexts::TThemeTexts() {
  Load({});
}

void TThemeTexts::Load(std::string_view themeFile) {
  LoadAuthor(themeFile);
  LoadMenuTexts(themeFile);
  LoadButtonTips(themeFile);
  LoadControlLabels(themeFile);
  LoadMessages(themeFile);
}

void TThemeTexts::LoadAuthor(std::string_view themeFile) {
  title_ = ReadProfileString(themeFile, kThemeSection, kThemeTitleKey, kDefaultThemeTitle);
  author_ = ReadProfileString(themeFile, kThemeSection, kThemeAuthorKey, kDefaultThemeAuthor);
}

void TThemeTexts::LoadMenuTexts(std::string_view themeFile) {
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    const std::string_view name = kToolPanelTreeNames[tree];
    treeNames_[tree] = ReadProfileString(themeFile, kThemeMenuSection, name, name);
  }
  fileHistoryCaption_ =
      ReadProfileString(themeFile, kThemeLabelSection, kFileHistoryKey, kDefaultFileHistoryCaption);
}

void TThemeTexts::LoadButtonTips(std::string_view themeFile) {
  for (std::size_t group = 0; group < kButtonGroupCount; ++group) {
    std::vector<std::string>& tips = buttonTips_[group];
    tips.clear();
    for (std::string_view builtIn : BuiltInButtonTips(static_cast<ButtonGroup>(group)))
      tips.push_back(ReadProfileString(themeFile, kThemeButtonSection, ThemeKey(builtIn), builtIn));
  }
}

void TThemeTexts::LoadControlLabels(std::string_view themeFile) {
  for (int label = 0; label < kControlLabelCount; ++label)
    labels_[label] = ReadLabel(themeFile, kBuiltInControlLabels[label]);
  for (const LabelReplacement& replacement : kUntouchedLabelReplacements) {
    std::string& text = labels_[replacement.label];
    if (text == kBuiltInControlLabels[replacement.label])
      text = replacement.text;
  }
  // The reboot notice follows another label on the same line, hence the leading blank.
  std::string& notice = labels_[kLabelImportantReboot];
  notice = " [" + notice + "]";

  for (int option = 0; option < kTabSessionLabelCount; ++option)
    sessionLabels_[option] = ReadLabel(themeFile, kTabSessionLabels[option]);

  for (int page = 0; page < kConfigTreePageCount; ++page) {
    const std::string_view name = kConfigTreePageNames[page];
    pageNames_[page] = ReadProfileString(
        themeFile, kThemeLabelSection, std::string(kConfigTreeKeyPrefix) + std::string(name), name);
  }
}

void TThemeTexts::LoadMessages(std::string_view themeFile) {
  for (int message = 0; message < kThemeMessageCount; ++message) {
    messages_[message] = DecodeMessageEscapes(ReadProfileString(
        themeFile, kThemeMessageSection, std::to_string(message), kBuiltInMessages[message]));
  }
}

std::string TThemeTexts::AboutText() const {
  return std::string(kThemeSection) + ": " + title_ + " by " + author_;
}

std::span<const std::string> TThemeTexts::ButtonTips(ButtonGroup group) const {
  return buttonTips_[static_cast<std::size_t>(group)];
}

}  // namespace zelvora
