#include "radio/ProfileFolder.h"

std::string ProfileDialogFolder(const ProfileFolders& folders) {
    if (folders.programWritable) return folders.program;
    if (!folders.lastUsed.empty()) return folders.lastUsed;
    return folders.documents;
}

std::string FolderOfChosenPath(const std::string& path, std::size_t fileOffset) {
    if (fileOffset == 0 || fileOffset > path.size()) return {};
    std::string folder = path.substr(0, fileOffset);
    // A root keeps its backslash: "C:" alone names the drive's current folder
    // instead, and nothing at all the current folder.
    const bool root = folder.size() == 1 || (folder.size() == 3 && folder[1] == ':');
    if (!root && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::size_t FileNameOffset(const std::string& path) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == '/' || (c == ':' && i == 1)) offset = i + 1;
    }
    return offset;
}

std::string FolderOfPath(const std::string& path) { return FolderOfChosenPath(path, FileNameOffset(path)); }
