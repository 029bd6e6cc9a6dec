#include "app/DlgMain.h"

#include "app/MainWindowLanguage.h"
#include "app/StatusStrip.h"

#include <oleacc.h>
#include <dbt.h>
#include <windowsx.h>

#include <algorithm>
#include <cassert>
#include <utility>

#include "app/ProgramVersion.h"
#include "app/UiEvents.h"
#include "app/WindowSkin.h"
#include "platform/LogFolder.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"
#include "radio/Firmware.h"
#include "radio/Parameters.h"
#include "radio/RadioConfig.h"
#include "radio/RadioTables.h"
#include "serial/PortList.h"
#include "serial/PortSelection.h"

using namespace Loom;

namespace {

const char* Pick(bool chinese, const char* zh, const char* en) { return chinese ? zh : en; }

std::string PortAndRate(int port, int rate) { return "COM" + std::to_string(port) + ", " + std::to_string(rate); }

}  // namespace

DlgMain::DlgMain(Places places) : WindowImplBase(kDesignWidth, kDesignHeight), places_(places) {}

DlgMain::~DlgMain() {
    if (menus_) paintManager_.RemovePreMessageFilter(menus_.get());
    if (job_) job_->Stop();
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

void DlgMain::AssertWindowThread() const { assert(::GetCurrentThreadId() == windowThread_); }

void DlgMain::InitWindow() {
    windowThread_ = ::GetCurrentThreadId();
    auto* root = static_cast<CContainerUI*>(paintManager_.FindControl("main"));
    if (root == nullptr) return;
    BuildMainWindowTree(*root, c_);
    // Tab passes by the logo and the menus, which F10, Alt and their
    // letters reach. The title bar's buttons stay first: the window starts
    // with the focus there, as it always has, and no field's caret blinks.
    const std::vector<CControlUI*> skipped{c_.logoImage,      c_.fileMenu,           c_.languageMenu,  c_.helpMenu,
                                           c_.fileMenuHeader, c_.languageMenuHeader, c_.helpMenuHeader};
    for (CControlUI* control : skipped) paintManager_.SetTabSkipped(control, true);
    languageTable_.Build(c_);
    view_ = std::make_unique<MainConfigView>(c_, GetHWND());
    fileDialogs_ = std::make_unique<ConfigFileDialogs>(GetHWND(), [view = view_.get()] { return view->GetLanguage(); });
    fileCommands_ = std::make_unique<ConfigFileCommands>(*fileDialogs_);
    // A menu item chosen from the keyboard runs as a click on it does; a
    // disabled one does not.
    menus_ = std::make_unique<MainMenus>(c_, paintManager_, [this](CControlUI* item) {
        if (!item->IsEnabled() || !RunCommand(item)) return;
        ::PostMessageW(GetHWND(), kWmAppUiEvent, reinterpret_cast<WPARAM>(item), kUiRefresh);
    });
    paintManager_.AddPreMessageFilter(menus_.get());
    channelCheck_ =
        std::make_unique<ChannelCheck>(c_, [this](Group group, int row) { return ValidateFrequency(group, row); });
    job_ = std::make_unique<RadioJobThread>(GetHWND(), link_);
    search_ = std::make_unique<RadioSearch>(GetHWND(), link_);
    BuildCommands();

    FillPortList(*view_, places_.portMapKey);
    FillLists();
    c_.localAddressRow->GetEdit()->SetNumberOnly(true);
    c_.destinationAddressRow->GetEdit()->SetNumberOnly(true);
    for (const Parameter& row : Parameters())
        if (row.kind == ParameterKind::Text && row.maxLength > 0)
            c_.textRows[static_cast<size_t>(row.field)]->GetEdit()->SetMaxChar(static_cast<UINT>(row.maxLength));
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
    firmware_ = std::make_unique<FirmwareJob>(GetHWND(), link_);
    StartTrafficLog();
}

// The list fill: every parameter list from its table in the window's
// language, which clears their selections; the transmit rows 0 and 9 (no
// channel's) emptied; the PC rate back on 38400.
void DlgMain::FillLists() {
    RadioConfig::FillParameterLists(settings_, view_->GetLanguage());
    for (int row : {0, kFrequencyRows - 1}) {
        c_.txChannelRow[row]->SetEnabled(false);
        settings_.SetFrequency(Group::Transmit, row, "");
    }
    view_->Show(settings_);
    MainConfigView::FillCombo(c_.rateRow->GetCombo(), {" 9600", " 19200", " 38400", " 57600", " 115200"});
    c_.rateRow->GetCombo()->SelectItem(2);
    c_.serialUnlockButton->SetVisible(true);
    c_.hardwareUnlockButton->SetVisible(true);
    for (CLabelAndComboUI* row : {c_.protocolRow, c_.linkBaudRow, c_.portBaudRow})
        row->SetEnabled(row->GetCombo()->GetCount() > 0);
}

void DlgMain::ApplySettings(const RadioSettings& settings) {
    AssertWindowThread();
    settings_ = settings;
    view_->Show(settings_);
}

void DlgMain::SwitchLanguage() {
    AssertWindowThread();
    const bool chinese = !view_->IsChinese();
    view_->SetChinese(chinese);
    ApplyLanguage(c_, languageTable_, chinese);
    FillLists();
    ::SetWindowTextW(GetHWND(), Text::Widen(MainWindowTitle(chinese)).c_str());
    c_.cancelButton->SetText(Pick(chinese, "取消", "Cancel"));
    // What the strip says of a running job or the last outcome, in the new language.
    if (IsRunningJob())
        ShowJobProgress();
    else if (portGoneShown_ && !IsPortBusy())
        ShowPortGone();
    else if (lastOutcome_ && !IsPortBusy())
        ShowActionOutcome(*lastOutcome_);
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
        if (command != nullptr && command->button == msg.sender) {
            RunCommand(msg.sender);
        } else if (msg.sender->GetAccessibleRole() == ROLE_SYSTEM_MENUITEM) {
            // A menu header or item pressed without the pointer (a screen
            // reader's default action) does what the pointer's press does:
            // it takes the focus, which runs an item; a header's panel opens.
            // An item the pointer pressed has run and is hidden by now.
            msg.sender->SetFocus();
            const RECT& at = msg.sender->GetPos();
            if (menus_->IsHeaderFocused()) menus_->Hover(POINT{(at.left + at.right) / 2, (at.top + at.bottom) / 2});
        }
    } else if (msg.type == "predropdown" && msg.sender == c_.portRow->GetCombo()) {
        portsChanged_ = true;
        RebuildPortsIfChanged();
    } else if (msg.type == "itemselect" || msg.type == "textchanged") {
        if (msg.sender == c_.portRow->GetCombo()) lostPort_ = 0;  // another port chosen
        // What the user chose or typed goes into the settings at once; a
        // choice runs the rules, whose effects the rows then show.
        if (!view_->IsShowing() && view_->Take(msg.sender, settings_) && msg.type == "itemselect")
            view_->Show(settings_);
    } else if (msg.type == "killfocus") {
        if (!channelCheck_->LostFocus(msg.sender)) return;
    } else if (msg.type == "setfocus") {
        OnSetFocusNotify(msg.sender);
    } else if (msg.type == "dropdown") {
        channelCheck_->CheckPending(msg.sender);
    }
    WindowImplBase::Notify(msg);
}

