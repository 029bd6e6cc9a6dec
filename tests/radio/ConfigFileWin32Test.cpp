#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "radio/ConfigFile.h"
#include "radio/ConfigFileCommands.h"
#include "radio/RadioConfig.h"
#include "platform/UniqueHandle.h"
#include "testkit/SimProcess.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

namespace {

using Strings = std::vector<std::string>;

// Answers the dialogs with the test's paths; an empty answer is a cancel.
struct ScriptedChooser : IFileChooser {
    std::string savePath, openPath;
    int asked = 0;
    bool ChooseSavePath(std::string& path) override { return Answer(savePath, path); }
    bool ChooseOpenPath(std::string& path) override { return Answer(openPath, path); }
    bool Answer(const std::string& answer, std::string& path) {
        ++asked;
        if (answer.empty()) return false;
        path = answer;
        return true;
    }
};

// The real file calls, except the one step a test makes fail. A failing
// write first writes half of its bytes, as a disk that fills up does.
struct FailingIo : ConfigFileIo {
    int failWrite = 0;  // which write fails, from 1; 0 for none
    int failRead = 0;
    bool failFlush = false, failClose = false, failReplace = false;
    int writes = 0, reads = 0;

    bool Write(HANDLE file, const char* data, DWORD size) override {
        if (++writes != failWrite) return ConfigFileIo::Write(file, data, size);
        ConfigFileIo::Write(file, data, size / 2);
        return false;
    }
    bool Flush(HANDLE file) override { return !failFlush && ConfigFileIo::Flush(file); }
    bool Close(UniqueFile& file) override { return ConfigFileIo::Close(file) && !failClose; }
    bool Replace(const std::string& from, const std::string& to) override {
        return !failReplace && ConfigFileIo::Replace(from, to);
    }
    bool Read(HANDLE file, char* buffer, DWORD size, DWORD& got) override {
        if (++reads == failRead) return false;
        return ConfigFileIo::Read(file, buffer, size, got);
    }
};

void WriteBytes(const std::string& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(Text::WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid()) << path;
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

std::string ReadBytes(const std::string& path) {
    UniqueFile file(
        ::CreateFileW(Text::WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

// Real files in a folder of their own under the temporary folder.
class ConfigFileWin32Test : public ::testing::Test {
protected:
    ConfigFileWin32Test() : commands(chooser, io) {
        RadioConfig::FillParameterLists(settings, Language::English);
        char temp[MAX_PATH];
        DWORD n = ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp, n) + "cfgfile-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(++serial);
        ::CreateDirectoryW(Text::WidePath(folder).c_str(), nullptr);
    }

    ~ConfigFileWin32Test() override {
        for (const std::string& name : Files()) {
            ::SetFileAttributesW(Text::WidePath(In(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(Text::WidePath(In(name)).c_str());
        }
        ::RemoveDirectoryW(Text::WidePath(In("sub")).c_str());
        for (auto level = levels.rbegin(); level != levels.rend(); ++level)
            ::RemoveDirectoryW(Text::WidePath(*level).c_str());
        ::RemoveDirectoryW(Text::WidePath(folder).c_str());
    }

    std::string In(const std::string& name) const { return folder + "\\" + name; }

    // The names in the folder, sorted, without "." and "..".
    Strings Files() const {
        Strings names;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW(Text::WidePath(In("*")).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            std::string name = Text::Narrow(found.cFileName);
            if (name != "." && name != "..") names.push_back(name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    void FillRows() {
        for (int row = 0; row < 10; ++row) settings.tx[row] = "4" + std::to_string(20 + row) + ".00000";
        settings.rx[5] = "455.12500";
        RadioConfig::Select(settings, ListField::Protocol, 8);
        RadioConfig::Select(settings, ListField::LowPower, 1);
        settings.Text(TextField::Src) = "3";
    }

    // An export or import that ran: a success, or a file error naming `path`.
    static bool Is(const std::optional<Outcome>& outcome, OutcomeAction action, bool success,
                   const std::string& path = "") {
        if (!outcome || outcome->action != action) return false;
        if (success) return outcome->Succeeded();
        return outcome->kind == OutcomeKind::FileError && (path.empty() || outcome->detail == path);
    }

    static int serial;
    RadioSettings settings;
    ScriptedChooser chooser;
    FailingIo io;
    std::vector<std::string> levels;  // folders a test made below the folder, outermost first
    ConfigFileCommands commands;
    std::string folder;
    const std::string oldProfile = "Channel0,411.00000\r\r\nSRC,1\r\r\n";
};

int ConfigFileWin32Test::serial = 0;

// ---- Export -----------------------------------------------------------------

TEST_F(ConfigFileWin32Test, Export_NameWithoutSuffix_WritesTheProfileToNameDotCfg) {
    FillRows();
    chooser.savePath = In("abc");
    EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, true));
    EXPECT_EQ(Files(), Strings{"abc.cfg"});  // no temporary file left
    EXPECT_EQ(ReadBytes(In("abc.cfg")), ExportConfigText(settings));
    EXPECT_EQ(io.writes, 29);
}

TEST_F(ConfigFileWin32Test, Export_OverAnExistingProfile_ReplacesIt) {
    WriteBytes(In("p.cfg"), oldProfile);
    FillRows();
    chooser.savePath = In("p.cfg");
    EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, true));
    EXPECT_EQ(Files(), Strings{"p.cfg"});
    EXPECT_EQ(ReadBytes(In("p.cfg")), ExportConfigText(settings));
}

TEST_F(ConfigFileWin32Test, Export_NameInAnyScript_WritesTheProfile) {
    const std::string name = "a運Łж\xF0\x9F\x93\xA1.cfg";
    chooser.savePath = In(name);
    EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, true));
    EXPECT_EQ(Files(), Strings{name});
}

// 259 characters, most of them outside the basic plane (two UTF-16 units
// each): past MAX_PATH units, so Windows takes it only as a long path.
TEST_F(ConfigFileWin32Test, ExportThenImport_PathOf259CharactersOfFourBytes) {
    const std::string emoji = "\xF0\x9F\x93\xA1";
    std::string path = folder;
    size_t characters = Text::Utf8CharCount(path);
    while (characters + 1 + 50 + 1 + 5 < 259) {  // a level of 50, room for the name
        path += "\\" + [&] {
            std::string level;
            for (int i = 0; i < 50; ++i) level += emoji;
            return level;
        }();
        characters += 51;
        ASSERT_TRUE(::CreateDirectoryW(Text::WidePath(path).c_str(), nullptr));
        levels.push_back(path);
    }
    path += "\\";
    ++characters;
    while (characters + 4 < 259) path += emoji, ++characters;
    path += ".cfg";
    ASSERT_EQ(Text::Utf8CharCount(path), 259u);
    ASSERT_GT(Text::Widen(path).size(), 259u);

    FillRows();
    chooser.savePath = path;
    EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, true));
    EXPECT_EQ(ReadBytes(path), ExportConfigText(settings));
    settings.tx[2] = "999";
    chooser.openPath = path;
    EXPECT_TRUE(Is(commands.importConfig(settings), OutcomeAction::Import, true));
    EXPECT_EQ(settings.tx[2], "422.00000");
    ::DeleteFileW(Text::WidePath(path).c_str());
}

TEST_F(ConfigFileWin32Test, Export_WriteFailsOnAFullDisk_ReportsFailureAndKeepsTheOldProfile) {
    FillRows();
    chooser.savePath = In("p.cfg");
    for (int failing : {1, 2, 15, 29}) {
        WriteBytes(In("p.cfg"), oldProfile);
        io.writes = 0;
        io.failWrite = failing;
        EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, false)) << "write " << failing;
        EXPECT_EQ(ReadBytes(In("p.cfg")), oldProfile) << "write " << failing;
        EXPECT_EQ(Files(), Strings{"p.cfg"}) << "write " << failing;
        EXPECT_EQ(io.writes, failing);  // nothing written after the failure
    }
}

