// VelmoraConfig.exe as the technician uses it, against the simulated radio:
// start-up, Connect and Read, Write, the language switch, a port without a
// device, and the ways the program ends. Pictures of the main window are
// kept beside this test program (main-chinese.png, main-english.png, ...).
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "radio/RadioTables.h"
#include "testkit/ProgramDriver.h"
#include "testkit/FirmwareImage.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

// Points of the 759 x 539 client area: the right column's buttons, the
// Language menu and the status strip.
constexpr POINT kConnect{658, 252}, kRead{658, 293}, kWrite{658, 334};
constexpr POINT kLanguageHeader{73, 54};
constexpr POINT kLanguageItem{97, 74};
constexpr POINT kStrip{380, 478};
constexpr uint32_t kLightGreen = 0x99FF99, kLightRed = 0xFF9999;

void Press(ProgramDriver& program, POINT pt) { program.Click(pt.x, pt.y); }

// The language item, reached the way a user does.
void SwitchLanguage(ProgramDriver& program) {
    program.ChooseMenuItem(kLanguageHeader, kLanguageItem);
    // Away from the menus, so that nothing stays lit.
    program.MouseMove(300, 20);
    ProgramDriver::Sleep(500);
}

// More points of the Chinese window: channel edits, parameter combos, the
// serial-number row and the port group.
constexpr POINT kTxEdit3{113, 203}, kTxEdit4{113, 244};
constexpr POINT kProtocolCombo{490, 115}, kLinkCombo{490, 190}, kBandwidthCombo{490, 215};
constexpr POINT kSerialUnlock{366, 367}, kSerialEdit{490, 367};
constexpr POINT kDestinationEdit{490, 290};
constexpr POINT kPortCombo{670, 166}, kRateCombo{670, 199};
// The link-rate row: its label and the text of its combo.
constexpr RECT kLinkLabel{356, 182, 430, 198}, kLinkText{432, 182, 528, 198};
constexpr uint32_t kGreyed = 0xA7A6B7, kLabelBlue = 0x386382, kWhite = 0xFFFFFF;

int CountColour(const ProgramDriver::Picture& picture, RECT area, uint32_t colour) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += picture.At(x, y) == colour;
    return n;
}

// The rightmost column of the area that holds anything but white: where a
// combo's text ends.
int TextEnd(const ProgramDriver::Picture& picture, RECT area) {
    for (int x = area.right - 1; x >= area.left; --x)
        for (int y = area.top; y < area.bottom; ++y)
            if (picture.At(x, y) != kWhite) return x;
    return -1;
}

// Opens the combo at `combo` with a click, presses the keys in its drop-down
// list and takes the selection with Return; false when no list opened or it
// did not close.
bool Choose(ProgramDriver& program, POINT combo, std::initializer_list<WPARAM> keys) {
    Press(program, combo);
    const HWND list = program.WaitForDropDown(3000);
    if (list == nullptr) return false;
    for (WPARAM key : keys) ProgramDriver::KeyTo(list, key);
    ProgramDriver::KeyTo(list, VK_RETURN);
    // Gone only when destroyed; the window under it repaints after that.
    if (!WaitFor([&] { return !::IsWindow(list); }, 5000)) return false;
    ProgramDriver::Sleep(300);
    return true;
}

// Replaces the text of the edit being typed in: to its end, erase, type.
bool ReplaceText(ProgramDriver& program, const std::string& text) {
    if (!WaitFor([&] { return program.EditWindow() != nullptr; }, 3000)) return false;
    ProgramDriver::KeyTo(program.EditWindow(), VK_END);
    program.Type(std::string(program.EditText().size(), '\b') + text);
    return program.EditText() == text;
}

// Opens the edit at `pt` with a click and replaces its text.
bool Retype(ProgramDriver& program, POINT pt, const std::string& text) {
    Press(program, pt);
    return ReplaceText(program, text);
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
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(statePath)).c_str());
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(transcriptPath)).c_str());
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

// "VelmoraConfig" typed alone at a prompt runs the console twin: it opens
// the window and gives the prompt back at once.
TEST_F(ProgramTest, ConsoleTwinWithoutOptions_OpensTheWindowAndReturns) {
    DWORD code = 99;
    ASSERT_TRUE(program.StartThrough(SimProcess::WinePath(VELMORA_CONSOLE_PROGRAM), code));
    EXPECT_EQ(0u, code);
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit(8000));
}

