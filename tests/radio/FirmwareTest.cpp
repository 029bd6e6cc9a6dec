#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "radio/Firmware.h"
#include "radio/FirmwareWorker.h"
#include "testkit/FirmwareImage.h"
#include "testkit/ScriptedLine.h"

namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

std::string Line(const std::string& text) { return "\r\n" + text + "\r\n"; }

struct TempFile {
    explicit TempFile(const std::string& bytes) {
        static std::atomic<int> counter{0};
        path = (fs::temp_directory_path() / ("velmora-fw-" + std::to_string(counter++) + ".dwn")).string();
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    std::string path;
};

struct RecordedEvents : Firmware::IFirmwareEvents {
    Strings log;
    std::vector<int> progress;
    Outcome outcome;                   // what the download ended with
    std::function<void()> onProgress;  // runs after each progress value is recorded
    void Busy(bool on) override { log.push_back(on ? "busy on" : "busy off"); }
    void Progress(int value) override {
        progress.push_back(value);
        if (onProgress) onProgress();
    }
    void Ended(const Outcome& o) override {
        outcome = o;
        log.push_back(o.Succeeded() ? "success" : o.kind == OutcomeKind::Cancelled ? "cancelled" : "failure");
    }
};

struct FixedChooser : Firmware::IFirmwareChooser {
    std::string path;
    bool cancel = false;
    bool ChooseFirmwareFile(std::string& chosen) override {
        chosen = path;
        return !cancel;
    }
};

class FirmwareDownloadTest : public ::testing::Test {
protected:
    FirmwareDownloadTest() : link(line.Link()), download(chooser, events, line, 4) {
        download.pagePauseMs = 0;
        download.finishPauseMs = 0;
    }
    // The boot loader accepts everything, for `pages` pages.
    void ScriptAccepting(uint64_t pages) {
        link.Reply(Line("boot start"));
        for (uint64_t p = 0; p < pages; ++p) {
            link.Reply(Line("get page"));
            link.Reply(Line("write OK"));
        }
    }

