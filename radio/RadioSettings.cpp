#include "radio/RadioSettings.h"

#include <utility>

std::string ListValue::ShownText() const { return hasShownOver ? shownOver : ItemText(selection); }

std::string ListValue::ItemText(int position) const {
    if (position < 0 || position >= Count()) return std::string();
    return items[static_cast<size_t>(position)];
}

void ListValue::Fill(std::vector<std::string> newItems) {
    items = std::move(newItems);
    selection = -1;
    shownOver.clear();
    hasShownOver = false;
}

bool ListValue::operator==(const ListValue& other) const {
    return items == other.items && selection == other.selection && hasShownOver == other.hasShownOver &&
           shownOver == other.shownOver && mouseEnabled == other.mouseEnabled && greyed == other.greyed;
}

std::string RadioSettings::Frequency(Group group, int row) const {
    if (row < 0 || row >= kFrequencyRows) return std::string();
    return (group == Group::Transmit ? tx : rx)[static_cast<size_t>(row)];
}

void RadioSettings::SetFrequency(Group group, int row, const std::string& text) {
    if (row < 0 || row >= kFrequencyRows) return;
    (group == Group::Transmit ? tx : rx)[static_cast<size_t>(row)] = text;
}

bool RadioSettings::operator==(const RadioSettings& other) const {
    return tx == other.tx && rx == other.rx && texts == other.texts && lists == other.lists &&
           serialUnlocked == other.serialUnlocked && hardwareUnlocked == other.hardwareUnlocked;
}
