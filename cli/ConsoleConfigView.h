#pragma once
#include <array>
#include <string>
#include <vector>

#include "radio/ConfigView.h"

class RadioConfig;

// The parameter rows without a window, for the command line: plain texts and
// lists that behave as the window's combo boxes (a position past the end
// selects the last item, a negative one clears the selection, and a change of
// the selected item runs the protocol and bandwidth rules of `config` at once,
// as the window's item-selected event does). Message boxes become lines in
// `errors`, printed by the caller. Texts are English.
class ConsoleConfigView : public IConfigView {
public:
    RadioConfig* config = nullptr;  // set once the RadioConfig over this view exists
    std::vector<std::string> errors;

    Language GetLanguage() const override { return Language::English; }
    std::string GetFrequencyText(Group group, int row) const override;
    void SetFrequencyText(Group group, int row, const std::string& text) override;
    void FocusFrequency(Group, int) override {}
    std::string GetFieldText(TextField field) const override;
    void SetFieldText(TextField field, const std::string& text) override;
    void SetFieldEditable(TextField, bool) override {}
    int GetSelection(ListField list) const override;
    void SelectItem(ListField list, int position) override;
    int GetItemCount(ListField list) const override;
    std::string GetItemText(ListField list, int position) const override;
    void FillList(ListField list, const std::vector<std::string>& items) override;
    std::string GetShownText(ListField list) const override;
    void SetShownText(ListField list, const std::string& text) override;
    void SetListMouseEnabled(ListField list, bool enabled) override;
    bool IsListMouseEnabled(ListField list) const override;
    void SetRowColour(ListField, uint32_t) override {}
    void ResetRowColour(ListField, uint32_t) override {}
    void ShowError(const std::string& message) override { errors.push_back(message); }

private:
    struct List {
        std::vector<std::string> items;
        int selection = -1;
        std::string shown;
        bool mouseEnabled = true;
    };
    List& Of(ListField list) { return lists_[static_cast<size_t>(list)]; }
    const List& Of(ListField list) const { return lists_[static_cast<size_t>(list)]; }

    std::array<std::string, 10> tx_, rx_;
    std::array<std::string, 6> texts_;
    std::array<List, 8> lists_;
};