TEST_F(ConfigFileWin32Test, Export_FlushCloseOrReplaceFails_ReportsFailureAndKeepsTheOldProfile) {
    FillRows();
    chooser.savePath = In("p.cfg");
    for (int step = 0; step < 3; ++step) {
        WriteBytes(In("p.cfg"), oldProfile);
        io.failFlush = step == 0;
        io.failClose = step == 1;
        io.failReplace = step == 2;
        EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, false)) << "step " << step;
        EXPECT_EQ(ReadBytes(In("p.cfg")), oldProfile) << "step " << step;
        EXPECT_EQ(Files(), Strings{"p.cfg"}) << "step " << step;
    }
}

TEST_F(ConfigFileWin32Test, Export_FailsWithoutAnOldProfile_LeavesNoFile) {
    chooser.savePath = In("new.cfg");
    io.failWrite = 3;
    EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, false));
    EXPECT_TRUE(Files().empty());
}

TEST_F(ConfigFileWin32Test, Cancelled_HasNoOutcomeAndWritesNothing) {
    const RadioSettings before = settings;
    EXPECT_FALSE(commands.exportConfig(settings).has_value());
    EXPECT_FALSE(commands.importConfig(settings).has_value());
    EXPECT_EQ(chooser.asked, 2);
    EXPECT_EQ(settings, before);
    EXPECT_TRUE(Files().empty());
}

