#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "radio/ConfigView.h"
#include "radio/RadioTables.h"

class RadioConfig;

// A recording fake of the main window's parameter rows, over plain public
// fields that a test may set up and read back directly.
//
// - Frequencies: tx[row] and rx[row], rows 0 to 9.
// - Text rows: text[TextField] and editable[TextField]; the serial number,
//   hardware and both firmware rows start disabled, as in the window.
// - Lists: list(ListField) with its items, selected position (-1 = none), the
//   shown text, the mouse state and the row colours. labelColour starts at the
//   normal label colour; textColour is empty while the list uses the skin's
//   text colours.
// - SelectItem behaves as the window's combo box: a position at or past the
//   end selects the last item (none when the list is empty), a negative one
//   clears the selection, the position already selected changes nothing.
//   Each change to an item (not a clear) records an ItemSelected event and is
//   then dispatched before SelectItem returns, as the window does it. A text
//   set by SetShownText stays the shown text while the event runs and gives
//   way to the selected item only after it, as in the window's combo. The
//   protocol list runs config->protocolChanged(), the bandwidth list runs
//   config->applyLinkRateRule(). Set `config` after constructing the
//   RadioConfig over this view; while it is null nothing is dispatched.
// - FillList replaces the items, clears selection and shown text, no event.
// - Journal: every message box, focus request, item-selected event and
//   editable change is appended to `events` in order; `errors` and
//   `focusRequests` hold the same message boxes and focus requests alone.
//   ClearRecords() empties all three, e.g. after a test's set-up.
// - Out-of-range rows and positions read as empty and are ignored when
//   written, so a faulty caller shows up as a failed expectation, not a crash.
class FakeConfigView : public IConfigView {
public:
    struct List {
        std::vector<std::string> items;
        int selection = -1;
        std::string shownText;
        bool textOverSelection = false;  // shownText was set by SetShownText
        bool mouseEnabled = true;
        uint32_t labelColour = RadioTables::kLabelColour;
        std::optional<uint32_t> textColour;  // empty: the skin's default
    };

    struct Event {
        enum class Kind { Error, Focus, ItemSelected, Editable };
        Kind kind;
        std::string message;    // Error
        Group group{};          // Focus
        int row = -1;           // Focus
        ListField list{};       // ItemSelected
        int position = -1;      // ItemSelected
        TextField field{};      // Editable
        bool editable = false;  // Editable
    };

    struct FocusRequest {
        Group group;
        int row;
    };

    FakeConfigView();

    Language language = Language::English;
    std::array<std::string, 10> tx;
    std::array<std::string, 10> rx;
    std::array<std::string, 6> text;  // indexed by TextField
    std::array<bool, 6> editable;     // indexed by TextField
    std::array<List, 8> lists;        // indexed by ListField
    RadioConfig* config = nullptr;

    std::vector<Event> events;
    std::vector<std::string> errors;
    std::vector<FocusRequest> focusRequests;

    List& list(ListField which) { return lists[static_cast<int>(which)]; }
    const List& list(ListField which) const { return lists[static_cast<int>(which)]; }
    std::string& field(TextField f) { return text[static_cast<int>(f)]; }
    std::string& frequency(Group group, int row);
    // The item-selected events recorded for one list, in order.
    std::vector<int> SelectionsOf(ListField which) const;
    void ClearRecords();

    Language GetLanguage() const override;
    std::string GetFrequencyText(Group group, int row) const override;
    void SetFrequencyText(Group group, int row, const std::string& value) override;
    void FocusFrequency(Group group, int row) override;
    std::string GetFieldText(TextField f) const override;
    void SetFieldText(TextField f, const std::string& value) override;
    void SetFieldEditable(TextField f, bool enabled) override;
    int GetSelection(ListField which) const override;
    void SelectItem(ListField which, int position) override;
    int GetItemCount(ListField which) const override;
    std::string GetItemText(ListField which, int position) const override;
    void FillList(ListField which, const std::vector<std::string>& items) override;
    std::string GetShownText(ListField which) const override;
    void SetShownText(ListField which, const std::string& value) override;
    void SetListMouseEnabled(ListField which, bool enabled) override;
    bool IsListMouseEnabled(ListField which) const override;
    void SetRowColour(ListField which, uint32_t rgb) override;
    void ResetRowColour(ListField which, uint32_t labelRgb) override;
    void ShowError(const std::string& message) override;

private:
    void DispatchItemSelected(ListField which);
    std::string scratch;  // what frequency() hands out for a row outside 0..9
};