// Help > Open Log Folder shows the traffic log's folder in Explorer.
TEST_F(ProgramTest, OpenLogFolder_ExplorerShowsTheLogFolder) {
    // The Help menu: User Guide, then Open Log Folder, then About.
    constexpr POINT kHelpHeader{115, 54}, kLogFolderItem{140, 94};
    ProgramDriver::WriteSettings(-1, -1, 1);
    ASSERT_TRUE(program.Start());
    Press(program, kHelpHeader);
    program.MouseMove(kHelpHeader.x + 1, kHelpHeader.y);
    ProgramDriver::Sleep(200);
    Press(program, kLogFolderItem);
    HWND folder = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (folder = ::FindWindowA(nullptr, "Logs")) != nullptr; }, 10000));
    EXPECT_EQ(nullptr, program.WaitForDialog(200)) << "the folder could not be opened";
    // Gone before the next case looks at the screen it covered.
    if (folder != nullptr) ::PostMessageW(folder, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(folder); }, 8000));
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit(8000));
}

TEST_F(ProgramTest, ConnectRead_ThenUnlockDefaultAndWrite_TheRadioHoldsTheValuesAndSerialNumber) {
    StartWithRadio(1);
    Press(program, kConnect);
    ASSERT_TRUE(StripIs(kLightGreen));
    Press(program, kRead);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("SREV") != std::string::npos; }, 8000));
    ASSERT_TRUE(StripIs(kLightGreen));
    ProgramDriver::Sleep(500);
    program.Capture().Save("main-read.png");
    // Unlocked, the serial number goes to the radio with the Write.
    Press(program, kSerialUnlock);
    ASSERT_TRUE(Retype(program, kSerialEdit, "SN7654321"));
    Press(program, kTxDefault);
    Press(program, kWrite);
    // A Write checks every list first: it reaches the radio only when the
    // Read has filled them all. The serial number is its last setting.
    ASSERT_TRUE(
        WaitFor([&] { return StateValue(SimProcess::ReadFile(statePath), "serial_number") == "SN7654321"; }, 10000))
        << Transcript();
    EXPECT_TRUE(StripIs(kLightGreen));
    const std::string state = SimProcess::ReadFile(statePath);
    for (int channel = 1; channel <= 8; ++channel)
        EXPECT_EQ(RadioTables::FormatFrequency(RadioTables::DefaultFrequencyTable[channel]),
                  StateValue(state, "tx" + std::to_string(channel)));
    EXPECT_EQ("415.60000", StateValue(state, "rx1"));
    EXPECT_EQ("450.60000", StateValue(state, "rx8"));
    EXPECT_EQ("255", StateValue(state, "destination_address"));
    EXPECT_NE(std::string::npos, Transcript().find("cfg_sern SN7654321"));
}

TEST_F(ProgramTest, LanguageSwitchTwice_ShowsTheWindowAsBefore) {
    StartWithRadio(1);
    program.MouseMove(300, 20);
    ProgramDriver::Sleep(300);
    const ProgramDriver::Picture chinese = program.Capture();
    chinese.Save("main-chinese.png");
    SwitchLanguage(program);
    const ProgramDriver::Picture english = program.Capture();
    english.Save("main-english.png");
    EXPECT_NE(chinese.pixels, english.pixels);
    SwitchLanguage(program);
    const ProgramDriver::Picture again = program.Capture();
    again.Save("main-chinese-again.png");
    EXPECT_EQ(0, chinese.Differing(again));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
    EXPECT_EQ("1", ProgramDriver::ReadSetting("Chinese"));
}

// Keys alone, no mouse: Connect from the File menu by its letters, Read by
// its key, the second transmit channel reached with Tab and retyped, Write
// by its key, the language through the menus with F10 and the arrows, About
// opened by its letter and closed with Escape.
TEST_F(ProgramTest, KeyboardAlone_ConnectReadEditWriteLanguageAndAbout) {
    StartWithRadio(1);
    program.AltKey('F');
    program.Key('C');
    ASSERT_TRUE(StripIs(kLightGreen));
    ASSERT_NE(std::string::npos, Transcript().find("control")) << Transcript();
    ASSERT_EQ(std::string::npos, Transcript().find("SREV")) << "read before F6";
    program.Key(VK_F6);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("SREV") != std::string::npos; }, 8000));
    ASSERT_TRUE(StripIs(kLightGreen));
    // From the title bar's two buttons, where the window starts, to the
    // first channel's edit and on to the second's.
    program.Key(VK_TAB);
    program.Key(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return program.EditWindow() != nullptr; }, 3000));
    const HWND first = program.EditWindow();
    program.Key(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return program.EditWindow() != nullptr && program.EditWindow() != first; }, 3000));
    ASSERT_TRUE(ReplaceText(program, "433.12500"));
    program.Capture().Save("main-keyboard.png");
    program.Key(VK_TAB);
    program.Key(VK_F7);
    EXPECT_TRUE(WaitFor([&] { return StateValue(SimProcess::ReadFile(statePath), "tx2") == "433.12500"; }, 10000))
        << Transcript();
    EXPECT_TRUE(StripIs(kLightGreen));
    // F10 opens File; Right goes on to Language, whose one item Return runs.
    program.AltKey(VK_F10);
    program.Key(VK_RIGHT);
    program.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return ProgramDriver::Caption(program.Window()).find("Velmora") == 0; }, 5000));
    // Left from File round to Help; A for About.
    program.AltKey(VK_F10);
    program.Key(VK_LEFT);
    program.Key('A');
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = ::FindWindowW(nullptr, L"About...")) != nullptr; }, 5000));
    ProgramDriver::Sleep(300);
    ProgramDriver::KeyTo(about, VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }, 5000));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
    EXPECT_EQ("0", ProgramDriver::ReadSetting("Chinese"));
}

