#include "radio/Parameters.h"

#include <algorithm>
#include <climits>

#include "platform/DecimalText.h"
#include "radio/CommandSet.h"
#include "radio/RadioConfig.h"
#include "radio/RadioTables.h"

namespace cs = CommandSet;

namespace {

// ---- Read steps -------------------------------------------------------------

// A reply line into a text row, cut to what the row keeps.
bool ReadText(const Parameter& row, IReadContext& c, bool ok) {
    if (!ok || !c.Ask(row.Query(0))) return false;
    std::string line = c.Line();
    if (row.maxLength > 0 && line.size() > row.maxLength) line.resize(row.maxLength);
    c.Settings().Text(row.field) = line;
    return true;
}

// The position the reply names is selected; no match clears the selection.
bool ReadPosition(const Parameter& row, IReadContext& c, bool ok) {
    if (!ok || !c.Ask(row.Query(0))) return false;
    const int position = row.position(c.Line());
    RadioConfig::Select(c.Settings(), row.list, position);
    return position >= 0;
}

// "current channel N": the position is N's digit minus one, whatever it is
// (past the end selects the last channel, below the first clears).
bool ReadCurrentChannel(const Parameter& row, IReadContext& c, bool ok) {
    int position = -1;
    if (!ok || !c.Ask(row.Query(0)) || !cs::ParseCurrentChannel(c.Line(), position)) return false;
    RadioConfig::Select(c.Settings(), row.list, position);
    return true;
}

// Selecting the protocol rebuilds the link rate list for it before the link
// rate is read. A radio that names a protocol this tool does not know can
// still be read: the list shows " UNKNOW" over its selection.
bool ReadProtocol(const Parameter& row, IReadContext& c, bool ok) {
    if (!ok) return false;
    int position = -1;
    bool read = c.Ask(row.Query(0)) && (position = cs::ParseProtocol(c.Line())) >= 0;
    if (read) RadioConfig::Select(c.Settings(), row.list, position);
    if (c.ReplyContains("KNOW")) {
        c.Pause(20);
        ListValue& list = c.Settings().List(row.list);
        list.shownOver = " UNKNOW";
        list.hasShownOver = true;
        read = true;
    }
    return read;
}

// The rate the radio reports is shown, then the first list position whose
// item it holds is selected. A radio without the command (or a Read that has
// failed already) leaves a list that says so, and the Read goes on.
bool ReadLinkBaud(const Parameter& row, IReadContext& c, bool ok) {
    RadioSettings& s = c.Settings();
    ListValue& link = s.List(row.list);
    if (ok && c.Ask(row.Query(0))) {
        const std::string rate = cs::ParseLinkBaud(c.Line());
        link.shownOver = rate;
        link.hasShownOver = true;
        for (int position = 0; position <= 4; ++position) {
            RadioConfig::Select(s, row.list, position);
            const std::string item = link.ItemText(link.selection);
            if (!item.empty() && rate.find(item) != std::string::npos) break;
        }
        return !rate.empty();
    }
    link.Fill({"UNKNOW"});
    if (c.ReplyContains("UNKNOW")) RadioConfig::Select(s, row.list, 1);
    return true;
}

// A power level 1 to 3; the list clamps anything past its end and clears for
// a negative position, but only 1 to 3 is a valid answer.
bool ReadPower(const Parameter& row, IReadContext& c, bool ok) {
    if (!ok || !c.Ask(row.Query(0))) return false;
    const int value = cs::ParsePowerValue(c.Line());
    RadioConfig::Select(c.Settings(), row.list, value == INT_MIN ? -1 : value - 1);
    return cs::IsValidPower(value);
}

bool ReadFrequencies(const Parameter& row, IReadContext& c, bool ok) {
    if (!ok) return false;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        std::string text;
        if (!c.Ask(row.Query(channel)) || !cs::ParseChannelFrequency(c.Line(), channel, text)) return false;
        c.Settings().SetFrequency(row.group, channel, text);
    }
    return true;
}

// ---- Write values -----------------------------------------------------------

// The frequencies passed the channel check: each is a plain number, sent
// without the blanks around it.
std::string WireFrequency(const Parameter& row, const RadioSettings& s, int channel) {
    return RadioTables::WireFrequency(s.Frequency(row.group, channel));
}

