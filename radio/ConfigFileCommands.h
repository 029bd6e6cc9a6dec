#pragma once
#include <string>
#include <vector>

#include "radio/ConfigFileChooser.h"
#include "radio/ConfigFileIo.h"
#include "radio/ConfigView.h"
#include "radio/RadioActions.h"

// "Export Config" and "Import Config": a chosen file to and from the window's
// rows, with the outcome shown by IActionWindow::ShowResult for the Export or
// Import control. A cancelled dialog shows nothing. Both run on the window
// thread and block it until the file is done.
class ConfigFileCommands {
public:
    // `io` defaults to the real file system calls.
    ConfigFileCommands(IConfigView& view, IActionWindow& window, IFileChooser& chooser);
    ConfigFileCommands(IConfigView& view, IActionWindow& window, IFileChooser& chooser, ConfigFileIo& io);

    // Writes the rows to the chosen path (".cfg" appended by WithConfigSuffix)
    // and reports whether the whole profile is there.
    void exportConfig();
    // Reports whether the chosen file opens, then applies it line by line.
    void importConfig();

    // The whole profile goes to a temporary file in the target's folder; every
    // write, the flush and the close are checked, and only then does the file
    // take the target's place. Any failure deletes the temporary file and
    // returns false, and an existing target stays exactly as it was. (A
    // folder of more than 245 characters leaves no room for the temporary
    // name, so a profile cannot be saved there.)
    bool SaveProfile(const std::string& target, const std::vector<std::string>& lines);
    // Whether SaveProfile can put a profile at `target` now, asked before any
    // work whose result it would keep: a temporary file can be made in its
    // folder, and an existing target is a file that is neither read-only nor
    // held by a program that forbids replacing it. Leaves nothing behind.
    static bool CanSaveProfile(const std::string& target);
    // Opens `path` for reading, reports the outcome, and applies the file if
    // it opened. A read error ends the import; the line it cut short is
    // dropped. Returns whether the file opened.
    bool LoadProfile(const std::string& path);

private:
    bool WriteLines(const std::string& path, const std::vector<std::string>& lines);
    void ApplyFile(HANDLE file);

    IConfigView& view;
    IActionWindow& window;
    IFileChooser& chooser;
    ConfigFileIo& io;
};
