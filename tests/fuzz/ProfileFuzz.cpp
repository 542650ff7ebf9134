// Any bytes must parse, every listed name must read, and writing a key must change nothing else:
// after the rewrite every other key reads as before and the new one reads back.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "core/shell/ProfileFile.h"
#include "core/text/Utf8.h"

namespace {

using zelvora::ProfileFile;
using Snapshot = std::map<std::pair<std::string, std::string>, std::string>;

Snapshot Everything(const ProfileFile& file) {
  Snapshot values;
  for (const std::string& section : file.SectionNames()) {
    for (const std::string& key : file.KeyNames(section)) {
      const auto value = file.Find(section, key);
      if (!value)
        __builtin_trap();  // a listed key must read
      values[{zelvora::AsciiLower(section), zelvora::AsciiLower(key)}] = std::string(*value);
    }
  }
  return values;
}

void Require(bool condition) {
  if (!condition)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ProfileFile file = ProfileFile::Parse(bytes);
  Snapshot before = Everything(file);

  // The section and key to write come from the input too, when it offers writable ones.
  std::string section = "Fuzz";
  std::string key = "Key";
  if (!before.empty()) {
    const auto& [firstSection, firstKey] = before.begin()->first;
    if (ProfileFile::IsWritableSection(firstSection))
      section = firstSection;
    if (ProfileFile::IsWritableKey(firstKey))
      key = firstKey;
  }
  const std::string value = ProfileFile::FlattenLineBreaks(bytes.substr(0, 64));
  file.Set(section, key, value);

  const std::string written = file.Serialize();
  const ProfileFile reread = ProfileFile::Parse(written);
  Require(reread.Serialize() == written);
  const auto found = reread.Find(section, key);
  Require(found.has_value() && *found == *file.Find(section, key));

  Snapshot after = Everything(reread);
  const std::pair<std::string, std::string> changed{zelvora::AsciiLower(section),
                                                    zelvora::AsciiLower(key)};
  before.erase(changed);
  after.erase(changed);
  Require(before == after);
  return 0;
}
