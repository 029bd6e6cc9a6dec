#include "app/DlgMain.h"

#include "app/DlgAbout.h"

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "app/ProgramVersion.h"
#include "app/WindowSkin.h"
#include "radio/RadioTables.h"
#include "serial/PortList.h"
#include "serial/PortSelection.h"
#include "radio/UiEvents.h"
#include "platform/LogFolder.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

using namespace Loom;

namespace {

constexpr DWORD kSuccessColour = 0xFF99FF99, kFailureColour = 0xFFFF9999, kProgressColour = 0xFF3333FF;
constexpr DWORD kSearchColour = 0xFFFFFF99;
constexpr int kStatusWidth = 216;
constexpr int kSmallFont = 2;  // the skin's third font, 11 pixels

const char* Pick(bool chinese, const char* zh, const char* en) { return chinese ? zh : en; }

void SetPanelPos(CControlUI* panel, const char* pos) { panel->SetAttribute("pos", pos); }

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

}  // namespace

DlgMain::DlgMain(Places places)
    : WindowImplBase(kDesignWidth, kDesignHeight), places_(places), exchange_(*this), port_(this) {}

DlgMain::~DlgMain() {
    StopSearchThread();
    CancelDownload();
    if (initialised_) SaveSettings(*view_, places_.settingsKey);
    port_.Close();
}

// Made hidden and shown once centred: a shown window that moves costs the
// window system a round of its own, and is seen where it was made first.
bool DlgMain::Open() {
    if (Create(nullptr, MainWindowTitle(true).c_str(), 0x00CF0000, 0x00060000, 0, 0, 670, 444) == nullptr) return false;
    CenterWindow();
    ::ShowWindow(GetHWND(), SW_SHOW);
    return true;
}

std::string DlgMain::GetSkin(int width, int height) const { return BuildWindowSkin(width, height); }

void DlgMain::InitWindow() {
    auto* root = static_cast<CContainerUI*>(paintManager_.FindControl("main"));
    if (root == nullptr) return;
    BuildMainWindowTree(*root, c_);
    languageTable_.Build(c_);
    view_ = std::make_unique<MainConfigView>(c_, GetHWND());
    config_ = std::make_unique<RadioConfig>(*view_);
    actions_ = std::make_unique<RadioActions>(*view_, *config_, exchange_, *this);
    fileDialogs_ = std::make_unique<ConfigFileDialogs>(GetHWND(), *view_);
    fileCommands_ = std::make_unique<ConfigFileCommands>(*view_, *this, *fileDialogs_);

    FillPortList(*view_, places_.portMapKey);
    FillLists();
    c_.localAddressRow->GetEdit()->SetNumberOnly(true);
    c_.destinationAddressRow->GetEdit()->SetNumberOnly(true);
    c_.serialNumberRow->GetEdit()->SetMaxChar(RadioActions::kSerialNumberLength);
    c_.hardwareRow->GetEdit()->SetMaxChar(RadioActions::kHardwareVersionLength);
    for (CLabelAndEditUI* row : {c_.firmwareRow, c_.subFirmwareRow, c_.hardwareRow, c_.serialNumberRow})
        row->SetEnabled(false);

    remembered_ = LoadSettings(*view_, places_.settingsKey);
    // A stored choice wins; a first start speaks the display language.
    if (!remembered_.chinese) view_->SetChinese(ChineseForDisplayLanguage(::GetUserDefaultUILanguage()));
    // The switch flips the flag: flip it once beforehand so that it lands
    // on the remembered language.
    view_->SetChinese(!view_->IsChinese());
    SwitchLanguage();
    ApplyRememberedRate(remembered_, *view_);
    initialised_ = true;
    StartTrafficLog();

    worker_ = std::make_unique<FirmwareWorker>([this] { RunFirmwareDownload(); });
    worker_->Start();
}

