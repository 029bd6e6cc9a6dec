#pragma once
#include <windows.h>

#include <utility>

namespace Loom {

// Move-only owner of a window the toolkit creates for itself (the tooltip
// window): destroyed with DestroyWindow unless it is already gone.
class UniqueWindow {
public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND wnd) : wnd_(wnd) {}
    UniqueWindow(UniqueWindow&& o) noexcept : wnd_(std::exchange(o.wnd_, nullptr)) {}
    UniqueWindow& operator=(UniqueWindow&& o) noexcept {
        if (this != &o) reset(std::exchange(o.wnd_, nullptr));
        return *this;
    }
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    ~UniqueWindow() { reset(); }

    HWND get() const { return wnd_; }
    explicit operator bool() const { return wnd_ != nullptr; }
    void reset(HWND wnd = nullptr) {
        if (wnd_ && ::IsWindow(wnd_)) ::DestroyWindow(wnd_);
        wnd_ = wnd;
    }

private:
    HWND wnd_ = nullptr;
};

}  // namespace Loom
