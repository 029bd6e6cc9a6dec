#pragma once
#include <string>

#include "Loom/Core/ControlUI.h"

namespace Loom {

// The folder button and the check box of a tree node: a small control that
// flips its selected state when clicked and then sends "selectchanged"
// (wParam 1 when now selected). Without images it draws a plain glyph: a
// box with "+" or "-" for the folder, a box filled when checked for the
// check box.
class CTreeToggleUI : public CControlUI {
public:
    enum class Glyph { Folder, Check };
    explicit CTreeToggleUI(Glyph glyph);

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(HDC dc) override;

    bool IsSelected() const { return selected_; }
    // Nothing if unchanged; with notify, "selectchanged" follows.
    void SetSelected(bool selected, bool notify);
    UINT GetState() const { return state_; }

private:
    bool DrawStateImage(HDC dc, std::string& image);
    void PaintGlyph(HDC dc);

    const Glyph glyph_;
    bool selected_ = false;
    UINT state_ = 0;
    std::string normalImage_;
    std::string hotImage_;
    std::string selectedImage_;
    std::string selectedHotImage_;
};

}  // namespace Loom
