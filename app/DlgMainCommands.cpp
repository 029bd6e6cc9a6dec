// The main window's table of commands.
#include "app/DlgAbout.h"
#include "app/DlgMain.h"
#include "radio/RadioConfig.h"

using namespace Loom;

// The window's commands: the button and menu item of each, what it runs, and
// how a job, download or search holding the port affects it.
void DlgMain::BuildCommands() {
    const auto add = [&](CControlUI* button, CControlUI* item, std::function<void()> run, WhilePortBusy whileBusy,
                         std::optional<OutcomeAction> outcome = std::nullopt, bool buttonNeedsAPort = false) {
        MainCommand command;
        command.button = button;
        command.item = item;
        command.run = std::move(run);
        command.whileBusy = whileBusy;
        command.outcome = outcome;
        command.buttonNeedsAPort = buttonNeedsAPort;
        commands_.Add(command);
    };
    const auto job = [&](CControlUI* button, CControlUI* item, JobKind kind) {
        add(
            button, item, [this, kind] { StartJob(kind); }, WhilePortBusy::Disabled, ActionOf(kind), true);
    };
    // The settings' own commands: what they change, the rows show at once.
    const auto onSettings = [&](CControlUI* button, void (*change)(RadioSettings&)) {
        add(
            button, nullptr,
            [this, change] {
                change(settings_);
                view_->Show(settings_);
            },
            WhilePortBusy::Runs);
    };
    job(c_.connectButton, c_.connectItem, JobKind::Connect);
    job(c_.disconnectButton, c_.disconnectItem, JobKind::Disconnect);
    job(c_.readButton, c_.readItem, JobKind::Read);
    job(c_.writeButton, c_.writeItem, JobKind::Write);
    job(nullptr, c_.verifyItem, JobKind::WriteAndVerify);
    const WhilePortBusy disabled = WhilePortBusy::Disabled, runs = WhilePortBusy::Runs;
    // Import and Export change or read the settings a Read would replace.
    add(
        c_.importButton, c_.importItem, [this] { ImportProfile(); }, disabled, OutcomeAction::Import);
    add(
        c_.exportButton, c_.exportItem, [this] { ExportProfile(); }, disabled, OutcomeAction::Export);
    add(
        nullptr, c_.findItem, [this] { StartFindRadio(); }, disabled, OutcomeAction::Find);
    add(
        nullptr, c_.firmwareItem, [this] { StartFirmwareDownload(); }, WhilePortBusy::Refused, OutcomeAction::Firmware);
    add(
        c_.cancelButton, nullptr, [this] { CancelRunning(); }, runs);
    add(
        nullptr, c_.exitItem, [this] { EndProgram(); }, runs);
    add(
        c_.closeButton, nullptr, [this] { EndProgram(); }, runs);
    add(
        c_.minimizeButton, nullptr, [this] { ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }, runs);
    add(
        nullptr, c_.languageItem, [this] { SwitchLanguage(); }, runs);
    add(
        nullptr, c_.aboutItem, [this] { DlgAbout::Show(GetHWND(), IsChinese()); }, runs);
    add(
        nullptr, c_.guideItem, [this] { OpenUserGuide(); }, runs);
    add(
        nullptr, c_.logFolderItem, [this] { OpenLogFolder(); }, runs);
    onSettings(c_.txDefaultButton, [](RadioSettings& s) { RadioConfig::fillDefaultFrequencies(s, Group::Transmit); });
    onSettings(c_.rxDefaultButton, [](RadioSettings& s) { RadioConfig::fillDefaultFrequencies(s, Group::Receive); });
    onSettings(c_.serialUnlockButton, RadioConfig::UnlockSerialNumber);
    onSettings(c_.hardwareUnlockButton, RadioConfig::UnlockHardware);
}
