#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The traffic log: every byte sent and received on the port, as escaped text
// with a millisecond time stamp, the direction, the port and the rate, one
// line per burst. Received bytes are gathered into a burst that ends at a line
// feed (once it holds more than line ends), at the next send, at 256 bytes
// or when the port closes. A firmware page is one line (its number, length,
// checksum and the radio's answer), not its raw bytes.
//
// Threads: the port thread only stores bytes and a time stamp under a lock;
// a writer thread of the log formats the lines and writes them, so no file
// I/O ever happens on the port thread or delays an exchange. A file that
// cannot be opened or written drops its lines and the log goes on: a log
// never stops an action.
//
// Files: `<base>.log` in the folder, at most maxFileBytes each; when it is
// full it becomes `<base>.1.log`, the older ones move up by one, and the
// oldest beyond keptFiles is removed. A log holds its current file so that no
// other may write, move or remove it; a second log of the same folder and
// base at the same time (another copy of the program) takes `<base>-2.log`
// and its own older files instead, and so on.
class TrafficLog {
public:
    struct Options {
        std::string folder;  // must exist; no trailing separator
        std::string baseName = "VelmoraConfig";
        uint64_t maxFileBytes = 1024 * 1024;
        int keptFiles = 5;  // the current file and four older ones
        // Time stamps; the clock of the wall by default.
        std::chrono::system_clock::time_point (*now)() = &std::chrono::system_clock::now;
    };
    static constexpr size_t kBurstLimit = 256;
    // Lines waiting for the writer beyond this are dropped (and counted), so
    // that a writer stuck on a slow disk cannot grow memory without end.
    static constexpr size_t kQueueLimit = 100000;
    // How long the writer gathers lines before it writes them.
    static constexpr int kGatherMs = 200;

    explicit TrafficLog(Options options);
    // The log of one more port that writes into `shared`'s files (several
    // ports at once, each with its own bursts); `shared` must outlive it.
    explicit TrafficLog(TrafficLog& shared);
    // Writes what is queued, then ends the writer.
    ~TrafficLog();
    TrafficLog(const TrafficLog&) = delete;
    TrafficLog& operator=(const TrafficLog&) = delete;

    // The path of the current file (of the first slot until one is opened).
    std::string CurrentPath() const;
    const std::string& Folder() const { return options_.folder; }

    // Port events, from the thread that opens and closes the port.
    void Opened(int port, int rate);
    void OpenFailed(int port, int rate);
    void Closed();
    // Bytes, from the port thread.
    void Sent(const unsigned char* data, size_t length);
    void Received(unsigned char byte);
    // The next block sent is a firmware page: its bytes and the answer to it
    // are not logged raw; Page() logs it as one line.
    void ExpectPage();
    void Page(uint64_t number, uint32_t length, uint16_t checksum, const std::string& answer);
    // A line of the program's own (an action's start and outcome).
    void Note(const std::string& text);

    // Waits until everything queued so far is written (or dropped).
    void Flush();
    // Lines dropped because the file could not be written or the queue was full.
    uint64_t Dropped() const;

private:
    enum class Kind { Sent, Received, Text };
    struct Record {
        std::chrono::system_clock::time_point time;
        Kind kind;
        int port;
        int rate;
        std::string bytes;  // raw bytes for Sent/Received, the text otherwise
    };

    void Push(Kind kind, std::string bytes);  // lock held
    void Queue(Record record);                // lock of the log that writes held
    void EndBurst();                          // lock held
    void WriterLoop();
    void WriteLine(const std::string& line);
    bool OpenFile();
    bool Rotate();
    std::string PathOf(int slot, int index) const;
    std::string PathOf(int index) const;

    Options options_;
    TrafficLog* shared_ = nullptr;  // the log whose writer writes this one's lines
    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable written_;
    std::deque<Record> queue_;
    uint64_t pushed_ = 0, done_ = 0, dropped_ = 0;
    bool stop_ = false;
    int flushWaiters_ = 0;
    int port_ = 0, rate_ = 0;
    std::string burst_;
    std::chrono::system_clock::time_point burstStart_{};
    bool pageExpected_ = false, inPage_ = false;

    std::atomic<int> slot_{1};  // 1 for `<base>.log`, n for `<base>-n.log`; written by the writer

    // Writer thread only.
    std::FILE* file_ = nullptr;
    uint64_t fileBytes_ = 0;
    bool rotationRefused_ = false;  // in this batch
    std::thread writer_;
};

// The text forms of the log, for its lines and for tests.
namespace TrafficText {
// Printable ASCII as it is, a backslash doubled, CR, LF and tab as \r \n \t,
// every other byte as \xHH (upper-case hex).
std::string Escape(const std::string& bytes);
// "2024-05-01 12:34:56.789", local time.
std::string Stamp(std::chrono::system_clock::time_point time);
}  // namespace TrafficText
