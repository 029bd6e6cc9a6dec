#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HtmlTestCanvas.h"
#include "Loom/Render/HtmlLayout.h"

using Loom::CHtmlLayout;
using Loom::THtmlLayoutParams;
using Loom::THtmlLayoutResult;
using Loom::TRect;
using LoomTest::HtmlTestCanvas;

namespace {

class HtmlLayoutTest : public ::testing::Test {
protected:
    THtmlLayoutResult Run(const char* text, unsigned format = 0, TRect rect = {0, 0, 100, 100}) {
        params.rect = rect;
        params.format = format;
        params.colour = 0xFF000000;
        params.linkColour = 0xFF0000FF;
        params.linkHoverColour = 0xFFD3215F;
        return CHtmlLayout(canvas, params).Run(text);
    }

    HtmlTestCanvas canvas;
    THtmlLayoutParams params;
};

}  // namespace

TEST_F(HtmlLayoutTest, BoldTagAroundFirstLetterInBracesAndAngles) {
    for (const char* text : {"{b}a{/b}b", "<b>a</b>b"}) {
        canvas.texts.clear();
        Run(text);
        ASSERT_EQ(canvas.texts.size(), 2u) << text;
        EXPECT_TRUE(canvas.Get(canvas.texts[0].font).bold);
        EXPECT_EQ(canvas.texts[0].text, "a");
        EXPECT_FALSE(canvas.Get(canvas.texts[1].font).bold);
        EXPECT_EQ(canvas.texts[1].x, 12);  // after one bold letter
    }
}

TEST_F(HtmlLayoutTest, ColourTagWithOrWithoutHash) {
    Run("{c FF0000}r{/c}{c #00FF00}g{/c}k");
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[0].colour & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(canvas.texts[1].colour & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(canvas.texts[2].colour, 0xFF000000u);
}

TEST_F(HtmlLayoutTest, UnderlinedLinkRecordsOneRectangleAndOneText) {
    params.maxLinks = 8;
    auto r = Run("Site: {u}{a http://example.org}example.org{/a}{/u} ok", 0, {0, 0, 300, 100});
    ASSERT_EQ(r.links.size(), 1u);
    EXPECT_EQ(r.links[0].text, "http://example.org");
    EXPECT_EQ(r.links[0].rect, (TRect{60, 0, 170, 16}));
    // The link text is drawn underlined in the link colour, the rest not.
    ASSERT_EQ(canvas.texts.size(), 5u);
    EXPECT_EQ(canvas.texts[2].text, "example.org");
    EXPECT_EQ(canvas.texts[2].colour, 0xFF0000FFu);
    EXPECT_TRUE(canvas.Get(canvas.texts[2].font).underline);
    EXPECT_EQ(canvas.texts[4].text, "ok");
    EXPECT_FALSE(canvas.Get(canvas.texts[4].font).underline);
    EXPECT_EQ(canvas.texts[4].colour, 0xFF000000u);
}

TEST_F(HtmlLayoutTest, LinkWithoutUnderlineTagIsUnderlinedOnlyInside) {
    params.maxLinks = 1;
    Run("{a}x{/a}y");
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_TRUE(canvas.Get(canvas.texts[0].font).underline);
    EXPECT_FALSE(canvas.Get(canvas.texts[1].font).underline);
}

TEST_F(HtmlLayoutTest, HoveredLinkOfThePreviousPaintUsesTheHoverColour) {
    Loom::THtmlLink previous{{0, 0, 40, 16}, "go"};
    params.previousLinks = &previous;
    params.previousLinkCount = 1;
    params.mouseX = 10;
    params.mouseY = 5;
    Run("{a go}here{/a}{a other}there{/a}", 0, {0, 0, 300, 100});
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].colour, 0xFFD3215Fu);
    EXPECT_EQ(canvas.texts[1].colour, 0xFF0000FFu);
}