TEST_F(ProgramTest, ConnectOnPortWithoutDevice_ShowsFailureOnLightRed) {
    // The second port of the test has no radio behind it.
    const int position = ProgramDriver::PortPosition(TestComPort(0));
    ASSERT_GE(position, 0);
    ProgramDriver::WriteSettings(position, -1, 0);
    ASSERT_TRUE(program.Start());
    Press(program, kConnect);
    EXPECT_TRUE(StripIs(kLightRed));
    program.Capture().Save("main-failure.png");
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
    EXPECT_EQ("0", ProgramDriver::ReadSetting("Chinese"));
}

}  // namespace

namespace {

constexpr uint32_t kProgressBlue = 0x3333FF;
constexpr POINT kStripLeft{356, 478};

class FirmwareProgramTest : public ProgramTest {
protected:
    // Through the File menu's item and the file dialog to the box that
    // follows the chosen image; null when none shows.
    HWND ChooseImage(const std::string& content) {
        HWND dialog = OpenFileDialog(content);
        if (dialog == nullptr) return nullptr;
        ProgramDriver::ChooseFile(dialog, SimProcess::WinePath(imagePath));
        if (!WaitFor([&] { return !::IsWindow(dialog); }, 8000)) return nullptr;
        return program.WaitForDialog(8000);
    }

    // Through the File menu's item to the file dialog; null when none shows.
    HWND OpenFileDialog(const std::string& content) {
        image = content;
        if (!SimProcess::WriteFile(imagePath, image)) return nullptr;
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(outPath)).c_str());
        sim = std::make_unique<SimProcess>(TestComPort(1),
                                           "--transcript " + transcriptPath + " --firmware-out " + outPath);
        if (!sim->Started()) return nullptr;
        ProgramDriver::WriteSettings(ProgramDriver::PortPosition(TestComPort(1)), -1, 1);
        if (!program.Start()) return nullptr;
        program.ChooseMenuItem(kFileHeader, kFirmwareItem);
        return program.WaitForDialog(8000);
    }

    void StartDownload(int pages) {
        // The image's facts and the boot loader warning come first; Yes starts it.
        HWND question = ChooseImage(MakeImage(ImageLength(pages)));
        ASSERT_NE(nullptr, question);
        const std::string facts = ProgramDriver::DialogText(question);
        EXPECT_NE(std::string::npos, facts.find(std::to_string(pages + 1) + " 页")) << facts;
        EXPECT_NE(std::string::npos, facts.find("引导程序")) << facts;
        ProgramDriver::PressDialogButton(question, IDYES);
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
    program.Capture().Save("main-firmware-progress.png");
    ASSERT_TRUE(WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == kLightGreen; }, 30000))
        << Transcript();
    program.Capture().Save("main-firmware-done.png");
    // The first page, then every page from offset 4096.
    EXPECT_EQ(image.substr(0, 256) + image.substr(4096), SimProcess::ReadFile(outPath));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

TEST_F(FirmwareProgramTest, ImageTooShort_RefusedWithAMessageAndTheRadioUntouched) {
    HWND refusal = ChooseImage(std::string(4096, 'x'));
    ASSERT_NE(nullptr, refusal);
    EXPECT_NE(std::string::npos, ProgramDriver::DialogText(refusal).find("4096")) << ProgramDriver::DialogText(refusal);
    ProgramDriver::PressDialogButton(refusal, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(refusal); }, 5000));
    ProgramDriver::Sleep(500);
    EXPECT_EQ("", Transcript());
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

