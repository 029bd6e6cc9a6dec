// The console twin of the program, VelmoraConfig.com. Typed as
// "VelmoraConfig" at a cmd prompt it is found before VelmoraConfig.exe (.COM
// comes first in PATHEXT), and, being a console program, the prompt waits
// for it: its output comes before the next prompt, pipes and redirections
// take it, questions are answered on its console and %ERRORLEVEL% is its exit
// code. With options it runs the same command line as the window program;
// without, it starts the window program beside it and returns.
#include <windows.h>

#include <string>

#include "cli/Console.h"
#include "cli/Workshop.h"
#include "platform/LateLibrary.h"
#include "platform/UniqueHandle.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

namespace {

// What a user means by typing the program's name alone: its window. It is
// not waited for, so that the prompt comes back as for any windowed program.
int StartWindowProgram() {
    const std::string beside = WindowProgramBeside(Text::ModuleFileName(nullptr));
    if (beside.empty()) {
        Console console;
        console.Err(
            "error: this program's folder cannot be read, so the window program VelmoraConfig.exe beside it "
            "cannot be found; start VelmoraConfig.exe from its folder\n");
        return static_cast<int>(ExitCode::FileError);
    }
    const std::wstring program = Text::Widen(beside);
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        Console console;
        console.Err("error: the window program VelmoraConfig.exe cannot be started from this program's folder (error " +
                    std::to_string(::GetLastError()) + ")\n");
        return static_cast<int>(ExitCode::FileError);
    }
    const UniqueHandle ownedProcess(process.hProcess), ownedThread(process.hThread);
    return static_cast<int>(ExitCode::Success);
}

}  // namespace

int main(int argc, char**) {
    LoadLibrariesFromSystemFolderOnly();
    if (argc <= 1) return StartWindowProgram();
    return RunCommandLine();
}
