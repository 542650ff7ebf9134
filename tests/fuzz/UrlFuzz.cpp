// Every URL helper on arbitrary bytes, checking what holds for any input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/browser/UrlCracker.h"
#include "core/browser/UrlUtil.h"
#include "core/text/Utf8.h"

namespace {

bool Contains(std::string_view text, char c) {
  return text.find(c) != std::string_view::npos;
}

void CheckCracker(std::string_view input) {
  const zelvora::UrlPartLimits limits;
  zelvora::UrlParts plain;
  zelvora::UrlParts decoded;
  zelvora::UrlPartViews views;
  const bool crackedPlain = zelvora::CrackUrl(input, 0, limits, plain);
  const bool crackedViews = zelvora::CrackUrlViews(input, limits, views);
  Check(crackedPlain == crackedViews);
  Check(plain.scheme == views.scheme && plain.host == views.host &&
        plain.urlPath == views.urlPath && plain.extraInfo == views.extraInfo);
  if (crackedPlain) {
    Check(plain.scheme.size() <= limits.scheme && plain.host.size() <= limits.host &&
          plain.urlPath.size() <= limits.urlPath && plain.extraInfo.size() <= limits.extraInfo);
    Check(!Contains(plain.host, '\0') && !Contains(plain.urlPath, '\0'));
    Check(!Contains(plain.urlPath, '?') && !Contains(plain.urlPath, '#'));
    Check(plain.extraInfo.empty() || plain.extraInfo[0] == '?' || plain.extraInfo[0] == '#');
  }
  // Decoding only shortens parts, so it never turns a crackable URL into a failure.
  const bool crackedDecoded = zelvora::CrackUrl(input, zelvora::kIcuDecode, limits, decoded);
  Check(!crackedPlain || (crackedDecoded && decoded.scheme == plain.scheme));
}

void CheckNormalize(std::string_view input) {
  const std::string once = zelvora::NormalizeUrl(input);
  if (once.empty())
    return;
  // The comparable form never carries query, fragment, backslashes or NULs.
  Check(!Contains(once, '?') && !Contains(once, '#') && !Contains(once, '\\') &&
        !Contains(once, '\0'));
  Check(once.find("://") != std::string::npos);
  // A URL with an authority is already in its final form after one pass (a file URL with a
  // host moves the host into the path, which can then exceed its limit); others settle after
  // a second pass, once their path has been read as an authority.
  zelvora::UrlPartViews parts;
  const bool hasAuthority = zelvora::CrackUrlViews(input, {}, parts) &&
                            input.substr(parts.scheme.size()).starts_with("://");
  const std::string twice = zelvora::NormalizeUrl(once);
  if (hasAuthority && !zelvora::EqualsIgnoreCase(parts.scheme, "file"))
    Check(twice == once);
  if (!twice.empty())
    Check(zelvora::NormalizeUrl(twice) == twice);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckCracker(input);
  CheckNormalize(input);

  const std::string host = zelvora::HostOfUrl(input);
  Check(host.size() < 2055 && (input.size() < 2055 || host.empty()));

  const zelvora::SplitUrlParts split = zelvora::SplitUrl(input);
  Check(!Contains(split.fileName, '/') && !Contains(split.directory, '\\'));
  Check(!split.scheme.empty() || (split.host.empty() && split.directory.empty()));

  const std::string local = zelvora::LocalPathOfUrl(input);
  Check(local.empty() || zelvora::IsLocalPath(local));

  const std::string name = zelvora::NameFromUrl(input);
  Check(!Contains(name, '/') && !Contains(name, '\\') && input.ends_with(name));
  return 0;
}
