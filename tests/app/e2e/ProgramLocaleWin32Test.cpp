// VelmoraConfig.exe and its console twin on a Chinese, a Western and a
// Cyrillic Windows: the run's locale gives the ANSI code page
// VELMORA_CODE_PAGE names (936, 1252, 1251). The window looks pixel for pixel
// as under 936 in both languages; profiles, firmware images and the command
// line work in folders named in Polish, Russian and Chinese; the first start
// speaks the display language. The 936 run leaves its pictures in
// VELMORA_LOCALE_PICTURES for the other two, which put theirs beside them
// (main-<language>-<code page>.png).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "radio/SettingsStore.h"
#include "testkit/PrefixMark.h"
#include "testkit/ProgramDriver.h"
#include "testkit/FirmwareImage.h"
#include "testkit/SimProcess.h"

namespace {

const char* const kFolderNames[] = {"Łukasz", "Пользователь", "用户"};
constexpr char kChineseTitle[] = "泰岚外置电台配置工具-", kEnglishTitle[] = "Velmora Configuration Tool-";

std::string CodePage() { return std::to_string(::GetACP()); }

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesW(Text::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Title(HWND wnd) {
    wchar_t text[256] = {};
    ::GetWindowTextW(wnd, text, 256);
    return Text::Narrow(text);
}

bool TitleStartsWith(HWND wnd, const std::string& start) { return Title(wnd).rfind(start, 0) == 0; }

// The window once two captures a moment apart agree: its first paint done.
ProgramDriver::Picture Settled(const ProgramDriver& program) {
    ProgramDriver::Picture last = program.Capture();
    WaitFor(
        [&] {
            ProgramDriver::Picture now = program.Capture();
            const bool same = now.pixels == last.pixels;
            last = std::move(now);
            return same;
        },
        5000);
    return last;
}

std::string PicturePath(const std::string& name) {
    return SimProcess::WinePath(VELMORA_LOCALE_PICTURES) + "\\main-" + name + ".png";
}

// What differs between `picture` and the 936 run's picture `name`; "" when
// nothing does.
std::string AgainstCodePage936(const ProgramDriver::Picture& picture, const std::string& name) {
    const std::string path = PicturePath(name + "-936");
    ProgramDriver::Picture reference;
    if (!ProgramDriver::Picture::Load(path, reference)) return "no picture of the 936 run: " + path;
    if (picture.width != reference.width || picture.height != reference.height)
        return std::to_string(picture.width) + " x " + std::to_string(picture.height) + ", under 936 " +
               std::to_string(reference.width) + " x " + std::to_string(reference.height);
    RECT box{};
    const int n = picture.Differing(reference, &box);
    if (n == 0) return "";
    return std::to_string(n) + " pixels differ from " + path + ", within (" + std::to_string(box.left) + ", " +
           std::to_string(box.top) + ") - (" + std::to_string(box.right) + ", " + std::to_string(box.bottom) + ")";
}

// The console twin's run: exit code and what it wrote.
struct ConsoleRun {
    DWORD code = 0xFFFFFFFF;
    std::string output;
};

// The prefix's replacement for the skin's face, taken away for as long as
// this lives and put back however the test ends.
class WithoutFontReplacement {
public:
    WithoutFontReplacement() {
        // A test killed before the destructor leaves the mark: the next
        // session puts the replacement back.
        if (!mark_.Made()) return;
        wchar_t face[64] = {};
        DWORD size = sizeof face;
        if (::RegGetValueW(HKEY_CURRENT_USER, kKey, Text::Widen(kFace).c_str(), RRF_RT_REG_SZ, nullptr, face, &size) !=
            ERROR_SUCCESS)
            return;
        replacement_ = face;
        removed_ = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, Text::Widen(kFace).c_str()) == ERROR_SUCCESS;
    }
    ~WithoutFontReplacement() {
        if (!removed_) return;
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, Text::Widen(kFace).c_str(), REG_SZ, replacement_.c_str(),
                          static_cast<DWORD>((replacement_.size() + 1) * sizeof(wchar_t)));
    }
    WithoutFontReplacement(const WithoutFontReplacement&) = delete;
    WithoutFontReplacement& operator=(const WithoutFontReplacement&) = delete;

