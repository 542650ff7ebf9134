#pragma once

// Our own URL cracker, standing in for the platform call the page code was written against
// (InternetCrackUrlA). It splits "scheme:[//[user[:password]@]host[:port]]path[?query][#fragment]"
// into scheme, host, URL path and extra information (query and fragment together, starting with
// "?" or "#"), with the same failures the callers rely on: no valid scheme, or a part longer than
// the caller's limit (the platform call fails on a buffer that is too small).
//
// Local files come back drive-first: "file:///C:/dir/a.htm" gives the URL path "C:/dir/a.htm"
// and "file:///\\server\share\a.htm" gives "\\server\share\a.htm", so callers can see the drive.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvora {

// Flag for CrackUrl: percent-decode the returned parts (the platform's ICU_DECODE).
inline constexpr std::uint32_t kIcuDecode = 0x10000000;

// A limit of this value means the caller does not ask for the part: it is left empty and has no
// limit, as a zero buffer length does for the platform call.
inline constexpr std::size_t kUrlPartNotWanted = 0;

// Longest accepted part, in bytes (the buffer sizes the program always used, less the NUL).
struct UrlPartLimits {
  std::size_t scheme = 32;
  std::size_t host = 256;
  std::size_t urlPath = 2048;
  std::size_t extraInfo = 2048;
};

struct UrlParts {
  std::string scheme;
  std::string host;
  std::string urlPath;
  std::string extraInfo;
};

// The parts as views into the cracked URL, for callers that never decode and want no copies.
struct UrlPartViews {
  std::string_view scheme;
  std::string_view host;
  std::string_view urlPath;
  std::string_view extraInfo;
};

// Cracks `url` into `parts`; `flags` is 0 or kIcuDecode. Each part is checked against its limit
// as it would be returned (decoded when asked) and then cut at its first NUL. Returns false, with
// all parts empty, when the URL has no valid scheme or a wanted part exceeds its limit.
bool CrackUrl(std::string_view url, std::uint32_t flags, const UrlPartLimits& limits,
              UrlParts& parts);

// CrackUrl without decoding; the views stay valid as long as the text of `url` does.
bool CrackUrlViews(std::string_view url, const UrlPartLimits& limits, UrlPartViews& parts);

// Length of the drive that `path` starts with: 2 for a drive letter and colon ("c:"), the length
// of "\\server\share" for a UNC drive (backslashes, non-empty server and share), else 0.
std::size_t DriveLength(std::string_view path);

}  // namespace zelvora
