// Html text and plain text drawn with real fonts into DIB sections. The
// expected pictures are composed with plain TextOut calls in the fonts the
// tags ask for, so each case checks placement, fonts and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Loom/Render/Render.h"
#include "RenderTestContext.h"
#include "RenderTestSurface.h"
#include "platform/Wide.h"

using Loom::CRenderer;
using LoomTest::RenderTestContext;
using LoomTest::RenderTestSurface;

namespace {

class HtmlTextTest : public ::testing::Test {
protected:
    HFONT Default() { return context.GetFont(-1); }
    HFONT Variant(bool bold, bool underline) { return context.GetOrAddFont("Tahoma", 16, bold, underline, false); }
    int LineHeight(HFONT f) {
        const TEXTMETRICW& tm = context.GetFontInfo(f);
        return tm.tmHeight + tm.tmExternalLeading;
    }
    int Width(HFONT f, const std::string& s) {
        UniqueMemDC dc = CompatibleDC(nullptr);
        SelectGuard sel(dc.get(), f);
        SIZE size{};
        const std::wstring w = Text::Widen(s);
        ::GetTextExtentPoint32W(dc.get(), w.c_str(), int(w.size()), &size);
        return size.cx;
    }
    // Plain text the way the expected pictures are made.
    void Put(RenderTestSurface& s, HFONT f, int x, int y, const std::string& text, COLORREF colour = 0) {
        SelectGuard sel(s.dc(), f);
        ::SetBkMode(s.dc(), TRANSPARENT);
        ::SetTextColor(s.dc(), colour);
        const std::wstring w = Text::Widen(text);
        ::TextOutW(s.dc(), x, y, w.c_str(), int(w.size()));
    }
    void Html(RenderTestSurface& s, const char* text, UINT format, RECT rc) {
        int none = 0;
        CRenderer::DrawHtmlText(s.dc(), &context, rc, text, 0xFF000000, nullptr, nullptr, none, format);
    }

    RenderTestContext context;
};

}  // namespace

TEST_F(HtmlTextTest, BoldTagAroundTheFirstLetterInBracesAndAngles) {
    const int lineH = std::max(LineHeight(Default()), LineHeight(Variant(true, false)));
    RenderTestSurface want(120, 30);
    Put(want, Variant(true, false), 0, lineH - LineHeight(Variant(true, false)), "W");
    Put(want, Default(), Width(Variant(true, false), "W"), lineH - LineHeight(Default()), "W");
    RenderTestSurface plain(120, 30);
    Put(plain, Default(), 0, 0, "WW");
    ASSERT_GT(want.Diff(plain), 0);  // the bold letter shows
    for (const char* text : {"{b}W{/b}W", "<b>W</b>W", "<b}W{/b>W"}) {
        RenderTestSurface got(120, 30);
        Html(got, text, DT_SINGLELINE, RECT{0, 0, 120, 30});
        EXPECT_EQ(got.Diff(want), 0) << text;
    }
}

TEST_F(HtmlTextTest, ColourTagDrawsRedWithOrWithoutHash) {
    for (const char* text : {"{c FF0000}MW{/c}", "{c #FF0000}MW{/c}", "<c #ffff0000>MW</c>"}) {
        RenderTestSurface got(60, 30);
        Html(got, text, 0, RECT{0, 0, 60, 30});
        RenderTestSurface want(60, 30);
        Put(want, Default(), 0, 0, "MW", RGB(255, 0, 0));
        EXPECT_EQ(got.Diff(want), 0) << text;
        EXPECT_GT(got.CountNot(RECT{0, 0, 60, 30}, 0xFFFFFF), 10) << text;
    }
}