TEST_F(ConfigFileWin32Test, Export_IntoAMissingFolderOrOverAFolder_ReportsFailure) {
    ASSERT_TRUE(::CreateDirectoryW(Text::WidePath(In("sub")).c_str(), nullptr));
    for (const std::string& target : {In("missing\\x.cfg"), In("sub")}) {
        EXPECT_FALSE(commands.SaveProfile(target, ExportConfigLines(settings))) << target;
        EXPECT_EQ(Files(), Strings{"sub"}) << target;
    }
    chooser.savePath = In("missing\\x");
    EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, false, In("missing\\x.cfg")));
}

TEST_F(ConfigFileWin32Test, Export_OverAReadOnlyProfile_ReportsFailureAndKeepsIt) {
    WriteBytes(In("p.cfg"), oldProfile);
    ASSERT_TRUE(::SetFileAttributesW(Text::WidePath(In("p.cfg")).c_str(), FILE_ATTRIBUTE_READONLY));
    chooser.savePath = In("p.cfg");
    EXPECT_TRUE(Is(commands.exportConfig(settings), OutcomeAction::Export, false));
    EXPECT_EQ(ReadBytes(In("p.cfg")), oldProfile);
    EXPECT_EQ(Files(), Strings{"p.cfg"});
}

// ---- Import -----------------------------------------------------------------

TEST_F(ConfigFileWin32Test, Import_ExistingFile_AppliesItAndReportsSuccess) {
    WriteBytes(In("p.cfg"), "Channel0,415.5\nProtocolType,8\nLinkBaudRate,1");
    chooser.openPath = In("p.cfg");
    EXPECT_TRUE(Is(commands.importConfig(settings), OutcomeAction::Import, true));
    EXPECT_EQ(settings.tx[0], "415.5");
    EXPECT_EQ(settings.List(ListField::LinkBaudRate).ShownText(), " 19200");  // the last line had no line end
}

TEST_F(ConfigFileWin32Test, Import_MissingFile_ReportsFailureAndChangesNothing) {
    FillRows();
    const std::string before = ExportConfigText(settings);
    chooser.openPath = In("none.cfg");
    EXPECT_TRUE(Is(commands.importConfig(settings), OutcomeAction::Import, false, In("none.cfg")));
    EXPECT_EQ(ExportConfigText(settings), before);
}

TEST_F(ConfigFileWin32Test, Import_FileHeldExclusively_ReportsFailure) {
    WriteBytes(In("p.cfg"), oldProfile);
    UniqueFile holder(
        ::CreateFileW(Text::WidePath(In("p.cfg")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.valid());
    chooser.openPath = In("p.cfg");
    EXPECT_TRUE(Is(commands.importConfig(settings), OutcomeAction::Import, false));
    EXPECT_EQ(settings.tx[0], "");
}

TEST_F(ConfigFileWin32Test, Import_ReadErrorMidFile_AppliesOnlyTheWholeLinesBeforeIt) {
    // The first read (4096 bytes) ends inside the Channel0 line.
    std::string file = "SRC,7\n" + std::string(4096 - 6 - 8, 'x') + "\n" + "Channel0,415.5\nDST,9\n";
    WriteBytes(In("p.cfg"), file);
    io.failRead = 2;
    chooser.openPath = In("p.cfg");
    EXPECT_TRUE(Is(commands.importConfig(settings), OutcomeAction::Import, true));  // reported once the file opened
    EXPECT_EQ(settings.Text(TextField::Src), "7");
    EXPECT_EQ(settings.tx[0], "");
    EXPECT_EQ(settings.Text(TextField::Dst), "");
}

}  // namespace
