#include "core/shell/SettingsFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/shell/SafeFile.h"
#include "core/shell/SettingsTable.h"
#include "core/shell/UtilFunc.h"

namespace zelvora {

namespace {

const PermissionString* PermissionStartingAt(std::size_t flag) {
  for (const PermissionString& permission : kPermissionStrings) {
    if (static_cast<std::size_t>(permission.firstFlag) == flag)
      return &permission;
  }
  return nullptr;
}

std::string PermissionText(const TSettings& record, const PermissionString& permission) {
  std::string text;
  for (int i = 0; i < permission.length; ++i)
    text += record.Flag(permission.firstFlag + i) ? '1' : '0';
  return text;
}

// The single list of what SaveSettings writes, so that the key list handed to tests and to the
// configuration code can never drift from the file. `visit(section, key, value)`.
template <typename Visit>
void ForEachSavedValue(const TSettings& record, Visit&& visit) {
  for (std::size_t i = 0; i < kFlagKeys.size(); ++i) {
    if (const PermissionString* permission = PermissionStartingAt(i))
      visit(kConfigSection, permission->key, PermissionText(record, *permission));
    if (!kFlagKeys[i].key.empty())
      visit(kConfigSection, kFlagKeys[i].key, std::string(record.flags[i] != 0 ? "1" : "0"));
  }
  for (std::size_t i = 0; i < kIntegerKeys.size(); ++i) {
    if (!kIntegerKeys[i].key.empty())
      visit(kConfigSection, kIntegerKeys[i].key, std::to_string(record.integers[i]));
  }
  for (std::size_t i = 0; i < kTabActionKeys.size(); ++i) {
    if (!kTabActionKeys[i].key.empty())
      visit(kConfigSection, kTabActionKeys[i].key, std::to_string(record.tabActions[i]));
  }
  // The denied-URL list has no key: it lives in a file of its own.
  for (std::size_t i = 0; i < kStringKeys.size(); ++i) {
    if (!kStringKeys[i].key.empty())
      visit(kConfigSection, kStringKeys[i].key, record.strings[i]);
  }
  visit(kConfigSection, kStartSizeKey, std::to_string(record.startSize));
  visit(kConfigSection, kStartPosKey, std::to_string(record.startPos));
  for (std::size_t i = 0; i < kColourKeys.size(); ++i)
    visit(kConfigSection, kColourKeys[i], ColourToText(record.colours[i]));
  visit(kSelectSection, kSelectActionKey, std::to_string(record.selectAction));
  visit(kSelectSection, kSelectBeforeActionKey, std::to_string(record.selectBeforeAction));
  for (std::size_t i = 0; i < kTabSessionKeys.size(); ++i)
    visit(kWindowSection, kTabSessionKeys[i].key, std::to_string(record.tabSession[i]));
}

// The fixed start size and position fall back to where the window actually came up.
std::int32_t IntegerFallback(std::size_t index, const TSettings& record,
                             const SettingsLoadContext& context) {
  switch (index) {
    case kIntStartWidth:
      return context.windowWidth;
    case kIntStartHeight:
      return context.windowHeight;
    case kIntStartX:
      return context.windowLeft;
    case kIntStartY:
      return context.windowTop;
    default:
      return kIntegerKeys[index].fallback.value_or(record.integers[index]);
  }
}

void ReadConfig(const std::string& file, TSettings& record, const SettingsLoadContext& context) {
  for (std::size_t i = 0; i < kFlagKeys.size(); ++i) {
    const FlagKey& entry = kFlagKeys[i];
    if (entry.key.empty())
      continue;
    const int fallback = entry.fallback.value_or(record.flags[i]);
    record.flags[i] = ReadProfileInt(file, kConfigSection, entry.key, fallback) == 1 ? 1 : 0;
  }
  for (const PermissionString& permission : kPermissionStrings) {
    const std::string text =
        ReadProfileString(file, kConfigSection, permission.key, permission.fallback);
    for (int i = 0; i < permission.length; ++i) {
      const auto position = static_cast<std::size_t>(i);
      record.flags[static_cast<std::size_t>(permission.firstFlag + i)] =
          position < text.size() && text[position] == '1' ? 1 : 0;
    }
  }
  for (std::size_t i = 0; i < kIntegerKeys.size(); ++i) {
    if (!kIntegerKeys[i].key.empty()) {
      record.integers[i] = ReadProfileInt(file, kConfigSection, kIntegerKeys[i].key,
                                          IntegerFallback(i, record, context));
    }
  }
  for (std::size_t i = 0; i < kTabActionKeys.size(); ++i) {
    const IntegerKey& entry = kTabActionKeys[i];
    if (!entry.key.empty()) {
      record.tabActions[i] = ReadProfileInt(file, kConfigSection, entry.key,
                                            entry.fallback.value_or(record.tabActions[i]));
    }
  }
  for (std::size_t i = 0; i < kStringKeys.size(); ++i) {
    if (!kStringKeys[i].key.empty())
      record.strings[i] =
          ReadProfileString(file, kConfigSection, kStringKeys[i].key, record.strings[i]);
  }
  // Before the file was first read the start modes were 0, so an old file without them keeps
  // meaning "none".
  record.startSize =
      std::clamp(ReadProfileInt(file, kConfigSection, kStartSizeKey, 0), 0, kStartModeMax);
  record.startPos =
      std::clamp(ReadProfileInt(file, kConfigSection, kStartPosKey, 0), 0, kStartModeMax);
  // Text that is not a colour keeps the current colour rather than failing the whole load.
  for (std::size_t i = 0; i < kColourKeys.size(); ++i) {
    const Colour current = record.colours[i];
    const Colour fallback = i == kColourLayeredKey ? context.platform.buttonFace : current;
    const std::string text = ReadProfileString(file, kConfigSection, kColourKeys[i], "");
    record.colours[i] = text.empty() ? fallback : ColourFromText(text, current);
  }
  record.selectAction =
      std::clamp(ReadProfileInt(file, kSelectSection, kSelectActionKey, record.selectAction), 0,
                 kSelectActionMax);
  record.selectBeforeAction = std::clamp(
      ReadProfileInt(file, kSelectSection, kSelectBeforeActionKey, record.selectBeforeAction), 0,
      kSelectBeforeActionMax);
  for (std::size_t i = 0; i < kTabSessionKeys.size(); ++i) {
    const std::int32_t value =
        ReadProfileInt(file, kWindowSection, kTabSessionKeys[i].key, record.tabSession[i]);
    record.tabSession[i] = i == kTabDiscardMinutes ? std::max(value, 0) : value == 1 ? 1 : 0;
  }
}

}  // namespace

SettingsLoadResult LoadSettings(const std::string& settingsFile, TSettings& record,
                                const SettingsLoadContext& context) {
  // Every key is read over the base defaults, not over an empty record: a key that an older or
  // hand-edited file lacks then gets its sensible default instead of 0.
  record = BaseDefaultSettings(context.platform);
  SettingsLoadResult result;
  std::error_code error;
  result.fileExisted = std::filesystem::is_regular_file(settingsFile, error);
  if (result.fileExisted)
    ReadConfig(settingsFile, record, context);
  // The denied-URL list is read even without a settings file: the configuration dialog edits
  // and rewrites it from this string, and an empty one would wipe the user's list.
  if (!context.userFolder.empty()) {
    const std::filesystem::path list =
        std::filesystem::path(context.userFolder) / kDenyUrlListFileName;
    if (std::optional<std::string> text = ReadWholeFile(list.string()))
      record.strings[kStringDenyUrlList] = std::move(*text);
  }
  return result;
}

bool SaveSettings(const std::string& settingsFile, const TSettings& record) {
  ProfileUpdate update(settingsFile);
  bool accepted = true;
  ForEachSavedValue(record,
                    [&](std::string_view section, std::string_view key, const std::string& value) {
                      accepted = WriteProfileString(settingsFile, section, key, value) && accepted;
                    });
  return update.Commit() && accepted;
}

std::vector<std::string_view> SavedConfigKeyNames() {
  std::vector<std::string_view> keys;
  ForEachSavedValue(TSettings{},
                    [&](std::string_view section, std::string_view key, const std::string&) {
                      if (section == kConfigSection)
                        keys.push_back(key);
                    });
  return keys;
}

}  // namespace zelvora
