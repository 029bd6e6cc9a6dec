// The main window in this process, over a port map of one port that has no
// device (COM19) and settings under a key of the test's own: texts and
// widths in both languages, menus, the channel range check, the outcome
// strip and the window's own message.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/DlgMain.h"
#include "tests/app/MainWindowTestSupport.h"
#include "app/UiEvents.h"
#include "radio/RadioConfig.h"
#include "testkit/LoomTestWindow.h"
#include "platform/Files.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

using namespace Loom;
using LoomTest::TestWindow;

namespace {

constexpr const char* kPortMapKey = "Software\\VelmoraTest\\DlgMainSerialMap";
constexpr const char* kSettingsKey = "Software\\VelmoraTest\\DlgMainSettings";

// Every test has a window of its own, made as the program makes it, with the
// settings key deleted first: a test depends on no other.
class DlgMainTest : public MainWindowFixture {
protected:
    void SetUp() override {
        window = OpenTestMainWindow(kPortMapKey, kSettingsKey);
        ASSERT_NE(nullptr, window);
        window->View().SetMessageSink(
            [this](const std::string& text, const std::string& caption) { messages.push_back(caption + "|" + text); });
        TestWindow::Pump();
        Paint();
    }
    // Typing in an edit: its text, and the change it tells the window of.
    void Type(CEditUI* edit, const char* text) {
        edit->SetText(text);
        Send(edit, "textchanged");
    }
    void Send(CControlUI* control, const char* type) { window->GetPaintManager().SendNotify(control, type); }
    static POINT Centre(CControlUI* control) {
        const RECT rc = control->GetPos();
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void MoveTo(CControlUI* control) {
        const POINT pt = Centre(control);
        ::SendMessageA(window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    }

    std::vector<std::string> messages;
};

// Everything the language switch writes, as one comparable record.
std::map<std::string, std::string> Snapshot(DlgMain& w) {
    std::map<std::string, std::string> s;
    int i = 0;
    for (const LanguageTable::Entry& e : w.Languages().Entries()) {
        s["text" + std::to_string(i)] = e.control->GetText();
        s["width" + std::to_string(i++)] = std::to_string(e.control->GetFixedWidth());
    }
    MainWindowControls& c = w.Controls();
    for (CControlUI* panel : {c.fileMenu, c.languageMenu, c.helpMenu}) {
        const SIZE xy = panel->GetFixedXY();
        s["panel" + std::to_string(i++)] = std::to_string(xy.cx) + "," + std::to_string(panel->GetFixedWidth());
    }
    for (CLabelAndComboUI* row : {c.protocolRow, c.currentChannelRow, c.workModeRow, c.linkBaudRow, c.rateRow}) {
        std::string items;
        for (int k = 0; k < row->GetCombo()->GetCount(); ++k) items += row->GetCombo()->GetItemAt(k)->GetText() + ";";
        s["combo" + std::to_string(i++)] = items + "@" + std::to_string(row->GetCombo()->GetCurSel());
    }
    s["unlock"] = c.serialUnlockButton->GetText() + std::to_string(c.serialUnlockButton->GetFixedWidth());
    s["snLabel"] = std::to_string(c.serialNumberRow->GetLabel()->GetFixedWidth());
    s["group"] = c.txGroup->GetTitleLabel()->GetText() + c.portGroup->GetTitleLabel()->GetText();
    s["tooltips"] = c.closeButton->GetToolTip() + c.hardwareRow->GetEdit()->GetToolTip();
    s["caption"] = Text::WindowText(w.GetHWND());
    return s;
}

TEST_F(DlgMainTest, StartUp_ChineseWithFirstPortAndRate38400) {
    MainWindowControls& c = C();
    EXPECT_EQ("文件", c.fileMenuHeader->GetText());
    EXPECT_EQ("语言", c.languageMenuHeader->GetText());
    EXPECT_EQ("帮助", c.helpMenuHeader->GetText());
    EXPECT_EQ("英语", c.languageItem->GetText());
    EXPECT_EQ("本地地址:", c.localAddressRow->GetLabel()->GetText());
    EXPECT_EQ("频道1:", c.txChannelRow[1]->GetLabel()->GetText());
    EXPECT_EQ("频道9:", c.rxChannelRow[9]->GetLabel()->GetText());
    EXPECT_EQ(" COM19", c.portRow->GetCombo()->GetText());
    EXPECT_EQ(" 38400", c.rateRow->GetCombo()->GetText());
    EXPECT_FALSE(c.txChannelRow[0]->IsEnabled());
    EXPECT_FALSE(c.serialNumberRow->IsEnabled());
    EXPECT_FALSE(c.firmwareRow->IsEnabled());
    EXPECT_TRUE(c.localAddressRow->GetEdit()->IsNumberOnly());
    EXPECT_EQ(4u, c.hardwareRow->GetEdit()->GetMaxChar());
    EXPECT_FALSE(c.linkBaudRow->GetCombo()->IsMouseEnabled());
    EXPECT_FALSE(c.fileMenu->IsVisible());
}

// The title bar and the window's caption carry the project version, in the
// form "V001.01.08" for "1.1.8".
TEST_F(DlgMainTest, Title_CarriesTheProjectVersionInBothLanguages) {
    int major = -1, minor = -1, patch = -1;
    ASSERT_EQ(3, std::sscanf(VELMORA_PROJECT_VERSION, "%d.%d.%d", &major, &minor, &patch));
    char version[32];
    std::snprintf(version, sizeof version, "-V%03d.%02d.%02d", major, minor, patch);
    for (const char* title : {"泰岚外置电台配置工具", "Velmora Configuration Tool"}) {
        EXPECT_EQ(std::string(title) + version, C().titleLabel->GetText());
        EXPECT_EQ(std::string(title) + version, Text::WindowText(window->GetHWND()));
        window->SwitchLanguage();
    }
}

TEST_F(DlgMainTest, LanguageSwitchTwice_RestoresEveryTextWidthAndList) {
    MainWindowControls& c = C();
    const auto before = Snapshot(*window);
    c.protocolRow->GetCombo()->SelectItem(3);
    c.txChannelRow[9]->GetEdit()->SetText("420.00000");
    window->SwitchLanguage();
    EXPECT_EQ("File", c.fileMenuHeader->GetText());
    EXPECT_EQ("Chinese", c.languageItem->GetText());
    EXPECT_EQ("work mode:", c.workModeRow->GetLabel()->GetText());
    EXPECT_EQ("destinetion:", c.destinationAddressRow->GetLabel()->GetText());
    EXPECT_EQ("Channel8:", c.rxChannelRow[8]->GetLabel()->GetText());
    EXPECT_EQ(58, c.txChannelRow[3]->GetLabel()->GetFixedWidth());
    EXPECT_EQ(100, c.protocolRow->GetLabel()->GetFixedWidth());
    EXPECT_EQ(60, c.hardwareRow->GetLabel()->GetFixedWidth());
    EXPECT_EQ(40, c.hardwareUnlockButton->GetFixedWidth());
    EXPECT_EQ(32, c.portRow->GetLabel()->GetFixedWidth());
    EXPECT_EQ(72, c.languageMenuHeader->GetFixedWidth());
    EXPECT_EQ(" TX only", c.workModeRow->GetCombo()->GetItemAt(0)->GetText());
    EXPECT_EQ(" Channel8", c.currentChannelRow->GetCombo()->GetItemAt(7)->GetText());
    EXPECT_EQ(124, c.helpMenu->GetFixedXY().cx);
    window->SwitchLanguage();
    EXPECT_EQ(before, Snapshot(*window));
    EXPECT_EQ(-1, c.protocolRow->GetCombo()->GetCurSel());
    EXPECT_EQ("", c.txChannelRow[9]->GetEdit()->GetText());
    EXPECT_EQ(0, c.portRow->GetCombo()->GetCurSel());
}

// A job runs on its own thread: its outcome comes as the window's message.
bool EndsItsJob(DlgMain& w) {
    return TestWindow::PumpUntil([&w] { return !w.IsRunningJob(); }, 10000);
}

TEST_F(DlgMainTest, ConnectOnMissingPort_ShowsFailureOnLightRedAndSaysWhy) {
    window->SwitchLanguage();
    Send(C().connectButton, "click");
    ASSERT_TRUE(EndsItsJob(*window));
    EXPECT_EQ("Connect Failure", C().statusLabel->GetText());
    EXPECT_EQ(0xFFFF9999u, C().statusLabel->GetBkColor());
    EXPECT_EQ("COM19 is not there\nPlug the adapter in, or choose its port", C().causeLabel->GetText());
    window->SwitchLanguage();
    Send(C().readButton, "click");
    ASSERT_TRUE(EndsItsJob(*window));
    EXPECT_EQ("读取失败", C().statusLabel->GetText());
    EXPECT_EQ(0u, C().causeLabel->GetText().find("COM19 不存在")) << C().causeLabel->GetText();
}

TEST_F(DlgMainTest, ChannelOutOfRange_NamesTheChannelAndStopsTheMenuItem) {
    MainWindowControls& c = C();
    window->SwitchLanguage();
    Type(c.txChannelRow[3]->GetEdit(), "500");
    Send(c.txChannelRow[3]->GetEdit(), "killfocus");
    Send(c.languageItem, "setfocus");
    ASSERT_EQ(1u, messages.size()) << messages[0];
    EXPECT_EQ("Error|TX Channel3: Invalid!", messages[0]);
    // The item was not dispatched: the language is still English.
    EXPECT_FALSE(window->IsChinese());
    EXPECT_EQ("500", c.txChannelRow[3]->GetEdit()->GetText());
}

// After the Write check's message the focus is on the field it named.
TEST_F(DlgMainTest, WriteRefusedByTheCheck_TheFocusGoesToTheFieldNamed) {
    MainWindowControls& c = C();
    for (int row = 1; row <= 8; ++row) {
        Type(c.txChannelRow[row]->GetEdit(), "435.00000");
        Type(c.rxChannelRow[row]->GetEdit(), row == 5 ? "500" : "435.00000");
    }
    c.minimizeButton->SetFocus();
    Send(c.writeButton, "click");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(c.rxChannelRow[5]->GetEdit(), window->GetPaintManager().GetFocus());
}

TEST_F(DlgMainTest, ChannelInRange_IsRewrittenWhenAnotherControlTakesTheFocus) {
    MainWindowControls& c = C();
    Type(c.rxChannelRow[2]->GetEdit(), "430.125");
    Send(c.rxChannelRow[2]->GetEdit(), "killfocus");
    // A second edit of the same group waits for the first one's check.
    Type(c.rxChannelRow[5]->GetEdit(), "999");
    Send(c.rxChannelRow[5]->GetEdit(), "killfocus");
    Send(c.bandwidthRow->GetCombo(), "setfocus");
    EXPECT_EQ("430.12500", c.rxChannelRow[2]->GetEdit()->GetText());
    Send(c.bandwidthRow->GetCombo(), "setfocus");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("999", c.rxChannelRow[5]->GetEdit()->GetText());
}

// The About item opens its dialog modally: a timer that runs inside the
// dialog's own message loop records it and closes it.
bool aboutSeen = false;
VOID CALLBACK CloseAbout(HWND, UINT, UINT_PTR id, DWORD) {
    HWND about = ::FindWindowW(nullptr, L"关于...");
    if (about == nullptr || !::IsWindowVisible(about)) return;
    aboutSeen = ::GetWindow(about, GW_OWNER) != nullptr && !::IsWindowEnabled(::GetWindow(about, GW_OWNER));
    ::KillTimer(nullptr, id);
    ::PostMessageW(about, WM_CLOSE, 2, 0);
}

TEST_F(DlgMainTest, MenuHeaderFocused_HoverOpensAndSwitchesPanels) {
    MainWindowControls& c = C();
    c.fileMenuHeader->SetFocus();
    EXPECT_TRUE(window->IsMenuMode());
    EXPECT_FALSE(c.fileMenu->IsVisible());
    MoveTo(c.fileMenuHeader);
    EXPECT_TRUE(c.fileMenu->IsVisible());
    EXPECT_EQ(0, window->ActiveMenu());
    MoveTo(c.helpMenuHeader);
    EXPECT_TRUE(c.helpMenu->IsVisible());
    EXPECT_FALSE(c.fileMenu->IsVisible());
    EXPECT_EQ(std::string(kMenuOpenImage), c.helpMenuHeader->GetNormalImage());
    EXPECT_EQ("", c.fileMenuHeader->GetHotImage());
    aboutSeen = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseAbout);
    c.aboutItem->SetFocus();  // returns when the About dialog is gone
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(aboutSeen);
    EXPECT_TRUE(::IsWindowEnabled(window->GetHWND()));
    EXPECT_FALSE(window->IsMenuMode());
    EXPECT_FALSE(c.helpMenu->IsVisible());
    EXPECT_EQ(-1, window->ActiveMenu());
    EXPECT_EQ(std::string(kMenuHotImage), c.helpMenuHeader->GetHotImage());
}

TEST_F(DlgMainTest, DefaultButton_FillsRowsZeroToEightOnly) {
    MainWindowControls& c = C();
    c.rxChannelRow[9]->GetEdit()->SetText("");
    Send(c.rxDefaultButton, "click");
    EXPECT_EQ("", c.rxChannelRow[9]->GetEdit()->GetText());
    for (int row = 0; row <= 8; ++row) EXPECT_EQ(9u, c.rxChannelRow[row]->GetEdit()->GetText().size()) << row;
}

TEST_F(DlgMainTest, UiEvent_ProgressBarBusyStateAndForeignArguments) {
    MainWindowControls& c = C();
    HWND wnd = window->GetHWND();
    ::SendMessageA(wnd, kWmAppUiEvent, 2500, kUiProgress);
    EXPECT_EQ(-1, c.statusLabel->GetProgress()) << "no download, no bar";
    ::SendMessageA(wnd, kWmAppUiEvent, 1, kUiBusy);
    ::SendMessageA(wnd, kWmAppUiEvent, 2500, kUiProgress);
    EXPECT_EQ(2500, c.statusLabel->GetProgress());
    EXPECT_EQ(0u, c.statusLabel->GetText().find("25%")) << c.statusLabel->GetText();
    EXPECT_FALSE(c.readItem->IsEnabled());
    EXPECT_FALSE(c.importButton->IsEnabled());
    EXPECT_FALSE(c.exportItem->IsEnabled());
    EXPECT_TRUE(window->IsDownloading());
    // Commands are refused while the download has the port.
    const std::string shown = c.statusLabel->GetText();
    Send(c.exportItem, "setfocus");
    EXPECT_EQ(shown, c.statusLabel->GetText());
    ::SendMessageA(wnd, kWmAppUiEvent, 0, kUiBusy);
    EXPECT_TRUE(c.readItem->IsEnabled());
    EXPECT_TRUE(c.importButton->IsEnabled());
    // A control the window does not know is never touched.
    int bogus = 0;
    ::SendMessageA(wnd, kWmAppUiEvent, reinterpret_cast<WPARAM>(&bogus), kUiFailure);
    EXPECT_EQ(shown, c.statusLabel->GetText());
    ::SendMessageA(wnd, kWmAppUiEvent, reinterpret_cast<WPARAM>(c.firmwareItem), kUiSuccess);
    EXPECT_EQ("固件升级成功", c.statusLabel->GetText());
    EXPECT_EQ(-1, c.statusLabel->GetProgress());
    // The download's end carries nothing of its own: without an outcome left
    // by a download it changes nothing.
    ::SendMessageA(wnd, kWmAppUiEvent, reinterpret_cast<WPARAM>(&bogus), kUiFirmwareEnded);
    EXPECT_EQ("固件升级成功", c.statusLabel->GetText());
}

}  // namespace

namespace {

// The rows show the settings: a text shown over a list's selection, a
// refilled list, a locked link rate; what the user chooses goes back.
TEST_F(DlgMainTest, Rows_ShowTheSettingsAndTakeTheUsersChoice) {
    MainWindowControls& c = C();
    RadioSettings s = window->Settings();
    RadioConfig::Select(s, ListField::Protocol, 1);
    s.List(ListField::Protocol).shownOver = " UNKNOW";
    s.List(ListField::Protocol).hasShownOver = true;
    s.List(ListField::LinkBaudRate).Fill({"UNKNOW"});
    window->ApplySettings(s);
    EXPECT_EQ(" UNKNOW", c.protocolRow->GetCombo()->GetText());
    EXPECT_EQ(1, c.protocolRow->GetCombo()->GetCurSel());
    ASSERT_EQ(1, c.linkBaudRow->GetCombo()->GetCount());
    EXPECT_EQ("", c.linkBaudRow->GetCombo()->GetText());
    // The user's choice: the selection and the rule it runs (SATEL at
    // 12.5 kHz locks the link rate on 9600).
    c.bandwidthRow->GetCombo()->SelectItem(0);
    c.protocolRow->GetCombo()->SelectItem(8);
    EXPECT_EQ(8, window->Settings().Selection(ListField::Protocol));
    EXPECT_EQ(" SATEL", c.protocolRow->GetCombo()->GetText());
    EXPECT_EQ(" 9600", c.linkBaudRow->GetCombo()->GetText());
    EXPECT_FALSE(c.linkBaudRow->GetCombo()->IsMouseEnabled());
}

}  // namespace

namespace {

// Handles every waiting message; true when one of them ended the program.
bool PumpEndsTheProgram() {
    bool quit = false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return quit;
}

// A job's and the search's end are posted, and the system hands posted
// messages out before input: Escape pressed while the window still showed
// them running is handled after their end, and must still only cancel.
TEST_F(DlgMainTest, EscapePressedDuringAJobOrASearch_HandledAfterItsEnd_OnlyCancels) {
    const HWND wnd = window->GetHWND();
    for (CControlUI* item : {static_cast<CControlUI*>(C().readItem), static_cast<CControlUI*>(C().findItem)}) {
        const long last = item == C().readItem ? kUiJobDone : kUiSearchDone;
        Send(item, "setfocus");
        ASSERT_TRUE(window->IsRunningJob() || window->IsSearching());
        std::vector<MSG> held;
        const DWORD start = ::GetTickCount();
        while ((held.empty() || held.back().lParam != last) && ::GetTickCount() - start < 10000) {
            MSG msg;
            if (::PeekMessageW(&msg, wnd, kWmAppUiEvent, kWmAppUiEvent, PM_REMOVE))
                held.push_back(msg);
            else
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
        }
        ASSERT_FALSE(held.empty());
        ASSERT_EQ(last, held.back().lParam);
        for (const MSG& msg : held) ::PostMessageW(wnd, msg.message, msg.wParam, msg.lParam);
        ::PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_FALSE(PumpEndsTheProgram());
        EXPECT_FALSE(window->IsSearching());
        EXPECT_FALSE(window->IsRunningJob());
    }
}

// The firmware file dialog is cancelled by a timer as soon as it shows; it
// records whether the window had its port commands off by then.
MainWindowControls* firmwareControls = nullptr;
bool firmwareDialogSeen = false;
bool commandsOffWhileChoosing = false;
VOID CALLBACK CancelFirmwareDialog(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND dialog = ::FindWindowA("#32770", nullptr);
    if (dialog == nullptr || !::IsWindowVisible(dialog)) return;
    ::KillTimer(nullptr, id);
    firmwareDialogSeen = true;
    const MainWindowControls& c = *firmwareControls;
    commandsOffWhileChoosing = !c.readItem->IsEnabled() && !c.connectButton->IsEnabled() && !c.findItem->IsEnabled();
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(DlgMainTest, FirmwareItem_TheWindowIsBusyFromTheClickUntilTheChoiceIsCancelled) {
    firmwareControls = &C();
    firmwareDialogSeen = commandsOffWhileChoosing = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CancelFirmwareDialog);
    Send(C().firmwareItem, "setfocus");
    EXPECT_TRUE(TestWindow::PumpUntil([] { return firmwareDialogSeen; }, 10000));
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(commandsOffWhileChoosing);
    EXPECT_TRUE(TestWindow::PumpUntil([this] { return C().readItem->IsEnabled(); }, 10000));
    EXPECT_FALSE(window->IsDownloading());
}

// The port list follows what Windows announces and what the box finds when
// it opens: the chosen port stays chosen by its name, one that went is said
// (in the language switched to) and taken again when it is back, and the
// radio buttons follow whether any port is left.
TEST_F(DlgMainTest, PortsComeAndGo_TheChoiceFollowsThePortsName) {
    CComboUI* box = C().portRow->GetCombo();
    auto announce = [this](WPARAM change) {
        ::SendMessageW(window->GetHWND(), WM_DEVICECHANGE, change, 0);
        TestWindow::Pump();
    };
    auto entries = [box] {
        std::string all;
        for (int i = 0; i < box->GetCount(); ++i) all += box->GetItemAt(i)->GetText() + ";";
        return all;
    };
    MappedPort arrived(kPortMapKey, "\\Device\\Serial0", 5);
    announce(DBT_DEVICEARRIVAL);
    EXPECT_EQ(" COM5; COM19;", entries());
    EXPECT_EQ(" COM19", box->GetText());

    MappedPort own(kPortMapKey, "\\Device\\Serial18", 19);
    own.Remove();
    announce(DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(" COM5;", entries());
    EXPECT_EQ(-1, box->GetCurSel()) << "nothing rather than another port";
    EXPECT_EQ("COM19 已移除", C().statusLabel->GetText());
    window->SwitchLanguage();
    EXPECT_EQ("COM19 removed", C().statusLabel->GetText());
    EXPECT_EQ(0u, C().causeLabel->GetText().find("COM19 is no longer on this PC")) << C().causeLabel->GetText();

    MappedPort back(kPortMapKey, "\\Device\\Serial18", 19);
    announce(DBT_DEVNODES_CHANGED);
    EXPECT_EQ(" COM19", box->GetText());
    EXPECT_EQ("COM19 is back", C().statusLabel->GetText());

    back.Remove();
    arrived.Remove();
    announce(DBT_DEVNODES_CHANGED);
    EXPECT_EQ("", entries());
    EXPECT_FALSE(C().connectButton->IsEnabled());
    EXPECT_FALSE(C().readButton->IsEnabled());

    // Unannounced, the port is found when the box opens; an empty box takes
    // it as at start-up, and the buttons come back.
    MappedPort plugged(kPortMapKey, "\\Device\\Serial3", 7);
    ASSERT_TRUE(box->Activate());
    EXPECT_EQ(" COM7;", entries());
    EXPECT_EQ(" COM7", box->GetText());
    EXPECT_TRUE(C().connectButton->IsEnabled());
    if (HWND popup = box->GetDropDownWindow()) ::SendMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    TestWindow::Pump();
}

// The guide opens with the program Windows has for .html pages, in the
// window's language, from F1 and from the Help menu; a guide that is not
// there is said, not opened. The test's own handler, registered for the
// user, writes down the page it was given.
TEST_F(DlgMainTest, UserGuide_F1AndTheMenuOpenThePageOfTheWindowsLanguage) {
    wchar_t temp[MAX_PATH] = L"";
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    const std::string folder = Text::Narrow(temp) + "velmora-guide";
    const std::string opened = folder + "\\opened.txt";
    for (const char* language : {"", "\\en", "\\zh"})
        ::CreateDirectoryW(Text::Widen(folder + language).c_str(), nullptr);
    for (const char* page : {"\\en\\index.html", "\\zh\\index.html"}) {
        std::FILE* file = Text::OpenFile(folder + page, "wb");
        ASSERT_NE(nullptr, file);
        std::fclose(file);
    }
    // Per machine: Wine looks the association up in the classes of the
    // machine. What .html named before is put back afterwards.
    struct Association {
        std::string before;
        Association(const std::string& command) {
            char value[256] = {};
            LONG size = sizeof value - 1;
            if (::RegQueryValueA(HKEY_CLASSES_ROOT, ".html", value, &size) == ERROR_SUCCESS) before = value;
            ::RegSetValueA(HKEY_CLASSES_ROOT, "VelmoraTest.Html\\shell\\open\\command", REG_SZ, command.c_str(),
                           static_cast<DWORD>(command.size()));
            ::RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, "VelmoraTest.Html", 16);
        }
        ~Association() {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "VelmoraTest.Html");
            if (!before.empty())
                ::RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, before.c_str(), static_cast<DWORD>(before.size()));
        }
    } association("cmd.exe /c echo %1> \"" + opened + "\"");
    auto pageOpened = [&] {
        std::string text;
        EXPECT_TRUE(TestWindow::PumpUntil(
            [&] {
                std::FILE* file = Text::OpenFile(opened, "rb");
                if (file == nullptr) return false;
                char line[512] = {};
                text.assign(line, std::fread(line, 1, sizeof line - 1, file));
                std::fclose(file);
                return text.find(".html") != std::string::npos;
            },
            20000));
        Text::RemoveFile(opened);
        return text;
    };

    ::DestroyWindow(window->GetHWND());
    window.reset();
    window = OpenTestMainWindow(kPortMapKey, kSettingsKey, 19, folder.c_str());
    ASSERT_NE(nullptr, window);
    window->View().SetMessageSink([this](const std::string& text, const std::string&) { messages.push_back(text); });
    Text::RemoveFile(opened);
    ::SendMessageW(window->GetHWND(), WM_KEYDOWN, VK_F1, 0);
    EXPECT_NE(std::string::npos, pageOpened().find("zh\\index.html"));
    window->SwitchLanguage();
    Send(C().guideItem, "setfocus");
    EXPECT_NE(std::string::npos, pageOpened().find("en\\index.html"));

    Text::RemoveFile(folder + "\\en\\index.html");
    ::SendMessageW(window->GetHWND(), WM_KEYDOWN, VK_F1, 0);
    ASSERT_EQ(1u, messages.size()) << messages[0];
    EXPECT_NE(std::string::npos, messages[0].find("The user guide is not beside the program")) << messages[0];
    EXPECT_EQ(0u, messages[0].find(folder + "\\en\\index.html")) << messages[0];
}

}  // namespace
