#pragma once

// Shortcut keys: the theme's "ShortCutKey" section binds a command to one key combination,
// written as text like "Ctrl+Shift+T". This file turns such texts into (modifiers, virtual key)
// pairs, collects the accepted bindings of one menu build into the accelerator table, and gives
// the key editor its display form. The key codes are the classic virtual-key codes the theme
// files have always been written against; the gui maps its own key events onto them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

// Accelerator flags. Every entry carries kAccelVirtKey; the other three are the modifiers.
inline constexpr std::uint16_t kAccelVirtKey = 0x01;
inline constexpr std::uint16_t kAccelShift = 0x04;
inline constexpr std::uint16_t kAccelControl = 0x08;
inline constexpr std::uint16_t kAccelAlt = 0x10;
inline constexpr std::uint16_t kAccelModifiers = kAccelShift | kAccelControl | kAccelAlt;

// The accelerator table has always held 61 entries; later bindings are dropped silently.
inline constexpr std::size_t kAccelTableMax = 61;

// One row of the key-name table (code, name), or of the modifier table (flags, pattern).
struct TKeyMapRec {
  std::uint16_t code;
  std::string_view name;
};

// Tried in this order, case-insensitively (ASCII), against the whole key text; the first match
// decides the modifiers and its group 1 is the key name. The modifiers must be written in the
// order Ctrl, Alt, Shift: "Alt+Ctrl+A" reads as Alt with the (unknown) key "Ctrl+A".
inline constexpr std::array<TKeyMapRec, 8> kModifierTable = {{
    {kAccelControl | kAccelAlt | kAccelShift, R"(^ctrl\+alt\+shift\+([^\n]+)$)"},
    {kAccelControl | kAccelAlt, R"(^ctrl\+alt\+([^\n]+)$)"},
    {kAccelControl | kAccelShift, R"(^ctrl\+shift\+([^\n]+)$)"},
    {kAccelAlt | kAccelShift, R"(^alt\+shift\+([^\n]+)$)"},
    {kAccelControl, R"(^ctrl\+([^\n]+)$)"},
    {kAccelAlt, R"(^alt\+([^\n]+)$)"},
    {kAccelShift, R"(^shift\+([^\n]+)$)"},
    {0, R"(^([^\n]+)$)"},
}};

// The keys that can be bound, matched by name case-insensitively (ASCII) in row order. The
// punctuation names are the characters a Japanese keyboard prints on those keys. The rows after
// "VK_OEM_102" let a theme bind the keys a Linux browser user expects (Escape to stop, Ctrl+Tab
// and Ctrl+PageDown to change tabs); only the modifiers themselves cannot be bound.
inline constexpr std::array<TKeyMapRec, 102> kKeyNameTable = {{
    {8, "Back"},    {46, "Delete"}, {48, "0"},           {49, "1"},        {50, "2"},
    {51, "3"},      {52, "4"},      {53, "5"},           {54, "6"},        {55, "7"},
    {56, "8"},      {57, "9"},      {65, "A"},           {66, "B"},        {67, "C"},
    {68, "D"},      {69, "E"},      {70, "F"},           {71, "G"},        {72, "H"},
    {73, "I"},      {74, "J"},      {75, "K"},           {76, "L"},        {77, "M"},
    {78, "N"},      {79, "O"},      {80, "P"},           {81, "Q"},        {82, "R"},
    {83, "S"},      {84, "T"},      {85, "U"},           {86, "V"},        {87, "W"},
    {88, "X"},      {89, "Y"},      {90, "Z"},           {96, "NUM 0"},    {97, "NUM 1"},
    {98, "NUM 2"},  {99, "NUM 3"},  {100, "NUM 4"},      {101, "NUM 5"},   {102, "NUM 6"},
    {103, "NUM 7"}, {104, "NUM 8"}, {105, "NUM 9"},      {106, "NUM *"},   {107, "NUM +"},
    {109, "NUM -"}, {110, "NUM ."}, {111, "NUM /"},      {37, "Left"},     {38, "Up"},
    {39, "Right"},  {40, "Down"},   {112, "F1"},         {113, "F2"},      {114, "F3"},
    {115, "F4"},    {116, "F5"},    {117, "F6"},         {118, "F7"},      {119, "F8"},
    {120, "F9"},    {121, "F10"},   {122, "F11"},        {123, "F12"},     {124, "F13"},
    {125, "F14"},   {126, "F15"},   {127, "F16"},        {128, "F17"},     {129, "F18"},
    {130, "F19"},   {131, "F20"},   {132, "F21"},        {133, "F22"},     {134, "F23"},
    {135, "F24"},   {186, ":"},     {187, ";"},          {188, ","},       {189, "-"},
    {190, "."},     {191, "/"},     {192, "@"},          {219, "["},       {220, "\\"},
    {221, "]"},     {222, "^"},     {226, "VK_OEM_102"}, {9, "Tab"},       {13, "Enter"},
    {27, "Escape"}, {32, "Space"},  {33, "PageUp"},      {34, "PageDown"}, {35, "End"},
    {36, "Home"},   {45, "Insert"},
}};
// A short list would leave empty rows at the end rather than fail to compile.
static_assert(!kKeyNameTable.back().name.empty() && !kModifierTable.back().name.empty());

