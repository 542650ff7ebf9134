#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/text/Regex.h"

namespace zelvora {
namespace {

// The whole match's text, or "<none>" so a failed match shows up in the message.
std::string FirstText(std::string_view pattern, std::string_view subject) {
  const Regex regex(pattern);
  EXPECT_TRUE(regex.IsValid()) << pattern << ": " << regex.Error();
  const auto match = regex.FindFirst(subject);
  return match ? std::string(match->GroupText(subject, 0)) : "<none>";
}

TEST(RegexTest, GreedyModifierMapsOntoPcre2Ungreedy) {
  EXPECT_EQ(FirstText("a+", "aaa"), "aaa");
  EXPECT_EQ(FirstText("(?-g)a+", "aaa"), "a");
  EXPECT_EQ(FirstText("(?i-g)<B.+>", "<a><b1><b2>"), "<b1>");
  // Multi-line, case-insensitive and greedy at once; "$" stops before a CR LF line break.
  EXPECT_EQ(FirstText("(?img)^b.+>$", "a\r\nB1>B2>\r\nb"), "B1>B2>");
  // Laziness lasts until switched back, and a scoped setting ends with its group.
  const Regex mixed("(?-g)(a+)(?g)(a+)");
  const std::string subject = "aaaa";
  const auto match = mixed.FindFirst(subject);
  ASSERT_TRUE(match);
  EXPECT_EQ(match->GroupText(subject, 1), "a");
  EXPECT_EQ(match->GroupText(subject, 2), "aaa");
  EXPECT_EQ(FirstText("(?-g:a+)", "aaa"), "a");
  // "(?" inside a class, after an escape or in a quoted run is text, not a setting.
  EXPECT_EQ(FirstText("[(?g)]+", "x(?g)"), "(?g)");
  EXPECT_EQ(FirstText("(x\\(?-g:)", "x(-g:"), "x(-g:");
  EXPECT_EQ(FirstText("\\Q(?-g)\\E", "a(?-g)"), "(?-g)");
  EXPECT_EQ(FirstText("(?<g>a+)(?=b)", "aab"), "aa");
}

TEST(RegexTest, DotCrossesLineBreaksOnlyWithS) {
  EXPECT_EQ(FirstText("(?s)a.+b", "a\r\nb"), "a\r\nb");
  EXPECT_EQ(FirstText("a.b", "a\rb"), "<none>");
  EXPECT_EQ(FirstText("(?m)^b$", "a\rb\rc"), "b");
}

TEST(RegexTest, PositionsAndLengthsCountBytes) {
  const std::string subject = "\xE6\x97\xA5\xE6\x9C\xAC foo";  // two CJK characters, " foo"
  const auto match = Regex("f(o+)").FindFirst(subject);
  ASSERT_TRUE(match);
  EXPECT_EQ(match->Position(), 8u);
  EXPECT_EQ(match->Group(1).position, 9u);
  EXPECT_EQ(match->Group(1).length, 2u);
  // One "." is one whole character, and case folding works beyond ASCII.
  EXPECT_EQ(FirstText("^.", subject), "\xE6\x97\xA5");
  EXPECT_EQ(FirstText("(?i)\xC3\x89", "x\xC3\xA9"), "\xC3\xA9");
}

TEST(RegexTest, ReportsFifteenGroupsAndUnsetOnes) {
  const std::string subject = "abcdefghijklmnop";
  const auto match = Regex("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)(p)").FindFirst(subject);
  ASSERT_TRUE(match);
  EXPECT_EQ(match->GroupText(subject, 1), "a");
  EXPECT_EQ(match->GroupText(subject, 15), "o");
  EXPECT_FALSE(match->Group(16).matched);

  const auto optional = Regex("(x)?(a)").FindFirst("a");
  ASSERT_TRUE(optional);
  EXPECT_FALSE(optional->Group(1).matched);
  EXPECT_TRUE(optional->Group(2).matched);
  // The match block is reused per thread: a smaller pattern must not see the last one's groups.
  ASSERT_TRUE(Regex("(a)(b)(c)").FindFirst("abc"));
  const auto small = Regex("(a)").FindFirst("abc");
  ASSERT_TRUE(small);
  EXPECT_FALSE(small->Group(2).matched);
}

TEST(RegexTest, TemplatesExpandGroupsAndKeepOtherDollars) {
  const std::string subject = "mail bob@host now";
  const auto match = Regex("(\\w+)@(\\w+)(!)?").FindFirst(subject);
  ASSERT_TRUE(match);
  EXPECT_EQ(ExpandRegexTemplate("$2/$1 [$&] [$0] [$3] [$9]", subject, *match),
            "host/bob [bob@host] [bob@host] [] []");
  EXPECT_EQ(ExpandRegexTemplate("$x $ $$1 $", subject, *match), "$x $ $bob $");
  EXPECT_EQ(ExpandRegexTemplate("$12", subject, *match), "bob2");
}

TEST(RegexTest, ReplacesFirstAndAllAndStepsOverWholeCharacters) {
  const Regex o("o");
  EXPECT_EQ(o.ReplaceAll("foo", "0"), "f00");

  const std::string cjk = "\xE6\x97\xA5x\xE6\x9C\xAC";
  EXPECT_EQ(Regex("x*").ReplaceAll(cjk, "-"), "-\xE6\x97\xA5--\xE6\x9C\xAC-");

  const Regex empty("");
  std::vector<std::size_t> positions;
  for (auto match = empty.FindFirst(cjk); match; match = empty.FindNext(cjk, *match)) {
    positions.push_back(match->Position());
  }
  EXPECT_EQ(positions, (std::vector<std::size_t>{1, 4, 5, 8}));
  EXPECT_EQ(Regex("(?m)$").ReplaceAll("a\r\nb\rc", "#"), "a#\r\nb#\rc#");
}

TEST(RegexTest, EscapedTextMatchesItselfLiterally) {
  const std::string metas = "\\^$.|?*+()[]{}-/#<>=!: \t\r\n'\"";
  for (const std::string_view prefix : {"", "(?x)", "(?is-g)"}) {
    const Regex regex(std::string(prefix).append(RegexEscape(metas)));
    ASSERT_TRUE(regex.IsValid()) << regex.Error();
    const auto match = regex.FindFirst("x" + metas);
    ASSERT_TRUE(match) << prefix;
    EXPECT_EQ(match->Position(), 2u);
    EXPECT_EQ(match->Length(), metas.size());
  }
  const std::string anchored = RegexEscape("a.b");
  EXPECT_EQ(FirstText("^(?:" + anchored + ")$", "axb"), "<none>");
  EXPECT_EQ(FirstText("^(?:" + anchored + ")$", "a.b"), "a.b");
}

TEST(RegexTest, BracketCheckFindsTheFirstMissingBracket) {
  // Escaped brackets, quoted runs and brackets inside classes do not count; a ']' first in a
  // class is literal, so that class needs a later one to close. Positions count bytes.
  const std::tuple<std::string_view, RegexBracketError, std::size_t> cases[] = {
      {"(a(b)", RegexBracketError::kUnclosedParen, 0},
      {"ab[cd", RegexBracketError::kUnclosedClass, 3},
      {"a)b", RegexBracketError::kUnopenedParen, 2},
      {"\xE6\x97\xA5)", RegexBracketError::kUnopenedParen, 4},
      {"\\(a\\)\\[)", RegexBracketError::kUnopenedParen, 8},
      {"[)]x)", RegexBracketError::kUnopenedParen, 5},
      {"\\Q(\\E", RegexBracketError::kNone, 0},
      {"[]a]", RegexBracketError::kNone, 0},
      {"x[^]a](", RegexBracketError::kUnclosedParen, 0},
      {"a[\\]", RegexBracketError::kUnclosedClass, 2},
      {"[[:alpha:]", RegexBracketError::kUnclosedClass, 1}};
  for (const auto& [pattern, error, position] : cases) {
    const RegexBracketCheck result = CheckRegexBrackets(pattern);
    EXPECT_EQ(result.error, error) << pattern;
    EXPECT_EQ(result.position, position) << pattern;
  }
}

TEST(RegexTest, InvalidPatternsReportWhereTheyFail) {
  const Regex unclosed("a(b");
  EXPECT_FALSE(unclosed.IsValid());
  EXPECT_EQ(unclosed.ErrorPosition(), 4u);
  EXPECT_NE(unclosed.Error().find("at position 4"), std::string::npos) << unclosed.Error();
  EXPECT_EQ(unclosed.ReplaceAll("ab", "x"), "ab");
  // Positions are in the pattern as written, not as rewritten for PCRE2.
  EXPECT_EQ(Regex("(?i-g)a(?g)b[").ErrorPosition(), 14u);
  const Regex badUtf8("a\xFF");
  EXPECT_FALSE(badUtf8.IsValid());
  EXPECT_EQ(badUtf8.ErrorPosition(), 2u);
}

TEST(RegexTest, InvalidUtf8SubjectsAreSearchedSafely) {
  const std::string subject = "\xFF\xE6\x97z\xC3(";
  const auto match = Regex("z+").FindFirst(subject);
  ASSERT_TRUE(match);
  EXPECT_EQ(match->Position(), 4u);
  EXPECT_EQ(Regex(".").ReplaceAll("a\xFFz", "-"), "-\xFF-");
  std::string replaced = Regex("(?i)x*").ReplaceAll(subject, "-");
  std::erase(replaced, '-');
  EXPECT_EQ(replaced, subject);
}

TEST(RegexTest, CacheSharesCompiledPatternsAndStaysBounded) {
  const auto first = Regex::Cached("(?ig)/theme=\\s*([^\\r]*)");
  EXPECT_EQ(Regex::Cached("(?ig)/theme=\\s*([^\\r]*)"), first);
  EXPECT_NE(Regex::Cached("(?ig)/theme=\\s*([^\\n]*)"), first);
  const auto invalid = Regex::Cached("(");
  EXPECT_FALSE(invalid->IsValid());

  EXPECT_EQ(RegexGroupText("(?ig)/theme=\\s*([^\\r]*)", "x\r\n/THEME= dark\r\n", 1), "dark");
  EXPECT_EQ(RegexGroupText("a(x)?", "a", 1), std::nullopt);
  EXPECT_EQ(RegexReplaceAll("(?i)B", "abcB", "[$&]"), "a[b]c[B]");
  EXPECT_TRUE(RegexContains("(?img)^c", "a\nc"));

  for (std::size_t i = 0; i < kRegexCacheSize; ++i)
    Regex::Cached("filler" + std::to_string(i));
  EXPECT_NE(Regex::Cached("(?ig)/theme=\\s*([^\\r]*)"), first);
}

TEST(RegexTest, SharedPatternsWorkFromManyThreads) {
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      const std::string subject = "key" + std::to_string(t) + "=value" + std::to_string(t);
      for (int i = 0; i < 500; ++i) {
        const auto value = RegexGroupText("(\\w+)=(\\w+)", subject, 2);
        if (value != "value" + std::to_string(t))
          ++failures[t];
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace zelvora