TEST_F(HtmlTextTest, UnderlinedLinkRecordsOneRectangleAndOneText) {
    RECT links[4] = {};
    std::string texts[4];
    int count = 4;
    RenderTestSurface got(300, 30);
    RECT rc{10, 2, 300, 30};
    const char* text = "{u}{a https://velmora.example}velmora.example{/a}{/u}";
    CRenderer::DrawHtmlText(got.dc(), &context, rc, text, 0xFF000000, links, texts, count, 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(texts[0], "https://velmora.example");
    const int w = Width(Variant(false, true), "velmora.example");
    EXPECT_EQ(links[0].left, 10);
    EXPECT_EQ(links[0].top, 2);
    EXPECT_EQ(links[0].right, 10 + w);
    EXPECT_EQ(links[0].bottom, 2 + LineHeight(Variant(false, true)));
    RenderTestSurface want(300, 30);
    Put(want, Variant(false, true), 10, 2, "velmora.example", RGB(0, 0, 255));
    EXPECT_EQ(got.Diff(want), 0);
}

TEST_F(HtmlTextTest, HoveredLinkIsDrawnInTheHoverColour) {
    RECT links[1] = {{0, 0, 100, 20}};
    std::string texts[1] = {"go"};
    int count = 1;
    context.mouse = POINT{5, 5};
    RenderTestSurface got(100, 20);
    RECT rc{0, 0, 100, 20};
    CRenderer::DrawHtmlText(got.dc(), &context, rc, "{a go}Go{/a}", 0xFF000000, links, texts, count, 0);
    RenderTestSurface want(100, 20);
    Put(want, Variant(false, true), 0, 0, "Go", RGB(0xD3, 0x21, 0x5F));
    EXPECT_EQ(got.Diff(want), 0);
    EXPECT_EQ(count, 1);
}

TEST_F(HtmlTextTest, EndEllipsisAtTheRightEdge) {
    const std::string text = "abcdefghijklmnopqrstuvwxyz";
    UniqueMemDC dc = CompatibleDC(nullptr);
    SelectGuard sel(dc.get(), Default());
    INT fit = 0;
    SIZE size{};
    ::GetTextExtentExPointA(dc.get(), text.c_str(), int(text.size()), 100, &fit, nullptr, &size);
    ASSERT_GT(fit, 3);
    RenderTestSurface got(160, 30), want(160, 30);
    Html(got, text.c_str(), DT_SINGLELINE | DT_END_ELLIPSIS, RECT{0, 0, 100, 30});
    Put(want, Default(), 0, 0, text.substr(0, fit - 2) + "...");
    EXPECT_EQ(got.Diff(want), 0);
    EXPECT_EQ(got.CountNot(RECT{100, 0, 160, 30}, 0xFFFFFF), 0);  // clipped at the edge
}

TEST_F(HtmlTextTest, WordBreakWrapsWholeWords) {
    const int width = Width(Default(), "alpha beta gam");
    RenderTestSurface got(200, 60), want(200, 60);
    Html(got, "alpha beta gamma delta", DT_WORDBREAK, RECT{0, 0, width, 60});
    Put(want, Default(), 0, 0, "alpha beta ");
    Put(want, Default(), 0, LineHeight(Default()), "gamma delta");
    EXPECT_EQ(got.Diff(want), 0);
}

TEST_F(HtmlTextTest, MeasureOnlyReturnsTheExtentAndDrawsNothing) {
    RenderTestSurface got(200, 60);
    RECT rc{5, 5, 195, 55};
    int none = 0;
    CRenderer::DrawHtmlText(got.dc(), &context, rc, "abc{n}{b}abcdef{/b}", 0xFF000000, nullptr, nullptr, none,
                            DT_CALCRECT);
    EXPECT_EQ(got.CountNot(RECT{0, 0, 200, 60}, 0xFFFFFF), 0);
    EXPECT_EQ(rc.left, 5);
    EXPECT_EQ(rc.right, 5 + Width(Variant(true, false), "abcdef"));
    EXPECT_EQ(rc.bottom, 5 + LineHeight(Default()) + LineHeight(Variant(true, false)));
}

TEST_F(HtmlTextTest, CentredSingleLine) {
    RenderTestSurface got(100, 40), want(100, 40);
    Html(got, "Hi", DT_SINGLELINE | DT_CENTER | DT_VCENTER, RECT{0, 0, 100, 40});
    const int w = Width(Default(), "Hi"), h = LineHeight(Default());
    Put(want, Default(), (100 - w) / 2, (40 - h) / 2, "Hi");
    EXPECT_EQ(got.Diff(want), 0);
}

TEST_F(HtmlTextTest, InlineImageFromTheResources) {
    RenderTestSurface got(60, 30);
    Html(got, "{i res='164' restype='png'}", 0, RECT{0, 0, 60, 30});
    const int top = (LineHeight(Default()) - 6) / 2;
    EXPECT_EQ(got.Rgb(0, top), 0xFF0000u);
    EXPECT_EQ(got.Rgb(5, top + 5), 0xFFFF00u);
    EXPECT_EQ(got.CountNot(RECT{6, 0, 60, 30}, 0xFFFFFF), 0);
}

TEST_F(HtmlTextTest, ChineseTextIsDrawnAndNeverSplit) {
    // Too narrow for both bold characters after "中文": the line breaks
    // between them (every double-byte character may end a line), never
    // inside one.
    const HFONT bold = Variant(true, false);
    const int width = Width(Default(), "中文") + Width(bold, "粗体") - 1;
    RenderTestSurface got(300, 60), want(300, 60);
    Html(got, "中文{b}粗体{/b} 测试", DT_WORDBREAK, RECT{0, 0, width, 60});
    const int lineH = std::max(LineHeight(Default()), LineHeight(bold));
    Put(want, Default(), 0, lineH - LineHeight(Default()), "中文");
    Put(want, bold, Width(Default(), "中文"), lineH - LineHeight(bold), "粗");
    Put(want, bold, 0, 2 * lineH - LineHeight(bold), "体");
    Put(want, Default(), Width(bold, "体"), 2 * lineH - LineHeight(Default()), " 测试");
    EXPECT_EQ(got.Diff(want), 0);
}

TEST_F(HtmlTextTest, NothingHappensWithoutTextManagerOrRoom) {
    RenderTestSurface got(50, 20);
    RECT links[2] = {};
    std::string texts[2];
    for (RECT rc : {RECT{0, 0, 0, 20}, RECT{40, 0, 10, 20}, RECT{0, 0, 50, 20}}) {
        int count = 2;
        CRenderer::DrawHtmlText(got.dc(), &context, rc, IsRectEmpty(&rc) ? "{a x}x{/a}" : "", 0xFF000000, links, texts,
                                count, 0);
        EXPECT_EQ(count, 0);
        count = 2;
        CRenderer::DrawHtmlText(got.dc(), nullptr, rc, "{a x}x{/a}", 0xFF000000, links, texts, count, 0);
        EXPECT_EQ(count, 0);
    }
    RECT rc{0, 0, 50, 20};
    int count = 0;
    CRenderer::DrawHtmlText(got.dc(), &context, rc, nullptr, 0xFF000000, nullptr, nullptr, count, 0);
    EXPECT_EQ(got.CountNot(RECT{0, 0, 50, 20}, 0xFFFFFF), 0);
}

TEST_F(HtmlTextTest, DrawTextShowsAmpersandsAndFallsBackToTheDefaultFont) {
    RenderTestSurface got(100, 30), want(100, 30);
    RECT rc{0, 0, 100, 30};
    CRenderer::DrawText(got.dc(), &context, rc, "&Save", 0xFF0000FF, 57, DT_SINGLELINE);
    Put(want, Default(), 0, 0, "&Save", RGB(0, 0, 255));
    EXPECT_EQ(got.Diff(want), 0);
    CRenderer::DrawText(got.dc(), nullptr, rc, "x", 0xFF000000, 0, 0);
    CRenderer::DrawText(got.dc(), &context, rc, "", 0xFF000000, 0, 0);
    CRenderer::DrawText(got.dc(), &context, rc, nullptr, 0xFF000000, 0, 0);
    EXPECT_EQ(got.Diff(want), 0);
}