std::string PositionPlusOne(const Parameter& row, const RadioSettings& s, int) {
    const int selection = s.Selection(row.list);
    return selection < 0 ? std::string() : std::to_string(selection + 1);
}

// A power list of one entry or none (a radio that reports no levels) is not sent.
std::string PowerLevel(const Parameter& row, const RadioSettings& s, int channel) {
    return s.List(row.list).Count() > 1 ? PositionPlusOne(row, s, channel) : std::string();
}

// By the rate shown, not the position. An entry without a rate ("UNKNOW")
// gives no command: the radio refuses a rate of 0, and every setting after it
// would then be skipped.
std::string LinkRateValue(const Parameter& row, const RadioSettings& s, int) {
    const std::string shown = s.SelectedText(row.list);
    if (ReadLeadingInt(shown) <= 0) return std::string();
    return std::to_string(RadioTables::LinkBaudWireValue(shown));
}

template <const char* const* Table, int Count>
std::string TableValue(const Parameter& row, const RadioSettings& s, int) {
    const int selection = s.Selection(row.list);
    return selection >= 0 && selection < Count ? Table[selection] : std::string();
}

std::string TextValue(const Parameter& row, const RadioSettings& s, int) { return s.Text(row.field); }

// The serial number and the hardware version go only when their Unlock armed them.
std::string ArmedText(const Parameter& row, const RadioSettings& s, int channel) {
    const bool armed = row.armed == Armed::BySerialUnlock ? s.serialUnlocked : s.hardwareUnlocked;
    return armed ? TextValue(row, s, channel) : std::string();
}

std::string SelectedItem(const Parameter& row, const RadioSettings& s, int) { return s.SelectedText(row.list); }

// ---- Read back for Verify ---------------------------------------------------

std::string FrequencyBack(const Parameter&, const RadioSettings&, int channel, const std::string& line) {
    std::string text;
    return cs::ParseChannelFrequency(line, channel, text) ? text : line;
}

// The item at the position the reply names, or the reply itself when it names none.
std::string ItemBack(const Parameter& row, const RadioSettings& s, int, const std::string& line) {
    const int position = row.position(line);
    const bool listed = position >= 0 && position < s.List(row.list).Count();
    return listed ? s.List(row.list).ItemText(position) : line;
}

std::string RateBack(const Parameter&, const RadioSettings&, int, const std::string& line) {
    const std::string rate = cs::ParseLinkBaud(line);
    return rate.empty() ? line : rate;
}

std::string LineBack(const Parameter&, const RadioSettings&, int, const std::string& line) { return line; }

// ---- Reply positions ----------------------------------------------------------

int CurrentChannelPosition(const std::string& line) {
    int position = -1;
    return cs::ParseCurrentChannel(line, position) ? position : -1;
}

int PowerPosition(const std::string& line) {
    const int value = cs::ParsePowerValue(line);
    return cs::IsValidPower(value) ? value - 1 : -1;
}

// ---- List items ---------------------------------------------------------------

std::vector<std::string> Protocols(Language) { return RadioTables::ProtocolList(); }
std::vector<std::string> PortRates(Language) { return RadioTables::PortBaudList(); }
std::vector<std::string> InitialLinkRates(Language) { return RadioTables::LinkBaudItems(-1); }
std::vector<std::string> Bandwidths(Language) { return RadioTables::BandwidthList(); }
std::vector<std::string> HighPowers(Language) { return RadioTables::HighPowerList(); }
std::vector<std::string> LowPowers(Language) { return RadioTables::LowPowerList(); }

// ---- The table ----------------------------------------------------------------

Parameter Row(ParameterKind kind, Texts label, const char* keyword) {
    Parameter p{};
    p.kind = kind;
    p.label = label;
    p.keyword = keyword;
    p.verify = VerifyKind::Text;
    p.armed = Armed::Always;
    return p;
}

Parameter FrequencyRow(Group group, Texts name, const char* profileKey, const char* keyword) {
    Parameter p = Row(ParameterKind::Frequencies, {"Channel", "频道"}, keyword);
    p.group = group;
    p.name = name;
    p.profileKey = profileKey;
    p.read = ReadFrequencies;
    p.wire = WireFrequency;
    p.shown = WireFrequency;
    p.readBack = FrequencyBack;
    p.verify = VerifyKind::Decimal;
    return p;
}

