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

TEST(FolderOfChosenPath, NameWithABackslashTrailByte_CutAtTheSeparator) {
    // A GBK character whose second byte is 0x5C, the backslash, in the name.
    const std::string path = std::string("C:\\d\\\x81\x5C.cfg");
    EXPECT_EQ("C:\\d", FolderOfChosenPath(path, 5));
}

bool Gbk(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

TEST(FolderOfPath, ADoubleByteCharacterEndingInABackslashByte_IsNoSeparator) {
    // 運 is 0xDF 0x5C in code page 936.
    EXPECT_EQ("C:\\d", FolderOfPath("C:\\d\\a\xDF\x5C.cfg", Gbk));
    EXPECT_EQ("C:\\\xDF\x5C", FolderOfPath("C:\\\xDF\x5C\\x.cfg", Gbk));
    EXPECT_EQ("C:", FolderOfPath("C:\xDF\x5C.cfg", Gbk));
    EXPECT_EQ("\\", FolderOfPath("\\x.cfg", Gbk));
    EXPECT_EQ("", FolderOfPath("\xDF\x5C.cfg", Gbk));
}

}  // namespace
