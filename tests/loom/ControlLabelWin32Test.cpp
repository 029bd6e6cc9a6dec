// The label: attributes, plain and effect text, the effect text rules, the
// qualified-name exceptions of its setters and getters, and GDI+ painting
// that leaves nothing behind.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ControlTestSupport.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "TestHeap.h"

using namespace Loom;
using namespace LoomTest;

// A real allocation failure inside the label's text operations is reached
// through the test program's allocator (TestHeap.h), armed to fail the next
// allocation.

namespace {

// A parent that cannot tell its position while armed: whatever asks for it
// (a child's invalidation does) gets an exception.
class UnplacedParentUI : public CVerticalLayoutUI {
public:
    bool armed = false;
    const RECT& GetPos() const override {
        if (armed) throw std::logic_error("no position");
        return CVerticalLayoutUI::GetPos();
    }
};

CLabelUI* Label(const char* attributes) { return Make<CLabelUI>(attributes); }

// A window with a tall bold font (index 0) and the given labels stacked.
struct LabelWindow {
    TestWindow window;
    CVerticalLayoutUI* root = new CVerticalLayoutUI;

    bool Open(std::initializer_list<CLabelUI*> labels, int cx = 200, int cy = 120) {
        for (CLabelUI* label : labels) root->Add(label);
        if (!window.Open(cx, cy, nullptr)) return false;
        window.Manager().AddFont("Tahoma", 28, true, false, false);
        window.Manager().SetRootControl(root);
        window.Paint();
        return true;
    }
    void Print(PixelSurface& surface) { PrintClient(window.GetHWND(), surface); }
};

const char* const kEffects =
    "font=\"0\" height=\"40\" textcolor=\"#FFFF0000\" transtext=\"255\" transtext1=\"255\" "
    "enabledeffect=\"true\"";

}  // namespace

// --- attributes --------------------------------------------------------------

TEST(LabelAttributes, AlignWordsEditTheStyleInOrder) {
    CLabelUI label;
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER));
    label.SetAttribute("align", "right");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_RIGHT));
    label.SetAttribute("align", "left");
    EXPECT_EQ(label.GetTextStyle(), 0u);
    // "vcenter" holds "center" too, and vcenter itself sets the centre bit.
    label.SetAttribute("align", "vcenter");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    label.SetAttribute("align", "bottom");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_CENTER | DT_BOTTOM | DT_SINGLELINE));
    label.SetAttribute("align", "top");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_CENTER | DT_SINGLELINE));
    label.SetAttribute("endellipsis", "true");
    EXPECT_EQ(label.GetTextStyle() & DT_END_ELLIPSIS, static_cast<UINT>(DT_END_ELLIPSIS));
    label.SetAttribute("endellipsis", "false");
    EXPECT_EQ(label.GetTextStyle() & DT_END_ELLIPSIS, 0u);
}

TEST(LabelAttributes, TextLookAttributes) {
    CLabelUI label;
    label.ApplyAttributeList(
        "font=\"3\" textcolor=\"#FF102030\" disabledtextcolor=\"#FF405060\" textpadding=\"1,2,3,4\" showhtml=\"true\"");
    EXPECT_EQ(label.GetFont(), 3);
    EXPECT_EQ(label.GetTextColor(), 0xFF102030u);
    EXPECT_EQ(label.GetDisabledTextColor(), 0xFF405060u);
    const RECT padding = label.GetTextPadding();
    EXPECT_EQ(padding.left + padding.top * 10 + padding.right * 100 + padding.bottom * 1000, 4321);
    EXPECT_TRUE(label.IsShowHtml());
    EXPECT_STREQ(label.GetClass(), "LabelUI");
    EXPECT_EQ(label.GetInterface("Label"), &label);
    EXPECT_EQ(label.GetInterface("Control"), &label);
}

TEST(LabelAttributes, EffectDefaultsAndAttributes) {
    CLabelUI label;
    EXPECT_FALSE(label.GetEnabledEffect());
    EXPECT_EQ(label.GetTransShadow(), 60);
    EXPECT_EQ(label.GetTransText(), 168);
    EXPECT_EQ(label.GetTransStroke(), 255);
    EXPECT_EQ(label.GetTextColor1(), 0xFFFFFFFFu);
    EXPECT_EQ(label.GetTextShadowColorA(), 0xFF000000u);
    EXPECT_EQ(label.GetTextShadowColorB(), 0xFFFFFFFFu);
    label.ApplyAttributeList(
        "enabledeffect=\"true\" enabledstroke=\"true\" enabledshadow=\"true\" rhaa=\"4\" transshadow=\"10\" "
        "transshadow1=\"11\" transtext=\"12\" transtext1=\"13\" transstroke=\"14\" gradientangle=\"30\" "
        "gradientlength=\"40\" textcolor1=\"#FF010203\" textshadowcolora=\"#FF040506\" "
        "textshadowcolorb=\"#FF070809\" strokecolor=\"#FF0A0B0C\"");
    EXPECT_TRUE(label.GetEnabledEffect());
    EXPECT_TRUE(label.GetEnabledStroke());
    EXPECT_TRUE(label.GetEnabledShadow());
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 4);
    EXPECT_EQ(label.GetTransShadow() + label.GetTransShadow1() + label.GetTransText() + label.GetTransText1() +
                  label.GetTransStroke(),
              10 + 11 + 12 + 13 + 14);
    EXPECT_EQ(label.GetGradientAngle(), 30);
    EXPECT_EQ(label.GetGradientLength(), 40);
    EXPECT_EQ(label.GetTextColor1(), 0xFF010203u);
    EXPECT_EQ(label.GetTextShadowColorA(), 0xFF040506u);
    EXPECT_EQ(label.GetTextShadowColorB(), 0xFF070809u);
    EXPECT_EQ(label.GetStrokeColor(), 0xFF0A0B0Cu);
    label.SetAttribute("rhaa", "6");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 0);
}

