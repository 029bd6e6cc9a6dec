#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Win32Text.h"
#include "platform/Wide.h"

// Polls `done` every 50 ms; false when it has not come true within `ms`.
bool WaitFor(const std::function<bool()>& done, DWORD ms);

// Places of the main window's 759 x 539 client area that tests press: the
// transmit group's Default button, the file buttons, the File menu's header
// and its seventh item.
constexpr POINT kTxDefault{95, 449};
constexpr POINT kImport{658, 415}, kExport{658, 456};
constexpr POINT kFileHeader{31, 54}, kFirmwareItem{55, 194};

// Runs VelmoraConfig.exe and talks to its main window as a user would: mouse
// presses and keys posted to the window, pictures of what it shows. The
// settings it starts from are written before it starts.
class ProgramDriver {
public:
    ProgramDriver() = default;
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // The remembered settings the next start finds; -1 leaves a value out.
    static void WriteSettings(int portPosition, int ratePosition, int chinese);
    // A stored value ("Port", "Baud", "Chinese"), or "" when there is none.
    static std::string ReadSetting(const char* name);
    // The position of COMn in the program's port list, -1 when absent.
    static int PortPosition(int comPort);

    // Starts the program and waits for its main window's first paint; false
    // on failure.
    bool Start();
    // The same for the program at a Windows path (an installed copy).
    bool Start(const std::string& windowsPath);
    // Runs the program at `windowsPath` without arguments, which is to start
    // the window program and end; waits for it to end (its exit code in
    // `exitCode`), then for the main window it started. False when it did
    // not end or no window showed.
    bool StartThrough(const std::string& windowsPath, DWORD& exitCode);
    HWND Window() const { return window_; }
    // A left click at a point of the window's client area, as a user makes
    // it: once the program has ended what it was doing (a radio command
    // holds its window until the radio answers).
    void Click(int x, int y);
    // A click made at once, while the program may still be busy.
    void ClickNow(int x, int y);
    void MouseMove(int x, int y);
    // A key pressed at the window, like a click once the program has ended
    // what it was doing (keys pressed at a busy window are dropped).
    void Key(WPARAM key);
    // Alt and a key, as the system delivers it; also once the program is idle.
    void AltKey(WPARAM key);
    // The item at `item` of the menu whose header is at `header`: the header
    // pressed, the pointer over it so that its panel opens, the item pressed.
    void ChooseMenuItem(POINT header, POINT item);
    // Presses Import or Export at `button` and chooses `windowsPath` in the
    // file dialog it opens; a question whether to create the file is
    // answered Yes. True when the dialog has gone.
    bool ThroughFileDialog(POINT button, const std::string& windowsPath);
    // A dialog box of the program (a file dialog, a message box) other than
    // `other`, once its buttons exist and it answers; nullptr when none is
    // ready within `ms`.
    HWND WaitForDialog(DWORD ms, HWND other = nullptr) const;
    // The open drop-down list of a combo, or nullptr when none shows within `ms`.
    HWND WaitForDropDown(DWORD ms) const;
    // The native edit window of the edit being typed in, or nullptr.
    HWND EditWindow() const;
    // Types into the edit being typed in, one character message per key
    // ('\b' erases the character before the caret); returns once the edit
    // has taken them all.
    void Type(const std::string& text) const;
    // The text of the edit being typed in.
    std::string EditText() const;
    // Puts the text on the clipboard and pastes it into the edit being typed
    // in, as Ctrl+V does; false when the clipboard refused it.
    bool Paste(const std::string& text) const;
    // A key pressed while `wnd` has the keyboard.
    static void KeyTo(HWND wnd, WPARAM key);
    // The caption of a window.
    static std::string Caption(HWND wnd);
    // Types the path (UTF-8) into the file dialog's name box and confirms it.
    static void ChooseFile(HWND dialog, const std::string& windowsPath);
    // The texts of a dialog's static controls, each followed by a newline.
    static std::string DialogText(HWND dialog);
    // Presses the button with that command id (IDYES, IDNO, ...).
    static void PressDialogButton(HWND dialog, int id);
    // Waits for the program to end; true when it did within `ms`.
    bool WaitForExit(DWORD ms);
    // Handles nothing, waits `ms` milliseconds.
    static void Sleep(DWORD ms) { ::Sleep(ms); }

    // The window's client area as 0xRRGGBB pixels, row by row.
    struct Picture {
        int width = 0, height = 0;
        std::vector<uint32_t> pixels;
        uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
        // Saves it as a PNG file; false when it cannot be written.
        bool Save(const std::string& path) const;
        // Reads a PNG file that Save wrote; false when it cannot.
        static bool Load(const std::string& path, Picture& picture);
        // How many pixels differ from `other`, a picture of the same size,
        // and in `where` the smallest rectangle that holds them.
        int Differing(const Picture& other, RECT* where = nullptr) const;
    };
    Picture Capture() const;
    // The client area as the screen shows it, drop-down lists over it included.
    Picture CaptureScreen() const;

private:
    void WaitUntilIdle() const;

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};