// Nobody answers the file dialog: closing the window still ends the program.
TEST_F(FirmwareProgramTest, WindowClosedWhileTheFileDialogShows_TheProgramEnds) {
    const HWND dialog = OpenFileDialog(MakeImage(ImageLength(2)));
    ASSERT_NE(nullptr, dialog);
    ::PostMessageW(program.Window(), WM_CLOSE, 0, 0);
    // Under Wine without a window manager the dialog and the window each
    // take seconds to go.
    EXPECT_TRUE(program.WaitForExit(20000));
    EXPECT_EQ("", Transcript());
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

namespace {

TEST_F(ProgramTest, FrequencyEdit_500NamedWhenAComboIsClicked_430125RewrittenWhenLeft) {
    ProgramDriver::WriteSettings(-1, -1, 1);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(Retype(program, kTxEdit3, "500"));
    Press(program, kBandwidthCombo);
    const HWND box = program.WaitForDialog(5000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("错误", ProgramDriver::Caption(box));
    EXPECT_NE(std::string::npos, ProgramDriver::DialogText(box).find("发射频道3: 无效！"))
        << ProgramDriver::DialogText(box);
    ProgramDriver::PressDialogButton(box, IDOK);
    // The focus is back in the edit, which still holds the rejected text.
    ASSERT_TRUE(WaitFor([&] { return program.EditText() == "500"; }, 5000)) << program.EditText();
    program.Capture().Save("main-invalid-channel.png");
    ASSERT_TRUE(ReplaceText(program, "430.125")) << program.EditText();
    Press(program, kTxEdit4);
    // Back in channel 3: the edit shows what its check left there.
    Press(program, kTxEdit3);
    EXPECT_TRUE(WaitFor([&] { return program.EditText() == "430.12500"; }, 3000)) << program.EditText();
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

TEST_F(ProgramTest, LinkRate_SatelLockedAt9600Or19200ByBandwidth_HuaceAt25KStaysOpen) {
    ProgramDriver::WriteSettings(-1, -1, 1);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(Choose(program, kProtocolCombo, {VK_END}));    // SATEL
    ASSERT_TRUE(Choose(program, kBandwidthCombo, {VK_HOME}));  // 12.5K
    program.MouseMove(300, 20);
    const ProgramDriver::Picture narrow = program.Capture();
    EXPECT_GT(CountColour(narrow, kLinkLabel, kGreyed), 0);
    EXPECT_GT(CountColour(narrow, kLinkText, kGreyed), 0);
    // Locked: a click opens no list.
    Press(program, kLinkCombo);
    EXPECT_EQ(nullptr, program.WaitForDropDown(500));

    ASSERT_TRUE(Choose(program, kBandwidthCombo, {VK_END}));  // 25.0K
    program.MouseMove(300, 20);
    const ProgramDriver::Picture wide = program.Capture();
    wide.Save("main-link-locked.png");
    EXPECT_GT(CountColour(wide, kLinkLabel, kGreyed), 0);
    EXPECT_GT(CountColour(wide, kLinkText, kGreyed), 0);
    // " 19200" reaches further right than " 9600".
    EXPECT_LT(TextEnd(narrow, kLinkText), TextEnd(wide, kLinkText));

    ASSERT_TRUE(Choose(program, kProtocolCombo, {VK_HOME, VK_DOWN, VK_DOWN}));  // HUACE
    program.MouseMove(300, 20);
    const ProgramDriver::Picture open = program.Capture();
    EXPECT_EQ(0, CountColour(open, kLinkLabel, kGreyed));
    EXPECT_GT(CountColour(open, kLinkLabel, kLabelBlue), 0);
    Press(program, kLinkCombo);
    const HWND list = program.WaitForDropDown(3000);
    ASSERT_NE(nullptr, list);
    program.CaptureScreen().Save("main-dropdown.png");
    ProgramDriver::KeyTo(list, VK_ESCAPE);
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

TEST_F(ProgramTest, ExportThenImport_AFreshStartGetsTheProfileBack) {
    const std::string first = SimProcess::UnixPathFor(TestComPort(1), "profile-first.cfg");
    const std::string second = SimProcess::UnixPathFor(TestComPort(1), "profile-second.cfg");
    ::DeleteFileW(Text::WidePath(SimProcess::WinePath(first)).c_str());
    ::DeleteFileW(Text::WidePath(SimProcess::WinePath(second)).c_str());
    ProgramDriver::WriteSettings(-1, -1, 1);
    ASSERT_TRUE(program.Start());
    Press(program, kTxDefault);
    ASSERT_TRUE(Choose(program, kProtocolCombo, {VK_END}));  // SATEL
    ASSERT_TRUE(program.ThroughFileDialog(kExport, SimProcess::WinePath(first)));
    ASSERT_TRUE(StripIs(kLightGreen));
    const std::string exported = SimProcess::ReadFile(first);
    const std::string channel1 = RadioTables::FormatFrequency(RadioTables::DefaultFrequencyTable[1]);
    EXPECT_NE(std::string::npos, exported.find("\nChannel1," + channel1 + "\r\r\n")) << exported;
    EXPECT_NE(std::string::npos, exported.find("ProtocolType,8\r\r\n")) << exported;
    program.Key(VK_ESCAPE);
    ASSERT_TRUE(program.WaitForExit(8000));

    ProgramDriver again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.ThroughFileDialog(kImport, SimProcess::WinePath(first)));
    ASSERT_TRUE(WaitFor([&] { return again.Capture().At(kStrip.x, kStrip.y) == kLightGreen; }, 5000));
    ASSERT_TRUE(again.ThroughFileDialog(kExport, SimProcess::WinePath(second)));
    // The file is written after the dialog has gone.
    WaitFor([&] { return SimProcess::ReadFile(second) == exported; }, 5000);
    EXPECT_EQ(exported, SimProcess::ReadFile(second));
    again.Key(VK_ESCAPE);
    EXPECT_TRUE(again.WaitForExit(8000));
}

TEST_F(ProgramTest, PortRateAndLanguage_ChosenThenEndedWithEscape_SurviveARestart) {
    ASSERT_GE(ProgramDriver::PortPosition(TestComPort(0)), 0);
    ASSERT_GE(ProgramDriver::PortPosition(TestComPort(1)), 0);
    ProgramDriver::WriteSettings(0, -1, 1);
    ASSERT_TRUE(program.Start());
    // The language first: switching it refills the rate list.
    SwitchLanguage(program);
    ASSERT_TRUE(Choose(program, kPortCombo, {VK_END}));
    ASSERT_TRUE(Choose(program, kRateCombo, {VK_END}));  // 115200
    program.MouseMove(300, 20);
    ProgramDriver::Sleep(300);
    const ProgramDriver::Picture chosen = program.Capture();
    chosen.Save("main-chosen.png");
    program.Key(VK_ESCAPE);
    ASSERT_TRUE(program.WaitForExit(8000));
    EXPECT_NE("0", ProgramDriver::ReadSetting("Port"));
    EXPECT_EQ("4", ProgramDriver::ReadSetting("Baud"));
    EXPECT_EQ("0", ProgramDriver::ReadSetting("Chinese"));

    ProgramDriver again;
    ASSERT_TRUE(again.Start());
    again.MouseMove(300, 20);
    ProgramDriver::Sleep(300);
    const ProgramDriver::Picture restarted = again.Capture();
    restarted.Save("main-restarted.png");
    EXPECT_EQ(chosen.pixels.size(), restarted.pixels.size());
    EXPECT_EQ(0, chosen.Differing(restarted));
    again.Key(VK_ESCAPE);
    EXPECT_TRUE(again.WaitForExit(8000));
}

}  // namespace

namespace {

// Items of the Chinese File panel: Find Radio second, Write and Verify fifth.
constexpr POINT kFindItem{55, 94}, kVerifyItem{55, 154};
constexpr uint32_t kSearchYellow = 0xFFFF99;

void ChooseFileItem(ProgramDriver& program, POINT item) {
    program.ChooseMenuItem(kFileHeader, item);
    program.MouseMove(300, 20);
}

size_t Count(const std::string& text, const std::string& word) {
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
}

class FieldToolsTest : public ProgramTest {
protected:
    void Radio(const std::string& args) {
        sim.reset();
        sim = std::make_unique<SimProcess>(TestComPort(1),
                                           "--state " + statePath + " --transcript " + transcriptPath + " " + args);
        ASSERT_TRUE(sim->Started());
    }
};

// The remembered port has no device; the radio answers only at 19200 on the
// other test port. Then a silent radio whose search is cancelled, then no
// radio at all.
TEST_F(FieldToolsTest, FindRadio_FoundAt19200OnTheOtherPort_EscapeCancels_NoRadioIsAFailure) {
    Radio("--port-rate 19200");
    const int radioPosition = ProgramDriver::PortPosition(TestComPort(1));
    ASSERT_GE(ProgramDriver::PortPosition(TestComPort(0)), 0);
    ProgramDriver::WriteSettings(ProgramDriver::PortPosition(TestComPort(0)), -1, 1);
    ASSERT_TRUE(program.Start());
    ChooseFileItem(program, kFindItem);
    ASSERT_TRUE(WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == kLightGreen; }, 15000))
        << Transcript();
    program.Capture().Save("main-find-found.png");
    // Three rates went unanswered before it: 38400, 9600, 115200.
    EXPECT_EQ(3u, Count(Transcript(), "baud not understood")) << Transcript();

    Radio("--fault silent");
    ChooseFileItem(program, kFindItem);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("> control") != std::string::npos; }, 5000));
    EXPECT_TRUE(StripIs(kSearchYellow));
    program.Key(VK_ESCAPE);
    ASSERT_TRUE(StripIs(kLightRed));
    // Ended at the next attempt, and the window is still there.
    EXPECT_FALSE(program.WaitForExit(500));
    EXPECT_LE(Count(Transcript(), "> control"), 2u) << Transcript();

    sim.reset();
    ChooseFileItem(program, kFindItem);
    EXPECT_TRUE(WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == kSearchYellow; }, 3000));
    ASSERT_TRUE(StripIs(kLightRed));
    program.Key(VK_ESCAPE);
    ASSERT_TRUE(program.WaitForExit(8000));
    // The port and rate found are what the window kept.
    EXPECT_EQ(std::to_string(radioPosition), ProgramDriver::ReadSetting("Port"));
    EXPECT_EQ("1", ProgramDriver::ReadSetting("Baud"));
}

