#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Loom/Builder/WindowImplBase.h"
#include "app/ChannelCheck.h"
#include "app/ConfigFileDialogs.h"
#include "app/FirmwareJob.h"
#include "app/LanguageTable.h"
#include "app/MainCommands.h"
#include "app/MainConfigView.h"
#include "app/MainMenus.h"
#include "app/MainWindowTree.h"
#include "app/RadioSearch.h"
#include "radio/ConfigFileCommands.h"
#include "radio/RadioActions.h"
#include "radio/RadioConfig.h"
#include "radio/RadioLink.h"
#include "radio/Settings.h"
#include "radio/SettingsStore.h"
#include "serial/PortDiscovery.h"
#include "serial/TrafficLog.h"

// Where the main window finds its ports and keeps its settings; tests point
// them at keys of their own.
struct MainWindowPlaces {
    const char* portMapKey = kSerialDeviceMapPath;
    const char* settingsKey = kSettingsKeyPath;
};

// The main window: a router from the technician's clicks to the commands. It
// builds the control tree, speaks Chinese or English, runs the radio
// commands, Import and Export on its own thread (blocking it while the radio
// answers), the radio search on a thread of its own and a firmware download
// on the worker thread; those two reach the window only through
// kWmAppUiEvent. There is no lasting connection: every command opens the
// chosen port, exchanges, shows its outcome and closes it.
class DlgMain : public Loom::WindowImplBase, public IActionWindow {
public:
    using Places = MainWindowPlaces;
    static constexpr int kDesignWidth = 759, kDesignHeight = 509;

    explicit DlgMain(Places places = Places());
    // Stores the settings and closes the port; a search or a download still
    // running is stopped first.
    ~DlgMain() override;

    // Creates, centres and shows the window; false when it cannot be made.
    bool Open();

    // IActionWindow
    bool OpenSelectedPort(bool firmwareRate) override;
    void ShowResult(bool success, ActionControl control) override;

    void Notify(Loom::NotifyMsg& msg) override;

    // For tests: the controls, the view and the state behind them.
    MainWindowControls& Controls() { return c_; }
    MainConfigView& View() { return *view_; }
    const LanguageTable& Languages() const { return languageTable_; }
    bool IsChinese() const { return view_->IsChinese(); }
    bool IsMenuMode() const { return menus_ && menus_->IsMenuMode(); }
    int ActiveMenu() const { return menus_ ? menus_->ActiveMenu() : -1; }
    bool IsDownloading() const { return downloading_; }
    bool IsSearching() const { return search_ && search_->IsRunning(); }
    // The traffic log, or null when its folder could not be made.
    TrafficLog* Log() const { return log_.get(); }
    // The language switch of the language item.
    void SwitchLanguage();

protected:
    std::string GetSkin(int width, int height) const override;
    void InitWindow() override;
    LRESULT OnClose(WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // Escape cancels a running radio search instead of ending the program.
    bool ResponseDefaultKeyEvent(WPARAM key) override;

private:
    // The table of commands (DlgMainCommands.cpp).
    void BuildCommands();
    void FillLists();
    void OnSetFocusNotify(Loom::CControlUI* sender);
    // Runs the command of a button or menu item; false when the control runs none.
    bool RunCommand(Loom::CControlUI* control);
    void SetBusy(bool on);
    bool IsPortBusy() const { return downloading_ || IsSearching(); }
    void StartFindRadio();
    void ShowSearchStep();
    void EndFindRadio();
    // The control's caption and the outcome on a green or red strip; closes the port.
    void ShowOutcome(bool success, Loom::CControlUI* control);
    void StartFirmwareDownload();
    // Asks whether a running download may be abandoned; true when the
    // window may end.
    bool ConfirmEndDuringDownload();
    void EndProgram();
    void StartTrafficLog();
    void OpenLogFolder();

    Places places_;
    MainWindowControls c_;
    LanguageTable languageTable_;
    std::unique_ptr<MainConfigView> view_;
    std::unique_ptr<RadioConfig> config_;
    std::unique_ptr<RadioActions> actions_;
    std::unique_ptr<ConfigFileDialogs> fileDialogs_;
    std::unique_ptr<ConfigFileCommands> fileCommands_;
    std::unique_ptr<MainMenus> menus_;
    std::unique_ptr<ChannelCheck> channelCheck_;
    MainCommandTable commands_;
    RememberedSettings remembered_;
    bool initialised_ = false;

    // The traffic log outlives the link and its port thread, which write to it.
    std::unique_ptr<TrafficLog> log_;
    RadioLink link_;
    // The search and the download use the link: declared after it, they go first.
    std::unique_ptr<RadioSearch> search_;
    std::unique_ptr<FirmwareJob> firmware_;
    std::string firmwarePortText_, firmwareRateText_;
    bool downloading_ = false;
    bool choosingFirmware_ = false;
    bool ending_ = false;  // the program has been told to end
};
