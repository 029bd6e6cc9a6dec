#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "radio/ConfigFile.h"
#include "radio/RadioConfig.h"

namespace {

using Strings = std::vector<std::string>;

enum Protocol { TRIMTALK, TRANSMDS, HUACE, TRIMMK3, SOUTH, HI_TARGET, BURN_IN, TRANSEOT, SATEL };

const ListField kStoredLists[] = {ListField::Protocol,     ListField::CurrentChannel, ListField::PortBaudRate,
                                  ListField::LinkBaudRate, ListField::WorkMode,       ListField::HighPower,
                                  ListField::LowPower};

// Settings with their lists filled; a selection runs the protocol and
// bandwidth rules as in the window.
RadioSettings Filled() {
    RadioSettings s;
    RadioConfig::FillParameterLists(s, Language::English);
    return s;
}

class ConfigFileTest : public ::testing::Test {
protected:
    // Settings with every stored row set, HUACE at 25.0 kHz so that the link
    // rate is free.
    static void Fill(RadioSettings& s) {
        for (int row = 0; row < 10; ++row) {
            s.tx[row] = "4" + std::to_string(10 + row) + ".12500";
            s.rx[row] = "4" + std::to_string(30 + row) + ".50000";
        }
        RadioConfig::Select(s, ListField::Bandwidth, 1);
        RadioConfig::Select(s, ListField::Protocol, HUACE);
        RadioConfig::Select(s, ListField::LinkBaudRate, 2);
        RadioConfig::Select(s, ListField::CurrentChannel, 6);
        RadioConfig::Select(s, ListField::PortBaudRate, 4);
        RadioConfig::Select(s, ListField::WorkMode, 1);
        RadioConfig::Select(s, ListField::HighPower, 2);
        RadioConfig::Select(s, ListField::LowPower, 1);
        s.Text(TextField::Src) = "12";
        s.Text(TextField::Dst) = "200";
    }

    void Select(ListField list, int position) { RadioConfig::Select(settings, list, position); }
    int Selected(ListField list) const { return settings.Selection(list); }
    std::string& Field(TextField field) { return settings.Text(field); }
    ConfigImportReport Import(const std::string& bytes) { return ImportConfigText(settings, bytes); }

    RadioSettings settings = Filled();
};

// ---- Export -------------------------------------------------------------

TEST_F(ConfigFileTest, ExportConfig_NothingFilled_WritesEmptyTextsAndMinusOne) {
    const std::string expected =
        "Channel0,\r\r\nChannel1,\r\r\nChannel2,\r\r\nChannel3,\r\r\nChannel4,\r\r\n"
        "Channel5,\r\r\nChannel6,\r\r\nChannel7,\r\r\nChannel8,\r\r\nChannel9,\r\r\n"
        "RXChannel0,\r\r\nRXChannel1,\r\r\nRXChannel2,\r\r\nRXChannel3,\r\r\nRXChannel4,\r\r\n"
        "RXChannel5,\r\r\nRXChannel6,\r\r\nRXChannel7,\r\r\nRXChannel8,\r\r\nRXChannel9,\r\r\n"
        "ProtocolType,-1\r\r\nCurrentChannel,-1\r\r\nPortBaudRate,-1\r\r\nLinkBaudRate,-1\r\r\n"
        "workMode,-1\r\r\nSRC,\r\r\nDST,\r\r\nHighPower,-1\r\r\nLowPower,-1\r\r\n";
    EXPECT_EQ(ExportConfigText(settings), expected);
}

TEST_F(ConfigFileTest, ExportConfig_FilledRecord_WritesTextsAsHeldAndPositionsInOrder) {
    Fill(settings);
    settings.tx[3] = " 415.5 ";  // not yet validated: written as shown
    const Strings lines = ExportConfigLines(settings);
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[0], "Channel0,410.12500\r\r\n");
    EXPECT_EQ(lines[3], "Channel3, 415.5 \r\r\n");
    EXPECT_EQ(lines[19], "RXChannel9,439.50000\r\r\n");
    EXPECT_EQ(lines[20], "ProtocolType,2\r\r\n");
    EXPECT_EQ(lines[21], "CurrentChannel,6\r\r\n");
    EXPECT_EQ(lines[22], "PortBaudRate,4\r\r\n");
    EXPECT_EQ(lines[23], "LinkBaudRate,2\r\r\n");
    EXPECT_EQ(lines[24], "workMode,1\r\r\n");
    EXPECT_EQ(lines[25], "SRC,12\r\r\n");
    EXPECT_EQ(lines[26], "DST,200\r\r\n");
    EXPECT_EQ(lines[27], "HighPower,2\r\r\n");
    EXPECT_EQ(lines[28], "LowPower,1\r\r\n");
    std::string joined;
    for (const std::string& line : lines) joined += line;
    EXPECT_EQ(ExportConfigText(settings), joined);
}

