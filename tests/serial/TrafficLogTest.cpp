// The traffic log: its text form, its bursts, firmware pages as one line,
// rotation, and a folder that cannot be written.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "serial/TrafficLog.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

class TrafficLogTest : public ::testing::Test {
protected:
    TrafficLogTest() {
        static std::atomic<int> counter{0};
        folder = fs::temp_directory_path() / ("velmora-log-" + std::to_string(counter++));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~TrafficLogTest() override { fs::remove_all(folder); }

    TrafficLog::Options Options() const {
        TrafficLog::Options options;
        options.folder = folder.string();
        return options;
    }
    void Receive(TrafficLog& log, const std::string& bytes) {
        for (unsigned char b : bytes) log.Received(b);
    }
    // The lines of a file without their time stamps ("YYYY-MM-DD HH:MM:SS.mmm ").
    static Lines Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        Lines lines;
        std::string line;
        while (std::getline(file, line)) lines.push_back(line.size() > 24 ? line.substr(24) : line);
        return lines;
    }

    fs::path folder;
};

TEST(TrafficText, EscapesAllButPrintableAscii) {
    EXPECT_EQ(TrafficText::Escape(std::string("cfg_ch_1 415.5\r\n", 16)), "cfg_ch_1 415.5\\r\\n");
    EXPECT_EQ(TrafficText::Escape(std::string("\x7F\x00\xFF\t\\", 5)), "\\x7F\\x00\\xFF\\t\\\\");
}

TEST(TrafficText, StampHasMilliseconds) {
    const auto t = std::chrono::system_clock::time_point(std::chrono::milliseconds(1700000000123LL));
    const std::string stamp = TrafficText::Stamp(t);
    ASSERT_EQ(stamp.size(), 23u) << stamp;
    EXPECT_EQ(stamp.substr(19), ".123");
}

TEST_F(TrafficLogTest, Session_OneLinePerCommandAndPerReply) {
    {
        TrafficLog log(Options());
        log.Opened(3, 38400);
        log.Sent(Bytes("control\r"), 8);
        Receive(log, "\r\ninto config mode\r\n");
        log.Sent(Bytes("cfg_srcx 7\r"), 11);
        Receive(log, "\r\nOK ACK");  // no line end: ends at the close
        log.Closed();
    }
    EXPECT_EQ(Read(folder / "VelmoraConfig.log"),
              (Lines{"COM3 38400 open", "COM3 38400 > control\\r", "COM3 38400 < \\r\\ninto config mode\\r\\n",
                     "COM3 38400 > cfg_srcx 7\\r", "COM3 38400 < \\r\\nOK ACK", "COM3 38400 close"}));
}

TEST_F(TrafficLogTest, TwoPortsAtOnceInOneFile_EachReplyUnderItsOwnPort) {
    {
        TrafficLog log(Options());
        TrafficLog second(log);
        log.Opened(3, 38400);
        second.Opened(4, 9600);
        log.Sent(Bytes("cfg_srcx\r"), 9);
        second.Sent(Bytes("cfg_dstx\r"), 9);
        // The replies' bytes arrive interleaved, as two port threads give them.
        const std::string a = "\r\n12\r\n", b = "\r\n200\r\n";
        for (size_t i = 0; i < b.size(); ++i) {
            if (i < a.size()) log.Received(static_cast<unsigned char>(a[i]));
            second.Received(static_cast<unsigned char>(b[i]));
        }
        second.Closed();
        log.Closed();
    }
    EXPECT_EQ(
        Read(folder / "VelmoraConfig.log"),
        (Lines{"COM3 38400 open", "COM4 9600 open", "COM3 38400 > cfg_srcx\\r", "COM4 9600 > cfg_dstx\\r",
               "COM3 38400 < \\r\\n12\\r\\n", "COM4 9600 < \\r\\n200\\r\\n", "COM4 9600 close", "COM3 38400 close"}));
}

TEST_F(TrafficLogTest, EndlessStream_CutIntoBurstsOf256) {
    TrafficLog log(Options());
    log.Opened(5, 9600);
    Receive(log, std::string(600, 'x'));
    log.Flush();
    const Lines lines = Read(folder / "VelmoraConfig.log");
    // Two full bursts while the bytes come; the flush ends the third.
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "COM5 9600 < " + std::string(256, 'x'));
    EXPECT_EQ(lines[3], "COM5 9600 < " + std::string(88, 'x'));
}