    FixedChooser chooser;
    RecordedEvents events;
    ScriptedLine line;
    ScriptedLink& link;
    Firmware::Download download;
};

TEST(FirmwarePages, CountFromTheFileLength) {
    EXPECT_EQ(Firmware::PageCount(4096), 0u);
    EXPECT_FALSE(Firmware::IsLongEnough(4096));
    EXPECT_TRUE(Firmware::IsLongEnough(4097));
    EXPECT_EQ(Firmware::PageCount(4097), 1u);
    EXPECT_EQ(Firmware::PageCount(4351), 1u);
    EXPECT_EQ(Firmware::PageCount(4352), 2u);
    EXPECT_EQ(Firmware::PageCount(4400), 2u);
    EXPECT_EQ(Firmware::PageCount(4608), 3u);
    EXPECT_EQ(Firmware::PageCount(1u << 20), 1u + ((1u << 20) - 4096) / 256);
}

TEST(FirmwarePages, ChecksumHighByteFirst) {
    unsigned char page[256];
    unsigned char block[258];
    std::fill(page, page + 256, 0xFF);
    Firmware::BuildBlock(page, block);
    EXPECT_EQ(block[256], 0xFF);
    EXPECT_EQ(block[257], 0x00);
    EXPECT_EQ(Firmware::PageChecksum(page), 65280);
    std::fill(page, page + 256, 0);
    Firmware::BuildBlock(page, block);
    EXPECT_EQ(block[256], 0);
    EXPECT_EQ(block[257], 0);
    page[0] = 1;
    page[255] = 0x02;
    Firmware::BuildBlock(page, block);
    EXPECT_EQ(block[257], 3);
    EXPECT_EQ(block[255], 0x02);
}

TEST(FirmwarePages, ProgressInSixtyFourBits) {
    EXPECT_EQ(Firmware::Progress(512, 4352), 10000);
    EXPECT_EQ(Firmware::Progress(512, 4608), 6666);
    EXPECT_EQ(Firmware::Progress(768, 4608), 10000);
    EXPECT_EQ(Firmware::Progress(512, 4400), 9142);
    // 3 GiB: bytes x 10000 overflows 32 bits long before the end.
    uint64_t huge = 3ull << 30;
    uint64_t lastSent = 256 + (huge - 4096) / 256 * 256;
    EXPECT_EQ(Firmware::Progress(lastSent, huge), 10000);
    EXPECT_EQ(Firmware::Progress(lastSent / 2, huge), 5000);
}

TEST_F(FirmwareDownloadTest, Cancelled_DoesNothingAtAll) {
    chooser.cancel = true;
    download.downloadFirmware();
    EXPECT_TRUE(events.log.empty());
    EXPECT_EQ(line.opens, 0);
    EXPECT_TRUE(link.Written().empty());
}

TEST_F(FirmwareDownloadTest, FileOf4096Bytes_RefusedBeforeThePortOpens) {
    TempFile file(MakeImage(4096));
    chooser.path = file.path;
    download.downloadFirmware();
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
    EXPECT_EQ(events.outcome.kind, OutcomeKind::FileError);
    EXPECT_EQ(events.outcome.detail, file.path);
    EXPECT_EQ(line.opens, 0);
    EXPECT_TRUE(link.Written().empty());
}

TEST_F(FirmwareDownloadTest, EmptyFile_RefusedBeforeThePortOpens) {
    TempFile file("");
    chooser.path = file.path;
    download.downloadFirmware();
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
    EXPECT_EQ(line.opens, 0);
}

TEST_F(FirmwareDownloadTest, RadioStopsAnsweringMidDownload_FailsWithoutFinish) {
    TempFile file(MakeImage(4096 + 4 * 256));
    chooser.path = file.path;
    link.Reply(Line("boot start"));
    for (int page = 0; page < 2; ++page) {
        link.Reply(Line("get page"));
        link.Reply(Line("write OK"));
    }
    link.Reply(Line("get page"));  // then nothing more: the page block gets no answer
    download.downloadFirmware();
    Strings written = link.Written();
    ASSERT_EQ(written.size(), 7u);
    EXPECT_EQ(written.back().size(), 258u);
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
    EXPECT_EQ(events.outcome.kind, OutcomeKind::NoAnswer);
    EXPECT_EQ(events.outcome.command, "page 3");
    EXPECT_TRUE(events.outcome.inBootLoader);
    EXPECT_EQ(events.progress.size(), 1u);
}

TEST_F(FirmwareDownloadTest, Pauses_NeverShorterThanAsked) {
    TempFile file(MakeImage(4096 + 2 * 256));  // three pages: two pauses after pages, one after finish
    chooser.path = file.path;
    ScriptAccepting(3);
    download.pagePauseMs = 7;
    download.finishPauseMs = 9;
    const auto start = std::chrono::steady_clock::now();
    download.downloadFirmware();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(events.log, (Strings{"busy on", "success", "busy off"}));
    EXPECT_GE(took, std::chrono::milliseconds(2 * 7 + 9));
}

TEST_F(FirmwareDownloadTest, MissingFile_Fails) {
    chooser.path = (fs::temp_directory_path() / "velmora-no-such-image.dwn").string();
    download.downloadFirmware();
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
    EXPECT_EQ(line.opens, 0);
}

TEST_F(FirmwareDownloadTest, PortThatDoesNotOpen_Fails) {
    TempFile file(MakeImage(4352));
    chooser.path = file.path;
    line.openOutcome = PortOutcome(OutcomeKind::PortAbsent, 4, 115200, 2);
    download.downloadFirmware();
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
    EXPECT_EQ(events.outcome.kind, OutcomeKind::PortAbsent);
    EXPECT_EQ(events.outcome.action, OutcomeAction::Firmware);
    EXPECT_FALSE(events.outcome.inBootLoader);
    EXPECT_EQ(line.opens, 1);
    EXPECT_TRUE(link.Written().empty());
}

TEST_F(FirmwareDownloadTest, FileOf4352Bytes_SendsTwoPagesAndFinishes) {
    std::string image = MakeImage(4352);
    TempFile file(image);
    chooser.path = file.path;
    ScriptAccepting(2);
    download.downloadFirmware();
    Strings written = link.Written();
    ASSERT_EQ(written.size(), 6u);
    EXPECT_EQ(written[0], "boot_start");
    EXPECT_EQ(written[1], "write page");
    EXPECT_EQ(written[2].size(), 258u);
    EXPECT_EQ(written[2].substr(0, 256), image.substr(0, 256));
    EXPECT_EQ(written[3], "write page");
    EXPECT_EQ(written[4].substr(0, 256), image.substr(4096, 256));
    EXPECT_EQ(written[5], "ISP finish");
    EXPECT_EQ(events.progress, std::vector<int>{10000});
    EXPECT_EQ(events.log, (Strings{"busy on", "success", "busy off"}));
    EXPECT_EQ(line.opens, 1);
    EXPECT_EQ(line.lastPort, 4);
    EXPECT_EQ(line.lastRate, 115200);
}

TEST_F(FirmwareDownloadTest, FileOf4608Bytes_ProgressInTwoSteps) {
    TempFile file(MakeImage(4608));
    chooser.path = file.path;
    ScriptAccepting(3);
    download.downloadFirmware();
    EXPECT_EQ(events.progress, (std::vector<int>{6666, 10000}));
    EXPECT_EQ(link.Written().size(), 8u);
}

TEST_F(FirmwareDownloadTest, FileOf4400Bytes_IgnoresThePartialLastPage) {
    TempFile file(MakeImage(4400));
    chooser.path = file.path;
    ScriptAccepting(3);
    download.downloadFirmware();
    EXPECT_EQ(events.progress, std::vector<int>{9142});
    EXPECT_EQ(link.Written().size(), 6u);
}

TEST_F(FirmwareDownloadTest, WrongAnswerToWritePage_FailsBeforeThePage) {
    TempFile file(MakeImage(4608));
    chooser.path = file.path;
    link.Reply(Line("boot start"));
    link.Reply(Line("get page"));
    link.Reply(Line("write OK"));
    link.Reply(Line("busy"));
    download.downloadFirmware();
    Strings written = link.Written();
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written.back(), "write page");
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
    EXPECT_EQ(events.outcome.kind, OutcomeKind::UnexpectedAnswer);
    EXPECT_EQ(events.outcome.command, "write page");
    EXPECT_EQ(events.outcome.reply, "busy");
    EXPECT_TRUE(events.progress.empty());
}

