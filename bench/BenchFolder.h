#pragma once

// A temporary folder of its own for a benchmark's files, removed with everything in it when the
// object goes.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace zelvora::bench {

class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zelvora-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
      folder_ = pattern;
  }
  ~BenchFolder() {
    if (!folder_.empty())
      std::filesystem::remove_all(folder_);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  // False when no folder could be made.
  bool Made() const { return !folder_.empty(); }
  std::string File(std::string_view name) const { return (folder_ / name).string(); }

 private:
  std::filesystem::path folder_;
};

}  // namespace zelvora::bench
