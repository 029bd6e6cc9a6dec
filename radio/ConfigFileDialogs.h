#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "radio/ConfigFileChooser.h"
#include "radio/ConfigView.h"

// The common file dialogs of "Export Config" and "Import Config": one filter,
// "Config File(*.cfg)" with the pattern "*.cfg", opening in the program's
// folder, titled in the window's current language. Paths are ANSI text of at
// most 259 characters. Thread: the window thread (the dialogs are modal).
class ConfigFileDialogs : public IFileChooser {
public:
    enum class Kind { Save, Open };

    ConfigFileDialogs(HWND owner, const IConfigView& view);

    // Asks before overwriting an existing file and before creating a new one,
    // and takes the typed name as it is.
    bool ChooseSavePath(std::string& path) override;
    // The path and the file must exist.
    bool ChooseOpenPath(std::string& path) override;

    // The dialog record as it will be shown. `path` is a buffer of MAX_PATH
    // bytes; it and `folder` must outlive the record.
    OPENFILENAMEA Describe(Kind kind, char* path, const std::string& folder) const;

    // The folder of the running program, without a trailing backslash.
    static std::string ProgramFolder();

private:
    bool Run(Kind kind, std::string& path);

    HWND owner;
    const IConfigView& view;
};
