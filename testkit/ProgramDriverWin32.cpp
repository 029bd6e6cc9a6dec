#include "testkit/ProgramDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "radio/Settings.h"
#include "radio/SettingsStore.h"
#include "serial/PortDiscovery.h"
#include "testkit/RenderTestPng.h"
#include "testkit/SimProcess.h"

namespace {

struct Search {
    DWORD processId;
    HWND found;
    const char* className;
    HWND other;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char name[16] = {};
    ::GetClassNameA(wnd, name, sizeof name);
    if (pid == search->processId && std::string(name) == search->className && ::IsWindowVisible(wnd) &&
        wnd != search->other) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

struct ChildTexts {
    const char* className;
    std::string text;
    HWND first;
};

// A control's text in another process: GetWindowText gives only captions
// there, so the control is asked itself.
std::string SentText(HWND wnd) {
    const LRESULT length = ::SendMessageW(wnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return "";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Text::Narrow(text);
}

BOOL CALLBACK CollectChildren(HWND wnd, LPARAM data) {
    auto* collect = reinterpret_cast<ChildTexts*>(data);
    wchar_t name[32] = {};
    ::GetClassNameW(wnd, name, 32);
    if (_wcsicmp(name, Text::Widen(collect->className).c_str()) != 0 || !::IsWindowVisible(wnd)) return TRUE;
    if (collect->first == nullptr) collect->first = wnd;
    collect->text += SentText(wnd) + "\n";
    return TRUE;
}

// Answered only once the window's thread is in a message loop.
bool Answers(HWND wnd) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored) != 0;
}

// The window's thread is in its message loop and nothing of the window waits
// to be painted.
bool Painted(HWND wnd) { return Answers(wnd) && !::GetUpdateRect(wnd, nullptr, FALSE); }

// A message sent to an edit overtakes what was posted to it before. So a
// change of its text limit is posted after them: once the edit shows it,
// the edit has taken everything posted before; the limit is then put back.
void WaitUntilTaken(HWND edit) {
    const LRESULT limit = ::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    const LRESULT marker = limit > 1 ? limit - 1 : limit + 1;
    if (!::PostMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0)) return;
    WaitFor([&] { return !::IsWindow(edit) || ::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0) == marker; }, 5000);
    ::SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
}

}  // namespace

ProgramDriver::~ProgramDriver() {
    if (process_.hProcess == nullptr) return;
    if (!WaitForExit(0)) {
        ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, 5000);
    }
    ::CloseHandle(process_.hProcess);
    if (process_.hThread != nullptr) ::CloseHandle(process_.hThread);
}

void ProgramDriver::WriteSettings(int portPosition, int ratePosition, int chinese) {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const struct {
        const char* name;
        int value;
    } values[] = {{kPortSettingName, portPosition}, {kBaudSettingName, ratePosition}, {kChineseSettingName, chinese}};
    for (const auto& v : values) {
        if (v.value < 0) continue;
        const SettingsBlock block = FormatSettingsBlock(v.value);
        ::RegSetValueExA(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(block.data()),
                         static_cast<DWORD>(block.size()));
    }
    ::RegCloseKey(key);
}

std::string ProgramDriver::ReadSetting(const char* name) {
    char data[kSettingsBlockSize + 1] = {};
    DWORD size = kSettingsBlockSize;
    if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKeyPath, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "";
    return data;
}

int ProgramDriver::PortPosition(int comPort) {
    std::vector<int> ports;
    if (!EnumerateSerialPorts(ports)) return -1;
    for (size_t i = 0; i < ports.size(); ++i)
        if (ports[i] == comPort) return static_cast<int>(i);
    return -1;
}

bool ProgramDriver::Start() { return Start(SimProcess::WinePath(VELMORA_PROGRAM)); }

bool ProgramDriver::Start(const std::string& windowsPath) {
    std::string command = "\"" + windowsPath + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
        return false;
    Search search{process_.dwProcessId, nullptr, "^_^", nullptr};
    for (int i = 0; i < 300 && search.found == nullptr; ++i) {
        ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) ::Sleep(50);
    }
    window_ = search.found;
    // The first paint follows the window's appearance.
    return window_ != nullptr && WaitFor([&] { return Painted(window_); }, 10000);
}

