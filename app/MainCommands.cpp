#include "app/MainCommands.h"

const MainCommand* MainCommandTable::Find(const Loom::CControlUI* control) const {
    if (control == nullptr) return nullptr;
    for (const MainCommand& command : commands_)
        if (command.button == control || command.item == control) return &command;
    return nullptr;
}

Loom::CControlUI* MainCommandTable::OutcomeControl(OutcomeAction outcome) const {
    for (const MainCommand& command : commands_)
        if (command.outcome == outcome) return command.button != nullptr ? command.button : command.item;
    return nullptr;
}

void MainCommandTable::EnablePortCommands(bool enabled, bool havePort) const {
    for (const MainCommand& command : commands_) {
        if (command.whileBusy != WhilePortBusy::Disabled) continue;
        if (command.button != nullptr) command.button->SetEnabled(enabled && (havePort || !command.buttonNeedsAPort));
        if (command.item != nullptr) command.item->SetEnabled(enabled);
    }
}
