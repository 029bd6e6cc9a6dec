// The UTF-8 rules: whole characters, ill-formed bytes one at a time, cuts
// that never split a character, conversions that never read past the end.
#include <gtest/gtest.h>

#include <string>

#include "platform/Utf8.h"

using namespace Text;

namespace {

TEST(Utf8, CharLength_WholeSequencesAndStrayBytes) {
    struct Case {
        const char* bytes;
        size_t available;
        size_t length;
    };
    const Case cases[] = {
        {"a", 1, 1},
        {"\xC5\x81", 2, 2},          // Ł
        {"\xE4\xB8\xAD", 3, 3},      // 中
        {"\xF0\x9F\x93\xA1", 4, 4},  // a character outside the basic plane
        {"\xE4\xB8\xAD", 2, 1},      // cut off by the end of what is given
        {"\x80", 1, 1},              // a continuation byte alone
        {"\xC0\xAF", 2, 1},          // overlong '/'
        {"\xED\xA0\x80", 3, 1},      // a surrogate
        {"\xF4\x90\x80\x80", 4, 1},  // above U+10FFFF
        {"\xFF", 1, 1},
        {"", 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8CharLength(c.bytes, c.available), c.length) << c.bytes;
    // The terminator is never stepped over, also inside a cut-off sequence.
    const char text[] = "\xE4\xB8";
    EXPECT_EQ(Utf8Next(text), text + 1);
    EXPECT_EQ(Utf8Next(text + 2), text + 2);
}

TEST(Utf8, CutLength_NeverSplitsACharacter) {
    // A face name limit: 31 bytes. 29 letters and a three-byte character
    // make 32 bytes, and the cut at 31 would fall inside the character.
    const std::string face = std::string(29, 'F') + "中";
    EXPECT_EQ(Utf8CutLength(face, 31), 29u);
    EXPECT_EQ(Utf8CutLength(face, 32), 32u);
    EXPECT_EQ(Utf8CutLength(std::string(40, 'x'), 31), 31u);
    EXPECT_EQ(Utf8CutLength("a\xF0\x9F\x93\xA1", 4), 1u);
    // Stray bytes are characters of one byte each.
    EXPECT_EQ(Utf8CutLength("\xFF\xFF\xFF", 2), 2u);
}

TEST(Utf8, ToUtf16_ReplacesIllFormedBytesAndPairsSupplementaryCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a中"), u"a中");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x93\xA1"), std::u16string(u"\xD83D\xDCE1"));
    EXPECT_EQ(Utf8ToUtf16("x\xE4\xB8"), u"x\xFFFD\xFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF!"), u"\xFFFD\xFFFD!");
    EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf8, ToUtf8_RoundTripsAndReplacesUnpairedSurrogates) {
    const std::string text = "Łukasz Пользователь 用户 \xF0\x9F\x93\xA1";
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(u"a\xD83D")), "a\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(u"\xDCE1z")), "\xEF\xBF\xBDz");
}

TEST(Utf8, BytesForUnits_TakesMeasuresBackToWholeCharacters) {
    const std::string text =
        "a中\xF0\x9F\x93\xA1"
        "b";  // units: 1, 1, 2, 1
    EXPECT_EQ(Utf8BytesForUnits(text, 0), 0u);
    EXPECT_EQ(Utf8BytesForUnits(text, 2), 4u);
    EXPECT_EQ(Utf8BytesForUnits(text, 3), 4u);  // never half a surrogate pair
    EXPECT_EQ(Utf8BytesForUnits(text, 4), 8u);
    EXPECT_EQ(Utf8BytesForUnits(text, 99), text.size());
}

}  // namespace

TEST(Utf8, Columns_OneForAsciiTwoForAnyOtherCharacter) {
    EXPECT_EQ(Utf8Columns("TX Frequency(MHZ)"), 17u);
    EXPECT_EQ(Utf8Columns("端口设置"), 8u);
    EXPECT_EQ(Utf8Columns("a\xF0\x9F\x93\xA1\xFF"), 4u);  // a stray byte counts as one
}
