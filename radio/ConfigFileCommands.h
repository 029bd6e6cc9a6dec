#pragma once
#include <optional>
#include <string>
#include <vector>

#include "radio/ConfigFileChooser.h"
#include "radio/ConfigFileIo.h"
#include "radio/Outcome.h"
#include "radio/RadioSettings.h"

// "Export Config" and "Import Config": a chosen file to and from the
// settings. Each gives its outcome (success, or a file error naming the
// path), or none when the dialog was cancelled. Both run on the caller's
// thread (the window's) until the file is done: a profile is 29 short lines.
class ConfigFileCommands {
public:
    // `io` defaults to the real file system calls.
    explicit ConfigFileCommands(IFileChooser& chooser);
    ConfigFileCommands(IFileChooser& chooser, ConfigFileIo& io);

    // Writes the settings to the chosen path (".cfg" appended by
    // WithConfigSuffix); success only when the whole profile is there.
    std::optional<Outcome> exportConfig(const RadioSettings& settings);
    // Applies the chosen file to the settings line by line, if it opens.
    std::optional<Outcome> importConfig(RadioSettings& settings);

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
    // Whether a profile can be made in the folder of `target` now, whatever
    // the file `target` itself (its name not yet known in full).
    static bool CanSaveInFolderOf(const std::string& target);
    // Opens `path` for reading and applies the file if it opened. A read
    // error ends the import; the line it cut short is dropped. Returns
    // whether the file opened.
    bool LoadProfile(const std::string& path, RadioSettings& settings);

private:
    bool WriteLines(const std::string& path, const std::vector<std::string>& lines);
    void ApplyFile(HANDLE file, RadioSettings& settings);

    IFileChooser& chooser;
    ConfigFileIo& io;
};
