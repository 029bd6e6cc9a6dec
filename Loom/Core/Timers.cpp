#include "Loom/Core/Timers.h"

#include <algorithm>

namespace Loom {

UINT_PTR CTimers::NextId(HWND wnd) {
    // The ids cycle below 255; 0, which the wrap reaches once a cycle, is
    // what a failed SetTimer answers and never an id, and one still held by
    // a timer of this window is skipped, so that a new timer never replaces
    // a live one.
    for (int tries = 0; tries < 256; ++tries) {
        counter_ = (counter_ + 1) % 255;
        if (counter_ == 0) continue;
        const bool used = std::any_of(timers_.begin(), timers_.end(), [this, wnd](const TTimerInfo& t) {
            return t.hwnd == wnd && t.sysId == counter_;
        });
        if (!used) return counter_;
    }
    return 0;
}

bool CTimers::Set(HWND wnd, CControlUI* control, UINT id, UINT elapse) {
    if (control == nullptr || wnd == nullptr) return false;
    for (TTimerInfo& t : timers_) {
        if (t.control != control || t.hwnd != wnd || t.localId != id) continue;
        if (!t.killed) return false;
        if (::SetTimer(wnd, t.sysId, elapse, nullptr) == 0) return false;
        t.killed = false;
        return true;
    }
    const UINT_PTR sysId = NextId(wnd);
    if (sysId == 0 || ::SetTimer(wnd, sysId, elapse, nullptr) == 0) return false;
    timers_.push_back(TTimerInfo{control, id, wnd, sysId, false});
    return true;
}

bool CTimers::Kill(HWND wnd, CControlUI* control, UINT id) {
    for (TTimerInfo& t : timers_) {
        if (t.control != control || t.hwnd != wnd || t.localId != id || t.killed) continue;
        t.killed = true;
        if (::IsWindow(t.hwnd)) ::KillTimer(t.hwnd, t.sysId);
        return true;
    }
    return false;
}

void CTimers::Kill(HWND wnd, CControlUI* control) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->control != control || it->hwnd != wnd) {
            ++it;
            continue;
        }
        if (!it->killed && ::IsWindow(it->hwnd)) ::KillTimer(it->hwnd, it->sysId);
        it = timers_.erase(it);
    }
}

void CTimers::Clear(HWND wnd) {
    for (const TTimerInfo& t : timers_) {
        if (!t.killed && t.hwnd == wnd && wnd != nullptr && ::IsWindow(wnd)) ::KillTimer(t.hwnd, t.sysId);
    }
    timers_.clear();
}

const TTimerInfo* CTimers::Find(HWND wnd, UINT_PTR sysId) const {
    for (const TTimerInfo& t : timers_) {
        if (t.hwnd == wnd && t.sysId == sysId && !t.killed) return &t;
    }
    return nullptr;
}

}  // namespace Loom