void DlgMain::FillLists() {
    config_->FillParameterLists();
    for (CLabelAndEditUI* row : {c_.txChannelRow[0], c_.txChannelRow[9]}) {
        row->SetEnabled(false);
        row->GetEdit()->SetText("");
    }
    MainConfigView::FillCombo(c_.rateRow->GetCombo(), {" 9600", " 19200", " 38400", " 57600", " 115200"});
    c_.rateRow->GetCombo()->SelectItem(2);
    c_.serialUnlockButton->SetVisible(true);
    c_.hardwareUnlockButton->SetVisible(true);
    for (CLabelAndComboUI* row : {c_.protocolRow, c_.linkBaudRow, c_.portBaudRow})
        row->SetEnabled(row->GetCombo()->GetCount() > 0);
}

void DlgMain::ApplyLanguageWidths(bool chinese) {
    const int channel = chinese ? 36 : 58;
    languageTable_.SetWidthOver(c_.txChannelRow[0]->GetLabel(), c_.txChannelRow[9]->GetLabel(), channel);
    languageTable_.SetWidthOver(c_.rxChannelRow[0]->GetLabel(), c_.rxChannelRow[9]->GetLabel(), channel);
    languageTable_.SetWidthOver(c_.protocolRow->GetLabel(), c_.subFirmwareRow->GetLabel(), chinese ? 76 : 100);
    c_.portRow->GetLabel()->SetFixedWidth(chinese ? 42 : 32);
    c_.rateRow->GetLabel()->SetFixedWidth(chinese ? 42 : 32);
    c_.languageMenuHeader->SetFixedWidth(chinese ? 42 : 72);
    SetPanelPos(c_.fileMenu, chinese ? kFileMenuPos : kFileMenuPosEnglish);
    SetPanelPos(c_.languageMenu, chinese ? "52,63,142,85" : "52,63,172,85");
    SetPanelPos(c_.helpMenu, chinese ? kHelpMenuPos : kHelpMenuPosEnglish);
}

void DlgMain::SwitchLanguage() {
    const bool chinese = !view_->IsChinese();
    view_->SetChinese(chinese);
    for (CButtonUI* unlock : {c_.serialUnlockButton, c_.hardwareUnlockButton})
        unlock->SetText(Pick(chinese, "解锁", "Unlock"));
    c_.minimizeButton->SetToolTip(Pick(chinese, "最小化", "Minimize"));
    c_.closeButton->SetToolTip(Pick(chinese, "关闭", "Close"));
    c_.hardwareRow->GetEdit()->SetToolTip(Pick(chinese, "最长4个字符", "Max Char:4"));
    c_.portGroup->SetTitle(Pick(chinese, "端口设置", "Communication Port"));
    c_.txGroup->SetTitle(Pick(chinese, "发射频率(MHZ)", "TX Frequency(MHZ)"));
    c_.rxGroup->SetTitle(Pick(chinese, "接收频率(MHZ)", "RX Frequency(MHZ)"));
    ApplyLanguageWidths(chinese);
    languageTable_.ApplyTexts(chinese);
    FillLists();
    for (CButtonUI* unlock : {c_.serialUnlockButton, c_.hardwareUnlockButton}) unlock->SetFixedWidth(chinese ? 26 : 40);
    c_.serialNumberRow->GetLabel()->SetFixedWidth(chinese ? 50 : 60);
    c_.hardwareRow->GetLabel()->SetFixedWidth(chinese ? 50 : 60);
    // "硬件版本:" is wider than its 50 pixels in the window's font and ran
    // under the Unlock button beside it; the menu items' smaller font fits it
    // and keeps the edits of the column aligned.
    c_.hardwareRow->GetLabel()->SetFont(chinese ? kSmallFont : -1);
    view_->FillList(ListField::WorkMode, RadioTables::WorkModeItems(view_->GetLanguage()));
    ::SetWindowTextW(GetHWND(), Text::Widen(MainWindowTitle(chinese)).c_str());
}

// ---- Notifications ----

void DlgMain::Notify(NotifyMsg& msg) {
    if (!initialised_) {
        WindowImplBase::Notify(msg);
        return;
    }
    if (msg.type == "click") {
        OnClick(msg.sender);
    } else if (msg.type == "itemselect") {
        OnItemSelect(msg.sender);
    } else if (msg.type == "killfocus") {
        if (!OnKillFocusNotify(msg.sender)) return;
    } else if (msg.type == "setfocus") {
        OnSetFocusNotify(msg.sender);
    } else if (msg.type == "dropdown") {
        CheckPendingChannel(msg.sender);
    }
    WindowImplBase::Notify(msg);
}

