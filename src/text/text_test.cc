// The text helpers of the Overview: pieces by start and length, the 99-character rest, search, Trim
// and upper-casing.
#include "text/text.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct PieceCase {
  const char* text;
  long start;
  long length;
  const char* expected;
};

class PieceTest : public testing::TestWithParam<PieceCase> {};

TEST_P(PieceTest, TakesByStartAndLength) {
  EXPECT_EQ(Piece(GetParam().text, GetParam().start, GetParam().length), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PieceTest,
    testing::Values(PieceCase{"abcdef", 1, 3, "abc"},    // positions count from 1
                    PieceCase{"abcdef", 3, 2, "cd"},     //
                    PieceCase{"abcdef", 0, 2, "ab"},     // start below 1 counts as 1,
                    PieceCase{"abcdef", -5, 2, "ab"},    // without shortening the length
                    PieceCase{"abcdef", 6, 1, "f"},      // the last character
                    PieceCase{"abcdef", 7, 1, ""},       // start beyond the end
                    PieceCase{"abcdef", 100, 5, ""},     //
                    PieceCase{"abcdef", 2, -1, ""},      // negative length
                    PieceCase{"abcdef", 2, 0, ""},       //
                    PieceCase{"abcdef", 4, 100, "def"},  // a length beyond the end: the rest
                    PieceCase{"", 1, 1, ""},             //
                    PieceCase{"", 0, 0, ""}));

TEST(RestFromTest, TakesAtMost99Characters) {
  const std::string text = "ab" + std::string(120, 'x');
  EXPECT_EQ(RestFrom(text, 3), std::string(99, 'x'));
  EXPECT_EQ(RestFrom(text, 1), "ab" + std::string(97, 'x'));
  EXPECT_EQ(RestFrom("abc", 2), "bc");
  EXPECT_EQ(RestFrom("abc", 4), "");
  EXPECT_EQ(RestFrom("abc", 0), "abc");
}

TEST(FindTest, GivesThePositionOfTheFirstOccurrenceFrom1) {
  EXPECT_EQ(Find("Slct=22,State=L", "State="), 9);
  EXPECT_EQ(Find("abab", "b"), 2);
  EXPECT_EQ(Find("abc", "a"), 1);
  EXPECT_EQ(Find("abc", "abc"), 1);
  EXPECT_EQ(Find("abc", "abcd"), 0);
  EXPECT_EQ(Find("abc", "x"), 0);
}

TEST(FindTest, IsCaseSensitive) {
  EXPECT_EQ(Find("slct=1", "Slct="), 0);
  EXPECT_FALSE(Contains("profiler.prf", "Profiler.Prf"));
  EXPECT_TRUE(Contains("x Profiler.Prf", "Profiler.Prf"));
}

TEST(FindTest, NeverFindsAnEmptyPattern) {
  EXPECT_EQ(Find("abc", ""), 0);
  EXPECT_EQ(Find("", ""), 0);
  EXPECT_FALSE(Contains("abc", ""));
}

TEST(StartsWithTest, ComparesThePrefixExactly) {
  EXPECT_TRUE(StartsWith("Profiler.Prf x", "Profiler.Prf"));
  EXPECT_FALSE(StartsWith("Profiler.Pr", "Profiler.Prf"));
  EXPECT_FALSE(StartsWith("profiler.Prf", "Profiler.Prf"));
  EXPECT_TRUE(StartsWith("abc", ""));
}

TEST(TrimTest, RemovesEveryCharacterOfCode32OrBelowAtBothEnds) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim(std::string("\t\r\n\x01 a\x1f\x0b", 9)), "a");
  EXPECT_EQ(Trim(std::string("\0a\0", 3)), "a");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(Trim(""), "");
  // Code 33 and above stay, 8-bit characters included.
  EXPECT_EQ(Trim("!a!"), "!a!");
  EXPECT_EQ(Trim("\xa0x\xff"), "\xa0x\xff");
}

TEST(UpperCaseTest, ChangesOnlyTheLettersAToZ) {
  EXPECT_EQ(UpperCase('a'), 'A');
  EXPECT_EQ(UpperCase('z'), 'Z');
  EXPECT_EQ(UpperCase('m'), 'M');
  EXPECT_EQ(UpperCase('A'), 'A');
  EXPECT_EQ(UpperCase('`'), '`');  // just below "a"
  EXPECT_EQ(UpperCase('{'), '{');  // just above "z"
  EXPECT_EQ(UpperCase('1'), '1');
  EXPECT_EQ(UpperCase('\xe4'), '\xe4');  // an 8-bit letter stays as it is
  EXPECT_EQ(UpperCase('\xff'), '\xff');
}

}  // namespace
}  // namespace kestrova
