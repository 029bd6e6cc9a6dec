#include "app/ChannelCheck.h"

#include <algorithm>
#include <iterator>

using namespace Loom;

bool ChannelCheck::ChannelOf(const CControlUI* edit, Group& group, int& row) const {
    for (int i = 0; i < 10; ++i) {
        if (c_.txChannelRow[i]->GetEdit() == edit || c_.rxChannelRow[i]->GetEdit() == edit) {
            group = c_.txChannelRow[i]->GetEdit() == edit ? Group::Transmit : Group::Receive;
            row = i;
            return true;
        }
    }
    return false;
}

bool ChannelCheck::LostFocus(const CControlUI* sender) {
    Group group;
    int row;
    if (!ChannelOf(sender, group, row)) return true;
    bool* pending = group == Group::Transmit ? txPending_ : rxPending_;
    if (std::any_of(pending, pending + 10, [](bool p) { return p; })) return false;
    pending[row] = true;
    return true;
}

bool ChannelCheck::CheckPending(const CControlUI* sender) {
    for (int i = 0; i < 10; ++i) {
        for (Group group : {Group::Transmit, Group::Receive}) {
            bool* pending = group == Group::Transmit ? txPending_ : rxPending_;
            CLabelAndEditUI* row = (group == Group::Transmit ? c_.txChannelRow : c_.rxChannelRow)[i];
            if (!pending[i] || row->GetEdit() == sender) continue;
            pending[i] = false;
            return validate_(group, i);
        }
    }
    return true;
}

bool ChannelCheck::IsExempt(const CControlUI* sender) const {
    const CControlUI* exempt[] = {c_.closeButton,
                                  c_.minimizeButton,
                                  c_.protocolRow->GetCombo(),
                                  c_.currentChannelRow->GetCombo(),
                                  c_.portBaudRow->GetCombo(),
                                  c_.linkBaudRow->GetCombo(),
                                  c_.workModeRow->GetCombo(),
                                  c_.highPowerRow->GetCombo(),
                                  c_.lowPowerRow->GetCombo(),
                                  c_.portRow->GetCombo(),
                                  c_.rateRow->GetCombo(),
                                  c_.txDefaultButton,
                                  c_.rxDefaultButton,
                                  c_.connectButton,
                                  c_.disconnectButton,
                                  c_.readButton,
                                  c_.writeButton,
                                  c_.cancelButton};
    return std::find(std::begin(exempt), std::end(exempt), sender) != std::end(exempt);
}
