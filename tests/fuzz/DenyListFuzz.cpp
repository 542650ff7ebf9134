// A deny list and a URL from arbitrary bytes: compiling and checking never crash, codes stay in
// their range, and only a redirect touches the URL.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/tools/DenyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first NUL (if any) separates the list from the URL.
  const std::size_t split = input.find('\0');
  const std::string_view list = input.substr(0, split);
  const std::string_view url =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  const std::vector<zelvora::DenyEntry> entries = zelvora::CompileDenyList(list);
  for (const zelvora::DenyEntry& entry : entries) {
    Check(entry.code >= -1 && entry.code <= 9);
    Check(!entry.pattern.empty());
    Check(!entry.compiled || entry.compiled->IsValid());
  }

  std::string checked(url);
  const int code = zelvora::CheckDenyList(entries, checked);
  Check(code >= 0 && code <= 9);
  if (code == zelvora::kDenyRedirect) {
    bool fromEntry = false;
    for (const zelvora::DenyEntry& entry : entries)
      fromEntry = fromEntry || (entry.code == 4 && entry.replacement == checked);
    Check(fromEntry);
  } else {
    Check(checked == url);
  }
  return 0;
}
