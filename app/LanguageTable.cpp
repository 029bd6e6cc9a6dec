#include "app/LanguageTable.h"

using Loom::CControlUI;

#include <string>

#include "app/ProgramVersion.h"
#include "radio/Parameters.h"

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
    Add(c.guideItem, "用户指南", "User Guide");
    Add(c.aboutItem, "关于...", "About...");
    Add(c.logFolderItem, "打开日志文件夹", "Open Log Folder");
    Add(c.titleLabel, MainWindowTitle(true).c_str(), MainWindowTitle(false).c_str());
    // The parameters' labels, in the order of their table.
    for (const Parameter& row : Parameters()) {
        const size_t i =
            row.kind == ParameterKind::List ? static_cast<size_t>(row.list) : static_cast<size_t>(row.field);
        CControlUI* label = nullptr;
        if (row.kind == ParameterKind::List) label = c.listRows[i]->GetLabel();
        if (row.kind == ParameterKind::Text) label = c.textRows[i]->GetLabel();
        if (label != nullptr) Add(label, row.label.chinese, row.label.english);
    }
    Add(c.portRow->GetLabel(), "串口号:", "Port:");
    Add(c.rateRow->GetLabel(), "波特率:", "Rate:");
    const Texts channelLabel = ParameterOf(Group::Transmit).label;
    for (int channel = 0; channel < kFrequencyRows; ++channel) {
        const std::string n = std::to_string(channel) + ":";
        for (CLabelAndEditUI* row : {c.txChannelRow[channel], c.rxChannelRow[channel]})
            entries_.push_back({row->GetLabel(), channelLabel.chinese + n, channelLabel.english + n});
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