    // The face the prefix named, "" when it named none.
    std::string Replacement() const { return Text::Narrow(replacement_); }
    bool Removed() const { return removed_; }

private:
    static constexpr const wchar_t* kKey = L"Software\\Wine\\Fonts\\Replacements";
    static constexpr const char* kFace = "微软雅黑";
    PrefixMark mark_{"FontReplacement"};
    std::wstring replacement_;
    bool removed_ = false;
};

class ProgramLocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Registered per locale: a set-up that ran every locale under 936
        // would pass without showing anything.
        ASSERT_EQ(Env("VELMORA_CODE_PAGE"), CodePage())
            << "the locale " << Env("VELMORA_LOCALE") << " does not give the code page this run is for";
        wchar_t temp[MAX_PATH] = {};
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        root = Text::Narrow(temp) + "velmora-locale-" + CodePage();
        ::CreateDirectoryW(Text::Widen(root).c_str(), nullptr);
        ::CreateDirectoryW(Text::Widen(SimProcess::WinePath(VELMORA_LOCALE_PICTURES)).c_str(), nullptr);
    }

    // The folder `name` under this run's temporary folder, holding nothing
    // of an earlier run.
    std::string Folder(const std::string& name) const {
        const std::string folder = root + "\\" + name;
        ::CreateDirectoryW(Text::Widen(folder).c_str(), nullptr);
        for (const char* file : {"profile.cfg", "again.cfg", "image.dwn", "console.cfg"})
            ::DeleteFileW(Text::Widen(folder + "\\" + file).c_str());
        return folder;
    }

    // Exports the default frequencies into `folder`; a fresh start imports
    // them and exports them again, the same.
    void ExportThenImport(const std::string& folder) {
        SCOPED_TRACE(folder);
        const std::string profile = folder + "\\profile.cfg", again = folder + "\\again.cfg";
        ProgramDriver::WriteSettings(-1, -1, 1);
        {
            ProgramDriver program;
            ASSERT_TRUE(program.Start());
            program.Click(kTxDefault.x, kTxDefault.y);
            ASSERT_TRUE(program.ThroughFileDialog(kExport, profile));
            ASSERT_TRUE(WaitFor([&] { return Exists(profile); }, 5000));
            program.Key(VK_ESCAPE);
            ASSERT_TRUE(program.WaitForExit(8000));
        }
        const std::string exported = SimProcess::ReadWindowsFile(profile);
        EXPECT_NE(std::string::npos, exported.find("\nChannel1,")) << exported;
        ProgramDriver program;
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.ThroughFileDialog(kImport, profile));
        ASSERT_TRUE(program.ThroughFileDialog(kExport, again));
        EXPECT_TRUE(WaitFor([&] { return SimProcess::ReadWindowsFile(again) == exported; }, 5000))
            << SimProcess::ReadWindowsFile(again);
        program.Key(VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit(8000));
    }

    // Chooses an image of 20 pages in `folder` through the File menu's
    // dialog of the English window; the question that follows tells its
    // size, so it was read. No, and nothing is sent.
    void ChooseImage(const std::string& folder) {
        SCOPED_TRACE(folder);
        const std::string image = folder + "\\image.dwn";
        ASSERT_TRUE(SimProcess::WriteWindowsFile(image, MakeImage(ImageLength(20))));
        ProgramDriver::WriteSettings(-1, -1, 0);
        ProgramDriver program;
        ASSERT_TRUE(program.Start());
        program.ChooseMenuItem(kFileHeader, kFirmwareItem);
        const HWND dialog = program.WaitForDialog(8000);
        ASSERT_NE(nullptr, dialog);
        ProgramDriver::ChooseFile(dialog, image);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 8000)) << "the dialog did not take the image";
        const HWND question = program.WaitForDialog(8000);
        ASSERT_NE(nullptr, question);
        const std::string text = ProgramDriver::DialogText(question);
        EXPECT_NE(std::string::npos, text.find("Size: 9216 bytes, 21 pages")) << text;
        ProgramDriver::PressDialogButton(question, IDNO);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(question); }, 5000));
        program.Key(VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit(8000));
    }

    // Runs the console twin with `arguments`; its output goes to a file.
    ConsoleRun Console(const std::string& arguments) const {
        ConsoleRun run;
        const std::string output = root + "\\console-output.txt";
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const HANDLE out = ::CreateFileW(Text::Widen(output).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                         CREATE_ALWAYS, 0, nullptr);
        std::wstring line = Text::Widen("\"" + SimProcess::WinePath(VELMORA_CONSOLE_PROGRAM) + "\" " + arguments);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = out;
        PROCESS_INFORMATION pi{};
        if (::CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
            if (::WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 99);
            ::GetExitCodeProcess(pi.hProcess, &run.code);
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
        ::CloseHandle(out);
        run.output = SimProcess::ReadWindowsFile(output);
        return run;
    }

    std::string root;
};

