#pragma once
#include <string>
#include <vector>

#include "radio/RadioSettings.h"

// The rules of the radio's parameters, acting on the values alone. What the
// window shows of them (a message box, the focus given back, a greyed row, a
// list that ignores the mouse) it reads from the settings and the results
// here. Messages are in the language given. Any thread, on its own settings.
namespace RadioConfig {

// What a check's first message is about: where the window puts the focus
// once the message has been read.
struct CheckSubject {
    enum class Kind { None, Frequency, List, Text };
    Kind kind = Kind::None;
    Group group = Group::Transmit;  // Frequency: the group and its row
    int row = 0;
    ListField list = ListField::Protocol;  // List
    TextField text = TextField::Src;       // Text
};

// What a check found: the messages to show, in order; none when it passed.
struct Check {
    std::vector<std::string> messages;
    CheckSubject first;
    bool Passed() const { return messages.empty(); }
    // All messages, one a line.
    std::string Joined() const;
};

// Fills protocol, current channel, high and low power, bandwidth, port baud,
// link baud (the three rates offered before any protocol is chosen) and work
// mode from the tables, in the language. Every refilled list loses its
// selection; with nothing selected the link rate row is back in its start
// state: it ignores the mouse and is greyed until the rule releases it.
void FillParameterLists(RadioSettings& settings, Language language);

// The lists whose items are the other language's table (current channel,
// work mode) take this language's, keeping their selections: a Read that
// began before a language switch shows what it read in the new language.
void SpeakLanguage(RadioSettings& settings, Language language);

// Selects as a combo box does: a position at or past the end selects the
// last item, a negative one clears the selection, the selected position
// changes nothing. A change of the selected item runs the rules at once, as
// the window's item-selected event does: the protocol list runs
// protocolChanged, the bandwidth list applyLinkRateRule. A text shown over
// the list gives way to the item after them.
void Select(RadioSettings& settings, ListField list, int position);

// One frequency field (group, row 0 to 9) when it loses the focus: an empty
// text (blanks only) passes unchanged; a number within 410 to 470 MHz is
// rewritten in the "%09.5f" form; anything else fails with "TX Channel%d:
// Invalid!" / "RX Channel%d: Invalid!" and keeps its text. A row outside 0
// to 9 fails without a message.
bool validateFrequencyField(RadioSettings& settings, Group group, int row, Language language, std::string& message);

// Before a write: channels 1 to 8, transmit then receive, must hold a plain
// decimal number (blanks around it allowed) within 410 to 470 MHz; an empty
// text fails. The first failing channel is reported as "Channel%d: Invalid!".
Check checkChannelFrequencies(const RadioSettings& settings, Language language);

// Before a write: every required list must have a selection (protocol,
// current channel, port baud, link baud, work mode, bandwidth; then high
// power, then low power), each group reported by label + "Invalid!" at its
// first gap. Only when all pass: an armed serial number, then an armed
// hardware version, must be neither empty nor hold a control character
// (which would end the command line on the wire).
Check checkRequiredFields(const RadioSettings& settings, Language language);

// Before a write: the local address into 0..254 (empty -> "0"), the
// destination into 0..255 (empty -> "255"). A text that is not plain digits
// is replaced by its clamped number as well, so only a decimal number ever
// goes to the radio.
void normalizeAddresses(RadioSettings& settings);

// The checks and the normalisation a Write makes before anything is sent, in
// their order: the channels, then (if they passed) the required lists; the
// addresses are normalised whatever the checks found.
Check PrepareWrite(RadioSettings& settings, Language language);

// Writes DefaultFrequencyTable entries 0 to 8 into rows 0 to 8 of the group;
// row 9 stays as it is. Nothing is checked.
void fillDefaultFrequencies(RadioSettings& settings, Group group);

// After any protocol selection: replaces the link rate list by the selected
// protocol's (its selection is lost), then the link rate rule for the
// selected protocol, whatever text is shown over the protocol list.
void protocolChanged(RadioSettings& settings);

// Ties the link rate to bandwidth and protocol: at 12.5 kHz the first rate is
// selected and locked, at 25.0 kHz the second one, except HUACE, SOUTH and
// TRANSEOT, which leave the choice to the user. A protocol text that is not
// one of the nine leaves the list's selection and mouse state alone; no
// bandwidth selected changes nothing at all.
void applyLinkRateRule(RadioSettings& settings);

// The Unlock buttons arm a field for the next Write; every Write disarms
// both, whatever its outcome.
void UnlockSerialNumber(RadioSettings& settings);
void UnlockHardware(RadioSettings& settings);
void RelockAfterWrite(RadioSettings& settings);

}  // namespace RadioConfig
