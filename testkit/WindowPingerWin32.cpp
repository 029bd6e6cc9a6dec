#include "testkit/WindowPinger.h"

namespace {

double NowMs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

WindowPinger::WindowPinger(HWND window, DWORD boundMs)
    : stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, window, boundMs] {
        // The stop event is the pace: a wait of 20 ms that ends at once on Stop.
        do {
            DWORD_PTR result = 0;
            const double start = NowMs();
            if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, boundMs, &result)) ++unanswered_;
            const double waited = NowMs() - start;
            if (waited > longestMs_.load()) longestMs_.store(waited);
            ++asked_;
        } while (::WaitForSingleObject(stop_.get(), 20) == WAIT_TIMEOUT);
        ::SetEvent(done_.get());
    });
}

void WindowPinger::Stop() {
    if (!thread_.joinable()) return;
    ::SetEvent(stop_.get());
    // The last ping may be on its way to this very thread: answer it while
    // waiting, or the join would keep it unanswered for the whole bound.
    HANDLE done = done_.get();
    while (::MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread_.join();
}
