#include "radio/RadioActions.h"

#include <chrono>
#include <climits>
#include <thread>

#include "radio/CommandSet.h"
#include "radio/RadioTables.h"

namespace cs = CommandSet;

std::string ComposeResultText(const std::string& caption, bool success, Language language) {
    if (language == Language::Chinese) return caption + (success ? "成功" : "失败");
    return caption + (success ? " Success" : " Failure");
}

RadioActions::RadioActions(IConfigView& view, RadioConfig& config, RadioExchange& exchange, IActionWindow& window)
    : view(view), config(config), exchange(exchange), window(window) {}

void RadioActions::ModeCommand(const char* command, const char* expected, ActionControl control) {
    bool ok = window.OpenSelectedPort(false);
    if (ok) ok = exchange.SendCommand(command) && exchange.ReplyContains(expected);
    window.ShowResult(ok, control);
}

void RadioActions::EnterConfigMode() { ModeCommand(cs::kEnterConfig, cs::kEnterConfigReply, ActionControl::Connect); }

void RadioActions::ExitConfigMode() { ModeCommand(cs::kExitConfig, cs::kExitConfigReply, ActionControl::Disconnect); }

bool RadioActions::ReadCurrentChannel() {
    int position = -1;
    if (!exchange.SendCommand(cs::kQueryCurrentChannel) || !cs::ParseCurrentChannel(exchange.ReplyLine(), position))
        return false;
    view.SelectItem(ListField::CurrentChannel, position);
    return true;
}

// Selecting the protocol raises the item-selected event, so the link rate
// list is rebuilt for it before the link rate is read.
bool RadioActions::ReadProtocol() {
    int position = -1;
    bool ok = exchange.SendCommand(cs::kQueryProtocol) && (position = cs::ParseProtocol(exchange.ReplyLine())) >= 0;
    if (ok) view.SelectItem(ListField::Protocol, position);
    // A radio that names a protocol this tool does not know can still be read.
    if (exchange.ReplyContains("KNOW")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        view.SetShownText(ListField::Protocol, " UNKNOW");
        ok = true;
    }
    return ok;
}

bool RadioActions::ReadPortBaud() {
    if (!exchange.SendCommand(cs::kQueryPortBaud)) return false;
    int position = cs::ParsePortBaud(exchange.ReplyLine());
    view.SelectItem(ListField::PortBaudRate, position);  // no match clears the selection
    return position >= 0;
}

void RadioActions::ReadLinkBaud(bool& ok) {
    if (ok && exchange.SendCommand(cs::kQueryLinkBaud)) {
        std::string rate = cs::ParseLinkBaud(exchange.ReplyLine());
        ok = !rate.empty();
        view.SetShownText(ListField::LinkBaudRate, rate);
        for (int position = 0; position <= 4; ++position) {
            view.SelectItem(ListField::LinkBaudRate, position);
            std::string item = view.GetItemText(ListField::LinkBaudRate, view.GetSelection(ListField::LinkBaudRate));
            if (!item.empty() && rate.find(item) != std::string::npos) break;
        }
        return;
    }
    // A radio without the link rate command: the list says so and the read
    // goes on.
    view.FillList(ListField::LinkBaudRate, {"UNKNOW"});
    if (exchange.ReplyContains("UNKNOW")) view.SelectItem(ListField::LinkBaudRate, 1);
    ok = true;
}

bool RadioActions::ReadPowers() {
    const struct {
        const char* query;
        ListField list;
    } powers[] = {{cs::kQueryHighPower, ListField::HighPower}, {cs::kQueryLowPower, ListField::LowPower}};
    for (const auto& p : powers) {
        if (!exchange.SendCommand(p.query)) return false;
        int value = cs::ParsePowerValue(exchange.ReplyLine());
        // The list clamps past its end and clears for a negative position;
        // only 1 to 3 is a valid answer.
        view.SelectItem(p.list, value == INT_MIN ? -1 : value - 1);
        if (!cs::IsValidPower(value)) return false;
    }
    return ReadLineInto(cs::kQueryFirmware, TextField::FirmwareVersion);
}

bool RadioActions::ReadLineInto(const char* query, TextField field) {
    if (!exchange.SendCommand(query)) return false;
    view.SetFieldText(field, exchange.ReplyLine());
    return true;
}

void RadioActions::CutReportedTexts() {
    std::string serial = view.GetFieldText(TextField::SerialNumber);
    if (serial.size() > kSerialNumberLength)
        view.SetFieldText(TextField::SerialNumber, serial.substr(0, kSerialNumberLength));
    std::string hardware = view.GetFieldText(TextField::HardwareVersion);
    if (hardware.size() > kHardwareVersionLength)
        view.SetFieldText(TextField::HardwareVersion, hardware.substr(0, kHardwareVersionLength));
}

