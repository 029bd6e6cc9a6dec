#pragma once
#include <string>
#include <vector>

#include "Loom/Core/ControlUI.h"
#include "app/MainWindowTree.h"

// The texts of the main window's named controls in both languages, in a fixed
// order: command buttons, menu headers, Default buttons, menu items, title,
// parameter labels, port labels, then the channel labels (transmit, receive)
// for channels 0 to 9. Window thread only.
class LanguageTable {
public:
    struct Entry {
        Loom::CControlUI* control;
        std::string chinese;
        std::string english;
    };

    // Appends the entries for the window's controls; the tree must exist.
    void Build(const MainWindowControls& c);
    // Every control gets its text in the language.
    void ApplyTexts(bool chinese) const;
    // Sets the fixed width on every control from the entry of `first` up to
    // and including the entry of `last`; nothing when either is absent or
    // `last` comes before `first`.
    void SetWidthOver(const Loom::CControlUI* first, const Loom::CControlUI* last, int width) const;

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    void Add(Loom::CControlUI* control, const char* chinese, const char* english);
    int IndexOf(const Loom::CControlUI* control) const;

    std::vector<Entry> entries_;
};
