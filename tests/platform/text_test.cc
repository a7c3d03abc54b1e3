#include "platform/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace qm::text {
namespace {

// "中" is E4 B8 AD and "文" is E6 96 87: their trail bytes can be searched for
// on their own, and must never match inside the character.
const std::string kZhong = "\xE4\xB8\xAD";
const std::string kWen = "\xE6\x96\x87";

TEST(TextTest, CharLengthKnowsUtf8) {
  struct Case {
    std::string text;
    size_t at;
    int expected;
  };
  const Case cases[] = {
      {"a", 0, 1},
      {kZhong, 0, 3},
      {kZhong, 1, 1},                 // a trail byte starts nothing
      {"\xC3\xA9", 0, 2},             // é
      {"\xF0\x9F\x98\x80", 0, 4},     // an emoji
      {"\xE4\xB8", 0, 1},             // cut short
      {"\xC0\xAF", 0, 1},             // overlong
      {"\xED\xA0\x80", 0, 1},         // a surrogate
      {"\xF4\x90\x80\x80", 0, 1},     // above U+10FFFF
      {"\xFF", 0, 1},
      {"", 0, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharLength(c.text, c.at), c.expected) << ::testing::PrintToString(c.text) << " @" << c.at;
  }
}

TEST(TextTest, CodePointAtDecodesTheCharacterCharLengthMeasures) {
  EXPECT_EQ(CodePointAt("a", 0), U'a');
  EXPECT_EQ(CodePointAt(kZhong, 0), U'\u4E2D');
  EXPECT_EQ(CodePointAt("\xC3\xA9", 0), U'\u00E9');
  EXPECT_EQ(CodePointAt("\xF0\x9F\x98\x80", 0), U'\U0001F600');
  EXPECT_EQ(CodePointAt("\xEF\xBC\xA1", 0), U'\uFF21');  // full-width A
  EXPECT_EQ(CodePointAt(kZhong, 1), char32_t{0xB8});        // a lone byte is itself
  EXPECT_EQ(CodePointAt("\xE4\xB8", 0), char32_t{0xE4});
  EXPECT_EQ(CodePointAt("", 0), char32_t{0});
}

TEST(TextTest, LeftRightMidCountBytes) {
  EXPECT_EQ(Length(kZhong + "ab"), 5);
  EXPECT_EQ(Left("hello", 2), "he");
  EXPECT_EQ(Left("hello", 9), "hello");
  EXPECT_EQ(Left("hello", 0), "");
  EXPECT_EQ(Left("hello", -3), "");
  EXPECT_EQ(Right("hello", 3), "llo");
  EXPECT_EQ(Right("hello", 9), "hello");
  EXPECT_EQ(Right("hello", -1), "");
  EXPECT_EQ(Mid("hello", 2, 3), "ell");
  EXPECT_EQ(Mid("hello", 2), "ello");
  EXPECT_EQ(Mid("hello", 4, 10), "lo");
  EXPECT_EQ(Mid("hello", 6), "");
  EXPECT_EQ(Mid("hello", 0, 2), "he");
  EXPECT_EQ(Mid("hello", 2, 0), "");
}

TEST(TextTest, FindStepsOverWholeCharacters) {
  struct Case {
    std::string text, what;
    int start;
    bool ignoreCase;
    int expected;
  };
  // "\xB8\xAD" is the tail of 中; it must never be found inside it.
  const Case cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "x", 1, false, -1},
      {"abc", "", 1, false, -1},
      {"abc", "a", 0, false, 1},
      {"ABC", "b", 1, false, -1},
      {"ABC", "b", 1, true, 2},
      {kZhong + "x", "\xB8\xAD", 1, false, -1},
      {kZhong + "\xB8\xAD", "\xB8\xAD", 1, false, 4},
      {kZhong + kWen + "|x", "|", 1, false, 7},
      {kZhong + "|" + kZhong + "|", "|", 5, false, 8},
      {kZhong + "a", "a", 2, false, 4},  // a start inside a character moves past it
      {kZhong + kWen, kWen, 1, false, 4},
      {kZhong + kWen, kWen, 4, false, 4},
      {kZhong + kWen, kWen, 5, false, -1},
      {"Program Files", "FILES", 1, true, 9},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Find(c.text, c.what, c.start, c.ignoreCase), c.expected)
        << ::testing::PrintToString(c.text) << " / " << ::testing::PrintToString(c.what) << " from "
        << c.start;
  }
}

TEST(TextTest, ReplaceStepsOverWholeCharacters) {
  struct Case {
    std::string text, what, with;
    int start;
    std::string expected;
  };
  const Case cases[] = {
      {"a.b.c", ".", "\\", 1, "a\\b\\c"},
      {"a.b.c", ".", "", 3, "a.bc"},
      {"aaa", "aa", "b", 1, "ba"},
      {"aaa", "a", "aa", 1, "aaaaaa"},
      {"abc", "", "x", 1, "abc"},
      {"abc", "x", "y", 1, "abc"},
      {"%Temp%\\x", "%Temp%", "C:\\T", 1, "C:\\T\\x"},
      // The tail of 中 followed by itself: only the second, whole pair matches.
      {kZhong + "\xB8\xAD", "\xB8\xAD", "!", 1, kZhong + "!"},
      {kZhong + "|" + kWen + "|", "|", kZhong, 1, kZhong + kZhong + kWen + kZhong},
      {kZhong + "a" + kZhong + "a", "a", "b", 2, kZhong + "b" + kZhong + "b"},
      {"aXa", "a", "b", 2, "aXb"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Replace(c.text, c.what, c.with, c.start), c.expected)
        << ::testing::PrintToString(c.text) << " / " << ::testing::PrintToString(c.what);
  }
}

