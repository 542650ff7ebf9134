#pragma once

// The deny-URL list: lines of flags, a pattern and a replacement address that stop, close or
// redirect navigations. The file is "DenyUrlList.txt" in the per-user folder.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Regex.h"

namespace zelvora {

inline constexpr std::string_view kDenyListFileName = "DenyUrlList.txt";

enum DenyAction : int {
  kDenyNone = 0,      // the navigation goes on; no later entry is consulted
  kDenyStop = 1,      // cancel and stop the page
  kDenyClose = 2,     // cancel and close the tab
  kDenyCloseNew = 3,  // cancel and close the tab while it has shown nothing yet
  kDenyRedirect = 4,  // cancel and go to the replacement (stop when it is empty)
};

struct DenyEntry {
  int code = 0;         // the first digit of the flags; -1 when they hold none (never matches)
  std::string pattern;  // as a regular expression
  std::string replacement;
  std::shared_ptr<const Regex> compiled;  // null when the pattern does not compile
};

// The file's text, read under an exclusive lock; empty when it is missing or locked.
std::string ReadDenyList(const std::string& path);
// Writes the text with CR LF line ends when its trimmed form differs (a change of case counts)
// from the file's; returns false when writing failed (the file is then unchanged).
bool SaveDenyList(const std::string& path, std::string_view text);
// The entries in source order; comments (";" after blanks) and lines without a pattern are
// skipped. An entry whose expression does not compile stays in the list but never matches.
std::vector<DenyEntry> CompileDenyList(std::string_view text);
// The action of the first entry whose pattern is found in the normalised URL ("\" as "/", runs
// of "/" as one); for a redirect the URL becomes the replacement. 0 and the URL unchanged when
// nothing matches.
int CheckDenyList(const std::vector<DenyEntry>& entries, std::string& url);

// What a navigation does once the list has been consulted.
enum class DenyStep { kProceed, kStop, kCloseTab, kRedirect };
struct DenyOutcome {
  DenyStep step = DenyStep::kProceed;
  std::string url;  // the replacement of a redirect
  bool operator==(const DenyOutcome&) const = default;
};
// Before a navigation: 1 stops, 2 closes the tab, 3 closes it only while it has shown nothing
// yet, 4 redirects to the replacement (or stops without one); everything else proceeds.
DenyOutcome DenyNavigation(const std::vector<DenyEntry>& entries, std::string_view url,
                           bool tabShowedNothing);
// After a page's top document completed, for the first address the tab showed: 2 closes the
// tab, 4 redirects (or stops without a replacement); everything else proceeds.
DenyOutcome DenyCompletedDocument(const std::vector<DenyEntry>& entries, std::string_view firstUrl);

}  // namespace zelvora
