// A thousand rounds of every drawing operation, bad input included, must not
// leave a single GDI object behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Loom/Render/Render.h"
#include "Loom/Render/RenderBlend.h"
#include "RenderTestContext.h"
#include "RenderTestSurface.h"

using Loom::CRenderBlend;
using Loom::CRenderClip;
using Loom::CRenderer;

namespace {

// GetGuiResources is not implemented under Wine (it answers 0), so the
// objects in use are also counted by how many more the process can create.
int FreeGdiHandles() {
    std::vector<HRGN> probe;
    while (probe.size() < 200000) {
        HRGN r = ::CreateRectRgn(0, 0, 1, 1);
        if (!r) break;
        probe.push_back(r);
    }
    for (HRGN r : probe) ::DeleteObject(r);
    return int(probe.size());
}

DWORD GuiObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

void DrawEverything(HDC dc, LoomTest::RenderTestContext& context, int round) {
    CRenderBlend::ForceFallback(round % 2 == 1);
    RECT full{0, 0, 64, 64}, bad{40, 40, 10, 10}, huge{-2000000000, -5, 2000000000, 2000000000};
    CRenderer::DrawColor(dc, full, 0x80FF0000);
    CRenderer::DrawColor(dc, full, 0xFF00FF00);
    CRenderer::DrawColor(dc, bad, 0x80FF0000);
    CRenderer::DrawColor(dc, huge, 0x10FFFFFF);
    CRenderer::DrawGradient(dc, full, 0x80FF0000, 0x800000FF, true, 16);
    CRenderer::DrawGradient(dc, full, 0xFFFF0000, 0xFF0000FF, true, 3);
    CRenderer::DrawGradient(dc, huge, 0x40FF0000, 0x400000FF, true, 99);
    CRenderer::DrawLine(dc, full, 2, 0xFF000000, PS_DASH);
    CRenderer::DrawRect(dc, full, 3, 0xFF000000);
    CRenderer::DrawRoundRect(dc, full, 1, 5, 5, 0xFF000000);
    {
        CRenderClip clip = CRenderClip::ClipToRoundRect(dc, full, RECT{2, 2, 60, 60}, 6, 6);
        CRenderClip inner;
        CRenderClip::GenerateClip(dc, RECT{4, 4, 30, 30}, inner);
        CRenderer::DrawImageString(dc, &context, full, full, "res='164' restype='png' corner='2,2,2,2' fade='200'");
        CRenderer::DrawImageString(dc, &context, full, full,
                                   "res='164' restype='png' xtiled='true' ytiled='true' source='2,2,4,4'");
        CRenderer::DrawImageString(dc, &context, full, full, "missing.png");
        CRenderer::DrawImageString(dc, &context, bad, full, "res='164' restype='png' dest='0,0,9999999999,5");
    }
    RECT rc = full;
    CRenderer::DrawText(dc, &context, rc, "Text & more", 0xFF000000, 1, DT_SINGLELINE | DT_CENTER);
    RECT links[2];
    std::string texts[2];
    int count = 2;
    rc = full;
    CRenderer::DrawHtmlText(dc, &context, rc,
                            "{b}b{/b}{i}i{/i}{u}u{/u}{s}s{/s}{f Arial 13 bold}f{/f}{a x}link{/a}{c #f00}c{/c}"
                            "{p 3}{x 4}{y 20}{i res='164' restype='png' 2 1}<b}unbalanced{/c}{/a}{r}{b}{/r}"
                            "中文 wrap words here",
                            0xFF000000, links, texts, count, DT_WORDBREAK | DT_CENTER | DT_VCENTER);
    rc = full;
    count = 0;
    CRenderer::DrawHtmlText(dc, &context, rc, "abcdefghijklmnopqrstuvwxyz", 0xFF000000, nullptr, nullptr, count,
                            DT_SINGLELINE | DT_END_ELLIPSIS);
    Loom::TImagePtr image = CRenderer::LoadImage(MAKEINTRESOURCEA(164), "PNG", 0xFFFF00FF);
    Loom::TImagePtr none = CRenderer::LoadImage("missing.png", nullptr, 0);
}

}  // namespace

TEST(RenderLeakTest, ThousandRoundsOfDrawingLeaveNoGdiObjectBehind) {
    LoomTest::RenderTestContext context;
    context.Add("Tahoma", 12, false, false, false);
    LoomTest::RenderTestSurface surface(64, 64);
    DrawEverything(surface.dc(), context, 0);  // fonts and images enter the tables once
    DrawEverything(surface.dc(), context, 1);
    const size_t fonts = context.FontCount();
    const int freeBefore = FreeGdiHandles();
    const DWORD objectsBefore = GuiObjects();
    for (int round = 0; round < 1000; ++round) DrawEverything(surface.dc(), context, round);
    CRenderBlend::ForceFallback(false);
    EXPECT_EQ(context.FontCount(), fonts);
    EXPECT_EQ(GuiObjects(), objectsBefore);
    EXPECT_EQ(FreeGdiHandles(), freeBefore);
}

TEST(RenderLeakTest, TheLeakProbeSeesALeak) {
    const int before = FreeGdiHandles();
    HBRUSH leaked = ::CreateSolidBrush(0);
    EXPECT_EQ(FreeGdiHandles(), before - 1);
    ::DeleteObject(leaked);
    EXPECT_EQ(FreeGdiHandles(), before);
}
