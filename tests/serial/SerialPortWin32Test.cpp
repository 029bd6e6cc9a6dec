#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>

#include "radio/RadioExchange.h"
#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"
#include "testkit/ResourceCounts.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

// Collects what the port thread delivers; can hold the port thread inside
// OnPortByte to control the order of events.
class Collector : public IPortOwner {
public:
    void OnPortByte(unsigned char byte) override {
        std::unique_lock<std::mutex> guard(lock_);
        received_.push_back(static_cast<char>(byte));
        threadId_ = ::GetCurrentThreadId();
        changed_.notify_all();
    }
    // Waits until at least n bytes have come; returns what has come.
    std::string WaitFor(size_t n, int timeoutMs = 3000) {
        std::unique_lock<std::mutex> guard(lock_);
        changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return received_.size() >= n; });
        return received_;
    }
    std::string Received() {
        std::lock_guard<std::mutex> guard(lock_);
        return received_;
    }
    DWORD ThreadId() {
        std::lock_guard<std::mutex> guard(lock_);
        return threadId_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::string received_;
    DWORD threadId_ = 0;
};

// Points the link of COM `from` at `target`, a Unix path or, relative, a
// name in the link folder (the Linux ln, run from the Windows side). A Linux
// program's end cannot be seen from here, so the shell that runs ln writes
// its exit status beside the link once ln has ended; true once that status
// says the link was made.
bool LinkPortTo(int from, const std::string& target) {
    char dir[1024];
    DWORD n = ::GetEnvironmentVariableA("VELMORA_PORT_DIR", dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return false;
    const std::string link = std::string(dir) + "/port" + std::to_string(from);
    const std::string status = link + ".linked";
    const std::wstring statusPath = Text::WidePath(SimProcess::WinePath(status));
    ::DeleteFileW(statusPath.c_str());
    std::string command = "/bin/sh -c \"/bin/ln -sfn " + target + " " + link + "; echo $? >" + status + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    if (pi.hThread) ::CloseHandle(pi.hThread);
    if (pi.hProcess) ::CloseHandle(pi.hProcess);
    std::string written;
    for (int i = 0; i < 300 && written.empty(); ++i, ::Sleep(10)) written = SimProcess::ReadFile(status);
    ::DeleteFileW(statusPath.c_str());
    return written == "0\n";
}

void Send(CSerialPort& port, const std::string& bytes) {
    port.Write(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        com = TestComPort(0);
        ASSERT_GT(com, 0) << "VELMORA_PORTS names no COM port";
    }
    int com = 0;
    Collector owner;
};

TEST_F(SerialPortTest, OpenOfAPortThatDoesNotExist_FailsAndStartsNoThread) {
    CSerialPort port(&owner);
    EXPECT_FALSE(port.Open(99, 9600));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.StartThread());
    port.Close();
    port.Close();
}

TEST_F(SerialPortTest, AfterAFailedOpen_AValidOpenWorks) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    CSerialPort port(&owner);
    EXPECT_FALSE(port.Open(99, 9600));
    ASSERT_TRUE(port.Open(com, 9600));
    ASSERT_TRUE(port.StartThread());
    Send(port, "ping\r");
    EXPECT_EQ(owner.WaitFor(5), "ping\r");
    EXPECT_NE(owner.ThreadId(), ::GetCurrentThreadId());  // delivered on the port thread
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPortTest, BytesRoundTripInOrder) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    CSerialPort port(&owner);
    ASSERT_TRUE(port.Open(com, 115200));
    ASSERT_TRUE(port.StartThread());
    std::string block;
    for (int i = 0; i < 1024; ++i) block.push_back(static_cast<char>((i * 7 + 3) & 0xFF));
    Send(port, block);
    EXPECT_EQ(owner.WaitFor(block.size(), 10000), block);
    port.Close();
}

TEST_F(SerialPortTest, BlocksOverTheBufferSizeAreRefused) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    CSerialPort port(&owner);
    std::string big(1025, 'x');
    EXPECT_FALSE(port.WriteBlock(reinterpret_cast<const unsigned char*>(big.data()), 1025));  // never opened
    ASSERT_TRUE(port.Open(com, 9600));
    ASSERT_TRUE(port.StartThread());
    EXPECT_FALSE(port.WriteBlock(reinterpret_cast<const unsigned char*>(big.data()), 1025));
    Send(port, "ok");
    EXPECT_EQ(owner.WaitFor(2), "ok");
    port.Close();
}

