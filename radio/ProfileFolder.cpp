#include "radio/ProfileFolder.h"

std::string ProfileDialogFolder(const ProfileFolders& folders) {
    if (folders.programWritable) return folders.program;
    if (!folders.lastUsed.empty()) return folders.lastUsed;
    return folders.documents;
}

std::string FolderOfChosenPath(const std::string& path, std::size_t fileOffset) {
    if (fileOffset == 0 || fileOffset > path.size()) return {};
    std::string folder = path.substr(0, fileOffset);
    // A drive's root keeps its backslash: "C:" alone names the drive's
    // current folder instead.
    const bool root = folder.size() == 3 && folder[1] == ':';
    if (!root && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}
