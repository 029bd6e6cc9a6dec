#include "app/MainWindowTree.h"

#include <oleacc.h>

#include <string>

#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/Render.h"
#include "app/ProgramVersion.h"

using namespace Loom;

namespace {

// The push button look; later buttons are copies of the first one built
// with it, which is the same attribute list applied again.
const char* const kPushButton =
    "normalimage=\"res='160' restype='png' corner='2,2,2,2'\" hotimage=\"res='161' restype='png' corner='2,2,2,2'\" "
    "pushedimage=\"res='162' restype='png' corner='2,2,2,2'\" disabledimage=\"res='169' restype='png' "
    "corner='2,2,2,2'\"";
const char* const kMenuItem =
    "textpadding=\"12,2,0,0\" height=\"20\" font=\"2\" hotimage=\"res='175' restype='png' corner='3,3,3,3'\"";

CButtonUI* PushButton(int height) {
    auto* button = new CButtonUI;
    button->ApplyAttributeList(kPushButton);
    button->SetFixedHeight(height);
    return button;
}

// A menu item, with the key that runs it from anywhere shown at its right.
class CMenuItemUI : public CButtonUI {
public:
    explicit CMenuItemUI(const char* key) : key_(key) {}
    void PaintText(HDC dc) override {
        CButtonUI::PaintText(dc);
        if (key_.empty() || manager_ == nullptr) return;
        RECT rc = GetPos();
        rc.right -= ScaleMeasure(8);
        CRenderer::DrawText(dc, manager_, rc, key_.c_str(), IsEnabled() ? textColor_ : disabledTextColor_, font_,
                            DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }

private:
    std::string key_;
};

CButtonUI* MenuItem(const char* text, char shortcut, const char* key = "") {
    auto* item = new CMenuItemUI(key);
    item->ApplyAttributeList(kMenuItem);
    item->SetTextStyle(DT_VCENTER);
    item->SetText(text);
    item->SetAccessibleRole(ROLE_SYSTEM_MENUITEM);
    item->SetShortcut(shortcut);
    return item;
}

CControlUI* Spacer(int height = 0) {
    auto* spacer = new CControlUI;
    if (height > 0) spacer->SetFixedHeight(height);
    return spacer;
}

CControlUI* Separator() {
    auto* line = new CControlUI;
    line->SetFixedHeight(1);
    line->SetBkColor(0xFFFFC700);
    line->SetAccessibleRole(ROLE_SYSTEM_SEPARATOR);
    return line;
}

CButtonUI* ImageButton(int width, const char* normal, const char* hot, const char* pushed) {
    auto* button = new CButtonUI;
    button->SetFixedHeight(17);
    button->SetFixedWidth(width);
    button->SetNormalImage(normal);
    button->SetHotImage(hot);
    button->SetPushedImage(pushed);
    return button;
}

CHorizontalLayoutUI* BuildTitleBar(MainWindowControls& c) {
    auto* bar = new CHorizontalLayoutUI;
    bar->SetAccessibleRole(ROLE_SYSTEM_TITLEBAR);
    bar->ApplyAttributeList("height=\"33\" inset=\"3,2,3,2\" bkcolor=\"#FFD1E8F5\" bkcolor2=\"#FFC9E3F4\"");
    auto* pictureBox = new CVerticalLayoutUI;
    pictureBox->ApplyAttributeList("width=\"26\" inset=\"0,5,5,0\"");
    auto* picture = new CControlUI;
    picture->SetBkImage("res='174' restype='png'");
    pictureBox->Add(picture);
    bar->Add(pictureBox);

    c.titleLabel = new CLabelUI;
    c.titleLabel->ApplyAttributeList("width=\"300\" font=\"1\" textcolor=\"#FF447AA1\"");
    c.titleLabel->SetTextStyle(DT_VCENTER);
    c.titleLabel->SetText(MainWindowTitle(true));
    bar->Add(c.titleLabel);
    bar->Add(Spacer());
    c.minimizeButton = ImageButton(26, "res='150' restype='png'", "res='151' restype='png'", "res='152' restype='png'");
    c.closeButton = ImageButton(45, "res='144' restype='png'", "res='145' restype='png'", "res='146' restype='png'");
    bar->Add(c.minimizeButton);
    bar->Add(c.closeButton);
    return bar;
}

CButtonUI* MenuHeader(const char* text, char shortcut) {
    auto* header = new CButtonUI;
    header->SetFixedWidth(42);
    header->SetHotImage(kMenuHotImage);
    header->SetText(text);
    header->SetAccessibleRole(ROLE_SYSTEM_MENUITEM);
    header->SetShortcut(shortcut);
    return header;
}

CHorizontalLayoutUI* BuildMenuBar(MainWindowControls& c) {
    auto* bar = new CHorizontalLayoutUI;
    bar->SetAccessibleRole(ROLE_SYSTEM_MENUBAR);
    bar->ApplyAttributeList("height=\"29\" inset=\"8,10,0,0\" bkcolor=\"#FFC9E3F4\" bkcolor2=\"#FFD1E8F5\"");
    c.fileMenuHeader = MenuHeader("文件", 'F');
    c.languageMenuHeader = MenuHeader("语言", 'L');
    c.helpMenuHeader = MenuHeader("帮助", 'H');
    bar->Add(c.fileMenuHeader);
    bar->Add(c.languageMenuHeader);
    bar->Add(c.helpMenuHeader);
    return bar;
}

CLabelAndEditUI* ChannelRow() {
    auto* row = new CLabelAndEditUI("", 36);
    row->GetEdit()->SetMaxChar(9);
    row->GetEdit()->SetToolTip("410.00000MHZ～470.00000MHZ");
    return row;
}

CGroupBoxUI* BuildFrequencyGroup(const char* title, CLabelAndEditUI* (&rows)[10], CButtonUI* defaultButton) {
    auto* group = new CGroupBoxUI(title);
    group->SetFixedWidth(151);
    for (int i = 0; i < 10; ++i) rows[i] = ChannelRow();
    for (int i = 1; i <= 8; ++i) group->Add(rows[i]);
    group->Add(defaultButton);
    return group;
}

CHorizontalLayoutUI* UnlockLine(CButtonUI*& button, CLabelAndEditUI* row) {
    auto* line = new CHorizontalLayoutUI;
    line->SetFixedHeight(22);
    button = PushButton(22);
    line->Add(button);
    line->Add(row);
    return line;
}

CVerticalLayoutUI* BuildParameterPanel(MainWindowControls& c) {
    auto* panel = new CVerticalLayoutUI;
    panel->ApplyAttributeList("width=\"216\" childpadding=\"11\"");
    // 369 pixels hold all fourteen rows (at 349 the last one is cut off) and
    // end the status strip level with the frequency groups.
    auto* rows = new CVerticalLayoutUI;
    rows->ApplyAttributeList(
        "height=\"369\" childpadding=\"3\" inset=\"2,18,15,0\" padding=\"0,6,0,0\" bordersize=\"1\" "
        "bordercolor=\"#FF888888\"");
    // The rows in the window's order, each where the field it shows finds it.
    auto list = [&c, rows](CLabelAndComboUI*& row, ListField field, const char* label) {
        rows->Add(row = new CLabelAndComboUI(label, 70));
        c.listRows[static_cast<size_t>(field)] = row;
    };
    auto text = [&c](CLabelAndEditUI*& row, TextField field, const char* label) {
        row = new CLabelAndEditUI(label, 70);
        c.textRows[static_cast<size_t>(field)] = row;
        return row;
    };
    list(c.protocolRow, ListField::Protocol, "协议类型:");
    list(c.currentChannelRow, ListField::CurrentChannel, "当前频道:");
    list(c.portBaudRow, ListField::PortBaudRate, "串口波特率:");
    list(c.linkBaudRow, ListField::LinkBaudRate, "空中波特率:");
    list(c.bandwidthRow, ListField::Bandwidth, "带宽:");
    list(c.workModeRow, ListField::WorkMode, "工作模式:");
    rows->Add(text(c.localAddressRow, TextField::Src, "源地址:"));
    rows->Add(text(c.destinationAddressRow, TextField::Dst, "目标地址:"));
    list(c.highPowerRow, ListField::HighPower, "高功率:");
    list(c.lowPowerRow, ListField::LowPower, "低功率:");
    rows->Add(UnlockLine(c.serialUnlockButton, text(c.serialNumberRow, TextField::SerialNumber, "序列号:")));
    rows->Add(UnlockLine(c.hardwareUnlockButton, text(c.hardwareRow, TextField::HardwareVersion, "硬件版本:")));
    rows->Add(text(c.firmwareRow, TextField::FirmwareVersion, "固件版本:"));
    rows->Add(text(c.subFirmwareRow, TextField::SubFirmwareVersion, "子固件版本:"));
    // Greyed until the link-rate rule has run once.
    c.linkBaudRow->GetCombo()->SetMouseEnabled(false);
    c.linkBaudRow->GetLabel()->SetTextColor(0xA7A6B7);
    panel->Add(rows);

    auto* strip = new CHorizontalLayoutUI;
    strip->ApplyAttributeList("height=\"22\" inset=\"1,1,1,1\" bordersize=\"1\" bordercolor=\"#FF888888\"");
    c.statusLabel = new CStatusStripUI;
    c.statusLabel->SetTextStyle(DT_CENTER | DT_VCENTER);
    strip->Add(c.statusLabel);
    c.cancelButton = PushButton(20);
    c.cancelButton->SetFixedWidth(46);
    c.cancelButton->SetText("取消");
    c.cancelButton->SetVisible(false);
    strip->Add(c.cancelButton);
    panel->Add(strip);
    return panel;
}

CVerticalLayoutUI* BuildRightColumn(MainWindowControls& c) {
    auto* column = new CVerticalLayoutUI;
    column->SetFixedWidth(150);
    c.logoImage = new CButtonUI;
    c.logoImage->SetFixedHeight(24);
    c.logoImage->SetAccessibleRole(ROLE_SYSTEM_GRAPHIC);
    c.logoImage->SetNormalImage("res='179' restype='png' dest='14,0,137,24'");
    column->Add(c.logoImage);
    column->Add(Spacer(28));
    c.portGroup = new CGroupBoxUI("端口设置");
    c.portGroup->SetFixedHeight(90);
    c.portGroup->Add(c.portRow = new CLabelAndComboUI("串口号:", 42));
    c.portGroup->Add(c.rateRow = new CLabelAndComboUI("波特率:", 42));
    column->Add(c.portGroup);
    column->Add(Spacer(16));
    // Each command button follows a 16-pixel gap; one more gap ends the column.
    CButtonUI** buttons[] = {&c.connectButton,    &c.readButton,   &c.writeButton,
                             &c.disconnectButton, &c.importButton, &c.exportButton};
    for (CButtonUI** button : buttons) {
        *button = PushButton(25);
        column->Add(*button);
        column->Add(Spacer(16));
    }
    return column;
}

// Why the last action failed and what to try: two lines under the body,
// across the window, so that the cause and the next step can be read
// without hovering.
CHorizontalLayoutUI* BuildCauseLine(MainWindowControls& c) {
    auto* line = new CHorizontalLayoutUI;
    line->ApplyAttributeList("height=\"40\" inset=\"18,0,18,10\"");
    c.causeLabel = new CTextUI;
    c.causeLabel->ApplyAttributeList("font=\"2\" textpadding=\"6,1,6,1\"");
    c.causeLabel->SetTextStyle(DT_LEFT | DT_VCENTER | DT_WORDBREAK);
    c.causeLabel->SetBorderSize(0);
    line->Add(c.causeLabel);
    return line;
}

CHorizontalLayoutUI* BuildBody(MainWindowControls& c) {
    auto* body = new CHorizontalLayoutUI;
    body->ApplyAttributeList("inset=\"18,17,18,8\" childpadding=\"15\"");
    c.txDefaultButton = PushButton(22);
    c.rxDefaultButton = PushButton(22);
    c.txGroup = BuildFrequencyGroup("TX Frequency(MHZ)", c.txChannelRow, c.txDefaultButton);
    c.rxGroup = BuildFrequencyGroup("RX Frequency(MHZ)", c.rxChannelRow, c.rxDefaultButton);
    body->Add(c.txGroup);
    body->Add(c.rxGroup);
    body->Add(BuildParameterPanel(c));
    body->Add(BuildRightColumn(c));
    return body;
}

CVerticalLayoutUI* MenuPanel(const char* pos) {
    auto* panel = new CVerticalLayoutUI;
    panel->ApplyAttributeList(
        "float=\"true\" bkcolor=\"#EEEEEEEE\" bordersize=\"1\" bordercolor=\"#FFFFC700\" inset=\"1,1,1,1\"");
    panel->SetAttribute("pos", pos);
    panel->SetVisible(false);
    panel->SetAccessibleRole(ROLE_SYSTEM_MENUPOPUP);
    return panel;
}

void BuildMenuPanels(CContainerUI& root, MainWindowControls& c) {
    c.helpMenu = MenuPanel(kHelpMenuPos);
    c.helpMenu->Add(c.guideItem = MenuItem("用户指南", 'G'));
    c.helpMenu->Add(c.logFolderItem = MenuItem("打开日志文件夹", 'O'));
    c.helpMenu->Add(c.aboutItem = MenuItem("关于...", 'A'));
    c.languageMenu = MenuPanel("52,63,142,85");
    // Its letter follows the language it names (ApplyLanguage).
    c.languageMenu->Add(c.languageItem = MenuItem("英语", 'E'));
    c.fileMenu = MenuPanel(kFileMenuPos);
    c.fileMenu->Add(c.connectItem = MenuItem("连接", 'C', "F5"));
    c.fileMenu->Add(c.findItem = MenuItem("查找电台", 'F'));
    c.fileMenu->Add(c.readItem = MenuItem("读取", 'R', "F6"));
    c.fileMenu->Add(c.writeItem = MenuItem("写入", 'W', "F7"));
    c.fileMenu->Add(c.verifyItem = MenuItem("写入并校验", 'V'));
    c.fileMenu->Add(c.disconnectItem = MenuItem("断开", 'D', "F8"));
    c.fileMenu->Add(c.firmwareItem = MenuItem("固件升级", 'U'));
    c.fileMenu->Add(Separator());
    c.fileMenu->Add(Separator());
    c.fileMenu->Add(c.importItem = MenuItem("导入配置", 'I'));
    c.fileMenu->Add(c.exportItem = MenuItem("导出配置", 'E'));
    c.fileMenu->Add(Separator());
    c.fileMenu->Add(c.exitItem = MenuItem("退出", 'X'));
    root.Add(c.fileMenu);
    root.Add(c.languageMenu);
    root.Add(c.helpMenu);
}

}  // namespace

MainWindowControls::~MainWindowControls() {
    for (int i : {0, 9}) {
        delete txChannelRow[i];
        delete rxChannelRow[i];
    }
}

void BuildMainWindowTree(CContainerUI& root, MainWindowControls& c) {
    root.Add(BuildTitleBar(c));
    root.Add(BuildMenuBar(c));
    root.Add(BuildBody(c));
    root.Add(BuildCauseLine(c));
    BuildMenuPanels(root, c);
}
