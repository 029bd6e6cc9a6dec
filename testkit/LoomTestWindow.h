#pragma once
#include "testkit/ResourceCounts.h"
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/ControlUI.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Core/WindowWnd.h"

namespace LoomTest {

// A real top-level window on the virtual display with a fresh paint manager,
// for driving the toolkit with window messages. Records every notification
// the window's listener receives as "type sender-name wParam lParam".
//
// Every TestWindow borrows one native window that lives as long as the test
// program: under Wine without a window manager, hiding or destroying a
// visible window waits two seconds for a manager that never answers.
class TestWindow : public Loom::INotifyUI {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    // Gives the native window a client area of cx by cy, attaches a new
    // manager and makes root the tree (owned by the manager from then on).
    bool Open(int cx, int cy, Loom::CControlUI* root, DWORD exStyle = 0);
    HWND GetHWND() const { return wnd_; }
    // Paints what is invalid now (laying out first) and handles pending messages.
    void Paint();
    // Handles every message waiting in the thread's queue.
    static void Pump();
    // Waits up to ms milliseconds, handling messages, until done() is true.
    template <typename F>
    static bool PumpUntil(F done, DWORD ms) {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > ms) return false;
            Pump();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }

    Loom::CUIManager& Manager() { return *manager_; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void MouseMove(int x, int y, WPARAM keys = 0);
    void ButtonDown(int x, int y);
    void ButtonUp(int x, int y);
    void Key(UINT message, WPARAM key);

    void Notify(Loom::NotifyMsg& msg) override;
    std::vector<std::string> notifications;
    // The root's rectangle when "windowinit" arrived.
    RECT posAtWindowInit{-1, -1, -1, -1};
    // Messages the window got that the manager did not handle.
    int unhandled = 0;

    // The message procedure of the shared native window.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

private:
    std::unique_ptr<Loom::CUIManager> manager_;
    HWND wnd_ = nullptr;
};

// The laid-out tree as text: one line per control, "class name (l,t,r,b)",
// indented two blanks per level; hidden controls end in " hidden".
std::string DumpLayout(Loom::CControlUI* root);

// A control that records the events it gets as "name:kind" and answers the
// control flags it is given.
class ProbeUI : public Loom::CControlUI {
public:
    explicit ProbeUI(const std::string& name, std::vector<std::string>* log = nullptr, UINT flags = 0);
    const char* GetClass() const override { return className.c_str(); }
    UINT GetControlFlags() const override { return flags; }
    void DoEvent(Loom::UIEvent& event) override;
    SIZE EstimateSize(SIZE available) override;

    std::vector<std::string>* log;
    UINT flags;
    std::string className = "ProbeUI";
    int activations = 0;
    bool Activate() override;
    std::vector<Loom::UIEvent> events;
    // When set, EstimateSize answers this instead of the fixed size.
    bool useEstimate = false;
    SIZE estimate{0, 0};
    std::vector<SIZE> asked;
};

using ::CountGdiObjects;
using ::CountHandles;

class PixelSurface;

// Copies what the window shows (its client area) into surface.
void CaptureClient(HWND wnd, PixelSurface& surface);
// Has the root paint itself into surface through WM_PRINTCLIENT.
void PrintClient(HWND wnd, PixelSurface& surface);
// What the window shows (its client area) as a PNG file at path (a Windows
// path, e.g. "Z:/..."), for a look by eye; false when it cannot be written.
bool SaveScreenshot(HWND wnd, const std::string& path);

// A 32-bit top-down DIB section with its memory DC, for reading painted pixels.
class PixelSurface {
public:
    PixelSurface(int width, int height);
    ~PixelSurface();
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;
    HDC dc() const { return dc_; }
    // 0x00RRGGBB of the pixel (alpha dropped).
    DWORD At(int x, int y) const;
    void Fill(DWORD rgb);

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
};

// Builds a container of type T with the given attribute list applied.
template <typename T>
T* Make(const char* attributes = "") {
    T* c = new T;
    c->ApplyAttributeList(attributes);
    return c;
}

// A plain control with the given attribute list applied.
inline Loom::CControlUI* Leaf(const char* attributes) { return Make<Loom::CControlUI>(attributes); }

// A container of type T with its attributes and children.
template <typename T>
T* Box(const char* attributes, std::initializer_list<Loom::CControlUI*> children) {
    T* box = Make<T>(attributes);
    for (Loom::CControlUI* child : children) box->Add(child);
    return box;
}

// The system colours of a test's high contrast (0xRRGGBB), set with
// SetSysColors, which tells every top-level window. At its end the colours
// are put back and the toolkit's high contrast follows the system again.
class ContrastScheme {
public:
    explicit ContrastScheme(std::initializer_list<std::pair<int, DWORD>> colours);
    ~ContrastScheme();
    ContrastScheme(const ContrastScheme&) = delete;
    ContrastScheme& operator=(const ContrastScheme&) = delete;
    void Set(int index, DWORD rgb);

private:
    std::vector<std::pair<int, COLORREF>> saved_;
};

// Keeps the process-wide resource path for the duration of a test.
class ResourcePathScope {
public:
    explicit ResourcePathScope(const std::string& path) : saved_(Loom::CUIManager::GetResourcePath()) {
        Loom::CUIManager::SetResourcePath(path);
    }
    ~ResourcePathScope() { Loom::CUIManager::SetResourcePath(saved_); }
    ResourcePathScope(const ResourcePathScope&) = delete;
    ResourcePathScope& operator=(const ResourcePathScope&) = delete;

private:
    std::string saved_;
};

}  // namespace LoomTest
