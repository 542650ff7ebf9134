#include "core/input/ShortcutKeys.h"

#include <algorithm>

#include "core/input/ThemeTexts.h"
#include "core/shell/UtilFunc.h"
#include "core/text/Regex.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// The key text and the key name it ends in, with the modifiers the text starts with.
struct SplitKeyText {
  std::uint16_t modifiers = 0;
  std::string_view keyName;
};

std::optional<SplitKeyText> SplitModifiers(std::string_view text) {
  // The patterns are matched against an ASCII-lowered copy rather than with the engine's own
  // caseless mode, which would also let Unicode look-alikes such as U+017F stand for "s".
  const std::string lowered = AsciiLower(text);
  for (const TKeyMapRec& row : kModifierTable) {
    const auto match = Regex::Cached(row.name)->FindFirst(lowered);
    if (!match)
      continue;
    const RegexSpan key = match->Group(1);
    return SplitKeyText{row.code, text.substr(key.position - 1, key.length)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<ShortcutKey> ParseShortcutKey(std::string_view text) {
  const auto split = SplitModifiers(TrimBlanksAndControls(text));
  if (!split)
    return std::nullopt;
  const std::string_view keyName = TrimBlanksAndControls(split->keyName);
  if (keyName.empty())
    return std::nullopt;
  const auto key = VirtualKeyFromName(keyName);
  if (!key)
    return std::nullopt;
  return ShortcutKey{split->modifiers, *key};
}

std::optional<std::uint16_t> VirtualKeyFromName(std::string_view name) {
  const auto row =
      std::find_if(kKeyNameTable.begin(), kKeyNameTable.end(),
                   [&](const TKeyMapRec& r) { return EqualsIgnoreCase(r.name, name); });
  if (row == kKeyNameTable.end())
    return std::nullopt;
  return row->code;
}

std::optional<std::string_view> KeyNameFromVirtualKey(std::uint16_t virtualKey) {
  const auto row = std::find_if(kKeyNameTable.begin(), kKeyNameTable.end(),
                                [&](const TKeyMapRec& r) { return r.code == virtualKey; });
  if (row == kKeyNameTable.end())
    return std::nullopt;
  return row->name;
}

std::optional<std::uint16_t> VirtualKeyFromCharacter(char c) {
  return VirtualKeyFromName(std::string_view(&c, 1));
}

std::string ShortcutDisplayText(std::uint16_t modifiers, std::string_view keyName) {
  std::string text;
  if (modifiers & kAccelControl)
    text += "Ctrl+";
  if (modifiers & kAccelAlt)
    text += "Alt+";
  if (modifiers & kAccelShift)
    text += "Shift+";
  text += keyName;
  return text;
}

std::string ReadShortcutKeyText(std::string_view themePath, std::string_view keyName) {
  return std::string(
      TrimBlanksAndControls(ReadProfileString(themePath, kThemeShortcutSection, keyName, "")));
}

bool TAccelTable::Add(std::uint16_t modifiers, std::uint16_t virtualKey, std::uint16_t command) {
  if (entries_.size() >= kAccelTableMax)
    return false;
  entries_.push_back({static_cast<std::uint16_t>((modifiers & kAccelModifiers) | kAccelVirtKey),
                      virtualKey, command});
  return true;
}

std::optional<std::uint16_t> TAccelTable::Find(std::uint16_t modifiers,
                                               std::uint16_t virtualKey) const {
  const std::uint16_t wanted = modifiers & kAccelModifiers;
  for (const TAccelEntry& entry : entries_) {
    if (entry.key == virtualKey && (entry.flags & kAccelModifiers) == wanted)
      return entry.command;
  }
  return std::nullopt;
}

bool ShortcutBindings::Bind(std::string_view keyText, std::uint16_t command) {
  bool bound = false;
  for (;;) {
    const std::size_t separator = keyText.find(kShortcutAlternativeSeparator);
    bound = BindOne(keyText.substr(0, separator), command) || bound;
    if (separator == std::string_view::npos)
      return bound;
    keyText.remove_prefix(separator + 1);
  }
}

bool ShortcutBindings::BindOne(std::string_view keyText, std::uint16_t command) {
  const std::string_view text = TrimBlanksAndControls(keyText);
  // Accepted texts are plain ASCII (the modifier and key names are), so comparing them
  // ignoring ASCII case is the whole-line caseless test the bound-key list was made for.
  if (std::any_of(boundTexts_.begin(), boundTexts_.end(),
                  [&](const std::string& bound) { return EqualsIgnoreCase(bound, text); }))
    return false;
  const auto key = ParseShortcutKey(text);
  if (!key || !table_.Add(key->modifiers, key->virtualKey, command))
    return false;
  boundTexts_.emplace_back(text);
  return true;
}

void ShortcutBindings::Clear() {
  table_.Clear();
  boundTexts_.clear();
}

void ShortcutKeyCapture::Reset() {
  modifiers_ = 0;
  keyName_.clear();
}

std::string ShortcutKeyCapture::ModifierDown(std::uint16_t modifier) {
  modifiers_ |= modifier & kAccelModifiers;
  return Text();
}

void ShortcutKeyCapture::ModifierUp(std::uint16_t modifier) {
  modifiers_ &= ~modifier & kAccelModifiers;
}

std::optional<std::string> ShortcutKeyCapture::KeyDown(std::uint16_t virtualKey, bool editEmpty) {
  if ((virtualKey == kVirtualKeyBack || virtualKey == kVirtualKeyDelete) && !editEmpty)
    return std::string();
  const auto name = KeyNameFromVirtualKey(virtualKey);
  if (!name)
    return std::nullopt;
  keyName_ = *name;
  return Text();
}

}  // namespace zelvora
