#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The window's parameter rows, as the radio logic sees them. The main window
// implements this over its controls; tests implement it over plain fields.
// Every call is made on the window thread.

enum class Language { English, Chinese };

// The two frequency groups; each has rows 0 to 9, rows 1 to 8 are channels.
enum class Group { Transmit, Receive };

// Rows whose value is a text.
enum class TextField { Src, Dst, SerialNumber, HardwareVersion, FirmwareVersion, SubFirmwareVersion };

// Rows whose value is the selected position of a drop-down list.
enum class ListField { Protocol, CurrentChannel, PortBaudRate, LinkBaudRate, Bandwidth, WorkMode, HighPower, LowPower };

class IConfigView {
public:
    virtual Language GetLanguage() const = 0;

    // Frequency edits, row 0 to 9.
    virtual std::string GetFrequencyText(Group group, int row) const = 0;
    virtual void SetFrequencyText(Group group, int row, const std::string& text) = 0;
    // Gives the keyboard focus back to a frequency edit.
    virtual void FocusFrequency(Group group, int row) = 0;

    virtual std::string GetFieldText(TextField field) const = 0;
    virtual void SetFieldText(TextField field, const std::string& text) = 0;
    // Enables or disables editing of a text row (serial number, hardware).
    virtual void SetFieldEditable(TextField field, bool editable) = 0;

    // The selected position, -1 when nothing is selected.
    virtual int GetSelection(ListField list) const = 0;
    // Selects as a combo box does: a position at or past the end selects the
    // last item, a negative one clears the selection, the selected position
    // changes nothing. A change of the selected item raises the item-selected
    // event at once, before this returns (the window then runs the rules of
    // RadioConfig for the protocol and bandwidth lists).
    virtual void SelectItem(ListField list, int position) = 0;
    // The position a combo box of `count` items selects for `position`.
    static int ComboSelection(int position, int count) {
        return position < 0 ? -1 : (position >= count ? count - 1 : position);
    }
    virtual int GetItemCount(ListField list) const = 0;
    virtual std::string GetItemText(ListField list, int position) const = 0;
    // Replaces all items; the selection is cleared, no event is raised.
    virtual void FillList(ListField list, const std::vector<std::string>& items) = 0;
    // The text the list shows: the selected item's, or one set below.
    virtual std::string GetShownText(ListField list) const = 0;
    // Shows a text without changing the selected position (" UNKNOW").
    virtual void SetShownText(ListField list, const std::string& text) = 0;
    // A list that ignores the mouse cannot be opened by the user.
    virtual void SetListMouseEnabled(ListField list, bool enabled) = 0;
    virtual bool IsListMouseEnabled(ListField list) const = 0;
    // Colours of a list row: its label and the list's text colours (0xRRGGBB).
    virtual void SetRowColour(ListField list, uint32_t rgb) = 0;
    // The label back to `rgb`, the list's text colours back to the skin's.
    virtual void ResetRowColour(ListField list, uint32_t labelRgb) = 0;

    // A modal message box with the error icon and the caption "Error" ("错误").
    virtual void ShowError(const std::string& message) = 0;

protected:
    ~IConfigView() = default;
};
