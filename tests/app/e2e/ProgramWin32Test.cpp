// VelmoraConfig.exe as the technician uses it, against the simulated radio:
// start-up, Connect and Read, Write, the language switch, a port without a
// device, and the ways the program ends. Pictures of the main window are
// kept beside this test program (main-chinese.bmp, main-english.bmp, ...).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "radio/RadioTables.h"
#include "tests/app/e2e/ProgramDriver.h"
#include "tests/support/SimProcess.h"

namespace {

// Points of the 759 x 509 client area: the right column's buttons, the
// Default button of the transmit group, the menu headers and the status
// strip.
constexpr POINT kConnect{658, 252}, kRead{658, 293}, kWrite{658, 334};
constexpr POINT kTxDefault{95, 449};
constexpr POINT kLanguageHeader{73, 54};
constexpr POINT kLanguageItem{97, 74};
constexpr POINT kStrip{380, 478};
constexpr uint32_t kLightGreen = 0x99FF99, kLightRed = 0xFF9999;

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) return false;
        ::Sleep(50);
    }
    return true;
}

void Press(ProgramDriver& program, POINT pt) { program.Click(pt.x, pt.y); }

// The language item, reached the way a user does: press the header, move
// over it so its panel opens, press the item.
void SwitchLanguage(ProgramDriver& program) {
    Press(program, kLanguageHeader);
    program.MouseMove(kLanguageHeader.x + 1, kLanguageHeader.y);
    ProgramDriver::Sleep(200);
    Press(program, kLanguageItem);
    // Away from the menus, so that nothing stays lit.
    program.MouseMove(300, 20);
    ProgramDriver::Sleep(500);
}

std::string StateValue(const std::string& state, const std::string& key) {
    const size_t at = state.find("\n" + key + "=");
    if (at == std::string::npos) return "";
    const size_t from = at + key.size() + 2;
    return state.substr(from, state.find('\n', from) - from);
}

class ProgramTest : public ::testing::Test {
protected:
    void StartWithRadio(int chinese) {
        sim = std::make_unique<SimProcess>(TestComPort(1), "--state " + statePath + " --transcript " + transcriptPath);
        ASSERT_TRUE(sim->Started());
        const int position = ProgramDriver::PortPosition(TestComPort(1));
        ASSERT_GE(position, 0);
        ProgramDriver::WriteSettings(position, -1, chinese);
        ASSERT_TRUE(program.Start());
    }
    bool StripIs(uint32_t colour) {
        return WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == colour; }, 5000);
    }
    std::string Transcript() const { return SimProcess::ReadFile(transcriptPath); }

    std::string statePath = SimProcess::UnixPathFor(TestComPort(1), "program-state.txt");
    std::string transcriptPath = SimProcess::UnixPathFor(TestComPort(1), "program-transcript.txt");
    std::unique_ptr<SimProcess> sim;
    ProgramDriver program;

    void SetUp() override {
        ::DeleteFileA(SimProcess::WinePath(statePath).c_str());
        ::DeleteFileA(SimProcess::WinePath(transcriptPath).c_str());
    }
};

TEST_F(ProgramTest, FreshStart_ChineseFirstPortAnd38400_StoredWhenEscapeEndsIt) {
    ProgramDriver::WriteSettings(-1, -1, -1);
    ASSERT_TRUE(program.Start());
    program.Key(VK_ESCAPE);
    ASSERT_TRUE(program.WaitForExit(8000));
    EXPECT_EQ("0", ProgramDriver::ReadSetting("Port"));
    EXPECT_EQ("2", ProgramDriver::ReadSetting("Baud"));
    EXPECT_EQ("1", ProgramDriver::ReadSetting("Chinese"));
}

TEST_F(ProgramTest, ConnectRead_ThenDefaultAndWrite_TheRadioHoldsTheValues) {
    StartWithRadio(1);
    Press(program, kConnect);
    ASSERT_TRUE(StripIs(kLightGreen));
    Press(program, kRead);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("SREV") != std::string::npos; }, 8000));
    ASSERT_TRUE(StripIs(kLightGreen));
    ProgramDriver::Sleep(500);
    program.Capture().Save("main-read.bmp");
    Press(program, kTxDefault);
    Press(program, kWrite);
    // A Write checks every list first: it reaches the radio only when the
    // Read has filled them all.
    ASSERT_TRUE(WaitFor([&] { return StateValue(SimProcess::ReadFile(statePath), "tx8") == "439.12500"; }, 10000))
        << Transcript();
    EXPECT_TRUE(StripIs(kLightGreen));
    const std::string state = SimProcess::ReadFile(statePath);
    for (int channel = 1; channel <= 8; ++channel)
        EXPECT_EQ(RadioTables::FormatFrequency(RadioTables::DefaultFrequencyTable[channel]),
                  StateValue(state, "tx" + std::to_string(channel)));
    EXPECT_EQ("415.60000", StateValue(state, "rx1"));
    EXPECT_EQ("450.60000", StateValue(state, "rx8"));
    EXPECT_EQ("255", StateValue(state, "destination_address"));
}

