#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainWindowTree.h"
#include "radio/ConfigView.h"
#include "radio/SettingsWindow.h"
#include "serial/PortListWindow.h"

// The main window's rows as the radio logic, the remembered settings and the
// port list see them: every value is the text of an edit or the selected
// position of a combo of the window's tree. Holds the language flag. Window
// thread only.
class MainConfigView : public IConfigView, public ISettingsWindow, public IPortListWindow {
public:
    // Shows a modal error message: (text, caption). Tests replace it.
    using MessageSink = std::function<void(const std::string& text, const std::string& caption)>;

    MainConfigView(MainWindowControls& controls, HWND owner);
    void SetMessageSink(MessageSink sink) { sink_ = std::move(sink); }

    Language GetLanguage() const override { return chinese_ ? Language::Chinese : Language::English; }
    std::string GetFrequencyText(Group group, int row) const override;
    void SetFrequencyText(Group group, int row, const std::string& text) override;
    void FocusFrequency(Group group, int row) override;
    std::string GetFieldText(TextField field) const override;
    void SetFieldText(TextField field, const std::string& text) override;
    void SetFieldEditable(TextField field, bool editable) override;
    int GetSelection(ListField list) const override;
    void SelectItem(ListField list, int position) override;
    int GetItemCount(ListField list) const override;
    std::string GetItemText(ListField list, int position) const override;
    void FillList(ListField list, const std::vector<std::string>& items) override;
    std::string GetShownText(ListField list) const override;
    void SetShownText(ListField list, const std::string& text) override;
    void SetListMouseEnabled(ListField list, bool enabled) override;
    bool IsListMouseEnabled(ListField list) const override;
    void SetRowColour(ListField list, uint32_t rgb) override;
    void ResetRowColour(ListField list, uint32_t labelRgb) override;
    void ShowError(const std::string& message) override;

    int GetPortSelection() const override;
    int GetPortCount() const override;
    void SelectPort(int position) override;
    int GetRateSelection() const override;
    int GetRateCount() const override;
    void SelectRate(int position) override;
    bool IsChinese() const override { return chinese_; }
    void SetChinese(bool chinese) override { chinese_ = chinese; }

    void ReplacePortEntries(const std::vector<std::string>& entries) override;
    void DisableRadioButtons() override;

    // The list a combo belongs to; false for a combo that is none of them.
    bool ListOf(const Loom::CControlUI* combo, ListField& list) const;
    // Replaces the items of any combo of the window; the selection is lost.
    static void FillCombo(Loom::CComboUI* combo, const std::vector<std::string>& items);
    // The numbers the items of a list name (ports, rates), read by `parse`,
    // and the position of the item naming `number` (-1: none).
    static std::vector<int> ComboNumbers(Loom::CComboUI* combo, int (*parse)(const std::string&));
    static int ComboPosition(Loom::CComboUI* combo, int number, int (*parse)(const std::string&));

private:
    CLabelAndComboUI* Row(ListField list) const;
    CLabelAndEditUI* Row(TextField field) const;
    Loom::CEditUI* FrequencyEdit(Group group, int row) const;

    MainWindowControls& c_;
    HWND owner_;
    bool chinese_ = true;
    MessageSink sink_;
};