// Key codes the key editor treats specially.
inline constexpr std::uint16_t kVirtualKeyBack = 8;
inline constexpr std::uint16_t kVirtualKeyDelete = 46;

struct ShortcutKey {
  std::uint16_t modifiers = 0;  // kAccelShift | kAccelControl | kAccelAlt, without kAccelVirtKey
  std::uint16_t virtualKey = 0;
  bool operator==(const ShortcutKey&) const = default;
};

// The combination a key text stands for, or nothing when the text binds no key. Blanks and
// control characters at both ends of the text and of the key name are ignored.
std::optional<ShortcutKey> ParseShortcutKey(std::string_view text);

std::optional<std::uint16_t> VirtualKeyFromName(std::string_view name);
std::optional<std::string_view> KeyNameFromVirtualKey(std::uint16_t virtualKey);
// The key whose name is the single character `c` (a letter in either case, a digit or one of
// the punctuation names), so the gui can map a key event by the character it produces.
std::optional<std::uint16_t> VirtualKeyFromCharacter(char c);

// "Ctrl+", "Alt+", "Shift+" for the modifiers held, then the key name: the form ParseShortcutKey
// reads, so a captured key reads back unchanged.
std::string ShortcutDisplayText(std::uint16_t modifiers, std::string_view keyName);

// The key text of the command `keyName` in the theme file, trimmed: empty when unbound. It is
// also what the menu item shows after a tab, whether or not it binds a key.
std::string ReadShortcutKeyText(std::string_view themePath, std::string_view keyName);

struct TAccelEntry {
  std::uint16_t flags = 0;  // modifiers | kAccelVirtKey
  std::uint16_t key = 0;
  std::uint16_t command = 0;
};

// The accelerator table the main window applies before anything else sees a key.
class TAccelTable {
 public:
  // False (and nothing added) once the table holds kAccelTableMax entries.
  bool Add(std::uint16_t modifiers, std::uint16_t virtualKey, std::uint16_t command);
  // The command of the first entry for exactly these modifiers and key.
  std::optional<std::uint16_t> Find(std::uint16_t modifiers, std::uint16_t virtualKey) const;
  const std::vector<TAccelEntry>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<TAccelEntry> entries_;
};

// One key text may offer several keys for its command, each written as a key text of its own:
// "F5 | Ctrl+R". No key name holds this character, so no single binding reads differently.
inline constexpr char kShortcutAlternativeSeparator = '|';

// The shortcut keys of one menu build. The menu builder feeds every command table row in table
// order, tables in menu order, so a key text read twice binds the command read first.
class ShortcutBindings {
 public:
  // True when the text, or one of its alternatives, was accepted. Each alternative is bound as
  // if it stood alone: one equal (ignoring case) to a text accepted earlier, one that binds no
  // key and any binding beyond the table's limit are skipped silently.
  bool Bind(std::string_view keyText, std::uint16_t command);
  const TAccelTable& Table() const { return table_; }
  void Clear();

 private:
  bool BindOne(std::string_view keyText, std::uint16_t command);

  TAccelTable table_;
  std::vector<std::string> boundTexts_;
};

// The key capture of the theme editor's shortcut column: modifier flags and the last
// non-modifier key name, turned into the display form as keys go down and up.
class ShortcutKeyCapture {
 public:
  // Opening the edit box starts with nothing held and no key remembered.
  void Reset();
  // A modifier key (one of kAccelShift, kAccelControl, kAccelAlt) went down: the new edit text,
  // for instance "Ctrl+Shift+" before any other key was pressed.
  std::string ModifierDown(std::uint16_t modifier);
  void ModifierUp(std::uint16_t modifier);
  // Any other key went down: the new edit text, or nothing when the text stays. Back and
  // Delete empty a non-empty box; on an empty box they are keys like any other.
  std::optional<std::string> KeyDown(std::uint16_t virtualKey, bool editEmpty);
  // The modifiers held now.
  std::uint16_t Modifiers() const { return modifiers_; }

 private:
  std::string Text() const { return ShortcutDisplayText(modifiers_, keyName_); }

  std::uint16_t modifiers_ = 0;
  std::string keyName_;
};

}  // namespace zelvora
