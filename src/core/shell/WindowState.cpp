#include "core/shell/WindowState.h"

#include <algorithm>
#include <charconv>

#include "core/shell/UtilFunc.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

constexpr std::string_view kToolBarKey = "ToolBar";
constexpr std::string_view kBarSearchKeyWidthKey = "BarSearchKeyWidth";
constexpr std::string_view kHighlightColourKey = "HighlightColor";
constexpr std::string_view kDownloadFolderKey = "DownloadFolder";
constexpr int kBandWidthMax = 999;
constexpr int kBandWidthDigits = 3;
constexpr int kToolbarDefaultButtons = 16;
constexpr int kToolbarPadding = 10;
constexpr int kBarBandDefaultWidth = 20;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool ReadFlag(const std::string& file, std::string_view section, std::string_view key,
              bool defaultValue) {
  return ReadProfileInt(file, section, key, defaultValue ? 1 : 0) == 1;
}

bool WriteFlag(const std::string& file, std::string_view section, std::string_view key,
               bool value) {
  return WriteProfileInt(file, section, key, value ? 1 : 0);
}

// The value and whether the key held one at all.
std::string BandKey(int index) {
  return std::to_string(index);
}

}  // namespace

void WindowState::Load(const std::string& settingsFile, int centredX, int centredY) {
  const auto& file = settingsFile;
  const std::optional<int> storedX = ReadProfileOptionalInt(file, kWindowSection, "x");
  const std::optional<int> storedY = ReadProfileOptionalInt(file, kWindowSection, "y");
  const std::optional<int> storedW = ReadProfileOptionalInt(file, kWindowSection, "w");
  const std::optional<int> storedH = ReadProfileOptionalInt(file, kWindowSection, "h");
  const WindowState defaults;
  x = storedX.value_or(centredX);
  y = storedY.value_or(centredY);
  w = storedW.value_or(defaults.w);
  h = storedH.value_or(defaults.h);
  positionStored = storedX && storedY;
  sizeStored = storedW && storedH;
  // A state that is not one of the three shows a normal window rather than clamping -1 into
  // "maximised".
  state = ReadProfileInt(file, kWindowSection, "State", kWindowNormal);
  if (state < kWindowMaximised || state > kWindowNormal)
    state = kWindowNormal;
  onTop = ReadFlag(file, kWindowSection, "OnTop", false);
  split = ReadProfileOptionalInt(file, kWindowSection, "Split");
  showMenu = ReadFlag(file, kWindowSection, "ShowMenu", true);
  showCaption = ReadFlag(file, kWindowSection, "ShowCaption", true);
  showStatusBar = ReadFlag(file, kWindowSection, "ShowStatusBar", true);
  showTool = ReadFlag(file, kWindowSection, "ShowTool", true);
  showRebar = ReadFlag(file, kWindowSection, "ShowReber", true);
  selectTool = ReadProfileInt(file, kWindowSection, "SelectTool", kToolFavorite);
  if (selectTool < kToolFavorite || selectTool > kToolProxy)
    selectTool = kToolFavorite;
  selectHistoryKeyWord = ReadProfileInt(file, kWindowSection, "SelectHistoryKeyWord", 0);
  selectAnalysisKeyWord = ReadProfileInt(file, kWindowSection, "SelectAnalysisKeyWord", 0);
  for (std::size_t i = 0; i < kToolOptionKeys.size(); ++i)
    toolOptions[i] = ReadFlag(file, kWindowSection, kToolOptionKeys[i], false);
  useIEProxy = ReadFlag(file, kWindowSection, "UseIEProxy", true);
  proxyBypassLocal = ReadFlag(file, kWindowSection, "ProxyBypassLocal", false);
}

bool WindowState::Save(const std::string& settingsFile, bool maximised) const {
  const auto& file = settingsFile;
  ProfileUpdate update(file);
  bool accepted = true;
  const auto writeInt = [&](std::string_view key, int value) {
    accepted = WriteProfileInt(file, kWindowSection, key, value) && accepted;
  };
  const auto writeFlag = [&](std::string_view key, bool value) {
    accepted = WriteFlag(file, kWindowSection, key, value) && accepted;
  };
  if (!maximised) {
    writeInt("x", x);
    writeInt("y", y);
    writeInt("w", w);
    writeInt("h", h);
  }
  writeInt("State", state);
  writeFlag("OnTop", onTop);
  if (split)
    writeInt("Split", *split);
  writeFlag("ShowMenu", showMenu);
  writeFlag("ShowCaption", showCaption);
  writeFlag("ShowStatusBar", showStatusBar);
  writeFlag("ShowTool", showTool);
  writeFlag("ShowReber", showRebar);
  writeInt("SelectTool", selectTool);
  writeInt("SelectHistoryKeyWord", selectHistoryKeyWord);
  writeInt("SelectAnalysisKeyWord", selectAnalysisKeyWord);
  for (std::size_t i = 0; i < kToolOptionKeys.size(); ++i)
    writeFlag(kToolOptionKeys[i], toolOptions[i]);
  writeFlag("UseIEProxy", useIEProxy);
  writeFlag("ProxyBypassLocal", proxyBypassLocal);
  return update.Commit() && accepted;
}

