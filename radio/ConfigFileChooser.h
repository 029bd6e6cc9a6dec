#pragma once
#include <string>

// Asks the user for the file of an export or an import. The window shows the
// common file dialogs (ConfigFileDialogs); tests answer with paths of their
// own. Both return false when the user cancels, and then `path` is unchanged.
class IFileChooser {
public:
    // A name to write to; it need not exist yet.
    virtual bool ChooseSavePath(std::string& path) = 0;
    // An existing file to read.
    virtual bool ChooseOpenPath(std::string& path) = 0;

protected:
    ~IFileChooser() = default;
};