// ---- Round trips ----------------------------------------------------------

TEST_F(ConfigFileTest, ImportConfig_ExportedFile_RestoresEveryStoredRow) {
    Fill(settings);
    RadioSettings other = Filled();
    const ConfigImportReport report = ImportConfigText(other, ExportConfigText(settings));
    EXPECT_EQ(report.lines, 29u);
    EXPECT_EQ(report.applied, 29u);
    EXPECT_EQ(report.firstSkipped, 0u);
    EXPECT_EQ(other.tx, settings.tx);
    EXPECT_EQ(other.rx, settings.rx);
    for (ListField list : kStoredLists) EXPECT_EQ(other.Selection(list), Selected(list));
    EXPECT_EQ(other.Text(TextField::Src), "12");
    EXPECT_EQ(other.Text(TextField::Dst), "200");
    EXPECT_EQ(ExportConfigText(other), ExportConfigText(settings));
}

TEST_F(ConfigFileTest, ImportConfig_EmptyExport_ClearsEveryStoredRowAndKeepsTheRest) {
    const RadioSettings empty = Filled();
    const std::string file = ExportConfigText(empty);
    Fill(settings);
    Field(TextField::SerialNumber) = "SN1";
    Import(file);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(settings.tx[row], "") << row;
        EXPECT_EQ(settings.rx[row], "") << row;
    }
    for (ListField list : kStoredLists) EXPECT_EQ(Selected(list), -1);
    EXPECT_EQ(Field(TextField::Src), "");
    EXPECT_EQ(Field(TextField::Dst), "");
    EXPECT_EQ(Selected(ListField::Bandwidth), 1);  // not stored in the file
    EXPECT_EQ(Field(TextField::SerialNumber), "SN1");
}

TEST_F(ConfigFileTest, ImportConfig_AnyLineEnd_ImportsAsExportWrote) {
    Fill(settings);
    const std::string written = ExportConfigText(settings);
    for (const char* end : {"\n", "\r\n", "\r\r\n"}) {
        std::string file;
        for (std::string line : ExportConfigLines(settings)) file += line.substr(0, line.size() - 3) + end;
        RadioSettings other = Filled();
        ImportConfigText(other, file);
        EXPECT_EQ(ExportConfigText(other), written) << "line end of " << std::string(end).size() << " bytes";
    }
}

// ---- Keys -------------------------------------------------------------------

TEST_F(ConfigFileTest, ImportConfig_ChannelTenLine_SetsChannelOne) {
    Import("Channel10,440\r\r\nRXChannel3,421.5\n");
    EXPECT_EQ(settings.tx[1], "440");
    EXPECT_EQ(settings.rx[1], "");
    EXPECT_EQ(settings.rx[3], "421.5");  // the receive key is tested first
    EXPECT_EQ(settings.tx[3], "");
}

TEST_F(ConfigFileTest, ImportConfig_KeysInsideLongerWords_MatchInSearchOrder) {
    Import(
        "MyRXChannel7Backup,433\n"
        "xxSRCxx,17\n"
        "old_DST_value,33\n"
        "CurrentChannel5,2\n"  // "Channel5" is tested before "CurrentChannel"
        "theHighPowerLowPower,2\n");
    EXPECT_EQ(settings.rx[7], "433");
    EXPECT_EQ(settings.tx[7], "");
    EXPECT_EQ(Field(TextField::Src), "17");
    EXPECT_EQ(Field(TextField::Dst), "33");
    EXPECT_EQ(settings.tx[5], "2");
    EXPECT_EQ(Selected(ListField::CurrentChannel), -1);
    EXPECT_EQ(Selected(ListField::HighPower), 2);
    EXPECT_EQ(Selected(ListField::LowPower), -1);
}

