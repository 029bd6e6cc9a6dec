#pragma once
#include <windows.h>

#include <vector>

namespace Loom {

class CControlUI;

// One timer of a control.
struct TTimerInfo {
    CControlUI* control = nullptr;
    UINT localId = 0;  // the control's own id
    HWND hwnd = nullptr;
    UINT_PTR sysId = 0;  // the id the system timer runs under
    bool killed = false;
};

// The timers of the controls of one window: each control's own timer ids,
// run as system timers of the window under ids of their own. A killed timer
// keeps its entry (and its system id) until its control goes, so that
// setting it again reuses them. Window thread only.
class CTimers {
public:
    CTimers() = default;
    CTimers(const CTimers&) = delete;
    CTimers& operator=(const CTimers&) = delete;

    // Starts the control's timer id on wnd: false when it runs already or
    // the system refuses it.
    bool Set(HWND wnd, CControlUI* control, UINT id, UINT elapse);
    // Stops one running timer of the control; false when there is none.
    bool Kill(HWND wnd, CControlUI* control, UINT id);
    // Stops and forgets every timer of the control.
    void Kill(HWND wnd, CControlUI* control);
    // Stops every timer still running on wnd and forgets them all.
    void Clear(HWND wnd);
    // The running timer of wnd under the system id, or nullptr.
    const TTimerInfo* Find(HWND wnd, UINT_PTR sysId) const;
    const std::vector<TTimerInfo>& All() const { return timers_; }

private:
    UINT_PTR NextId(HWND wnd);

    UINT counter_ = 4096;
    std::vector<TTimerInfo> timers_;
};

}  // namespace Loom
