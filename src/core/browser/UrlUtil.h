#pragma once

// URL helpers shared by the page code and the tool panel: the host of a URL, its parts, one
// comparable form for URLs and local paths, the local path behind a file URL, and a display
// name. Each takes a URL or a local path ("c:\dir\a.htm", "\\server\share\a.htm",
// "/home/a.htm"); a local path is made a file URL before it is cracked.

#include <string>
#include <string_view>

namespace zelvora {

// A drive letter with colon, a UNC server and share, or an absolute POSIX path ("/" not
// followed by a second "/").
bool IsLocalPath(std::string_view text);

// The percent-decoded host; "" for URLs of 2055 bytes or more and for URLs that do not crack.
std::string HostOfUrl(std::string_view url);

struct SplitUrlParts {
  std::string scheme;
  std::string host;
  std::string directory;
  std::string fileName;
  std::string extra;
};

// The URL cracked, its path with the drive upper-cased and "/" separators, split at the last "/"
// into directory and file name. All parts are empty when the URL does not crack.
SplitUrlParts SplitUrl(std::string_view url);

// scheme + "://" + host + path, with the drive upper-cased and "/" separators; file URLs get
// "file:///". Query and fragment are left out. "" when the URL does not crack.
std::string NormalizeUrl(std::string_view url);

// The local path a URL names: a path that starts with a drive, or the POSIX path of a file URL
// without host; else "".
std::string LocalPathOfUrl(std::string_view url);

// The text after the last "/" or "\"; the whole text when it has neither.
std::string NameFromUrl(std::string_view url);

// Whether a visit to the address goes into the URL history: http, https, ftp and file addresses
// (the scheme compared ignoring case).
bool IsHistoryUrl(std::string_view url);

}  // namespace zelvora
