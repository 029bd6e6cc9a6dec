#pragma once
#include <string>

#include "Loom/Core/ScrollBarGeometry.h"
#include "Loom/Core/ControlUI.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

class CContainerUI;

// A scroll bar: two buttons that scroll a line, a track that pages and a
// thumb that is dragged. With an owner container the bar asks the owner to
// scroll (the owner then sets the bar's position); without one it moves its
// own position and sends "scroll" for every change. A press repeats from the
// sixth tick of a 50 ms timer on.
class CScrollBarUI : public CControlUI {
public:
    // The repeat timer of a press on a button or the track.
    static constexpr UINT kRepeatTimerId = 10;
    static constexpr UINT kRepeatElapse = 50;

    CScrollBarUI();

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    // Only stores the flag: the owner container shows and hides its bars
    // while it lays itself out.
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    // Focuses the owner, if there is one.
    void SetFocus() override;
    void SetAttribute(const char* name, const char* value) override;
    void SetPos(RECT rc) override;
    void DoEvent(UIEvent& event) override;
    void PaintStatusImage(HDC dc) override;

    CContainerUI* GetOwner() const { return owner_; }
    void SetOwner(CContainerUI* owner) { owner_ = owner; }
    bool IsHorizontal() const { return horizontal_; }
    // A horizontal bar keeps its thickness in the fixed height, a vertical
    // one in the fixed width.
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const { return range_; }
    // range = max(0, n); the position is limited to it.
    void SetScrollRange(int range);
    int GetScrollPos() const { return position_; }
    // position = n limited to 0..range.
    void SetScrollPos(int pos);
    int GetLineSize() const { return lineSize_; }
    void SetLineSize(int size) { lineSize_ = size; }
    bool GetShowButton1() const { return showButton1_; }
    void SetShowButton1(bool show);
    bool GetShowButton2() const { return showButton2_; }
    void SetShowButton2(bool show);

    // The parts as laid out at the last SetPos (client coordinates).
    RECT GetButton1Rect() const { return ToRect(parts_.button1); }
    RECT GetButton2Rect() const { return ToRect(parts_.button2); }
    RECT GetThumbRect() const { return ToRect(parts_.thumb); }
    RECT GetRailRect() const { return ToRect(parts_.rail); }

private:
    // The four looks of one part: normal, hot, pushed, disabled.
    struct PartImages {
        std::string normal, hot, pushed, disabled;
    };
    enum class Press { None, Button1, Button2, Thumb, RailBefore, RailAfter };

    static RECT ToRect(const TRect& r) { return WinRectFrom(r); }
    bool SetImageAttribute(const char* name, const char* value);
    void Relayout();

    // One line or one page back (forward = false) or forward; the owner's
    // operation, or the own position and "scroll" without an owner.
    void StepLine(bool forward);
    void StepPage(bool forward);
    void MoveTo(int pos);
    void OnPress(POINT pt);
    void OnDrag(POINT pt);
    void OnRelease();
    void OnRepeatTick();
    void TrackHot(POINT pt);
    int Along(POINT pt) const { return horizontal_ ? pt.x : pt.y; }

    // Draws the image of a part for its state; a string that fails is cleared.
    void PaintPart(HDC dc, PartImages& images, UINT state, const TRect& part);
    DWORD ContrastPartColor(const TContrastColors& colors, UINT state) const;
    void PaintContrastLook(HDC dc, const TContrastColors& colors);

    CContainerUI* owner_ = nullptr;
    bool horizontal_ = false;
    int range_ = 100;
    int position_ = 0;
    int lineSize_ = 8;
    bool showButton1_ = true;
    bool showButton2_ = true;
    ScrollBarParts parts_;

    // The press being repeated or dragged.
    Press press_ = Press::None;
    POINT lastMouse_{0, 0};
    int lastScrollPos_ = 0;
    int lastScrollOffset_ = 0;
    int repeatTicks_ = 0;
    UINT button1State_ = 0;
    UINT button2State_ = 0;
    UINT thumbState_ = 0;
    UINT barState_ = 0;

    PartImages button1_, button2_, thumb_, rail_, bk_;
};

}  // namespace Loom
