#include "core/input/DefaultBrowser.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr std::string_view kFileExtsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
constexpr std::string_view kOpenWithList = "OpenWithList";
constexpr std::string_view kShell = "shell";
constexpr std::string_view kCommand = "command";
constexpr std::string_view kCommandArgument = " /URL=%1";
constexpr std::string_view kMruList = "MRULIST";

struct PageClass {
  std::string_view name;
  // The verb the class gets back when Zelvora's is withdrawn.
  std::string_view ownVerb;
};

constexpr std::array<PageClass, 4> kPageClasses = {
    {{"htmlfile\\", "opennew"}, {"http\\", "open"}, {"https\\", "open"}, {"mhtmlfile\\", "open"}}};
constexpr std::array<std::string_view, 2> kPageExtensions = {".htm\\", ".html\\"};

std::string ShellKey(const PageClass& pageClass) {
  return std::string(pageClass.name) + std::string(kShell);
}

std::string VerbKey(const PageClass& pageClass, const TProgramIdentity& program) {
  return ShellKey(pageClass) + "\\" + program.verbName;
}

std::string CommandKey(const PageClass& pageClass, const TProgramIdentity& program) {
  return VerbKey(pageClass, program) + "\\" + std::string(kCommand);
}

std::string OpenWithKey(std::string_view extension) {
  return std::string(kFileExtsKey) + std::string(extension) + std::string(kOpenWithList);
}

// The open-with list's value names without the most-recently-used list.
std::vector<std::string> OpenWithNames(const TRegistry& registry, const std::string& key) {
  std::vector<std::string> names = registry.ValueNames(kHkeyCurrentUser, key);
  std::erase_if(names, [](const std::string& name) { return EqualsIgnoreCase(name, kMruList); });
  return names;
}

// The first value of the list that names the program.
std::optional<std::string> ProgramEntry(const TRegistry& registry, const std::string& key,
                                        const TProgramIdentity& program) {
  for (const std::string& name : OpenWithNames(registry, key)) {
    const std::optional<std::string> data = registry.ReadString(kHkeyCurrentUser, key, name);
    if (data && EqualsIgnoreCase(*data, program.openWithEntry))
      return name;
  }
  return std::nullopt;
}

}  // namespace

TProgramIdentity IdentityOf(std::string_view executablePath) {
  const std::filesystem::path path(executablePath);
  return {std::string(executablePath), path.stem().string(), path.filename().string()};
}

void RegisterInRegistry(TRegistry& registry, const TProgramIdentity& program) {
  for (const PageClass& pageClass : kPageClasses) {
    const std::string command = CommandKey(pageClass, program);
    if (registry.ReadString(kHkeyClassesRoot, command, ""))
      continue;
    registry.WriteString(kHkeyClassesRoot, command, "",
                         program.programPath + std::string(kCommandArgument));
    registry.WriteString(kHkeyClassesRoot, ShellKey(pageClass), "", program.verbName);
  }
  for (const std::string_view extension : kPageExtensions) {
    const std::string key = OpenWithKey(extension);
    if (!registry.KeyExists(kHkeyCurrentUser, key) || ProgramEntry(registry, key, program))
      continue;
    const std::vector<std::string> names = OpenWithNames(registry, key);
    for (char letter = 'a'; letter <= 'z'; ++letter) {
      const std::string_view name(&letter, 1);
      const bool taken = std::any_of(names.begin(), names.end(), [&](const std::string& known) {
        return EqualsIgnoreCase(known, name);
      });
      if (!taken) {
        registry.WriteString(kHkeyCurrentUser, key, name, program.openWithEntry);
        break;
      }
    }
  }
}

void UnregisterFromRegistry(TRegistry& registry, const TProgramIdentity& program) {
  for (const PageClass& pageClass : kPageClasses) {
    registry.DeleteKey(kHkeyClassesRoot, CommandKey(pageClass, program));
    registry.DeleteKey(kHkeyClassesRoot, VerbKey(pageClass, program));
    const std::optional<std::string> defaultVerb =
        registry.ReadString(kHkeyClassesRoot, ShellKey(pageClass), "");
    if (defaultVerb && EqualsIgnoreCase(*defaultVerb, program.verbName))
      registry.WriteString(kHkeyClassesRoot, ShellKey(pageClass), "", pageClass.ownVerb);
  }
  for (const std::string_view extension : kPageExtensions) {
    const std::string key = OpenWithKey(extension);
    if (const std::optional<std::string> name = ProgramEntry(registry, key, program))
      registry.DeleteValue(kHkeyCurrentUser, key, *name);
  }
}

TDefaultBrowserResult ApplyDefaultBrowser(bool on, TRegistry& registry,
                                          std::string_view executablePath,
                                          const TDesktopFolders& desktop) {
  const TProgramIdentity program = IdentityOf(executablePath);
  std::optional<std::string> error;
  if (on) {
    RegisterInRegistry(registry, program);
    error = RegisterOnDesktop(registry, desktop, executablePath);
  } else {
    UnregisterFromRegistry(registry, program);
    error = UnregisterFromDesktop(registry, desktop);
  }
  if (error)
    return {false, *error};
  return {};
}

}  // namespace zelvora