// None of the commands that need the port runs while a job, a download or
// the radio search has it.
bool DlgMain::RunCommand(CControlUI* control) {
    const MainCommand* command = commands_.Find(control);
    if (command == nullptr) return false;
    if (IsPortBusy() && command->whileBusy != WhilePortBusy::Runs) return true;
    command->run();
    return true;
}

bool DlgMain::ValidateFrequency(Group group, int row) {
    // The check is of what the edit shows.
    view_->Take(view_->FrequencyEdit(group, row), settings_);
    std::string message;
    if (RadioConfig::validateFrequencyField(settings_, group, row, view_->GetLanguage(), message)) {
        view_->Show(settings_);
        return true;
    }
    if (!message.empty()) {
        view_->ShowError(message);
        view_->FocusFrequency(group, row);
    }
    return false;
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

// ---- Radio jobs ----

// The port and rate are the boxes' now; a Write is checked here, on the
// window's thread, where its messages are shown, and sends a copy of the
// settings: what the user changes meanwhile waits for the next Write.
void DlgMain::StartJob(JobKind kind) {
    AssertWindowThread();
    if (IsPortBusy()) return;
    const Language language = view_->GetLanguage();
    JobRequest request;
    request.kind = kind;
    request.port = ParsePortNumber(c_.portRow->GetCombo()->GetText());
    request.rate = ParseBaudRate(c_.rateRow->GetCombo()->GetText());
    request.language = language;
    if (kind == JobKind::Write || kind == JobKind::WriteAndVerify) {
        const RadioConfig::Check check = RadioConfig::PrepareWrite(settings_, language);
        if (!check.Passed()) {
            // Nothing is sent; the write ends as every write does, disarmed.
            RadioConfig::RelockAfterWrite(settings_);
            view_->Show(settings_);
            for (const std::string& message : check.messages) view_->ShowError(message);
            // Keyboard and screen-reader users land where the first message points.
            view_->FocusSubject(check.first);
            Outcome outcome;
            outcome.kind = OutcomeKind::CheckFailed;
            outcome.action = ActionOf(kind);
            outcome.port = request.port;
            outcome.rate = request.rate;
            outcome.detail = check.messages.front();
            ShowActionOutcome(outcome);
            return;
        }
        view_->Show(settings_);  // the addresses as they go out
    }
    request.settings = settings_;
    if (!job_->Start(std::move(request))) return;
    commands_.EnablePortCommands(false, view_->GetPortCount() > 0);
    ShowCause(c_.causeLabel, "", "");
    ShowJobProgress();
    ShowCancel(true);
}

void DlgMain::ShowJobProgress() {
    if (!IsRunningJob()) return;
    job_->ProgressShown();
    const std::string text =
        JobProgressText(job_->Kind(), job_->Command(), job_->Total(), job_->CancelRequested(), view_->GetLanguage());
    ShowStatus(c_.statusLabel, text, kStatusSearch);
}

// A Read gives the window its settings in one step, and only when it read
// them all: one that failed or was cancelled leaves the rows as they were.
// Every Write ends disarmed, whatever its outcome. The port is closed: the
// commands that need it are free again.
void DlgMain::EndJob() {
    AssertWindowThread();
    JobResult result;
    if (!job_ || !job_->Finish(result)) return;  // only the job's own message counts
    busyEndedAt_ = ::GetTickCount();
    commands_.EnablePortCommands(true, view_->GetPortCount() > 0);
    const JobKind kind = job_->Kind();
    if (kind == JobKind::Read && result.outcome.Succeeded()) {
        // The Unlock buttons pressed meanwhile stay pressed.
        result.settings.serialUnlocked = settings_.serialUnlocked;
        result.settings.hardwareUnlocked = settings_.hardwareUnlocked;
        // In the language of the window now, switched meanwhile or not.
        RadioConfig::SpeakLanguage(result.settings, view_->GetLanguage());
        settings_ = std::move(result.settings);
    }
    if (kind == JobKind::Write || kind == JobKind::WriteAndVerify) RadioConfig::RelockAfterWrite(settings_);
    view_->Show(settings_);
    ShowCancel(false);
    ShowActionOutcome(result.outcome);
    if (result.outcome.kind == OutcomeKind::VerifyMismatch)
        view_->ShowError(FormatMismatches(result.outcome.mismatches, view_->GetLanguage()));
    RebuildPortsIfChanged();
}

void DlgMain::CancelRunning() {
    if (IsRunningJob()) {
        job_->Cancel();
        ShowJobProgress();
    } else if (IsSearching()) {
        search_->Cancel();
    }
}

void DlgMain::ShowCancel(bool shown) { c_.cancelButton->SetVisible(shown); }

// ---- Outcome, progress, busy state ----

void DlgMain::ShowActionOutcome(const Outcome& outcome) {
    AssertWindowThread();
    lastOutcome_ = outcome;
    portGoneShown_ = false;
    CControlUI* control = commands_.OutcomeControl(outcome.action);
    ShowOutcome(outcome.Succeeded(), control != nullptr ? control : c_.connectButton);
    const OutcomeText text = DescribeOutcome(outcome, view_->GetLanguage());
    ShowCause(c_.causeLabel, outcome.Succeeded() ? "" : text.cause, outcome.Succeeded() ? "" : text.next);
    if (log_) log_->Note(OutcomeLogLine(outcome));
}

void DlgMain::ShowOutcome(bool success, CControlUI* control) {
    ShowStatus(c_.statusLabel, ComposeResultText(control->GetText(), success, view_->GetLanguage()),
               success ? kStatusSuccess : kStatusFailure);
}

void DlgMain::SetBusy(bool on) {
    // Busy from the firmware click on: the download's own busy-on changes nothing.
    const bool already = downloading_;
    downloading_ = on;
    if (on && !already) firmwarePortText_ = c_.portRow->GetCombo()->GetText();
    if (on) downloadStarted_ = ::GetTickCount64();
    commands_.EnablePortCommands(!on, view_->GetPortCount() > 0);
    if (!on) RebuildPortsIfChanged();
}

LRESULT DlgMain::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (message == WM_DEVICECHANGE) {
        // Any program may send it, so lParam's structure is not read: a
        // rebuild costs one read of the serial map, and every arrival or
        // removal, of a port or another device, is taken as a change.
        if (initialised_ &&
            (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE || wParam == DBT_DEVNODES_CHANGED))
            NotePortsChanged();
        handled = true;
        return TRUE;
    }
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
        if (downloading_) {
            const int value = static_cast<int>(wParam);
            ShowStatusProgress(
                c_.statusLabel, value,
                Firmware::ProgressText(value, ::GetTickCount64() - downloadStarted_, view_->GetLanguage()));
        }
        break;
    case kUiFirmwareEnded: {
        Outcome outcome;
        if (firmware_ && firmware_->TakeOutcome(outcome)) ShowActionOutcome(outcome);
        break;
    }
    case kUiSearchStep:
        ShowSearchStep();
        break;
    case kUiSearchDone:
        EndFindRadio();
        break;
    case kUiJobProgress:
        ShowJobProgress();
        break;
    case kUiJobDone:
        EndJob();
        break;
    case kUiPortsChanged:
        portsChangePosted_ = false;
        RebuildPortsIfChanged();
        break;
    default:
        break;
    }
    return 0;
}