TEST_F(TrafficLogTest, FirmwarePage_OneLineWithoutItsBytes) {
    {
        TrafficLog log(Options());
        log.Opened(4, 115200);
        log.Sent(Bytes("write page"), 10);
        Receive(log, "\r\nget page\r\n");
        log.ExpectPage();
        const std::string block(258, '\x5A');
        log.Sent(Bytes(block), block.size());
        Receive(log, "\r\nwrite OK\r\n");
        log.Page(2, 258, 0x5A00, "write OK");
        log.Sent(Bytes("write page"), 10);
    }
    EXPECT_EQ(Read(folder / "VelmoraConfig.log"),
              (Lines{"COM4 115200 open", "COM4 115200 > write page", "COM4 115200 < \\r\\nget page\\r\\n",
                     "COM4 115200 > page 2 (258 bytes, checksum 0x5A00) < write OK", "COM4 115200 > write page"}));
}

TEST_F(TrafficLogTest, FullFile_RotatesAndTheOldestGoes) {
    TrafficLog::Options options = Options();
    options.maxFileBytes = 200;
    options.keptFiles = 3;
    {
        TrafficLog log(options);
        // Each note is about 75 bytes: two fit a file.
        for (int i = 0; i < 9; ++i) log.Note("note " + std::to_string(i) + std::string(40, '.'));
    }
    EXPECT_TRUE(fs::exists(folder / "VelmoraConfig.log"));
    EXPECT_TRUE(fs::exists(folder / "VelmoraConfig.1.log"));
    EXPECT_TRUE(fs::exists(folder / "VelmoraConfig.2.log"));
    EXPECT_FALSE(fs::exists(folder / "VelmoraConfig.3.log"));
    for (const char* name : {"VelmoraConfig.log", "VelmoraConfig.1.log", "VelmoraConfig.2.log"})
        EXPECT_LE(fs::file_size(folder / name), 200u) << name;
    const Lines newest = Read(folder / "VelmoraConfig.log");
    ASSERT_FALSE(newest.empty());
    EXPECT_EQ(newest.back().substr(0, 8), "- * note");
    EXPECT_NE(newest.back().find("note 8"), std::string::npos);
    EXPECT_NE(Read(folder / "VelmoraConfig.2.log").front().find("note 4"), std::string::npos);
}

// Two copies of the program at once (the window left open while a workshop
// script runs the command line): each keeps a log of its own, rotated within
// its own files, and no line of either is lost.
TEST_F(TrafficLogTest, TwoCopiesAtOnce_EachRotatesItsOwnFilesAndKeepsEveryLine) {
    TrafficLog::Options options = Options();
    options.maxFileBytes = 300;  // a note is about 75 bytes: four to a file
    {
        TrafficLog first(options), second(options);
        for (int i = 0; i < 10; ++i) {
            for (TrafficLog* log : {&first, &second}) {
                log->Note((log == &first ? "first " : "second ") + std::to_string(i) + "." + std::string(40, '.'));
                log->Flush();
            }
        }
    }
    std::string all;
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        ++files;
        EXPECT_LE(entry.file_size(), 300u) << entry.path();
        for (const std::string& line : Read(entry.path())) all += line + "\n";
    }
    EXPECT_LE(files, 2 * options.keptFiles);
    for (int i = 0; i < 10; ++i)
        for (const char* copy : {"first ", "second "}) {
            const std::string note = "* " + std::string(copy) + std::to_string(i) + ".";
            EXPECT_EQ(all.find(note), all.rfind(note)) << note;
            EXPECT_NE(all.find(note), std::string::npos) << note << "\n" << all;
        }
    EXPECT_TRUE(fs::exists(folder / "VelmoraConfig-2.log"));
}

#ifdef _WIN32
// Only Windows refuses to move a file another program holds open.
TEST_F(TrafficLogTest, OlderFileHeldByAnotherProgram_NothingIsRemovedAndTheCurrentGrows) {
    TrafficLog::Options options = Options();
    options.maxFileBytes = 200;
    options.keptFiles = 3;
    for (const char* name : {"VelmoraConfig.1.log", "VelmoraConfig.2.log"}) std::ofstream(folder / name) << name;
    std::ifstream viewer(folder / "VelmoraConfig.1.log");
    ASSERT_TRUE(viewer.is_open());
    {
        TrafficLog log(options);
        for (int i = 0; i < 6; ++i) log.Note("note " + std::to_string(i) + std::string(40, '.'));
    }
    EXPECT_EQ(Read(folder / "VelmoraConfig.1.log"), Lines{"VelmoraConfig.1.log"});
    EXPECT_EQ(Read(folder / "VelmoraConfig.2.log"), Lines{"VelmoraConfig.2.log"});
    EXPECT_EQ(Read(folder / "VelmoraConfig.log").size(), 6u);
}
#endif

TEST_F(TrafficLogTest, FolderThatCannotBeWritten_DropsLinesAndNeverBlocks) {
    TrafficLog::Options options = Options();
    options.folder = (folder / "missing" / "deeper").string();
    TrafficLog log(options);
    log.Opened(3, 9600);
    log.Sent(Bytes("control\r"), 8);
    log.Flush();
    EXPECT_EQ(log.Dropped(), 2u);
}

}  // namespace
