#include "app/DlgMain.h"

#include "app/DroppedInput.h"
#include "app/MainWindowLanguage.h"
#include "app/StatusStrip.h"

#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "app/ProgramVersion.h"
#include "app/WindowSkin.h"
#include "radio/RadioTables.h"
#include "serial/PortList.h"
#include "serial/PortSelection.h"
#include "app/UiEvents.h"
#include "platform/LogFolder.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

using namespace Loom;

namespace {

const char* Pick(bool chinese, const char* zh, const char* en) { return chinese ? zh : en; }

std::string PortAndRate(int port, int rate) { return "COM" + std::to_string(port) + ", " + std::to_string(rate); }

}  // namespace

DlgMain::DlgMain(Places places) : WindowImplBase(kDesignWidth, kDesignHeight), places_(places) {}

DlgMain::~DlgMain() {
    if (search_) search_->Stop();
    if (firmware_) firmware_->Cancel();
    if (initialised_) SaveSettings(*view_, places_.settingsKey);
    link_.Close();
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
    actions_ = std::make_unique<RadioActions>(*view_, *config_, link_.Exchange(), *this);
    fileDialogs_ = std::make_unique<ConfigFileDialogs>(GetHWND(), *view_);
    fileCommands_ = std::make_unique<ConfigFileCommands>(*view_, *this, *fileDialogs_);
    menus_ = std::make_unique<MainMenus>(c_, paintManager_);
    channelCheck_ = std::make_unique<ChannelCheck>(c_, *config_);
    search_ = std::make_unique<RadioSearch>(GetHWND(), link_);
    BuildCommands();

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
    firmware_ = std::make_unique<FirmwareJob>(GetHWND(), *this, link_, reinterpret_cast<WPARAM>(c_.firmwareItem));
    StartTrafficLog();
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

void DlgMain::SwitchLanguage() {
    const bool chinese = !view_->IsChinese();
    view_->SetChinese(chinese);
    ApplyLanguage(c_, languageTable_, chinese);
    FillLists();
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
        // Buttons run on their click; menu items on taking the focus.
        const MainCommand* command = commands_.Find(msg.sender);
        if (command != nullptr && command->button == msg.sender) RunCommand(msg.sender);
    } else if (msg.type == "itemselect") {
        ListField list;
        if (view_->ListOf(msg.sender, list)) config_->itemSelected(list);
    } else if (msg.type == "killfocus") {
        if (!channelCheck_->LostFocus(msg.sender)) return;
    } else if (msg.type == "setfocus") {
        OnSetFocusNotify(msg.sender);
    } else if (msg.type == "dropdown") {
        channelCheck_->CheckPending(msg.sender);
    }
    WindowImplBase::Notify(msg);
}

// None of the commands that need the port runs while a download or the
// radio search has it.
bool DlgMain::RunCommand(CControlUI* control) {
    const MainCommand* command = commands_.Find(control);
    if (command == nullptr) return false;
    if (IsPortBusy() && command->whileBusy != WhilePortBusy::Runs) return true;
    command->run();
    if (command->holdsTheWindow) DropPressesMadeWhileBusy(GetHWND());
    return true;
}

// ---- Focus and menus ----

// A menu item runs when it takes the focus; the refresh afterwards redraws
// it, whose state the command may have changed.
void DlgMain::OnSetFocusNotify(CControlUI* sender) {
    if (!channelCheck_->IsExempt(sender) && !channelCheck_->CheckPending(sender)) return;
    menus_->Close();
    const MainCommand* command = commands_.Find(sender);
    if (command == nullptr || command->item != sender) return;
    RunCommand(sender);
    ::PostMessageW(GetHWND(), kWmAppUiEvent, reinterpret_cast<WPARAM>(sender), kUiRefresh);
}

// ---- Outcome, progress, busy state ----

void DlgMain::ShowResult(bool success, ActionControl control) {
    CControlUI* shown = commands_.OutcomeControl(control);
    ShowOutcome(success, shown != nullptr ? shown : c_.connectButton);
}

void DlgMain::ShowOutcome(bool success, CControlUI* control) {
    ShowStatus(c_.statusLabel, ComposeResultText(control->GetText(), success, view_->GetLanguage()),
               success ? kStatusSuccess : kStatusFailure);
    // The search thread owns the port until it ends.
    if (!IsSearching()) link_.Close();
}

void DlgMain::SetBusy(bool on) {
    // Busy from the firmware click on: the download's own busy-on changes nothing.
    const bool already = downloading_;
    downloading_ = on;
    if (on && !already) {
        firmwarePortText_ = c_.portRow->GetCombo()->GetText();
        firmwareRateText_ = c_.rateRow->GetCombo()->GetText();
    }
    commands_.EnablePortCommands(!on, view_->GetPortCount() > 0);
}

bool DlgMain::OpenSelectedPort(bool firmwareRate) {
    if (firmwareRate) return link_.OpenSelected(firmwarePortText_, firmwareRateText_, true);
    return link_.OpenSelected(c_.portRow->GetCombo()->GetText(), c_.rateRow->GetCombo()->GetText(), false);
}

