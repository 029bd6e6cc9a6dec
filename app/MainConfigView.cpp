#include "app/MainConfigView.h"

#include "Loom/Control/ListLabelElementUI.h"
#include "platform/Win32Text.h"

using namespace Loom;

namespace {

// Text colours of the combos as the skin leaves them.
constexpr DWORD kComboTextColour = 0xFF000000;

DWORD Opaque(uint32_t rgb) { return 0xFF000000 | (rgb & 0xFFFFFF); }

}  // namespace

MainConfigView::MainConfigView(MainWindowControls& controls, HWND owner)
    : c_(controls), owner_(owner), sink_([this](const std::string& text, const std::string& caption) {
          Text::MessageBoxUtf8(owner_, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
      }) {}

CLabelAndComboUI* MainConfigView::Row(ListField list) const {
    switch (list) {
    case ListField::Protocol:
        return c_.protocolRow;
    case ListField::CurrentChannel:
        return c_.currentChannelRow;
    case ListField::PortBaudRate:
        return c_.portBaudRow;
    case ListField::LinkBaudRate:
        return c_.linkBaudRow;
    case ListField::Bandwidth:
        return c_.bandwidthRow;
    case ListField::WorkMode:
        return c_.workModeRow;
    case ListField::HighPower:
        return c_.highPowerRow;
    case ListField::LowPower:
        return c_.lowPowerRow;
    }
    return c_.protocolRow;
}

CLabelAndEditUI* MainConfigView::Row(TextField field) const {
    switch (field) {
    case TextField::Src:
        return c_.localAddressRow;
    case TextField::Dst:
        return c_.destinationAddressRow;
    case TextField::SerialNumber:
        return c_.serialNumberRow;
    case TextField::HardwareVersion:
        return c_.hardwareRow;
    case TextField::FirmwareVersion:
        return c_.firmwareRow;
    case TextField::SubFirmwareVersion:
        return c_.subFirmwareRow;
    }
    return c_.localAddressRow;
}

bool MainConfigView::ListOf(const CControlUI* combo, ListField& list) const {
    for (ListField l :
         {ListField::Protocol, ListField::CurrentChannel, ListField::PortBaudRate, ListField::LinkBaudRate,
          ListField::Bandwidth, ListField::WorkMode, ListField::HighPower, ListField::LowPower}) {
        if (Row(l)->GetCombo() == combo) {
            list = l;
            return true;
        }
    }
    return false;
}

CEditUI* MainConfigView::FrequencyEdit(Group group, int row) const {
    if (row < 0 || row > 9) return nullptr;
    return (group == Group::Transmit ? c_.txChannelRow : c_.rxChannelRow)[row]->GetEdit();
}

std::string MainConfigView::GetFrequencyText(Group group, int row) const {
    CEditUI* edit = FrequencyEdit(group, row);
    return edit != nullptr ? edit->GetText() : std::string();
}

void MainConfigView::SetFrequencyText(Group group, int row, const std::string& text) {
    if (CEditUI* edit = FrequencyEdit(group, row)) edit->SetText(text);
}

void MainConfigView::FocusFrequency(Group group, int row) {
    if (CEditUI* edit = FrequencyEdit(group, row)) edit->SetFocus();
}

std::string MainConfigView::GetFieldText(TextField field) const { return Row(field)->GetEdit()->GetText(); }

void MainConfigView::SetFieldText(TextField field, const std::string& text) { Row(field)->GetEdit()->SetText(text); }

void MainConfigView::SetFieldEditable(TextField field, bool editable) { Row(field)->SetEnabled(editable); }

int MainConfigView::GetSelection(ListField list) const { return Row(list)->GetCombo()->GetCurSel(); }

void MainConfigView::SelectItem(ListField list, int position) {
    CComboUI* combo = Row(list)->GetCombo();
    if (position == combo->GetCurSel()) return;
    combo->SelectItem(position);
}

int MainConfigView::GetItemCount(ListField list) const { return Row(list)->GetCombo()->GetCount(); }

std::string MainConfigView::GetItemText(ListField list, int position) const {
    CControlUI* item = Row(list)->GetCombo()->GetItemAt(position);
    return item != nullptr ? item->GetText() : std::string();
}

void MainConfigView::FillCombo(CComboUI* combo, const std::vector<std::string>& items) {
    combo->RemoveAll();
    for (const std::string& text : items) {
        auto* item = new CListLabelElementUI;
        item->SetText(text);
        combo->Add(item);
    }
}

void MainConfigView::FillList(ListField list, const std::vector<std::string>& items) {
    FillCombo(Row(list)->GetCombo(), items);
}

std::string MainConfigView::GetShownText(ListField list) const { return Row(list)->GetCombo()->GetText(); }

void MainConfigView::SetShownText(ListField list, const std::string& text) {
    Row(list)->GetCombo()->SetShownText(text);
}

void MainConfigView::SetListMouseEnabled(ListField list, bool enabled) {
    Row(list)->GetCombo()->SetMouseEnabled(enabled);
}

bool MainConfigView::IsListMouseEnabled(ListField list) const { return Row(list)->GetCombo()->IsMouseEnabled(); }

void MainConfigView::SetRowColour(ListField list, uint32_t rgb) {
    CLabelAndComboUI* row = Row(list);
    row->GetLabel()->SetTextColor(Opaque(rgb));
    row->GetCombo()->GetListInfo()->textColor = Opaque(rgb);
    row->GetCombo()->GetListInfo()->selectedTextColor = Opaque(rgb);
    row->GetCombo()->Invalidate();
}

void MainConfigView::ResetRowColour(ListField list, uint32_t labelRgb) {
    CLabelAndComboUI* row = Row(list);
    row->GetLabel()->SetTextColor(Opaque(labelRgb));
    row->GetCombo()->GetListInfo()->textColor = kComboTextColour;
    row->GetCombo()->GetListInfo()->selectedTextColor = kComboTextColour;
    row->GetCombo()->Invalidate();
}

void MainConfigView::ShowError(const std::string& message) { sink_(message, chinese_ ? "错误" : "Error"); }

int MainConfigView::GetPortSelection() const { return c_.portRow->GetCombo()->GetCurSel(); }
int MainConfigView::GetPortCount() const { return c_.portRow->GetCombo()->GetCount(); }
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
