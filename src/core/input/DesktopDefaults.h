#pragma once

// The desktop's side of being the default browser (freedesktop.org conventions): a desktop entry
// "zelvora.desktop" in the user's applications folder and the user's mimeapps.list naming it the
// default for web pages and links. Only the user's own files are touched, never system-wide ones,
// and both are written directly (atomically) rather than through xdg-mime: the tool can neither
// take a default back out nor restore the one that was there before.
//
// What each type's default was before Zelvora took it is kept in the registry store, so that
// withdrawing restores it, but only where Zelvora's entry is still the default: a program the
// user chose since keeps its place.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/shell/RegistryFunc.h"

namespace zelvora {

inline constexpr std::string_view kDesktopEntryName = "zelvora.desktop";
inline constexpr std::string_view kMimeAppsListName = "mimeapps.list";
inline constexpr std::array<std::string_view, 4> kBrowserMimeTypes = {
    "text/html", "application/xhtml+xml", "x-scheme-handler/http", "x-scheme-handler/https"};

struct TDesktopFolders {
  // Where the desktop entry goes: $XDG_DATA_HOME/applications.
  std::string applicationsFolder;
  // Where mimeapps.list is: $XDG_CONFIG_HOME.
  std::string configFolder;
};

// An unset or relative XDG folder falls back to ~/.local/share and ~/.config.
TDesktopFolders DesktopFoldersFrom(std::string_view xdgDataHome, std::string_view xdgConfigHome,
                                   std::string_view home);

// The desktop entry that opens a link in the running program (or a new one) by "/url=".
std::string DesktopEntryText(std::string_view executablePath);

// mimeapps.list: the raw value of `mimeType` in its "[Default Applications]" group (the last one
// when it is given twice), or nothing.
std::optional<std::string> DefaultApplicationOf(std::string_view list, std::string_view mimeType);

// The list with `mimeType` set to `value` in "[Default Applications]" (the group is added when
// missing), or removed from it without a value. Every other line stays as it was.
std::string WithDefaultApplication(std::string_view list, std::string_view mimeType,
                                   std::optional<std::string_view> value);

// The desktop entry is made or brought up to date; on the first registration each type whose
// default is not Zelvora's becomes Zelvora's and its former default is kept. A registration in
// place already takes no type back from a program chosen since. Returns what went wrong, or
// nothing.
std::optional<std::string> RegisterOnDesktop(TRegistry& registry, const TDesktopFolders& folders,
                                             std::string_view executablePath);

// Gives each type whose default is still Zelvora's its former default back (or none), then
// removes the desktop entry when no type names it any more. Nothing happens when Zelvora did not
// register itself.
std::optional<std::string> UnregisterFromDesktop(TRegistry& registry,
                                                 const TDesktopFolders& folders);

}  // namespace zelvora
