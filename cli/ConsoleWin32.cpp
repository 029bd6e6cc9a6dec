#include "cli/Console.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/LateLibrary.h"
#include "platform/Wide.h"

namespace {

constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kSplitArguments[] = "CommandLineToArgvW";

bool Usable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE && ::GetFileType(h) != FILE_TYPE_UNKNOWN; }

// A console is written wide, so that every character shows whatever its code
// page (where its font has the glyph), with CR LF; a file or pipe gets the
// UTF-8 text as it is.
bool WriteAll(HANDLE h, const std::string& text) {
    if (!Usable(h)) return true;
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(h, &mode)) {
        std::string crlf;
        for (char c : text) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        const std::wstring wide = Text::Widen(crlf);
        size_t at = 0;
        while (at < wide.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 8192));
            if (!::WriteConsoleW(h, wide.data() + at, chunk, &written, nullptr) || written == 0) return false;
            at += written;
        }
        return true;
    }
    const std::string& out = text;
    size_t at = 0;
    while (at < out.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(out.size() - at, 65536));
        if (!::WriteFile(h, out.data() + at, chunk, &written, nullptr) || written == 0) return false;
        at += written;
    }
    return true;
}

}  // namespace

Console::Console() {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    if ((!Usable(out) || !Usable(err) || !Usable(in)) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!Usable(out) || !Usable(err)) {
            HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
            if (console != INVALID_HANDLE_VALUE) {
                ownOut_.reset(console);
                if (!Usable(out)) out = console;
                if (!Usable(err)) err = console;
            }
        }
        if (!Usable(in)) {
            in = ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            if (in != INVALID_HANDLE_VALUE) ownIn_.reset(in);
        }
    }
    out_ = out;
    errIsOut_ = !Usable(err);
    err_ = errIsOut_ ? out : err;
    in_ = in;
}

void Console::HandleCloser::operator()(void* handle) const { ::CloseHandle(static_cast<HANDLE>(handle)); }

Console::~Console() = default;

bool Console::Out(const std::string& text) {
    if (WriteAll(static_cast<HANDLE>(out_), text)) return true;
    outFailed_ = true;
    return false;
}

void Console::Err(const std::string& text) { WriteAll(static_cast<HANDLE>(err_), text); }

void Console::KeepOutputClean() {
    if (errIsOut_) err_ = nullptr;
}

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
    DWORD got = 0;
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(in, &mode) != FALSE;
    // One character at a time, so that nothing after the answer's line is
    // taken; a console is read wide, a file or pipe as bytes.
    while (line.size() < 256) {
        if (console) {
            wchar_t w = 0;
            if (!::ReadConsoleW(in, &w, 1, &got, nullptr) || got != 1) break;
            if (w == L'\n') break;
            if (w != L'\r') line += Text::Narrow(std::wstring_view(&w, 1));
        } else {
            char c = 0;
            if (!::ReadFile(in, &c, 1, &got, nullptr) || got != 1) break;
            if (c == '\n') break;
            if (c != '\r') line += c;
        }
    }
    if (got == 0 && line.empty()) return false;
    if (!console) Out("\n");  // an answer from a file or pipe is not echoed
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
    for (int i = 1; i < count; ++i) args.push_back(Text::Narrow(argv[i]));
    ::LocalFree(argv);
    return true;
}