TEST(TextTest, SplitKeepsInnerEmptyPiecesAndDropsAnEmptyLastOne) {
  using Pieces = std::vector<std::string>;
  struct Case {
    std::string text, separator;
    Pieces expected;
  };
  const Case cases[] = {
      {"a|b|c", "|", {"a", "b", "c"}},
      {"a||c", "|", {"a", "", "c"}},
      {"|a", "|", {"", "a"}},
      {"a|", "|", {"a"}},
      {"a||", "|", {"a", ""}},
      {"|", "|", {""}},
      {"", "|", {}},
      {"abc", "|", {"abc"}},
      {"abc", "", {"abc"}},
      {"a<>b", "<>", {"a", "b"}},
      {kZhong + "|" + kWen + "|" + kZhong + kWen, "|", {kZhong, kWen, kZhong + kWen}},
      // A separator that is the tail of a character does not split it.
      {kZhong + kZhong, "\xB8\xAD", {kZhong + kZhong}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Split(c.text, c.separator), c.expected) << ::testing::PrintToString(c.text);
  }
}

TEST(TextTest, UpperAsciiAndCharCode) {
  EXPECT_EQ(UpperAscii("abc-XyZ " + kZhong + "\xC3\xA9"), "ABC-XYZ " + kZhong + "\xC3\xA9");
  EXPECT_EQ(CharCode("A", 1), 65);
  EXPECT_EQ(CharCode(kZhong, 1), static_cast<signed char>('\xE4'));
  EXPECT_LT(CharCode(kZhong, 1), 0);
  EXPECT_EQ(CharCode("A", 2), 0);
  EXPECT_EQ(CharCode("A", 0), 0);
  EXPECT_EQ(CharCode("", 1), 0);
}

TEST(TextTest, ToIntegerReadsBlanksSignAndDigits) {
  struct Case {
    std::string text;
    int64_t expected;
  };
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  const Case cases[] = {
      {"42", 42},
      {"  -17xyz", -17},
      {"\t+8", 8},
      {"x42", 0},
      {"", 0},
      {"-", 0},
      {"- 5", 0},
      {"0012", 12},
      {"9223372036854775807", kMax},
      {"9223372036854775808", kMax},
      {"99999999999999999999", kMax},
      {"-9223372036854775808", kMin},
      {"-99999999999999999999", kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(ToInteger(c.text), c.expected) << c.text;
}

TEST(TextTest, FoldFullWidthFoldsToAscii) {
  // "Ｃ：＼" and an ideographic space; 中 stays.
  EXPECT_EQ(FoldFullWidth("\xEF\xBC\xA3\xEF\xBC\x9A\xEF\xBC\xBC" + kZhong + "\xE3\x80\x80x"),
            "C:\\" + kZhong + " x");
  EXPECT_EQ(FoldFullWidth("\xEF\xBD\x9E"), "~");             // U+FF5E, the last one
  EXPECT_EQ(FoldFullWidth("\xEF\xBD\x9F"), "\xEF\xBD\x9F");  // U+FF5F stays
}

TEST(TextTest, NumbersAsTheWindowsRuntimeWritesThem) {
  EXPECT_EQ(FromInteger(0), "0");
  EXPECT_EQ(FromInteger(-1234567890123), "-1234567890123");
  EXPECT_EQ(FromInteger(std::numeric_limits<int64_t>::min()), "-9223372036854775808");

  struct FloatCase {
    float value;
    std::string expected;
  };
  const FloatCase floats[] = {
      {1.5f, "1.5"},
      {0.0f, "0"},
      {100.0f, "100"},
      {1.0f / 1024.0f, "0.000976563"},  // a tie rounds away from zero, not to even
      {-1.0f / 1024.0f, "-0.000976563"},
      {100.0f / 1048576.0f, "9.53674e-005"},
      {1.0f / 1048576.0f, "9.53674e-007"},
      {0.0001f, "0.0001"},
      {123456.0f, "123456"},
      {1234567.0f, "1.23457e+006"},
      {3.0e38f, "3e+038"},
      {1.0e-30f, "1e-030"},
      {999999.5f, "1e+006"},  // the carry adds a digit
      {0.5f, "0.5"},
      {-2.5f, "-2.5"},
      {2.0f / 3.0f, "0.666667"},
  };
  for (const auto& c : floats) EXPECT_EQ(FromFloat(c.value), c.expected) << c.expected;

  struct DoubleCase {
    double value;
    std::string expected;
  };
  const DoubleCase doubles[] = {
      {0.1, "0.1"},
      {1.0 / 3.0, "0.3333333333333"},
      {1234567890123.0, "1234567890123"},
      {12345678901234.0, "1.234567890123e+013"},
      {1e-5, "1e-005"},
      {1.5e-300, "1.5e-300"},
      {1e300, "1e+300"},
      {42.0, "42"},
      {0.00048828125, "0.00048828125"},
      {1234567890122.5, "1234567890123"},  // a tie rounds away from zero
      {-0.0009765625, "-0.0009765625"},
      {1.00000000000005, "1"},  // not a tie in binary: below the half
      {2.5e-14, "2.5e-014"},
      {-1.0 / 3.0, "-0.3333333333333"},
  };
  for (const auto& c : doubles) EXPECT_EQ(FromDouble(c.value), c.expected) << c.expected;
}

}  // namespace
}  // namespace qm::text
