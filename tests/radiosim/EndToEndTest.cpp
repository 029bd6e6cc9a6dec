#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "BootLoader.h"
#include "SimTerminal.h"
#include "testkit/SimProcess.h"

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

void send(int fd, const std::string& bytes) {
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir.empty()); }
    void TearDown() override {
        if (fd >= 0) ::close(fd);
        SimTerminal::removeFolder(dir);
    }
    // Starts the radio with its link, stop file and an idle safety net.
    bool start(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--link", link, "--stop-file", stop, "--idle-exit", "20"};
        args.insert(args.end(), extra.begin(), extra.end());
        if (!sim.Start(args)) return false;
        fd = SimTerminal::openTerminal(link);
        return fd >= 0;
    }
    std::string ask(const std::string& command, const std::string& until) {
        send(fd, command);
        return SimTerminal::readUntil(fd, until, 3);
    }

    std::string dir = SimTerminal::makeFolder();
    std::string link = dir + "/radio";
    std::string stop = dir + "/stop";
    SimProcess sim;
    int fd = -1;
};

}  // namespace

TEST_F(EndToEnd, CommandOverTerminal_StopFileEndsCleanlyAndRemovesLink) {
    std::string transcript = dir + "/transcript";
    ASSERT_TRUE(start({"--transcript", transcript}));
    EXPECT_EQ(sim.ReadyLine(), "ready " + link);
    EXPECT_EQ(ask("control\r", "mode\r\n"), "\r\ninto config mode\r\n");
    EXPECT_EQ(ask("cfg_ch_n\r", "1\r\n"), "\r\ncurrent channel 1\r\n");
    ::close(fd);
    fd = -1;
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(exists(link));
    EXPECT_EQ(SimProcess::ReadFile(transcript),
              "> control\\r\n< \\r\\ninto config mode\\r\\n\n> cfg_ch_n\\r\n< \\r\\ncurrent channel 1\\r\\n\n"
              "! stopped: stop file\n");
}

