// The main window with high contrast on, in a black scheme as Windows ships
// one, with the program's own pictures: the skin's colours and images give
// way in both languages, kept as screenshots in the build tree
// (main_contrast_zh.png, main_contrast_en.png); off again, the skin is back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Loom/Core/UIManager.h"
#include "Loom/Render/HighContrast.h"
#include "app/DlgMain.h"
#include "platform/Wide.h"
#include "tests/app/MainWindowTestSupport.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/SimProcess.h"

using namespace Loom;
using LoomTest::PixelSurface;

namespace {

// The skin's window background, text and title colours.
constexpr DWORD kSkinColours[] = {0xD1E8F5, 0x386382, 0x447AA1};

int Count(const PixelSurface& s, const RECT& rc, DWORD rgb) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) n += s.At(x, y) == rgb ? 1 : 0;
    return n;
}

// The program's module loaded as data: the windows' pictures while it lives.
struct ProgramPictures {
    HMODULE module = ::LoadLibraryExW(Text::Widen(SimProcess::WinePath(VELMORA_PROGRAM)).c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HINSTANCE saved = CUIManager::GetResourceInstance();
    ProgramPictures() {
        if (module != nullptr) CUIManager::SetResourceInstance(module);
    }
    ~ProgramPictures() {
        CUIManager::SetResourceInstance(saved);
        if (module != nullptr) ::FreeLibrary(module);
    }
};

void Turn(HWND wnd, CHighContrast::Forced forced) {
    CHighContrast::ForceForTesting(forced);
    ::SendMessageW(wnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    ::UpdateWindow(wnd);
    LoomTest::TestWindow::Pump();
}

}  // namespace

TEST(HighContrast, MainWindow_SystemColoursInBothLanguagesAndTheSkinBackWhenOff) {
    LoomTest::ContrastScheme scheme{{COLOR_WINDOW, 0x000000},    {COLOR_WINDOWTEXT, 0xFFFFFF},
                                    {COLOR_BTNFACE, 0x000000},   {COLOR_BTNTEXT, 0xFFFFFF},
                                    {COLOR_HIGHLIGHT, 0x1AEBFF}, {COLOR_HIGHLIGHTTEXT, 0x000000},
                                    {COLOR_GRAYTEXT, 0x3FF23F},  {COLOR_HOTLIGHT, 0xFFFF00}};
    ProgramPictures pictures;
    ASSERT_NE(nullptr, pictures.module) << VELMORA_PROGRAM;
    std::unique_ptr<DlgMain> window = OpenTestMainWindow("Software\\VelmoraTest\\HighContrastSerialMap",
                                                         "Software\\VelmoraTest\\HighContrastSettings");
    ASSERT_NE(nullptr, window);
    const HWND wnd = window->GetHWND();
    Turn(wnd, CHighContrast::Forced::On);
    RECT client{};
    ::GetClientRect(wnd, &client);
    PixelSurface s(client.right, client.bottom);
    MainWindowControls& c = window->Controls();
    const RECT close = c.closeButton->GetPos();
    const RECT connect = c.connectButton->GetPos();
    for (const char* language : {"zh", "en"}) {
        SCOPED_TRACE(language);
        LoomTest::CaptureClient(wnd, s);
        for (DWORD skin : kSkinColours) EXPECT_EQ(Count(s, client, skin), 0) << std::hex << skin;
        // The image-only close button keeps its cross in the button text
        // colour, inside its frame; the logo is its shape in the text colour.
        EXPECT_EQ(s.At(close.left, (close.top + close.bottom) / 2), 0xFFFFFFu);
        EXPECT_GT(Count(s, RECT{close.left + 2, close.top + 2, close.right - 2, close.bottom - 2}, 0xFFFFFF), 0);
        EXPECT_GT(Count(s, c.logoImage->GetPos(), 0xFFFFFF), 20);
        EXPECT_EQ(s.At(connect.left, (connect.top + connect.bottom) / 2), 0xFFFFFFu);
        EXPECT_TRUE(LoomTest::SaveScreenshot(
            wnd, std::string("Z:") + VELMORA_SHOT_DIR + "/main_contrast_" + language + ".png"));
        window->SwitchLanguage();
        ::UpdateWindow(wnd);
    }
    Turn(wnd, CHighContrast::Forced::Off);
    LoomTest::CaptureClient(wnd, s);
    EXPECT_GT(Count(s, client, kSkinColours[1]), 0);
    EXPECT_NE(s.At(close.left, (close.top + close.bottom) / 2), 0xFFFFFFu) << "a frame the skin has not";
    ::DestroyWindow(wnd);
}
