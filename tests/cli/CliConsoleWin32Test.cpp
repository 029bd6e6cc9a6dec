// VelmoraConfig.com, the console twin, where a technician meets it: typed at
// a cmd prompt in the program's folder, and in a workshop batch file. cmd
// finds it before VelmoraConfig.exe and waits for it, so its output comes
// before what follows, and %ERRORLEVEL% is its exit code.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "platform/UniqueHandle.h"
#include "testkit/FirmwareImage.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

std::string Unix(const std::string& name) { return SimProcess::UnixPathFor(TestComPort(0), name); }
std::string Win(const std::string& name) { return SimProcess::WinePath(Unix(name)); }

UniqueFile Inheritable(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return UniqueFile(::CreateFileW(Text::WidePath(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, write ? CREATE_ALWAYS : OPEN_EXISTING, 0,
                                    nullptr));
}

// The folder of VelmoraConfig.exe and VelmoraConfig.com, as cmd sees it.
std::string ProgramFolder() {
    const std::string program = SimProcess::WinePath(VELMORA_CONSOLE_PROGRAM);
    return program.substr(0, program.find_last_of('\\'));
}

// Runs cmd in the program's folder with `arguments`, its input read from a
// file holding `input`; what it and the programs it starts print, both
// streams in one, as the window shows it.
std::string Cmd(const std::string& arguments, const std::string& input) {
    SimProcess::WriteFile(Unix("console-typed.txt"), input);
    UniqueFile in = Inheritable(Win("console-typed.txt"), false);
    {
        UniqueFile out = Inheritable(Win("console-shown.txt"), true);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = in.get();
        si.hStdOutput = out.get();
        si.hStdError = out.get();
        std::string line = "cmd.exe " + arguments;
        PROCESS_INFORMATION pi{};
        const std::string folder = ProgramFolder();
        if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &si, &pi))
            return "cmd did not start";
        const UniqueHandle process(pi.hProcess), thread(pi.hThread);
        if (::WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 99);
    }
    return SimProcess::ReadFile(Unix("console-shown.txt"));
}

// True when every text is in `shown`, each after the one before.
::testing::AssertionResult InOrder(const std::string& shown, std::initializer_list<std::string> texts) {
    size_t at = 0;
    for (const std::string& text : texts) {
        const size_t found = shown.find(text, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << text << "\" is missing or out of order in:\n" << shown;
        at = found + text.size();
    }
    return ::testing::AssertionSuccess();
}

class CliConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"console-out.cfg", "console-help.txt", "console-image-out.bin"})
            ::DeleteFileW(Text::WidePath(Win(name)).c_str());
        const std::string appData = Unix("console-appdata");
        ::CreateDirectoryW(Text::WidePath(SimProcess::WinePath(appData)).c_str(), nullptr);
        ::SetEnvironmentVariableA("LOCALAPPDATA", SimProcess::WinePath(appData).c_str());
    }
    std::string Port() const { return "COM" + std::to_string(TestComPort(0)); }
    std::unique_ptr<SimProcess> sim;
};

// At the prompt cmd does not wait for a program with a window: the next
// typed line would be taken as a command while the download still asks.
TEST_F(CliConsoleTest, TypedAtThePrompt_TheQuestionIsAnsweredAndTheNextLineWaits) {
    sim = std::make_unique<SimProcess>(TestComPort(0), "--firmware-out " + Unix("console-image-out.bin"));
    ASSERT_TRUE(sim->Started());
    const std::string image = MakeImage(ImageLength(3));
    ASSERT_TRUE(SimProcess::WriteFile(Unix("console-image.dwn"), image));
    const std::string shown = Cmd("", "VelmoraConfig --port " + Port() + " --firmware " + Win("console-image.dwn") +
                                          "\r\ny\r\necho code=%ERRORLEVEL%\r\nexit\r\n");
    EXPECT_TRUE(
        InOrder(shown, {"4864 bytes, 4 pages", "firmware: 50%", "firmware: 100%", "4 pages downloaded", "code=0"}));
    sim->Stop();
    EXPECT_TRUE(SimProcess::ReadFile(Unix("console-image-out.bin")) == image.substr(0, 256) + image.substr(4096))
        << "the radio did not get the image";
}

// The README's workshop batch file: exit codes, a pipe and a redirection.
TEST_F(CliConsoleTest, WorkshopBatchFile_ErrorlevelPipeAndRedirection) {
    sim = std::make_unique<SimProcess>(TestComPort(0), "");
    ASSERT_TRUE(sim->Started());
    const std::string read = "VelmoraConfig --port " + Port() + " --read";
    std::string batch;
    for (const std::string& line :
         {std::string("@echo off"), read + " " + Win("console-out.cfg"), std::string("echo read=%ERRORLEVEL%"), read,
          std::string("echo usage=%ERRORLEVEL%"), std::string("VelmoraConfig --help | find \"Exit codes\""),
          "VelmoraConfig --help > " + Win("console-help.txt")})
        batch += line + "\r\n";
    ASSERT_TRUE(SimProcess::WriteFile(Unix("console-workshop.bat"), batch));
    const std::string shown = Cmd("/c " + Win("console-workshop.bat"), "");
    EXPECT_TRUE(InOrder(shown, {"the profile is in", "read=0", "--read needs a value", "usage=1", "Exit codes:"}));
    EXPECT_EQ(shown.find("--rate is the PC-side rate"), std::string::npos) << "the pipe took the help: " << shown;
    EXPECT_NE(SimProcess::ReadFile(Unix("console-help.txt")).find("--rate is the PC-side rate"), std::string::npos);
    EXPECT_NE(SimProcess::ReadFile(Unix("console-out.cfg")).find("Channel8,450.50000"), std::string::npos);
}

}  // namespace