TEST_F(HtmlLayoutTest, WrappedLinkGetsOneRectanglePerLineUpToTheCallersRoom) {
    params.maxLinks = 8;
    auto r = Run("abcdef{a L}ghijklmnop{/a}");  // the link runs from x 60 over the edge
    ASSERT_EQ(r.links.size(), 2u);
    EXPECT_EQ(r.links[0].rect, (TRect{60, 0, 100, 16}));
    EXPECT_EQ(r.links[1].rect, (TRect{0, 16, 60, 32}));
    EXPECT_EQ(r.links[1].text, "L");
    params.maxLinks = 1;
    r = Run("abcdef{a L}ghijklmnop{/a}");
    EXPECT_EQ(r.links.size(), 1u);
    params.maxLinks = 0;
    EXPECT_TRUE(Run("{a L}x{/a}").links.empty());
}

TEST_F(HtmlLayoutTest, EndEllipsisAtTheRightEdge) {
    Run("abcdefghijklmnop qrs", Loom::HtmlSingleLine | Loom::HtmlEndEllipsis);
    // Ten characters fit; two are given up for the ellipsis.
    EXPECT_EQ(canvas.Drawn(), "abcdefgh...");
    ASSERT_FALSE(canvas.texts.empty());
    EXPECT_EQ(canvas.texts.back().x, 80);
    EXPECT_EQ(canvas.texts.back().text, "...");
}

TEST_F(HtmlLayoutTest, SingleLineCutWithoutEllipsisDropsTheRest) {
    Run("abcdefghijkl mn", Loom::HtmlSingleLine);
    EXPECT_EQ(canvas.Drawn(), "abcdefghij");
    for (auto& t : canvas.texts) EXPECT_EQ(t.y, 0);
}

TEST_F(HtmlLayoutTest, WordBreakMovesWholeWordsToTheNextLine) {
    Run("hello world foo", Loom::HtmlWordBreak, {0, 0, 80, 100});
    std::vector<HtmlTestCanvas::TextCall> words;
    for (auto& t : canvas.texts)
        if (t.text != " ") words.push_back(t);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].text, "hello");
    EXPECT_EQ(words[1].text, "world");
    EXPECT_EQ(words[1].x, 0);
    EXPECT_EQ(words[1].y, 16);
    EXPECT_EQ(words[2].text, "foo");
    EXPECT_EQ(words[2].x, 0);
    EXPECT_EQ(words[2].y, 32);
}

TEST_F(HtmlLayoutTest, WordBreakCutsAfterTheLastNonLetter) {
    Run("ab xyz-uvwxyz", Loom::HtmlWordBreak);
    // "xyz-uvw" would reach the edge; the cut moves back after the hyphen.
    ASSERT_EQ(canvas.texts.size(), 4u);
    EXPECT_EQ(canvas.texts[2].text, "xyz-");
    EXPECT_EQ(canvas.texts[3].text, "uvwxyz");
    EXPECT_EQ(canvas.texts[3].y, 16);
}

TEST_F(HtmlLayoutTest, OverlongWordIsCutHardOnAnEmptyLine) {
    Run("abcdefghijklmnopqrstuvwxy", Loom::HtmlWordBreak);
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[0].text, "abcdefghij");
    EXPECT_EQ(canvas.texts[2].text, "uvwxy");
    EXPECT_EQ(canvas.texts[2].y, 32);
}

TEST_F(HtmlLayoutTest, NarrowerThanOneCharacterStillProgresses) {
    Run("abc", 0, {0, 0, 5, 100});
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[2].y, 32);
}

TEST_F(HtmlLayoutTest, Utf8CharactersAreNotSplitAtTheEdge) {
    // Four three-byte characters, 30 pixels each; 80 pixels hold two of them
    // (eight bytes, the cut moved back to six).
    Run("啊阿埃挨", Loom::HtmlWordBreak, {0, 0, 80, 100});
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].text, "啊阿");
    EXPECT_EQ(canvas.texts[1].text, "埃挨");
}