// ---- Import and Export ----

void DlgMain::ImportProfile() {
    const std::optional<Outcome> outcome = fileCommands_->importConfig(settings_);
    if (!outcome) return;
    view_->Show(settings_);
    ShowActionOutcome(*outcome);
}

void DlgMain::ExportProfile() {
    const std::optional<Outcome> outcome = fileCommands_->exportConfig(settings_);
    if (outcome) ShowActionOutcome(*outcome);
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
// A radio job is cancelled: it ends between two commands, and the window
// waits for it as it goes.
void DlgMain::EndProgram() {
    if (downloading_ && !choosingFirmware_ && !ConfirmEndDuringDownload()) return;
    if (IsRunningJob()) job_->Cancel();
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
    ShowCause(c_.causeLabel, "", "");
    firmware_->Launch(path, ParsePortNumber(firmwarePortText_));
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
    ShowCause(c_.causeLabel, "", "");
    ShowStatus(c_.statusLabel, c_.findItem->GetText(), kStatusSearch);
    ShowCancel(true);
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
    busyEndedAt_ = search_->EndedAt();
    commands_.EnablePortCommands(true, view_->GetPortCount() > 0);
    ShowCancel(false);
    RebuildPortsIfChanged();
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
        const bool chinese = language == Language::Chinese;
        ShowCause(c_.causeLabel,
                  Pick(chinese, "在任何端口和波特率下都没有电台应答", "no radio answered on any port at any rate"),
                  Pick(chinese, "请检查电缆和电台电源", "check the cable and the radio's power"));
    }
}

