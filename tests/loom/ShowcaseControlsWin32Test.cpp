// The visible check of the standard controls: a window built from markup
// with labels (one with text effects), buttons, an option group, check
// boxes, a progress bar, text with a link, edits, a combo with its
// drop-down open and a scrolled list. The screen is saved as
// controls_showcase.png in the build tree and probed at a few places.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Loom/Control/ComboUI.h"
#include "Loom/Control/EditUI.h"
#include "Loom/Control/ListUI.h"
#include "Loom/Control/ProgressUI.h"
#include "Loom/Builder/DialogBuilder.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"
#include "testkit/Showcase.h"

using namespace Loom;
using namespace LoomTest;

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 380;
constexpr int kShotHeight = kHeight;

// Image strings of the showcase's own PNG resources.
std::string Res(int id, const std::string& more = "") {
    return "res=&apos;" + std::to_string(id) + "&apos; restype=&apos;PNG&apos;" + (more.empty() ? "" : " " + more);
}

std::string Skin() {
    const std::string face = Res(kShowcaseButtonImage, "corner=&apos;6,6,6,6&apos;");
    const std::string thumb = Res(kShowcaseButtonImage, "corner=&apos;4,4,4,4&apos;");
    const std::string panel = Res(kShowcasePanelImage, "corner=&apos;10,10,10,10&apos;");
    std::string items;
    const char* channels[] = {" 410.12500", " 415.50000", " 420.00000", " 433.92000", " 438.12500",
                              " 445.00000", " 450.25000", " 463.75000", " 469.99000"};
    for (const char* c : channels) items += "<ListLabelElement text=\"" + std::string(c) + "\" height=\"22\" />";
    std::string rows;
    for (int n = 1; n <= 12; ++n) {
        rows += "<ListLabelElement height=\"20\" text=\"" + std::to_string(n) + ". Channel " +
                std::to_string((n - 1) % 8 + 1) + (n % 3 == 0 ? " written" : " read") + "\" />";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<Window size=\"560,380\">"
           "<Font name=\"Tahoma\" size=\"13\" default=\"true\" />"
           "<Font name=\"Tahoma\" size=\"22\" bold=\"true\" />"
           "<Font name=\"微软雅黑\" size=\"14\" />"
           "<Default name=\"VScrollBar\" value=\"width=&quot;10&quot; showbutton1=&quot;false&quot; "
           "showbutton2=&quot;false&quot; thumbnormalimage=&quot;" +
           thumb +
           "&quot; "
           "bknormalimage=&quot;" +
           Res(kShowcasePanelImage) +
           "&quot;\" />"
           "<Default name=\"Button\" value=\"height=&quot;28&quot; width=&quot;96&quot; normalimage=&quot;" +
           face +
           "&quot; hotbkcolor=&quot;#FFD6E4F5&quot; textcolor=&quot;#FF1F3550&quot;\" />"
           "<Default name=\"Option\" value=\"height=&quot;24&quot; width=&quot;90&quot; "
           "bordercolor=&quot;#FF8FA3BD&quot; "
           "bordersize=&quot;1&quot; selectedbkcolor=&quot;#FF3A73C4&quot; selectedtextcolor=&quot;#FFFFFFFF&quot; "
           "group=&quot;mode&quot; align=&quot;center&quot;\" />"
           "<Default name=\"Edit\" value=\"height=&quot;26&quot; bkcolor=&quot;#FFFFFFFF&quot; "
           "bordercolor=&quot;#FF9AA8BA&quot; bordersize=&quot;1&quot;\" />"
           "<VerticalLayout name=\"root\" bkcolor=\"#FFF3F5F8\" inset=\"14,10,14,10\" childpadding=\"8\">"
           "<Label name=\"title\" height=\"34\" font=\"1\" enabledeffect=\"true\" text=\"Standard controls\" "
           "textcolor=\"#FF3A73C4\" textcolor1=\"#FF183A6A\" enabledshadow=\"true\" shadowoffset=\"2,45\" "
           "textshadowcolora=\"#FF9AA8BA\" transtext=\"255\" transtext1=\"255\" />"
           "<HorizontalLayout height=\"28\" childpadding=\"8\">"
           "<Button name=\"read\" text=\"Read\" /><Button name=\"write\" text=\"Write\" />"
           "<Button name=\"off\" text=\"Disabled\" enabled=\"false\" />"
           "<Label text=\"频率 (MHz) 信道\" font=\"2\" textcolor=\"#FF1F3550\" />"
           "</HorizontalLayout>"
           "<HorizontalLayout height=\"24\" childpadding=\"6\">"
           "<Option name=\"transparent\" text=\"Transparent\" selected=\"true\" />"
           "<Option name=\"packet\" text=\"Packet\" /><Option name=\"relay\" text=\"Relay\" />"
           "<CheckBox name=\"remember\" text=\"Remember\" width=\"100\" selected=\"true\" bordercolor=\"#FF8FA3BD\" "
           "bordersize=\"1\" selectedbkcolor=\"#FFCFE8D4\" />"
           "<CheckBox name=\"unlock\" text=\"Unlock\" width=\"80\" bordercolor=\"#FF8FA3BD\" bordersize=\"1\" />"
           "</HorizontalLayout>"
           "<Progress name=\"progress\" height=\"14\" value=\"50\" bkcolor=\"#FFDDE3EA\" foreimage=\"" +
           Res(kShowcaseButtonImage, "corner=&apos;4,4,4,4&apos;") +
           "\" />"
           "<HorizontalLayout height=\"150\" childpadding=\"12\">"
           "<VerticalLayout width=\"250\" childpadding=\"8\">"
           "<Edit name=\"frequency\" text=\"438.12500\" />"
           "<Edit name=\"secret\" text=\"radio\" password=\"true\" />"
           "<Edit name=\"chinese\" text=\"中文文本\" font=\"2\" />"
           "<Combo name=\"channel\" height=\"26\" bkimage=\"" +
           panel +
           "\" textpadding=\"6,0,6,0\" "
           "dropboxsize=\"0,110\" itemtextpadding=\"6,0,6,0\">" +
           items +
           "</Combo>"
           "</VerticalLayout>"
           "<VerticalLayout name=\"listslot\" bkimage=\"" +
           panel +
           "\" inset=\"6,6,6,6\" childpadding=\"4\">"
           "<Text name=\"about\" height=\"36\" showhtml=\"true\" text=\"Eight channels, 410 to 470 MHz. "
           "{a http://example.invalid/manual}Read the manual{/a} first.\" />"
           "<List name=\"log\" bkcolor=\"#FFFFFFFF\" itemtextpadding=\"6,0,6,0\" itemlinecolor=\"#FFE4E9F0\" "
           "itemaltbk=\"true\" itembkcolor=\"#FFF6F8FB\">"
           "<ListHeader height=\"22\" bkcolor=\"#FFDDE3EA\">"
           "<ListHeaderItem text=\"Event\" width=\"200\" textcolor=\"#FF1F3550\" />"
           "</ListHeader>" +
           rows +
           "</List>"
           "</VerticalLayout>"
           "</HorizontalLayout>"
           "</VerticalLayout>"
           "</Window>";
}

// What the screen shows over the window and the strip below it, through
// the desktop's DC: the drop-down is a window of its own.
void CaptureScreen(HWND wnd, PixelSurface& surface, int height) {
    POINT origin{0, 0};
    ::ClientToScreen(wnd, &origin);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(surface.dc(), 0, 0, kWidth, height, screen, origin.x, origin.y, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace

TEST(ShowcaseControls, Screenshot_ShowsEveryControlFamily) {
    TestWindow window;
    ASSERT_TRUE(window.Open(kWidth, kHeight, nullptr));
    CDialogBuilder builder;
    const std::string skin = Skin();
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &window.Manager());
    ASSERT_NE(root, nullptr);
    window.Manager().SetRootControl(root);
    window.Paint();
    CUIManager& m = window.Manager();

    auto* combo = static_cast<CComboUI*>(m.FindControl("channel"));
    auto* edit = static_cast<CEditUI*>(m.FindControl("frequency"));
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(combo->SelectItem(4));
    // The list is scrolled to its sixth row, which is selected.
    auto* list = static_cast<CListUI*>(m.FindControl("log"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->SelectItem(5));
    list->EnsureVisible(9);
    window.Paint();
    const int firstShown = list->GetItemAt(0)->GetPos().top;
    // The write button looks hot; the edit opens its native window.
    window.MouseMove(m.FindControl("write")->GetPos().left + 5, m.FindControl("write")->GetPos().top + 5);
    edit->SetFocus();
    window.Paint();
    // The focused edit is a native window over the control (until the
    // drop-down takes the focus and closes it).
    EXPECT_NE(::FindWindowExA(window.GetHWND(), nullptr, "EditWnd", nullptr), nullptr);
    ASSERT_TRUE(combo->Activate());
    TestWindow::PumpUntil([] { return false; }, 300);

    PixelSurface shot(kWidth, kShotHeight);
    CaptureScreen(window.GetHWND(), shot, kShotHeight);
    std::vector<uint32_t> argb(static_cast<size_t>(kWidth) * kShotHeight);
    for (int y = 0; y < kShotHeight; ++y)
        for (int x = 0; x < kWidth; ++x) argb[y * kWidth + x] = 0xFF000000 | shot.At(x, y);
    const std::string path = std::string("Z:") + LOOM_CONTROLS_SHOWCASE_PNG;
    ASSERT_TRUE(RenderTestPng::Write(path, RenderTestPng::Encode(kWidth, kShotHeight, argb)));

    // The progress bar's fore image covers its left half only.
    const RECT bar = m.FindControl("progress")->GetPos();
    const int mid = (bar.top + bar.bottom) / 2;
    EXPECT_NE(shot.At(bar.left + 10, mid), 0xDDE3EAu);
    EXPECT_EQ(shot.At(bar.right - 10, mid), 0xDDE3EAu);
    // The selected option and check box wear their selected colours.
    const RECT option = m.FindControl("transparent")->GetPos();
    EXPECT_EQ(shot.At(option.left + 3, option.top + 3), 0x3A73C4u);
    const RECT other = m.FindControl("packet")->GetPos();
    EXPECT_NE(shot.At(other.left + 3, other.top + 3), 0x3A73C4u);
    // The drop-down lies right below the combo, framed in its border colour.
    const RECT box = combo->GetPos();
    EXPECT_EQ(shot.At(box.left + 20, box.bottom), 0xC6C7D2u);
    // The list scrolled: its first row lies above the body.
    EXPECT_LT(firstShown, list->GetList()->GetPos().top);
}
