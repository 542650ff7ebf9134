#include "core/shell/MainWindowRules.h"

#include <algorithm>

#include "core/shell/CommandTable.h"

namespace zelvora {

namespace {

using S = ToolbarButtonStyle;

constexpr ToolbarButton Plain(std::uint16_t command) {
  return {command, S::kPlain, false, -1};
}

}  // namespace

const std::array<ToolbarButton, kToolbarButtonCount> kToolbarButtons = {{
    Plain(3069),                                 // back
    Plain(3068),                                 // forward
    Plain(3005),                                 // stop
    Plain(3006),                                 // stop all
    Plain(3007),                                 // refresh
    Plain(3008),                                 // refresh all
    Plain(3024),                                 // home
    Plain(3026),                                 // search
    {3063, S::kCheck, false, -1},                // tool panel
    Plain(3002),                                 // new tab
    {3003, S::kPlain, true, -1},                 // clipboard: enabled once it holds text
    {3004, S::kCheck, false, -1},                // open dialog
    {3029, S::kDropDown, false, kMenuCharSize},  // character size
    Plain(3020),                                 // print
    Plain(3014),                                 // close
    Plain(3015),                                 // close all
    Plain(3017),                                 // write as
    Plain(3009),                                 // source
    Plain(3045),                                 // favorite add
}};

int ToolbarIndexOfCommand(int command) {
  const auto found =
      std::find_if(kToolbarButtons.begin(), kToolbarButtons.end(),
                   [command](const ToolbarButton& b) { return b.command == command; });
  return found == kToolbarButtons.end() ? -1 : static_cast<int>(found - kToolbarButtons.begin());
}

int NextToolPage(int page) {
  return page >= kToolProxy || page < kToolFavorite ? kToolFavorite : page + 1;
}

int PreviousToolPage(int page) {
  return page <= kToolFavorite || page > kToolProxy ? kToolProxy : page - 1;
}

std::optional<SpeedButton> SpeedButtonOf(int tag) {
  using A = SpeedAction;
  static constexpr std::array<SpeedButton, kSpeedButtonCount> kButtons = {{
      {A::kStopToolTask, 0},
      {A::kNextToolPage, 0},
      {A::kCommand, 3063},
      {A::kPreviousToolPage, 0},
      {A::kNextToolPage, 0},
      {A::kCommand, 3115},
      {A::kCommand, 3034},
      {A::kCommand, 3116},
      {A::kCommandWithAddressText, 3117},
      {A::kCommandWithSearchText, 3118},
      {A::kCommandWithSearchText, 3027},
      {A::kCommandWithSearchText, 3028},
      {A::kToggleHighlight, 0},
      {A::kCommand, kExitId},
      {A::kCommand, 3062},
      {A::kMinimise, 0},
  }};
  if (tag < 0 || tag >= kSpeedButtonCount)
    return std::nullopt;
  return kButtons[static_cast<std::size_t>(tag)];
}

std::optional<int> LayeredAlpha(const TSettings& settings, LayeredWindow window) {
  if (window < kLayeredMain || window >= kLayeredWindowCount ||
      !settings.Flag(kFlagLayeredMain + static_cast<int>(window)))
    return std::nullopt;
  return settings.Int(kIntLayeredMainValue + static_cast<int>(window)) & 0xFF;
}

std::array<RebarBand, kRebarBandCount> ArrangeRebarBands(
    std::span<const BandPlacement, kRebarBandCount> placements) {
  std::array<BandPlacement, kRebarBandCount> ordered;
  std::copy(placements.begin(), placements.end(), ordered.begin());
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const BandPlacement& a, const BandPlacement& b) {
                     return a.top != b.top ? a.top < b.top : a.left < b.left;
                   });
  std::array<RebarBand, kRebarBandCount> bands;
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    bands[i] = {ordered[i].id, std::clamp(ordered[i].width, 0, 999),
                i > 0 && ordered[i].top != ordered[i - 1].top};
  }
  return bands;
}

std::array<int, kRebarBandCount> RebarBandWidths(std::span<const RebarBand, kRebarBandCount> bands,
                                                 std::span<const int, kRebarBandCount> needs,
                                                 int rowWidth) {
  std::array<int, kRebarBandCount> widths{};
  std::size_t rowStart = 0;
  for (std::size_t end = 1; end <= bands.size(); ++end) {
    if (end < bands.size() && !bands[end].breakBefore)
      continue;
    long long used = 0;
    bool holdsAddressBar = false;
    for (std::size_t position = rowStart; position < end; ++position) {
      const int id = bands[position].id;
      if (id < 0 || id >= kRebarBandCount)
        continue;
      const auto index = static_cast<std::size_t>(id);
      widths[index] = std::max(bands[position].width, needs[index]);
      used += widths[index];
      holdsAddressBar = holdsAddressBar || id == kAddressBarBand;
    }
    if (holdsAddressBar && used < rowWidth)
      widths[kAddressBarBand] += static_cast<int>(rowWidth - used);
    rowStart = end;
  }
  return widths;
}

}  // namespace zelvora
