// The installer made by scripts/package, as an IT department runs it: /S
// installs silently into Program Files (or the /D= folder), a second run
// upgrades in place, and the uninstaller (/S) takes away what was installed
// but leaves the user's settings. A picture of the installed program's main
// window is kept beside this test program (installed-*.png).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "testkit/ProgramDriver.h"
#include "testkit/SimProcess.h"

namespace {

const wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VelmoraConfig";
const wchar_t kDisplayName[] = L"Velmora Configuration Tool";
const wchar_t kProgram[] = L"\\VelmoraConfig.exe";
// The console twin: the command line at a prompt.
const wchar_t kConsoleProgram[] = L"\\VelmoraConfig.com";

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow(text.size() * 2 + 1, '\0');
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], static_cast<int>(narrow.size()),
                                        nullptr, nullptr);
    narrow.resize(n > 0 ? n - 1 : 0);
    return narrow;
}

// Runs a command line to its end; its exit code, or -1 when it did not run
// or end within `ms`.
long Run(std::wstring commandLine, DWORD ms) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0) ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<long>(code);
}

std::wstring ReadText(const wchar_t* key, const wchar_t* name) {
    wchar_t value[1024] = L"";
    DWORD size = sizeof value - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"";
    return value;
}

DWORD ReadNumber(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

// The entries of the list of installed programs that name this program.
int CountEntries() {
    HKEY root = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_READ, &root) != ERROR_SUCCESS) return 0;
    int count = 0;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (::RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::wstring key = std::wstring(kUninstallRoot) + L"\\" + name;
        count += ReadText(key.c_str(), L"DisplayName") == kDisplayName;
    }
    ::RegCloseKey(root);
    return count;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
    return path;
}

// Program Files as the installer of this test's architecture sees it: the
// 32-bit one "Program Files (x86)" on a 64-bit system, the 64-bit one
// "Program Files". The uninstall entry is read in the same view of the
// registry, so an installer that wrote into the other view is not found.
std::wstring ProgramFiles() { return ShellFolder(CSIDL_PROGRAM_FILES); }
std::wstring DefaultFolder() { return ProgramFiles() + L"\\Velmora Configuration Tool"; }
std::wstring Shortcut() { return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Velmora Configuration Tool.lnk"; }

bool Install(const std::wstring& folder = L"") {
    std::wstring line = L"\"" + Widen(SimProcess::WinePath(VELMORA_INSTALLER)) + L"\" /S";
    // /D= comes last and unquoted, spaces and all.
    if (!folder.empty()) line += L" /D=" + folder;
    return Run(line, 60000) == 0;
}

// The uninstaller copies itself away and returns at once; it is done when
// the entry and the program are gone.
bool Uninstall() {
    const std::wstring folder = ReadText(kUninstallKey, L"InstallLocation");
    const std::wstring quiet = ReadText(kUninstallKey, L"QuietUninstallString");
    if (quiet.empty() || Run(quiet, 30000) != 0) return false;
    return WaitFor([&] { return CountEntries() == 0 && !Exists(folder + kProgram); }, 15000);
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef VELMORA_NO_MAKENSIS
        GTEST_SKIP() << "makensis (Debian package nsis) is missing: no installer was made, none is tested";
#endif
        ASSERT_TRUE(Exists(Widen(SimProcess::WinePath(VELMORA_INSTALLER))))
            << VELMORA_INSTALLER << " is missing: scripts/package makes it";
        // What an interrupted earlier run left behind.
        while (CountEntries() > 0) ASSERT_TRUE(Uninstall());
    }
    void TearDown() override {
        while (CountEntries() > 0 && Uninstall()) {}
    }

    // Starts the installed program, keeps a picture of its main window and
    // ends it as a user does (Escape), which stores the settings.
    static void StartAndPicture(const std::wstring& folder, const char* picture) {
        ProgramDriver program;
        ASSERT_TRUE(program.Start(Narrow(folder + kProgram)));
        const ProgramDriver::Picture shot = program.Capture();
        ASSERT_TRUE(shot.Save(picture));
        EXPECT_EQ(759, shot.width);
        EXPECT_EQ(539, shot.height);
        // A painted window, not an empty one: its skin, images and texts.
        std::vector<uint32_t> colours(shot.pixels);
        std::sort(colours.begin(), colours.end());
        EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 50);
        program.Key(VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit(8000));
    }
};

TEST_F(InstallerTest, SilentInstall_ProgramFilesEntryShortcut_AndTheProgramPaints) {
    ASSERT_TRUE(Install());
    const std::wstring folder = DefaultFolder();
    ASSERT_TRUE(Exists(folder + kProgram));
    EXPECT_TRUE(Exists(folder + kConsoleProgram));
    // The user guide beside it, its pictures too, as F1 looks for it.
    for (const wchar_t* page :
         {L"\\guide\\en\\index.html", L"\\guide\\zh\\index.html", L"\\guide\\images\\main-en.png"})
        EXPECT_TRUE(Exists(folder + page));
    EXPECT_TRUE(Exists(Shortcut()));
    EXPECT_EQ(1, CountEntries());
    EXPECT_EQ(Widen(VELMORA_PROJECT_VERSION), ReadText(kUninstallKey, L"DisplayVersion"));
    EXPECT_EQ(L"Quillet", ReadText(kUninstallKey, L"Publisher"));
    EXPECT_EQ(folder + kProgram + L",0", ReadText(kUninstallKey, L"DisplayIcon"));
    EXPECT_EQ(folder, ReadText(kUninstallKey, L"InstallLocation"));
    WIN32_FILE_ATTRIBUTE_DATA program{};
    ASSERT_TRUE(::GetFileAttributesExW((folder + kProgram).c_str(), GetFileExInfoStandard, &program));
    EXPECT_GE(ReadNumber(kUninstallKey, L"EstimatedSize"), program.nFileSizeLow / 1024);
    StartAndPicture(folder, "installed-main-window.png");
}

TEST_F(InstallerTest, SilentUninstall_RemovesFilesShortcutAndEntry_KeepsTheSettings) {
    ProgramDriver::WriteSettings(-1, -1, -1);
    ASSERT_TRUE(Install());
    const std::wstring folder = DefaultFolder();
    StartAndPicture(folder, "installed-before-uninstall.png");
    ASSERT_EQ("1", ProgramDriver::ReadSetting("Chinese"));

    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(Exists(folder + L"\\Uninstall.exe"));
    // Gone with every file in it, the console twin and the guide too.
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(Exists(Shortcut()));
    // Settings are the user's, kept for a later installation.
    EXPECT_EQ("1", ProgramDriver::ReadSetting("Chinese"));
}

TEST_F(InstallerTest, RunTwice_ChineseFolderWithSpaces_OneEntryUpgradedInPlace) {
    const std::wstring folder = ProgramFiles() + L"\\电台 配置工具 测试";
    ASSERT_TRUE(Install());
    // Into another folder: the earlier installation moves there.
    ASSERT_TRUE(Install(folder));
    EXPECT_FALSE(Exists(DefaultFolder()));
    // Again without a folder: the same one, upgraded in place.
    ASSERT_TRUE(Install());
    EXPECT_EQ(1, CountEntries());
    EXPECT_EQ(folder, ReadText(kUninstallKey, L"InstallLocation"));
    EXPECT_FALSE(Exists(DefaultFolder()));
    EXPECT_TRUE(Exists(Shortcut()));
    StartAndPicture(folder, "installed-chinese-folder.png");

    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(Exists(folder));
}

}  // namespace
