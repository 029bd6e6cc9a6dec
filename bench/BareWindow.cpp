// The yardstick of the start-up benchmark: the least a Win32 program does to
// show a window of the main window's size and paint it once.
#include <windows.h>

namespace {

LRESULT CALLBACK BareProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(wnd, &ps);
        ::FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ::EndPaint(wnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(wnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &BareProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "BareWindow";
    if (!::RegisterClassA(&wc)) return 1;
    if (::CreateWindowExA(0, "BareWindow", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 759, 509, nullptr, nullptr,
                          instance, nullptr) == nullptr) {
        return 1;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
