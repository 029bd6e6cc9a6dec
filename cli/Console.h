#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <vector>

// The console of the command line. A program with a window has no console of
// its own: its output goes to the handles it was given (a file, a pipe, the
// terminal under Wine) or, when it has none, to the console of the program
// that started it (cmd, PowerShell), attached to on demand.
class Console {
public:
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // False when the text could not be written whole (a full disk, a closed
    // pipe); no output at all counts as written.
    bool Out(const std::string& text);
    // True once any text could not be written to the output.
    bool OutputFailed() const { return outFailed_; }
    void Err(const std::string& text);
    // Messages never go to the output, even when there is no error output
    // for them (they are then dropped): the output holds data a program reads.
    void KeepOutputClean();
    // True when the output is a console, not a file or a pipe.
    bool OutIsConsole() const;
    // Asks a yes/no question and reads one line. False when no answer can be
    // read (no input, or its end); `yes` is then false.
    bool Ask(const std::string& question, bool& yes);

private:
    // Closes a handle the console opened itself (the attached console's).
    struct HandleCloser {
        void operator()(void* handle) const;
    };

    void* out_ = nullptr;
    void* err_ = nullptr;
    void* in_ = nullptr;
    std::atomic<bool> outFailed_{false};
    bool errIsOut_ = false;  // no error output of its own: messages go to the output
    std::unique_ptr<void, HandleCloser> ownOut_, ownIn_;
};

// The program's arguments (without its name) as UTF-8, every character kept.
// False with a message when the command line cannot be read.
bool ProgramArguments(std::vector<std::string>& args, std::string& error);