bool RadioActions::ReadFrequencies(Group group) {
    for (int channel = 1; channel <= 8; ++channel) {
        std::string query = group == Group::Transmit ? cs::QueryChannelTx(channel) : cs::QueryChannelRx(channel);
        std::string text;
        if (!exchange.SendCommand(query.c_str()) || !cs::ParseChannelFrequency(exchange.ReplyLine(), channel, text))
            return false;
        view.SetFrequencyText(group, channel, text);
    }
    return true;
}

bool RadioActions::ReadSelection(const char* query, ListField list, int (*parse)(const std::string&)) {
    if (!exchange.SendCommand(query)) return false;
    int position = parse(exchange.ReplyLine());
    view.SelectItem(list, position);  // no match clears the selection
    return position >= 0;
}

bool RadioActions::ReadAddresses() {
    if (!ReadLineInto(cs::kQueryLocalAddress, TextField::Src)) return false;
    return ReadLineInto(cs::kQueryDestinationAddress, TextField::Dst);
}

void RadioActions::ReadFromRadio() {
    bool ok = window.OpenSelectedPort(false);
    ok = ok && ReadCurrentChannel();
    ok = ok && ReadProtocol();
    ok = ok && ReadPortBaud();
    ReadLinkBaud(ok);
    ok = ok && ReadPowers();
    ok = ok && ReadLineInto(cs::kQueryHardware, TextField::HardwareVersion);
    ok = ok && ReadLineInto(cs::kQuerySerialNumber, TextField::SerialNumber);
    CutReportedTexts();
    ok = ok && ReadLineInto(cs::kQuerySubFirmware, TextField::SubFirmwareVersion);
    ok = ok && ReadFrequencies(Group::Transmit);
    ok = ok && ReadFrequencies(Group::Receive);
    ok = ok && ReadSelection(cs::kQueryBandwidth, ListField::Bandwidth, cs::ParseBandwidth);
    ok = ok && ReadSelection(cs::kQueryWorkMode, ListField::WorkMode, cs::ParseWorkMode);
    ok = ok && ReadAddresses();
    window.ShowResult(ok, ActionControl::Read);
}

std::string RadioActions::Name(const char* chinese, const char* english) const {
    return view.GetLanguage() == Language::Chinese ? chinese : english;
}

// A list setting reads back as the item at the position the reply names, or
// as the reply itself when it names none.
RadioActions::WrittenSetting RadioActions::ListSetting(const char* query, ListField list, const char* chinese,
                                                       const char* english,
                                                       std::function<int(const std::string&)> parse) const {
    auto shownOf = [this, list, parse](const std::string& line) {
        const int position = parse(line);
        const bool listed = position >= 0 && position < view.GetItemCount(list);
        return listed ? view.GetItemText(list, position) : line;
    };
    return {Name(chinese, english), query, view.GetItemText(list, view.GetSelection(list)), VerifyKind::Text, shownOf};
}

bool RadioActions::SendIf(bool condition, const std::string& command, bool ok, WrittenSetting setting) {
    if (!ok || !condition) return ok;
    if (!exchange.SendCommandExpectOk(command.c_str())) return false;
    written_.push_back(std::move(setting));
    return true;
}

bool RadioActions::SendFrequencies(Group group) {
    const bool tx = group == Group::Transmit;
    bool ok = true;
    // The frequencies passed the channel check: each is a plain number, sent
    // without the blanks around it.
    for (int c = 1; c <= 8 && ok; ++c) {
        const std::string value = RadioTables::WireFrequency(view.GetFrequencyText(group, c));
        const std::string n = std::to_string(c);
        auto shownOf = [c](const std::string& line) {
            std::string text;
            return cs::ParseChannelFrequency(line, c, text) ? text : line;
        };
        ok = SendIf(true, tx ? cs::SetChannelTx(c, value) : cs::SetChannelRx(c, value), ok,
                    {Name(tx ? "发射频道" : "接收频道", tx ? "TX Channel" : "RX Channel") + n,
                     tx ? cs::QueryChannelTx(c) : cs::QueryChannelRx(c), value, VerifyKind::Decimal, shownOf});
    }
    return ok;
}

