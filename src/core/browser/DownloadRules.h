#pragma once

// What a download may be called and whether it is a program. A server or a page suggests the
// name (Content-Disposition, the address); it is cleaned before it comes near the file system,
// and a download never replaces a file the user did not agree to replace.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zelvora {

// The name a download takes when nothing usable is suggested.
inline constexpr std::string_view kDownloadFallbackName = "download";

// Cleaned names stay this many bytes of UTF-8 or shorter: far under the 255 bytes a file name may
// have, so that the ".part" suffix while it downloads, the engine's own suffix for its working
// file and a number of a free name still fit.
inline constexpr std::size_t kDownloadNameMax = 200;

// Only the last path component of `suggested` ("/" and "\" both separate: servers send Windows
// paths too). Control characters inside become "_"; blanks, control characters and dots at
// either end are dropped, so the name is never ".", "..", a hidden file or empty; bytes that are
// not UTF-8 become "_". A name over kDownloadNameMax bytes is cut at a character boundary,
// keeping its extension (up to 32 bytes). An empty result is "download".
std::string CleanDownloadName(std::string_view suggested);

// `name` when `taken` says it is free, else the first free "stem (1).ext", "stem (2).ext", ...
// (a name without an extension counts on its end: "README (1)"), each kept to kDownloadNameMax
// bytes. `taken` gets candidate file names, not paths. Empty when no number up to 9999 is free.
std::string FreeDownloadName(std::string_view name,
                             const std::function<bool(const std::string& name)>& taken);

// Downloads that run as they are opened: Windows programs, installers and scripts, Linux shell
// scripts, self-running images, packages, Java archives and launchers. Compared ignoring case.
inline constexpr std::string_view kProgramExtensions[] = {
    "exe", "msi",      "msp", "bat", "cmd", "com",     "scr", "pif",       "cpl", "ps1",
    "vbs", "vbe",      "wsf", "hta", "sh",  "bash",    "csh", "ksh",       "zsh", "run",
    "bin", "appimage", "deb", "rpm", "jar", "desktop", "apk", "flatpakref"};
// The same kinds by mime type (parameters such as "; charset=" are ignored).
inline constexpr std::string_view kProgramMimeTypes[] = {
    "application/x-msdownload",
    "application/x-msdos-program",
    "application/x-ms-dos-executable",
    "application/vnd.microsoft.portable-executable",
    "application/x-dosexec",
    "application/x-msi",
    "application/x-ms-installer",
    "application/x-bat",
    "application/x-executable",
    "application/x-elf",
    "application/x-sh",
    "application/x-shellscript",
    "text/x-shellscript",
    "application/x-csh",
    "application/vnd.debian.binary-package",
    "application/x-debian-package",
    "application/x-rpm",
    "application/x-redhat-package-manager",
    "application/java-archive",
    "application/vnd.appimage",
    "application/vnd.android.package-archive",
    "application/x-desktop",
};

// Whether a download of that (cleaned) name and mime type is a program.
bool IsProgramDownload(std::string_view name, std::string_view mimeType);

}  // namespace zelvora