TEST_F(EndToEnd, PortClosedAndReopened_RadioStillAnswers) {
    ASSERT_TRUE(start());
    EXPECT_EQ(ask("control\r", "mode\r\n"), "\r\ninto config mode\r\n");
    ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    fd = SimTerminal::openTerminal(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ask("cfg_sbau\r", "9600\r\n"), "\r\nport baud 9600\r\n");
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(EndToEnd, StateFile_SavedOnChangeAndReadAtNextStart) {
    std::string state = dir + "/state";
    ASSERT_TRUE(start({"--state", state}));
    ask("control\r", "mode\r\n");
    EXPECT_EQ(ask("cfg_sbau 4\r", "ACK"), "\r\nOK ACK");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NE(SimProcess::ReadFile(state).find("\nport_baud=4\n"), std::string::npos);
    ::close(fd);
    fd = -1;
    ASSERT_EQ(sim.Stop(), 0);

    SimProcess second;
    ASSERT_TRUE(second.Start({"--link", link, "--stop-file", stop, "--idle-exit", "20", "--state", state}));
    fd = SimTerminal::openTerminal(link);
    ask("control\r", "mode\r\n");
    EXPECT_EQ(ask("cfg_sbau\r", "0\r\n"), "\r\nport baud 57600\r\n");
    EXPECT_EQ(second.Stop(), 0);
}

TEST_F(EndToEnd, MalformedStateFile_RefusedAndLeftAlone) {
    std::string state = dir + "/state";
    std::ofstream(state) << "port_baud=9\n";
    EXPECT_FALSE(sim.Start({"--link", link, "--state", state}));
    EXPECT_EQ(sim.WaitExit(5), 2);
    EXPECT_EQ(SimProcess::ReadFile(state), "port_baud=9\n");
    EXPECT_FALSE(exists(link));
}

TEST_F(EndToEnd, LineRate_ReplyPacedAfterTheCommand) {
    ASSERT_TRUE(start({"--line-rate", "1200"}));  // 8.33 ms a byte
    ask("control\r", "mode\r\n");
    auto begin = std::chrono::steady_clock::now();
    send(fd, "cfg_ch_n\r");  // 9 bytes: received after 75 ms
    std::string first = SimTerminal::readUntil(fd, "\r", 3);
    double firstMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    std::string rest = SimTerminal::readUntil(fd, "1\r\n", 3);
    double allMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_EQ(first + rest, "\r\ncurrent channel 1\r\n");
    EXPECT_GE(firstMs, 80);  // command received, then one byte-time
    EXPECT_GE(allMs, 245);   // 9 + 21 bytes
    EXPECT_LT(allMs, 1000);
}

TEST_F(EndToEnd, FirmwareDownload_ImageWrittenAndTranscribed) {
    std::string image = dir + "/image", transcript = dir + "/transcript";
    ASSERT_TRUE(start({"--firmware-out", image, "--transcript", transcript}));
    EXPECT_EQ(ask("boot_start", "start\r\n"), "\r\nboot start\r\n");
    std::string expected;
    for (int p = 0; p < 3; ++p) {
        std::string data(BootLoader::kPageData, char('a' + p));
        data.replace(10, 12, "\r\nwrite page");
        ASSERT_EQ(data.size(), BootLoader::kPageData);
        uint16_t sum = BootLoader::checksum(reinterpret_cast<const uint8_t*>(data.data()), data.size());
        EXPECT_EQ(ask("write page", "page\r\n"), "\r\nget page\r\n");
        EXPECT_EQ(ask(data + char(sum >> 8) + char(sum & 0xFF), "OK\r\n"), "\r\nwrite OK\r\n");
        expected += data;
    }
    send(fd, "ISP finish");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(SimProcess::ReadFile(image), expected);
    EXPECT_NE(SimProcess::ReadFile(transcript).find("> page 3 (258 bytes, checksum ok)\n"), std::string::npos);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(EndToEnd, PageThatStopsArriving_DroppedAfterHalfASecond) {
    ASSERT_TRUE(start());
    ask("boot_start", "start\r\n");
    ask("write page", "page\r\n");
    send(fd, std::string(100, 'q'));
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(ask("write page", "page\r\n"), "\r\nget page\r\n");
}

TEST_F(EndToEnd, StaleLinkReplaced_OtherFileRefused) {
    ASSERT_EQ(::symlink("/nonexistent", link.c_str()), 0);
    ASSERT_TRUE(start());
    EXPECT_EQ(ask("control\r", "mode\r\n"), "\r\ninto config mode\r\n");
    EXPECT_EQ(sim.Stop(), 0);

    std::string plain = dir + "/plain";
    std::ofstream(plain) << "keep";
    SimProcess other;
    EXPECT_FALSE(other.Start({"--link", plain}));
    EXPECT_EQ(other.WaitExit(5), 2);
    EXPECT_EQ(SimProcess::ReadFile(plain), "keep");
}

TEST_F(EndToEnd, RawEcho_BytesComeBackUninterpreted) {
    ASSERT_TRUE(start({"--raw-echo"}));
    std::string bytes("control\r\x00\xff boot_start", 20);
    EXPECT_EQ(ask(bytes, "boot_start"), bytes);
}

TEST_F(EndToEnd, Sigterm_EndsCleanly) {
    ASSERT_TRUE(start());
    ::kill(sim.Pid(), SIGTERM);
    EXPECT_EQ(sim.WaitExit(5), 0);
    EXPECT_FALSE(exists(link));
}

TEST_F(EndToEnd, IdleExit_AfterNoByteForThatLong) {
    ASSERT_TRUE(sim.Start({"--link", link, "--idle-exit", "0.3"}));
    auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(sim.WaitExit(5), 0);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_GE(ms, 250);
    EXPECT_FALSE(exists(link));
}

namespace {

void setSpeed(int fd, speed_t speed) {
    termios t{};
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &t), 0);
}

}  // namespace

TEST_F(EndToEnd, PortRate_AnswersOnlyAtThatTerminalSpeed) {
    std::string transcript = dir + "/transcript";
    ASSERT_TRUE(start({"--port-rate", "19200", "--transcript", transcript}));
    setSpeed(fd, B9600);
    send(fd, "control\r");
    EXPECT_EQ(SimTerminal::readFor(fd, 0.3), "");
    setSpeed(fd, B19200);
    EXPECT_EQ(ask("control\r", "mode\r\n"), "\r\ninto config mode\r\n");
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_NE(SimProcess::ReadFile(transcript).find("! 8 bytes at 9600 baud not understood\n"), std::string::npos);
}
