#include "core/browser/UrlCracker.h"

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Position of the first '?' or '#' (and, for the authority, '/' or '\'), or the text's size.
// A plain loop: this runs for every URL the history and tree code compare.
std::size_t FindPartEnd(std::string_view text, bool slashesEnd) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '?' || c == '#' || (slashesEnd && (c == '/' || c == '\\')))
      return i;
  }
  return text.size();
}

// The host of an authority: user info (up to the last '@') and port dropped. A bracketed host
// ("[::1]:80") keeps its colons; its "]" must come before any NUL, which ends the returned host.
std::string_view HostOfAuthority(std::string_view authority) {
  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  if (authority.starts_with('[')) {
    const std::size_t close = authority.find(']');
    if (close < authority.find('\0'))
      return authority.substr(0, close + 1);
  }
  return authority.substr(0, authority.find(':'));
}

// The parts as written, before drive-first form, limits, decoding and NUL cuts.
bool SplitRaw(std::string_view url, UrlPartViews& raw) {
  // One letter before the colon is a drive ("c:\x"), not a scheme.
  std::size_t colon = 0;
  while (colon < url.size() && IsSchemeChar(url[colon]))
    ++colon;
  if (colon < 2 || colon == url.size() || url[colon] != ':' || !IsAsciiLetter(url[0])) {
    return false;
  }
  raw.scheme = url.substr(0, colon);
  std::string_view rest = url.substr(colon + 1);
  raw.host = {};
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t authorityEnd = FindPartEnd(rest, true);
    raw.host = HostOfAuthority(rest.substr(0, authorityEnd));
    rest.remove_prefix(authorityEnd);
  }
  const std::size_t pathEnd = FindPartEnd(rest, false);
  raw.urlPath = rest.substr(0, pathEnd);
  raw.extraInfo = rest.substr(pathEnd);
  return true;
}

// "file:///C:/x" and "file:///\\server\share" name local files; callers look for the drive at
// the start of the path, so the "/" in front of it goes.
std::string_view DriveFirst(std::string_view scheme, std::string_view path) {
  if (path.size() > 1 && path.front() == '/' && EqualsIgnoreCase(scheme, "file") &&
      DriveLength(path.substr(1)) > 0) {
    path.remove_prefix(1);
  }
  return path;
}

std::string_view CutAtNul(std::string_view part) {
  return part.substr(0, part.find('\0'));
}

// Checks a part against its limit and cuts it; false when it does not fit.
bool FitView(std::string_view& part, std::size_t limit) {
  if (limit == kUrlPartNotWanted) {
    part = {};
    return true;
  }
  if (part.size() > limit)
    return false;
  part = CutAtNul(part);
  return true;
}

std::string PercentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && AsciiHexValue(text[i + 1]) >= 0 &&
        AsciiHexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(AsciiHexValue(text[i + 1]) * 16 + AsciiHexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

}  // namespace

std::size_t DriveLength(std::string_view path) {
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':')
    return 2;
  if (!path.starts_with("\\\\"))
    return 0;
  // Server and share end at a separator; a NUL ends them too, as it ends the returned path.
  const auto componentEnd = [path](std::size_t from) {
    while (from < path.size() && path[from] != '\\' && path[from] != '/' && path[from] != '\0') {
      ++from;
    }
    return from;
  };
  const std::size_t serverEnd = componentEnd(2);
  if (serverEnd == 2 || serverEnd == path.size() || path[serverEnd] != '\\')
    return 0;
  const std::size_t shareEnd = componentEnd(serverEnd + 1);
  return shareEnd == serverEnd + 1 ? 0 : shareEnd;
}

bool CrackUrlViews(std::string_view url, const UrlPartLimits& limits, UrlPartViews& parts) {
  UrlPartViews raw;
  if (SplitRaw(url, raw)) {
    raw.urlPath = DriveFirst(raw.scheme, raw.urlPath);
    if (FitView(raw.scheme, limits.scheme) && FitView(raw.host, limits.host) &&
        FitView(raw.urlPath, limits.urlPath) && FitView(raw.extraInfo, limits.extraInfo)) {
      parts = raw;
      return true;
    }
  }
  parts = {};
  return false;
}

bool CrackUrl(std::string_view url, std::uint32_t flags, const UrlPartLimits& limits,
              UrlParts& parts) {
  parts = {};
  if ((flags & kIcuDecode) == 0) {
    UrlPartViews views;
    if (!CrackUrlViews(url, limits, views))
      return false;
    parts.scheme = views.scheme;
    parts.host = views.host;
    parts.urlPath = views.urlPath;
    parts.extraInfo = views.extraInfo;
    return true;
  }

  UrlPartViews raw;
  if (!SplitRaw(url, raw))
    return false;
  // Decoding comes first, so an encoded drive ("file:///C%3A/x") is still seen as one.
  const auto fit = [&raw](std::string_view rawPart, std::size_t limit, std::string& out,
                          bool driveFirst) {
    if (limit == kUrlPartNotWanted)
      return true;
    out = PercentDecode(rawPart);
    if (driveFirst && DriveFirst(raw.scheme, out).size() < out.size())
      out.erase(0, 1);
    if (out.size() > limit)
      return false;
    out.resize(CutAtNul(out).size());
    return true;
  };
  if (fit(raw.scheme, limits.scheme, parts.scheme, false) &&
      fit(raw.host, limits.host, parts.host, false) &&
      fit(raw.urlPath, limits.urlPath, parts.urlPath, true) &&
      fit(raw.extraInfo, limits.extraInfo, parts.extraInfo, false)) {
    return true;
  }
  parts = {};
  return false;
}

}  // namespace zelvora
