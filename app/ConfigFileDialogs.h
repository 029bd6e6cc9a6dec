#pragma once
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

#include "radio/ConfigFileChooser.h"
#include "radio/ProfileFolder.h"
#include "radio/RadioSettings.h"

// The common file dialogs of "Export Config" and "Import Config": one filter,
// "Config File(*.cfg)" with the pattern "*.cfg", titled in the window's
// current language. They open in the program's folder, or, when the program
// cannot write there (an installed program), in the user's Documents folder
// and then in the folder of the profile chosen last (ProfileFolder.h). Paths
// are UTF-8 of at most 259 characters of any kind (kPathUnits UTF-16 units
// hold them with the terminator). Thread: the window thread (the dialogs
// are modal).
class ConfigFileDialogs : public IFileChooser {
public:
    enum class Kind { Save, Open };
    // The dialog's path buffer: 259 characters, each up to two UTF-16 units.
    static constexpr DWORD kPathUnits = 2 * (MAX_PATH - 1) + 1;

    // `language` tells the window's language of the moment.
    ConfigFileDialogs(HWND owner, std::function<Language()> language, std::string programFolder = ProgramFolder());

    // Asks before overwriting an existing file and before creating a new one,
    // and takes the typed name as it is.
    bool ChooseSavePath(std::string& path) override;
    // The path and the file must exist.
    bool ChooseOpenPath(std::string& path) override;

    // The dialog record as it will be shown. `path` is a buffer of
    // kPathUnits units; it and `folder` must outlive the record.
    OPENFILENAMEW Describe(Kind kind, wchar_t* path, const std::wstring& folder) const;

    // The folder the next dialog opens in. Whether the program's folder can
    // be written is found out once, at the first dialog.
    std::string InitialFolder();
    // Takes the path of a dialog that was answered with OK (the record
    // Describe made) and remembers its folder for the next dialog.
    void Accept(const OPENFILENAMEW& answered, std::string& path);

    // The folder of the running program, without a trailing backslash.
    static std::string ProgramFolder();
    // The user's Documents folder; empty when the shell does not know it.
    static std::string DocumentsFolder();
    // Whether a file can be made in `folder` (tried for real: permissions,
    // read-only media and the like all count); false for a missing folder.
    static bool FolderWritable(const std::string& folder);

private:
    bool Run(Kind kind, std::string& path);

    HWND owner;
    std::function<Language()> language;
    std::string programFolder;
    enum class Writable { Unknown, Yes, No } programWritable = Writable::Unknown;
    std::string lastUsed;
};
