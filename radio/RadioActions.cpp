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
    if (serial.size() > kSerialNumberLength) view.SetFieldText(TextField::SerialNumber, serial.substr(0, kSerialNumberLength));
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

bool RadioActions::SendIf(bool condition, const std::string& command, bool ok) {
    if (!ok || !condition) return ok;
    return exchange.SendCommandExpectOk(command.c_str());
}

bool RadioActions::SendSettings() {
    bool ok = true;
    // The frequencies passed the channel check: each is a plain number, sent
    // without the blanks around it.
    auto frequency = [this](Group g, int c) { return RadioTables::WireFrequency(view.GetFrequencyText(g, c)); };
    for (int c = 1; c <= 8 && ok; ++c)
        ok = exchange.SendCommandExpectOk(cs::SetChannelTx(c, frequency(Group::Transmit, c)).c_str());
    for (int c = 1; c <= 8 && ok; ++c)
        ok = exchange.SendCommandExpectOk(cs::SetChannelRx(c, frequency(Group::Receive, c)).c_str());
    auto selected = [this](ListField l) { return view.GetSelection(l); };
    ok = SendIf(selected(ListField::CurrentChannel) >= 0, cs::SetCurrentChannel(selected(ListField::CurrentChannel)), ok);
    ok = SendIf(selected(ListField::PortBaudRate) >= 0, cs::SetPortBaud(selected(ListField::PortBaudRate)), ok);
    // An entry without a rate ("UNKNOW") gives no command: the link rate is left out.
    const int link = selected(ListField::LinkBaudRate);
    const std::string linkBaud =
        link < 0 ? std::string() : cs::SetLinkBaud(view.GetItemText(ListField::LinkBaudRate, link));
    ok = SendIf(!linkBaud.empty(), linkBaud, ok);
    std::string bandwidth = cs::SetBandwidth(selected(ListField::Bandwidth));
    ok = SendIf(!bandwidth.empty(), bandwidth, ok);
    std::string mode = cs::SetWorkMode(selected(ListField::WorkMode));
    ok = SendIf(!mode.empty(), mode, ok);
    ok = SendIf(true, cs::SetLocalAddress(view.GetFieldText(TextField::Src)), ok);
    ok = SendIf(true, cs::SetDestinationAddress(view.GetFieldText(TextField::Dst)), ok);
    ok = SendIf(selected(ListField::Protocol) >= 0, cs::SetProtocol(selected(ListField::Protocol)), ok);
    ok = SendIf(view.GetItemCount(ListField::HighPower) > 1 && selected(ListField::HighPower) >= 0,
                cs::SetHighPower(selected(ListField::HighPower)), ok);
    ok = SendIf(view.GetItemCount(ListField::LowPower) > 1 && selected(ListField::LowPower) >= 0,
                cs::SetLowPower(selected(ListField::LowPower)), ok);
    ok = SendIf(config.serialUnlocked, cs::SetSerialNumber(view.GetFieldText(TextField::SerialNumber)), ok);
    ok = SendIf(config.hardwareUnlocked, cs::SetHardwareVersion(view.GetFieldText(TextField::HardwareVersion)), ok);
    return ok;
}

void RadioActions::WriteToRadio() {
    bool ok = config.checkChannelFrequencies();
    ok = ok && config.checkRequiredFields();
    config.normalizeAddresses();  // also when a check failed
    ok = ok && window.OpenSelectedPort(false);
    ok = ok && SendSettings();
    config.RelockAfterWrite();
    window.ShowResult(ok, ActionControl::Write);
}
