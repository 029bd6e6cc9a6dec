#include "serial/TrafficLog.h"

#include <ctime>

#ifndef _WIN32
#include <sys/file.h>
#endif

#include "platform/Files.h"

namespace TrafficText {

std::string Escape(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) {
        if (b == '\\') {
            out += "\\\\";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

std::string Stamp(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count() % 1000;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms < 0 ? ms + 1000 : ms));
    return text;
}

}  // namespace TrafficText

namespace {

bool OnlyLineEnds(const std::string& bytes) { return bytes.find_first_not_of("\r\n") == std::string::npos; }

std::string PortText(int port, int rate) {
    if (port <= 0) return "-";
    return "COM" + std::to_string(port) + " " + std::to_string(rate);
}

// Opens a log file for appending unless another log, of this program or of
// another copy of it, has it open: others may read it, none may write, move
// or remove it.
std::FILE* OpenOwnFile(const std::string& path) {
#ifdef _WIN32
    return Text::OpenFileDenyWrite(path, "ab");
#else
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file && flock(fileno(file), LOCK_EX | LOCK_NB) != 0) {
        std::fclose(file);
        return nullptr;
    }
    return file;
#endif
}

bool Exists(const std::string& path) {
    std::FILE* file = Text::OpenFile(path, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

// How many copies of the program can log at once, each to its own files.
constexpr int kLogSlots = 8;

}  // namespace

TrafficLog::TrafficLog(Options options) : options_(std::move(options)) {
    if (options_.keptFiles < 1) options_.keptFiles = 1;
    writer_ = std::thread([this] { WriterLoop(); });
}

TrafficLog::TrafficLog(TrafficLog& shared) : options_(shared.options_), shared_(&shared) {}

TrafficLog::~TrafficLog() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        EndBurst();
        stop_ = true;
    }
    if (shared_) return;  // no writer of its own
    wake_.notify_all();
    writer_.join();
    if (file_) std::fclose(file_);
}

std::string TrafficLog::PathOf(int slot, int index) const {
    std::string base = options_.folder + "/" + options_.baseName;
    if (slot > 1) base += "-" + std::to_string(slot);
    return index == 0 ? base + ".log" : base + "." + std::to_string(index) + ".log";
}

std::string TrafficLog::PathOf(int index) const { return PathOf(slot_.load(), index); }

std::string TrafficLog::CurrentPath() const { return shared_ ? shared_->CurrentPath() : PathOf(0); }

void TrafficLog::Push(Kind kind, std::string bytes) {
    const auto time = kind == Kind::Received ? burstStart_ : options_.now();
    Record record{time, kind, port_, rate_, std::move(bytes)};
    if (!shared_) {
        Queue(std::move(record));
        return;
    }
    // This log's lock is taken before the writing log's, never the other way.
    std::lock_guard<std::mutex> guard(shared_->lock_);
    shared_->Queue(std::move(record));
}

void TrafficLog::Queue(Record record) {
    if (queue_.size() >= kQueueLimit) {
        ++dropped_;
        return;
    }
    queue_.push_back(std::move(record));
    ++pushed_;
    // Only the first line of a batch wakes the writer: it then gathers for a
    // while, so the port thread never shares the processor with a write per line.
    if (queue_.size() == 1) wake_.notify_one();
}

void TrafficLog::EndBurst() {
    if (burst_.empty()) return;
    Push(Kind::Received, std::move(burst_));
    burst_.clear();
}

void TrafficLog::Opened(int port, int rate) {
    std::lock_guard<std::mutex> guard(lock_);
    EndBurst();
    port_ = port;
    rate_ = rate;
    pageExpected_ = inPage_ = false;
    Push(Kind::Text, "open");
}

void TrafficLog::OpenFailed(int port, int rate) {
    std::lock_guard<std::mutex> guard(lock_);
    EndBurst();
    port_ = port;
    rate_ = rate;
    Push(Kind::Text, "cannot be opened");
}

void TrafficLog::Closed() {
    std::lock_guard<std::mutex> guard(lock_);
    EndBurst();
    Push(Kind::Text, "close");
    pageExpected_ = inPage_ = false;
}

void TrafficLog::Sent(const unsigned char* data, size_t length) {
    std::lock_guard<std::mutex> guard(lock_);
    EndBurst();
    if (pageExpected_) {
        pageExpected_ = false;
        inPage_ = true;  // the page and its answer go into Page()'s line
        return;
    }
    inPage_ = false;
    Push(Kind::Sent, std::string(reinterpret_cast<const char*>(data), length));
}

void TrafficLog::Received(unsigned char byte) {
    std::lock_guard<std::mutex> guard(lock_);
    if (inPage_) return;
    if (burst_.empty()) burstStart_ = options_.now();
    burst_.push_back(static_cast<char>(byte));
    if ((byte == '\n' && !OnlyLineEnds(burst_)) || burst_.size() >= kBurstLimit) EndBurst();
}