TEST_F(FieldToolsTest, WriteAndVerify_HealthyRadioSucceeds_DroppedSettingNamedWithBothValues) {
    Radio("");
    ProgramDriver::WriteSettings(ProgramDriver::PortPosition(TestComPort(1)), -1, 1);
    ASSERT_TRUE(program.Start());
    // Each action runs until its outcome shows; the next waits for it.
    Press(program, kConnect);
    ASSERT_TRUE(StripIs(kLightGreen));
    Press(program, kRead);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("cfg_dstx\\r") != std::string::npos; }, 8000));
    ASSERT_TRUE(StripIs(kLightGreen));
    ChooseFileItem(program, kVerifyItem);
    ASSERT_TRUE(WaitFor([&] { return Count(Transcript(), "cfg_dstx\\r") == 2; }, 10000)) << Transcript();
    EXPECT_TRUE(StripIs(kLightGreen));
    EXPECT_EQ(nullptr, program.WaitForDialog(500));

    Radio("--fault ignore=cfg_dstx");
    const size_t before = Transcript().size();
    Press(program, kConnect);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("into config mode", before) != std::string::npos; }, 5000));
    ASSERT_TRUE(StripIs(kLightGreen));
    ASSERT_TRUE(Retype(program, kDestinationEdit, "17"));
    ChooseFileItem(program, kVerifyItem);
    const HWND box = program.WaitForDialog(10000);
    ASSERT_NE(nullptr, box) << Transcript();
    const std::string text = ProgramDriver::DialogText(box);
    EXPECT_NE(std::string::npos, text.find("目标地址: 写入 17, 读回 255")) << text;
    // Only the dropped setting is named.
    EXPECT_EQ(1u, Count(text, "写入 ")) << text;
    ProgramDriver::PressDialogButton(box, IDOK);
    EXPECT_TRUE(StripIs(kLightRed));
    EXPECT_NE(std::string::npos, Transcript().find("cfg_dstx 17"));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

}  // namespace

