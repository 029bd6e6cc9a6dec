#include "app/LanguageTable.h"

#include <string>

#include "app/ProgramVersion.h"

void LanguageTable::Add(Loom::CControlUI* control, const char* chinese, const char* english) {
    entries_.push_back({control, chinese, english});
}

void LanguageTable::Build(const MainWindowControls& c) {
    Add(c.connectButton, "连接", "Connect");
    Add(c.disconnectButton, "断开", "Disconnect");
    Add(c.readButton, "读取", "Read");
    Add(c.writeButton, "写入", "Write");
    Add(c.importButton, "导入配置", "Import Config");
    Add(c.exportButton, "导出配置", "Export Config");
    Add(c.fileMenuHeader, "文件", "File");
    Add(c.languageMenuHeader, "语言", "Language");
    Add(c.helpMenuHeader, "帮助", "Help");
    Add(c.txDefaultButton, "默认值", "Default");
    Add(c.rxDefaultButton, "默认值", "Default");
    Add(c.connectItem, "连接", "Connect");
    Add(c.findItem, "查找电台", "Find Radio");
    Add(c.disconnectItem, "断开", "Disconnect");
    Add(c.readItem, "读取", "Read");
    Add(c.writeItem, "写入", "Write");
    Add(c.verifyItem, "写入并校验", "Write and Verify");
    Add(c.firmwareItem, "固件升级", "Firmware Update");
    Add(c.importItem, "导入配置", "Import Config");
    Add(c.exportItem, "导出配置", "Export Config");
    Add(c.exitItem, "退出", "Exit");
    // The item names the language it switches to.
    Add(c.languageItem, "英语", "Chinese");
    Add(c.aboutItem, "关于...", "About...");
    Add(c.logFolderItem, "打开日志文件夹", "Open Log Folder");
    Add(c.titleLabel, MainWindowTitle(true).c_str(), MainWindowTitle(false).c_str());
    Add(c.protocolRow->GetLabel(), "协议类型:", "Protocol Type:");
    Add(c.currentChannelRow->GetLabel(), "当前频道:", "Current Channel:");
    Add(c.portBaudRow->GetLabel(), "串口波特率:", "Port BaudRate:");
    Add(c.linkBaudRow->GetLabel(), "空中波特率:", "Link BaudRate:");
    Add(c.workModeRow->GetLabel(), "工作模式:", "work mode:");
    Add(c.localAddressRow->GetLabel(), "本地地址:", "local:");
    Add(c.destinationAddressRow->GetLabel(), "目标地址:", "destinetion:");
    Add(c.bandwidthRow->GetLabel(), "带宽:", "BandWidth:");
    Add(c.highPowerRow->GetLabel(), "高功率:", "High Power:");
    Add(c.lowPowerRow->GetLabel(), "低功率:", "Low Power:");
    Add(c.serialNumberRow->GetLabel(), "序列号:", "SN:");
    Add(c.hardwareRow->GetLabel(), "硬件版本:", "Hardware:");
    Add(c.firmwareRow->GetLabel(), "固件版本:", "Firmware:");
    Add(c.subFirmwareRow->GetLabel(), "子固件版本:", "Sub Firmware:");
    Add(c.portRow->GetLabel(), "串口号:", "Port:");
    Add(c.rateRow->GetLabel(), "波特率:", "Rate:");
    for (int channel = 0; channel < 10; ++channel) {
        const std::string n = std::to_string(channel);
        entries_.push_back({c.txChannelRow[channel]->GetLabel(), "频道" + n + ":", "Channel" + n + ":"});
        entries_.push_back({c.rxChannelRow[channel]->GetLabel(), "频道" + n + ":", "Channel" + n + ":"});
    }
}

void LanguageTable::ApplyTexts(bool chinese) const {
    for (const Entry& entry : entries_) entry.control->SetText(chinese ? entry.chinese : entry.english);
}

int LanguageTable::IndexOf(const Loom::CControlUI* control) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].control == control) return static_cast<int>(i);
    return -1;
}

void LanguageTable::SetWidthOver(const Loom::CControlUI* first, const Loom::CControlUI* last, int width) const {
    const int from = IndexOf(first), to = IndexOf(last);
    if (from < 0 || to < from) return;
    for (int i = from; i <= to; ++i) entries_[i].control->SetFixedWidth(width);
}
