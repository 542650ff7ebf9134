#pragma once

// A finished download's file put in place. The engine writes into "<name>.part" beside the final
// name, so nothing partial ever stands under the name the user chose; only a whole file is moved
// there, in one rename.

#include <string>
#include <string_view>

namespace zelvora {

inline constexpr std::string_view kPartSuffix = ".part";

struct DownloadPlacement {
  bool ok = false;
  std::string name;   // the name the file got in the folder
  std::string error;  // why it could not be moved; the data then stays in the part file
};

// Moves `<folder>/<partName>` to `<folder>/<name>`. With `replace` (the user agreed to replace
// the file), a file of that name is replaced. Without, an existing file is never replaced, not
// even one that appears at the last moment: the file takes the first free name instead.
DownloadPlacement PlaceDownload(const std::string& folder, const std::string& partName,
                                const std::string& name, bool replace);

}  // namespace zelvora