// Escape made while a job or the search ran only cancels it, even when it is
// handled after the end: that end is a posted message, and the system hands
// posted messages out before input.
bool DlgMain::ResponseDefaultKeyEvent(WPARAM key) {
    if (key == VK_F1) {
        OpenUserGuide();
        return true;
    }
    if (key != VK_ESCAPE) return WindowImplBase::ResponseDefaultKeyEvent(key);
    const bool madeWhileBusy =
        busyEndedAt_ && static_cast<LONG>(static_cast<DWORD>(::GetMessageTime()) - *busyEndedAt_) <= 0;
    if (IsRunningJob() || IsSearching() || madeWhileBusy) {
        CancelRunning();
        return true;
    }
    return WindowImplBase::ResponseDefaultKeyEvent(key);
}

// ---- The user guide ----

void DlgMain::OpenUserGuide() {
    const bool chinese = view_->IsChinese();
    // A program folder that cannot be read names no guide (not one at the
    // root of the drive).
    std::string folder = places_.guideFolder != nullptr ? places_.guideFolder : ConfigFileDialogs::ProgramFolder();
    if (places_.guideFolder == nullptr && !folder.empty()) folder += "\\guide";
    const std::string page = folder.empty() ? "guide" : folder + (chinese ? "\\zh\\index.html" : "\\en\\index.html");
    const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(Text::Widen(page).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        view_->ShowError(page + Pick(chinese, "\n用户指南不在程序旁边。请重新安装程序，或解压整个压缩包。",
                                     "\nThe user guide is not beside the program. Install the program again, or "
                                     "unpack the whole zip."));
        return;
    }
    if (OpenWithDefaultProgram(page)) return;
    view_->ShowError(page + Pick(chinese, "\nWindows 没有打开 .html 页面的程序。请安装或选择一个浏览器。",
                                 "\nWindows has no program to open .html pages with. Install or choose a web "
                                 "browser."));
}

