#include "core/input/DefaultTheme.h"

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

#include "core/input/ThemeTexts.h"
#include "core/shell/CommandTable.h"
#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// One section's keys in the order they were first given. A key given twice with different
// texts is left out: the program then keeps each built-in text, where one theme value would
// replace all of them. Several command rows share a name this way ("WebClose" is "Close" in the
// File menu and "&Close" in the tab menu).
class SectionTexts {
 public:
  void Add(std::string_view key, std::string_view text) {
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
      return EqualsIgnoreCase(entry.key, key);
    });
    if (same == entries_.end()) {
      entries_.push_back({std::string(key), std::string(text), !ReadsBackUnchanged(text)});
    } else if (same->text != text) {
      same->leftOut = true;
    }
  }

  bool Write(const std::string& path, std::string_view section) const {
    bool accepted = true;
    for (const Entry& entry : entries_) {
      if (!entry.leftOut)
        accepted = WriteProfileString(path, section, entry.key, entry.text) && accepted;
    }
    return accepted;
  }

 private:
  struct Entry {
    std::string key;
    std::string text;
    bool leftOut = false;
  };

  // The file drops blanks around a value and one pair of quotes; a text that would lose them
  // (the reboot notice starts with a blank) is better left to its built-in form.
  static bool ReadsBackUnchanged(std::string_view text) {
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    return !text.empty() && !quoted && TrimBlanksAndControls(text) == text;
  }

  std::vector<Entry> entries_;
};

SectionTexts MenuTexts() {
  SectionTexts texts;
  for (const CommandRow& row : kCommandRows) {
    if (!row.name.empty() && !row.caption.empty())
      texts.Add(row.name, row.caption);
  }
  return texts;
}

SectionTexts ButtonTexts() {
  SectionTexts texts;
  for (const ButtonGroup group : {ButtonGroup::kToolbar, ButtonGroup::kDownloadControl,
                                  ButtonGroup::kSecurity, ButtonGroup::kTwoState}) {
    for (std::string_view tip : BuiltInButtonTips(group))
      texts.Add(ThemeKey(tip), tip);
  }
  return texts;
}

SectionTexts LabelTexts() {
  SectionTexts texts;
  for (std::string_view label : kBuiltInControlLabels)
    texts.Add(ThemeKey(label), label);
  for (std::string_view label : kTabSessionLabels)
    texts.Add(ThemeKey(label), label);
  texts.Add(kFileHistoryKey, kDefaultFileHistoryCaption);
  for (std::string_view page : kConfigTreePageNames)
    texts.Add(std::string(kConfigTreeKeyPrefix) + std::string(page), page);
  return texts;
}

SectionTexts MessageTexts() {
  SectionTexts texts;
  for (int message = 0; message < kThemeMessageCount; ++message)
    texts.Add(std::to_string(message), kBuiltInMessages[message]);
  return texts;
}

SectionTexts BindingTexts(std::span<const ThemeBinding> bindings) {
  SectionTexts texts;
  for (const ThemeBinding& binding : bindings)
    texts.Add(binding.command, binding.text);
  return texts;
}

}  // namespace

FileWriteResult WriteDefaultTheme(const std::string& path) {
  ProfileUpdate update(path);
  bool accepted = true;
  for (const std::string& section : ProfileSectionNames(path))
    accepted = DeleteProfileSection(path, section) && accepted;

  SectionTexts about;
  about.Add(kThemeTitleKey, kDefaultThemeFileTitle);
  about.Add(kThemeAuthorKey, kDefaultThemeFileAuthor);
  SectionTexts mouse;
  mouse.Add(kGestureEnableKey, kDefaultThemeGestureSettings.enabled ? "1" : "0");
  mouse.Add(kGestureDirectionKey, kDefaultThemeGestureSettings.allowSameDirection ? "1" : "0");
  mouse.Add(kGestureSensitivityKey, std::to_string(kDefaultThemeGestureSettings.sensitivity));

  const std::pair<std::string_view, SectionTexts> sections[] = {
      {kThemeSection, about},
      {kThemeShortcutSection, BindingTexts(kDefaultShortcutKeys)},
      {kThemeMouseSection, mouse},
      {kThemeGestureSection, BindingTexts(kDefaultMouseGestures)},
      {kThemeMenuSection, MenuTexts()},
      {kThemeButtonSection, ButtonTexts()},
      {kThemeLabelSection, LabelTexts()},
      {kThemeMessageSection, MessageTexts()},
  };
  for (const auto& [name, texts] : sections)
    accepted = texts.Write(path, name) && accepted;

  FileWriteResult result;
  result.ok = update.Commit() && accepted;
  result.error = update.Failed() ? update.ErrorText()
                 : accepted      ? std::string()
                                 : "a key the file cannot hold";
  return result;
}

}  // namespace zelvora
