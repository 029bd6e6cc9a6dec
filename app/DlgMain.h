#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Loom/Builder/WindowImplBase.h"
#include "app/LanguageTable.h"
#include "app/MainConfigView.h"
#include "app/MainWindowTree.h"
#include "radio/ConfigFileCommands.h"
#include "radio/ConfigFileDialogs.h"
#include "radio/Firmware.h"
#include "radio/FirmwareWindow.h"
#include "radio/FirmwareWorker.h"
#include "radio/RadioActions.h"
#include "radio/RadioConfig.h"
#include "radio/RadioExchange.h"
#include "radio/RadioFinder.h"
#include "radio/Settings.h"
#include "radio/SettingsStore.h"
#include "serial/PortDiscovery.h"
#include "serial/SelectedPort.h"
#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"

// Where the main window finds its ports and keeps its settings; tests point
// them at keys of their own.
struct MainWindowPlaces {
    const char* portMapKey = kSerialDeviceMapPath;
    const char* settingsKey = kSettingsKeyPath;
};

// The main window: the controller of everything the technician does. It
// builds the control tree, speaks Chinese or English, runs the four radio
// commands, Import and Export on its own thread (blocking it while the radio
// answers), and a firmware download on the worker thread, which reaches the
// window only through kWmAppUiEvent. There is no lasting connection: every
// command opens the chosen port, exchanges, shows its outcome and closes it.
class DlgMain : public Loom::WindowImplBase,
                public IActionWindow,
                public IPortOwner,
                public IPortWriter,
                private IRadioProbe {
public:
    using Places = MainWindowPlaces;
    static constexpr int kDesignWidth = 759, kDesignHeight = 509;

    explicit DlgMain(Places places = Places());
    // Stores the settings and closes the port; a download still running is
    // cancelled first.
    ~DlgMain() override;

    // Creates, centres and shows the window; false when it cannot be made.
    bool Open();

    // IActionWindow
    bool OpenSelectedPort(bool firmwareRate) override;
    void ShowResult(bool success, ActionControl control) override;
    // The port thread's bytes go to the exchange.
    void OnPortByte(unsigned char byte) override { exchange_.OnPortByte(byte); }
    // Bytes for the radio; dropped once a download is being cancelled, so
    // that the download's next exchange fails at once.
    void Write(const unsigned char* data, uint32_t length) override;

    void Notify(Loom::NotifyMsg& msg) override;

    // For tests: the controls, the view and the state behind them.
    MainWindowControls& Controls() { return c_; }
    MainConfigView& View() { return *view_; }
    const LanguageTable& Languages() const { return languageTable_; }
    bool IsChinese() const { return view_->IsChinese(); }
    bool IsMenuMode() const { return menuMode_; }
    int ActiveMenu() const { return activeMenu_; }
    bool IsDownloading() const { return downloading_; }
    bool IsSearching() const { return searching_; }
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
    void FillLists();
    void ApplyLanguageWidths(bool chinese);
    bool OnClick(Loom::CControlUI* sender);
    bool OnKillFocusNotify(Loom::CControlUI* sender);
    void OnSetFocusNotify(Loom::CControlUI* sender);
    void OnItemSelect(Loom::CControlUI* sender);
    bool IsRangeCheckExempt(const Loom::CControlUI* sender) const;
    bool CheckPendingChannel(const Loom::CControlUI* sender);
    bool ChannelOf(const Loom::CControlUI* edit, Group& group, int& row) const;
    void CloseMenus();
    bool IsHeaderFocused() const;
    void HoverMenu(POINT pt);
    bool DispatchMenuItem(Loom::CControlUI* item);
    void RunCommand(Loom::CControlUI* control);
    void DropInputMadeWhileBusy();
    bool IsBlockedWhileDownloading(const Loom::CControlUI* control) const;
    void SetBusy(bool on);
    // Enables or disables every command that needs the port.
    void EnablePortCommands(bool enabled);
    bool IsPortBusy() const { return downloading_ || searching_; }
    // The radio search: started on the window thread, run on its own
    // thread, which reaches the window only through posted kWmAppUiEvent.
    void StartFindRadio();
    void ShowSearchStep();
    void EndFindRadio();
    void StopSearchThread();
    void ShowStrip(const std::string& text, DWORD colour);
    // IRadioProbe, called on the search thread.
    void Trying(int port, int rate) override;
    bool OpenPort(int port, int rate) override;
    bool Connect() override;
    void ClosePort() override;
    void ShowProgress(int value);
    // The control's caption and the outcome on a green or red strip; closes the port.
    void ShowOutcome(bool success, Loom::CControlUI* control);
    Loom::CControlUI* ControlOf(ActionControl control) const;
    void StartFirmwareDownload();
    void RunFirmwareDownload();
    // Asks whether a running download may be abandoned; true when the
    // window may end.
    bool ConfirmEndDuringDownload();
    void CancelDownload();
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
    RememberedSettings remembered_;
    bool initialised_ = false;

    bool menuMode_ = false;
    int activeMenu_ = -1;
    bool txPending_[10] = {};
    bool rxPending_[10] = {};

    // The traffic log outlives the port and its thread, which write to it.
    std::unique_ptr<TrafficLog> log_;
    // The exchange is declared before the port, so that the port and its
    // thread, which feeds the exchange, go first.
    RadioExchange exchange_;
    CSerialPort port_;
    SelectedPort lastPort_;
    std::string firmwarePortText_, firmwareRateText_;
    std::string firmwarePath_;  // chosen on the window thread, read by the worker after firmwarePending
    std::atomic<bool> cancelling_{false};
    bool downloading_ = false;
    bool choosingFirmware_ = false;
    bool ending_ = false;  // the program has been told to end
    std::unique_ptr<FirmwareWorker> worker_;

    bool searching_ = false;
    std::thread searchThread_;
    std::atomic<bool> searchCancel_{false};
    std::atomic<bool> searchEnded_{false};
    std::atomic<int> tryingPort_{0}, tryingRate_{0};
    // The tick count at the last search's end.
    std::optional<DWORD> searchEndedAt_;
    FindOutcome searchOutcome_;  // written by the search thread before it ends
};