// Bad input through the window: what a technician can type, paste, click or
// import, and a radio or port that goes away.
namespace {

constexpr POINT kDisconnect{658, 375};
constexpr POINT kTxEdit1{113, 121}, kLocalEdit{490, 265};

// Every command line the radio took in after `from`.
std::vector<std::string> CommandsAfter(const std::string& transcript, size_t from) {
    std::vector<std::string> commands;
    for (size_t at = transcript.find("\n> ", from); at != std::string::npos; at = transcript.find("\n> ", at + 1))
        commands.push_back(transcript.substr(at + 3, transcript.find('\n', at + 1) - at - 3));
    return commands;
}

// A command the tool may send: a keyword, perhaps one argument of letters,
// digits and points, and its carriage return.
bool IsPlainCommand(const std::string& line) {
    const size_t blank = line.find(' ');
    const std::string keyword = line.substr(0, blank);
    if (keyword.find_first_not_of("abcdefghijklmnopqrstuvwxyz_0123456789SREV") != std::string::npos) return false;
    if (line.size() < 2 || line.compare(line.size() - 2, 2, "\\r") != 0) return false;
    if (blank == std::string::npos) return true;
    const std::string argument = line.substr(blank + 1, line.size() - blank - 3);
    return !argument.empty() &&
           argument.find_first_not_of("0123456789.abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") ==
               std::string::npos;
}

class BadInputTest : public ProgramTest {
protected:
    // Connect and Read, so that every list is filled and a Write can go out.
    void ConnectAndRead() {
        Press(program, kConnect);
        ASSERT_TRUE(StripIs(kLightGreen));
        Press(program, kRead);
        ASSERT_TRUE(WaitFor([&] { return Transcript().find("cfg_dstx\\r") != std::string::npos; }, 8000));
        ASSERT_TRUE(StripIs(kLightGreen));
    }
    // Opens the edit at `pt`, erases it and types `text`; returns what it holds.
    std::string TypeInto(POINT pt, const std::string& text) {
        Press(program, pt);
        if (!WaitFor([&] { return program.EditWindow() != nullptr; }, 3000)) return "(no edit)";
        ProgramDriver::KeyTo(program.EditWindow(), VK_END);
        program.Type(std::string(program.EditText().size(), '\b') + text);
        return program.EditText();
    }
    std::string PasteInto(POINT pt, const std::string& text) {
        const std::string typed = TypeInto(pt, "");
        if (!typed.empty() || !program.Paste(text)) return "(no paste)";
        return program.EditText();
    }
};

TEST_F(BadInputTest, LettersLongDigitsAndPastedJunk_EditsKeepWhatFits_WriteSendsOnlyPlainNumbers) {
    StartWithRadio(1);
    ConnectAndRead();
    const std::string digits20 = "12345678901234567890";
    // The address edits take digits only, typed or pasted.
    EXPECT_EQ("79", TypeInto(kLocalEdit, "7x9y"));
    ASSERT_TRUE(program.Paste("4x\r\n5"));
    EXPECT_EQ("79", program.EditText());
    EXPECT_EQ(digits20, TypeInto(kDestinationEdit, digits20));
    // A frequency edit keeps nine characters, typed or pasted, and a pasted
    // line break ends what it takes.
    EXPECT_EQ("123456789", TypeInto(kTxEdit1, digits20));
    program.Type(std::string(9, '\b'));
    ASSERT_TRUE(program.Paste(std::string(30, '4')));
    EXPECT_EQ("444444444", program.EditText());
    program.Type(std::string(9, '\b'));
    ASSERT_TRUE(program.Paste("415.5\r\ncfg_prtl 9"));
    EXPECT_EQ("415.5", program.EditText());
    // A letter in a frequency: the Write names the channel and sends nothing.
    EXPECT_EQ("43o.5", TypeInto(kTxEdit3, "43o.5"));
    size_t before = Transcript().size();
    Press(program, kWrite);
    HWND box = program.WaitForDialog(5000);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, ProgramDriver::DialogText(box).find("频道3: 无效！"))
        << ProgramDriver::DialogText(box);
    ProgramDriver::PressDialogButton(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 3000));
    EXPECT_TRUE(CommandsAfter(Transcript(), before).empty()) << Transcript().substr(before);

    EXPECT_EQ("430.5", TypeInto(kTxEdit3, "430.5"));
    before = Transcript().size();
    Press(program, kWrite);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("cfg_pwrl", before) != std::string::npos; }, 10000))
        << Transcript().substr(before);
    ASSERT_TRUE(StripIs(kLightGreen));
    const std::vector<std::string> sent = CommandsAfter(Transcript(), before);
    EXPECT_GE(sent.size(), 20u);
    for (const std::string& line : sent) EXPECT_TRUE(IsPlainCommand(line)) << line;
    const std::string state = SimProcess::ReadFile(statePath);
    EXPECT_EQ("415.50000", StateValue(state, "tx1"));
    EXPECT_EQ("430.50000", StateValue(state, "tx3"));
    EXPECT_EQ("79", StateValue(state, "local_address"));
    EXPECT_EQ("255", StateValue(state, "destination_address"));
    program.Capture().Save("main-bad-input.png");
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

