#include "core/browser/UrlUtil.h"

#include <algorithm>

#include "core/browser/UrlCracker.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// URLs this long or longer have no host for the history and tree code: the host buffer always
// had this size, NUL included.
constexpr std::size_t kHostBufferSize = 2055;

bool IsPosixAbsolute(std::string_view text) {
  return text.starts_with('/') && !text.starts_with("//");
}

bool IsFileScheme(std::string_view scheme) {
  return EqualsIgnoreCase(scheme, "file");
}

// The text to crack: a local path becomes the file URL it names, kept in `fileUrl`.
std::string_view AsUrl(std::string_view text, std::string& fileUrl) {
  if (DriveLength(text) > 0) {
    fileUrl = "file:///";
  } else if (IsPosixAbsolute(text)) {
    fileUrl = "file://";
  } else {
    return text;
  }
  fileUrl += text;
  return fileUrl;
}

bool CrackPlain(std::string_view url, std::string& fileUrl, UrlPartViews& parts) {
  return !url.empty() && CrackUrlViews(AsUrl(url, fileUrl), UrlPartLimits{}, parts);
}

// Appends `path` with its drive upper-cased and every "\" turned into "/". The whole drive is
// upper-cased: for "c:" that is the letter, for "\\server\share" the server and share. (The old
// code dropped the drive's last character before upper-casing, which only suited "c:".)
void AppendComparablePath(std::string_view path, std::string& out) {
  const std::size_t driveLength = DriveLength(path);
  const std::size_t start = out.size();
  out += AsciiUpper(path.substr(0, driveLength));
  out += path.substr(driveLength);
  std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '\\', '/');
}

}  // namespace

bool IsLocalPath(std::string_view text) {
  return DriveLength(text) > 0 || IsPosixAbsolute(text);
}

std::string HostOfUrl(std::string_view url) {
  if (url.size() >= kHostBufferSize)
    return {};
  const UrlPartLimits hostOnly{.scheme = kUrlPartNotWanted,
                               .host = kHostBufferSize - 1,
                               .urlPath = kUrlPartNotWanted,
                               .extraInfo = kUrlPartNotWanted};
  std::string fileUrl;
  UrlParts parts;
  if (!CrackUrl(AsUrl(url, fileUrl), kIcuDecode, hostOnly, parts))
    return {};
  return std::move(parts.host);
}

SplitUrlParts SplitUrl(std::string_view url) {
  SplitUrlParts result;
  std::string fileUrl;
  UrlPartViews parts;
  if (!CrackPlain(url, fileUrl, parts))
    return result;
  result.scheme = parts.scheme;
  result.host = parts.host;
  result.extra = parts.extraInfo;
  AppendComparablePath(parts.urlPath, result.directory);
  const std::size_t slash = result.directory.rfind('/');
  if (slash != std::string::npos) {
    result.fileName = result.directory.substr(slash + 1);
    result.directory.resize(slash);
  }
  return result;
}

std::string NormalizeUrl(std::string_view url) {
  std::string fileUrl;
  UrlPartViews parts;
  if (!CrackPlain(url, fileUrl, parts))
    return {};
  std::string result;
  result.reserve(parts.scheme.size() + 4 + parts.host.size() + parts.urlPath.size());
  result += parts.scheme;
  result += "://";
  // POSIX file URLs already bring their "/", so "file:///home/a.htm" stays as it is.
  const bool pathBringsSlash = parts.host.empty() && parts.urlPath.starts_with('/');
  if (IsFileScheme(parts.scheme) && !pathBringsSlash)
    result += '/';
  result += parts.host;
  AppendComparablePath(parts.urlPath, result);
  return result;
}

std::string LocalPathOfUrl(std::string_view url) {
  std::string fileUrl;
  UrlPartViews parts;
  if (!CrackPlain(url, fileUrl, parts))
    return {};
  const bool posixFile =
      IsFileScheme(parts.scheme) && parts.host.empty() && IsPosixAbsolute(parts.urlPath);
  if (DriveLength(parts.urlPath) == 0 && !posixFile)
    return {};
  return std::string(parts.urlPath);
}

std::string NameFromUrl(std::string_view url) {
  const std::size_t separator = url.find_last_of("/\\");
  if (separator == std::string_view::npos)
    return std::string(url);
  return std::string(url.substr(separator + 1));
}

bool IsHistoryUrl(std::string_view url) {
  const std::size_t colon = url.find(':');
  if (colon == std::string_view::npos)
    return false;
  const std::string_view scheme = url.substr(0, colon);
  for (const std::string_view recorded : {"http", "https", "ftp", "file"}) {
    if (EqualsIgnoreCase(scheme, recorded))
      return true;
  }
  return false;
}

}  // namespace zelvora
