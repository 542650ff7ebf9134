#pragma once

// The registry store: what the program keeps in the platform's registry on the desktops it was
// first written for (the start page, the default-browser keys) lives here in one file of the
// per-user folder. Keys form a tree under the root keys; each key holds string values by name,
// the empty name being the key's default value. Key paths use "\" between their parts; names of
// keys and values compare without regard to ASCII case and keep the case they were made with.
//
// The file is text, UTF-8, CR LF, written atomically: a line "[ROOT\path\to\key]" starts a key,
// then one line per value, "name"="value" or @="value" for the default value, with "\" and '"'
// escaped by a backslash and line breaks written as \r and \n. Lines that do not parse are
// skipped.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

inline constexpr std::string_view kHkeyCurrentUser = "HKEY_CURRENT_USER";
inline constexpr std::string_view kHkeyLocalMachine = "HKEY_LOCAL_MACHINE";
inline constexpr std::string_view kHkeyClassesRoot = "HKEY_CLASSES_ROOT";

class TRegistry {
 public:
  // Reads the store; a missing or unreadable file gives an empty one.
  explicit TRegistry(std::string path);

  // Every change is written at once; false (and an unchanged file) when writing failed.
  std::optional<std::string> ReadString(std::string_view root, std::string_view key,
                                        std::string_view name) const;
  bool WriteString(std::string_view root, std::string_view key, std::string_view name,
                   std::string_view value);
  bool KeyExists(std::string_view root, std::string_view key) const;
  // The value names of a key in the order they were made ("" for the default value).
  std::vector<std::string> ValueNames(std::string_view root, std::string_view key) const;
  // The direct sub-keys' names.
  std::vector<std::string> SubKeyNames(std::string_view root, std::string_view key) const;
  bool DeleteValue(std::string_view root, std::string_view key, std::string_view name);
  // Deletes the key with everything under it.
  bool DeleteKey(std::string_view root, std::string_view key);

 private:
  struct Value {
    std::string name;
    std::string data;
  };
  struct Key {
    std::string path;  // root and key joined by "\"
    std::vector<Value> values;
  };
  bool Save();

  std::string path_;
  std::vector<Key> keys_;
};

// The start page the program was given ("Start Page" of the Internet Explorer "Main" key of the
// current user), or empty.
std::string ReadStartPage(const TRegistry& registry);

}  // namespace zelvora
