#pragma once
#include <vector>

#include "radio/RadioActions.h"

// The window side of the radio actions for headless tests: opening the port
// succeeds or fails as the test says, and every outcome is recorded.
class FakeActionWindow : public IActionWindow {
public:
    struct Result {
        bool success;
        ActionControl control;
    };

    bool portOpens = true;
    int opens = 0;          // OpenSelectedPort calls
    int firmwareOpens = 0;  // of which asked for the firmware rate
    bool portOpen = false;  // opened and not yet closed by ShowResult
    std::vector<Result> results;

    bool OpenSelectedPort(bool firmwareRate) override {
        ++opens;
        if (firmwareRate) ++firmwareOpens;
        portOpen = portOpens;
        return portOpens;
    }
    void ShowResult(bool success, ActionControl control) override {
        results.push_back({success, control});
        portOpen = false;
    }
};