// ---- The port list ----

// A plug-in makes several announcements: one rebuild answers them all.
void DlgMain::NotePortsChanged() {
    portsChanged_ = true;
    if (!portsChangePosted_ && ::PostMessageW(GetHWND(), kWmAppUiEvent, 0, kUiPortsChanged)) portsChangePosted_ = true;
}

// The choice goes by the port's name: the one selected, or the one that
// went, which is taken again when it comes back. A box that was empty takes
// the first port that comes, as at start-up.
void DlgMain::RebuildPortsIfChanged() {
    AssertWindowThread();
    if (!portsChanged_ || IsPortBusy() || ending_) return;
    portsChanged_ = false;
    CComboUI* box = c_.portRow->GetCombo();
    const int selected = box->GetCurSel() >= 0 ? ParsePortNumber(box->GetText()) : 0;
    const int lost = lostPort_;  // the selection below tells the window of itself, which forgets it
    std::vector<int> ports;
    EnumerateSerialPorts(ports, places_.portMapKey);
    int chosen = selected > 0 ? selected : lost;
    if (box->GetCount() == 0 && std::find(ports.begin(), ports.end(), chosen) == ports.end()) chosen = 0;
    const PortChoice choice = RebuildPortList(ports, chosen, *view_, ListPortDevices());
    commands_.EnablePortCommands(true, view_->GetPortCount() > 0);
    lostPort_ = choice == PortChoice::Gone ? chosen : 0;
    if (choice == PortChoice::Gone && chosen != lost) ShowPortGone();
    if (choice == PortChoice::Kept && chosen == lost && portGoneShown_) ShowPortBack(chosen);
}

void DlgMain::ShowPortGone() {
    const bool chinese = view_->IsChinese();
    const std::string port = "COM" + std::to_string(lostPort_);
    ShowStatus(c_.statusLabel, port + Pick(chinese, " 已移除", " removed"), kStatusFailure);
    ShowCause(c_.causeLabel,
              port + Pick(chinese, " 已不在本机上：其适配器已拔出，或其驱动已停止",
                          " is no longer on this PC: its adapter was unplugged or its driver stopped"),
              Pick(chinese, "请重新插入适配器，或选择其他端口", "plug the adapter in again, or choose another port"));
    portGoneShown_ = true;
}

void DlgMain::ShowPortBack(int port) {
    portGoneShown_ = false;
    const bool chinese = view_->IsChinese();
    ShowStatus(c_.statusLabel, "COM" + std::to_string(port) + Pick(chinese, " 已恢复", " is back"), kStatusSuccess);
    ShowCause(c_.causeLabel, "", "");
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
