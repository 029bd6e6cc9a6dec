#pragma once
#include "radio/ConfigView.h"

// The radio parameter record and its rules. The values live in the window's
// rows (a frequency or address is the text of its edit, a choice the selected
// position of its list); RadioConfig reads and changes them only through the
// view, and every visible effect (message box, focus, colour, mouse state,
// list items) is a request to the view. Messages follow view.GetLanguage().
//
// Thread: the window thread, like every call of IConfigView.
class RadioConfig {
public:
    explicit RadioConfig(IConfigView& view);

    // Fills protocol, current channel, high and low power, bandwidth, port
    // baud, link baud (the three rates offered before any protocol is chosen)
    // and work mode from the tables, in the view's language. Every refilled
    // list loses its selection; with nothing selected the link rate row is
    // back in its start state: it ignores the mouse and shows the disabled
    // colour until applyLinkRateRule releases it.
    void FillParameterLists();

    // Checks one frequency edit (group, row 0 to 9) when it loses the focus.
    // An empty text (blanks only) passes unchanged; a number within 410 to
    // 470 MHz is rewritten in the "%09.5f" form; anything else shows
    // "TX Channel%d: Invalid!" / "RX Channel%d: Invalid!", gives the focus
    // back to the edit, keeps its text and returns false. A row outside 0 to 9
    // returns false and requests nothing.
    bool validateFrequencyField(Group group, int row);

    // Before a write: channels 1 to 8, transmit then receive, must hold a
    // plain decimal number (blanks around it allowed, see WireFrequency)
    // within 410 to 470 MHz; an empty text fails. The first failing channel
    // is reported as "Channel%d: Invalid!" and false returned; no text changes.
    bool checkChannelFrequencies();

    // Before a write: every list must have a selection (protocol, current
    // channel, port baud, link baud, work mode, bandwidth; then high power and
    // low power), reported by label + "Invalid!" at the first gap of each of
    // the two groups. Only when all pass: an armed serial number, then an
    // armed hardware version, must be neither empty nor hold a control
    // character (which would end the command line on the wire).
    bool checkRequiredFields();

    // Before a write: the local address into 0..254 (empty -> "0"), the
    // destination into 0..255 (empty -> "255"). A text that is not plain
    // digits is replaced by its clamped number as well, so only a decimal
    // number ever goes to the radio.
    void normalizeAddresses();

    // Writes DefaultFrequencyTable entries 0 to 8 into rows 0 to 8 of the
    // group; row 9 stays as it is. Nothing is checked.
    void fillDefaultFrequencies(Group group);

    // After any protocol selection: replaces the link rate list by the
    // selected protocol's (its selection is lost), then the link rate rule
    // for the selected protocol, whatever text the view shows over it.
    void protocolChanged();

    // Ties the link rate to bandwidth and protocol: at 12.5 kHz the first rate
    // is selected and locked, at 25.0 kHz the second one, except HUACE, SOUTH
    // and TRANSEOT, which leave the choice to the user. A protocol text that
    // is not one of the nine leaves the list's selection and mouse state
    // alone; no bandwidth selected changes nothing at all.
    void applyLinkRateRule();

    // An item of a list was selected (the item-selected event of a view):
    // the protocol and bandwidth lists run their rules above.
    void itemSelected(ListField list);

    // The Unlock buttons: enable that row for editing and arm it for writing.
    void UnlockSerialNumber();
    void UnlockHardware();
    // End of every write, whatever its outcome: both rows disabled, disarmed.
    void RelockAfterWrite();

    // Armed fields, read by the write sequence.
    bool serialUnlocked = false;
    bool hardwareUnlocked = false;

private:
    bool ReportFirstMissingSelection(const ListField* lists, int count);
    bool ReportUnfitArmedField(bool armed, TextField field);
    void NormalizeAddress(TextField field, int maximum, const char* emptyText);
    void LockLinkRate(int position);
    int ProtocolShown() const;
    void ApplyLinkRateRule(int protocol);

    IConfigView& view;
};