bool DlgMain::OnClick(CControlUI* sender) {
    if (sender == c_.closeButton) {
        EndProgram();
    } else if (sender == c_.minimizeButton) {
        ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (sender == c_.txDefaultButton || sender == c_.rxDefaultButton) {
        config_->fillDefaultFrequencies(sender == c_.txDefaultButton ? Group::Transmit : Group::Receive);
    } else if (sender == c_.serialUnlockButton) {
        config_->UnlockSerialNumber();
    } else if (sender == c_.hardwareUnlockButton) {
        config_->UnlockHardware();
    } else if (sender == c_.connectButton || sender == c_.disconnectButton || sender == c_.readButton ||
               sender == c_.writeButton || sender == c_.importButton || sender == c_.exportButton) {
        RunCommand(sender);
    } else {
        return false;
    }
    return true;
}

void DlgMain::OnItemSelect(CControlUI* sender) {
    ListField list;
    if (view_->ListOf(sender, list)) config_->itemSelected(list);
}

bool DlgMain::IsBlockedWhileDownloading(const CControlUI* control) const {
    for (const CControlUI* blocked :
         {static_cast<CControlUI*>(c_.connectButton), static_cast<CControlUI*>(c_.disconnectButton),
          static_cast<CControlUI*>(c_.readButton), static_cast<CControlUI*>(c_.writeButton),
          static_cast<CControlUI*>(c_.importButton), static_cast<CControlUI*>(c_.exportButton),
          static_cast<CControlUI*>(c_.connectItem), static_cast<CControlUI*>(c_.disconnectItem),
          static_cast<CControlUI*>(c_.readItem), static_cast<CControlUI*>(c_.writeItem),
          static_cast<CControlUI*>(c_.importItem), static_cast<CControlUI*>(c_.exportItem),
          static_cast<CControlUI*>(c_.firmwareItem), static_cast<CControlUI*>(c_.findItem),
          static_cast<CControlUI*>(c_.verifyItem)})
        if (control == blocked) return true;
    return false;
}

// The radio commands, Import and Export, by button or by menu item alike.
// None of them runs while a download or the radio search has the port.
void DlgMain::RunCommand(CControlUI* control) {
    if (IsPortBusy() && IsBlockedWhileDownloading(control)) return;
    bool radioCommand = true;
    if (control == c_.connectButton || control == c_.connectItem)
        actions_->EnterConfigMode();
    else if (control == c_.disconnectButton || control == c_.disconnectItem)
        actions_->ExitConfigMode();
    else if (control == c_.readButton || control == c_.readItem)
        actions_->ReadFromRadio();
    else if (control == c_.writeButton || control == c_.writeItem)
        actions_->WriteToRadio();
    else if (control == c_.verifyItem)
        actions_->WriteAndVerify();
    else
        radioCommand = false;
    if (radioCommand) DropInputMadeWhileBusy();
    if (control == c_.findItem) StartFindRadio();
    if (control == c_.importButton || control == c_.importItem) fileCommands_->importConfig();
    if (control == c_.exportButton || control == c_.exportItem) fileCommands_->exportConfig();
}

// A radio command holds the window until the radio has answered or its
// bound has passed. Clicks and keys made meanwhile were made at a window
// that could not answer them: their presses are dropped, so that an
// impatient second click does not run the command again (and wait its bound
// again) once the first ends, and an Escape does not end the program. Only
// presses go, at the window and at its children (the edit being typed in):
// releases stay, since the press that started the command (a menu item runs
// on its press) still has its release to come.
void DlgMain::DropInputMadeWhileBusy() {
    const DWORD now = ::GetTickCount();
    std::vector<HWND> windows{GetHWND()};
    ::EnumChildWindows(GetHWND(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    // Sent messages wait: whoever waits for this window to be idle sees it
    // only after the drop, and its next press comes after `now`.
    constexpr UINT kQueues = PM_QS_INPUT | PM_QS_POSTMESSAGE;
    MSG msg;
    for (HWND wnd : windows) {
        for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_KEYDOWN, WM_CHAR,
                           WM_SYSKEYDOWN, WM_SYSCHAR})
            while (::PeekMessageW(&msg, wnd, press, press, PM_NOREMOVE | kQueues) &&
                   static_cast<LONG>(msg.time - now) < 0)
                ::PeekMessageW(&msg, wnd, press, press, PM_REMOVE | kQueues);
    }
}

// ---- Channel range check ----

bool DlgMain::ChannelOf(const CControlUI* edit, Group& group, int& row) const {
    for (int i = 0; i < 10; ++i) {
        if (c_.txChannelRow[i]->GetEdit() == edit || c_.rxChannelRow[i]->GetEdit() == edit) {
            group = c_.txChannelRow[i]->GetEdit() == edit ? Group::Transmit : Group::Receive;
            row = i;
            return true;
        }
    }
    return false;
}

// A channel edit that loses the focus awaits its check, unless an edit of
// its group already does; then the notification goes no further.
bool DlgMain::OnKillFocusNotify(CControlUI* sender) {
    Group group;
    int row;
    if (!ChannelOf(sender, group, row)) return true;
    bool* pending = group == Group::Transmit ? txPending_ : rxPending_;
    if (std::any_of(pending, pending + 10, [](bool p) { return p; })) return false;
    pending[row] = true;
    return true;
}

bool DlgMain::CheckPendingChannel(const CControlUI* sender) {
    for (int i = 0; i < 10; ++i) {
        for (Group group : {Group::Transmit, Group::Receive}) {
            bool* pending = group == Group::Transmit ? txPending_ : rxPending_;
            CLabelAndEditUI* row = (group == Group::Transmit ? c_.txChannelRow : c_.rxChannelRow)[i];
            if (!pending[i] || row->GetEdit() == sender) continue;
            pending[i] = false;
            return config_->validateFrequencyField(group, i);
        }
    }
    return true;
}

bool DlgMain::IsRangeCheckExempt(const CControlUI* sender) const {
    const CControlUI* exempt[] = {c_.closeButton,
                                  c_.minimizeButton,
                                  c_.protocolRow->GetCombo(),
                                  c_.currentChannelRow->GetCombo(),
                                  c_.portBaudRow->GetCombo(),
                                  c_.linkBaudRow->GetCombo(),
                                  c_.workModeRow->GetCombo(),
                                  c_.highPowerRow->GetCombo(),
                                  c_.lowPowerRow->GetCombo(),
                                  c_.portRow->GetCombo(),
                                  c_.rateRow->GetCombo(),
                                  c_.txDefaultButton,
                                  c_.rxDefaultButton,
                                  c_.connectButton,
                                  c_.disconnectButton,
                                  c_.readButton,
                                  c_.writeButton};
    return std::find(std::begin(exempt), std::end(exempt), sender) != std::end(exempt);
}

void DlgMain::OnSetFocusNotify(CControlUI* sender) {
    if (!IsRangeCheckExempt(sender) && !CheckPendingChannel(sender)) return;
    CloseMenus();
    if (DispatchMenuItem(sender))
        ::PostMessageW(GetHWND(), kWmAppUiEvent, reinterpret_cast<WPARAM>(sender), kUiRefresh);
}

// ---- Menus ----

bool DlgMain::IsHeaderFocused() const {
    const CControlUI* focus = paintManager_.GetFocus();
    return focus != nullptr &&
           (focus == c_.fileMenuHeader || focus == c_.languageMenuHeader || focus == c_.helpMenuHeader);
}

void DlgMain::CloseMenus() {
    if (IsHeaderFocused()) {
        menuMode_ = true;
        return;
    }
    menuMode_ = false;
    for (CControlUI* panel : {c_.fileMenu, c_.languageMenu, c_.helpMenu}) panel->SetVisible(false);
    for (CButtonUI* header : {c_.fileMenuHeader, c_.languageMenuHeader, c_.helpMenuHeader}) {
        header->SetHotImage(kMenuHotImage);
        header->SetNormalImage("");
    }
    activeMenu_ = -1;
}

void DlgMain::HoverMenu(POINT pt) {
    CButtonUI* headers[] = {c_.fileMenuHeader, c_.languageMenuHeader, c_.helpMenuHeader};
    CControlUI* panels[] = {c_.fileMenu, c_.languageMenu, c_.helpMenu};
    CControlUI* under = paintManager_.FindControl(pt);
    for (int k = 0; k < 3; ++k) {
        if (under != headers[k]) continue;
        for (int i = 0; i < 3; ++i) panels[i]->SetVisible(i == k);
        if (k != activeMenu_) {
            activeMenu_ = k;
            for (int i = 0; i < 3; ++i) {
                headers[i]->SetHotImage(i == k ? kMenuOpenImage : "");
                headers[i]->SetNormalImage(i == k ? kMenuOpenImage : "");
            }
        }
        return;
    }
}

bool DlgMain::DispatchMenuItem(CControlUI* item) {
    if (item == c_.exitItem) {
        EndProgram();
    } else if (item == c_.languageItem) {
        SwitchLanguage();
    } else if (item == c_.aboutItem) {
        DlgAbout::Show(GetHWND(), IsChinese());
    } else if (item == c_.logFolderItem) {
        OpenLogFolder();
    } else if (item == c_.firmwareItem) {
        StartFirmwareDownload();
    } else if (item == c_.connectItem || item == c_.readItem || item == c_.writeItem || item == c_.disconnectItem ||
               item == c_.importItem || item == c_.exportItem || item == c_.findItem || item == c_.verifyItem) {
        RunCommand(item);
    } else {
        return false;
    }
    return true;
}

// ---- Outcome, progress, busy state ----

CControlUI* DlgMain::ControlOf(ActionControl control) const {
    switch (control) {
    case ActionControl::Connect:
        return c_.connectButton;
    case ActionControl::Disconnect:
        return c_.disconnectButton;
    case ActionControl::Read:
        return c_.readButton;
    case ActionControl::Write:
        return c_.writeButton;
    case ActionControl::Import:
        return c_.importButton;
    case ActionControl::Export:
        return c_.exportButton;
    case ActionControl::Firmware:
        return c_.firmwareItem;
    case ActionControl::WriteAndVerify:
        return c_.verifyItem;
    }
    return c_.connectButton;
}

void DlgMain::ShowResult(bool success, ActionControl control) { ShowOutcome(success, ControlOf(control)); }

void DlgMain::ShowOutcome(bool success, CControlUI* control) {
    ShowStrip(ComposeResultText(control->GetText(), success, view_->GetLanguage()),
              success ? kSuccessColour : kFailureColour);
    // The search thread owns the port until it ends.
    if (!searching_) port_.Close();
}

void DlgMain::ShowStrip(const std::string& text, DWORD colour) {
    c_.statusLabel->SetPadding(RECT{0, 0, 0, 0});
    c_.statusLabel->SetText(text);
    c_.statusLabel->SetBkColor(colour);
}

void DlgMain::ShowProgress(int value) {
    value = std::clamp(value, 0, 10000);
    c_.statusLabel->SetText("");
    c_.statusLabel->SetPadding(RECT{0, 0, (10000 - value) * kStatusWidth / 10000, 0});
    c_.statusLabel->SetBkColor(kProgressColour);
}

void DlgMain::SetBusy(bool on) {
    // Busy from the firmware click on: the download's own busy-on changes nothing.
    const bool already = downloading_;
    downloading_ = on;
    if (on && !already) {
        firmwarePortText_ = c_.portRow->GetCombo()->GetText();
        firmwareRateText_ = c_.rateRow->GetCombo()->GetText();
    }
    EnablePortCommands(!on);
}

void DlgMain::EnablePortCommands(bool enabled) {
    // Without a port the radio buttons stay disabled.
    const bool havePort = view_->GetPortCount() > 0;
    for (CButtonUI* button : {c_.connectButton, c_.disconnectButton, c_.readButton, c_.writeButton})
        button->SetEnabled(enabled && havePort);
    for (CButtonUI* item : {c_.connectItem, c_.disconnectItem, c_.readItem, c_.writeItem, c_.findItem, c_.verifyItem})
        item->SetEnabled(enabled);
    // Import and Export are refused too: they show their outcome, which
    // closes the port.
    for (CButtonUI* control : {c_.importButton, c_.exportButton, c_.importItem, c_.exportItem})
        control->SetEnabled(enabled);
}

bool DlgMain::OpenSelectedPort(bool firmwareRate) {
    if (firmwareRate) return ::OpenSelectedPort(port_, firmwarePortText_, firmwareRateText_, true, lastPort_);
    return ::OpenSelectedPort(port_, c_.portRow->GetCombo()->GetText(), c_.rateRow->GetCombo()->GetText(), false,
                              lastPort_);
}

void DlgMain::Write(const unsigned char* data, uint32_t length) {
    if (!cancelling_.load()) port_.Write(data, length);
}

LRESULT DlgMain::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (message != kWmAppUiEvent || !initialised_) return 0;
    handled = true;
    // A control argument counts only when it is one of this window's
    // outcome or menu controls: the message can come from anywhere.
    CControlUI* control = nullptr;
    for (ActionControl a :
         {ActionControl::Connect, ActionControl::Disconnect, ActionControl::Read, ActionControl::Write,
          ActionControl::Import, ActionControl::Export, ActionControl::Firmware, ActionControl::WriteAndVerify})
        if (reinterpret_cast<CControlUI*>(wParam) == ControlOf(a)) control = ControlOf(a);
    for (CControlUI* item : {c_.connectItem, c_.readItem, c_.writeItem, c_.disconnectItem, c_.importItem, c_.exportItem,
                             c_.exitItem, c_.languageItem, c_.aboutItem, c_.findItem, c_.verifyItem, c_.logFolderItem})
        if (reinterpret_cast<CControlUI*>(wParam) == item) control = item;
    switch (lParam) {
    case kUiBusy:
        SetBusy(wParam == 1);
        break;
    case kUiSuccess:
    case kUiFailure:
        if (control != nullptr) ShowOutcome(lParam == kUiSuccess, control);
        break;
    case kUiRefresh:
        if (control != nullptr) {
            control->SetEnabled(!control->IsEnabled());
            control->SetEnabled(!control->IsEnabled());
        }
        break;
    case kUiProgress:
        ShowProgress(static_cast<int>(wParam));
        break;
    case kUiSearchStep:
        ShowSearchStep();
        break;
    case kUiSearchDone:
        EndFindRadio();
        break;
    default:
        break;
    }
    return 0;
}