// The main window as the settings leave it before the start, in Chinese and
// in English.
TEST_F(ProgramLocaleTest, MainWindowInChineseAndInEnglish_PixelForPixelAsUnderCodePage936) {
    for (const bool chinese : {true, false}) {
        const std::string language = chinese ? "chinese" : "english";
        ProgramDriver::WriteSettings(-1, -1, chinese ? 1 : 0);
        ProgramDriver program;
        ASSERT_TRUE(program.Start());
        const ProgramDriver::Picture picture = Settled(program);
        ASSERT_TRUE(picture.Save(PicturePath(language + "-" + CodePage())));
        if (CodePage() != "936") {
            EXPECT_EQ("", AgainstCodePage936(picture, language)) << language;
        }
        program.Key(VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit(8000));
    }
}

TEST_F(ProgramLocaleTest, ProfileExportedAndImported_InPolishRussianAndChineseFolders) {
    for (const char* name : kFolderNames) ExportThenImport(Folder(name));
}

TEST_F(ProgramLocaleTest, FirmwareImageChosen_InPolishRussianAndChineseFolders) {
    for (const char* name : kFolderNames) ChooseImage(Folder(name));
}

TEST_F(ProgramLocaleTest, ConsoleTwinReadsAndWritesProfiles_InPolishRussianAndChineseFolders) {
    SimProcess radio(TestComPort(0), "");
    ASSERT_TRUE(radio.Started());
    const std::string port = "--port COM" + std::to_string(TestComPort(0)) + " ";
    for (const char* name : kFolderNames) {
        const std::string profile = Folder(name) + "\\console.cfg";
        SCOPED_TRACE(profile);
        const ConsoleRun read = Console(port + "--read \"" + profile + "\"");
        EXPECT_EQ(0u, read.code) << read.output;
        EXPECT_TRUE(Exists(profile));
        if (read.code != 0) continue;
        const ConsoleRun write = Console(port + "--write \"" + profile + "\"");
        EXPECT_EQ(0u, write.code) << write.output;
    }
}

// Nothing stored: Chinese on a Chinese Windows, English on any other. Then a
// stored choice of the other language wins.
TEST_F(ProgramLocaleTest, FirstStart_SpeaksTheDisplayLanguage_ThenTheStoredChoiceWins) {
    const bool chineseWindows = CodePage() == "936";
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
    {
        ProgramDriver program;
        ASSERT_TRUE(program.Start());
        const std::string expected = chineseWindows ? kChineseTitle : kEnglishTitle;
        EXPECT_TRUE(WaitFor([&] { return TitleStartsWith(program.Window(), expected); }, 3000))
            << Title(program.Window());
        program.Key(VK_ESCAPE);
        ASSERT_TRUE(program.WaitForExit(8000));
    }
    ProgramDriver::WriteSettings(-1, -1, chineseWindows ? 0 : 1);
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    const std::string expected = chineseWindows ? kEnglishTitle : kChineseTitle;
    EXPECT_TRUE(WaitFor([&] { return TitleStartsWith(program.Window(), expected); }, 3000)) << Title(program.Window());
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit(8000));
}

// On a Western Windows without the face the skin names, the Chinese window
// takes an installed face with the Chinese glyphs: no boxes, the same
// picture as under 936.
TEST_F(ProgramLocaleTest, ChineseWindowWithoutTheSkinsFace_FallsBackToTheSameGlyphs) {
    if (CodePage() != "1252") GTEST_SKIP() << "runs under en_US only";
    WithoutFontReplacement without;
    ASSERT_EQ("WenQuanYi Micro Hei", without.Replacement()) << "the prefix does not provide the skin's face";
    ASSERT_TRUE(without.Removed());
    ProgramDriver::WriteSettings(-1, -1, 1);
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    const ProgramDriver::Picture picture = Settled(program);
    picture.Save(PicturePath("chinese-1252-no-replacement"));
    EXPECT_EQ("", AgainstCodePage936(picture, "chinese"));
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit(8000));
}

}  // namespace
