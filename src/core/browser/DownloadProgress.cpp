#include "core/browser/DownloadProgress.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace zelvora {

namespace {

// How quickly the rate follows a change: after this long at a new speed, the rate has come
// about two thirds of the way to it.
constexpr double kRateTimeConstantMs = 3000.0;
constexpr std::int64_t kTimeLeftMaxSeconds = 100LL * 24 * 3600;

constexpr std::array<std::string_view, 6> kUnits = {"KB", "MB", "GB", "TB", "PB", "EB"};

std::string FormatScaled(double bytes) {
  if (bytes < 1024.0) {
    const auto count = static_cast<std::int64_t>(bytes);
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
  }
  std::size_t unit = 0;
  double value = bytes / 1024.0;
  // A value that would print as "1024" is shown in the next unit.
  while (value >= 1023.5 && unit + 1 < kUnits.size()) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  // From 99.95 on, one decimal would print "100.0": no decimal from there.
  std::snprintf(text, sizeof text, value < 99.95 ? "%.1f %s" : "%.0f %s", value,
                std::string(kUnits[unit]).c_str());
  return text;
}

}  // namespace

std::string FormatByteSize(std::int64_t bytes) {
  return FormatScaled(static_cast<double>(bytes < 0 ? 0 : bytes));
}

std::string FormatDuration(std::int64_t seconds) {
  if (seconds < 0)
    seconds = 0;
  if (seconds < 60)
    return std::to_string(seconds) + " s";
  if (seconds < 3600)
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
  return std::to_string(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
}

void TransferRate::Sample(std::int64_t received, std::int64_t nowMs) {
  if (lastReceived_ < 0 || nowMs < lastMs_ || received < lastReceived_) {
    lastReceived_ = received;
    lastMs_ = nowMs;
    return;
  }
  if (nowMs == lastMs_)
    return;
  const double elapsedMs = static_cast<double>(nowMs - lastMs_);
  const double instant = static_cast<double>(received - lastReceived_) * 1000.0 / elapsedMs;
  if (hasRate_) {
    const double weight = 1.0 - std::exp(-elapsedMs / kRateTimeConstantMs);
    rate_ += weight * (instant - rate_);
  } else {
    rate_ = instant;
    hasRate_ = true;
  }
  lastReceived_ = received;
  lastMs_ = nowMs;
}

std::string FormatDownloadProgress(std::int64_t received, std::int64_t total,
                                   double bytesPerSecond) {
  const bool totalKnown = total > 0 && total >= received;
  std::string text = FormatByteSize(received);
  if (totalKnown)
    text += " of " + FormatByteSize(total);
  if (!(bytesPerSecond > 0))
    return text;
  text += ", " + FormatScaled(bytesPerSecond) + "/s";
  if (totalKnown) {
    const double secondsLeft = std::ceil(static_cast<double>(total - received) / bytesPerSecond);
    if (secondsLeft <= static_cast<double>(kTimeLeftMaxSeconds))
      text += ", " + FormatDuration(static_cast<std::int64_t>(secondsLeft)) + " left";
  }
  return text;
}

}  // namespace zelvora