TEST_F(BadInputTest, JunkProfileImported_WriteRefusesItsChannelAndSendsNothingOfItsText) {
    const std::string profile = SimProcess::UnixPathFor(TestComPort(1), "profile-junk.cfg");
    std::string junk = "Channel1,415.5\rcfg_prtl 9\r\r\n";
    for (int i = 0; i < 600; ++i) junk += static_cast<char>((i * 37 + 11) & 0xFF);
    junk += "\r\n" + std::string(5000, 'Q') + ",7\r\n";
    junk +=
        "Chanel2,499\r\nNonsense,1\r\nSRC,12\rcfg_sbau 5\r\nDST,abc\r\nProtocolType,2\rcfg_bw "
        "12.5\r\nLinkBaudRate,1\r\n";
    ASSERT_TRUE(SimProcess::WriteFile(profile, junk));
    StartWithRadio(1);
    ConnectAndRead();
    ASSERT_TRUE(program.ThroughFileDialog(kImport, SimProcess::WinePath(profile)));
    ASSERT_TRUE(StripIs(kLightGreen));
    size_t before = Transcript().size();
    Press(program, kWrite);
    HWND box = program.WaitForDialog(5000);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, ProgramDriver::DialogText(box).find("频道1: 无效！"))
        << ProgramDriver::DialogText(box);
    ProgramDriver::PressDialogButton(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 3000));
    EXPECT_TRUE(CommandsAfter(Transcript(), before).empty()) << Transcript().substr(before);
    // The keyboard focus is back in the channel the message named.
    ASSERT_TRUE(WaitFor([&] { return program.EditWindow() != nullptr; }, 3000));
    GUITHREADINFO thread{sizeof(GUITHREADINFO)};
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(program.Window(), nullptr), &thread));
    EXPECT_EQ(program.EditWindow(), thread.hwndFocus);
    RECT edit{};
    ::GetWindowRect(program.EditWindow(), &edit);
    ::MapWindowPoints(HWND_DESKTOP, program.Window(), reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_TRUE(edit.left <= kTxEdit1.x && kTxEdit1.x < edit.right) << edit.left << ".." << edit.right;

    EXPECT_EQ("415.5", TypeInto(kTxEdit1, "415.5"));
    before = Transcript().size();
    Press(program, kWrite);
    ASSERT_TRUE(WaitFor([&] { return Transcript().find("cfg_pwrl", before) != std::string::npos; }, 10000))
        << Transcript().substr(before);
    const std::string written = Transcript().substr(before);
    for (const char* injected : {"cfg_prtl 9", "cfg_sbau 5", "cfg_bw 12.5"})
        EXPECT_EQ(std::string::npos, written.find(injected)) << written;
    const std::string state = SimProcess::ReadFile(statePath);
    EXPECT_EQ("12", StateValue(state, "local_address"));
    EXPECT_EQ("0", StateValue(state, "destination_address"));
    EXPECT_EQ("3", StateValue(state, "protocol"));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

TEST_F(BadInputTest, RadioSilentMidReadAndMidWrite_PortGoneMidRead_FailureInBoundThenConnectWorks) {
    auto radio = [&](const std::string& fault) {
        sim.reset();
        sim = std::make_unique<SimProcess>(
            TestComPort(1), "--state " + statePath + " --transcript " + transcriptPath + " --fault " + fault);
        return sim->Started();
    };
    // Bounded: the first unanswered command ends the action.
    auto failsWithin = [&](POINT button, DWORD ms) {
        Press(program, button);
        return WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == kLightRed; }, ms);
    };
    // Connect and the Read's first nine queries are answered, then nothing.
    ASSERT_TRUE(radio("hangup=10"));
    ProgramDriver::WriteSettings(ProgramDriver::PortPosition(TestComPort(1)), -1, 1);
    ASSERT_TRUE(program.Start());
    Press(program, kConnect);
    ASSERT_TRUE(StripIs(kLightGreen));
    size_t before = Transcript().size();
    Press(program, kRead);
    // A second click while the first Read waits for the radio runs nothing.
    program.ClickNow(kRead.x, kRead.y);
    EXPECT_TRUE(WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == kLightRed; }, 2000));
    ProgramDriver::Sleep(1500);
    EXPECT_EQ(1u, Count(Transcript().substr(before), "cfg_ch_n\\r")) << Transcript().substr(before);

    // Connect, Read and the Write's first eight settings, then nothing.
    ASSERT_TRUE(radio("hangup=40"));
    ConnectAndRead();
    EXPECT_TRUE(failsWithin(kWrite, 2000));
    EXPECT_EQ("415.50000", StateValue(SimProcess::ReadFile(statePath), "tx1"));

    // The port goes away while a slow Read runs.
    ASSERT_TRUE(radio("delay=40"));
    Press(program, kConnect);
    ASSERT_TRUE(StripIs(kLightGreen));
    Press(program, kRead);
    ProgramDriver::Sleep(200);
    sim->Stop();
    EXPECT_TRUE(StripIs(kLightRed));

    // A new radio on the port: Disconnect and Connect work again.
    ASSERT_TRUE(radio("delay=0"));
    before = Transcript().size();
    Press(program, kDisconnect);
    ASSERT_TRUE(StripIs(kLightGreen));
    EXPECT_TRUE(WaitFor([&] { return Transcript().find("exit config mode", before) != std::string::npos; }, 3000));
    Press(program, kConnect);
    EXPECT_TRUE(WaitFor([&] { return Transcript().find("into config mode", before) != std::string::npos; }, 3000));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

