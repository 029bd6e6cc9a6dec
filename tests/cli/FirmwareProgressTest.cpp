// A firmware download's progress on the command line: rewritten in place on a
// console, a line a tenth into a file or pipe.
#include <gtest/gtest.h>

#include <string>

#include "cli/FirmwareProgress.h"
#include "radio/Firmware.h"

namespace {

// 41 pages and a partial page that is not sent: the reported value never
// reaches 10000, so pages are not a plain share of it.
constexpr uint64_t kLength = 4096 + 40 * 256 + 100;
constexpr uint64_t kWholePages = 4096 + 40 * 256;

int After(uint64_t pages, uint64_t length = kLength) { return Firmware::Progress(pages * 256, length); }

TEST(FirmwareProgress, OnAConsole_PagePercentAndTimeLeftRewrittenInPlace) {
    FirmwareProgress progress(41, kLength, true);
    EXPECT_EQ(progress.Update(After(2), 1000), "\rfirmware: page 2 of 41, 4%, 0:20 left");
    // 30 s for the first half: about 30 s left.
    EXPECT_EQ(progress.Update(After(21), 30000), "\rfirmware: page 21 of 41, 50%, 0:30 left");
    EXPECT_EQ(progress.Update(After(41), 61000), "\rfirmware: page 41 of 41, 99%, 0:01 left");
    EXPECT_EQ(progress.Finish(), "\n");
    EXPECT_EQ(progress.Finish(), "");
    // Done: no time left, and blanks cover the longer line before.
    FirmwareProgress whole(41, kWholePages, true);
    EXPECT_EQ(whole.Update(After(40, kWholePages), 60000), "\rfirmware: page 40 of 41, 97%, 0:02 left");
    EXPECT_EQ(whole.Update(After(41, kWholePages), 61000), "\rfirmware: page 41 of 41, 100%          ");
}

TEST(FirmwareProgress, IntoAFile_OneLineEachTenth) {
    FirmwareProgress progress(41, kLength, false);
    std::string lines;
    for (uint64_t page = 2; page <= 41; ++page) lines += progress.Update(After(page), page * 100);
    EXPECT_EQ(lines,
              "firmware: 12%\nfirmware: 21%\nfirmware: 31%\nfirmware: 41%\nfirmware: 50%\n"
              "firmware: 60%\nfirmware: 70%\nfirmware: 82%\nfirmware: 91%\n");
    EXPECT_EQ(progress.Finish(), "");
}

}  // namespace
