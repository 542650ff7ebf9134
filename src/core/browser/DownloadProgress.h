#pragma once

// The progress line of a running download: what arrived, of how much, how fast and how long it
// still takes, from byte counts and times alone.

#include <cstdint>
#include <string>

namespace zelvora {

// A byte count for people: "512 bytes", "3.4 MB", "1.0 GB" (units of 1024; one decimal under
// 100, none from there on).
std::string FormatByteSize(std::int64_t bytes);

// A duration for people: "45 s", "1 min 20 s", "2 h 5 min".
std::string FormatDuration(std::int64_t seconds);

// A transfer rate that follows the bytes received over time, smoothed so that the speed and the
// time left do not jump with every burst of the network: each new sample pulls the rate towards
// the rate since the last sample, by more the longer ago that was.
class TransferRate {
 public:
  // `received` bytes at `nowMs` (any monotonic clock in milliseconds). The first sample only
  // starts the clock; samples that go back in time or bytes that shrink restart it.
  void Sample(std::int64_t received, std::int64_t nowMs);
  // Bytes per second; 0 before two samples were taken.
  double BytesPerSecond() const { return rate_; }

 private:
  std::int64_t lastReceived_ = -1;
  std::int64_t lastMs_ = 0;
  double rate_ = 0;
  bool hasRate_ = false;
};

// "3.4 MB of 1.0 GB, 12.1 MB/s, 1 min 20 s left". Without a total (0 or less, or below what
// arrived) only the bytes received and the speed; without a speed (0 or less) neither speed nor
// time left. A time left over 100 days means nothing to anyone and is left out.
std::string FormatDownloadProgress(std::int64_t received, std::int64_t total,
                                   double bytesPerSecond);

}  // namespace zelvora
