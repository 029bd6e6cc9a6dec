#include "tests/support/SimProcess.h"
#include "platform/Wide.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::string Env(const char* name) {
    char value[1024];
    DWORD n = ::GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

// Wine answers ERROR_INVALID_PARAMETER for a link to a pseudo-terminal, so
// only "not found" counts as absent.
bool Exists(const std::string& unixPath) {
    if (::GetFileAttributesW(Text::WidePath(SimProcess::WinePath(unixPath)).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    DWORD error = ::GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool WaitFor(bool wantExists, const std::string& unixPath, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (Exists(unixPath) == wantExists) return true;
        ::Sleep(10);
    }
    return Exists(unixPath) == wantExists;
}

}  // namespace

int TestComPort(int index) {
    std::string ports = Env("VELMORA_PORTS");
    int i = 0;
    for (const char* p = ports.c_str(); *p;) {
        char* end = nullptr;
        long n = std::strtol(p, &end, 10);
        if (end == p) break;
        if (i++ == index) return static_cast<int>(n);
        p = *end == ',' ? end + 1 : end;
    }
    return 0;
}

std::string SimProcess::WinePath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string SimProcess::ReadFile(const std::string& unixPath) { return ReadWindowsFile(WinePath(unixPath)); }

std::string SimProcess::ReadWindowsFile(const std::string& windowsPath) {
    std::string content;
    HANDLE h = ::CreateFileW(Text::WidePath(windowsPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return content;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    ::CloseHandle(h);
    return content;
}

bool SimProcess::WriteFile(const std::string& unixPath, const std::string& content) {
    return WriteWindowsFile(WinePath(unixPath), content);
}

bool SimProcess::WriteWindowsFile(const std::string& windowsPath, const std::string& content) {
    HANDLE h = ::CreateFileW(Text::WidePath(windowsPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    ::CloseHandle(h);
    return ok;
}

std::string SimProcess::UnixPathFor(int comPort, const std::string& name) {
    return Env("VELMORA_PORT_DIR") + "/sim" + std::to_string(comPort) + "-" + name;
}

SimProcess::SimProcess(int comPort, const std::string& args) : port_(comPort) {
    std::string radio = Env("VELMORA_RADIOSIM");
    std::string dir = Env("VELMORA_PORT_DIR");
    if (radio.empty() || dir.empty() || comPort <= 0) return;
    // Neither name may start with "com" and a number: Windows takes such a
    // file name, whatever its extension, for the serial device itself.
    link_ = dir + "/port" + std::to_string(comPort);
    stopFile_ = dir + "/stop" + std::to_string(comPort);
    ::DeleteFileW(Text::WidePath(WinePath(stopFile_)).c_str());
    // A link left over from an earlier run must not be taken for the new one.
    ::DeleteFileW(Text::WidePath(WinePath(link_)).c_str());

    std::string command = radio + " --link " + link_ + " --stop-file " + stopFile_ + " --idle-exit 120 " + args;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    started_ = WaitFor(true, link_, 10000);
}

SimProcess::~SimProcess() { Stop(); }

void SimProcess::Stop() {
    if (link_.empty()) return;
    HANDLE h = ::CreateFileW(Text::WidePath(WinePath(stopFile_)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                             nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    WaitFor(false, link_, 5000);
    ::DeleteFileW(Text::WidePath(WinePath(stopFile_)).c_str());
    started_ = false;
}
