#include "radio/RadioConfig.h"

#include "platform/DecimalText.h"

#include <string>

#include "radio/RadioTables.h"

namespace {

struct Text {
    const char* english;
    const char* chinese;
    const char* In(Language language) const { return language == Language::Chinese ? chinese : english; }
};

const Text kInvalid = {"Invalid!", "无效！"};
const Text kTxChannel = {"TX Channel", "发射频道"};
const Text kRxChannel = {"RX Channel", "接收频道"};
const Text kChannel = {"Channel", "频道"};
const Text kChannelInvalid = {": Invalid!", ": 无效！"};

// The labels of the rows, as the window shows them in each language.
Text ListLabel(ListField list) {
    switch (list) {
    case ListField::Protocol:
        return {"Protocol Type:", "协议类型:"};
    case ListField::CurrentChannel:
        return {"Current Channel:", "当前频道:"};
    case ListField::PortBaudRate:
        return {"Port BaudRate:", "串口波特率:"};
    case ListField::LinkBaudRate:
        return {"Link BaudRate:", "空中波特率:"};
    case ListField::Bandwidth:
        return {"BandWidth:", "带宽:"};
    case ListField::WorkMode:
        return {"work mode:", "工作模式:"};
    case ListField::HighPower:
        return {"High Power:", "高功率:"};
    case ListField::LowPower:
        return {"Low Power:", "低功率:"};
    }
    return {"", ""};
}

Text FieldLabel(TextField field) {
    return field == TextField::SerialNumber ? Text{"SN:", "序列号:"} : Text{"Hardware:", "硬件版本:"};
}

bool InRange(double mhz) { return mhz >= RadioTables::kMinFrequency && mhz <= RadioTables::kMaxFrequency; }

// A frequency that may be sent: a plain decimal number within the limits.
bool IsSendableFrequency(const std::string& text) {
    const std::string wire = RadioTables::WireFrequency(text);
    return !wire.empty() && InRange(RadioTables::ReadFrequency(wire));
}

// Text that may go to the radio inside a command line: no control character
// (a carriage return would end the command and start another). Bytes above
// 0x7F (UTF-8 characters) are text.
bool IsPrintable(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

bool AllDigits(const std::string& text) { return text.find_first_not_of("0123456789") == std::string::npos; }

// At 25.0 kHz these protocols let the user pick any rate of their list.
bool IsFreeChoiceProtocol(int position) { return position == 2 || position == 4 || position == 7; }

}  // namespace

RadioConfig::RadioConfig(IConfigView& view) : view(view) {}

void RadioConfig::FillParameterLists() {
    const Language language = view.GetLanguage();
    view.FillList(ListField::Protocol, RadioTables::ProtocolList());
    view.FillList(ListField::CurrentChannel, RadioTables::CurrentChannelItems(language));
    view.FillList(ListField::HighPower, RadioTables::HighPowerList());
    view.FillList(ListField::LowPower, RadioTables::LowPowerList());
    view.FillList(ListField::Bandwidth, RadioTables::BandwidthList());
    view.FillList(ListField::PortBaudRate, RadioTables::PortBaudList());
    view.FillList(ListField::LinkBaudRate, RadioTables::LinkBaudItems(-1));
    view.FillList(ListField::WorkMode, RadioTables::WorkModeItems(language));
    view.SetListMouseEnabled(ListField::LinkBaudRate, false);
    view.SetRowColour(ListField::LinkBaudRate, RadioTables::kDisabledColour);
}

bool RadioConfig::validateFrequencyField(Group group, int row) {
    if (row < 0 || row > 9) return false;
    const std::string text = view.GetFrequencyText(group, row);
    if (text.find_first_not_of(' ') == std::string::npos) return true;
    const double mhz = RadioTables::ReadFrequency(text);
    if (!InRange(mhz)) {
        const Language language = view.GetLanguage();
        const Text& prefix = group == Group::Transmit ? kTxChannel : kRxChannel;
        view.ShowError(prefix.In(language) + std::to_string(row) + kChannelInvalid.In(language));
        view.FocusFrequency(group, row);
        return false;
    }
    view.SetFrequencyText(group, row, RadioTables::FormatFrequency(mhz));
    return true;
}

bool RadioConfig::checkChannelFrequencies() {
    for (int channel = 1; channel <= 8; ++channel) {
        if (!IsSendableFrequency(view.GetFrequencyText(Group::Transmit, channel)) ||
            !IsSendableFrequency(view.GetFrequencyText(Group::Receive, channel))) {
            const Language language = view.GetLanguage();
            view.ShowError(kChannel.In(language) + std::to_string(channel) + kChannelInvalid.In(language));
            return false;
        }
    }
    return true;
}

bool RadioConfig::ReportFirstMissingSelection(const ListField* lists, int count) {
    for (int i = 0; i < count; ++i) {
        if (view.GetSelection(lists[i]) < 0) {
            const Language language = view.GetLanguage();
            view.ShowError(std::string(ListLabel(lists[i]).In(language)) + kInvalid.In(language));
            return false;
        }
    }
    return true;
}

bool RadioConfig::ReportUnfitArmedField(bool armed, TextField field) {
    if (!armed) return true;
    const std::string text = view.GetFieldText(field);
    if (!text.empty() && IsPrintable(text)) return true;
    const Language language = view.GetLanguage();
    view.ShowError(std::string(FieldLabel(field).In(language)) + kInvalid.In(language));
    return false;
}

bool RadioConfig::checkRequiredFields() {
    static const ListField kRadioLists[] = {ListField::Protocol,     ListField::CurrentChannel, ListField::PortBaudRate,
                                            ListField::LinkBaudRate, ListField::WorkMode,       ListField::Bandwidth};
    static const ListField kHighPower[] = {ListField::HighPower};
    static const ListField kLowPower[] = {ListField::LowPower};
    // The power lists are checked and reported even after a gap in the first
    // group, so that every message of one attempt is shown at once.
    bool ok = ReportFirstMissingSelection(kRadioLists, 6);
    ok = ReportFirstMissingSelection(kHighPower, 1) && ok;
    ok = ReportFirstMissingSelection(kLowPower, 1) && ok;
    if (!ok) return false;
    if (!ReportUnfitArmedField(serialUnlocked, TextField::SerialNumber)) return false;
    return ReportUnfitArmedField(hardwareUnlocked, TextField::HardwareVersion);
}

void RadioConfig::NormalizeAddress(TextField field, int maximum, const char* emptyText) {
    const std::string text = view.GetFieldText(field);
    if (text.empty()) {
        view.SetFieldText(field, emptyText);
        return;
    }
    const int value = ReadLeadingInt(text);
    const int clamped = value < 0 ? 0 : (value > maximum ? maximum : value);
    // The edit takes digits only, but an imported file can bring any text;
    // that text would go to the radio unchanged inside a command line.
    if (clamped != value || !AllDigits(text)) view.SetFieldText(field, std::to_string(clamped));
}

void RadioConfig::normalizeAddresses() {
    NormalizeAddress(TextField::Src, 254, "0");
    NormalizeAddress(TextField::Dst, 255, "255");
}

void RadioConfig::fillDefaultFrequencies(Group group) {
    for (int row = 0; row <= 8; ++row)
        view.SetFrequencyText(group, row, RadioTables::FormatFrequency(RadioTables::DefaultFrequencyTable[row]));
}

void RadioConfig::protocolChanged() {
    const int protocol = view.GetSelection(ListField::Protocol);
    view.FillList(ListField::LinkBaudRate, RadioTables::LinkBaudItems(protocol));
    // The protocol just chosen, not the text shown: a text the view shows over
    // the list (" UNKNOW" after a Read) gives way only after this event.
    ApplyLinkRateRule(protocol);
}

int RadioConfig::ProtocolShown() const {
    const std::string shown = view.GetShownText(ListField::Protocol);
    for (int i = 0; i < RadioTables::kProtocolCount; ++i)
        if (shown == RadioTables::kProtocolItems[i]) return i;
    return -1;
}

void RadioConfig::LockLinkRate(int position) {
    view.SetListMouseEnabled(ListField::LinkBaudRate, false);
    view.SelectItem(ListField::LinkBaudRate, position);
}

void RadioConfig::itemSelected(ListField list) {
    if (list == ListField::Protocol) protocolChanged();
    if (list == ListField::Bandwidth) applyLinkRateRule();
}

void RadioConfig::applyLinkRateRule() { ApplyLinkRateRule(ProtocolShown()); }

void RadioConfig::ApplyLinkRateRule(int protocol) {
    const int bandwidth = view.GetSelection(ListField::Bandwidth);
    if (bandwidth != 0 && bandwidth != 1) return;
    view.SetRowColour(ListField::LinkBaudRate, RadioTables::kDisabledColour);
    if (protocol < 0 || protocol >= RadioTables::kProtocolCount) return;
    if (bandwidth == 0) {
        LockLinkRate(0);
    } else if (IsFreeChoiceProtocol(protocol)) {
        view.ResetRowColour(ListField::LinkBaudRate, RadioTables::kLabelColour);
        view.SetListMouseEnabled(ListField::LinkBaudRate, true);
    } else {
        LockLinkRate(1);
    }
}

void RadioConfig::UnlockSerialNumber() {
    view.SetFieldEditable(TextField::SerialNumber, true);
    serialUnlocked = true;
}

void RadioConfig::UnlockHardware() {
    view.SetFieldEditable(TextField::HardwareVersion, true);
    hardwareUnlocked = true;
}

void RadioConfig::RelockAfterWrite() {
    view.SetFieldEditable(TextField::SerialNumber, false);
    view.SetFieldEditable(TextField::HardwareVersion, false);
    serialUnlocked = false;
    hardwareUnlocked = false;
}