TEST_F(SerialPortTest, BytesThatArriveBeforeThePortThreadRunsAreDiscarded) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    // A second COM number linked to the same line lets the test make the
    // radio echo bytes while the port is open but its thread not yet running.
    int other = TestComPort(1);
    ASSERT_GT(other, 0);
    ASSERT_TRUE(LinkPortTo(other, "port" + std::to_string(com)));
    CSerialPort port(&owner);
    ASSERT_TRUE(port.Open(com, 9600));
    // The injector writes by hand and never reads, so the echo stays queued
    // on the line, where both handles see it.
    HANDLE injector = ::CreateFileW(Text::WidePath("\\\\.\\COM" + std::to_string(other)).c_str(),
                                    GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(injector, INVALID_HANDLE_VALUE) << "the line cannot be opened twice: " << ::GetLastError();
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(injector, "stale", 5, &written, nullptr));
    COMSTAT queued{};
    DWORD errors = 0;
    for (int i = 0; i < 300 && queued.cbInQue < 5; ++i, ::Sleep(10)) ::ClearCommError(injector, &errors, &queued);
    ::CloseHandle(injector);
    ASSERT_EQ(queued.cbInQue, 5u) << "the echo never reached the port's input queue";
    ASSERT_TRUE(port.StartThread());  // purges what is waiting
    Send(port, "fresh");
    EXPECT_EQ(owner.WaitFor(5), "fresh");
    port.Close();
}

TEST_F(SerialPortTest, CloseTwiceOrWithoutOpen_DoesNothing) {
    CSerialPort never(&owner);
    auto start = std::chrono::steady_clock::now();
    never.Close();
    never.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));

    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    CSerialPort port(&owner);
    ASSERT_TRUE(port.Open(com, 9600));
    ASSERT_TRUE(port.StartThread());
    start = std::chrono::steady_clock::now();
    port.Close();
    // The line is given 300 ms to settle while a thread ran.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
    start = std::chrono::steady_clock::now();
    port.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPortTest, OpenWithoutThreadThenClose_ReleasesThePort) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    {
        CSerialPort port(&owner);
        ASSERT_TRUE(port.Open(com, 9600));
        port.Close();
        EXPECT_FALSE(port.IsOpen());
    }
    // The device is free again: a new port opens it (it is opened exclusively).
    CSerialPort again(&owner);
    EXPECT_TRUE(again.Open(com, 9600));
    again.Close();
}

TEST_F(SerialPortTest, OpenWhileTheOldThreadRuns_StopsItAndWorks) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    CSerialPort port(&owner);
    ASSERT_TRUE(port.Open(com, 9600));
    ASSERT_TRUE(port.StartThread());
    // No Close: the next Open must stop the running thread itself.
    ASSERT_TRUE(port.Open(com, 19200));
    ASSERT_TRUE(port.StartThread());
    Send(port, "again");
    EXPECT_EQ(owner.WaitFor(5), "again");
    port.Close();
}

TEST_F(SerialPortTest, DestructorOfARunningPortClosesIt) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    {
        CSerialPort port(&owner);
        ASSERT_TRUE(port.Open(com, 9600));
        ASSERT_TRUE(port.StartThread());
    }
    CSerialPort again(&owner);
    EXPECT_TRUE(again.Open(com, 9600));
    again.Close();
}

// Holds the port thread in its byte handler for `holdMs` on the first byte,
// and notes whether the port thread is in the handler, or enters it, once
// Close has returned.
class StuckSink : public IPortOwner {
public:
    explicit StuckSink(DWORD holdMs) : holdMs_(holdMs) {}
    void OnPortByte(unsigned char) override {
        inside = true;
        if (closeReturned) usedAfterClose = true;
        entered = true;
        if (!held_.exchange(true)) ::Sleep(holdMs_);
        if (closeReturned) usedAfterClose = true;
        inside = false;
    }
    bool WaitEntered() {
        for (int i = 0; i < 300 && !entered; ++i) ::Sleep(10);
        return entered;
    }
    std::atomic<bool> entered{false}, inside{false}, closeReturned{false}, usedAfterClose{false};

private:
    const DWORD holdMs_;
    std::atomic<bool> held_{false};
};

TEST_F(SerialPortTest, CloseWhileTheByteHandlerIsStuck_WaitsForThePortThreadToEnd) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    StuckSink sink(6000);  // longer than Close ever waited before it released the port
    CSerialPort port(&sink);
    ASSERT_TRUE(port.Open(com, 9600));
    ASSERT_TRUE(port.StartThread());
    Send(port, "xy");
    ASSERT_TRUE(sink.WaitEntered());
    port.Close();
    sink.closeReturned = true;
    EXPECT_FALSE(sink.inside);
    ::Sleep(300);  // a thread left behind would deliver the second byte now
    EXPECT_FALSE(sink.usedAfterClose);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPortTest, OpenWhileTheOldThreadIsStuck_FailsWithinItsBoundAndKeepsThePort) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    StuckSink sink(CSerialPort::kThreadStopWaitMs + 2000);
    CSerialPort port(&sink);
    ASSERT_TRUE(port.Open(com, 9600));
    ASSERT_TRUE(port.StartThread());
    Send(port, "x");
    ASSERT_TRUE(sink.WaitEntered());
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.Open(com, 19200));
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(CSerialPort::kThreadStopWaitMs - 50));
    EXPECT_LT(took, std::chrono::milliseconds(CSerialPort::kThreadStopWaitMs + 1000));
    EXPECT_TRUE(sink.inside);  // the old thread was left alone, still in its handler
    port.Close();
    EXPECT_FALSE(sink.inside);
    ASSERT_TRUE(port.Open(com, 9600));
    port.Close();
}

