#include "app/MainWindowLanguage.h"

using namespace Loom;

namespace {

constexpr int kSmallFont = 2;  // the skin's third font, 11 pixels

const char* Pick(bool chinese, const char* zh, const char* en) { return chinese ? zh : en; }

void SetPanelPos(CControlUI* panel, const char* pos) { panel->SetAttribute("pos", pos); }

}  // namespace

void ApplyLanguage(MainWindowControls& c, LanguageTable& table, bool chinese) {
    for (CButtonUI* unlock : {c.serialUnlockButton, c.hardwareUnlockButton})
        unlock->SetText(Pick(chinese, "解锁", "Unlock"));
    c.minimizeButton->SetToolTip(Pick(chinese, "最小化", "Minimize"));
    c.closeButton->SetToolTip(Pick(chinese, "关闭", "Close"));
    c.hardwareRow->GetEdit()->SetToolTip(Pick(chinese, "最长4个字符", "Max Char:4"));
    c.portGroup->SetTitle(Pick(chinese, "端口设置", "Communication Port"));
    c.txGroup->SetTitle(Pick(chinese, "发射频率(MHZ)", "TX Frequency(MHZ)"));
    c.rxGroup->SetTitle(Pick(chinese, "接收频率(MHZ)", "RX Frequency(MHZ)"));
    const int channel = chinese ? 36 : 58;
    table.SetWidthOver(c.txChannelRow[0]->GetLabel(), c.txChannelRow[9]->GetLabel(), channel);
    table.SetWidthOver(c.rxChannelRow[0]->GetLabel(), c.rxChannelRow[9]->GetLabel(), channel);
    table.SetWidthOver(c.protocolRow->GetLabel(), c.subFirmwareRow->GetLabel(), chinese ? 76 : 100);
    c.portRow->GetLabel()->SetFixedWidth(chinese ? 42 : 32);
    c.rateRow->GetLabel()->SetFixedWidth(chinese ? 42 : 32);
    c.languageMenuHeader->SetFixedWidth(chinese ? 42 : 72);
    SetPanelPos(c.fileMenu, chinese ? kFileMenuPos : kFileMenuPosEnglish);
    SetPanelPos(c.languageMenu, chinese ? "52,63,142,85" : "52,63,172,85");
    SetPanelPos(c.helpMenu, chinese ? kHelpMenuPos : kHelpMenuPosEnglish);
    table.ApplyTexts(chinese);
    c.languageItem->SetShortcut(chinese ? 'E' : 'C');
    for (CButtonUI* unlock : {c.serialUnlockButton, c.hardwareUnlockButton}) unlock->SetFixedWidth(chinese ? 26 : 40);
    c.serialNumberRow->GetLabel()->SetFixedWidth(chinese ? 50 : 60);
    c.hardwareRow->GetLabel()->SetFixedWidth(chinese ? 50 : 60);
    // "硬件版本:" is wider than its 50 pixels in the window's font and ran
    // under the Unlock button beside it; the menu items' smaller font fits it
    // and keeps the edits of the column aligned.
    c.hardwareRow->GetLabel()->SetFont(chinese ? kSmallFont : -1);
}
