#include "core/input/ThemeMerge.h"

#include <filesystem>
#include <system_error>

#include "core/shell/UtilFunc.h"

namespace zelvora {

namespace {

bool IsExistingFile(std::string_view path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

}  // namespace

ThemeMergeResult MergeTheme(std::string_view themeFile, std::string_view defaultThemeFile) {
  ThemeMergeResult result;
  for (const std::string_view file : {themeFile, defaultThemeFile}) {
    if (!IsExistingFile(file)) {
      result.errorText = "no such file: " + std::string(file);
      return result;
    }
  }
  ProfileUpdate update(themeFile);
  for (std::string_view section : kThemeMergeSections) {
    for (const std::string& key : ProfileKeyNames(defaultThemeFile, section)) {
      const std::string value = ReadProfileString(defaultThemeFile, section, key, "");
      if (value.empty() || !ReadProfileString(themeFile, section, key, "").empty())
        continue;
      if (WriteProfileString(themeFile, section, key, value))
        ++result.copiedKeys;
    }
  }
  result.done = update.Commit();
  if (!result.done) {
    result.errorText = update.ErrorText();
    result.copiedKeys = 0;
  }
  return result;
}

}  // namespace zelvora