TEST_F(SerialPortTest, ARateTheLineRejects_StillOpens) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    CSerialPort port(&owner);
    EXPECT_TRUE(port.Open(com, 0));
    EXPECT_TRUE(port.StartThread());
    port.Close();
    EXPECT_TRUE(port.Open(com, -5));
    port.Close();
}

TEST_F(SerialPortTest, HandleCountSeesALeak) {
    // The count below must be able to fail: one event left open shows.
    const int before = CountHandles();
    HANDLE leaked = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(CountHandles(), before + 1);
    ::CloseHandle(leaked);
    EXPECT_EQ(CountHandles(), before);
}

// Counts what arrives without any lock: a mutex used on the port threads
// makes the threads runtime cache a few handles of its own on first use,
// which would blur the count of the port's handles.
struct CountingOwner : IPortOwner {
    std::atomic<int> received{0};
    void OnPortByte(unsigned char) override { ++received; }
    bool WaitFor(int n) {
        for (int i = 0; i < 2000 && received.load() < n; ++i) ::Sleep(1);
        return received.load() >= n;
    }
};

TEST_F(SerialPortTest, TwoHundredCyclesLeakNoHandle) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    CountingOwner counter;
    CSerialPort port(&counter);
    auto cycle = [&](int i) {
        ASSERT_TRUE(port.Open(com, 9600)) << "cycle " << i;
        ASSERT_TRUE(port.StartThread());
        Send(port, "x");
        EXPECT_TRUE(counter.WaitFor(i + 1)) << "cycle " << i;
        port.Close();
    };
    // One cycle first, so that handles created once, on first use, exist.
    cycle(0);
    const int before = CountHandles();
    ASSERT_GT(before, 0);
    for (int i = 1; i <= 200; ++i) {
        cycle(i);
        if (i == 100) {
            EXPECT_EQ(CountHandles(), before) << "after 100 cycles";
        }
    }
    EXPECT_EQ(CountHandles(), before);
    EXPECT_EQ(counter.received.load(), 201);
}

// A driver that never finishes a read it is asked to give up: the read stays
// pending for good and the cancel does nothing, as the driver of a USB adapter
// pulled out mid-read may. Each read it is given sets readTaken.
HANDLE readTaken = nullptr;
BOOL WINAPI ReadNever(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) {
    ::SetEvent(readTaken);
    ::SetLastError(ERROR_IO_PENDING);
    return FALSE;
}
BOOL WINAPI CancelNothing(HANDLE) { return TRUE; }

TEST_F(SerialPortTest, AReadTheDriverNeverGivesBack_IsLeftToItAndCloseReturns) {
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "velmora-stuck-read";
    fs::remove_all(folder);
    fs::create_directories(folder);
    TrafficLog::Options options;
    options.folder = folder.string();
    TrafficLog log(options);
    UniqueHandle taken(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    readTaken = taken.get();
    CSerialPort port(&owner);
    port.SetTrafficLog(&log);
    CSerialPort::Driver stuck;
    stuck.readFile = &ReadNever;
    stuck.cancelIo = &CancelNothing;
    port.SetDriver(stuck);
    ASSERT_TRUE(port.Open(com, 9600));
    ASSERT_TRUE(port.StartThread());
    ASSERT_EQ(::WaitForSingleObject(readTaken, 5000), WAIT_OBJECT_0);  // the thread waits on it
    port.Close();                                                      // waited on the driver for good before
    EXPECT_TRUE(port.LineFailed());
    EXPECT_EQ(port.LineError(), static_cast<DWORD>(ERROR_TIMEOUT));
    log.Flush();
    EXPECT_NE(SimProcess::ReadWindowsFile(log.CurrentPath()).find("left to it"), std::string::npos);

    // The port was let go: it opens again, on new records, and works.
    port.SetDriver({});
    ASSERT_TRUE(port.Open(com, 9600));
    EXPECT_FALSE(port.LineFailed());
    ASSERT_TRUE(port.StartThread());
    Send(port, "pong\r");
    EXPECT_EQ(owner.WaitFor(5), "pong\r");
    port.Close();
    port.SetTrafficLog(nullptr);
    readTaken = nullptr;
}

}  // namespace

