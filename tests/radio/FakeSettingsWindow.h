#pragma once
#include <string>
#include <vector>

#include "radio/RadioTables.h"
#include "radio/SettingsWindow.h"

// The port box, the rate box and the language flag as plain fields, in the
// state the window has when its settings are loaded: two ports, the first
// selected; the five PC rates, " 38400" selected; Chinese.
class FakeSettingsWindow : public ISettingsWindow {
public:
    std::vector<std::string> ports{" COM3", " COM1"};
    int portSelection = 0;
    std::vector<std::string> rates = RadioTables::PortBaudList();
    int rateSelection = 2;
    bool chinese = true;

    int GetPortSelection() const override { return portSelection; }
    int GetPortCount() const override { return static_cast<int>(ports.size()); }
    std::string GetPortEntry(int position) const override {
        return position >= 0 && position < GetPortCount() ? ports[position] : std::string();
    }
    void SelectPort(int position) override { portSelection = position; }
    int GetRateSelection() const override { return rateSelection; }
    int GetRateCount() const override { return static_cast<int>(rates.size()); }
    void SelectRate(int position) override { rateSelection = position; }
    bool IsChinese() const override { return chinese; }
    void SetChinese(bool value) override { chinese = value; }

    std::string SelectedRate() const {
        return rateSelection >= 0 && rateSelection < GetRateCount() ? rates[rateSelection] : std::string();
    }
};