bool ProgramDriver::StartThrough(const std::string& windowsPath, DWORD& exitCode) {
    std::string command = "\"" + windowsPath + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION launcher{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &launcher))
        return false;
    const bool ended = ::WaitForSingleObject(launcher.hProcess, 20000) == WAIT_OBJECT_0;
    ::GetExitCodeProcess(launcher.hProcess, &exitCode);
    ::CloseHandle(launcher.hThread);
    ::CloseHandle(launcher.hProcess);
    if (!ended) return false;
    // The main window of whichever process shows one: display tests run one
    // at a time, so it is the one the launcher started.
    HWND found = nullptr;
    WaitFor([&] { return (found = ::FindWindowA("^_^", nullptr)) != nullptr && ::IsWindowVisible(found); }, 15000);
    if (found == nullptr) return false;
    ::GetWindowThreadProcessId(found, &process_.dwProcessId);
    process_.hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process_.dwProcessId);
    window_ = found;
    // The first paint follows the window's appearance.
    return process_.hProcess != nullptr && WaitFor([&] { return Painted(window_); }, 10000);
}

void ProgramDriver::MouseMove(int x, int y) { ::PostMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

void ProgramDriver::ChooseMenuItem(POINT header, POINT item) {
    Click(header.x, header.y);
    MouseMove(header.x + 1, header.y);
    ::Sleep(200);
    Click(item.x, item.y);
}

bool ProgramDriver::ThroughFileDialog(POINT button, const std::string& windowsPath) {
    Click(button.x, button.y);
    const HWND dialog = WaitForDialog(8000);
    if (dialog == nullptr) return false;
    ChooseFile(dialog, windowsPath);
    if (HWND question = WaitForDialog(1500, dialog)) PressDialogButton(question, IDYES);
    return WaitFor([&] { return !::IsWindow(dialog); }, 8000);
}

void ProgramDriver::WaitUntilIdle() const {
    // Answered only when the window's thread is back in its message loop.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
}

void ProgramDriver::Click(int x, int y) {
    WaitUntilIdle();
    ClickNow(x, y);
}

void ProgramDriver::ClickNow(int x, int y) {
    MouseMove(x, y);
    ::PostMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(window_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ::Sleep(200);
}

void ProgramDriver::Key(WPARAM key) {
    WaitUntilIdle();
    ::PostMessageW(window_, WM_KEYDOWN, key, 1);
    ::PostMessageW(window_, WM_KEYUP, key, 0xC0000001);
}

void ProgramDriver::AltKey(WPARAM key) {
    WaitUntilIdle();
    // Bit 29: the Alt key is down.
    ::PostMessageW(window_, WM_SYSKEYDOWN, key, 0x20000001);
}

HWND ProgramDriver::WaitForDialog(DWORD ms, HWND other) const {
    Search search{process_.dwProcessId, nullptr, "#32770", other};
    const DWORD start = ::GetTickCount();
    while (search.found == nullptr && ::GetTickCount() - start < ms) {
        ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) ::Sleep(50);
    }
    // Ready once its buttons exist and its thread runs the dialog's loop.
    const auto ready = [&] {
        return ::FindWindowExW(search.found, nullptr, L"Button", nullptr) && Answers(search.found);
    };
    if (search.found != nullptr && !WaitFor(ready, ms)) return nullptr;
    return search.found;
}

HWND ProgramDriver::WaitForDropDown(DWORD ms) const {
    Search search{process_.dwProcessId, nullptr, "ComboWnd", nullptr};
    const DWORD start = ::GetTickCount();
    while (search.found == nullptr && ::GetTickCount() - start < ms) {
        ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) ::Sleep(50);
    }
    if (search.found != nullptr) ::Sleep(200);  // its first paint
    return search.found;
}

HWND ProgramDriver::EditWindow() const {
    const HWND edit = ::FindWindowExA(window_, nullptr, "EditWnd", nullptr);
    return edit != nullptr && ::IsWindowVisible(edit) ? edit : nullptr;
}

void ProgramDriver::Type(const std::string& text) const {
    const HWND edit = EditWindow();
    if (edit == nullptr) return;
    for (wchar_t c : Text::Widen(text)) ::PostMessageW(edit, WM_CHAR, c, 1);
    WaitUntilTaken(edit);
}

std::string ProgramDriver::EditText() const {
    const HWND edit = EditWindow();
    if (edit == nullptr) return "";
    return SentText(edit);
}

bool ProgramDriver::Paste(const std::string& text) const {
    const HWND edit = EditWindow();
    if (edit == nullptr || !::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    bool placed = false;
    const std::wstring wide = Text::Widen(text);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t))) {
        if (void* bytes = ::GlobalLock(memory)) {
            std::memcpy(bytes, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
            ::GlobalUnlock(memory);
            placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!placed) ::GlobalFree(memory);  // owned by the clipboard only once placed
    }
    ::CloseClipboard();
    if (!placed) return false;
    ::PostMessageW(edit, WM_PASTE, 0, 0);
    WaitUntilTaken(edit);
    return true;
}