// ---- Fields and values ------------------------------------------------------

TEST_F(ConfigFileTest, ImportConfig_ValueIsTheSecondFieldLessItsLineEnd) {
    Import("Channel0,415.5,xyz\nSRC, 7 \nDST,1\r2\r\r\n");
    EXPECT_EQ(settings.tx[0], "415.5");
    EXPECT_EQ(Field(TextField::Src), " 7 ");
    EXPECT_EQ(Field(TextField::Dst), "1\r2");
}

TEST_F(ConfigFileTest, ImportConfig_EmptyValueAtEndOfFile_LineIgnored) {
    settings.tx[0] = "415.00000";
    const ConfigImportReport report = Import("Channel0,");
    EXPECT_EQ(settings.tx[0], "415.00000");
    EXPECT_EQ(report.applied, 0u);
}

TEST_F(ConfigFileTest, ImportConfig_EmptyValueBeforeLineEndOrComma_ClearsField) {
    for (const char* file : {"Channel0,\n", "Channel0,\r\r\n", "Channel0,,415\n", "Channel0,,"}) {
        settings.tx[0] = "415.00000";
        Import(file);
        EXPECT_EQ(settings.tx[0], "") << file;
    }
}

TEST_F(ConfigFileTest, ImportConfig_NoCommaOrNoKeyOrOtherCase_SkippedAndCounted) {
    const ConfigImportReport report =
        Import("Channel0 415.5\r\n\r\n,Channel1\nchannel0,415\nsrc,5\nWorkMode,1\nChannel2,413\n");
    EXPECT_EQ(settings.tx[0], "");
    EXPECT_EQ(settings.tx[1], "");
    EXPECT_EQ(Field(TextField::Src), "");
    EXPECT_EQ(Selected(ListField::WorkMode), -1);
    EXPECT_EQ(settings.tx[2], "413");
    EXPECT_EQ(report.lines, 7u);
    EXPECT_EQ(report.applied, 1u);
    EXPECT_EQ(report.firstSkipped, 1u);
}

TEST_F(ConfigFileTest, ImportConfig_ProtocolPositions_FollowComboRules) {
    Import("ProtocolType,99\n");
    EXPECT_EQ(Selected(ListField::Protocol), SATEL);
    Import("ProtocolType,-1\n");
    EXPECT_EQ(Selected(ListField::Protocol), -1);
    Import("ProtocolType,abc\n");
    EXPECT_EQ(Selected(ListField::Protocol), TRIMTALK);
    Import("ProtocolType, +3xyz\n");
    EXPECT_EQ(Selected(ListField::Protocol), TRIMMK3);
    Import("ProtocolType,99999999999999999999\n");
    EXPECT_EQ(Selected(ListField::Protocol), SATEL);
    Import("ProtocolType,-99999999999999999999\n");
    EXPECT_EQ(Selected(ListField::Protocol), -1);
}

// ---- Protocol and link rate ---------------------------------------------------

TEST_F(ConfigFileTest, ImportConfig_ProtocolThenLinkRate_SelectsInLockedRebuiltList) {
    Select(ListField::Bandwidth, 0);  // 12.5 kHz
    Select(ListField::Protocol, TRIMTALK);
    const ListValue& link = settings.List(ListField::LinkBaudRate);
    ConfigFileImport import(settings);
    const std::string protocol = "ProtocolType,8\r\r\n", rate = "LinkBaudRate,1\r\r\n";
    import.Feed(protocol.data(), protocol.size());
    EXPECT_EQ(link.items, (Strings{" 9600", " 19200"}));
    EXPECT_EQ(link.ShownText(), " 9600");  // locked at the first rate
    import.Feed(rate.data(), rate.size());
    EXPECT_EQ(link.ShownText(), " 19200");
    EXPECT_FALSE(link.mouseEnabled);
}

TEST_F(ConfigFileTest, ImportConfig_LinkRateBeforeProtocol_Lost) {
    Select(ListField::Bandwidth, 1);
    Import("LinkBaudRate,2\nProtocolType,2\n");  // HUACE at 25.0 kHz: free, nothing selected
    EXPECT_EQ(settings.List(ListField::LinkBaudRate).items, (Strings{" 4800", " 9600", " 19200"}));
    EXPECT_EQ(Selected(ListField::LinkBaudRate), -1);
    EXPECT_TRUE(settings.List(ListField::LinkBaudRate).mouseEnabled);
}

