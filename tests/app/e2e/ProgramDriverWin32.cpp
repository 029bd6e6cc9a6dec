#include "tests/app/e2e/ProgramDriver.h"

#include <fstream>

#include "radio/Settings.h"
#include "radio/SettingsStore.h"
#include "serial/PortDiscovery.h"
#include "tests/support/SimProcess.h"

namespace {

struct Search {
    DWORD processId;
    HWND found;
    const char* className;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char name[16] = {};
    ::GetClassNameA(wnd, name, sizeof name);
    if (pid == search->processId && std::string(name) == search->className && ::IsWindowVisible(wnd)) {
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

BOOL CALLBACK CollectChildren(HWND wnd, LPARAM data) {
    auto* collect = reinterpret_cast<ChildTexts*>(data);
    char name[32] = {};
    ::GetClassNameA(wnd, name, sizeof name);
    if (_stricmp(name, collect->className) != 0 || !::IsWindowVisible(wnd)) return TRUE;
    if (collect->first == nullptr) collect->first = wnd;
    char text[512] = {};
    ::SendMessageA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    collect->text += std::string(text) + "\n";
    return TRUE;
}

}  // namespace

ProgramDriver::~ProgramDriver() {
    if (process_.hProcess == nullptr) return;
    if (!WaitForExit(0)) {
        ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, 5000);
    }
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
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

bool ProgramDriver::Start() {
    std::string command = "\"" + SimProcess::WinePath(VELMORA_PROGRAM) + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
        return false;
    Search search{process_.dwProcessId, nullptr, "^_^"};
    for (int i = 0; i < 300 && search.found == nullptr; ++i) {
        ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) ::Sleep(50);
    }
    window_ = search.found;
    // The first paint follows the window's appearance.
    ::Sleep(500);
    return window_ != nullptr;
}

void ProgramDriver::MouseMove(int x, int y) { ::PostMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

void ProgramDriver::Click(int x, int y) {
    MouseMove(x, y);
    ::PostMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ::Sleep(200);
}

void ProgramDriver::Key(WPARAM key) {
    ::PostMessageA(window_, WM_KEYDOWN, key, 1);
    ::PostMessageA(window_, WM_KEYUP, key, 0xC0000001);
}

void ProgramDriver::AltKey(WPARAM key) {
    // Bit 29: the Alt key is down.
    ::PostMessageA(window_, WM_SYSKEYDOWN, key, 0x20000001);
}

HWND ProgramDriver::WaitForDialog(DWORD ms) const {
    Search search{process_.dwProcessId, nullptr, "#32770"};
    const DWORD start = ::GetTickCount();
    while (search.found == nullptr && ::GetTickCount() - start < ms) {
        ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) ::Sleep(50);
    }
    if (search.found != nullptr) ::Sleep(300);  // let it finish its start-up
    return search.found;
}

void ProgramDriver::ChooseFile(HWND dialog, const std::string& windowsPath) {
    ChildTexts edits{"Edit", "", nullptr};
    ::EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&edits));
    if (edits.first != nullptr)
        ::SendMessageA(edits.first, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(windowsPath.c_str()));
    PressDialogButton(dialog, IDOK);
}

std::string ProgramDriver::DialogText(HWND dialog) {
    ChildTexts statics{"Static", "", nullptr};
    ::EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&statics));
    return statics.text;
}

void ProgramDriver::PressDialogButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

bool ProgramDriver::WaitForExit(DWORD ms) {
    return process_.hProcess != nullptr && ::WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
}

ProgramDriver::Picture ProgramDriver::Capture() const {
    Picture picture;
    RECT rc{};
    ::GetClientRect(window_, &rc);
    picture.width = rc.right;
    picture.height = rc.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(window_);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, 0, 0, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        picture.pixels.assign(p, p + static_cast<size_t>(picture.width) * picture.height);
        for (uint32_t& px : picture.pixels) px &= 0xFFFFFF;
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(window_, screen);
    return picture;
}

bool ProgramDriver::Picture::Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    const uint32_t rowBytes = static_cast<uint32_t>((width * 3 + 3) & ~3);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER head{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof head;
    file.bfSize = file.bfOffBits + rowBytes * height;
    head.biSize = sizeof head;
    head.biWidth = width;
    head.biHeight = height;
    head.biPlanes = 1;
    head.biBitCount = 24;
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&head), sizeof head);
    std::vector<char> row(rowBytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t px = At(x, y);
            row[x * 3] = static_cast<char>(px & 0xFF);
            row[x * 3 + 1] = static_cast<char>((px >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((px >> 16) & 0xFF);
        }
        out.write(row.data(), rowBytes);
    }
    return static_cast<bool>(out);
}
