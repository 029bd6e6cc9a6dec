#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "BootLoader.h"
#include "ConfigCommands.h"
#include "RadioState.h"
#include "SimFaults.h"

// The simulated radio's command interpreter: bytes in, replies out.
// It has no I/O and no clock. The owner feeds received bytes in the order
// they arrive, sends each reply after its delay, appends the transcript
// lines, saves the state when it changed and writes the firmware image.
//
// Text commands end with a carriage return (line feeds are ignored). The boot
// loader texts "boot_start", "write page" and "ISP finish" have no terminator
// and are recognised in the byte stream; while a page block is awaited the
// next 258 bytes are taken as they are.
class RadioSim {
public:
    enum class Mode { Normal, Config, Boot };

    struct Reply {
        std::string bytes;
        int delayMs = 0;  // to wait after the command's last byte
    };

    RadioSim(RadioState state, SimFaults faults, bool echo);
    RadioSim(const RadioSim&) = delete;
    RadioSim& operator=(const RadioSim&) = delete;

    void receive(const uint8_t* data, size_t length);
    void receive(const std::string& bytes);

    // Everything produced since the previous call, in order.
    std::vector<Reply> takeReplies();
    std::vector<std::string> takeTranscript();
    // True once after any parameter was set.
    bool takeStateChanged();
    // True once after "ISP finish", with the pages' data concatenated.
    bool takeFirmware(std::string& image);

    // A page block is awaited. The owner calls pageTimedOut() when no byte has
    // come or gone for about 500 ms meanwhile: the block is dropped and the
    // boot loader waits for the next "write page".
    bool pageInProgress() const { return boot_.expectingPage(); }
    void pageTimedOut();

    Mode mode() const { return mode_; }
    const RadioState& state() const { return state_; }
    long commandCount() const { return commands_; }

    static constexpr size_t kMaxLine = 128;  // longer lines are refused

private:
    void receiveByte(uint8_t byte);
    void endLine();
    void checkBootText();
    std::string executeLine(const std::string& line);
    void bootStart(const std::string& received);
    void writePage(const std::string& received);
    void ispFinish(const std::string& received);
    void finishPage();

    // Counts one command and logs it; false once the radio has hung up.
    bool takeCommand(const std::string& transcriptLine);
    bool hungUp() const;
    void answer(const std::string& reply, const std::string& echo);
    void note(const std::string& line) { transcript_.push_back(line); }

    RadioState state_;
    SimFaults faults_;
    bool echo_;
    ConfigCommands commandSet_;
    BootLoader boot_;
    Mode mode_ = Mode::Normal;
    std::string line_;
    bool lineTooLong_ = false;
    long commands_ = 0;
    std::vector<Reply> replies_;
    std::vector<std::string> transcript_;
    bool stateChanged_ = false;
    bool firmwareReady_ = false;
    std::string firmware_;
};
