#include "radio/RadioConfig.h"

#include "platform/DecimalText.h"

#include <algorithm>
#include <string>

#include "radio/Parameters.h"
#include "radio/RadioTables.h"

namespace RadioConfig {
namespace {

const Texts kInvalid = {"Invalid!", "无效！"};
const Texts kChannel = {"Channel", "频道"};
const Texts kChannelInvalid = {": Invalid!", ": 无效！"};

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

std::string Invalid(const Parameter& row, Language language) {
    return std::string(row.label.In(language)) + kInvalid.In(language);
}

void NormalizeAddress(std::string& text, int maximum, const char* emptyText) {
    if (text.empty()) {
        text = emptyText;
        return;
    }
    const int value = ReadLeadingInt(text);
    const int clamped = value < 0 ? 0 : (value > maximum ? maximum : value);
    // The edit takes digits only, but an imported file can bring any text;
    // that text would go to the radio unchanged inside a command line.
    if (clamped != value || !AllDigits(text)) text = std::to_string(clamped);
}

int ProtocolShown(const RadioSettings& settings) {
    const std::string shown = settings.List(ListField::Protocol).ShownText();
    for (int i = 0; i < RadioTables::kProtocolCount; ++i)
        if (shown == RadioTables::kProtocolItems[i]) return i;
    return -1;
}

void LockLinkRate(RadioSettings& settings, int position) {
    settings.List(ListField::LinkBaudRate).mouseEnabled = false;
    Select(settings, ListField::LinkBaudRate, position);
}

void ApplyLinkRateRule(RadioSettings& settings, int protocol) {
    const int bandwidth = settings.Selection(ListField::Bandwidth);
    if (bandwidth != 0 && bandwidth != 1) return;
    ListValue& link = settings.List(ListField::LinkBaudRate);
    link.greyed = true;
    if (protocol < 0 || protocol >= RadioTables::kProtocolCount) return;
    if (bandwidth == 0) {
        LockLinkRate(settings, 0);
    } else if (IsFreeChoiceProtocol(protocol)) {
        link.greyed = false;
        link.mouseEnabled = true;
    } else {
        LockLinkRate(settings, 1);
    }
}

}  // namespace

std::string Check::Joined() const {
    std::string text;
    for (const std::string& m : messages) text += (text.empty() ? "" : "\n") + m;
    return text;
}

void FillParameterLists(RadioSettings& settings, Language language) {
    for (const Parameter& row : Parameters())
        if (row.kind == ParameterKind::List) settings.List(row.list).Fill(row.items(language));
    ListValue& link = settings.List(ListField::LinkBaudRate);
    link.mouseEnabled = false;
    link.greyed = true;
}

void SpeakLanguage(RadioSettings& settings, Language language) {
    const Language other = language == Language::Chinese ? Language::English : Language::Chinese;
    for (const Parameter& row : Parameters()) {
        if (row.kind != ParameterKind::List) continue;
        ListValue& list = settings.List(row.list);
        if (list.items == row.items(other)) list.items = row.items(language);
    }
}

void Select(RadioSettings& settings, ListField list, int position) {
    ListValue& l = settings.List(list);
    const int target = ListValue::ComboSelection(position, l.Count());
    if (target == l.selection) return;
    l.selection = target;
    if (target >= 0) {
        // The item-selected event; a text shown over the list stays while it runs.
        if (list == ListField::Protocol) protocolChanged(settings);
        if (list == ListField::Bandwidth) applyLinkRateRule(settings);
    }
    l.hasShownOver = false;
    l.shownOver.clear();
}

bool validateFrequencyField(RadioSettings& settings, Group group, int row, Language language, std::string& message) {
    message.clear();
    if (row < 0 || row >= kFrequencyRows) return false;
    const std::string text = settings.Frequency(group, row);
    if (text.find_first_not_of(' ') == std::string::npos) return true;
    const double mhz = RadioTables::ReadFrequency(text);
    if (!InRange(mhz)) {
        message = ParameterOf(group).name.In(language) + std::to_string(row) + kChannelInvalid.In(language);
        return false;
    }
    settings.SetFrequency(group, row, RadioTables::FormatFrequency(mhz));
    return true;
}

Check checkChannelFrequencies(const RadioSettings& settings, Language language) {
    Check check;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const bool transmitSendable = IsSendableFrequency(settings.Frequency(Group::Transmit, channel));
        if (!transmitSendable || !IsSendableFrequency(settings.Frequency(Group::Receive, channel))) {
            check.messages.push_back(kChannel.In(language) + std::to_string(channel) + kChannelInvalid.In(language));
            check.first.kind = CheckSubject::Kind::Frequency;
            check.first.group = transmitSendable ? Group::Receive : Group::Transmit;
            check.first.row = channel;
            break;
        }
    }
    return check;
}

