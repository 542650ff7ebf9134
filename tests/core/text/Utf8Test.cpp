#include <gtest/gtest.h>

#include "core/text/Utf8.h"

namespace zelvora {
namespace {

TEST(Utf8Test, CharactersAreWholeSequencesAndMalformedBytesCountSingly) {
  EXPECT_EQ(CharCount("\xE6\x97\xA5\xE6\x9C\xAC"), 2u);  // two CJK characters
  EXPECT_EQ(CharCount("\xF0\x9F\x98\x80x"), 2u);         // a four-byte sequence, then x
  EXPECT_EQ(CharCount("\xFF\xFE"), 2u);                  // never valid in UTF-8
  EXPECT_EQ(CharCount("\xE6\x97"), 2u);                  // truncated sequence
  EXPECT_EQ(CharCount("\xC3("), 2u);                     // lead byte without continuation
  EXPECT_EQ(CharLengthAt("ab", 5), 0u);
}

TEST(Utf8Test, CutNeverSplitsACharacter) {
  EXPECT_EQ(CutAtCharBoundary("abc\xE6\x97\xA5", 5), "abc");
  EXPECT_EQ(CutAtCharBoundary("abc\xE6\x97\xA5", 6), "abc\xE6\x97\xA5");
  EXPECT_EQ(CutAtCharBoundary("\xFF\xFF\xFF", 2), "\xFF\xFF");
}

TEST(Utf8Test, TrimmingDropsBlanksAndControlsButKeepsInnerText) {
  EXPECT_EQ(TrimBlanksAndControls(" \t\r\n a b \x01\x7F"), "a b");
  EXPECT_EQ(TrimBlanksAndControls("\xE3\x80\x80x"), "\xE3\x80\x80x");  // U+3000 is not a control
  EXPECT_EQ(TrimTrailingBlanks(" name  "), " name");
}

TEST(Utf8Test, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(EqualsIgnoreCase("ConfigDialog", "CONFIGDIALOG"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "ab"));
  EXPECT_EQ(AsciiUpper("c:\xC3\xA9"), "C:\xC3\xA9");
}

TEST(ShortenTextTest, CutsAtMaxCharactersDroppingBlanks) {
  EXPECT_EQ(ShortenText("Hello World", 5), "Hello...");
  EXPECT_EQ(ShortenText("a b c d e f", 3), "abc...");
  EXPECT_EQ(ShortenText("exact", 5), "exact");
  EXPECT_EQ(ShortenText("anything at all", -1), "anything at all");
}

TEST(ShortenTextTest, MultiByteCharactersCountOnceAndTheFullWidthBlankIsDropped) {
  // Six bytes but only two characters: longer than 4 bytes, so it is cut by characters.
  EXPECT_EQ(ShortenText("\xE6\x97\xA5\xE3\x80\x80\xE6\x9C\xAC\xE8\xAA\x9E", 2),
            "\xE6\x97\xA5\xE6\x9C\xAC...");
  // Malformed bytes are taken one by one and never read past the end.
  EXPECT_EQ(ShortenText("\xFF\xFE\xFD\xFC", 2), "\xFF\xFE...");
}

}  // namespace
}  // namespace zelvora