// ---- Window messages ----

LRESULT DlgMain::OnMouseMove(WPARAM, LPARAM lParam, bool&) {
    if (menuMode_) HoverMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
}

LRESULT DlgMain::OnKillFocus(WPARAM, LPARAM, bool&) {
    if (!initialised_) return 0;
    if (IsHeaderFocused()) c_.minimizeButton->SetFocus();
    CloseMenus();
    return 0;
}

// Escape posts WM_CLOSE: it ends the program like the close button, instead
// of destroying the window under a running message loop.
LRESULT DlgMain::OnClose(WPARAM, LPARAM, bool& handled) {
    handled = true;
    EndProgram();
    return 0;
}

LRESULT DlgMain::OnSysCommand(WPARAM wParam, LPARAM lParam, bool& handled) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        handled = true;
        EndProgram();
        return 0;
    }
    return WindowImplBase::OnSysCommand(wParam, lParam, handled);
}

// While the image is being chosen nothing has gone to the radio: no question.
void DlgMain::EndProgram() {
    if (downloading_ && !choosingFirmware_ && !ConfirmEndDuringDownload()) return;
    ending_ = true;
    ::PostQuitMessage(0);
}

// ---- Firmware download ----

// The window is busy from the click on, and the file dialog and the image's
// question are the window thread's own: no port command starts while they
// show, and closing the window ends them with the program instead of waiting
// for someone to answer them on the worker. The worker gets a confirmed image.
void DlgMain::StartFirmwareDownload() {
    if (IsPortBusy() || worker_ == nullptr || worker_->firmwarePending.load()) return;
    SetBusy(true);
    choosingFirmware_ = true;
    const bool chinese = view_->IsChinese();
    FirmwareFileDialog chooser(GetHWND(), chinese);
    FirmwareImageBox check(GetHWND(), chinese);
    std::string path;
    const bool chosen = Firmware::ChooseImage(chooser, &check, Firmware::kPagePauseMs, Firmware::kFinishPauseMs, path);
    choosingFirmware_ = false;
    if (!chosen || ending_ || worker_ == nullptr) {
        SetBusy(false);
        return;
    }
    firmwarePath_ = path;
    cancelling_ = false;
    worker_->firmwarePending = true;  // publishes firmwarePath_ to the worker
}