TEST_F(ProgramTest, LanguageSwitchTwice_ShowsTheWindowAsBefore) {
    StartWithRadio(1);
    program.MouseMove(300, 20);
    ProgramDriver::Sleep(300);
    const ProgramDriver::Picture chinese = program.Capture();
    chinese.Save("main-chinese.bmp");
    SwitchLanguage(program);
    const ProgramDriver::Picture english = program.Capture();
    english.Save("main-english.bmp");
    EXPECT_NE(chinese.pixels, english.pixels);
    SwitchLanguage(program);
    const ProgramDriver::Picture again = program.Capture();
    again.Save("main-chinese-again.bmp");
    int differing = 0;
    for (size_t i = 0; i < chinese.pixels.size(); ++i) differing += chinese.pixels[i] != again.pixels[i];
    EXPECT_EQ(0, differing);
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
    EXPECT_EQ("1", ProgramDriver::ReadSetting("Chinese"));
}

TEST_F(ProgramTest, ConnectOnPortWithoutDevice_ShowsFailureOnLightRed) {
    // The second port of the test has no radio behind it.
    const int position = ProgramDriver::PortPosition(TestComPort(0));
    ASSERT_GE(position, 0);
    ProgramDriver::WriteSettings(position, -1, 0);
    ASSERT_TRUE(program.Start());
    Press(program, kConnect);
    EXPECT_TRUE(StripIs(kLightRed));
    program.Capture().Save("main-failure.bmp");
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
    EXPECT_EQ("0", ProgramDriver::ReadSetting("Chinese"));
}

}  // namespace

namespace {

constexpr POINT kFileHeader{31, 54};
constexpr POINT kFirmwareItem{55, 154};  // fifth item of the Chinese File panel
constexpr uint32_t kProgressBlue = 0x3333FF;
constexpr POINT kStripLeft{356, 478};

// A firmware image of `pages` pages after the skipped block; every byte
// differs from its neighbours so that a misplaced page shows.
std::string MakeImage(int pages) {
    std::string image(4096 + 256 * pages, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return image;
}

bool WriteWholeFile(const std::string& unixPath, const std::string& content) {
    HANDLE h =
        ::CreateFileA(SimProcess::WinePath(unixPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    ::CloseHandle(h);
    return ok;
}

class FirmwareProgramTest : public ProgramTest {
protected:
    void StartDownload(int pages) {
        image = MakeImage(pages);
        ASSERT_TRUE(WriteWholeFile(imagePath, image));
        ::DeleteFileA(SimProcess::WinePath(outPath).c_str());
        sim = std::make_unique<SimProcess>(TestComPort(1),
                                           "--transcript " + transcriptPath + " --firmware-out " + outPath);
        ASSERT_TRUE(sim->Started());
        ProgramDriver::WriteSettings(ProgramDriver::PortPosition(TestComPort(1)), -1, 1);
        ASSERT_TRUE(program.Start());
        Press(program, kFileHeader);
        program.MouseMove(kFileHeader.x + 1, kFileHeader.y);
        ProgramDriver::Sleep(200);
        Press(program, kFirmwareItem);
        HWND dialog = program.WaitForDialog(8000);
        ASSERT_NE(nullptr, dialog);
        ProgramDriver::ChooseFile(dialog, SimProcess::WinePath(imagePath));
        // The bar grows from the strip's left end.
        ASSERT_TRUE(WaitFor([&] { return program.Capture().At(kStripLeft.x, kStripLeft.y) == kProgressBlue; }, 8000))
            << Transcript();
    }

    std::string imagePath = SimProcess::UnixPathFor(TestComPort(1), "image.dwn");
    std::string outPath = SimProcess::UnixPathFor(TestComPort(1), "image-out.bin");
    std::string image;
};

TEST_F(FirmwareProgramTest, Download_ShowsProgressThenSuccessAndTheRadioHasTheImage) {
    StartDownload(20);
    program.Capture().Save("main-firmware-progress.bmp");
    ASSERT_TRUE(WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == kLightGreen; }, 30000))
        << Transcript();
    program.Capture().Save("main-firmware-done.bmp");
    // The first page, then every page from offset 4096.
    EXPECT_EQ(image.substr(0, 256) + image.substr(4096), SimProcess::ReadFile(outPath));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

TEST_F(FirmwareProgramTest, EndDuringDownload_AsksFirstThenCancelsAndEnds) {
    StartDownload(2000);
    program.Key(VK_ESCAPE);
    HWND question = program.WaitForDialog(5000);
    ASSERT_NE(nullptr, question);
    EXPECT_NE(std::string::npos, ProgramDriver::DialogText(question).find("引导程序"));
    ProgramDriver::PressDialogButton(question, IDNO);
    // Declined: the program and the download go on.
    EXPECT_FALSE(program.WaitForExit(1500));
    program.AltKey(VK_F4);
    question = program.WaitForDialog(5000);
    ASSERT_NE(nullptr, question);
    ProgramDriver::PressDialogButton(question, IDYES);
    EXPECT_TRUE(program.WaitForExit(8000));
    EXPECT_EQ(std::string::npos, Transcript().find("ISP finish"));
}

}  // namespace