TEST(LabelAttributes, ShadowOffsetIsADisplacementAndIgnoresAnglesOutOfRange) {
    CLabelUI label;
    label.SetAttribute("shadowoffset", "4,90");
    EXPECT_NEAR(label.GetShadowOffset().x, 0.0f, 1e-4f);
    EXPECT_NEAR(label.GetShadowOffset().y, 4.0f, 1e-4f);
    label.SetAttribute("shadowoffset", "2,200");  // ignored
    EXPECT_NEAR(label.GetShadowOffset().y, 4.0f, 1e-4f);
    label.SetAttribute("shadowoffset", "2,-180");
    EXPECT_NEAR(label.GetShadowOffset().x, -2.0f, 1e-4f);
    EXPECT_NEAR(label.GetShadowOffset().y, 0.0f, 1e-4f);
    label.SetShadowOffset(3, 0);
    EXPECT_NEAR(label.GetShadowOffset().x, 3.0f, 1e-4f);
}

// --- text and events ---------------------------------------------------------

TEST(LabelText, WithEffectsOnTheTextIsTheEffectText) {
    CLabelUI label;
    label.SetText("plain");
    label.SetEnabledEffect(true);
    EXPECT_EQ(label.GetText(), "");
    label.SetText("effect");
    EXPECT_EQ(label.GetText(), "effect");
    label.SetEnabledEffect(false);
    EXPECT_EQ(label.GetText(), "plain");
}

TEST(LabelText, EstimateSizeIsTheFontHeightPlusFour) {
    auto* fixed = Label("width=\"30\" height=\"17\"");
    auto* free = Label("width=\"30\"");
    LabelWindow w;
    ASSERT_TRUE(w.Open({fixed, free}));
    const SIZE a = fixed->EstimateSize(SIZE{100, 100});
    EXPECT_EQ(a.cx, 30);
    EXPECT_EQ(a.cy, 17);
    const SIZE b = free->EstimateSize(SIZE{100, 100});
    EXPECT_EQ(b.cx, 30);
    EXPECT_EQ(b.cy, w.window.Manager().GetDefaultFontInfo().tmHeight + 4);
}

TEST(LabelText, FocusEventsOnlySetTheFocusedFlag) {
    CLabelUI label;
    UIEvent event;
    event.kind = EventSetFocus;
    label.DoEvent(event);
    EXPECT_TRUE(label.IsFocused());
    event.kind = EventKillFocus;
    label.DoEvent(event);
    EXPECT_FALSE(label.IsFocused());
}

// --- failures carry the qualified name -----------------------------------------

TEST(LabelFailures, GetTextTurnsAnAllocationFailureIntoItsName) {
    CLabelUI label;
    label.SetText(std::string(100, 'x'));
    std::string what;
    FailNextAllocations(1);
    try {
        label.GetText();
    } catch (const std::runtime_error& e) {
        what = e.what();
    }
    FailNextAllocations(0);
    EXPECT_EQ(what, "CLabelUI::GetText");
}

TEST(LabelFailures, SetTextTurnsAnAllocationFailureIntoItsName) {
    CLabelUI label;
    label.SetEnabledEffect(true);
    const std::string text(100, 'y');
    std::string what;
    FailNextAllocations(1);
    try {
        label.SetText(text);
    } catch (const std::runtime_error& e) {
        what = e.what();
    }
    FailNextAllocations(0);
    EXPECT_EQ(what, "CLabelUI::SetText");
    label.SetText(text);
    EXPECT_EQ(label.GetText(), text);
}

