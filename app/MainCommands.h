#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "Loom/Core/ControlUI.h"
#include "radio/Outcome.h"

// What a running radio action, firmware download or radio search does to a
// command: each holds the port until it ends.
enum class WhilePortBusy {
    Runs,      // needs no port (the language, About, the log folder, Exit)
    Refused,   // refused, but left enabled (the firmware item: its own check)
    Disabled,  // refused, and disabled until the port is free again
};

// One command of the main window: the button and the menu item that run it,
// what it runs, and how it stands while the port is busy.
struct MainCommand {
    Loom::CControlUI* button = nullptr;  // either may be missing
    Loom::CControlUI* item = nullptr;
    std::function<void()> run;
    WhilePortBusy whileBusy = WhilePortBusy::Runs;
    // The button stays disabled while the port list is empty.
    bool buttonNeedsAPort = false;
    // The outcome this command reports, shown with the caption of its button
    // (or of its item when it has no button).
    std::optional<OutcomeAction> outcome;
};

// The main window's commands, one row each: what the clicks, the menu, the
// outcome messages and the busy state all read.
class MainCommandTable {
public:
    void Add(MainCommand command) { commands_.push_back(std::move(command)); }
    void Clear() { commands_.clear(); }

    // The command run by this button or menu item; null for any other control.
    const MainCommand* Find(const Loom::CControlUI* control) const;
    // The control whose caption names this outcome.
    Loom::CControlUI* OutcomeControl(OutcomeAction outcome) const;
    // Enables or disables every command a busy port disables; a button that
    // needs a port stays disabled while the list has none.
    void EnablePortCommands(bool enabled, bool havePort) const;

private:
    std::vector<MainCommand> commands_;
};
