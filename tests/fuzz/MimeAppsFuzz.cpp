// Any bytes read as a mimeapps.list: setting a type's default makes it read back and leaves every
// other type's default as it was; removing it again leaves none.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "core/input/DesktopDefaults.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using zelvora::DefaultApplicationOf;
  using zelvora::kBrowserMimeTypes;
  const std::string_view list(reinterpret_cast<const char*>(data), size);
  const std::string_view type = kBrowserMimeTypes[size % kBrowserMimeTypes.size()];

  const std::string set = zelvora::WithDefaultApplication(list, type, "zelvora.desktop;");
  Check(DefaultApplicationOf(set, type) == "zelvora.desktop;");
  const std::string removed = zelvora::WithDefaultApplication(set, type, std::nullopt);
  Check(!DefaultApplicationOf(removed, type).has_value());
  for (const std::string_view other : kBrowserMimeTypes) {
    if (other == type)
      continue;
    const auto before = DefaultApplicationOf(list, other);
    Check(DefaultApplicationOf(set, other) == before);
    Check(DefaultApplicationOf(removed, other) == before);
  }
  return 0;
}
