#include "RadioLoop.h"

#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ByteEscape.h"
#include "SimFiles.h"

namespace {

constexpr int64_t kMillisecond = 1000000;
constexpr int64_t kStopCheckPeriod = 10 * kMillisecond;
constexpr int64_t kPageTimeout = 500 * kMillisecond;
constexpr int64_t kMaxWait = 20 * kMillisecond;

// The speed the tool set on its end of the terminal: the master reads the
// settings of the terminal the tool opened. 0 when it cannot be read.
long terminalBaud(int fd) {
    static const struct {
        speed_t code;
        long baud;
    } speeds[] = {{B1200, 1200},   {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},
                  {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800}};
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return 0;
    const speed_t code = ::cfgetospeed(&t);
    for (const auto& s : speeds)
        if (s.code == code) return s.baud;
    return 0;
}

}  // namespace

RadioLoop::RadioLoop(const SimOptions& options, int master, RadioSim* sim, TranscriptFile& transcript,
                     const sigset_t& signalMask, volatile sig_atomic_t& stopSignal)
    : options_(options),
      master_(master),
      sim_(sim),
      transcript_(transcript),
      signalMask_(signalMask),
      stopSignal_(stopSignal),
      pacer_(options.rawEcho ? 0 : options.lineRate) {}

int64_t RadioLoop::now() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::string RadioLoop::run() {
    lastReceived_ = lastActivity_ = now();
    std::string why;
    for (;;) {
        int64_t t = now();
        feedDue(t);
        if (!writeDue(t, why)) return why;
        if (sim_ && sim_->pageInProgress() && inbound_.empty() && outbound_.empty() &&
            t - lastActivity_ >= kPageTimeout) {
            sim_->pageTimedOut();
            lastActivity_ = t;
        }
        saveOutputs();
        if (stopRequested(t, why)) return why;

        int64_t wait = std::max<int64_t>(0, nextDeadline(t) - now());
        timespec timeout{time_t(wait / 1000000000), long(wait % 1000000000)};
        pollfd fd{master_, short(POLLIN | (writeBlocked_ ? POLLOUT : 0)), 0};
        int ready = ::ppoll(&fd, 1, &timeout, &signalMask_);
        if (ready < 0 && errno != EINTR) return std::string("poll: ") + std::strerror(errno);
        if (ready > 0 && (fd.revents & POLLOUT)) writeBlocked_ = false;
        if (ready > 0 && (fd.revents & POLLIN) && !readInput(now(), why)) return why;
    }
}

bool RadioLoop::readInput(int64_t t, std::string& failure) {
    uint8_t buffer[4096];
    ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR || errno == EIO) return true;
        failure = std::string("read: ") + std::strerror(errno);
        return false;
    }
    lastReceived_ = lastActivity_ = t;
    if (!sim_) {  // --raw-echo: straight back, nothing interpreted
        std::string chunk(reinterpret_cast<const char*>(buffer), size_t(n));
        transcript_.append("> " + escapeBytes(chunk));
        for (ssize_t i = 0; i < n; ++i) outbound_.push_back({t, buffer[i]});
        return true;
    }
    // At another speed than the radio's the bytes are noise to it.
    const long speed = options_.portRate > 0 ? terminalBaud(master_) : 0;
    if (options_.portRate > 0 && speed != options_.portRate) {
        transcript_.append("! " + std::to_string(n) + " bytes at " + std::to_string(speed) + " baud not understood");
        return true;
    }
    for (ssize_t i = 0; i < n; ++i) inbound_.push_back({pacer_.received(t), buffer[i]});
    return true;
}

// Hands the interpreter every byte whose receive time has come; each reply
// is scheduled from the time the byte that completed its command ended.
void RadioLoop::feedDue(int64_t t) {
    while (!inbound_.empty() && inbound_.front().at <= t) {
        TimedByte b = inbound_.front();
        inbound_.pop_front();
        sim_->receive(&b.byte, 1);
        lastActivity_ = std::max(lastActivity_, b.at);
        takeReplies(b.at);
    }
}

void RadioLoop::takeReplies(int64_t receivedAt) {
    for (const RadioSim::Reply& reply : sim_->takeReplies()) {
        int64_t earliest = receivedAt + int64_t(reply.delayMs) * kMillisecond;
        for (char c : reply.bytes) outbound_.push_back({pacer_.sent(earliest), uint8_t(c)});
    }
}

bool RadioLoop::writeDue(int64_t t, std::string& failure) {
    if (writeBlocked_) return true;
    uint8_t buffer[4096];
    size_t count = 0;
    while (count < outbound_.size() && count < sizeof buffer && outbound_[count].at <= t) {
        buffer[count] = outbound_[count].byte;
        ++count;
    }
    if (count == 0) return true;
    ssize_t n = ::write(master_, buffer, count);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) {
            writeBlocked_ = errno == EAGAIN;  // the tool is not reading: wait until it does
            return true;
        }
        failure = std::string("write: ") + std::strerror(errno);
        return false;
    }
    outbound_.erase(outbound_.begin(), outbound_.begin() + n);
    lastActivity_ = std::max(lastActivity_, t);
    return true;
}

void RadioLoop::saveOutputs() {
    if (!sim_) return;
    for (const std::string& line : sim_->takeTranscript()) transcript_.append(line);
    std::string error;
    if (sim_->takeStateChanged() && !options_.statePath.empty() &&
        !SimFiles::writeAtomically(options_.statePath, sim_->state().toText(), error))
        transcript_.append("! state not saved: " + error);
    std::string image;
    if (sim_->takeFirmware(image)) {
        if (options_.firmwareOut.empty())
            transcript_.append("! firmware image discarded (no --firmware-out)");
        else if (SimFiles::writeAtomically(options_.firmwareOut, image, error))
            transcript_.append("! firmware written to " + options_.firmwareOut);
        else
            transcript_.append("! firmware not written: " + error);
    }
}

bool RadioLoop::stopRequested(int64_t t, std::string& why) {
    if (stopSignal_) {
        why = "signal";
        return true;
    }
    if (options_.idleExitSeconds > 0 && t - lastReceived_ >= int64_t(options_.idleExitSeconds * 1e9)) {
        why = "idle";
        return true;
    }
    if (!options_.stopFile.empty() && t - lastStopCheck_ >= kStopCheckPeriod) {
        lastStopCheck_ = t;
        struct stat st {};
        if (::stat(options_.stopFile.c_str(), &st) == 0) {
            why = "stop file";
            return true;
        }
    }
    return false;
}

int64_t RadioLoop::nextDeadline(int64_t t) const {
    int64_t deadline = t + (options_.stopFile.empty() ? kMaxWait : kStopCheckPeriod);
    if (!inbound_.empty()) deadline = std::min(deadline, inbound_.front().at);
    if (!outbound_.empty() && !writeBlocked_) deadline = std::min(deadline, outbound_.front().at);
    if (options_.idleExitSeconds > 0)
        deadline = std::min(deadline, lastReceived_ + int64_t(options_.idleExitSeconds * 1e9));
    if (sim_ && sim_->pageInProgress() && inbound_.empty() && outbound_.empty())
        deadline = std::min(deadline, lastActivity_ + kPageTimeout);
    return deadline;
}