// While a firmware download has the port, the radio commands and Import are
// refused; the download goes on and the window is idle after it.
TEST_F(FirmwareProgramTest, CommandsClickedDuringDownload_StartNothingThenTheWindowIsIdle) {
    StartDownload(100);
    for (POINT button : {kRead, kWrite, kConnect, kDisconnect, kImport}) Press(program, button);
    EXPECT_EQ(nullptr, program.WaitForDialog(500));
    // Still downloading: the clicks came while the window was busy.
    ASSERT_EQ(kProgressBlue, program.Capture().At(kStripLeft.x, kStripLeft.y));
    ASSERT_TRUE(WaitFor([&] { return program.Capture().At(kStrip.x, kStrip.y) == kLightGreen; }, 60000));
    EXPECT_EQ(image.substr(0, 256) + image.substr(4096), SimProcess::ReadFile(outPath));
    const size_t finished = Transcript().find("! boot loader left");
    ASSERT_NE(std::string::npos, finished);
    EXPECT_EQ(std::string::npos, Transcript().find("control\\r")) << "a command went out during the download";
    Press(program, kConnect);
    EXPECT_TRUE(WaitFor([&] { return Transcript().find("into config mode", finished) != std::string::npos; }, 3000));
    program.AltKey(VK_F4);
    EXPECT_TRUE(program.WaitForExit(8000));
}

}  // namespace