bool RadioActions::SendSettings() {
    written_.clear();
    bool ok = SendFrequencies(Group::Transmit) && SendFrequencies(Group::Receive);
    auto selected = [this](ListField l) { return view.GetSelection(l); };
    auto channelOf = [](const std::string& line) {
        int position = -1;
        return cs::ParseCurrentChannel(line, position) ? position : -1;
    };
    ok = SendIf(
        selected(ListField::CurrentChannel) >= 0, cs::SetCurrentChannel(selected(ListField::CurrentChannel)), ok,
        ListSetting(cs::kQueryCurrentChannel, ListField::CurrentChannel, "当前频道", "Current Channel", channelOf));
    ok = SendIf(
        selected(ListField::PortBaudRate) >= 0, cs::SetPortBaud(selected(ListField::PortBaudRate)), ok,
        ListSetting(cs::kQueryPortBaud, ListField::PortBaudRate, "串口波特率", "Port BaudRate", cs::ParsePortBaud));
    // An entry without a rate ("UNKNOW") gives no command: the link rate is left out.
    const int link = selected(ListField::LinkBaudRate);
    const std::string linkBaud =
        link < 0 ? std::string() : cs::SetLinkBaud(view.GetItemText(ListField::LinkBaudRate, link));
    ok = SendIf(!linkBaud.empty(), linkBaud, ok,
                {Name("空中波特率", "Link BaudRate"), cs::kQueryLinkBaud,
                 link < 0 ? std::string() : view.GetItemText(ListField::LinkBaudRate, link), VerifyKind::Text,
                 [](const std::string& line) {
                     const std::string rate = cs::ParseLinkBaud(line);
                     return rate.empty() ? line : rate;
                 }});
    std::string bandwidth = cs::SetBandwidth(selected(ListField::Bandwidth));
    ok = SendIf(!bandwidth.empty(), bandwidth, ok,
                ListSetting(cs::kQueryBandwidth, ListField::Bandwidth, "带宽", "BandWidth", cs::ParseBandwidth));
    std::string mode = cs::SetWorkMode(selected(ListField::WorkMode));
    ok = SendIf(!mode.empty(), mode, ok,
                ListSetting(cs::kQueryWorkMode, ListField::WorkMode, "工作模式", "work mode", cs::ParseWorkMode));
    ok = SendAddresses(ok);
    ok = SendIf(selected(ListField::Protocol) >= 0, cs::SetProtocol(selected(ListField::Protocol)), ok,
                ListSetting(cs::kQueryProtocol, ListField::Protocol, "协议类型", "Protocol Type", cs::ParseProtocol));
    return SendPowersAndIdentity(ok);
}

bool RadioActions::SendAddresses(bool ok) {
    auto asIs = [](const std::string& line) { return line; };
    const std::string local = view.GetFieldText(TextField::Src), destination = view.GetFieldText(TextField::Dst);
    ok = SendIf(true, cs::SetLocalAddress(local), ok,
                {Name("本地地址", "local"), cs::kQueryLocalAddress, local, VerifyKind::Decimal, asIs});
    return SendIf(
        true, cs::SetDestinationAddress(destination), ok,
        {Name("目标地址", "destinetion"), cs::kQueryDestinationAddress, destination, VerifyKind::Decimal, asIs});
}

bool RadioActions::SendPowersAndIdentity(bool ok) {
    auto selected = [this](ListField l) { return view.GetSelection(l); };
    auto powerOf = [](const std::string& line) {
        return cs::IsValidPower(cs::ParsePowerValue(line)) ? cs::ParsePowerValue(line) - 1 : -1;
    };
    ok = SendIf(view.GetItemCount(ListField::HighPower) > 1 && selected(ListField::HighPower) >= 0,
                cs::SetHighPower(selected(ListField::HighPower)), ok,
                ListSetting(cs::kQueryHighPower, ListField::HighPower, "高功率", "High Power", powerOf));
    ok = SendIf(view.GetItemCount(ListField::LowPower) > 1 && selected(ListField::LowPower) >= 0,
                cs::SetLowPower(selected(ListField::LowPower)), ok,
                ListSetting(cs::kQueryLowPower, ListField::LowPower, "低功率", "Low Power", powerOf));
    auto asIs = [](const std::string& line) { return line; };
    const std::string serial = view.GetFieldText(TextField::SerialNumber);
    const std::string hardware = view.GetFieldText(TextField::HardwareVersion);
    ok = SendIf(config.serialUnlocked, cs::SetSerialNumber(serial), ok,
                {Name("序列号", "SN"), cs::kQuerySerialNumber, serial, VerifyKind::Text, asIs});
    return SendIf(config.hardwareUnlocked, cs::SetHardwareVersion(hardware), ok,
                  {Name("硬件版本", "Hardware"), cs::kQueryHardware, hardware, VerifyKind::Text, asIs});
}

bool RadioActions::Write() {
    bool ok = config.checkChannelFrequencies();
    ok = ok && config.checkRequiredFields();
    config.normalizeAddresses();  // also when a check failed
    ok = ok && window.OpenSelectedPort(false);
    ok = ok && SendSettings();
    config.RelockAfterWrite();
    return ok;
}

void RadioActions::WriteToRadio() { window.ShowResult(Write(), ActionControl::Write); }

bool RadioActions::ReadBack(std::vector<VerifyMismatch>& mismatches) {
    for (const WrittenSetting& setting : written_) {
        if (!exchange.SendCommand(setting.query.c_str())) return false;
        const std::string read = setting.shownOf(exchange.ReplyLine());
        if (!SameValue(setting.kind, setting.written, read))
            mismatches.push_back({setting.name, setting.written, read});
    }
    return true;
}

void RadioActions::WriteAndVerify() {
    mismatches_.clear();
    bool ok = Write() && ReadBack(mismatches_);
    window.ShowResult(ok && mismatches_.empty(), ActionControl::WriteAndVerify);
    if (ok && !mismatches_.empty()) view.ShowError(FormatMismatches(mismatches_, view.GetLanguage()));
}
