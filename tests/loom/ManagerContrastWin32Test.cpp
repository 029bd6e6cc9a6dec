// High contrast: while it is on, the system's colours stand in for the
// skin's; a change of the colours or the setting repaints the window; off
// again, the skin is back. Wine cannot switch the setting, so the toolkit's
// test seam says "on"; the colours are the system's, set by the test.
#include <gtest/gtest.h>

#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/ComboUI.h"
#include "Loom/Control/EditUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "Loom/Render/HighContrast.h"
#include "tests/loom/ControlTestSupport.h"

using namespace Loom;
using namespace LoomTest;

namespace {

constexpr DWORD kWindow = 0x102030, kText = 0xF0E0D0, kFace = 0x303000, kFaceText = 0x00F0F0, kHighlight = 0x800080,
                kHighlightText = 0xFFFF00, kGray = 0x909090;

void Announce(TestWindow& w, CHighContrast::Forced forced) {
    CHighContrast::ForceForTesting(forced);
    w.Send(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST);
    ::UpdateWindow(w.GetHWND());
}

RECT Inner(const RECT& rc) { return RECT{rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2}; }

}  // namespace

TEST(ManagerContrast, SystemColoursStandInForTheSkinsWhileOnAndTheSkinComesBackOff) {
    ContrastScheme colours{{COLOR_WINDOW, kWindow},       {COLOR_WINDOWTEXT, kText},
                           {COLOR_BTNFACE, kFace},        {COLOR_BTNTEXT, kFaceText},
                           {COLOR_HIGHLIGHT, kHighlight}, {COLOR_HIGHLIGHTTEXT, kHighlightText},
                           {COLOR_GRAYTEXT, kGray}};
    auto* label = Make<CLabelUI>("height=\"20\" text=\"Label text\" textcolor=\"#FF00FF00\"");
    auto* button = Make<CButtonUI>("height=\"24\" text=\"Press\" bkcolor=\"#FFFF0000\" textcolor=\"#FF0000FF\"");
    auto* focused = Make<CButtonUI>("height=\"24\" text=\"Focus\" bkcolor=\"#FFFF0000\"");
    auto* edit = Make<CEditUI>("height=\"22\" text=\"edit\" textcolor=\"#FF00FF00\"");
    auto* disabled = Make<CLabelUI>("height=\"20\" text=\"Disabled\" enabled=\"false\"");
    auto* html = Make<CLabelUI>("height=\"20\" showhtml=\"true\"");
    html->SetText("<c #FFFF0000>red</c>");
    CControlUI* separator = Leaf("height=\"2\" bkcolor=\"#FFFFC700\"");
    // The mask gives the image alpha: the button draws its shape.
    auto* imageOnly = Make<CButtonUI>("height=\"20\" normalimage=\"res='401' restype='png' mask='#FF20A040'\"");
    auto* root = Box<CVerticalLayoutUI>(
        "bkcolor=\"#FF3366CC\" bkcolor2=\"#FF3366CC\" inset=\"4,4,4,4\"",
        {label, button, focused, edit, disabled, html, separator, imageOnly, Make<CComboUI>("height=\"22\"")});
    TestWindow w;
    ASSERT_TRUE(w.Open(120, 220, root));
    focused->SetFocus();
    PixelSurface s(120, 220);

    Announce(w, CHighContrast::Forced::On);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(1, 1), kWindow);
    EXPECT_GT(CountColour(s, label->GetPos(), kText), 0);
    EXPECT_EQ(CountColour(s, label->GetPos(), 0x00FF00), 0);
    // A button: its face framed in its text colour; focused, the highlight.
    EXPECT_EQ(s.At(button->GetPos().left, button->GetPos().top + 10), kFaceText);
    EXPECT_EQ(s.At(button->GetPos().left + 2, button->GetPos().top + 2), kFace);
    EXPECT_GT(CountColour(s, Inner(button->GetPos()), kFaceText), 0);
    EXPECT_EQ(s.At(focused->GetPos().left + 2, focused->GetPos().top + 2), kHighlight);
    EXPECT_GT(CountColour(s, Inner(focused->GetPos()), kHighlightText), 0);
    // An edit: the window colour in a frame of the text colour.
    EXPECT_EQ(s.At(edit->GetPos().left, edit->GetPos().top + 10), kText);
    EXPECT_EQ(s.At(edit->GetPos().right - 3, edit->GetPos().top + 3), kWindow);
    EXPECT_GT(CountColour(s, Inner(edit->GetPos()), kText), 0);
    EXPECT_GT(CountColour(s, disabled->GetPos(), kGray), 0);
    EXPECT_EQ(CountColour(s, disabled->GetPos(), kText), 0);
    EXPECT_GT(CountColour(s, html->GetPos(), kText), 0);  // its colour tag is the skin's
    EXPECT_EQ(CountPixels(s, html->GetPos(), IsReddish), 0);
    EXPECT_EQ(s.At(20, separator->GetPos().top), kText);

    // Painting it all again and again keeps no GDI object.
    const int gdiBefore = CountGdiObjects();
    for (int i = 0; i < 200; ++i) {
        ::InvalidateRect(w.GetHWND(), nullptr, FALSE);
        ::UpdateWindow(w.GetHWND());
    }
    EXPECT_EQ(CountGdiObjects(), gdiBefore);

    // A colour changed while on comes in with the system's announcement.
    colours.Set(COLOR_WINDOW, 0x204060);
    EXPECT_TRUE(TestWindow::PumpUntil(
        [&] {
            CaptureClient(w.GetHWND(), s);
            return s.At(1, 1) == 0x204060u;
        },
        5000));

    Announce(w, CHighContrast::Forced::Off);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(1, 1), 0x3366CCu);
    EXPECT_GT(CountColour(s, label->GetPos(), 0x00FF00), 0);
    EXPECT_EQ(s.At(button->GetPos().left + 2, button->GetPos().top + 2), 0xFF0000u);
    EXPECT_EQ(s.At(20, separator->GetPos().top), 0xFFC700u);
    EXPECT_GT(CountPixels(s, html->GetPos(), IsReddish), 0);
}