void TrafficLog::ExpectPage() {
    std::lock_guard<std::mutex> guard(lock_);
    pageExpected_ = true;
}

void TrafficLog::Page(uint64_t number, uint32_t length, uint16_t checksum, const std::string& answer) {
    char head[96];
    std::snprintf(head, sizeof head, "> page %llu (%u bytes, checksum 0x%04X) < ",
                  static_cast<unsigned long long>(number), static_cast<unsigned>(length),
                  static_cast<unsigned>(checksum));
    const std::string reply = answer.empty() ? "no answer" : TrafficText::Escape(answer);
    std::lock_guard<std::mutex> guard(lock_);
    burst_.clear();
    pageExpected_ = inPage_ = false;
    Push(Kind::Text, head + reply);
}

void TrafficLog::Note(const std::string& text) {
    std::lock_guard<std::mutex> guard(lock_);
    EndBurst();
    Push(Kind::Text, "* " + text);
}

void TrafficLog::Flush() {
    if (shared_) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            EndBurst();
        }
        shared_->Flush();
        return;
    }
    std::unique_lock<std::mutex> guard(lock_);
    EndBurst();
    const uint64_t target = pushed_;
    ++flushWaiters_;
    wake_.notify_all();
    written_.wait(guard, [&] { return done_ >= target; });
    --flushWaiters_;
}

uint64_t TrafficLog::Dropped() const {
    if (shared_) return shared_->Dropped();
    std::lock_guard<std::mutex> guard(lock_);
    return dropped_;
}

void TrafficLog::WriterLoop() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        wake_.wait(guard, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty() && stop_) return;
        wake_.wait_for(guard, std::chrono::milliseconds(kGatherMs), [this] { return stop_ || flushWaiters_ > 0; });
        std::deque<Record> batch;
        batch.swap(queue_);
        guard.unlock();
        rotationRefused_ = false;  // tried again at most once a batch
        for (const Record& r : batch) {
            std::string line = TrafficText::Stamp(r.time) + " " + PortText(r.port, r.rate) + " ";
            if (r.kind == Kind::Sent) line += "> " + TrafficText::Escape(r.bytes);
            if (r.kind == Kind::Received) line += "< " + TrafficText::Escape(r.bytes);
            if (r.kind == Kind::Text) line += r.bytes;
            WriteLine(line + "\n");
        }
        if (file_) std::fflush(file_);
        guard.lock();
        done_ += batch.size();
        written_.notify_all();
    }
}

// The file of this log's slot, or, when another log holds it, the first
// free slot's: a second copy of the program running at the same time keeps
// "<base>-2.log" and its older files, so that neither moves or removes the
// files the other writes.
bool TrafficLog::OpenFile() {
    if (file_) return true;
    for (int n = 0; n < kLogSlots && !file_; ++n) {
        const int slot = (slot_.load() - 1 + n) % kLogSlots + 1;
        file_ = OpenOwnFile(PathOf(slot, 0));
        if (file_) slot_ = slot;
    }
    if (!file_) return false;
    std::fseek(file_, 0, SEEK_END);
    const long at = std::ftell(file_);
    fileBytes_ = at > 0 ? static_cast<uint64_t>(at) : 0;
    return true;
}

// The current file becomes .1, each older one moves up by one, and the
// oldest beyond the kept ones is removed only once every other move has been
// made. A move that fails (another program holds the file) undoes the moves
// before it: no file is lost, and the current one grows until a later try.
bool TrafficLog::Rotate() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    const int kept = options_.keptFiles;
    Text::RemoveFile(PathOf(kept));  // left by a rotation that was cut short
    std::vector<int> moved;
    for (int i = kept - 1; i >= 0; --i) {
        if (!Exists(PathOf(i))) continue;
        if (!Text::RenameFile(PathOf(i), PathOf(i + 1))) {
            for (auto j = moved.rbegin(); j != moved.rend(); ++j) Text::RenameFile(PathOf(*j + 1), PathOf(*j));
            return false;
        }
        moved.push_back(i);
    }
    Text::RemoveFile(PathOf(kept));
    return true;
}

void TrafficLog::WriteLine(const std::string& line) {
    if (!OpenFile()) {
        std::lock_guard<std::mutex> guard(lock_);
        ++dropped_;
        return;
    }
    if (fileBytes_ > 0 && fileBytes_ + line.size() > options_.maxFileBytes && !rotationRefused_) {
        rotationRefused_ = !Rotate();
        if (!OpenFile()) {
            std::lock_guard<std::mutex> guard(lock_);
            ++dropped_;
            return;
        }
    }
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size()) {
        // A full disk: this line is lost, the next one tries a fresh file.
        std::fclose(file_);
        file_ = nullptr;
        std::lock_guard<std::mutex> guard(lock_);
        ++dropped_;
        return;
    }
    fileBytes_ += line.size();
}
