// The main window's table of commands.
#include "app/DlgAbout.h"
#include "app/DlgMain.h"

using namespace Loom;

// The window's commands: the button and menu item of each, what it runs, and
// how a download or search holding the port affects it.
void DlgMain::BuildCommands() {
    RadioActions& a = *actions_;
    ConfigFileCommands& files = *fileCommands_;
    const auto radio = [&](CControlUI* button, CControlUI* item, void (RadioActions::*action)(),
                           ActionControl outcome) {
        MainCommand command;
        command.button = button;
        command.item = item;
        command.run = [&a, action] { (a.*action)(); };
        command.whileBusy = WhilePortBusy::Disabled;
        command.holdsTheWindow = true;
        command.buttonNeedsAPort = true;
        command.outcome = outcome;
        commands_.Add(command);
    };
    const auto add = [&](CControlUI* button, CControlUI* item, std::function<void()> run, WhilePortBusy whileBusy,
                         std::optional<ActionControl> outcome = std::nullopt) {
        MainCommand command;
        command.button = button;
        command.item = item;
        command.run = std::move(run);
        command.whileBusy = whileBusy;
        command.outcome = outcome;
        commands_.Add(command);
    };
    radio(c_.connectButton, c_.connectItem, &RadioActions::EnterConfigMode, ActionControl::Connect);
    radio(c_.disconnectButton, c_.disconnectItem, &RadioActions::ExitConfigMode, ActionControl::Disconnect);
    radio(c_.readButton, c_.readItem, &RadioActions::ReadFromRadio, ActionControl::Read);
    radio(c_.writeButton, c_.writeItem, &RadioActions::WriteToRadio, ActionControl::Write);
    radio(nullptr, c_.verifyItem, &RadioActions::WriteAndVerify, ActionControl::WriteAndVerify);
    const WhilePortBusy disabled = WhilePortBusy::Disabled, runs = WhilePortBusy::Runs;
    // Import and Export show their outcome, which closes the port: refused too.
    add(
        c_.importButton, c_.importItem, [&files] { files.importConfig(); }, disabled, ActionControl::Import);
    add(
        c_.exportButton, c_.exportItem, [&files] { files.exportConfig(); }, disabled, ActionControl::Export);
    add(
        nullptr, c_.findItem, [this] { StartFindRadio(); }, disabled);
    add(
        nullptr, c_.firmwareItem, [this] { StartFirmwareDownload(); }, WhilePortBusy::Refused, ActionControl::Firmware);
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
        nullptr, c_.logFolderItem, [this] { OpenLogFolder(); }, runs);
    RadioConfig& config = *config_;
    add(
        c_.txDefaultButton, nullptr, [&config] { config.fillDefaultFrequencies(Group::Transmit); }, runs);
    add(
        c_.rxDefaultButton, nullptr, [&config] { config.fillDefaultFrequencies(Group::Receive); }, runs);
    add(
        c_.serialUnlockButton, nullptr, [&config] { config.UnlockSerialNumber(); }, runs);
    add(
        c_.hardwareUnlockButton, nullptr, [&config] { config.UnlockHardware(); }, runs);
}