void ProgramDriver::KeyTo(HWND wnd, WPARAM key) {
    ::PostMessageW(wnd, WM_KEYDOWN, key, 1);
    ::PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
    ::Sleep(100);
}

std::string ProgramDriver::Caption(HWND wnd) { return Text::WindowText(wnd); }

void ProgramDriver::ChooseFile(HWND dialog, const std::string& windowsPath) {
    ChildTexts edits{"Edit", "", nullptr};
    ::EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&edits));
    if (edits.first != nullptr)
        ::SendMessageW(edits.first, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text::Widen(windowsPath).c_str()));
    PressDialogButton(dialog, IDOK);
}

std::string ProgramDriver::DialogText(HWND dialog) {
    ChildTexts statics{"Static", "", nullptr};
    ::EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&statics));
    return statics.text;
}

void ProgramDriver::PressDialogButton(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

bool ProgramDriver::WaitForExit(DWORD ms) {
    return process_.hProcess != nullptr && ::WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
}

namespace {

// A w x h block of `source` from (x, y), as 0xRRGGBB pixels.
ProgramDriver::Picture CopyPixels(HDC source, int x, int y, int w, int h) {
    ProgramDriver::Picture picture;
    picture.width = w;
    picture.height = h;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        picture.pixels.assign(p, p + static_cast<size_t>(w) * h);
        for (uint32_t& px : picture.pixels) px &= 0xFFFFFF;
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    return picture;
}

}  // namespace

ProgramDriver::Picture ProgramDriver::Capture() const {
    RECT rc{};
    ::GetClientRect(window_, &rc);
    HDC dc = ::GetDC(window_);
    Picture picture = CopyPixels(dc, 0, 0, rc.right, rc.bottom);
    ::ReleaseDC(window_, dc);
    return picture;
}

ProgramDriver::Picture ProgramDriver::CaptureScreen() const {
    RECT rc{};
    ::GetClientRect(window_, &rc);
    POINT origin{0, 0};
    ::ClientToScreen(window_, &origin);
    HDC screen = ::GetDC(nullptr);
    Picture picture = CopyPixels(screen, origin.x, origin.y, rc.right, rc.bottom);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

bool ProgramDriver::Picture::Save(const std::string& path) const {
    std::vector<uint32_t> argb(pixels);
    for (uint32_t& px : argb) px |= 0xFF000000;
    return LoomTest::RenderTestPng::Write(path, LoomTest::RenderTestPng::Encode(width, height, argb));
}

bool ProgramDriver::Picture::Load(const std::string& path, Picture& picture) {
    // Save's own layout: one IDAT chunk of "stored" deflate blocks holding
    // rows of a filter byte 0 and RGBA pixels.
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::vector<uint8_t> png;
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) png.insert(png.end(), buffer, buffer + n);
    std::fclose(file);
    auto be32 = [&](size_t at) {
        return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
    };
    constexpr size_t kIhdr = 8, kIdat = kIhdr + 25;
    if (png.size() < kIdat + 10 || std::memcmp(&png[kIdat + 4], "IDAT", 4) != 0) return false;
    const int width = static_cast<int>(be32(kIhdr + 8)), height = static_cast<int>(be32(kIhdr + 12));
    const size_t end = kIdat + 8 + be32(kIdat);
    if (end > png.size()) return false;
    std::vector<uint8_t> raw;
    for (size_t at = kIdat + 8 + 2; at + 5 <= end;) {
        const size_t n = png[at + 1] | png[at + 2] << 8;
        if ((png[at] & 6) != 0 || at + 5 + n > end) return false;  // only stored blocks
        raw.insert(raw.end(), png.begin() + at + 5, png.begin() + at + 5 + n);
        if (png[at] & 1) break;
        at += 5 + n;
    }
    const size_t row = 1 + 4 * static_cast<size_t>(width);
    if (width <= 0 || height <= 0 || raw.size() != row * height) return false;
    picture.width = width;
    picture.height = height;
    picture.pixels.clear();
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = &raw[y * row];
        if (p[0] != 0) return false;
        for (int x = 0; x < width; ++x, p += 4) picture.pixels.push_back(uint32_t(p[1]) << 16 | p[2] << 8 | p[3]);
    }
    return true;
}

int ProgramDriver::Picture::Differing(const Picture& other, RECT* where) const {
    int n = 0;
    RECT box{width, height, -1, -1};
    for (int y = 0; y < height && y < other.height; ++y)
        for (int x = 0; x < width && x < other.width; ++x) {
            if (At(x, y) == other.At(x, y)) continue;
            ++n;
            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                   std::max<LONG>(box.bottom, y + 1)};
        }
    if (where != nullptr) *where = box;
    return n;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) return false;
        ::Sleep(50);
    }
    return true;
}
