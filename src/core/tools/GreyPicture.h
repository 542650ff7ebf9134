#pragma once

// The grey picture that stands in for a tree while a background job works on it.

#include <cstdint>
#include <span>

namespace zelvora {

// One 0xAARRGGBB pixel turned grey: the weighted sum of its channels, rounded, written to all
// three; the alpha stays.
constexpr std::uint32_t GreyPixel(std::uint32_t argb) {
  const std::uint32_t red = (argb >> 16) & 0xFF;
  const std::uint32_t green = (argb >> 8) & 0xFF;
  const std::uint32_t blue = argb & 0xFF;
  const std::uint32_t grey = (29 * blue + 150 * green + 77 * red + 128) / 256;
  return (argb & 0xFF000000) | grey << 16 | grey << 8 | grey;
}

inline void MakeGrey(std::span<std::uint32_t> pixels) {
  for (std::uint32_t& pixel : pixels) {
    pixel = GreyPixel(pixel);
  }
}

}  // namespace zelvora