void DlgMain::RunFirmwareDownload() {
    Firmware::GivenImage chooser(firmwarePath_);  // the image the window chose and confirmed
    WindowFirmwareEvents events(GetHWND(), reinterpret_cast<WPARAM>(c_.firmwareItem));
    Firmware::Download download(chooser, events, *this, exchange_, *this);
    download.cancel = &worker_->cancelRequested;
    download.log = log_.get();
    try {
        download.downloadFirmware();
    } catch (...) {
        // Never left busy: the outcome and busy-off still reach the window.
        download.ReportFailure();
    }
}

bool DlgMain::ConfirmEndDuringDownload() {
    const bool chinese = view_->IsChinese();
    const char* text = Pick(chinese, "固件正在升级。现在退出，电台将停留在引导程序中，直到再次升级完成。确定退出吗？",
                            "A firmware update is running. If you quit now, the radio stays in its boot loader "
                            "until an update completes. Quit anyway?");
    return Text::MessageBoxUtf8(GetHWND(), text, Pick(chinese, "固件升级", "Firmware Update"),
                                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// The worker is asked to cancel (the download stops at its next page) and
// the download's writes are dropped, so an exchange in progress fails at
// once; while the worker ends, the window answers the messages it sends (the
// worker waits on each), so nothing waits on a thread that waits on it.
void DlgMain::CancelDownload() {
    if (worker_ == nullptr) return;
    cancelling_ = true;
    worker_->Stop(&AnswerSentMessages);
    worker_.reset();
}

// ---- Find Radio ----

namespace {

std::vector<int> ComboNumbers(CComboUI* combo, int (*parse)(const std::string&)) {
    std::vector<int> numbers;
    for (int i = 0; i < combo->GetCount(); ++i) numbers.push_back(parse(combo->GetItemAt(i)->GetText()));
    return numbers;
}

int ItemPosition(CComboUI* combo, int number, int (*parse)(const std::string&)) {
    for (int i = 0; i < combo->GetCount(); ++i)
        if (parse(combo->GetItemAt(i)->GetText()) == number) return i;
    return -1;
}

std::string PortAndRate(int port, int rate) { return "COM" + std::to_string(port) + ", " + std::to_string(rate); }

}  // namespace

// The ports and rates are taken from the window's lists now, the selected
// ones first; the search itself runs on its own thread, so the window keeps
// painting and Escape reaches it.
void DlgMain::StartFindRadio() {
    if (IsPortBusy() || searchThread_.joinable()) return;
    CComboUI* ports = c_.portRow->GetCombo();
    CComboUI* rates = c_.rateRow->GetCombo();
    const std::vector<int> portOrder =
        SearchPortOrder(ParsePortNumber(ports->GetText()), ComboNumbers(ports, ParsePortNumber));
    const std::vector<int> rateOrder =
        SearchRateOrder(ParseBaudRate(rates->GetText()), ComboNumbers(rates, ParseBaudRate));
    searching_ = true;
    searchCancel_ = false;
    searchEnded_ = false;
    EnablePortCommands(false);
    ShowStrip(c_.findItem->GetText(), kSearchColour);
    searchThread_ = std::thread([this, portOrder, rateOrder] {
        searchOutcome_ = FindRadio(*this, portOrder, rateOrder, searchCancel_);
        searchEnded_ = true;
        ::PostMessageW(GetHWND(), kWmAppUiEvent, 0, kUiSearchDone);
    });
}

void DlgMain::Trying(int port, int rate) {
    tryingPort_ = port;
    tryingRate_ = rate;
    ::PostMessageW(GetHWND(), kWmAppUiEvent, 0, kUiSearchStep);
}

// A port whose line cannot be set up counts as one that cannot be opened:
// no radio can answer on it at any rate.
bool DlgMain::OpenPort(int port, int rate) { return port_.OpenLine(port, rate); }

bool DlgMain::Connect() { return ConnectAnswered(exchange_); }

void DlgMain::ClosePort() { port_.Close(); }

void DlgMain::ShowSearchStep() {
    if (!searching_ || searchEnded_.load()) return;
    ShowStrip(PortAndRate(tryingPort_.load(), tryingRate_.load()) + " ...", kSearchColour);
}

// Found: the port and rate are selected and named with the outcome; not
// found or cancelled: the item's caption with the failure.
void DlgMain::EndFindRadio() {
    if (!searching_ || !searchEnded_.load()) return;  // only the search's own message counts
    StopSearchThread();
    searching_ = false;
    searchEndedAt_ = ::GetTickCount();
    EnablePortCommands(true);
    const FindOutcome outcome = searchOutcome_;
    const Language language = view_->GetLanguage();
    if (outcome.kind == FindOutcome::Kind::Found) {
        const int port = ItemPosition(c_.portRow->GetCombo(), outcome.port, ParsePortNumber);
        const int rate = ItemPosition(c_.rateRow->GetCombo(), outcome.rate, ParseBaudRate);
        if (port >= 0) c_.portRow->GetCombo()->SelectItem(port);
        if (rate >= 0) c_.rateRow->GetCombo()->SelectItem(rate);
        ShowStrip(ComposeResultText(PortAndRate(outcome.port, outcome.rate), true, language), kSuccessColour);
    } else if (outcome.kind == FindOutcome::Kind::Cancelled) {
        const bool chinese = language == Language::Chinese;
        ShowStrip(c_.findItem->GetText() + Pick(chinese, "已取消", " Cancelled"), kFailureColour);
    } else {
        ShowStrip(ComposeResultText(c_.findItem->GetText(), false, language), kFailureColour);
    }
}

void DlgMain::StopSearchThread() {
    searchCancel_ = true;
    if (searchThread_.joinable()) searchThread_.join();
}

// Escape made while the search ran only cancels it, even when it is handled
// after the search's end: that end is a posted message, and the system hands
// posted messages out before input.
bool DlgMain::ResponseDefaultKeyEvent(WPARAM key) {
    const bool madeDuringSearch =
        searchEndedAt_ && static_cast<LONG>(static_cast<DWORD>(::GetMessageTime()) - *searchEndedAt_) <= 0;
    if (key == VK_ESCAPE && (searching_ || madeDuringSearch)) {
        searchCancel_ = true;
        return true;
    }
    return WindowImplBase::ResponseDefaultKeyEvent(key);
}

// ---- Traffic log ----

// A log folder that cannot be made leaves the program without a log; every
// action still runs.
void DlgMain::StartTrafficLog() {
    std::string folder;
    if (!PrepareLogFolder(folder)) return;
    TrafficLog::Options options;
    options.folder = folder;
    log_ = std::make_unique<TrafficLog>(options);
    port_.SetTrafficLog(log_.get());
}

void DlgMain::OpenLogFolder() {
    std::string folder;
    if (PrepareLogFolder(folder) && OpenFolderInExplorer(folder)) return;
    const bool chinese = view_->IsChinese();
    Text::MessageBoxUtf8(GetHWND(), Pick(chinese, "无法打开日志文件夹。", "The log folder cannot be opened."),
                         Pick(chinese, "错误", "Error"), MB_OK | MB_ICONERROR);
}
