#pragma once
#include <string>

#include "Loom/Control/ComboBoxUI.h"

// The drop-down list of a parameter row. Besides the selected item it can
// show a text of its own over the selection (what the radio reported when
// no item matches, " UNKNOW"), until the selection changes or the items are
// replaced. Window thread only.
class CShownTextComboUI : public Loom::CComboBoxUI {
public:
    void SetShownText(const std::string& text);
    void ClearShownText();
    // The shown text, else the selected item's.
    std::string GetText() const override;

    bool SelectItem(int index, bool takeFocus = false) override;
    void RemoveAll() override;
    void PaintText(HDC dc) override;

private:
    std::string shown_;
    bool hasShown_ = false;
};