// ---- Long lines -------------------------------------------------------------

TEST_F(ConfigFileTest, ImportConfig_LineOf2500Characters_TakenAsThreeLines) {
    std::string first = "Channel0," + std::string(990, '1');            // 999
    std::string second = "SRC,77," + std::string(992, 'z');             // 999
    std::string third = "DST,88," + std::string(2500 - 1998 - 7, 'q');  // the remaining 502
    const ConfigImportReport report = Import(first + second + third + "\r\n");
    EXPECT_EQ(settings.tx[0], std::string(990, '1'));
    EXPECT_EQ(Field(TextField::Src), "77");
    EXPECT_EQ(Field(TextField::Dst), "88");
    EXPECT_EQ(report.lines, 3u);
}

// ---- Bad input ---------------------------------------------------------------

// A line that reaches byte 999 without a line end is cut there, wherever that
// falls: after the line end, after the value, inside the value, inside the key.
TEST_F(ConfigFileTest, ImportConfig_LineAt999Bytes_CutWhereverItFalls) {
    const std::string line = "Channel5,430\n";  // 13 bytes
    struct Case {
        size_t filler;
        const char* channel5;
        size_t lines;
    } cases[] = {{986, "430", 2}, {987, "430", 3}, {988, "43", 3}, {995, "", 3}};
    for (const Case& c : cases) {
        settings.tx[5].clear();
        const ConfigImportReport report = Import(std::string(c.filler, 'x') + line + "Channel6,431\n");
        EXPECT_EQ(settings.tx[5], c.channel5) << c.filler;
        EXPECT_EQ(settings.tx[6], "431") << c.filler;
        EXPECT_EQ(report.lines, c.lines) << c.filler;
    }
}

TEST_F(ConfigFileTest, ImportConfig_BinaryJunk_SkippedAndLaterLinesApplied) {
    std::mt19937 random(1234);
    std::string junk;
    for (int i = 0; i < 20000; ++i) junk.push_back(static_cast<char>(random() & 0xFF));
    junk += std::string("\x00\x1A\xFF,\xFE\r", 6);
    Import(junk + "\nChannel2,433\x1A\r\r\nChannel3,434\r\r\n");
    EXPECT_EQ(settings.tx[2], "433\x1A");  // Ctrl-Z is a byte like any other, not the end of the file
    EXPECT_EQ(settings.tx[3], "434");
}

TEST_F(ConfigFileTest, ImportConfig_ThousandsOfLines_AllReadLastWins) {
    std::string file;
    for (int i = 0; i < 30000; ++i)
        file += "RXChannel" + std::to_string(i % 10) + "," + std::to_string(i) + "\r\r\nProtocolType," +
                std::to_string(i % 9) + "\n";
    const ConfigImportReport report = Import(file);
    EXPECT_EQ(report.lines, 60000u);
    EXPECT_EQ(report.applied, 60000u);
    for (int row = 0; row < 10; ++row) EXPECT_EQ(settings.rx[row], std::to_string(29990 + row));
    EXPECT_EQ(Selected(ListField::Protocol), 29999 % 9);
}

// ---- The .cfg suffix ----------------------------------------------------------

TEST(ConfigSuffix, AppendedUnlessEndingInLowerCaseCfgOrTooLong) {
    EXPECT_EQ(WithConfigSuffix("abc"), "abc.cfg");
    EXPECT_EQ(WithConfigSuffix("abc.CFG"), "abc.CFG.cfg");
    EXPECT_EQ(WithConfigSuffix("abc.cfg"), "abc.cfg");
    EXPECT_EQ(WithConfigSuffix("a.cfg"), "a.cfg");
    EXPECT_EQ(WithConfigSuffix(".cfg"), ".cfg.cfg");  // shorter than five characters
    const std::string longest(249, 'p');
    EXPECT_EQ(WithConfigSuffix(longest), longest + ".cfg");
    EXPECT_EQ(WithConfigSuffix(longest + "p"), longest + "p");
    // Characters count, not bytes: 249 Chinese characters are 747 bytes.
    std::string chinese;
    for (int i = 0; i < 249; ++i) chinese += "配";
    EXPECT_EQ(WithConfigSuffix(chinese), chinese + ".cfg");
}

}  // namespace
