#include "RadioSim.h"

#include <utility>

#include "ByteEscape.h"

namespace {

const std::string kBootStart = "boot_start";
const std::string kWritePage = "write page";
const std::string kIspFinish = "ISP finish";
// Line noise with neither CR nor LF, so that it can never open a reply.
const std::string kNoise("\x7f~%\xa5\x00#", 6);
// After an over-long line only the tail is kept, enough to find a boot text.
constexpr size_t kKeptTail = 16;

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

RadioSim::RadioSim(RadioState state, SimFaults faults, bool echo)
    : state_(std::move(state)), faults_(std::move(faults)), echo_(echo), commandSet_(state_, faults_) {}

void RadioSim::receive(const uint8_t* data, size_t length) {
    for (size_t i = 0; i < length; ++i) receiveByte(data[i]);
}

void RadioSim::receive(const std::string& bytes) {
    receive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::vector<RadioSim::Reply> RadioSim::takeReplies() { return std::exchange(replies_, {}); }

std::vector<std::string> RadioSim::takeTranscript() { return std::exchange(transcript_, {}); }

bool RadioSim::takeStateChanged() { return std::exchange(stateChanged_, false); }

bool RadioSim::takeFirmware(std::string& image) {
    if (!firmwareReady_) return false;
    firmwareReady_ = false;
    image = std::exchange(firmware_, {});
    return true;
}

void RadioSim::pageTimedOut() {
    if (!boot_.expectingPage()) return;
    size_t got = boot_.pageBytes();
    BootLoader::Page page = boot_.dropPage();
    note("! page " + std::to_string(page.number) + " dropped after " + std::to_string(got) + " of " +
         std::to_string(BootLoader::kPageBlock) + " bytes (no byte for 500 ms)");
}

void RadioSim::receiveByte(uint8_t byte) {
    // A page block is binary: CR, LF and boot texts inside it are page data.
    if (boot_.expectingPage()) {
        if (boot_.addByte(byte)) finishPage();
        return;
    }
    if (byte == '\n') return;
    if (byte == '\r') {
        endLine();
        return;
    }
    if (line_.size() >= kMaxLine) {
        line_.erase(0, line_.size() - kKeptTail);
        lineTooLong_ = true;
    }
    line_ += char(byte);
    checkBootText();
}

void RadioSim::checkBootText() {
    if (endsWith(line_, kBootStart)) {
        lineTooLong_ = false;
        bootStart(std::exchange(line_, {}));
    } else if (mode_ == Mode::Boot && endsWith(line_, kWritePage)) {
        lineTooLong_ = false;
        writePage(std::exchange(line_, {}));
    } else if (mode_ == Mode::Boot && endsWith(line_, kIspFinish)) {
        lineTooLong_ = false;
        ispFinish(std::exchange(line_, {}));
    }
}

void RadioSim::endLine() {
    std::string line = std::exchange(line_, {});
    bool tooLong = std::exchange(lineTooLong_, false);
    if (line.empty()) {
        note("> \\r");  // an empty line is no command and gets no reply
        return;
    }
    std::string received = line + "\r";
    if (!takeCommand(std::string(tooLong ? "> ..." : "> ") + escapeBytes(received))) return;
    answer(tooLong ? ConfigCommands::framed("ERROR: line too long") : executeLine(line), received);
}

std::string RadioSim::executeLine(const std::string& line) {
    if (mode_ == Mode::Boot) return ConfigCommands::framed("ERROR: boot loader");
    if (line == "control") {
        mode_ = Mode::Config;
        return ConfigCommands::framed("into config mode");
    }
    if (line == "exitcnt") {
        mode_ = Mode::Normal;
        return ConfigCommands::framed("exit config mode");
    }
    ConfigCommands::Result result = commandSet_.run(line, mode_ == Mode::Config);
    if (result.changed) stateChanged_ = true;
    return result.reply;
}

void RadioSim::bootStart(const std::string& received) {
    if (!takeCommand("> " + escapeBytes(received))) return;
    boot_.start();
    mode_ = Mode::Boot;
    answer(ConfigCommands::framed("boot start"), received);
}

void RadioSim::writePage(const std::string& received) {
    if (!takeCommand("> " + escapeBytes(received))) return;
    if (faults_.refusesPage(boot_.nextRequest())) {
        answer(ConfigCommands::framed("ERROR: page refused"), received);
        return;
    }
    boot_.expectPage();
    answer(ConfigCommands::framed("get page"), received);
}

void RadioSim::ispFinish(const std::string& received) {
    if (!takeCommand("> " + escapeBytes(received))) return;
    firmware_ = boot_.image();
    firmwareReady_ = true;
    mode_ = Mode::Normal;
    note("! boot loader left: image of " + std::to_string(firmware_.size()) + " bytes");
    boot_.start();
}

void RadioSim::finishPage() {
    std::string size = std::to_string(BootLoader::kPageBlock) + " bytes";
    ++commands_;
    if (hungUp()) {
        BootLoader::Page page = boot_.dropPage();
        note("> page " + std::to_string(page.number) + " (" + size + ")");
        note("! no reply (hangup)");
        return;
    }
    BootLoader::Page page = boot_.finishPage();
    note("> page " + std::to_string(page.number) + " (" + size + ", checksum " + (page.checksumOk ? "ok" : "bad") +
         ")");
    answer(ConfigCommands::framed(page.checksumOk ? "write OK" : "write ERROR: checksum"), "");
}

bool RadioSim::hungUp() const { return faults_.hangupAfter >= 0 && commands_ > faults_.hangupAfter; }

bool RadioSim::takeCommand(const std::string& transcriptLine) {
    ++commands_;
    note(transcriptLine);
    if (hungUp()) {
        note("! no reply (hangup)");
        return false;
    }
    return true;
}

// Sends a reply unless a fault swallows it. The echo (of a text command,
// never of a page) goes first; noise goes before the echo, since the echo's
// carriage return already opens the reply for the tool.
void RadioSim::answer(const std::string& reply, const std::string& echo) {
    const char* lost = reply.empty()              ? "no reply"
                       : faults_.silent           ? "no reply (silent)"
                       : faults_.drops(commands_) ? "no reply (drop)"
                                                  : nullptr;
    if (lost) {
        note(std::string("! ") + lost);
        return;
    }
    std::string bytes =
        faults_.burstBytes() + (faults_.noise ? kNoise : std::string()) + (echo_ ? echo : std::string()) + reply;
    note("< " + escapeBytes(bytes));
    replies_.push_back({std::move(bytes), faults_.delayMs});
}
