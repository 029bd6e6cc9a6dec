#include "testkit/Showcase.h"

#include <cstdio>
#include <string>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"

namespace LoomTest {

using namespace Loom;

namespace {

// A new control of type T with the attribute list applied, appended to parent.
template <typename T>
T* Add(CContainerUI* parent, const std::string& attributes) {
    T* control = new T;
    control->ApplyAttributeList(attributes.c_str());
    parent->Add(control);
    return control;
}

ShowcaseTextUI* Text(CContainerUI* parent, const std::string& attributes, const std::string& text) {
    ShowcaseTextUI* control = Add<ShowcaseTextUI>(parent, attributes);
    control->SetText(text);
    return control;
}

// An image string of one of the showcase's PNG resources.
std::string Res(int id, const std::string& more = std::string()) {
    std::string s = "res='" + std::to_string(id) + "' restype='PNG'";
    return more.empty() ? s : s + " " + more;
}

std::string Colour(DWORD argb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%08lX", static_cast<unsigned long>(argb));
    return text;
}

void BuildTitleBar(ShowcaseTree& t) {
    auto* bar = Add<CHorizontalLayoutUI>(t.root, "height=\"34\" inset=\"8,7,8,7\" childpadding=\"8\" bkcolor=\"" +
                                                     Colour(kShowcaseTitleTop) + "\" bkcolor2=\"" +
                                                     Colour(kShowcaseTitleBottom) + "\"");
    t.titleBar = bar;
    Add<CControlUI>(bar, "width=\"20\" bkimage=\"" + Res(kShowcaseLogoImage) + "\"");
    t.title = Text(bar, "width=\"260\" showhtml=\"true\" textcolor=\"#FFFFFFFF\"",
                   "<b>Velmora</b> {c #FFC9DCF5}UHF radio settings{/c}");
    t.titleGap = Add<CControlUI>(bar, "");
    // Caption buttons: translucent, rounded, a glyph from the sprite sheet.
    const char* glyphs[] = {"48,0,64,16", "16,0,32,16", "32,0,48,16"};
    for (const char* glyph : glyphs) {
        Add<CControlUI>(
            bar,
            "width=\"20\" borderround=\"5,5\" bkcolor=\"#40FFFFFF\" bordercolor=\"#FFA9C3E8\" "
            "bordersize=\"1\" bkimage=\"" +
                Res(kShowcaseIconsImage, std::string("source='") + glyph + "' mask='#FFFF00FF' dest='2,2,18,18'") +
                "\"");
    }
}

void BuildTabStrip(ShowcaseTree& t) {
    auto* strip = Add<CHorizontalLayoutUI>(t.root,
                                           "height=\"30\" inset=\"10,5,10,0\" childpadding=\"3\" "
                                           "bkcolor=\"#FFDDE3EC\" bordercolor=\"#FFB4BECC\" "
                                           "bordersize=\"0,0,0,1\"");
    const char* names[] = {"Channels", "Parameters", "Firmware", "About", "语言"};
    for (int i = 0; i < 5; ++i) {
        const bool selected = i == 0;
        std::string look = selected ? "bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF8FA3BD\" font=\"0\""
                                    : "bkcolor=\"#FFF4F6F9\" bkcolor2=\"#FFDCE2EA\" bordercolor=\"#FFB4BECC\"";
        if (i == 4) look += " font=\"2\"";
        Text(strip,
             "width=\"92\" borderround=\"7,7\" bordersize=\"1\" align=\"center\" textcolor=\"#FF22324A\" " + look,
             names[i]);
    }
}

void BuildSidebar(ShowcaseTree& t, CContainerUI* body) {
    auto* side = Add<CVerticalLayoutUI>(body,
                                        "width=\"170\" inset=\"6,8,6,8\" childpadding=\"4\" borderround=\"9,9\" "
                                        "bkcolor=\"#FFFFFFFF\" bkcolor2=\"#FFE6EDF6\" bordersize=\"1\" "
                                        "bordercolor=\"" +
                                            Colour(kShowcaseSidebarBorder) + "\"");
    t.sidebar = side;
    Text(side, "height=\"20\" textpadding=\"4,0,0,0\" showhtml=\"true\" textcolor=\"#FF22324A\"",
         "<b>Ports</b> {c #FF7A8899}(8 found){/c}");
    const char* cells[] = {"0,0,16,16", "16,0,32,16", "32,0,48,16", "48,0,64,16"};
    for (int i = 0; i < 8; ++i) {
        const bool selected = i == 2;
        auto* row = Add<CHorizontalLayoutUI>(
            side, std::string("height=\"26\" inset=\"5,5,5,5\" childpadding=\"6\" borderround=\"6,6\"") +
                      (selected ? " bkcolor=\"#FFCFE3FF\" bordercolor=\"#FF7EAAE6\" bordersize=\"1\"" : ""));
        CControlUI* icon = Add<CControlUI>(
            row, "width=\"16\" bkimage=\"" +
                     Res(kShowcaseIconsImage, std::string("source='") + cells[i % 4] + "' mask='#FFFF00FF'") + "\"");
        if (i == 0) t.deviceIcon = icon;
        Text(row, "showhtml=\"true\" textcolor=\"#FF22324A\"",
             "COM" + std::to_string(5 + i) + " {c #FF7A8899}" + std::to_string(9600 << (i % 4)) + "{/c}");
    }
    Add<CControlUI>(side, "");  // takes the free height
    // A picture on a panel image, both from one image string: the photo 1:1
    // inside the panel's corners (settings carry over from the panel, so the
    // photo clears the corners again).
    const std::string picture = Res(kShowcasePanelImage, "corner='10,10,10,10'") + " " +
                                Res(kShowcasePhotoImage, "dest='8,8,72,56' corner='0,0,0,0'");
    t.photo = Add<CControlUI>(side, "height=\"68\" bkimage=\"" + picture + "\"");
}

void BuildChannelRow(CContainerUI* panel, int channel, ShowcaseTree& t) {
    auto* row = Add<CHorizontalLayoutUI>(panel, "height=\"22\" childpadding=\"6\"");
    Text(row, "width=\"24\" align=\"center\" textcolor=\"#FF5A6A80\"", std::to_string(channel + 1));
    const std::string box =
        "textpadding=\"6,0,0,0\" bkcolor=\"#FFFFFFFF\" bordersize=\"1\" textcolor=\"#FF1A2430\" "
        "bordercolor=\"" +
        Colour(kShowcaseEditBorder) + "\"";
    char tx[16], rx[16];
    std::snprintf(tx, sizeof tx, "%09.5f", 430.0 + channel * 1.125);
    std::snprintf(rx, sizeof rx, "%09.5f", 440.0 + channel * 1.125);
    ShowcaseTextUI* first = Text(row, box, tx);
    if (channel == 0) t.firstEdit = first;
    Text(row, box, rx);
    // A power gauge: a rounded track with a gradient fill of its own width.
    auto* track = Add<CHorizontalLayoutUI>(row,
                                           "width=\"64\" inset=\"2,5,2,5\" borderround=\"6,6\" "
                                           "bkcolor=\"#FFE1E6ED\" bordercolor=\"#FFC3CCD8\" bordersize=\"1\"");
    Add<CControlUI>(track, "width=\"" + std::to_string(12 + channel * 6) +
                               "\" borderround=\"4,4\" bkcolor=\"#FF7FD08A\" bkcolor2=\"#FF2E8B57\"");
}

void BuildChannels(ShowcaseTree& t, CContainerUI* page) {
    auto* panel = Add<CVerticalLayoutUI>(page, "height=\"284\" inset=\"12,10,14,14\" childpadding=\"4\" bkimage=\"" +
                                                   Res(kShowcasePanelImage, "corner='10,10,10,10'") + "\"");
    t.channels = panel;
    auto* head = Add<CHorizontalLayoutUI>(panel, "height=\"22\"");
    Text(head, "showhtml=\"true\" textcolor=\"#FF22324A\"", "<b>Channels</b>");
    Text(head, "width=\"120\" align=\"right\" showhtml=\"true\" textcolor=\"#FF22324A\"",
         "{c #FF2F62A8}8 of 8 set{/c}");
    auto* columns = Add<CHorizontalLayoutUI>(panel, "height=\"16\" childpadding=\"6\"");
    const std::string small = "font=\"1\" textcolor=\"#FF7A8899\" ";
    Text(columns, small + "width=\"24\" align=\"center\"", "Ch");
    Text(columns, small + "textpadding=\"6,0,0,0\"", "Transmit MHz");
    Text(columns, small + "textpadding=\"6,0,0,0\"", "Receive MHz");
    Text(columns, small + "width=\"64\" align=\"center\"", "Power");
    for (int i = 0; i < 8; ++i) BuildChannelRow(panel, i, t);
}

void BuildButtons(ShowcaseTree& t, CContainerUI* page) {
    auto* row = Add<CHorizontalLayoutUI>(page, "height=\"30\" childpadding=\"8\"");
    Add<CControlUI>(row, "");
    const char* names[] = {"Read", "Write", "Import", "Export"};
    for (int i = 0; i < 4; ++i) {
        const std::string look =
            i < 2
                ? "textcolor=\"#FFFFFFFF\" font=\"0\" bkimage=\"" + Res(kShowcaseButtonImage, "corner='6,6,6,6'") + "\""
                : "textcolor=\"#FF22324A\" borderround=\"6,6\" bkcolor=\"#FFFFFFFF\" bkcolor2=\"#FFE3E8EF\" "
                  "bordercolor=\"#FF9AA8BA\" bordersize=\"1\"";
        ShowcaseTextUI* button = Text(row, "width=\"76\" align=\"center\" " + look, names[i]);
        if (i == 0) t.readButton = button;
    }
}

void BuildProgress(CContainerUI* page) {
    auto* row = Add<CHorizontalLayoutUI>(page, "height=\"18\" childpadding=\"8\"");
    Text(row, "width=\"64\" textcolor=\"#FF5A6A80\"", "Firmware");
    auto* track = Add<CHorizontalLayoutUI>(row,
                                           "inset=\"1,1,1,1\" borderround=\"8,8\" bkcolor=\"#FFE1E6ED\" "
                                           "bordercolor=\"#FFC3CCD8\" bordersize=\"1\"");
    Add<CControlUI>(track, "width=\"160\" borderround=\"8,8\" bkcolor=\"#FF8CC4F5\" bkcolor2=\"#FF2F62A8\"");
    Text(row, "width=\"40\" align=\"right\" showhtml=\"true\" textcolor=\"#FF22324A\"", "<b>62%</b>");
}

void BuildOptions(CContainerUI* page) {
    Add<CControlUI>(page, "height=\"1\" bkcolor=\"#FFD5DCE6\"");
    auto* row = Add<CHorizontalLayoutUI>(page, "height=\"18\" childpadding=\"6\"");
    const char* names[] = {"Remember port", "Verify writes", "Chinese texts"};
    for (int i = 0; i < 3; ++i) {
        const std::string box = i == 0 ? "bkcolor=\"#FF2F62A8\" bordercolor=\"#FF1C3D6E\""
                                       : "bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF9AA8BA\"";
        Add<CControlUI>(row,
                        "width=\"14\" height=\"14\" padding=\"0,2,0,0\" borderround=\"4,4\" bordersize=\"1\" " + box);
        Text(row, "width=\"100\" textcolor=\"#FF22324A\"", names[i]);
    }
}

void BuildPages(ShowcaseTree& t, CContainerUI* body) {
    t.pages = Add<CTabLayoutUI>(body, "name=\"pages\"");
    auto* first = Add<CVerticalLayoutUI>(t.pages, "childpadding=\"8\" bkcolor=\"" + Colour(kShowcasePageColour) + "\"");
    BuildChannels(t, first);
    BuildButtons(t, first);
    BuildProgress(first);
    BuildOptions(first);
    auto* second =
        Add<CVerticalLayoutUI>(t.pages, "inset=\"12,12,12,12\" bkcolor=\"" + Colour(kShowcaseSecondPageColour) + "\"");
    t.secondPage = second;
    Text(second, "height=\"24\" showhtml=\"true\"", "<b>Parameters</b> are read from the radio.");
    auto* third = Add<CVerticalLayoutUI>(t.pages, "inset=\"12,12,12,12\"");
    Text(third, "height=\"24\"", "Firmware download");
}

void BuildRightPanel(ShowcaseTree& t, CContainerUI* body) {
    auto* side = Add<CVerticalLayoutUI>(body,
                                        "width=\"180\" inset=\"10,10,10,10\" childpadding=\"8\" "
                                        "borderround=\"9,9\" bkcolor=\"#FFFFFFFF\" bordersize=\"1\" "
                                        "bordercolor=\"" +
                                            Colour(kShowcaseSidebarBorder) + "\"");
    t.about = Text(side, "height=\"112\" showhtml=\"true\" align=\"wrap\" textcolor=\"#FF22324A\"",
                   "<b>Radio</b> {c #FF2F62A8}UHF 410 to 470 MHz{/c}, eight channels.{n}"
                   "Firmware <b>2.4</b>{n}Serial <i>A1-0042</i>{n}"
                   "{p 4}See the {a notes}release notes{/a} before a download.{/p}");
    auto* thumbs = Add<CHorizontalLayoutUI>(side, "height=\"44\" childpadding=\"6\"");
    for (int i = 0; i < 3; ++i) {
        Add<CControlUI>(thumbs, "borderround=\"8,8\" bordersize=\"1\" bordercolor=\"#FF8FA3BD\" bkimage=\"" +
                                    Res(kShowcasePhotoImage) + "\"");
    }
    Text(side, "height=\"22\" showhtml=\"true\" textcolor=\"#FF22324A\"",
         "{i res='" + std::to_string(kShowcaseLogoImage) + "' restype='PNG'} <b>Status</b> {c #FF2E8B57}ready{/c}");
    auto* swatches = Add<CHorizontalLayoutUI>(side,
                                              "height=\"22\" childpadding=\"4\" bkcolor=\"#FF20252C\" "
                                              "bkcolor2=\"#FFE0E4EA\" inset=\"4,4,4,4\"");
    const char* colours[] = {"#C0E04848", "#C0E0A020", "#C02E8B57", "#C02F62A8", "#C08A4FC0"};
    for (const char* c : colours) {
        Add<CControlUI>(swatches, std::string("borderround=\"4,4\" bkcolor=\"") + c + "\"");
    }
    t.threeColours = Add<CControlUI>(side,
                                     "height=\"28\" bkcolor=\"#FFFFFFFF\" bkcolor2=\"#FF9DB8E0\" "
                                     "bkcolor3=\"#FFFFFFFF\" bordercolor=\"#FF8FA3BD\" bordersize=\"1\"");
    Add<CControlUI>(side, "");
}

void BuildStatusStrip(ShowcaseTree& t) {
    auto* strip = Add<CHorizontalLayoutUI>(t.root,
                                           "height=\"24\" inset=\"10,0,10,0\" childpadding=\"8\" "
                                           "bkcolor=\"#FFE9EDF2\" bkcolor2=\"#FFD5DCE6\" "
                                           "bordercolor=\"#FFB4BECC\" bordersize=\"0,1,0,0\"");
    Add<CControlUI>(strip,
                    "width=\"10\" height=\"10\" padding=\"0,7,0,0\" borderround=\"10,10\" "
                    "bkcolor=\"#FF3CB44B\" bordercolor=\"#FF1F7A2C\" bordersize=\"1\"");
    Text(strip, "showhtml=\"true\" textcolor=\"#FF22324A\"", "Connected on <b>COM7</b> at 9600 baud");
    Text(strip, "width=\"90\" font=\"2\" textcolor=\"#FF22324A\"", "读取成功");
    Text(strip, "width=\"40\" align=\"right\" textcolor=\"#FF7A8899\"", "v1.0");
}

}  // namespace

ShowcaseTree BuildShowcase() {
    ShowcaseTree t;
    t.root = new CVerticalLayoutUI;
    t.root->ApplyAttributeList(
        ("inset=\"1,1,1,1\" bordersize=\"1\" bordercolor=\"#FF183A6A\" bkcolor=\"" + Colour(kShowcasePageColour) + "\"")
            .c_str());
    BuildTitleBar(t);
    BuildTabStrip(t);
    auto* body = Add<CHorizontalLayoutUI>(t.root, "inset=\"8,8,8,8\" childpadding=\"8\"");
    BuildSidebar(t, body);
    BuildPages(t, body);
    BuildRightPanel(t, body);
    BuildStatusStrip(t);
    return t;
}

void PrepareShowcaseManager(CUIManager& manager) {
    manager.SetDefaultFont("Tahoma", 12, false, false, false);
    manager.AddFont("Tahoma", 12, true, false, false);     // 0: bold
    manager.AddFont("Tahoma", 11, false, false, false);    // 1: small
    manager.AddFont("微软雅黑", 12, false, false, false);  // 2: the Chinese texts
    manager.SetDefaultLinkFontColor(0xFF1F6FD0);
}

int CountControls(CControlUI* root) {
    if (root == nullptr) return 0;
    int count = 1;
    auto* container = static_cast<IContainerUI*>(root->GetInterface("IContainer"));
    if (container == nullptr) return count;
    for (int i = 0; i < container->GetCount(); ++i) count += CountControls(container->GetItemAt(i));
    return count;
}

}  // namespace LoomTest
