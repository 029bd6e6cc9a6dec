#pragma once
#include <string>

// The part of the main window that the remembered settings read and set: the
// port box, the PC-side rate box and the language flag. The main window
// implements it over its controls; tests implement it over plain fields.
// Called on the window thread.
class ISettingsWindow {
public:
    // The selected position of the port box, -1 when nothing is selected.
    virtual int GetPortSelection() const = 0;
    virtual int GetPortCount() const = 0;
    // The text of the port box's entry at `position` (" COM5").
    virtual std::string GetPortEntry(int position) const = 0;
    // Marks the entry selected and makes it the box's selection.
    virtual void SelectPort(int position) = 0;

    // The same for the rate box.
    virtual int GetRateSelection() const = 0;
    virtual int GetRateCount() const = 0;
    virtual void SelectRate(int position) = 0;

    // The language flag only; the texts follow when the language is applied.
    virtual bool IsChinese() const = 0;
    virtual void SetChinese(bool chinese) = 0;

protected:
    ~ISettingsWindow() = default;
};
