#pragma once

// The tree text of a Favorite tree grown over years of use, for the benchmarks that load one.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zelvora::bench {

// One root folder, then folders (every tenth line or so, open and closed alike) and URL items
// wandering between depth 1 and 6.
inline std::string GenerateTreeText(int count) {
  constexpr int kDeepest = 6;
  std::string text = "1,Favorite\r\n";
  int depth = 1;
  std::uint32_t seed = 12345;
  for (int i = 1; i < count; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const unsigned roll = seed >> 24;
    text.append(static_cast<std::size_t>(depth), '\t');
    if (roll < 26 && depth < kDeepest) {
      text += (roll & 1) != 0 ? "1," : "0,";
      text += "Folder " + std::to_string(i) + "\r\n";
      ++depth;
      continue;
    }
    text += "http://www.example.org/section/page" + std::to_string(i) + ".html\tPage title " +
            std::to_string(i) + "\r\n";
    if (roll > 225 && depth > 1)
      --depth;
  }
  return text;
}

}  // namespace zelvora::bench
