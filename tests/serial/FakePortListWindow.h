#pragma once
#include <string>
#include <vector>

#include "serial/PortListWindow.h"

// The port box and the radio buttons as plain fields.
class FakePortListWindow : public IPortListWindow {
public:
    std::vector<std::string> entries{" stale"};  // what the box held before
    int selected = -1;
    bool radioButtonsEnabled = true;
    int replaceCalls = 0;

    void ReplacePortEntries(const std::vector<std::string>& newEntries) override {
        entries = newEntries;
        selected = -1;
        ++replaceCalls;
    }
    void SelectPort(int position) override { selected = position; }
    void DisableRadioButtons() override { radioButtonsEnabled = false; }
};
