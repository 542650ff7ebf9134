#pragma once

// The script file behind the Script menu: an ini file whose section "." holds the default
// "Language" and the user's variables, and whose every other section is one menu entry, its
// keys "0", "1", ... the script's lines. A section name places its entry: "-" a separator, ".name"
// a sub-menu, "..name" and "..-" an item and a separator in the most recent sub-menu, any other
// name an item of the menu itself. A line "Include: path" stands for the content of that file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/MenuModel.h"
#include "core/shell/ProfileFile.h"
#include "core/shell/SafeFile.h"

namespace zelvora {

// The entries get the ids from 4775 on, separators and sub-menu headers included; sections past
// the 400th entry are left out.
inline constexpr std::uint16_t kScriptEntryFirstId = kScriptEntryIds.firstId;
inline constexpr int kScriptEntryMax = 400;
// Captions are cut to this many characters.
inline constexpr std::size_t kScriptCaptionMax = 40;
// A script is read from keys "0" to "100".
inline constexpr int kScriptLineKeyMax = 100;
// Variables in an include path are expanded at most this often; a path that grows past the
// length limit stops the expansion where it is (a variable holding itself twice would double it
// every round).
inline constexpr int kScriptExpansionRounds = 40;
inline constexpr std::size_t kScriptIncludePathMax = 4096;
// An included file may include further files, this many files deep; a file already being
// included further up contributes nothing, and one script reads at most kScriptIncludeMax files.
inline constexpr int kScriptIncludeDepthMax = 8;
inline constexpr int kScriptIncludeMax = 1000;

inline constexpr std::string_view kScriptSettingsSection = ".";
inline constexpr std::string_view kScriptLanguageKey = "Language";
inline constexpr std::string_view kDefaultScriptLanguage = "JavaScript";
inline constexpr std::string_view kShortCutLanguage = "ShortCut";
// What "New" writes into a script file that does not exist yet.
inline constexpr std::string_view kNewScriptContent = "[.]\r\nLanguage=JavaScript\r\n\r\n";

enum class ScriptEntryKind : std::uint8_t { kItem, kSeparator, kSubmenu };

struct ScriptMenuEntry {
  ScriptEntryKind kind = ScriptEntryKind::kItem;
  std::uint16_t id = 0;
  // Sits in the most recent sub-menu rather than in the menu itself.
  bool inSubmenu = false;
  std::string caption;
  // Items only: the section whose script the item runs.
  std::string section;
};

// The menu entries of the section names, in order ("." and empty names are not entries; ".."
// names before the first sub-menu are ignored).
std::vector<ScriptMenuEntry> ScriptMenuEntries(const std::vector<std::string>& sectionNames);

// How a script runs: JavaScript (also "JScript") in the page, "ShortCut" as a command line of
// the program, any other language not at all: the pages run only JavaScript.
enum class ScriptLanguage : std::uint8_t { kJavaScript, kShortCut, kOther };
ScriptLanguage ClassifyScriptLanguage(std::string_view language);

// The folders the include paths may name, each without its trailing slash.
struct ScriptFolders {
  std::string program;  // $ZelvoraDir$
  std::string user;     // $UserDir$
};

struct Script {
  std::string language;
  std::string code;  // every line followed by CR LF
};

class TScriptFile {
 public:
  // A missing or unreadable file reads as one without sections.
  static TScriptFile Read(const std::string& path);

  bool Exists() const { return exists_; }
  // The menu entries of the file's sections, as far as the section-name buffer holds them.
  std::vector<ScriptMenuEntry> MenuEntries() const;
  // The language and the code of a section: its "Language", else that of section ".", else
  // "JavaScript"; its lines "0", "1", ... up to the first missing or empty one, with includes.
  Script ScriptOf(std::string_view section, const ScriptFolders& folders) const;
  // An include path with its variables expanded: the user's variables of section ".", and
  // $ZelvoraDir$, $UserDir$ and $SelfDir$ (any case) as the program folder, the per-user folder
  // and the script file's folder, each with a trailing slash.
  std::string ExpandIncludePath(std::string_view path, const ScriptFolders& folders) const;

 private:
  void AppendLine(std::string_view line, const ScriptFolders& folders, int depth,
                  std::vector<std::string>& chain, int& includes, std::string& code) const;

  std::string path_;
  bool exists_ = false;
  ProfileFile profile_;
};

// Creates the file with the content of a new script file unless it exists already.
FileWriteResult CreateScriptFile(const std::string& path);

}  // namespace zelvora