Check checkRequiredFields(const RadioSettings& settings, Language language) {
    Check check;
    // Every group is checked and reported even after a gap in another, so
    // that every message of one attempt is shown at once.
    std::vector<int> reported;
    for (const Parameter& row : Parameters()) {
        if (row.kind != ParameterKind::List || row.requiredGroup == 0 || settings.Selection(row.list) >= 0) continue;
        if (std::find(reported.begin(), reported.end(), row.requiredGroup) != reported.end()) continue;
        if (check.Passed()) {
            check.first.kind = CheckSubject::Kind::List;
            check.first.list = row.list;
        }
        check.messages.push_back(Invalid(row, language));
        reported.push_back(row.requiredGroup);
    }
    if (!check.Passed()) return check;
    for (const Parameter& row : Parameters()) {
        if (row.kind != ParameterKind::Text || row.armed == Armed::Always) continue;
        const bool armed = row.armed == Armed::BySerialUnlock ? settings.serialUnlocked : settings.hardwareUnlocked;
        const std::string& text = settings.Text(row.field);
        if (!armed || (!text.empty() && IsPrintable(text))) continue;
        check.first.kind = CheckSubject::Kind::Text;
        check.first.text = row.field;
        check.messages.push_back(Invalid(row, language));
        break;
    }
    return check;
}

void normalizeAddresses(RadioSettings& settings) {
    for (const Parameter& row : Parameters())
        if (row.kind == ParameterKind::Text && row.maxValue > 0)
            NormalizeAddress(settings.Text(row.field), row.maxValue, row.emptyValue);
}

Check PrepareWrite(RadioSettings& settings, Language language) {
    Check check = checkChannelFrequencies(settings, language);
    if (check.Passed()) check = checkRequiredFields(settings, language);
    normalizeAddresses(settings);  // also when a check failed
    return check;
}

void fillDefaultFrequencies(RadioSettings& settings, Group group) {
    for (int row = 0; row <= kChannelCount; ++row)
        settings.SetFrequency(group, row, RadioTables::FormatFrequency(RadioTables::DefaultFrequencyTable[row]));
}

void protocolChanged(RadioSettings& settings) {
    const int protocol = settings.Selection(ListField::Protocol);
    settings.List(ListField::LinkBaudRate).Fill(RadioTables::LinkBaudItems(protocol));
    // The protocol just chosen, not the text shown: a text shown over the
    // list (" UNKNOW" after a Read) gives way only after this event.
    ApplyLinkRateRule(settings, protocol);
}

void applyLinkRateRule(RadioSettings& settings) { ApplyLinkRateRule(settings, ProtocolShown(settings)); }

void UnlockSerialNumber(RadioSettings& settings) { settings.serialUnlocked = true; }

void UnlockHardware(RadioSettings& settings) { settings.hardwareUnlocked = true; }

void RelockAfterWrite(RadioSettings& settings) {
    settings.serialUnlocked = false;
    settings.hardwareUnlocked = false;
}

}  // namespace RadioConfig