TEST_F(FirmwareDownloadTest, CancelledMidway_StopsBeforeTheNextPageWithoutFinish) {
    TempFile file(MakeImage(4096 + 4 * 256));
    chooser.path = file.path;
    ScriptAccepting(5);
    std::atomic<bool> cancel{false};
    download.cancel = &cancel;
    events.onProgress = [&] { cancel = events.progress.size() == 2; };
    download.downloadFirmware();
    Strings written = link.Written();
    ASSERT_EQ(written.size(), 7u);  // boot_start and three pages: the fourth is never asked for
    EXPECT_EQ(written.back().size(), 258u);
    EXPECT_EQ(events.progress.size(), 2u);
    EXPECT_EQ(events.log, (Strings{"busy on", "cancelled", "busy off"}));
    EXPECT_TRUE(events.outcome.inBootLoader);
    EXPECT_EQ(events.outcome.done, 3);  // pages sent, of the image's five
    EXPECT_EQ(events.outcome.total, 5);
}

TEST_F(FirmwareDownloadTest, SilentBootLoader_FailsWithoutFinish) {
    TempFile file(MakeImage(4352));
    chooser.path = file.path;
    download.downloadFirmware();
    EXPECT_EQ(link.Written(), Strings{"boot_start"});
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
    EXPECT_EQ(events.outcome.kind, OutcomeKind::NoAnswer);
    EXPECT_EQ(events.outcome.command, "boot_start");
    EXPECT_FALSE(events.outcome.inBootLoader);
}

