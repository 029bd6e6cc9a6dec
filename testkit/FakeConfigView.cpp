#include "testkit/FakeConfigView.h"

#include "radio/RadioConfig.h"

namespace {

int Index(TextField f) { return static_cast<int>(f); }
bool ValidRow(int row) { return row >= 0 && row < 10; }

}  // namespace

FakeConfigView::FakeConfigView() {
    editable.fill(true);
    for (TextField f : {TextField::SerialNumber, TextField::HardwareVersion, TextField::FirmwareVersion,
                        TextField::SubFirmwareVersion})
        editable[Index(f)] = false;
}

std::string& FakeConfigView::frequency(Group group, int row) {
    if (!ValidRow(row)) {
        scratch.clear();
        return scratch;
    }
    return group == Group::Transmit ? tx[row] : rx[row];
}

std::vector<int> FakeConfigView::SelectionsOf(ListField which) const {
    std::vector<int> positions;
    for (const Event& e : events)
        if (e.kind == Event::Kind::ItemSelected && e.list == which) positions.push_back(e.position);
    return positions;
}

void FakeConfigView::ClearRecords() {
    events.clear();
    errors.clear();
    focusRequests.clear();
}

Language FakeConfigView::GetLanguage() const { return language; }

std::string FakeConfigView::GetFrequencyText(Group group, int row) const {
    if (!ValidRow(row)) return {};
    return group == Group::Transmit ? tx[row] : rx[row];
}

void FakeConfigView::SetFrequencyText(Group group, int row, const std::string& value) {
    if (ValidRow(row)) frequency(group, row) = value;
}

void FakeConfigView::FocusFrequency(Group group, int row) {
    focusRequests.push_back({group, row});
    Event e{Event::Kind::Focus, {}};
    e.group = group;
    e.row = row;
    events.push_back(e);
}

std::string FakeConfigView::GetFieldText(TextField f) const { return text[Index(f)]; }

void FakeConfigView::SetFieldText(TextField f, const std::string& value) { text[Index(f)] = value; }

void FakeConfigView::SetFieldEditable(TextField f, bool enabled) {
    editable[Index(f)] = enabled;
    Event e{Event::Kind::Editable, {}};
    e.field = f;
    e.editable = enabled;
    events.push_back(e);
}

int FakeConfigView::GetSelection(ListField which) const { return list(which).selection; }

void FakeConfigView::SelectItem(ListField which, int position) {
    List& l = list(which);
    const int target = ComboSelection(position, static_cast<int>(l.items.size()));
    if (target == l.selection) return;
    l.selection = target;
    if (target < 0) {  // clearing raises no event
        l.shownText.clear();
        l.textOverSelection = false;
        return;
    }
    if (!l.textOverSelection) l.shownText = l.items[target];
    Event e{Event::Kind::ItemSelected, {}};
    e.list = which;
    e.position = target;
    events.push_back(e);
    DispatchItemSelected(which);
    // The window's combo lets go of a text of its own only after the event.
    if (!l.textOverSelection) return;
    l.textOverSelection = false;
    l.shownText = l.selection < 0 ? std::string() : l.items[l.selection];
}

void FakeConfigView::DispatchItemSelected(ListField which) {
    if (config) config->itemSelected(which);
}

int FakeConfigView::GetItemCount(ListField which) const { return static_cast<int>(list(which).items.size()); }

std::string FakeConfigView::GetItemText(ListField which, int position) const {
    const List& l = list(which);
    if (position < 0 || position >= static_cast<int>(l.items.size())) return {};
    return l.items[position];
}

void FakeConfigView::FillList(ListField which, const std::vector<std::string>& items) {
    List& l = list(which);
    l.items = items;
    l.selection = -1;
    l.shownText.clear();
    l.textOverSelection = false;
}

std::string FakeConfigView::GetShownText(ListField which) const { return list(which).shownText; }

void FakeConfigView::SetShownText(ListField which, const std::string& value) {
    list(which).shownText = value;
    list(which).textOverSelection = true;
}

void FakeConfigView::SetListMouseEnabled(ListField which, bool enabled) { list(which).mouseEnabled = enabled; }

bool FakeConfigView::IsListMouseEnabled(ListField which) const { return list(which).mouseEnabled; }

void FakeConfigView::SetRowColour(ListField which, uint32_t rgb) {
    list(which).labelColour = rgb;
    list(which).textColour = rgb;
}

void FakeConfigView::ResetRowColour(ListField which, uint32_t labelRgb) {
    list(which).labelColour = labelRgb;
    list(which).textColour.reset();
}

void FakeConfigView::ShowError(const std::string& message) {
    errors.push_back(message);
    Event e{Event::Kind::Error, message};
    events.push_back(e);
}
