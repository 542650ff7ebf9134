#pragma once

// One settings (ini) file held in memory: every line kept as read, so that a rewrite changes only
// the lines it must, plus an index of sections and keys by case-folded name for lookups.
//
// Syntax, as the private-profile files have always been read: "[Section]" starts a section,
// "Key=Value" inside a section is a key, ";" starts a comment line; anything else is kept but
// means nothing. Names compare without regard to ASCII case; blanks and control characters
// around names and values are dropped; one pair of double quotes around a value is removed.
// Where a name appears twice, the first one counts.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelvora {

class ProfileFile {
 public:
  // Any bytes parse: CR LF or LF line ends, a leading UTF-8 byte-order mark (dropped), invalid
  // UTF-8, NUL bytes and lines of any length.
  static ProfileFile Parse(std::string_view bytes);

  // The value of `key` in `section`, trimmed and unquoted; nothing when absent.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // Each section name once, as first spelt, in file order.
  std::vector<std::string> SectionNames() const;
  // Every section header in file order, a name that appears twice listed twice.
  std::vector<std::string> SectionHeaders() const;
  // Each key name of the section once, as first spelt, in file order.
  std::vector<std::string> KeyNames(std::string_view section) const;

  // Names the syntax can hold: a key must not contain "=" or a line break nor start with "[" or
  // ";" (it would read back as a section or a comment), a section name must not contain "]" or a
  // line break. Empty names are refused too.
  static bool IsWritableKey(std::string_view key);
  static bool IsWritableSection(std::string_view section);
  // A value written as-is would spill into further lines; each line break becomes one blank.
  static std::string FlattenLineBreaks(std::string_view value);

  // Edits. The caller passes names that pass the checks above and a flattened value. Each returns
  // whether the content changed, so that unchanged settings need not be rewritten.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  bool DeleteKey(std::string_view section, std::string_view key);
  bool DeleteSection(std::string_view section);

  // The file content: every line followed by CR LF, no byte-order mark.
  std::string Serialize() const;

 private:
  struct FoldedHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const;
  };
  struct FoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  template <typename Value>
  using FoldedMap = std::unordered_map<std::string, Value, FoldedHash, FoldedEqual>;

  struct Section {
    std::vector<std::string> lines;  // lines[0] is the "[Name]" line itself
    FoldedMap<std::size_t> keys;     // first line of each key
    std::size_t lastKeyLine = 0;     // 0 while the section has no key
  };

  void IndexSections();
  static void IndexKeys(Section& section);
  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;

  std::vector<std::string> preamble_;  // lines before the first section: kept, never read
  std::vector<Section> sections_;
  FoldedMap<std::size_t> sectionIndex_;  // first section of each name
};

}  // namespace zelvora
