#pragma once
#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Control/TextUI.h"
#include "Loom/Core/ContainerUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "app/GroupBoxUI.h"
#include "app/LabelAndComboUI.h"
#include "app/LabelAndEditUI.h"
#include "app/StatusStripUI.h"
#include "radio/RadioSettings.h"

// Every control of the main window that its behaviour refers to. The
// controls belong to the window's tree (through its paint manager), except
// the transmit and receive rows 0 and 9, which are built like the others but
// never placed: they are owned here and deleted with this record.
struct MainWindowControls {
    MainWindowControls() = default;
    ~MainWindowControls();
    MainWindowControls(const MainWindowControls&) = delete;
    MainWindowControls& operator=(const MainWindowControls&) = delete;

    Loom::CLabelUI* titleLabel = nullptr;
    Loom::CButtonUI* minimizeButton = nullptr;
    Loom::CButtonUI* closeButton = nullptr;

    Loom::CButtonUI* fileMenuHeader = nullptr;
    Loom::CButtonUI* languageMenuHeader = nullptr;
    Loom::CButtonUI* helpMenuHeader = nullptr;
    Loom::CVerticalLayoutUI* fileMenu = nullptr;
    Loom::CVerticalLayoutUI* languageMenu = nullptr;
    Loom::CVerticalLayoutUI* helpMenu = nullptr;
    Loom::CButtonUI* connectItem = nullptr;
    // Tries Connect on every port and rate until a radio answers.
    Loom::CButtonUI* findItem = nullptr;
    Loom::CButtonUI* readItem = nullptr;
    Loom::CButtonUI* writeItem = nullptr;
    // The Write, then every setting read back and compared.
    Loom::CButtonUI* verifyItem = nullptr;
    Loom::CButtonUI* disconnectItem = nullptr;
    // Starts a firmware download; its outcome is shown against its caption.
    Loom::CButtonUI* firmwareItem = nullptr;
    Loom::CButtonUI* importItem = nullptr;
    Loom::CButtonUI* exportItem = nullptr;
    Loom::CButtonUI* exitItem = nullptr;
    Loom::CButtonUI* languageItem = nullptr;
    Loom::CButtonUI* guideItem = nullptr;
    Loom::CButtonUI* aboutItem = nullptr;
    Loom::CButtonUI* logFolderItem = nullptr;

    CGroupBoxUI* txGroup = nullptr;
    CGroupBoxUI* rxGroup = nullptr;
    CLabelAndEditUI* txChannelRow[10] = {};
    CLabelAndEditUI* rxChannelRow[10] = {};
    Loom::CButtonUI* txDefaultButton = nullptr;
    Loom::CButtonUI* rxDefaultButton = nullptr;

    CLabelAndComboUI* protocolRow = nullptr;
    CLabelAndComboUI* currentChannelRow = nullptr;
    CLabelAndComboUI* portBaudRow = nullptr;
    CLabelAndComboUI* linkBaudRow = nullptr;
    CLabelAndComboUI* bandwidthRow = nullptr;
    CLabelAndComboUI* workModeRow = nullptr;
    CLabelAndEditUI* localAddressRow = nullptr;
    CLabelAndEditUI* destinationAddressRow = nullptr;
    CLabelAndComboUI* highPowerRow = nullptr;
    CLabelAndComboUI* lowPowerRow = nullptr;
    Loom::CButtonUI* serialUnlockButton = nullptr;
    CLabelAndEditUI* serialNumberRow = nullptr;
    Loom::CButtonUI* hardwareUnlockButton = nullptr;
    CLabelAndEditUI* hardwareRow = nullptr;
    CLabelAndEditUI* firmwareRow = nullptr;
    CLabelAndEditUI* subFirmwareRow = nullptr;
    // The rows above by the field they show.
    CLabelAndComboUI* listRows[kListFieldCount] = {};
    CLabelAndEditUI* textRows[kTextFieldCount] = {};
    CStatusStripUI* statusLabel = nullptr;
    // Beside the strip while a radio action or the search runs: stops it.
    Loom::CButtonUI* cancelButton = nullptr;
    // Under the body, the strip's second part: why the last action failed
    // and what to try, in two lines.
    Loom::CTextUI* causeLabel = nullptr;

    Loom::CButtonUI* logoImage = nullptr;
    CGroupBoxUI* portGroup = nullptr;
    CLabelAndComboUI* portRow = nullptr;
    CLabelAndComboUI* rateRow = nullptr;
    Loom::CButtonUI* connectButton = nullptr;
    Loom::CButtonUI* readButton = nullptr;
    Loom::CButtonUI* writeButton = nullptr;
    Loom::CButtonUI* disconnectButton = nullptr;
    Loom::CButtonUI* importButton = nullptr;
    Loom::CButtonUI* exportButton = nullptr;
};

// Image of a menu header or item under the mouse.
constexpr const char* kMenuHotImage = "res='175' restype='png' corner='3,3,3,3'";
// Image of the header whose panel is open.
constexpr const char* kMenuOpenImage = "res='184' restype='png' corner='2,2,2,2'";

// The File panel: ten items of 20 pixels, three separators and the border.
constexpr const char* kFileMenuPos = "10,63,100,268";
constexpr const char* kFileMenuPosEnglish = "10,63,130,268";
// The Help panel holds "打开日志文件夹", the widest Chinese item.
constexpr const char* kHelpMenuPos = "94,63,204,125";
constexpr const char* kHelpMenuPosEnglish = "124,63,244,125";

// Appends the title bar, the menu bar, the body and the three hidden,
// floating drop-down panels to the root layout, in that order, with the
// start-up (Chinese) texts, and records every control in `c`.
void BuildMainWindowTree(Loom::CContainerUI& root, MainWindowControls& c);
