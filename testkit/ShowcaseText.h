#pragma once
#include <windows.h>

#include <string>

#include "Loom/Core/ControlUI.h"

namespace LoomTest {

// A text control for the showcase window and the paint benchmark: plain or
// html text inside the control's rectangle less its text padding. The
// toolkit's own labels draw text the same way; this one keeps the showcase
// independent of them.
//
// Attributes (then the control's): "textcolor" (colour), "font" (index),
// "textpadding" (l,t,r,b), "showhtml" (bool), "align" (words "center",
// "right", "wrap"; the default is left, single line, centred vertically).
class ShowcaseTextUI : public Loom::CControlUI {
public:
    static constexpr int kMaxLinks = 4;

    const char* GetClass() const override { return "ShowcaseTextUI"; }
    void SetAttribute(const char* name, const char* value) override;
    void PaintText(HDC dc) override;

    // The links the last paint recorded (html text only).
    int GetLinkCount() const { return linkCount_; }
    const RECT& GetLinkRect(int index) const { return links_[index]; }
    const std::string& GetLinkText(int index) const { return linkTexts_[index]; }
    bool IsHtml() const { return html_; }

private:
    DWORD textColor_ = 0xFF000000;
    int font_ = -1;
    RECT textPadding_{0, 0, 0, 0};
    bool html_ = false;
    UINT format_ = DT_SINGLELINE | DT_VCENTER;
    RECT links_[kMaxLinks] = {};
    std::string linkTexts_[kMaxLinks];
    int linkCount_ = 0;
};

}  // namespace LoomTest
