#include <gtest/gtest.h>

#include <climits>

#include "Loom/Render/ImageStringParser.h"

using Loom::CImageStringParser;
using Loom::ImageStringStop;
using Loom::TRect;

namespace {

const TRect kItem{100, 50, 200, 80};

std::vector<Loom::TImageDrawStep> Steps(const char* image, const char* modify = nullptr) {
    return CImageStringParser::Steps(image, modify, kItem);
}

}  // namespace

TEST(ImageStringParser, BareNameDrawsThatFileOverTheWholeControl) {
    auto steps = Steps("button.png");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "button.png");
    EXPECT_EQ(steps[0].type, "");
    EXPECT_EQ(steps[0].dest, kItem);
    EXPECT_EQ(steps[0].source, (TRect{0, 0, 0, 0}));
    EXPECT_EQ(steps[0].fade, 255);
}

TEST(ImageStringParser, ResourceWithCornersAndMask) {
    auto steps = Steps("res='159' restype='png' source='0,90,16,106' mask='#FFFF00FF' corner='2,4,2,4'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "159");
    EXPECT_EQ(steps[0].type, "png");
    EXPECT_EQ(steps[0].source, (TRect{0, 90, 16, 106}));
    EXPECT_EQ(steps[0].corner, (TRect{2, 4, 2, 4}));
    EXPECT_EQ(steps[0].mask, 0xFFFF00FFu);
}

TEST(ImageStringParser, DestIsRelativeAndCutAtTheControl) {
    auto steps = Steps("res='188' restype='png' dest='0,2,13,15'");
    EXPECT_EQ(steps.at(0).dest, (TRect{100, 52, 113, 65}));
    steps = Steps("file='a.png' dest='90,10,500,900'");
    EXPECT_EQ(steps.at(0).dest, (TRect{190, 60, 200, 80}));
}

// The offsets are 96-DPI pixels: at 144 the logo's dest='14,0,137,24' lies
// 21 px in from a control already laid out at the scale.
TEST(ImageStringParser, DestOffsetsAreScaledByTheWindowsScale) {
    const auto steps =
        CImageStringParser::Steps("res='179' dest='14,0,137,24'", nullptr, TRect{0, 0, 300, 36}, Loom::DpiScale(144));
    EXPECT_EQ(steps.at(0).dest, (TRect{21, 0, 206, 36}));
}

TEST(ImageStringParser, ModifyStringOverridesTheImageString) {
    auto steps = Steps("res='164' restype='png' dest='5,5,50,20' fade='100'", "dest='0,0,10,10'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].dest, (TRect{100, 50, 110, 60}));
    EXPECT_EQ(steps[0].fade, 100);
    // A bare name keeps its name under a modify string.
    steps = Steps("glyph.png", "dest='0,0,10,10'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "glyph.png");
    EXPECT_EQ(steps[0].dest, (TRect{100, 50, 110, 60}));
}

TEST(ImageStringParser, SeveralImagesAreDrawnInOrderWithSettingsCarriedOver) {
    auto steps = Steps("file='a.png' fade='100' file='b.png' hole='true'");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].name, "a.png");
    EXPECT_EQ(steps[0].fade, 100);
    EXPECT_FALSE(steps[0].hole);
    EXPECT_EQ(steps[1].name, "b.png");
    EXPECT_EQ(steps[1].fade, 100);
    EXPECT_TRUE(steps[1].hole);
}

TEST(ImageStringParser, ResAloneDoesNotNameAnImageButRestypeDoes) {
    auto steps = Steps("res='1' res='2'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "2");
    steps = Steps("res='1' restype='png' res='2' restype='png'");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].name, "1");
    EXPECT_EQ(steps[1].name, "2");
    EXPECT_EQ(steps[1].type, "png");
}

TEST(ImageStringParser, FileAfterResourceIsLoadedAsAFile) {
    auto steps = Steps("res='1' restype='png' file='b.png'");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].type, "png");
    EXPECT_EQ(steps[1].name, "b.png");
    EXPECT_EQ(steps[1].type, "");
}

TEST(ImageStringParser, PendingImagesAreCountedPerString) {
    // The image named in the image string is not pending in the modify
    // string: a name there replaces it.
    auto steps = Steps("file='a.png'", "file='b.png'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "b.png");
}

TEST(ImageStringParser, ParsingStopsSilentlyAtABrokenPair) {
    CImageStringParser p("file='a.png' dest='0,0,5", kItem);
    auto status = p.Parse("file='a.png' dest='0,0,5");
    EXPECT_EQ(status.stop, ImageStringStop::NoClosingQuote);
    auto steps = p.Finish();
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "a.png");
    EXPECT_EQ(steps[0].dest, kItem);

    CImageStringParser q("", kItem);
    EXPECT_EQ(q.Parse("file='a.png'dest='1,1,2,2'").stop, ImageStringStop::NoSeparator);
    EXPECT_EQ(q.Parse("file 'a.png'").stop, ImageStringStop::NoEquals);
    EXPECT_EQ(q.Parse("file=a.png").stop, ImageStringStop::NoOpeningQuote);
    auto s2 = q.Parse("  file = 'x.png'   fade='7'  ");
    EXPECT_EQ(s2.stop, ImageStringStop::End);
    steps = q.Finish();
    // a.png was named in an earlier string, so x.png replaces it.
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "x.png");
    EXPECT_EQ(steps[0].fade, 7);
}

TEST(ImageStringParser, BrokenStringKeepsTheWholeTextAsName) {
    auto steps = Steps("file 'a.png'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "file 'a.png'");
}

TEST(ImageStringParser, EmptyValuesAndUnknownKeysAreIgnored) {
    auto steps = Steps("file='' colour='red' dest='0,0,1,1'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "file='' colour='red' dest='0,0,1,1'");
    EXPECT_EQ(steps[0].dest, (TRect{100, 50, 101, 51}));
}

TEST(ImageStringParser, EmptyOrNullStringsDrawNothing) {
    EXPECT_TRUE(Steps("").empty());
    EXPECT_TRUE(Steps(nullptr).empty());
    EXPECT_TRUE(Steps("", "dest='0,0,1,1'").empty());
}

TEST(ImageStringParser, HugeAndNegativeNumbersAreBounded) {
    auto steps = Steps("file='a' dest='2147483647,-2147483648,2147483647,2147483647' fade='300'");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].dest.left, INT_MAX);
    EXPECT_EQ(steps[0].dest.top, INT_MIN + 50);
    EXPECT_EQ(steps[0].dest.right, 200);
    EXPECT_TRUE(steps[0].dest.IsEmpty());
    EXPECT_EQ(steps[0].fade, 255);
    steps = Steps("file='a' fade='-5' mask='FF00FF'");
    EXPECT_EQ(steps.at(0).fade, 0);
    EXPECT_EQ(steps.at(0).mask, 0x00FF00FFu);
}
