#pragma once
#include <string>
#include <vector>

// The part of the main window that the port list fills: the port box and the
// four radio action buttons. The main window implements it over its controls;
// tests implement it over plain fields. Called on the window thread.
class IPortListWindow {
public:
    // Removes every entry of the port box and adds these, in order. The box
    // is left without a selection.
    virtual void ReplacePortEntries(const std::vector<std::string>& entries) = 0;
    // Makes the entry at `position` the port box's selection.
    virtual void SelectPort(int position) = 0;
    // Disables Connect, Disconnect, Read and Write (the buttons, not the
    // menu items), because there is no port they could use.
    virtual void DisableRadioButtons() = 0;

protected:
    ~IPortListWindow() = default;
};
