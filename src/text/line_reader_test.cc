// The input-text reader: CR ends a line, CR LF is one line end, LF alone is ordinary, code 26 ends
// the text, the last line needs no line end, a line may be of any length.
#include "text/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace kestrova {
namespace {

// Hands out its content in reads of at most `chunk` bytes, then optionally a read error.
class ChunkedFile : public InputFile {
 public:
  ChunkedFile(std::string content, size_t chunk, bool fails_at_end = false)
      : content_(std::move(content)), chunk_(chunk), fails_at_end_(fails_at_end) {}
  long Read(char* buffer, size_t size) override {
    ++reads;
    if (position_ >= content_.size()) return fails_at_end_ ? -1 : 0;
    const size_t n = std::min({size, chunk_, content_.size() - position_});
    memcpy(buffer, content_.data() + position_, n);
    position_ += n;
    return static_cast<long>(n);
  }
  int reads = 0;

 private:
  std::string content_;
  size_t chunk_;
  bool fails_at_end_;
  size_t position_ = 0;
};

struct Lines {
  std::vector<std::string> lines;
  LineStatus last;
};

Lines ReadAll(InputFile* file, size_t max_kept = std::string::npos) {
  LineReader reader(file);
  Lines result;
  std::string line;
  while ((result.last = reader.NextLine(&line, max_kept)) == LineStatus::kLine) {
    result.lines.push_back(line);
    if (result.lines.size() > 1000) break;  // a reader that never ends
  }
  return result;
}

using Texts = std::vector<std::string>;

struct RuleCase {
  const char* name;
  std::string content;
  Texts expected;
};

void PrintTo(const RuleCase& rule, std::ostream* out) { *out << rule.name; }

class LineRuleTest : public testing::TestWithParam<RuleCase> {};

TEST_P(LineRuleTest, SplitsAsTheOverviewSays) {
  // Whole, and one byte per read, so that every line end also meets a buffer refill.
  for (size_t chunk : {size_t{1} << 20, size_t{1}, size_t{2}}) {
    ChunkedFile file(GetParam().content, chunk);
    const Lines result = ReadAll(&file);
    EXPECT_EQ(result.last, LineStatus::kEnd) << "chunk " << chunk;
    EXPECT_EQ(result.lines, GetParam().expected) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LineRuleTest,
    testing::Values(RuleCase{"Empty", "", {}}, RuleCase{"OneLineWithoutLineEnd", "abc", {"abc"}},
                    RuleCase{"CarriageReturn", "a\rb\r", {"a", "b"}},
                    RuleCase{"CarriageReturnLineFeed", "a\r\nb\r\n", {"a", "b"}},
                    RuleCase{"LastLineWithoutLineEnd", "a\r\nb", {"a", "b"}},
                    RuleCase{"LoneLineFeedIsOrdinary", "a\nb\n", {"a\nb\n"}},
                    RuleCase{"LineFeedFirst", "\na\r\n", {"\na"}},
                    RuleCase{"LineFeedAfterALineEndStartsTheNextLine", "a\r\n\nb", {"a", "\nb"}},
                    RuleCase{"CarriageReturnTwice", "a\r\rb", {"a", "", "b"}},
                    RuleCase{"TwoLineBreaksAtTheEnd", "a\r\n\r\n", {"a", ""}},
                    RuleCase{"OnlyALineEnd", "\r\n", {""}},
                    RuleCase{"LineFeedCarriageReturn", "a\n\rb", {"a\n", "b"}},
                    RuleCase{"Code26EndsTheText", std::string("a\r\nb\x1a\r\nc\r\n"), {"a", "b"}},
                    RuleCase{"Code26AfterALineEnd",
                             std::string("a\r\n\x1a"
                                         "b"),
                             {"a"}},
                    RuleCase{"Code26First",
                             std::string("\x1a"
                                         "abc"),
                             {}},
                    RuleCase{"Code26BetweenCrAndLf", std::string("a\r\x1a\nb"), {"a"}},
                    RuleCase{"NulIsOrdinary", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
                    RuleCase{"EightBit", "\xe4\xf6\xfc\r\n", {"\xe4\xf6\xfc"}}),
    [](const testing::TestParamInfo<RuleCase>& info) { return info.param.name; });

constexpr size_t kBuffer = 64 * 1024;

TEST(LineReaderTest, CarriageReturnLineFeedSplitAcrossTheBufferIsOneLineEnd) {
  // The CR is the last byte of the first buffer, the LF the first of the second.
  const std::string first(kBuffer - 1, 'a');
  ChunkedFile file(first + "\r\nb\r\n", std::string::npos);
  const Lines result = ReadAll(&file);
  EXPECT_EQ(result.last, LineStatus::kEnd);
  EXPECT_EQ(result.lines, (Texts{first, "b"}));
  EXPECT_GE(file.reads, 2);
}

TEST(LineReaderTest, CarriageReturnAtTheBufferEndThenAnotherLine) {
  const std::string first(kBuffer - 1, 'a');
  ChunkedFile file(first + "\rb", std::string::npos);
  EXPECT_EQ(ReadAll(&file).lines, (Texts{first, "b"}));
}

TEST(LineReaderTest, CarriageReturnAtTheBufferEndThenTheEnd) {
  const std::string first(kBuffer - 1, 'a');
  ChunkedFile file(first + "\r", std::string::npos);
  EXPECT_EQ(ReadAll(&file).lines, (Texts{first}));
}

TEST(LineReaderTest, LineLongerThanTheBufferIsKeptWhole) {
  std::string long_line;
  for (size_t i = 0; i < 3 * kBuffer + 17; ++i) long_line += static_cast<char>('a' + i % 26);
  ChunkedFile file(long_line + "\r\nnext", std::string::npos);
  EXPECT_EQ(ReadAll(&file).lines, (Texts{long_line, "next"}));
}

TEST(LineReaderTest, LongLineWithMaxKeptKeepsItsStartAndSkipsTheRest) {
  const std::string long_line = "0123456789" + std::string(3 * kBuffer, 'x');
  ChunkedFile file(long_line + "\r\nshort\r\n" + long_line, std::string::npos);
  const Lines result = ReadAll(&file, 10);
  EXPECT_EQ(result.last, LineStatus::kEnd);
  EXPECT_EQ(result.lines, (Texts{"0123456789", "short", "0123456789"}));
}

TEST(LineReaderTest, MaxKeptZeroStillCountsTheLines) {
  ChunkedFile file("a\r\nbb\r\n\r\nccc", 3);
  EXPECT_EQ(ReadAll(&file, 0).lines, (Texts{"", "", "", ""}));
}

TEST(LineReaderTest, MaxKeptOnEveryPieceOfAChunkedLine) {
  ChunkedFile file("abcdefgh\r\nij", 3);
  EXPECT_EQ(ReadAll(&file, 5).lines, (Texts{"abcde", "ij"}));
}

TEST(LineReaderTest, ReadErrorIsReported) {
  ChunkedFile file("a\r\nb", 1, /*fails_at_end=*/true);
  const Lines result = ReadAll(&file);
  EXPECT_EQ(result.lines, (Texts{"a"}));  // "b" was never finished
  EXPECT_EQ(result.last, LineStatus::kError);
}

TEST(LineReaderTest, ReadErrorRightAfterACarriageReturnIsReported) {
  ChunkedFile file("a\r", 1, /*fails_at_end=*/true);
  const Lines result = ReadAll(&file);
  EXPECT_EQ(result.lines, (Texts{"a"}));
  EXPECT_EQ(result.last, LineStatus::kError);
}

TEST(LineReaderTest, ReadErrorOnTheFirstRead) {
  ChunkedFile file("", 1, /*fails_at_end=*/true);
  EXPECT_EQ(ReadAll(&file).last, LineStatus::kError);
}

TEST(LineReaderTest, KeepsAnsweringEndAfterTheEnd) {
  ChunkedFile file(std::string("a\x1a"
                               "b"),
                   1);
  LineReader reader(&file);
  std::string line;
  EXPECT_EQ(reader.NextLine(&line), LineStatus::kLine);
  EXPECT_EQ(reader.NextLine(&line), LineStatus::kEnd);
  EXPECT_EQ(line, "");
  EXPECT_EQ(reader.NextLine(&line), LineStatus::kEnd);
}

}  // namespace
}  // namespace kestrova
