#pragma once

// Making Zelvora the browser other programs open pages and links with, and withdrawing again:
// the verb and command keys of the four page classes and the ".htm"/".html" open-with lists in
// the registry store (what other programs and the next start read), and the desktop's own
// registration (DesktopDefaults.h). The "Default Browser" option runs one or the other every
// time the configuration is confirmed or applied.

#include <string>
#include <string_view>

#include "core/input/DesktopDefaults.h"
#include "core/shell/RegistryFunc.h"

namespace zelvora {

// How the running program names itself in the registration.
struct TProgramIdentity {
  // The executable's full path; the command run for a page is this path + " /URL=%1".
  std::string programPath;
  // The executable's file name without folder and extension: the verb's name.
  std::string verbName;
  // The executable's file name: the entry of the open-with lists.
  std::string openWithEntry;
};

TProgramIdentity IdentityOf(std::string_view executablePath);

// For each page class that has no command key under Zelvora's verb yet: the command and the
// class's default verb. An existing registration is left as it is, so a default verb another
// program took since is not taken back. Each open-with list that exists and does not name the
// program yet gets it under the first free letter "a".."z". Nothing is written when everything
// is in place already.
void RegisterInRegistry(TRegistry& registry, const TProgramIdentity& program);

// Deletes Zelvora's verb of each class, gives a class whose default verb names it its own verb
// back, and takes the program off the open-with lists.
void UnregisterFromRegistry(TRegistry& registry, const TProgramIdentity& program);

struct TDefaultBrowserResult {
  bool ok = true;
  // What the desktop registration could not do, for the user; empty when it all went through.
  std::string error;
};

// Registers when `on`, else unregisters: the registry store and the desktop. Registry steps that
// fail are skipped one by one; a desktop file that cannot be written is reported.
TDefaultBrowserResult ApplyDefaultBrowser(bool on, TRegistry& registry,
                                          std::string_view executablePath,
                                          const TDesktopFolders& desktop);

}  // namespace zelvora
