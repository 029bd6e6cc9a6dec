#pragma once
#include <functional>

#include "app/MainWindowTree.h"
#include "radio/RadioSettings.h"

// The range check of the channel frequencies: a channel edit that loses the
// focus awaits its check, which runs when another control takes the focus
// or a list drops down. One edit of a group waits at a time.
class ChannelCheck {
public:
    // Checks one frequency field (RadioConfig::validateFrequencyField, with
    // what the window shows of it); false when it is out of range.
    using Validate = std::function<bool(Group group, int row)>;

    ChannelCheck(MainWindowControls& controls, Validate validate) : c_(controls), validate_(std::move(validate)) {}

    // A control lost the focus. False when the notification is to go no
    // further (an edit of its group already awaits its check).
    bool LostFocus(const Loom::CControlUI* sender);
    // Checks the edit that awaits its check, unless it is `sender` itself;
    // false when its frequency is out of range.
    bool CheckPending(const Loom::CControlUI* sender);
    // Controls that take the focus without checking a pending edit first.
    bool IsExempt(const Loom::CControlUI* sender) const;

private:
    bool ChannelOf(const Loom::CControlUI* edit, Group& group, int& row) const;

    MainWindowControls& c_;
    Validate validate_;
    bool txPending_[10] = {};
    bool rxPending_[10] = {};
};