TEST_F(SerialPortTest, LineConfigured_OnlyWhereATerminalAnswersTheSettings) {
    // A port that opens but is no terminal.
    const int notTerminal = TestComPort(1);
    ASSERT_TRUE(LinkPortTo(notTerminal, "/dev/null"));
    CSerialPort port(&owner);
    ASSERT_TRUE(port.Open(notTerminal, 9600));
    EXPECT_FALSE(port.IsLineConfigured());
    port.Close();
    SimProcess radio(com, "--raw-echo");
    ASSERT_TRUE(radio.Started());
    ASSERT_TRUE(port.Open(com, 19200));
    EXPECT_TRUE(port.IsLineConfigured());
    port.Close();
}

// Bad input on the line: long bursts of noise, bytes faster than the owner
// takes them.
namespace {

// The noise burst of the simulated radio: byte i is (i * 37 + 11) mod 256, a
// CR or LF made '#'.
std::string Burst(size_t n) {
    std::string bytes;
    for (size_t i = 0; i < n; ++i) {
        char c = static_cast<char>((i * 37 + 11) & 0xFF);
        bytes.push_back(c == '\r' || c == '\n' ? '#' : c);
    }
    return bytes;
}

// Where two byte sequences first differ, for a readable failure.
std::string FirstDifference(const std::string& got, const std::string& want) {
    size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    if (i == got.size() && i == want.size()) return "equal";
    return "differ at byte " + std::to_string(i) + " of " + std::to_string(got.size()) + " (want " +
           std::to_string(want.size()) + ")";
}

// Takes its time over every 4096th byte, so the line runs ahead of it and the
// bytes pile up in the driver.
class SlowCollector : public Collector {
public:
    void OnPortByte(unsigned char byte) override {
        if (count_++ % 4096 == 0) ::Sleep(40);
        Collector::OnPortByte(byte);
    }

private:
    size_t count_ = 0;  // port thread only
};

// The reply exchange behind a real port; the exchange first, so the port and
// its thread go first.
struct ExchangeOverPort : IPortWriter {
    ExchangeOverPort() : exchange(*this), port(&exchange) {}
    void Write(const unsigned char* data, uint32_t length) override { port.Write(data, length); }
    RadioExchange exchange;
    CSerialPort port;
};

}  // namespace

TEST_F(SerialPortTest, NoiseBurstFasterThanTheOwnerTakesIt_ArrivesWholeAndInOrder) {
    SimProcess radio(com, "--fault burst=10000");
    ASSERT_TRUE(radio.Started());
    SlowCollector slow;
    CSerialPort port(&slow);
    ASSERT_TRUE(port.Open(com, 115200));
    ASSERT_TRUE(port.StartThread());
    Send(port, "control\r");
    const std::string want = Burst(10000) + "\r\ninto config mode\r\n";
    const std::string got = slow.WaitFor(want.size(), 10000);
    EXPECT_EQ(FirstDifference(got, want), "equal");
    ::Sleep(50);  // nothing more, nothing twice
    EXPECT_EQ(slow.Received().size(), want.size());
    port.Close();
}

TEST_F(SerialPortTest, NoiseBurstBeforeEachReply_RepliesStillRecognised) {
    SimProcess radio(com, "--fault burst=10000");
    ASSERT_TRUE(radio.Started());
    ExchangeOverPort radioLink;
    ASSERT_TRUE(radioLink.port.Open(com, 115200));
    ASSERT_TRUE(radioLink.port.StartThread());
    ASSERT_TRUE(radioLink.exchange.SendCommand("control\r"));
    EXPECT_EQ(radioLink.exchange.ReplyLine(), "into config mode");
    ASSERT_TRUE(radioLink.exchange.SendCommand("cfg_ch_n\r"));
    EXPECT_EQ(radioLink.exchange.ReplyLine(), "current channel 1");
    radioLink.port.Close();
}

TEST_F(SerialPortTest, NoiseBurstLongerThanTheBound_RefusedWithinIt) {
    // 3000 bytes at 9600 baud take about three seconds, six times the bound.
    SimProcess radio(com, "--line-rate 9600 --fault burst=3000");
    ASSERT_TRUE(radio.Started());
    ExchangeOverPort radioLink;
    ASSERT_TRUE(radioLink.port.Open(com, 9600));
    ASSERT_TRUE(radioLink.port.StartThread());
    const auto bound = RadioExchange::kWaitSteps * RadioExchange::kWaitStep;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(radioLink.exchange.SendCommand("control\r"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, bound - std::chrono::milliseconds(5));
    // A second beyond the bound for a busy machine, well short of the burst.
    EXPECT_LT(took, bound + std::chrono::milliseconds(1000));
    EXPECT_FALSE(radioLink.exchange.IsReplyComplete());
    radioLink.port.Close();
}
