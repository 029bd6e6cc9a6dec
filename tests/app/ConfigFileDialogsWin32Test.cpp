// The profile dialogs: what they ask Windows for, and where they start.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/ConfigFileDialogs.h"
#include "platform/UniqueHandle.h"
#include "platform/Wide.h"
#include "platform/Win32Text.h"
#include "testkit/SimProcess.h"

namespace {

// A folder nobody may write to, made so for real on the Unix side: Wine maps
// Windows writes to Unix ones, and neither the read-only attribute nor the
// missing write permission stops root, so the folder is made immutable as
// well (refused to anyone but root, whom the permission does not stop).
class ReadOnlyFolder {
public:
    ReadOnlyFolder() {
        const char* dir = std::getenv("VELMORA_PORT_DIR");
        if (dir == nullptr) return;
        unixPath = std::string(dir) + "/read-only-profiles";
        path = SimProcess::WinePath(unixPath);
        ::CreateDirectoryW(Text::WidePath(path).c_str(), nullptr);
        if (!RunShell("chmod a-w '" + unixPath + "'; chattr +i '" + unixPath + "' 2>/dev/null")) path.clear();
    }
    ~ReadOnlyFolder() {
        if (unixPath.empty()) return;
        RunShell("chattr -i '" + unixPath + "' 2>/dev/null; chmod u+w '" + unixPath + "'");
        ::RemoveDirectoryW(Text::WidePath(SimProcess::WinePath(unixPath)).c_str());
    }
    std::string path;  // empty when the folder could not be made

private:
    // Runs a shell command on the Linux side and waits for it. Wine hands a
    // Linux program its command line split at every blank, so the command
    // goes through a script file; and Wine does not wait for a Linux process,
    // so the script leaves a mark when it is done.
    bool RunShell(const std::string& command) const {
        const std::string script = unixPath + ".sh", mark = unixPath + ".done";
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(mark)).c_str());
        const std::string text = command + "\ntouch '" + mark + "'\n";
        {
            UniqueFile file(::CreateFileW(Text::WidePath(SimProcess::WinePath(script)).c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            if (!file || !::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
                return false;
        }
        std::string line = "/bin/sh " + script;
        std::vector<char> chars(line.begin(), line.end());
        chars.push_back('\0');
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const bool started =
            ::CreateProcessA(nullptr, chars.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        if (started) {
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
        bool done = false;
        for (int i = 0; started && i < 200 && !done; ++i) {
            done = ::DeleteFileW(Text::WidePath(SimProcess::WinePath(mark)).c_str()) != FALSE;
            if (!done) ::Sleep(25);
        }
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(script)).c_str());
        return done;
    }
    std::string unixPath;
};

TEST(ConfigFileDialogs, TitlesFilterFlagsAndTheProgramFolder) {
    Language language = Language::English;
    ConfigFileDialogs dialogs(nullptr, [&language] { return language; });
    wchar_t path[ConfigFileDialogs::kPathUnits] = L"";
    const std::string folder = ConfigFileDialogs::ProgramFolder();
    const std::wstring wideFolder = Text::Widen(folder);

    OPENFILENAMEW save = dialogs.Describe(ConfigFileDialogs::Kind::Save, path, wideFolder);
    EXPECT_STREQ(save.lpstrTitle, L"Export Config");
    // One filter, and the list ends in two NULs.
    EXPECT_EQ(std::wstring(save.lpstrFilter, 26), std::wstring(L"Config File(*.cfg)\0*.cfg\0\0", 26));
    EXPECT_EQ(save.nFilterIndex, 1u);
    // 259 characters of two UTF-16 units each, and the terminator.
    EXPECT_EQ(save.nMaxFile, 2u * 259u + 1u);
    EXPECT_EQ(save.Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT | OFN_NOVALIDATE));
    EXPECT_STREQ(save.lpstrInitialDir, wideFolder.c_str());
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(Text::ModuleFileName(nullptr), folder + "\\app_test.exe");

    OPENFILENAMEW open = dialogs.Describe(ConfigFileDialogs::Kind::Open, path, wideFolder);
    EXPECT_STREQ(open.lpstrTitle, L"Import Config");
    EXPECT_EQ(open.Flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));

    language = Language::Chinese;
    EXPECT_STREQ(dialogs.Describe(ConfigFileDialogs::Kind::Save, path, wideFolder).lpstrTitle, L"导出配置");
    EXPECT_STREQ(dialogs.Describe(ConfigFileDialogs::Kind::Open, path, wideFolder).lpstrTitle, L"导入配置");
}

TEST(ConfigFileDialogs, FolderWritable_WritableReadOnlyAndMissingFolders) {
    char temp[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, temp));
    const std::string writable = std::string(temp) + "velmora-writable";
    ::CreateDirectoryW(Text::WidePath(writable).c_str(), nullptr);
    EXPECT_TRUE(ConfigFileDialogs::FolderWritable(writable));
    // The trial file is gone again: the folder can be removed when empty.
    EXPECT_TRUE(::RemoveDirectoryW(Text::WidePath(writable).c_str()));
    EXPECT_FALSE(ConfigFileDialogs::FolderWritable(writable));

    ReadOnlyFolder readOnly;
    ASSERT_FALSE(readOnly.path.empty());
    EXPECT_FALSE(ConfigFileDialogs::FolderWritable(readOnly.path));
}

TEST(ConfigFileDialogs, ReadOnlyProgramFolder_DocumentsFirstThenTheFolderLastChosen) {
    ReadOnlyFolder readOnly;
    ConfigFileDialogs dialogs(
        nullptr, [] { return Language::English; }, readOnly.path);
    const std::string documents = ConfigFileDialogs::DocumentsFolder();
    ASSERT_FALSE(documents.empty());
    EXPECT_EQ(documents, dialogs.InitialFolder());

    // The dialog counts the name's place in UTF-16 units: "C:\Łukasz\" is 9
    // units and 11 bytes.
    wchar_t path[ConfigFileDialogs::kPathUnits] = L"";
    const std::wstring wideDocuments = Text::Widen(documents);
    OPENFILENAMEW answered = dialogs.Describe(ConfigFileDialogs::Kind::Save, path, wideDocuments);
    wcscpy(path, L"C:\\Łukasz\\site 用户.cfg");
    answered.nFileOffset = 10;
    std::string chosen;
    dialogs.Accept(answered, chosen);
    EXPECT_EQ("C:\\Łukasz\\site 用户.cfg", chosen);
    EXPECT_EQ("C:\\Łukasz", dialogs.InitialFolder());
}

TEST(ConfigFileDialogs, WritableProgramFolder_StaysTheInitialFolder) {
    ConfigFileDialogs dialogs(nullptr, [] { return Language::English; });
    const std::string program = ConfigFileDialogs::ProgramFolder();
    EXPECT_EQ(program, dialogs.InitialFolder());
    wchar_t path[ConfigFileDialogs::kPathUnits] = L"C:\\profiles\\a.cfg";
    const std::wstring wideProgram = Text::Widen(program);
    OPENFILENAMEW answered = dialogs.Describe(ConfigFileDialogs::Kind::Open, path, wideProgram);
    answered.nFileOffset = 12;
    std::string chosen;
    dialogs.Accept(answered, chosen);
    EXPECT_EQ(program, dialogs.InitialFolder());
}

}  // namespace
