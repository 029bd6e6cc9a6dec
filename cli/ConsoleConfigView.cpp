#include "cli/ConsoleConfigView.h"

#include "radio/RadioConfig.h"

std::string ConsoleConfigView::GetFrequencyText(Group group, int row) const {
    if (row < 0 || row > 9) return std::string();
    return group == Group::Transmit ? tx_[row] : rx_[row];
}

void ConsoleConfigView::SetFrequencyText(Group group, int row, const std::string& text) {
    if (row < 0 || row > 9) return;
    (group == Group::Transmit ? tx_ : rx_)[row] = text;
}

std::string ConsoleConfigView::GetFieldText(TextField field) const { return texts_[static_cast<size_t>(field)]; }

void ConsoleConfigView::SetFieldText(TextField field, const std::string& text) {
    texts_[static_cast<size_t>(field)] = text;
}

int ConsoleConfigView::GetSelection(ListField list) const { return Of(list).selection; }

void ConsoleConfigView::SelectItem(ListField list, int position) {
    List& l = Of(list);
    const int target = ComboSelection(position, static_cast<int>(l.items.size()));
    if (target == l.selection) return;
    l.selection = target;
    l.shown = target < 0 ? std::string() : l.items[target];
    if (target < 0 || config == nullptr) return;  // clearing raises no event
    config->itemSelected(list);
}

int ConsoleConfigView::GetItemCount(ListField list) const { return static_cast<int>(Of(list).items.size()); }

std::string ConsoleConfigView::GetItemText(ListField list, int position) const {
    const List& l = Of(list);
    if (position < 0 || position >= static_cast<int>(l.items.size())) return std::string();
    return l.items[position];
}

void ConsoleConfigView::FillList(ListField list, const std::vector<std::string>& items) {
    List& l = Of(list);
    l.items = items;
    l.selection = -1;
    l.shown.clear();
}

std::string ConsoleConfigView::GetShownText(ListField list) const { return Of(list).shown; }

void ConsoleConfigView::SetShownText(ListField list, const std::string& text) { Of(list).shown = text; }

void ConsoleConfigView::SetListMouseEnabled(ListField list, bool enabled) { Of(list).mouseEnabled = enabled; }

bool ConsoleConfigView::IsListMouseEnabled(ListField list) const { return Of(list).mouseEnabled; }
