#include "testkit/LoomTestWindow.h"

#include <windowsx.h>

#include <sstream>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Render/HighContrast.h"
#include "testkit/RenderTestPng.h"

namespace LoomTest {

namespace {

// The native window all TestWindows share, one at a time.
class HostWindow : public Loom::CWindowWnd {
public:
    TestWindow* current = nullptr;

protected:
    const char* GetWindowClassName() const override { return "LoomTestWindow"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (current != nullptr) {
            bool handled = false;
            const LRESULT result = current->HandleMessage(message, wParam, lParam, handled);
            if (handled) return result;
        }
        // The shared window stays for the whole program.
        if (message == WM_CLOSE) return 0;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
};

HostWindow& Host() {
    static HostWindow* host = [] {
        auto* h = new HostWindow;  // lives until the process ends
        h->Create(nullptr, "Loom test", WS_POPUP | WS_VISIBLE, 0, 40, 40, 100, 100);
        return h;
    }();
    return *host;
}

}  // namespace

TestWindow::TestWindow() : manager_(std::make_unique<Loom::CUIManager>()) {}

TestWindow::~TestWindow() {
    // The tree goes while the window still exists, as in a real window whose
    // manager lives in the window object.
    manager_.reset();
    if (Host().current == this) Host().current = nullptr;
    ::ReleaseCapture();
    Pump();
}

bool TestWindow::Open(int cx, int cy, Loom::CControlUI* root, DWORD exStyle) {
    HostWindow& host = Host();
    if (host.GetHWND() == nullptr || host.current != nullptr) {
        delete root;
        return false;
    }
    wnd_ = host.GetHWND();
    Pump();  // messages meant for an earlier test's manager
    host.current = this;
    ::SetWindowLongW(wnd_, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    RECT rc{0, 0, cx, cy};
    ::AdjustWindowRectEx(&rc, WS_POPUP, FALSE, exStyle);
    ::SetWindowPos(wnd_, HWND_TOP, 40, 40, rc.right - rc.left, rc.bottom - rc.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    ::SetForegroundWindow(wnd_);
    ::SetFocus(wnd_);
    // The real pointer rests outside the window: the tests move the mouse
    // with messages of their own.
    ::SetCursorPos(0, 0);
    manager_->Init(wnd_);
    manager_->AddNotifier(this);
    if (root != nullptr) manager_->SetRootControl(root);
    Paint();
    return true;
}

LRESULT TestWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    LRESULT result = 0;
    handled = manager_ && manager_->MessageHandler(message, wParam, lParam, result);
    if (!handled) ++unhandled;
    return result;
}

void TestWindow::Paint() {
    ::InvalidateRect(wnd_, nullptr, FALSE);
    ::UpdateWindow(wnd_);
    Pump();
}

void TestWindow::Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!Loom::CUIManager::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

LRESULT TestWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(wnd_, message, wParam, lParam);
}

void TestWindow::MouseMove(int x, int y, WPARAM keys) { Send(WM_MOUSEMOVE, keys, MAKELPARAM(x, y)); }
void TestWindow::ButtonDown(int x, int y) { Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void TestWindow::ButtonUp(int x, int y) { Send(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
void TestWindow::Key(UINT message, WPARAM key) { Send(message, key, 1); }

void TestWindow::Notify(Loom::NotifyMsg& msg) {
    std::ostringstream out;
    out << msg.type << " " << (msg.sender ? msg.sender->GetName() : std::string("-")) << " " << msg.wParam << " "
        << msg.lParam;
    if (!msg.virtualWnd.empty()) out << " @" << msg.virtualWnd;
    notifications.push_back(out.str());
    if (msg.type == "windowinit" && msg.sender != nullptr) posAtWindowInit = msg.sender->GetPos();
}

namespace {

void DumpInto(Loom::CControlUI* control, int depth, std::ostringstream& out) {
    const RECT& rc = control->GetPos();
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << control->GetClass();
    if (!control->GetName().empty()) out << " " << control->GetName();
    out << " (" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << ")";
    if (!control->IsVisible()) out << " hidden";
    out << "\n";
    auto* container = static_cast<Loom::IContainerUI*>(control->GetInterface("IContainer"));
    if (container == nullptr) return;
    for (int i = 0; i < container->GetCount(); ++i) DumpInto(container->GetItemAt(i), depth + 1, out);
}

}  // namespace

std::string DumpLayout(Loom::CControlUI* root) {
    std::ostringstream out;
    if (root != nullptr) DumpInto(root, 0, out);
    return out.str();
}

ProbeUI::ProbeUI(const std::string& name, std::vector<std::string>* log, UINT flags) : log(log), flags(flags) {
    SetName(name);
}

void ProbeUI::DoEvent(Loom::UIEvent& event) {
    events.push_back(event);
    if (log != nullptr) log->push_back(GetName() + ":" + std::to_string(event.kind));
    Loom::CControlUI::DoEvent(event);
}

SIZE ProbeUI::EstimateSize(SIZE available) {
    asked.push_back(available);
    return useEstimate ? estimate : Loom::CControlUI::EstimateSize(available);
}

bool ProbeUI::Activate() {
    if (!Loom::CControlUI::Activate()) return false;
    ++activations;
    return true;
}

PixelSurface::PixelSurface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    old_ = ::SelectObject(dc_, bitmap_);
    Fill(0xFFFFFF);
}

PixelSurface::~PixelSurface() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
}

DWORD PixelSurface::At(int x, int y) const {
    ::GdiFlush();
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
    return bits_[y * width_ + x] & 0x00FFFFFF;
}

void PixelSurface::Fill(DWORD rgb) {
    ::GdiFlush();
    if (bits_ == nullptr) return;
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = rgb;
}

void CaptureClient(HWND wnd, PixelSurface& surface) {
    RECT rc{0, 0, 0, 0};
    ::GetClientRect(wnd, &rc);
    HDC dc = ::GetDC(wnd);
    ::BitBlt(surface.dc(), 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(wnd, dc);
}

void PrintClient(HWND wnd, PixelSurface& surface) {
    ::SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
}

bool SaveScreenshot(HWND wnd, const std::string& path) {
    RECT rc{0, 0, 0, 0};
    if (!::GetClientRect(wnd, &rc) || rc.right <= 0 || rc.bottom <= 0) return false;
    PixelSurface shot(rc.right, rc.bottom);
    CaptureClient(wnd, shot);
    std::vector<uint32_t> argb(static_cast<size_t>(rc.right) * rc.bottom);
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) argb[static_cast<size_t>(y) * rc.right + x] = 0xFF000000 | shot.At(x, y);
    return RenderTestPng::Write(path, RenderTestPng::Encode(rc.right, rc.bottom, argb));
}

ContrastScheme::ContrastScheme(std::initializer_list<std::pair<int, DWORD>> colours) {
    for (const auto& [index, rgb] : colours) Set(index, rgb);
}

ContrastScheme::~ContrastScheme() {
    // Backwards: a colour set twice gets the first one's saved value last.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) ::SetSysColors(1, &it->first, &it->second);
    Loom::CHighContrast::ForceForTesting(Loom::CHighContrast::Forced::Follow);
}

void ContrastScheme::Set(int index, DWORD rgb) {
    saved_.emplace_back(index, ::GetSysColor(index));
    const COLORREF c = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    ::SetSysColors(1, &index, &c);
}

}  // namespace LoomTest