TEST_F(HtmlLayoutTest, MeasureOnlyGivesTheExtentAndDrawsNothing) {
    auto r = Run("abc\nabcdefg\nab", Loom::HtmlCalcRect, {5, 7, 200, 300});
    EXPECT_TRUE(canvas.texts.empty());
    EXPECT_EQ(r.extent, (TRect{5, 7, 75, 7 + 48}));
    r = Run("", Loom::HtmlCalcRect, {5, 7, 200, 300});
    EXPECT_EQ(r.extent, (TRect{5, 7, 5, 7}));
}

TEST_F(HtmlLayoutTest, SingleLineAlignment) {
    Run("abc", Loom::HtmlSingleLine | Loom::HtmlCenter | Loom::HtmlVCenter);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].x, 35);
    EXPECT_EQ(canvas.texts[0].y, 42);
    canvas.texts.clear();
    Run("abc", Loom::HtmlSingleLine | Loom::HtmlRight | Loom::HtmlBottom);
    EXPECT_EQ(canvas.texts.at(0).x, 70);
    EXPECT_EQ(canvas.texts.at(0).y, 84);
}

TEST_F(HtmlLayoutTest, TextWiderThanTheRectangleIsNotMovedLeftOfIt) {
    Run("abcdefghijklmno", Loom::HtmlSingleLine | Loom::HtmlCenter | Loom::HtmlEndEllipsis);
    EXPECT_EQ(canvas.texts.at(0).x, 0);
    EXPECT_EQ(canvas.Drawn(), "abcdefgh...");
}

TEST_F(HtmlLayoutTest, MultiLineCentreCentresEachLineAsAWhole) {
    Run("hello world", Loom::HtmlWordBreak | Loom::HtmlCenter | Loom::HtmlVCenter, {0, 0, 60, 100});
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[0].x, 5);   // "hello" on a 60-pixel line
    EXPECT_EQ(canvas.texts[1].x, 55);  // the blank right after it
    EXPECT_EQ(canvas.texts[2].x, 5);   // "world" on the second line
    // Two lines of 16 pixels, centred by their real height.
    EXPECT_EQ(canvas.texts[0].y, 34);
    EXPECT_EQ(canvas.texts[2].y, 50);
}

TEST_F(HtmlLayoutTest, LineBreaksAndSingleLineMode) {
    Run("a{n}b\nc");
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[1].y, 16);
    EXPECT_EQ(canvas.texts[2].y, 32);
    canvas.texts.clear();
    Run("a{n}b\nc", Loom::HtmlSingleLine);
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[2].y, 0);
    EXPECT_EQ(canvas.texts[2].x, 20);
}

TEST_F(HtmlLayoutTest, ParagraphSpacingIsAddedAboveFollowingLines) {
    Run("x{p 4}a{n}b{/p}c");
    ASSERT_EQ(canvas.texts.size(), 4u);
    EXPECT_EQ(canvas.texts[0].y, 0);   // x: line 1, before the paragraph
    EXPECT_EQ(canvas.texts[1].y, 20);  // a: line 2 at 16, 20 high, text at its bottom
    EXPECT_EQ(canvas.texts[2].y, 40);  // b: line 3 at 36
    EXPECT_EQ(canvas.texts[3].y, 56);  // c: after the paragraph, no spacing
}

TEST_F(HtmlLayoutTest, MoveXAndLineHeightTags) {
    Run("a{x 5}b{n}{y 30}c");
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[1].x, 15);
    EXPECT_EQ(canvas.texts[2].y, 16 + 30 - 16);
}

TEST_F(HtmlLayoutTest, FontTagsByIndexAndByFace) {
    Run("{f 1}a{/f}{f Serif 20 bold}b{/f}c");
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.Get(canvas.texts[0].font).face, "Large");
    auto f = canvas.Get(canvas.texts[1].font);
    EXPECT_EQ(f.face, "Serif");
    EXPECT_EQ(f.size, 20);
    EXPECT_TRUE(f.bold);
    EXPECT_EQ(canvas.Get(canvas.texts[2].font).face, "Default");
    // The line is as high as its tallest font; text stands on its bottom.
    EXPECT_EQ(canvas.texts[0].y, 0);
    EXPECT_EQ(canvas.texts[2].y, 8);
    canvas.texts.clear();
    Run("{f 77}a");
    EXPECT_EQ(canvas.Get(canvas.texts.at(0).font).face, "Default");
}

