#include <gtest/gtest.h>

#include "radio/ProfileFolder.h"

namespace {

ProfileFolders Folders(bool writable, const std::string& lastUsed, const std::string& documents = "C:\\Docs") {
    ProfileFolders folders;
    folders.program = "C:\\Tool";
    folders.programWritable = writable;
    folders.documents = documents;
    folders.lastUsed = lastUsed;
    return folders;
}

TEST(ProfileDialogFolder, WritableProgramFolder_KeepsItEvenAfterAChoice) {
    EXPECT_EQ("C:\\Tool", ProfileDialogFolder(Folders(true, "")));
    EXPECT_EQ("C:\\Tool", ProfileDialogFolder(Folders(true, "D:\\Profiles")));
}

TEST(ProfileDialogFolder, ReadOnlyProgramFolder_DocumentsThenTheFolderLastUsed) {
    EXPECT_EQ("C:\\Docs", ProfileDialogFolder(Folders(false, "")));
    EXPECT_EQ("D:\\Profiles", ProfileDialogFolder(Folders(false, "D:\\Profiles")));
    // Without a Documents folder the dialog chooses, never the folder that
    // cannot be written.
    EXPECT_EQ("", ProfileDialogFolder(Folders(false, "", "")));
}

TEST(FolderOfChosenPath, CutAtTheDialogsOffset_RootKeepsItsBackslash) {
    EXPECT_EQ("C:\\a\\b", FolderOfChosenPath("C:\\a\\b\\x.cfg", 7));
    EXPECT_EQ("C:\\", FolderOfChosenPath("C:\\x.cfg", 3));
    EXPECT_EQ("\\\\server\\share", FolderOfChosenPath("\\\\server\\share\\x.cfg", 15));
    EXPECT_EQ("", FolderOfChosenPath("x.cfg", 0));
    EXPECT_EQ("", FolderOfChosenPath("C:\\x.cfg", 99));
}

TEST(FolderOfPath, Utf8Names_CutAtTheLastSeparator) {
    EXPECT_EQ("C:\\Users\\Łukasz", FolderOfPath("C:\\Users\\Łukasz\\用户.cfg"));
    EXPECT_EQ("C:\\", FolderOfPath("C:\\Пользователь.cfg"));
    EXPECT_EQ("C:", FolderOfPath("C:运.cfg"));
    EXPECT_EQ("\\", FolderOfPath("\\x.cfg"));
    EXPECT_EQ("", FolderOfPath("运.cfg"));
}

}  // namespace
