#include "core/browser/PageRules.h"

#include <algorithm>
#include <cmath>

#include "core/browser/UrlUtil.h"
#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// progress * 100 / max rounded half away from zero and capped at 100; both are non-negative
// here, and the wide intermediate keeps huge byte counts from overflowing.
int PercentOf(std::int64_t progress, std::int64_t max) {
  const __int128 percent = (static_cast<__int128>(progress) * 100 + max / 2) / max;
  return percent > 100 ? 100 : static_cast<int>(percent);
}

}  // namespace

ProgressStage ComputeProgress(std::int64_t progress, std::int64_t max) {
  if (progress < 0 || max <= 0)
    return {};
  const int percent = PercentOf(progress, max);
  return {percent, percent / 24};
}

std::string TitleChangeCaption(std::string_view title, std::string_view firstUrl, int tabTitleMax) {
  if (title.empty())
    return std::string(firstUrl);
  return ShortenText(title, tabTitleMax);
}

std::string PageCaption(std::string_view title, std::string_view firstUrl, int tabTitleMax) {
  if (!title.empty())
    return ShortenText(title, tabTitleMax);
  std::string url(firstUrl);
  std::replace(url.begin(), url.end(), '\\', '/');
  const std::size_t slash = url.rfind('/');
  const std::string_view segment =
      slash == std::string::npos ? std::string_view(url) : std::string_view(url).substr(slash + 1);
  if (segment.empty())
    return std::string(kNoTitleCaption);
  return ShortenText(segment, tabTitleMax);
}

std::string PageTitle(std::string_view title, std::string_view locationUrl, int tabTitleMax) {
  std::string text(title);
  if (text.empty())
    text = NameFromUrl(locationUrl);
  if (text.empty())
    text = kNoTitleCaption;
  return ShortenText(text, tabTitleMax);
}

std::string TabToolTipText(std::string_view title, std::string_view firstUrl, int charMax) {
  const std::string url = ShortenText(firstUrl, charMax);
  if (title.empty())
    return url;
  return ShortenText(title, charMax) + "\r\n" + url;
}

std::vector<TravelMenuItem> TravelMenuItems(const std::vector<TravelEntry>& nearestFirst,
                                            int listMax, int tabTitleMax) {
  std::vector<TravelMenuItem> items;
  const std::size_t count =
      std::min(nearestFirst.size(), static_cast<std::size_t>(std::max(listMax, 0)));
  items.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const TravelEntry& entry = nearestFirst[i];
    items.push_back({static_cast<int>(i) + 1,
                     entry.title.empty() ? entry.url : ShortenText(entry.title, tabTitleMax)});
  }
  return items;
}

int CharSizeOfZoom(double factor) {
  if (std::isnan(factor) || factor <= 0)
    return kCharSizeStandard;
  // The factors ascend, so the nearest one is the first whose midpoint with the next is not
  // below `factor`; a factor right on a midpoint takes the smaller size.
  for (int size = 0; size + 1 < kCharSizeCount; ++size) {
    if (factor <= (kZoomFactors[size] + kZoomFactors[size + 1]) / 2)
      return size;
  }
  return kCharSizeCount - 1;
}

int NextCharSize(int size) {
  if (size < 0 || size >= kCharSizeCount)
    return kCharSizeStandard;
  return size == 0 ? kCharSizeCount - 1 : size - 1;
}

}  // namespace zelvora
