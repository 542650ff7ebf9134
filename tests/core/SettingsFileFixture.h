#pragma once

// A fresh folder with a settings file path in it for each test, removed afterwards. Files are
// written behind the profile cache's back, as another program would, and the cache is told.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/shell/UtilFunc.h"

namespace zelvora {

class SettingsFileFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvora-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = (folder_ / "Zelvora.ini").string();
  }
  void TearDown() override {
    FlushProfile(path_);
    std::filesystem::remove_all(folder_);
  }
  void WriteRaw(const std::string& bytes) { WriteRaw("Zelvora.ini", bytes); }
  void WriteRaw(const std::string& name, const std::string& bytes) {
    std::ofstream((folder_ / name).string(), std::ios::binary | std::ios::trunc) << bytes;
    FlushProfile(path_);
  }

  std::filesystem::path folder_;
  std::string path_;
};

}  // namespace zelvora
