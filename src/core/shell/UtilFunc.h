#pragma once

// The private-profile (ini) file layer: reads and writes settings files with the semantics the
// program has always relied on (see ProfileFile.h for the syntax), on UTF-8 files.
//
// Every operation takes the file path, a section and a key; with an empty path, section or key
// it does nothing and returns the default (writes report failure). A missing file reads as
// empty. Each path is parsed once and cached for the whole process (thread-safe); the cached
// copy is re-read when the file changes on disk, checked at most every kProfileRecheckInterval,
// so two running programs sharing a file cooperate with the last writer winning. Every write
// replaces the file atomically, CR LF line ends, no byte-order mark.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

// Reading all settings at start-up does ~130 lookups in a row; a stat() for each would cost
// several times the parse itself, so the file is looked at again only after this long. Writes
// always look first.
inline constexpr std::chrono::milliseconds kProfileRecheckInterval{100};

// The read buffer the settings code has always used: 260 characters including the terminator.
inline constexpr std::size_t kProfileStringMax = 259;
// Section and key lists were read into 16384-character buffers holding the names, each followed
// by a NUL, plus a final NUL: the lists stop before the first name that would not fit.
inline constexpr std::size_t kProfileNameListMax = 16384;
// The names that fit into such a buffer: the list cut before the first name that would not.
std::vector<std::string> CapProfileNameList(std::vector<std::string> names);

// Optional blanks, an optional sign and the leading decimal digits; no leading number gives 0.
// An empty or absent value gives `defaultValue`. Numbers beyond the int range saturate at
// INT_MIN / INT_MAX rather than wrapping into some unrelated setting value.
int ReadProfileInt(std::string_view path, std::string_view section, std::string_view key,
                   int defaultValue);
int ParseProfileInt(std::string_view value, int defaultValue);
// The integer, or nothing when the value is absent or empty (for defaults computed later).
std::optional<int> ReadProfileOptionalInt(std::string_view path, std::string_view section,
                                          std::string_view key);

// The value cut to kProfileStringMax bytes at a character boundary; an empty result gives
// `defaultValue` (cut the same way).
std::string ReadProfileString(std::string_view path, std::string_view section, std::string_view key,
                              std::string_view defaultValue);

// As ReadProfileString, with the caption escapes decoded (theme captions).
std::string ReadProfileText(std::string_view path, std::string_view section, std::string_view key,
                            std::string_view defaultValue);
// "\s" becomes a blank and "\t" a tab, and with `lineBreaks` "\n" becomes CR LF (the theme's
// messages); any other backslash stays as it is.
std::string DecodeCaptionEscapes(std::string_view text, bool lineBreaks = false);

// A value's line breaks are written as blanks. Keys containing "=" or a line break or starting
// with "[" or ";", and section names containing "]" or a line break, are refused: the call
// fails and nothing changes.
bool WriteProfileString(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view value);
bool WriteProfileInt(std::string_view path, std::string_view section, std::string_view key,
                     int value);

// Removes every line of the key in the section that reads count (true also when it was absent).
bool DeleteProfileKey(std::string_view path, std::string_view section, std::string_view key);
// Removes every section of that name with all its lines.
bool DeleteProfileSection(std::string_view path, std::string_view section);

std::vector<std::string> ProfileSectionNames(std::string_view path);
std::vector<std::string> ProfileKeyNames(std::string_view path, std::string_view section);

// Writes what an open ProfileUpdate holds for the path, and makes the next read look at the disk.
bool FlushProfile(std::string_view path);

// Collects every write to `path` made while it lives (from any thread) and writes the file once,
// when the outermost scope for that path ends: saving the settings touches ~130 keys. Scopes
// nest. Individual writes inside report only whether they were accepted.
class ProfileUpdate {
 public:
  explicit ProfileUpdate(std::string_view path);
  ~ProfileUpdate();
  ProfileUpdate(const ProfileUpdate&) = delete;
  ProfileUpdate& operator=(const ProfileUpdate&) = delete;

  // Ends the scope now; for the outermost one, writes the file and returns whether that worked.
  // After a failure the cache is re-read from the disk, so it never shows unsaved values.
  bool Commit();
  bool Failed() const { return failed_; }
  const std::string& ErrorText() const { return error_; }

 private:
  std::string path_;
  bool open_ = true;
  bool failed_ = false;
  std::string error_;
};

}  // namespace zelvora
