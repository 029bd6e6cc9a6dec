#include "cli/Console.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "serial/LateLibrary.h"

namespace {

constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kSplitArguments[] = "CommandLineToArgvW";

bool Usable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE && ::GetFileType(h) != FILE_TYPE_UNKNOWN; }

void WriteAll(HANDLE h, const std::string& text) {
    if (!Usable(h)) return;
    DWORD mode = 0;
    // A console takes CR LF; a file or pipe gets the text as it is.
    const std::string out = ::GetConsoleMode(h, &mode) ? [&] {
        std::string crlf;
        for (char c : text) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        return crlf;
    }()
                                                        : text;
    DWORD written = 0;
    size_t at = 0;
    while (at < out.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(out.size() - at, 65536));
        if (!::WriteFile(h, out.data() + at, chunk, &written, nullptr) || written == 0) return;
        at += written;
    }
}

}  // namespace

Console::Console() {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    if ((!Usable(out) || !Usable(in)) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!Usable(out)) {
            out = ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
            if (out != INVALID_HANDLE_VALUE) ownOut_.reset(out);
            if (!Usable(err)) err = out;
        }
        if (!Usable(in)) {
            in = ::CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            if (in != INVALID_HANDLE_VALUE) ownIn_.reset(in);
        }
    }
    out_ = out;
    err_ = Usable(err) ? err : out;
    in_ = in;
}

void Console::HandleCloser::operator()(void* handle) const { ::CloseHandle(static_cast<HANDLE>(handle)); }

Console::~Console() = default;

void Console::Out(const std::string& text) { WriteAll(static_cast<HANDLE>(out_), text); }

void Console::Err(const std::string& text) { WriteAll(static_cast<HANDLE>(err_), text); }

bool Console::OutIsConsole() const {
    DWORD mode = 0;
    return Usable(static_cast<HANDLE>(out_)) && ::GetConsoleMode(static_cast<HANDLE>(out_), &mode);
}

bool Console::Ask(const std::string& question, bool& yes) {
    yes = false;
    Out(question);
    HANDLE in = static_cast<HANDLE>(in_);
    if (!Usable(in)) return false;
    std::string line;
    char c = 0;
    DWORD got = 0;
    // One byte at a time, so that nothing after the answer's line is taken.
    while (line.size() < 256 && ::ReadFile(in, &c, 1, &got, nullptr) && got == 1) {
        if (c == '\n') break;
        if (c != '\r') line += c;
    }
    if (got == 0 && line.empty()) return false;
    DWORD mode = 0;
    if (!::GetConsoleMode(in, &mode)) Out("\n");  // an answer from a file or pipe is not echoed
    yes = line == "y" || line == "Y" || line == "yes" || line == "YES" || line == "Yes";
    return true;
}

bool ProgramArguments(std::vector<std::string>& args, std::string& error) {
    args.clear();
    const auto split = LateFunction<decltype(&::CommandLineToArgvW), kShellLibrary, kSplitArguments>();
    if (split == nullptr) {
        error = "the command line cannot be read";
        return false;
    }
    int count = 0;
    LPWSTR* argv = split(::GetCommandLineW(), &count);
    if (argv == nullptr) {
        error = "the command line cannot be read";
        return false;
    }
    bool ok = true;
    for (int i = 1; i < count && ok; ++i) {
        const int size = ::WideCharToMultiByte(CP_ACP, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
        BOOL lossy = FALSE;
        if (size <= 0 ||
            ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, argv[i], -1, &text[0], size, nullptr, &lossy) == 0 ||
            lossy) {
            error = "argument " + std::to_string(i) +
                    " holds characters this system's code page cannot represent; use a path without them";
            ok = false;
            break;
        }
        text.resize(static_cast<size_t>(size) - 1);
        args.push_back(text);
    }
    ::LocalFree(argv);
    return ok;
}
