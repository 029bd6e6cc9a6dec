// A file named like a system library beside the program (the portable zip
// unpacked into Downloads, where anything may lie) is never loaded into it:
// both programs take every library from the system folder. Wine is told to
// prefer such files to its own (VELMORA_DLLOVERRIDES), and each planted copy
// records being loaded.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/UniqueHandle.h"
#include "testkit/ProgramDriver.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

// What the programs load in the run below: GDI+ and msimg32 to paint, the
// shell for the command line and links, the file dialogs and, through them,
// the common controls. (The toolkit's rich edit, msftedit, is in no window
// of the programs.)
const char* const kSystemNames[] = {"gdiplus", "msimg32", "comctl32", "shell32", "comdlg32"};

class PlantedLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::CreateDirectoryW(Text::WidePath(folder).c_str(), nullptr);
        ASSERT_TRUE(
            ::CopyFileA(SimProcess::WinePath(VELMORA_PROGRAM).c_str(), Beside("VelmoraConfig.exe").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(SimProcess::WinePath(VELMORA_CONSOLE_PROGRAM).c_str(),
                                Beside("VelmoraConfig.com").c_str(), FALSE));
        for (const char* name : kSystemNames)
            ASSERT_TRUE(::CopyFileA(SimProcess::WinePath(VELMORA_PLANTED_LIBRARY).c_str(),
                                    Beside(std::string(name) + ".dll").c_str(), FALSE));
        ::DeleteFileW(Text::WidePath(Beside("loaded.txt")).c_str());
        ::SetEnvironmentVariableA("VELMORA_PLANTED_LOG", Beside("loaded.txt").c_str());
    }
    std::string Beside(const std::string& name) const { return folder + "\\" + name; }
    std::string Loaded() const { return SimProcess::ReadFile(std::string(VELMORA_PLANTED_FOLDER) + "/loaded.txt"); }

    const std::string folder = SimProcess::WinePath(VELMORA_PLANTED_FOLDER);
};

// Run (with its arguments) a program from the planted folder to its end;
// its exit code.
DWORD RunToEnd(std::string line, DWORD flags) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi)) return 98;
    const UniqueHandle process(pi.hProcess), thread(pi.hThread);
    if (::WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) return 97;
    DWORD code = 99;
    ::GetExitCodeProcess(pi.hProcess, &code);
    return code;
}

TEST_F(PlantedLibraryTest, WindowAndConsolePrograms_TakeNone) {
    // The control first: a program that does not keep to the system folder,
    // beside the copies, takes every one of them, and each says so.
    ASSERT_TRUE(
        ::CopyFileA(SimProcess::WinePath(VELMORA_PLANTED_CONTROL).c_str(), Beside("control.exe").c_str(), FALSE));
    std::string control = "\"" + Beside("control.exe") + "\"";
    for (const char* name : kSystemNames) control += std::string(" ") + name;
    ASSERT_EQ(0u, RunToEnd(control, CREATE_NO_WINDOW));
    const std::string taken = Loaded();
    for (const char* name : kSystemNames)
        EXPECT_NE(taken.find(std::string("\\") + name + ".dll"), std::string::npos) << name << ": " << taken;
    ::DeleteFileW(Text::WidePath(Beside("loaded.txt")).c_str());

    ProgramDriver::WriteSettings(-1, -1, 1);
    {
        ProgramDriver program;
        ASSERT_TRUE(program.Start(Beside("VelmoraConfig.exe"))) << Loaded();
        program.Click(kImport.x, kImport.y);
        const HWND dialog = program.WaitForDialog(8000);
        EXPECT_NE(nullptr, dialog) << "no file dialog; loaded: " << Loaded();
        if (dialog != nullptr) ProgramDriver::PressDialogButton(dialog, IDCANCEL);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 8000));
        program.Key(VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit(8000));
    }
    // The console twin reads its command line through the shell.
    EXPECT_EQ(0u, RunToEnd("\"" + Beside("VelmoraConfig.com") + "\" --help", CREATE_NO_WINDOW));
    EXPECT_EQ("", Loaded());
}

}  // namespace
