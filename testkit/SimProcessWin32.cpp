#include "testkit/SimProcess.h"
#include "platform/Wide.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

// Under Wine the radio is a Linux process the test cannot signal nor wait
// for: it is seen through its link (made when ready, removed when it ends)
// and stopped through its stop file.

namespace {

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

void Delete(const std::string& unixPath) { ::DeleteFileW(Text::WidePath(SimProcess::WinePath(unixPath)).c_str()); }

}  // namespace

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

bool SimProcess::Start(const std::vector<std::string>& options) {
    const char* radio = std::getenv("VELMORA_RADIOSIM");
    if (radio == nullptr || *radio == '\0' || OptionValue(options, "--link").empty()) return false;
    link_ = OptionValue(options, "--link");
    stopFile_ = OptionValue(options, "--stop-file");
    if (!stopFile_.empty()) Delete(stopFile_);
    // A link left over from an earlier run must not be taken for the new one.
    Delete(link_);

    std::string command = radio;
    for (const std::string& option : options) command += " " + option;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    started_ = WaitFor(true, link_, 10000);
    return started_;
}

SimProcess::~SimProcess() { Stop(); }

int SimProcess::Stop(double seconds) {
    if (link_.empty() || stopFile_.empty()) return -1;
    HANDLE h = ::CreateFileW(Text::WidePath(WinePath(stopFile_)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                             nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    const int status = WaitExit(seconds);
    Delete(stopFile_);
    started_ = false;
    return status;
}

int SimProcess::WaitExit(double seconds) {
    if (link_.empty()) return -1;
    return WaitFor(false, link_, static_cast<int>(seconds * 1000)) ? 0 : -1;
}
