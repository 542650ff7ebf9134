#include <gtest/gtest.h>

#include <vector>

#include "core/tools/GreyPicture.h"

namespace zelvora {
namespace {

TEST(GreyPictureTest, EachChannelWeighsInRoundedAndTheAlphaStays) {
  std::vector<std::uint32_t> pixels = {
      0xFFFF0000,  // red: (77 * 255 + 128) / 256 = 77
      0xFF00FF00,  // green: (150 * 255 + 128) / 256 = 149
      0xFF0000FF,  // blue: (29 * 255 + 128) / 256 = 29
      0x80FFFFFF,  // white stays white, half transparent
      0x00000100,  // green 1 rounds up to 1
      0x12345678,  // (29 * 0x78 + 150 * 0x56 + 77 * 0x34 + 128) / 256 = 80
  };
  MakeGrey(pixels);
  EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0xFF4D4D4D, 0xFF959595, 0xFF1D1D1D, 0x80FFFFFF,
                                                0x00010101, 0x12505050}));
}

}  // namespace
}  // namespace zelvora
