#include "controls/offbtn/offbtn_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/offbtn/tests/fake_canvas.h"

namespace controls {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::FakeCanvas;

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

struct WrapCase {
  const char* name;
  std::string text;
  std::int32_t maxWidth;
  std::vector<std::string> lines;
};

void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.name; }

class WordWrapTest : public ::testing::TestWithParam<WrapCase> {};

// Every character is 6 px wide, so a line of k characters is 6k px.
TEST_P(WordWrapTest, Lines) {
  const WrapCase& c = GetParam();
  FakeCanvas canvas;
  const WrapText wrap = GetWrapText(c.text, c.maxWidth, canvas.Measure());
  EXPECT_THAT(wrap.WrapLines, ElementsAreArray(c.lines));
  EXPECT_EQ(wrap.WrapLineCount(), static_cast<std::int32_t>(c.lines.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordWrapTest,
    ::testing::Values(
        // 9 characters = 54 px: fits at exactly 54, wraps at 53.
        WrapCase{"FitsExactly", "Check now", 54, {"Check now"}},
        WrapCase{"OnePixelTooWide", "Check now", 53, {"Check", "now"}},
        WrapCase{"EmptyCaptionIsOneEmptyLine", "", 0, {""}},
        // 10 characters per line: "Remove sel|ected files" breaks at the
        // space after "Remove" and drops it.
        WrapCase{"BreaksAtSpaceAndDropsIt", "Remove selected files", 60,
                 {"Remove", "selected", "files"}},
        // 5 per line: "a b c" fits, the break is the later space (before c).
        WrapCase{"BreaksAtLastFittingSpace", "a b c d e f", 30, {"a b", "c d", "e f"}},
        // "abcde " fits exactly (36 px); the break uses that trailing space.
        WrapCase{"SpaceThatJustFits", "abcde fgh", 36, {"abcde", "fgh"}},
        WrapCase{"WordCutInside", "Uninstallation", 36, {"Uninst", "allati", "on"}},
        WrapCase{"WordAfterBreakCutInside", "Go Uninstallation", 36,
                 {"Go", "Uninst", "allati", "on"}},
        // "abc" fills the line, so the next line begins with the space; that
        // space is not a break, the line is cut after "de".
        WrapCase{"LineBeginsWithSpace", "abc def", 18, {"abc", " de", "f"}},
        WrapCase{"LeadingSpaceIsNoBreak", " abcdef", 24, {" abc", "def"}},
        WrapCase{"OnlyOneOfTwoSpacesDropped", "ab  cd", 18, {"ab", " cd"}},
        // The last line reaches the end of the text: its space is kept.
        WrapCase{"LastLineNotCutAtItsSpace", "abcdef g h", 36, {"abcdef", " g h"}},
        WrapCase{"FirstCharacterTooWide", "abc", 5, {}},
        // Two-, three- and four-byte characters are one character each.
        WrapCase{"MultiByteCharactersWhole", "äöü€😀", 12, {"äö", "ü€", "😀"}},
        WrapCase{"MultiByteBeforeSpace", "Größe ändern", 60, {"Größe", "ändern"}},
        // Lines longer than 255 characters lose nothing.
        WrapCase{"LongCaptionFitsWhole", Repeat("x", 300), 1800, {Repeat("x", 300)}},
        WrapCase{"LongWordCut", Repeat("x", 300), 1600, {Repeat("x", 266), Repeat("x", 34)}},
        WrapCase{"LongLineOfTwoByteCharacters", Repeat("ä", 300), 1680,
                 {Repeat("ä", 280), Repeat("ä", 20)}},
        // 60 words "word" = 299 characters, 290 fit: the break is the space
        // at index 289, after 58 words.
        WrapCase{"LongLineBreaksAtSpace", Repeat("word ", 59) + "word", 1740,
                 {Repeat("word ", 57) + "word", "word word"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WordWrap, LaterLineWhoseFirstCharacterDoesNotFitDiscardsAll) {
  FakeCanvas canvas;
  canvas.Widths['W'] = 12;
  const WrapText wrap = GetWrapText("abcW", 10, canvas.Measure());
  EXPECT_THAT(wrap.WrapLines, IsEmpty());
  EXPECT_EQ(wrap.WrapLineCount(), 0);
}

// Malformed UTF-8 still wraps: a byte that does not start a well-formed
// sequence is a character of its own and never takes the bytes after it.
TEST(WordWrap, MalformedBytesAreSingleCharacters) {
  FakeCanvas canvas;
  canvas.BytesAreCharacters = true;
  const auto wrap = [&](const std::string& text) {
    return GetWrapText(text, 6, canvas.Measure()).WrapLines;
  };
  EXPECT_THAT(wrap("\xE2\x82" "A"), ElementsAre("\xE2", "\x82", "A"));  // truncated
  EXPECT_THAT(wrap("\xC3("), ElementsAre("\xC3", "("));                 // bad continuation
  EXPECT_THAT(wrap("\xC0\xAF"), ElementsAre("\xC0", "\xAF"));           // overlong
  EXPECT_THAT(wrap("\xED\xA0\x80"), ElementsAre("\xED", "\xA0", "\x80"));  // surrogate
  EXPECT_THAT(wrap("a\xF0"), ElementsAre("a", "\xF0"));                   // cut at the end
}

}  // namespace
}  // namespace controls
