#include <gtest/gtest.h>

#include <string>

#include "BootLoader.h"
#include "RadioSim.h"
#include "SimHarness.h"

namespace {

std::string block(const std::string& data) {
    uint16_t sum = BootLoader::checksum(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    return data + char(sum >> 8) + char(sum & 0xFF);
}

// Page data full of what would mean something outside a page.
std::string trickyPage(char fill) {
    std::string data = "\r\nwrite page\rboot_start\nISP finish\rcfg_sbau 1\r";
    data += std::string(1, '\0');
    data.resize(BootLoader::kPageData, fill);
    return data;
}

bool has(const std::string& text, const std::string& word) { return text.find(word) != std::string::npos; }

class Boot : public ::testing::Test {
protected:
    RadioSim sim{RadioState::factoryDefault(), SimFaults{}, false};
    std::string line(const std::string& bytes) { return lineOf(sim, bytes); }
    std::string lastTranscriptLine() {
        auto lines = sim.takeTranscript();
        return lines.empty() ? "" : lines.back();
    }
};

}  // namespace

TEST(PageChecksum, SumOfBytesHighByteFirst) {
    uint8_t ones[256], zeros[256] = {};
    for (uint8_t& b : ones) b = 0xFF;
    EXPECT_EQ(BootLoader::checksum(ones, 256), 0xFF00);
    EXPECT_EQ(BootLoader::checksum(zeros, 256), 0);
    std::string b = block(std::string(256, '\xFF'));
    EXPECT_EQ(uint8_t(b[256]), 0xFF);
    EXPECT_EQ(uint8_t(b[257]), 0x00);
}

TEST_F(Boot, Download_PagesWithControlTextAreData_ImageInOrder) {
    EXPECT_TRUE(has(line("boot_start"), "boot start"));
    EXPECT_EQ(sim.mode(), RadioSim::Mode::Boot);
    std::string image;
    for (char fill : {'\xFF', '\r', 'A'}) {
        EXPECT_TRUE(has(line("write page"), "get page"));
        std::string data = trickyPage(fill);
        EXPECT_TRUE(has(line(block(data)), "write OK"));
        image += data;
    }
    auto lines = sim.takeTranscript();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "> page 3 (258 bytes, checksum ok)"), lines.end());
    EXPECT_EQ(replyTo(sim, "ISP finish"), "");  // no reply awaited
    std::string written;
    ASSERT_TRUE(sim.takeFirmware(written));
    EXPECT_EQ(written, image);
    EXPECT_FALSE(sim.takeFirmware(written));
    EXPECT_EQ(sim.mode(), RadioSim::Mode::Normal);
    EXPECT_FALSE(sim.takeStateChanged());  // the page text "cfg_sbau 1" was not a command
}

TEST_F(Boot, ZeroPage_ChecksumZeroAccepted) {
    line("boot_start");
    line("write page");
    std::string data(256, '\0');
    EXPECT_TRUE(has(line(data + std::string(2, '\0')), "write OK"));
}

TEST_F(Boot, WrongChecksum_NoWriteOkAndPageNotKept) {
    line("boot_start");
    line("write page");
    std::string good = trickyPage('x');
    std::string bad = block(trickyPage('y'));
    bad[257] ^= 1;
    std::string reply = line(bad);
    EXPECT_FALSE(reply.empty());
    EXPECT_FALSE(has(reply, "write OK"));
    EXPECT_EQ(lastTranscriptLine(), "< \\r\\nwrite ERROR: checksum\\r\\n");
    EXPECT_TRUE(has(line("write page"), "get page"));
    EXPECT_TRUE(has(line(block(good)), "write OK"));
    replyTo(sim, "ISP finish");
    std::string image;
    ASSERT_TRUE(sim.takeFirmware(image));
    EXPECT_EQ(image, good);
}

TEST_F(Boot, EnteredFromNormalAndFromConfigMode) {
    EXPECT_TRUE(has(line("boot_start"), "boot start"));
    replyTo(sim, "ISP finish");
    line("control\r");
    EXPECT_TRUE(has(line("boot_start"), "boot start"));
    EXPECT_EQ(sim.mode(), RadioSim::Mode::Boot);
}

TEST_F(Boot, BootStartAfterOtherTextOnTheLine_StillRecognised) {
    line("control\r");
    EXPECT_TRUE(has(line("xyzboot_start"), "boot start"));
}

TEST_F(Boot, BootStartAgain_StartsAnEmptyImage) {
    line("boot_start");
    line("write page");
    line(block(trickyPage('1')));
    line("boot_start");
    line("write page");
    std::string second = trickyPage('2');
    line(block(second));
    replyTo(sim, "ISP finish");
    std::string image;
    ASSERT_TRUE(sim.takeFirmware(image));
    EXPECT_EQ(image, second);
}

TEST_F(Boot, PageThatStopsArriving_DroppedAndNextRequestServed) {
    line("boot_start");
    line("write page");
    sim.receive(std::string(100, 'z'));
    EXPECT_TRUE(sim.pageInProgress());
    sim.pageTimedOut();
    EXPECT_FALSE(sim.pageInProgress());
    EXPECT_EQ(lastTranscriptLine(), "! page 1 dropped after 100 of 258 bytes (no byte for 500 ms)");
    EXPECT_TRUE(has(line("write page"), "get page"));
    std::string data = trickyPage('k');
    EXPECT_TRUE(has(line(block(data)), "write OK"));
    replyTo(sim, "ISP finish");
    std::string image;
    ASSERT_TRUE(sim.takeFirmware(image));
    EXPECT_EQ(image, data);
}

TEST_F(Boot, TextLinesInBootLoader_ErrorAndNoParameterChange) {
    line("control\r");
    line("boot_start");
    std::string reply = line("cfg_sbau 3\r");
    EXPECT_FALSE(reply.empty());
    EXPECT_FALSE(has(reply, "OK"));
    EXPECT_FALSE(sim.takeStateChanged());
}

TEST_F(Boot, BootTextsOutsideBootLoader_NotCommands) {
    line("control\r");
    EXPECT_EQ(replyTo(sim, "write page"), "");
    EXPECT_EQ(line("\r"), "ERROR: no such command");  // the text became a line
    EXPECT_EQ(replyTo(sim, "ISP finish"), "");
    std::string image;
    EXPECT_FALSE(sim.takeFirmware(image));
}

TEST_F(Boot, FinishWithoutPages_EmptyImage) {
    line("boot_start");
    replyTo(sim, "ISP finish");
    std::string image = "old";
    ASSERT_TRUE(sim.takeFirmware(image));
    EXPECT_TRUE(image.empty());
}