std::optional<RebarBand> ParseRebarBand(std::string_view text) {
  RebarBand band;
  if (!text.empty() && text.back() == 'n') {
    band.breakBefore = true;
    text.remove_suffix(1);
  }
  if (text.size() < 3 || !IsDigit(text[0]) || text[1] != ',' || !IsDigit(text[2]))
    return std::nullopt;
  band.id = text[0] - '0';
  const std::size_t end = std::min<std::size_t>(text.size(), 2 + kBandWidthDigits);
  for (std::size_t i = 2; i < end && IsDigit(text[i]); ++i)
    band.width = band.width * 10 + (text[i] - '0');
  return band;
}

std::string FormatRebarBand(const RebarBand& band) {
  std::string text = std::to_string(std::clamp(band.id, 0, 9));
  text += ',';
  text += std::to_string(std::clamp(band.width, 0, kBandWidthMax));
  if (band.breakBefore)
    text += 'n';
  return text;
}

RebarBand DefaultRebarBand(int key, int toolbarButtonWidth) {
  if (key == 0)
    return {0, kToolbarDefaultButtons * toolbarButtonWidth + kToolbarPadding, false};
  // The address bar starts a row of its own, which it shares only with the search bar: beside
  // the toolbar a window of usual size leaves it no room to show an address.
  return {key, kBarBandDefaultWidth, key == kAddressBarBand};
}

std::vector<int> DefaultToolbarLayout() {
  std::vector<int> layout;
  for (int button = 0; button <= kToolbarButtonMax; ++button)
    layout.push_back(button);
  return layout;
}

std::vector<int> ParseToolbarLayout(std::string_view text) {
  if (EqualsIgnoreCase(TrimBlanksAndControls(text), "reset"))
    return DefaultToolbarLayout();
  std::vector<int> layout;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view entry = TrimBlanksAndControls(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    int button = 0;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), button);
    if (!entry.empty() && error == std::errc() && end == entry.data() + entry.size() &&
        button >= kToolbarSeparator && button <= kToolbarButtonMax) {
      layout.push_back(button);
    }
  }
  return layout;
}

std::string FormatToolbarLayout(const std::vector<int>& layout) {
  std::string text;
  for (const int button : layout) {
    if (!text.empty())
      text += ',';
    text += std::to_string(button);
  }
  return text;
}

void RebarState::Load(const std::string& settingsFile, int toolbarButtonWidth) {
  std::array<bool, kRebarBandCount> seen{};
  bool eachOnce = true;
  for (int key = 0; key < kRebarBandCount; ++key) {
    const std::optional<RebarBand> band =
        ParseRebarBand(ReadProfileString(settingsFile, kRebarSection, BandKey(key), ""));
    RebarBand& slot = bands[static_cast<std::size_t>(key)];
    slot = band && band->id < kRebarBandCount ? *band : DefaultRebarBand(key, toolbarButtonWidth);
    eachOnce = !seen[static_cast<std::size_t>(slot.id)] && eachOnce;
    seen[static_cast<std::size_t>(slot.id)] = true;
  }
  if (!eachOnce) {
    for (int key = 0; key < kRebarBandCount; ++key)
      bands[static_cast<std::size_t>(key)] = DefaultRebarBand(key, toolbarButtonWidth);
  }
  const std::string layout = ReadProfileString(settingsFile, kRebarSection, kToolBarKey, "");
  toolbar = layout.empty() ? DefaultToolbarLayout() : ParseToolbarLayout(layout);
  barSearchKeyWidth =
      ReadProfileInt(settingsFile, kRebarSection, kBarSearchKeyWidthKey, kBarSearchKeyWidthDefault);
}

bool RebarState::Save(const std::string& settingsFile) const {
  ProfileUpdate update(settingsFile);
  bool accepted = true;
  for (int key = 0; key < kRebarBandCount; ++key) {
    accepted = WriteProfileString(settingsFile, kRebarSection, BandKey(key),
                                  FormatRebarBand(bands[static_cast<std::size_t>(key)])) &&
               accepted;
  }
  accepted =
      WriteProfileString(settingsFile, kRebarSection, kToolBarKey, FormatToolbarLayout(toolbar)) &&
      accepted;
  accepted =
      WriteProfileInt(settingsFile, kRebarSection, kBarSearchKeyWidthKey, barSearchKeyWidth) &&
      accepted;
  return update.Commit() && accepted;
}

Colour LoadHighlightColour(const std::string& settingsFile) {
  return ColourFromText(
      ReadProfileString(settingsFile, kSearchDialogSection, kHighlightColourKey, ""),
      kHighlightColourDefault);
}

bool SaveHighlightColour(const std::string& settingsFile, Colour colour) {
  return WriteProfileString(settingsFile, kSearchDialogSection, kHighlightColourKey,
                            ColourToText(colour));
}

std::string LoadDownloadFolder(const std::string& settingsFile, const std::string& defaultFolder) {
  return ReadProfileString(settingsFile, kWindowSection, kDownloadFolderKey, defaultFolder);
}

bool SaveDownloadFolder(const std::string& settingsFile, const std::string& folder) {
  if (folder.size() > kProfileStringMax)
    return false;
  return WriteProfileString(settingsFile, kWindowSection, kDownloadFolderKey, folder);
}

}  // namespace zelvora
