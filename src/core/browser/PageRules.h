#pragma once

// The rules a page follows as its engine reports on it: progress stages, the tab caption and
// tool tip, the travel-log menus and the character sizes. The tab strip applies them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

inline constexpr std::string_view kLoadingCaption = "Loading..";
inline constexpr std::string_view kNoTitleCaption = "No Title";

// The percentage of a load and its stage (0 to 4, shown on the tab); both -1 while no total is
// known (progress -1 or max 0). The percentage is rounded like the platform's MulDiv and clamped
// to 0..100; the stage is percent / 24.
struct ProgressStage {
  int percent = -1;
  int stage = -1;
  bool operator==(const ProgressStage&) const = default;
};
ProgressStage ComputeProgress(std::int64_t progress, std::int64_t max);

// The tab text when the engine reports a title: the title shortened to `tabTitleMax`
// characters, or `firstUrl` as it is when the title is empty. -1 never shortens.
std::string TitleChangeCaption(std::string_view title, std::string_view firstUrl, int tabTitleMax);

// The caption a page gets again after a load: the title shortened; when empty, the last path
// segment of `firstUrl` (backslashes read as "/"), shortened; when still empty, "No Title".
std::string PageCaption(std::string_view title, std::string_view firstUrl, int tabTitleMax);

// The document title; when empty, the file name of the location; when still empty, "No Title";
// shortened to `tabTitleMax`.
std::string PageTitle(std::string_view title, std::string_view locationUrl, int tabTitleMax);

// A tab's tool tip: the first URL shortened to `charMax`; with a title, the shortened title,
// CR LF and the shortened URL.
std::string TabToolTipText(std::string_view title, std::string_view firstUrl, int charMax);

// One entry of the back or forward history as the engine lists it, nearest first.
struct TravelEntry {
  std::string title;
  std::string url;
};

// The items of a back or forward drop-down menu: item k (from 1) is the k-th nearest entry,
// captioned by its title shortened to `tabTitleMax` (its URL when the title is empty); the list
// ends at `listMax` items (a `listMax` below 1 lists nothing).
struct TravelMenuItem {
  int id;
  std::string caption;
};
std::vector<TravelMenuItem> TravelMenuItems(const std::vector<TravelEntry>& nearestFirst,
                                            int listMax, int tabTitleMax);
// The history offset that item `id` of the back (forward) menu stands for: -id (+id).
constexpr int TravelOffset(bool back, int id) {
  return back ? -id : id;
}

// The five character sizes, 0 smallest … 4 largest, as zoom factors around 100 % (size 2).
inline constexpr int kCharSizeCount = 5;
inline constexpr int kCharSizeStandard = 2;
inline constexpr std::array<double, kCharSizeCount> kZoomFactors = {0.7, 0.85, 1.0, 1.2, 1.5};
// The size whose factor is nearest to `factor`.
int CharSizeOfZoom(double factor);
// The size after `size` for the toolbar's size button: one smaller, after the smallest the
// largest.
int NextCharSize(int size);

}  // namespace zelvora