TEST(LabelFailures, EffectSetterTurnsAFailedInvalidationIntoItsName) {
    auto* parent = new UnplacedParentUI;
    auto* label = Label("height=\"20\"");
    parent->Add(label);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, parent));
    parent->armed = true;
    std::string what;
    try {
        label->SetTransShadow(99);
    } catch (const std::runtime_error& e) {
        what = e.what();
    }
    std::string strokeWhat;
    try {
        label->SetStrokeColor(0xFF00FF00);
    } catch (const std::runtime_error& e) {
        strokeWhat = e.what();
    }
    parent->armed = false;
    EXPECT_EQ(what, "CLabelUI::SetTransShadow");
    EXPECT_EQ(strokeWhat, "CLabelUI::SetStrokeColor");
    EXPECT_EQ(label->GetTransShadow(), 99);  // stored before the invalidation failed
}

// --- painting ----------------------------------------------------------------

TEST(LabelPaint, PlainTextIsDrawnInItsColour) {
    auto* label = Label("font=\"0\" height=\"40\" textcolor=\"#FFFF0000\" text=\"WWWW\"");
    LabelWindow w;
    ASSERT_TRUE(w.Open({label}));
    PixelSurface s(200, 120);
    w.Print(s);
    EXPECT_GT(CountPixels(s, label->GetPos(), IsReddish), 20);
    label->SetEnabled(false);  // the default disabled colour is grey
    s.Fill(0xFFFFFF);
    w.Print(s);
    EXPECT_EQ(CountPixels(s, label->GetPos(), IsReddish), 0);
    EXPECT_GT(CountNotColour(s, label->GetPos(), 0xFFFFFF), 20);
}

TEST(LabelPaint, EffectTextIsDrawnThroughGdiplus) {
    auto* label = Label(kEffects);
    label->SetText("WWWW");
    LabelWindow w;
    ASSERT_TRUE(w.Open({label}));
    PixelSurface s(200, 120);
    w.Print(s);
    EXPECT_GT(CountPixels(s, label->GetPos(), IsReddish), 20);
}

TEST(LabelPaint, TextGivenBeforeTheEffectsDrawsNothing) {
    auto* late = Label("font=\"0\" height=\"40\" textcolor=\"#FFFF0000\" text=\"WWWW\" enabledeffect=\"true\"");
    LabelWindow w;
    ASSERT_TRUE(w.Open({late}));
    PixelSurface s(200, 120);
    w.Print(s);
    EXPECT_EQ(CountNotColour(s, late->GetPos(), 0xFFFFFF), 0);
    EXPECT_EQ(late->GetText(), "");
}

TEST(LabelPaint, StrokeAndShadowDrawAroundTheText) {
    auto* plain = Label(kEffects);
    plain->SetText("I");
    auto* dressed = Label(kEffects);
    dressed->ApplyAttributeList(
        "enabledstroke=\"true\" strokecolor=\"#FF0000FF\" enabledshadow=\"true\" textshadowcolora=\"#FF00FF00\" "
        "transshadow=\"255\" transshadow1=\"255\" shadowoffset=\"6,0\"");
    dressed->SetText("I");
    LabelWindow w;
    ASSERT_TRUE(w.Open({plain, dressed}));
    PixelSurface s(200, 120);
    w.Print(s);
    const auto bluish = [](DWORD c) { return (c & 0xFF) > 150 && ((c >> 16) & 0xFF) < 100; };
    const auto greenish = [](DWORD c) {
        return ((c >> 8) & 0xFF) > 100 && ((c >> 16) & 0xFF) < 100 && (c & 0xFF) < 100;
    };
    EXPECT_EQ(CountPixels(s, plain->GetPos(), bluish), 0);
    EXPECT_EQ(CountPixels(s, plain->GetPos(), greenish), 0);
    EXPECT_GT(CountPixels(s, dressed->GetPos(), bluish), 0);
    EXPECT_GT(CountPixels(s, dressed->GetPos(), greenish), 0);
    EXPECT_GT(CountPixels(s, dressed->GetPos(), IsReddish), 0);
}

TEST(LabelPaint, HundredsOfEffectPaintsAndLabelsLeaveNoGdiObjectsOrHandles) {
    auto* label = Label(kEffects);
    label->ApplyAttributeList(
        "enabledstroke=\"true\" strokecolor=\"#FF0000FF\" enabledshadow=\"true\" shadowoffset=\"2,45\" "
        "gradientangle=\"20\" textcolor1=\"#FF00FF00\" rhaa=\"4\"");
    label->SetText("Effects 效果");
    auto* plain = Label("text=\"Plain\" showhtml=\"true\"");
    LabelWindow w;
    ASSERT_TRUE(w.Open({label, plain}));
    for (int i = 0; i < 5; ++i) w.window.Paint();
    const int gdiBefore = CountGdiObjects();
    const int handlesBefore = CountHandles();
    for (int i = 0; i < 300; ++i) {
        ::InvalidateRect(w.window.GetHWND(), nullptr, FALSE);
        ::UpdateWindow(w.window.GetHWND());
    }
    for (int i = 0; i < 50; ++i) {
        CLabelUI extra;  // each label starts and stops GDI+
    }
    TestWindow::Pump();
    EXPECT_EQ(CountGdiObjects(), gdiBefore);
    EXPECT_EQ(CountHandles(), handlesBefore);
}
