#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

// Every radio parameter the window shows, as plain values: a frequency or an
// address is its text, a choice is the selected position in its list (with
// the list's items, which the link rate rule and the language change). The
// window owns the one copy it shows; a radio job gets a copy and hands a new
// one back; the command line and the tests use it directly. The rules that
// act on it are in RadioConfig.h, the parameters' table in Parameters.h.

enum class Language { English, Chinese };

// The two frequency groups; each has rows 0 to 9, rows 1 to 8 are channels.
enum class Group { Transmit, Receive };

// Rows whose value is a text. A new one goes before Count, which counts them.
enum class TextField { Src, Dst, SerialNumber, HardwareVersion, FirmwareVersion, SubFirmwareVersion, Count };

// Rows whose value is the selected position of a drop-down list. A new one
// goes before Count, which counts them.
enum class ListField {
    Protocol,
    CurrentChannel,
    PortBaudRate,
    LinkBaudRate,
    Bandwidth,
    WorkMode,
    HighPower,
    LowPower,
    Count
};

constexpr size_t kTextFieldCount = static_cast<size_t>(TextField::Count);
constexpr size_t kListFieldCount = static_cast<size_t>(ListField::Count);
constexpr int kFrequencyRows = 10;
constexpr int kChannelCount = 8;  // rows 1 to 8

// One drop-down list as the window shows it.
struct ListValue {
    std::vector<std::string> items;
    int selection = -1;  // -1: nothing selected
    // A text shown over the selection without changing it (" UNKNOW" after a
    // Read), until the selection changes or the items are replaced.
    std::string shownOver;
    bool hasShownOver = false;
    // The user can open the list (the link rate rule locks it).
    bool mouseEnabled = true;
    // The row is drawn in the disabled colour (label and text).
    bool greyed = false;

    // The text the list shows: the one shown over it, else the selected item.
    std::string ShownText() const;
    // The item at `position`; empty outside the list.
    std::string ItemText(int position) const;
    int Count() const { return static_cast<int>(items.size()); }
    // Replaces the items; the selection and a text over it are lost.
    void Fill(std::vector<std::string> newItems);
    // The position a combo box of `count` items selects for `position`: at
    // or past the end the last item, a negative one none.
    static int ComboSelection(int position, int count) {
        return position < 0 ? -1 : (position >= count ? count - 1 : position);
    }

    bool operator==(const ListValue& other) const;
    bool operator!=(const ListValue& other) const { return !(*this == other); }
};

struct RadioSettings {
    std::array<std::string, kFrequencyRows> tx, rx;
    std::array<std::string, kTextFieldCount> texts;
    std::array<ListValue, kListFieldCount> lists;
    // The Unlock buttons arm the serial number and the hardware version for
    // the next Write, which disarms them again.
    bool serialUnlocked = false;
    bool hardwareUnlocked = false;

    // Row 0 to 9 of a group; any other row reads empty and writes nothing.
    std::string Frequency(Group group, int row) const;
    void SetFrequency(Group group, int row, const std::string& text);
    std::string& Text(TextField field) { return texts[static_cast<size_t>(field)]; }
    const std::string& Text(TextField field) const { return texts[static_cast<size_t>(field)]; }
    ListValue& List(ListField list) { return lists[static_cast<size_t>(list)]; }
    const ListValue& List(ListField list) const { return lists[static_cast<size_t>(list)]; }
    int Selection(ListField list) const { return List(list).selection; }
    // The selected item's text; empty when none is selected.
    std::string SelectedText(ListField list) const { return List(list).ItemText(Selection(list)); }

    bool operator==(const RadioSettings& other) const;
    bool operator!=(const RadioSettings& other) const { return !(*this == other); }
};