Parameter ListRow(ListField list, Texts label, const char* keyword, ListItems items) {
    Parameter p = Row(ParameterKind::List, label, keyword);
    p.list = list;
    p.read = ReadPosition;
    p.wire = PositionPlusOne;
    p.shown = SelectedItem;
    p.readBack = ItemBack;
    p.items = items;
    return p;
}

Parameter TextRow(TextField field, Texts label, const char* keyword) {
    Parameter p = Row(ParameterKind::Text, label, keyword);
    p.field = field;
    p.read = ReadText;
    p.shown = TextValue;
    p.readBack = LineBack;
    return p;
}

std::vector<Parameter> BuildTable() {
    std::vector<Parameter> rows;
    Parameter p = FrequencyRow(Group::Transmit, {"TX Channel", "发射频道"}, "Channel", "cfg_ch_");
    p.profileOrder = 1, p.readOrder = 11, p.writeOrder = 1;
    rows.push_back(p);
    p = FrequencyRow(Group::Receive, {"RX Channel", "接收频道"}, "RXChannel", "cfg_rx_ch_");
    p.profileOrder = 2, p.readOrder = 12, p.writeOrder = 2;
    rows.push_back(p);

    p = ListRow(ListField::Protocol, {"Protocol Type:", "协议类型:"}, "cfg_prtl", Protocols);
    p.profileKey = "ProtocolType", p.profileOrder = 3, p.readOrder = 2, p.writeOrder = 10, p.requiredGroup = 1;
    p.read = ReadProtocol, p.position = cs::ParseProtocol;
    rows.push_back(p);
    p = ListRow(ListField::CurrentChannel, {"Current Channel:", "当前频道:"}, "cfg_ch_n",
                RadioTables::CurrentChannelItems);
    p.profileKey = "CurrentChannel", p.profileOrder = 4, p.readOrder = 1, p.writeOrder = 3, p.requiredGroup = 1;
    p.read = ReadCurrentChannel, p.position = CurrentChannelPosition;
    rows.push_back(p);
    p = ListRow(ListField::PortBaudRate, {"Port BaudRate:", "串口波特率:"}, "cfg_sbau", PortRates);
    p.profileKey = "PortBaudRate", p.profileOrder = 5, p.readOrder = 3, p.writeOrder = 4, p.requiredGroup = 1;
    p.position = cs::ParsePortBaud;
    rows.push_back(p);
    p = ListRow(ListField::LinkBaudRate, {"Link BaudRate:", "空中波特率:"}, "cfg_baud", InitialLinkRates);
    p.profileKey = "LinkBaudRate", p.profileOrder = 6, p.readOrder = 4, p.writeOrder = 5, p.requiredGroup = 1;
    p.read = ReadLinkBaud, p.wire = LinkRateValue, p.readBack = RateBack, p.mayStayOpen = true;
    rows.push_back(p);
    p = ListRow(ListField::WorkMode, {"work mode:", "工作模式:"}, "cfg_mode", RadioTables::WorkModeItems);
    p.profileKey = "workMode", p.profileOrder = 7, p.readOrder = 14, p.writeOrder = 7, p.requiredGroup = 1;
    p.wire = TableValue<RadioTables::kWorkModeWire, 3>, p.position = cs::ParseWorkMode;
    rows.push_back(p);

    p = TextRow(TextField::Src, {"local:", "本地地址:"}, "cfg_srcx");
    p.profileKey = "SRC", p.profileOrder = 8, p.readOrder = 15, p.writeOrder = 8;
    p.wire = TextValue, p.verify = VerifyKind::Decimal, p.maxValue = 254, p.emptyValue = "0";
    rows.push_back(p);
    p = TextRow(TextField::Dst, {"destinetion:", "目标地址:"}, "cfg_dstx");
    p.profileKey = "DST", p.profileOrder = 9, p.readOrder = 16, p.writeOrder = 9;
    p.wire = TextValue, p.verify = VerifyKind::Decimal, p.maxValue = 255, p.emptyValue = "255";
    rows.push_back(p);

    p = ListRow(ListField::Bandwidth, {"BandWidth:", "带宽:"}, "cfg_bw", Bandwidths);
    p.readOrder = 13, p.writeOrder = 6, p.requiredGroup = 1;
    p.wire = TableValue<RadioTables::kBandwidthWire, 2>, p.position = cs::ParseBandwidth;
    rows.push_back(p);
    p = ListRow(ListField::HighPower, {"High Power:", "高功率:"}, "cfg_pwrh", HighPowers);
    p.profileKey = "HighPower", p.profileOrder = 10, p.readOrder = 5, p.writeOrder = 11, p.requiredGroup = 2;
    p.read = ReadPower, p.wire = PowerLevel, p.position = PowerPosition;
    rows.push_back(p);
    p = ListRow(ListField::LowPower, {"Low Power:", "低功率:"}, "cfg_pwrl", LowPowers);
    p.profileKey = "LowPower", p.profileOrder = 11, p.readOrder = 6, p.writeOrder = 12, p.requiredGroup = 3;
    p.read = ReadPower, p.wire = PowerLevel, p.position = PowerPosition;
    rows.push_back(p);

    p = TextRow(TextField::SerialNumber, {"SN:", "序列号:"}, "cfg_sern");
    p.readOrder = 9, p.writeOrder = 13, p.wire = ArmedText, p.armed = Armed::BySerialUnlock, p.maxLength = 9;
    rows.push_back(p);
    p = TextRow(TextField::HardwareVersion, {"Hardware:", "硬件版本:"}, "cfg_hard");
    p.readOrder = 8, p.writeOrder = 14, p.wire = ArmedText, p.armed = Armed::ByHardwareUnlock, p.maxLength = 4;
    rows.push_back(p);
    p = TextRow(TextField::FirmwareVersion, {"Firmware:", "固件版本:"}, "cfg_firm");
    p.readOrder = 7;
    rows.push_back(p);
    p = TextRow(TextField::SubFirmwareVersion, {"Sub Firmware:", "子固件版本:"}, "SREV");
    p.readOrder = 10;
    rows.push_back(p);
    return rows;
}