LRESULT DlgMain::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (message != kWmAppUiEvent || !initialised_) return 0;
    handled = true;
    // A control argument counts only when it is one of this window's
    // command controls: the message can come from anywhere.
    CControlUI* control = nullptr;
    if (const MainCommand* command = commands_.Find(reinterpret_cast<CControlUI*>(wParam)))
        control = command->button == reinterpret_cast<CControlUI*>(wParam) ? command->button : command->item;
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
        ShowStatusProgress(c_.statusLabel, static_cast<int>(wParam));
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
    if (menus_ && menus_->IsMenuMode()) menus_->Hover(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
}

LRESULT DlgMain::OnKillFocus(WPARAM, LPARAM, bool&) {
    if (!initialised_) return 0;
    if (menus_->IsHeaderFocused()) c_.minimizeButton->SetFocus();
    menus_->Close();
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
    if (IsPortBusy() || firmware_ == nullptr || firmware_->IsPendingOrGone()) return;
    SetBusy(true);
    choosingFirmware_ = true;
    std::string path;
    const bool chosen = firmware_->Choose(view_->IsChinese(), path);
    choosingFirmware_ = false;
    if (!chosen || ending_ || firmware_ == nullptr) {
        SetBusy(false);
        return;
    }
    firmware_->Launch(path);
}

bool DlgMain::ConfirmEndDuringDownload() {
    const bool chinese = view_->IsChinese();
    const char* text = Pick(chinese, "固件正在升级。现在退出，电台将停留在引导程序中，直到再次升级完成。确定退出吗？",
                            "A firmware update is running. If you quit now, the radio stays in its boot loader "
                            "until an update completes. Quit anyway?");
    return Text::MessageBoxUtf8(GetHWND(), text, Pick(chinese, "固件升级", "Firmware Update"),
                                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// ---- Find Radio ----

// The ports and rates are taken from the window's lists now, the selected
// ones first; the search itself runs on its own thread, so the window keeps
// painting and Escape reaches it.
void DlgMain::StartFindRadio() {
    if (IsPortBusy()) return;
    CComboUI* ports = c_.portRow->GetCombo();
    CComboUI* rates = c_.rateRow->GetCombo();
    const std::vector<int> portOrder =
        SearchPortOrder(ParsePortNumber(ports->GetText()), MainConfigView::ComboNumbers(ports, ParsePortNumber));
    const std::vector<int> rateOrder =
        SearchRateOrder(ParseBaudRate(rates->GetText()), MainConfigView::ComboNumbers(rates, ParseBaudRate));
    if (!search_->Start(portOrder, rateOrder)) return;
    commands_.EnablePortCommands(false, view_->GetPortCount() > 0);
    ShowStatus(c_.statusLabel, c_.findItem->GetText(), kStatusSearch);
}

void DlgMain::ShowSearchStep() {
    if (!search_->IsRunning() || search_->HasEnded()) return;
    ShowStatus(c_.statusLabel, PortAndRate(search_->TryingPort(), search_->TryingRate()) + " ...", kStatusSearch);
}

// Found: the port and rate are selected and named with the outcome; not
// found or cancelled: the item's caption with the failure.
void DlgMain::EndFindRadio() {
    if (!search_->IsRunning() || !search_->HasEnded()) return;  // only the search's own message counts
    const FindOutcome outcome = search_->Finish();
    commands_.EnablePortCommands(true, view_->GetPortCount() > 0);
    const Language language = view_->GetLanguage();
    if (outcome.kind == FindOutcome::Kind::Found) {
        const int port = MainConfigView::ComboPosition(c_.portRow->GetCombo(), outcome.port, ParsePortNumber);
        const int rate = MainConfigView::ComboPosition(c_.rateRow->GetCombo(), outcome.rate, ParseBaudRate);
        if (port >= 0) c_.portRow->GetCombo()->SelectItem(port);
        if (rate >= 0) c_.rateRow->GetCombo()->SelectItem(rate);
        ShowStatus(c_.statusLabel, ComposeResultText(PortAndRate(outcome.port, outcome.rate), true, language),
                   kStatusSuccess);
    } else if (outcome.kind == FindOutcome::Kind::Cancelled) {
        const bool chinese = language == Language::Chinese;
        ShowStatus(c_.statusLabel, c_.findItem->GetText() + Pick(chinese, "已取消", " Cancelled"), kStatusFailure);
    } else {
        ShowStatus(c_.statusLabel, ComposeResultText(c_.findItem->GetText(), false, language), kStatusFailure);
    }
}

// Escape made while the search ran only cancels it, even when it is handled
// after the search's end: that end is a posted message, and the system hands
// posted messages out before input.
bool DlgMain::ResponseDefaultKeyEvent(WPARAM key) {
    if (!search_) return WindowImplBase::ResponseDefaultKeyEvent(key);
    const std::optional<DWORD>& endedAt = search_->EndedAt();
    const bool madeDuringSearch = endedAt && static_cast<LONG>(static_cast<DWORD>(::GetMessageTime()) - *endedAt) <= 0;
    if (key == VK_ESCAPE && (search_->IsRunning() || madeDuringSearch)) {
        search_->Cancel();
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
    link_.SetTrafficLog(log_.get());
    firmware_->SetTrafficLog(log_.get());
}

void DlgMain::OpenLogFolder() {
    std::string folder;
    if (PrepareLogFolder(folder) && OpenFolderInExplorer(folder)) return;
    const bool chinese = view_->IsChinese();
    Text::MessageBoxUtf8(GetHWND(), Pick(chinese, "无法打开日志文件夹。", "The log folder cannot be opened."),
                         Pick(chinese, "错误", "Error"), MB_OK | MB_ICONERROR);
}