TEST(FirmwareWorkerTest, RunsOnePendingDownloadAndClearsTheFlag) {
    std::atomic<int> runs{0};
    std::atomic<std::thread::id> runner{};
    FirmwareWorker worker([&] {
        runner = std::this_thread::get_id();
        ++runs;
    });
    worker.Start();
    worker.firmwarePending = true;
    for (int i = 0; i < 200 && worker.firmwarePending; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(worker.firmwarePending);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_EQ(runs, 1);
    EXPECT_NE(runner.load(), std::this_thread::get_id());
    worker.Stop();
}

TEST(FirmwareWorkerTest, StopWaitsForARunningDownload) {
    std::atomic<bool> started{false}, finished{false};
    FirmwareWorker worker([&] {
        started = true;
        // Ends only once Stop has asked it to: Stop must have waited for it.
        while (!worker.cancelRequested) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        finished = true;
    });
    worker.Start();
    worker.firmwarePending = true;
    for (int i = 0; i < 1000 && !started; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(started);
    worker.Stop();
    EXPECT_TRUE(finished);
}

TEST_F(FirmwareDownloadTest, ADownloadThatThrows_TheWorkerReportsFailureAndBusyOff) {
    TempFile file(MakeImage(4608));
    chooser.path = file.path;
    ScriptAccepting(3);
    events.onProgress = [] { throw std::runtime_error("the window went away"); };
    FirmwareWorker worker([&] { download.downloadFirmware(); }, [&] { download.ReportFailure(); });
    worker.Start();
    worker.firmwarePending = true;
    for (int i = 0; i < 300 && worker.firmwarePending; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    worker.Stop();
    EXPECT_FALSE(worker.firmwarePending);
    EXPECT_EQ(events.log, (Strings{"busy on", "failure", "busy off"}));
}

}  // namespace

namespace {

// The image check before the boot loader: what it refuses and what it tells.
struct RecordedCheck : Firmware::IImageCheck {
    bool answer = true;
    Strings log;
    Firmware::ImageFacts facts;
    bool ConfirmImage(const std::string&, const Firmware::ImageFacts& f) override {
        facts = f;
        log.push_back("confirm");
        return answer;
    }
    void RefuseImage(const std::string&, const Firmware::ImageFacts& f) override {
        facts = f;
        log.push_back("refuse");
    }
};

TEST(FirmwareImage, LengthsThatCannotBeAnImage) {
    EXPECT_EQ(Firmware::InspectImageLength(0).problem, Firmware::ImageProblem::Empty);
    EXPECT_EQ(Firmware::InspectImageLength(256).problem, Firmware::ImageProblem::TooShort);
    EXPECT_EQ(Firmware::InspectImageLength(4096).problem, Firmware::ImageProblem::TooShort);
    const Firmware::ImageFacts one = Firmware::InspectImageLength(4097);
    EXPECT_TRUE(one.Valid());
    EXPECT_EQ(one.pages, 1u);
    EXPECT_EQ(one.unsentTail, 1u);
    EXPECT_EQ(Firmware::InspectImageLength(4352).unsentTail, 0u);
}

TEST(FirmwareImage, DownloadTime_WireBytesAt115200PlusThePauses) {
    // 2 pages: boot_start 10 + "\r\nboot start\r\n" 14, per page
    // 10 + 12 + 258 + 12 = 292, "ISP finish" 10: 618 bytes = 53 ms on the
    // wire, one page pause of 50 and the final 100.
    EXPECT_EQ(Firmware::InspectImageLength(4352).downloadMs, 618u * 10 * 1000 / 115200 + 50 + 100);
    // A 1 MiB image: 4081 pages, most of the time is the pauses.
    const Firmware::ImageFacts big = Firmware::InspectImageLength(1u << 20);
    EXPECT_EQ(big.downloadMs, (34ull + 4081ull * 292) * 10 * 1000 / 115200 + 4080ull * 50 + 100);
}

TEST(FirmwareImage, FolderAndMissingFile_Unreadable) {
    EXPECT_EQ(Firmware::InspectImageFile(fs::temp_directory_path().string()).problem,
              Firmware::ImageProblem::Unreadable);
    EXPECT_EQ(Firmware::InspectImageFile((fs::temp_directory_path() / "velmora-no-such.dwn").string()).problem,
              Firmware::ImageProblem::Unreadable);
    TempFile empty("");
    EXPECT_EQ(Firmware::InspectImageFile(empty.path).problem, Firmware::ImageProblem::Empty);
}

TEST(FirmwareImage, Description_NamesPagesTimeTailAndTheBootLoaderInBothLanguages) {
    const Firmware::ImageFacts facts = Firmware::InspectImageLength(4400);
    const std::string en = Firmware::DescribeImage("a.dwn", facts, Language::English);
    EXPECT_NE(en.find("4400 bytes, 2 pages"), std::string::npos) << en;
    EXPECT_NE(en.find("last 48 bytes"), std::string::npos) << en;
    EXPECT_NE(en.find("boot loader"), std::string::npos) << en;
    const std::string zh = Firmware::DescribeImage("a.dwn", facts, Language::Chinese);
    EXPECT_NE(zh.find("引导程序"), std::string::npos);
    EXPECT_NE(Firmware::DescribeRefusal("a.dwn", Firmware::InspectImageLength(100), Language::English).find("only 100"),
              std::string::npos);
}

TEST_F(FirmwareDownloadTest, CheckedImageTooShort_RefusedWithoutBusyOrPort) {
    RecordedCheck check;
    download.check = &check;
    TempFile file(MakeImage(4000));
    chooser.path = file.path;
    download.downloadFirmware();
    EXPECT_EQ(check.log, (Strings{"refuse"}));
    EXPECT_TRUE(events.log.empty());
    EXPECT_EQ(line.opens, 0);
    EXPECT_TRUE(link.Written().empty());
}

TEST_F(FirmwareDownloadTest, CheckedImageDeclined_NothingSent) {
    RecordedCheck check;
    check.answer = false;
    download.check = &check;
    TempFile file(MakeImage(4352));
    chooser.path = file.path;
    download.downloadFirmware();
    EXPECT_EQ(check.log, (Strings{"confirm"}));
    EXPECT_EQ(check.facts.pages, 2u);
    EXPECT_TRUE(events.log.empty());
    EXPECT_EQ(line.opens, 0);
}

TEST_F(FirmwareDownloadTest, CheckedImageConfirmed_Downloads) {
    RecordedCheck check;
    download.check = &check;
    TempFile file(MakeImage(4352));
    chooser.path = file.path;
    ScriptAccepting(2);
    download.downloadFirmware();
    EXPECT_EQ(events.log, (Strings{"busy on", "success", "busy off"}));
}

}  // namespace
