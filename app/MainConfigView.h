#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainWindowTree.h"
#include "radio/RadioConfig.h"
#include "radio/RadioSettings.h"
#include "radio/SettingsWindow.h"
#include "serial/PortListWindow.h"

// The main window's rows bound to the settings it shows: the settings into
// the rows (Show: after a Read, an Import, a rule, the language), and what
// the user types or chooses in a row into the settings (Take). Also the port
// and rate boxes and the language flag as the remembered settings and the
// port list see them, and the error box. Window thread only.
class MainConfigView : public ISettingsWindow, public IPortListWindow {
public:
    // Shows a modal error message: (text, caption). Tests replace it.
    using MessageSink = std::function<void(const std::string& text, const std::string& caption)>;

    MainConfigView(MainWindowControls& controls, HWND owner);
    void SetMessageSink(MessageSink sink) { sink_ = std::move(sink); }

    Language GetLanguage() const { return chinese_ ? Language::Chinese : Language::English; }

    // Every row shows its value: texts, list items and selections, a text
    // shown over a list, a locked or greyed link rate row, the unlocked rows
    // enabled. The item-selected events the combos raise meanwhile are the
    // window's own (IsShowing), not the user's.
    void Show(const RadioSettings& settings);
    bool IsShowing() const { return showing_ > 0; }
    // What the user changed in `control` into the settings: an edit's text,
    // a combo's selection (which runs the rules, RadioConfig::Select). False
    // for a control that shows no parameter.
    bool Take(const Loom::CControlUI* control, RadioSettings& settings) const;
    // The list a combo shows; false for a combo that is none of them.
    bool ListOf(const Loom::CControlUI* combo, ListField& list) const;
    // The frequency edit of a group and row, nullptr outside rows 0 to 9.
    Loom::CEditUI* FrequencyEdit(Group group, int row) const;
    void FocusFrequency(Group group, int row);
    // The field a check's message was about takes the focus.
    void FocusSubject(const RadioConfig::CheckSubject& subject);
    // A modal message box with the error icon and the caption "Error" ("错误").
    void ShowError(const std::string& message);

    int GetPortSelection() const override;
    int GetPortCount() const override;
    std::string GetPortEntry(int position) const override;
    void SelectPort(int position) override;
    int GetRateSelection() const override;
    int GetRateCount() const override;
    void SelectRate(int position) override;
    bool IsChinese() const override { return chinese_; }
    void SetChinese(bool chinese) override { chinese_ = chinese; }

    void ReplacePortEntries(const std::vector<std::string>& entries) override;
    void DisableRadioButtons() override;

    // Replaces the items of any combo of the window; the selection is lost.
    static void FillCombo(Loom::CComboUI* combo, const std::vector<std::string>& items);
    // The numbers the items of a list name (ports, rates), read by `parse`,
    // and the position of the item naming `number` (-1: none).
    static std::vector<int> ComboNumbers(Loom::CComboUI* combo, int (*parse)(const std::string&));
    static int ComboPosition(Loom::CComboUI* combo, int number, int (*parse)(const std::string&));

private:
    void ShowList(ListField list, const ListValue& value);

    MainWindowControls& c_;
    HWND owner_;
    bool chinese_ = true;
    int showing_ = 0;
    MessageSink sink_;
};
