#pragma once
#include <cstddef>
#include <string>

// Where the profile dialogs ("Import Config", "Export Config") open. A program
// run from a folder its user can write (the portable zip) opens them in its
// own folder, as it always has. An installed program lives in a folder only
// administrators can write, where every Export would fail: there they open in
// the user's Documents folder, and after a profile has been chosen, in that
// profile's folder for the rest of the session.
struct ProfileFolders {
    std::string program;  // the program's folder
    bool programWritable = true;
    std::string documents;  // the user's Documents folder; empty when unknown
    std::string lastUsed;   // the folder of the profile chosen last; empty before
};

// The folder to open the dialogs in; empty lets the dialog choose.
std::string ProfileDialogFolder(const ProfileFolders& folders);

// The folder of a path the dialog answered, given the offset of the file name
// the dialog reports: "C:\a"
// for "C:\a\b.cfg", "C:\" for "C:\b.cfg", "\" for "\b.cfg", "C:" for
// "C:b.cfg", empty when the answer has no folder.
std::string FolderOfChosenPath(const std::string& path, std::size_t fileOffset);

// The offset of a UTF-8 path's file name: just after its last '\', '/' or
// drive colon ("C:b.cfg"); no byte of a UTF-8 sequence is ASCII, so none is
// taken for a separator. 0 for a bare name.
std::size_t FileNameOffset(const std::string& path);

// The folder of any path, by that offset and the rule of FolderOfChosenPath.
std::string FolderOfPath(const std::string& path);
