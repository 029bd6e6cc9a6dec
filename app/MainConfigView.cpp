#include "app/MainConfigView.h"

#include "Loom/Control/ListLabelElementUI.h"
#include "platform/Win32Text.h"
#include "radio/RadioConfig.h"
#include "radio/RadioTables.h"

using namespace Loom;

namespace {

// Text colours of the combos as the skin leaves them.
constexpr DWORD kComboTextColour = 0xFF000000;

DWORD Opaque(uint32_t rgb) { return 0xFF000000 | (rgb & 0xFFFFFF); }

std::vector<std::string> ItemsOf(CComboUI* combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo->GetCount(); ++i) items.push_back(combo->GetItemAt(i)->GetText());
    return items;
}

void SetText(CEditUI* edit, const std::string& text) {
    if (edit->GetText() != text) edit->SetText(text);
}

void SetRowColour(CLabelAndComboUI* row, DWORD label, DWORD text) {
    if (row->GetLabel()->GetTextColor() == label && row->GetCombo()->GetListInfo()->textColor == text) return;
    row->GetLabel()->SetTextColor(label);
    row->GetCombo()->GetListInfo()->textColor = text;
    row->GetCombo()->GetListInfo()->selectedTextColor = text;
    row->GetCombo()->Invalidate();
}

}  // namespace

MainConfigView::MainConfigView(MainWindowControls& controls, HWND owner)
    : c_(controls), owner_(owner), sink_([this](const std::string& text, const std::string& caption) {
          Text::MessageBoxUtf8(owner_, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
      }) {}

bool MainConfigView::ListOf(const CControlUI* combo, ListField& list) const {
    for (size_t i = 0; i < kListFieldCount; ++i) {
        if (c_.listRows[i] != nullptr && c_.listRows[i]->GetCombo() == combo) {
            list = static_cast<ListField>(i);
            return true;
        }
    }
    return false;
}

CEditUI* MainConfigView::FrequencyEdit(Group group, int row) const {
    if (row < 0 || row >= kFrequencyRows) return nullptr;
    return (group == Group::Transmit ? c_.txChannelRow : c_.rxChannelRow)[row]->GetEdit();
}

void MainConfigView::FocusFrequency(Group group, int row) {
    if (CEditUI* edit = FrequencyEdit(group, row)) edit->SetFocus();
}

void MainConfigView::FocusSubject(const RadioConfig::CheckSubject& subject) {
    using Kind = RadioConfig::CheckSubject::Kind;
    if (subject.kind == Kind::Frequency) FocusFrequency(subject.group, subject.row);
    if (subject.kind == Kind::List) c_.listRows[static_cast<size_t>(subject.list)]->GetCombo()->SetFocus();
    if (subject.kind == Kind::Text) c_.textRows[static_cast<size_t>(subject.text)]->GetEdit()->SetFocus();
}

void MainConfigView::ShowList(ListField list, const ListValue& value) {
    CLabelAndComboUI* row = c_.listRows[static_cast<size_t>(list)];
    CShownTextComboUI* combo = row->GetCombo();
    if (ItemsOf(combo) != value.items) FillCombo(combo, value.items);
    if (combo->GetCurSel() != value.selection) combo->SelectItem(value.selection);
    // After the selection, which lets go of a text shown over the list.
    if (value.hasShownOver)
        combo->SetShownText(value.shownOver);
    else
        combo->ClearShownText();
    if (combo->IsMouseEnabled() != value.mouseEnabled) combo->SetMouseEnabled(value.mouseEnabled);
    if (value.greyed)
        SetRowColour(row, Opaque(RadioTables::kDisabledColour), Opaque(RadioTables::kDisabledColour));
    else
        SetRowColour(row, Opaque(RadioTables::kLabelColour), kComboTextColour);
}

void MainConfigView::Show(const RadioSettings& settings) {
    ++showing_;
    for (Group group : {Group::Transmit, Group::Receive})
        for (int row = 0; row < kFrequencyRows; ++row)
            SetText(FrequencyEdit(group, row), settings.Frequency(group, row));
    for (size_t i = 0; i < kTextFieldCount; ++i) SetText(c_.textRows[i]->GetEdit(), settings.texts[i]);
    for (size_t i = 0; i < kListFieldCount; ++i) ShowList(static_cast<ListField>(i), settings.lists[i]);
    // The unlocked rows take edits; the firmware rows never do.
    c_.serialNumberRow->SetEnabled(settings.serialUnlocked);
    c_.hardwareRow->SetEnabled(settings.hardwareUnlocked);
    --showing_;
}

bool MainConfigView::Take(const CControlUI* control, RadioSettings& settings) const {
    ListField list;
    if (ListOf(control, list)) {
        RadioConfig::Select(settings, list, c_.listRows[static_cast<size_t>(list)]->GetCombo()->GetCurSel());
        return true;
    }
    for (Group group : {Group::Transmit, Group::Receive}) {
        for (int row = 0; row < kFrequencyRows; ++row) {
            if (FrequencyEdit(group, row) != control) continue;
            settings.SetFrequency(group, row, FrequencyEdit(group, row)->GetText());
            return true;
        }
    }
    for (size_t i = 0; i < kTextFieldCount; ++i) {
        if (c_.textRows[i]->GetEdit() != control) continue;
        settings.texts[i] = c_.textRows[i]->GetEdit()->GetText();
        return true;
    }
    return false;
}

void MainConfigView::ShowError(const std::string& message) { sink_(message, chinese_ ? "错误" : "Error"); }

int MainConfigView::GetPortSelection() const { return c_.portRow->GetCombo()->GetCurSel(); }
int MainConfigView::GetPortCount() const { return c_.portRow->GetCombo()->GetCount(); }
std::string MainConfigView::GetPortEntry(int position) const {
    CControlUI* item = c_.portRow->GetCombo()->GetItemAt(position);
    return item != nullptr ? item->GetText() : std::string();
}
void MainConfigView::SelectPort(int position) { c_.portRow->GetCombo()->SelectItem(position); }
int MainConfigView::GetRateSelection() const { return c_.rateRow->GetCombo()->GetCurSel(); }
int MainConfigView::GetRateCount() const { return c_.rateRow->GetCombo()->GetCount(); }
void MainConfigView::SelectRate(int position) { c_.rateRow->GetCombo()->SelectItem(position); }

void MainConfigView::ReplacePortEntries(const std::vector<std::string>& entries) {
    FillCombo(c_.portRow->GetCombo(), entries);
}

void MainConfigView::DisableRadioButtons() {
    for (CButtonUI* button : {c_.connectButton, c_.disconnectButton, c_.readButton, c_.writeButton})
        button->SetEnabled(false);
}

void MainConfigView::FillCombo(CComboUI* combo, const std::vector<std::string>& items) {
    combo->RemoveAll();
    for (const std::string& text : items) {
        auto* item = new CListLabelElementUI;
        item->SetText(text);
        combo->Add(item);
    }
}

std::vector<int> MainConfigView::ComboNumbers(CComboUI* combo, int (*parse)(const std::string&)) {
    std::vector<int> numbers;
    for (int i = 0; i < combo->GetCount(); ++i) numbers.push_back(parse(combo->GetItemAt(i)->GetText()));
    return numbers;
}

int MainConfigView::ComboPosition(CComboUI* combo, int number, int (*parse)(const std::string&)) {
    for (int i = 0; i < combo->GetCount(); ++i)
        if (parse(combo->GetItemAt(i)->GetText()) == number) return i;
    return -1;
}