TEST_F(HtmlLayoutTest, LeavingItalicMakesUpForTheOverhang) {
    Run("{i}a{/i}b");
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_TRUE(canvas.Get(canvas.texts[0].font).italic);
    EXPECT_EQ(canvas.texts[1].x, 10 - 2);
}

TEST_F(HtmlLayoutTest, SelectedTextToggles) {
    Run("{s}a{s}b{s}c{/s}d");
    ASSERT_EQ(canvas.texts.size(), 4u);
    EXPECT_TRUE(canvas.texts[0].selected);
    EXPECT_FALSE(canvas.texts[1].selected);
    EXPECT_TRUE(canvas.texts[2].selected);
    EXPECT_FALSE(canvas.texts[3].selected);
}

TEST_F(HtmlLayoutTest, InlineImageFromAStripCellCentredOnTheLine) {
    canvas.images["strip.png"] = {40, 8};
    Run("a{i strip.png 2 1}b");
    ASSERT_EQ(canvas.imageCalls.size(), 1u);
    EXPECT_EQ(canvas.imageCalls[0].dest, (TRect{10, 4, 30, 12}));
    EXPECT_EQ(canvas.imageCalls[0].source, (TRect{20, 0, 40, 8}));
    EXPECT_EQ(canvas.texts.at(1).x, 30);
    // A taller image makes the line taller.
    canvas.images["tall.png"] = {10, 30};
    canvas.texts.clear();
    Run("{i tall.png}a");
    EXPECT_EQ(canvas.texts.at(0).y, 14);
}

TEST_F(HtmlLayoutTest, MissingImagesAndFontsDrawNothingExtra) {
    Run("{i nothing.png}a{i res='9' restype='png'}b");
    EXPECT_TRUE(canvas.imageCalls.empty());
    EXPECT_EQ(canvas.Drawn(), "ab");
}

TEST_F(HtmlLayoutTest, RawTextIsDrawnLiterally) {
    Run("{r}{b}x{/r}");
    EXPECT_EQ(canvas.Drawn(), "{b}x");
    EXPECT_FALSE(canvas.Get(canvas.texts.at(0).font).bold);
}

TEST_F(HtmlLayoutTest, UnbalancedTagsLeaveTheBaseStateAlone) {
    Run("{/b}{/c}{/a}{/i}{/f}{/p}{/s}x{b}{b}y");
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].colour, 0xFF000000u);
    EXPECT_EQ(canvas.Get(canvas.texts[0].font).face, "Default");
    EXPECT_TRUE(canvas.Get(canvas.texts[1].font).bold);
}

TEST_F(HtmlLayoutTest, HugeNumbersInTagsAreClamped) {
    Run("{x 99999999999}a{n}{x -99999999999}b{n}{y 99999999999}c", 0, {0, 0, 100, 100});
    ASSERT_EQ(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[0].x, 1000000);
    EXPECT_EQ(canvas.texts[1].x, -1000000);
    EXPECT_EQ(canvas.texts[2].y, 32 + 1000000 - 16);
}

TEST_F(HtmlLayoutTest, NothingIsDrawnBelowTheRectangle) {
    Run("a\nb\nc\nd\ne\nf\ng\nh", 0, {0, 0, 100, 40});
    ASSERT_EQ(canvas.texts.size(), 3u);  // lines at 0, 16 and 32
    EXPECT_EQ(canvas.texts.back().y, 32);
}

TEST_F(HtmlLayoutTest, EmptyOrInvertedRectangleDrawsNothing) {
    auto r = Run("abc", 0, {10, 10, 10, 50});
    EXPECT_TRUE(canvas.texts.empty());
    EXPECT_EQ(r.extent, (TRect{10, 10, 10, 10}));
    Run("abc", 0, {10, 10, 0, 0});
    EXPECT_TRUE(canvas.texts.empty());
    Run(nullptr);
    EXPECT_TRUE(canvas.texts.empty());
}
