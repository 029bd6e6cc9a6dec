#pragma once
#include <windows.h>

#include <memory>
#include <optional>
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
#include "app/RadioJobThread.h"
#include "app/RadioSearch.h"
#include "radio/ConfigFileCommands.h"
#include "radio/Outcome.h"
#include "radio/RadioJob.h"
#include "radio/RadioLink.h"
#include "radio/RadioSettings.h"
#include "radio/Settings.h"
#include "radio/SettingsStore.h"
#include "serial/PortDiscovery.h"
#include "serial/TrafficLog.h"

// Where the main window finds its ports and keeps its settings; tests point
// them at keys of their own.
struct MainWindowPlaces {
    const char* portMapKey = kSerialDeviceMapPath;
    const char* settingsKey = kSettingsKeyPath;
    // The user guide's folder (its "en" and "zh" pages); null: "guide"
    // beside the program.
    const char* guideFolder = nullptr;
};

// The main window: a router from the technician's clicks to the commands. It
// builds the control tree, speaks Chinese or English, and owns the one copy
// of the radio's settings it shows, bound to its rows. Connect, Read, Write,
// Write and Verify and Disconnect run as jobs on a thread of their own, the
// radio search on another and a firmware download on the worker; each
// reaches the window only through kWmAppUiEvent, so the window answers,
// repaints and switches its language while the radio answers. There is no
// lasting connection: every job opens the chosen port, exchanges, and closes
// it; its outcome says why it failed.
class DlgMain : public Loom::WindowImplBase {
public:
    using Places = MainWindowPlaces;
    static constexpr int kDesignWidth = 759, kDesignHeight = 539;

    explicit DlgMain(Places places = Places());
    // Stores the settings and closes the port; a job, a search or a download
    // still running is stopped first.
    ~DlgMain() override;

    // Creates, centres and shows the window; false when it cannot be made.
    bool Open();

    void Notify(Loom::NotifyMsg& msg) override;

    // For tests: the controls, the view, the settings shown and the state
    // behind them.
    MainWindowControls& Controls() { return c_; }
    MainConfigView& View() { return *view_; }
    const RadioSettings& Settings() const { return settings_; }
    // Shows these settings, as a Read or an Import does.
    void ApplySettings(const RadioSettings& settings);
    const LanguageTable& Languages() const { return languageTable_; }
    bool IsChinese() const { return view_->IsChinese(); }
    bool IsMenuMode() const { return menus_ && menus_->IsMenuMode(); }
    MainMenus& Menus() { return *menus_; }
    bool IsEnding() const { return ending_; }
    int ActiveMenu() const { return menus_ ? menus_->ActiveMenu() : -1; }
    bool IsDownloading() const { return downloading_; }
    bool IsSearching() const { return search_ && search_->IsRunning(); }
    // A radio job runs (until its thread has closed the port).
    bool IsRunningJob() const { return job_ && job_->IsRunning(); }
    // The last outcome shown, if any.
    const std::optional<Outcome>& LastOutcome() const { return lastOutcome_; }
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
    // Escape cancels a running job or radio search instead of ending the
    // program; F1 opens the user guide.
    bool ResponseDefaultKeyEvent(WPARAM key) override;

private:
    // The table of commands (DlgMainCommands.cpp).
    void BuildCommands();
    void FillLists();
    void OnSetFocusNotify(Loom::CControlUI* sender);
    // Runs the command of a button or menu item; false when the control runs none.
    bool RunCommand(Loom::CControlUI* control);
    void SetBusy(bool on);
    bool IsPortBusy() const { return downloading_ || IsSearching() || IsRunningJob(); }
    // Checks one frequency field when it loses the focus; false (with its
    // message and the focus back on it) when it is out of range.
    bool ValidateFrequency(Group group, int row);

    // Radio jobs.
    void StartJob(JobKind kind);
    void ShowJobProgress();
    void EndJob();
    // Stops a running job or radio search between two commands.
    void CancelRunning();
    void ShowCancel(bool shown);

    // Import and Export, on this thread: a profile is 29 short lines.
    void ImportProfile();
    void ExportProfile();

    // The outcome of an action: its caption with " Success" or " Failure" on
    // the strip, the cause and the next step under the body, a line in the
    // traffic log.
    void ShowActionOutcome(const Outcome& outcome);
    // The control's caption and the outcome on a green or red strip.
    void ShowOutcome(bool success, Loom::CControlUI* control);

    void StartFindRadio();
    void ShowSearchStep();
    void EndFindRadio();
    void StartFirmwareDownload();
    // Asks whether a running download may be abandoned; true when the
    // window may end.
    bool ConfirmEndDuringDownload();
    void EndProgram();
    void StartTrafficLog();
    void OpenLogFolder();
    // The guide's start page in the window's language, with the system's
    // program for .html pages; a message says why when it cannot.
    void OpenUserGuide();

    // The port list follows the machine: built again when Windows announces
    // a device arriving or leaving and each time the port box opens, never
    // while an action holds the port (then as soon as it ends).
    void NotePortsChanged();
    void RebuildPortsIfChanged();
    // The strip says the chosen port went, or that it is back.
    void ShowPortGone();
    void ShowPortBack(int port);
    // Checked in debug builds: the window's state and controls change only
    // on the window's thread.
    void AssertWindowThread() const;

    Places places_;
    MainWindowControls c_;
    LanguageTable languageTable_;
    std::unique_ptr<MainConfigView> view_;
    // The only copy of the settings the window shows that may change.
    RadioSettings settings_;
    std::unique_ptr<ConfigFileDialogs> fileDialogs_;
    std::unique_ptr<ConfigFileCommands> fileCommands_;
    std::unique_ptr<MainMenus> menus_;
    std::unique_ptr<ChannelCheck> channelCheck_;
    MainCommandTable commands_;
    RememberedSettings remembered_;
    bool initialised_ = false;
    DWORD windowThread_ = 0;
    std::optional<Outcome> lastOutcome_;
    bool portsChanged_ = false;
    bool portsChangePosted_ = false;
    // The chosen port that went, until it is back or another is chosen; the
    // strip says so while portGoneShown_.
    int lostPort_ = 0;
    bool portGoneShown_ = false;

    // The traffic log outlives the link and its port thread, which write to it.
    std::unique_ptr<TrafficLog> log_;
    RadioLink link_;
    // The job, the search and the download use the link: declared after it,
    // they go first.
    std::unique_ptr<RadioJobThread> job_;
    std::unique_ptr<RadioSearch> search_;
    std::unique_ptr<FirmwareJob> firmware_;
    std::string firmwarePortText_;
    ULONGLONG downloadStarted_ = 0;
    // When the last job or search ended: Escape pressed before then only cancels.
    std::optional<DWORD> busyEndedAt_;
    bool downloading_ = false;
    bool choosingFirmware_ = false;
    bool ending_ = false;  // the program has been told to end
};