std::vector<const Parameter*> InOrder(int Parameter::*order) {
    std::vector<const Parameter*> rows;
    for (const Parameter& row : Parameters())
        if (row.*order > 0) rows.push_back(&row);
    std::sort(rows.begin(), rows.end(),
              [order](const Parameter* a, const Parameter* b) { return a->*order < b->*order; });
    return rows;
}

template <typename Match>
const Parameter& Find(Match match) {
    for (const Parameter& row : Parameters())
        if (match(row)) return row;
    return Parameters().front();  // every field has its row: not reached
}

}  // namespace

std::string Parameter::Query(int channel) const {
    if (kind == ParameterKind::Frequencies) return keyword + std::string(1, char('0' + channel % 10)) + '\r';
    return keyword + std::string("\r");
}

std::string Parameter::Setting(int channel, const std::string& value) const {
    if (value.empty()) return std::string();
    const std::string head = kind == ParameterKind::Frequencies ? keyword + std::to_string(channel) : keyword;
    return head + ' ' + value + '\r';
}

std::string Parameter::NameOf(int channel, Language language) const {
    if (kind == ParameterKind::Frequencies) return name.In(language) + std::to_string(channel);
    std::string text = label.In(language);
    if (!text.empty() && text.back() == ':') text.pop_back();
    return text;
}

const std::vector<Parameter>& Parameters() {
    static const std::vector<Parameter> rows = BuildTable();
    return rows;
}

const std::vector<const Parameter*>& ReadOrder() {
    static const std::vector<const Parameter*> rows = InOrder(&Parameter::readOrder);
    return rows;
}

const std::vector<const Parameter*>& WriteOrder() {
    static const std::vector<const Parameter*> rows = InOrder(&Parameter::writeOrder);
    return rows;
}

const std::vector<const Parameter*>& ProfileOrder() {
    static const std::vector<const Parameter*> rows = InOrder(&Parameter::profileOrder);
    return rows;
}

const Parameter& ParameterOf(ListField list) {
    return Find([list](const Parameter& row) { return row.kind == ParameterKind::List && row.list == list; });
}

const Parameter& ParameterOf(TextField field) {
    return Find([field](const Parameter& row) { return row.kind == ParameterKind::Text && row.field == field; });
}

const Parameter& ParameterOf(Group group) {
    return Find([group](const Parameter& row) { return row.kind == ParameterKind::Frequencies && row.group == group; });
}

int ReadCommandCount() {
    int count = 0;
    for (const Parameter* row : ReadOrder()) count += row->Channels();
    return count;
}
