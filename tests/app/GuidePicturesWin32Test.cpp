// The user guide's pictures are the main window as the tests draw it, in
// both languages. This test fails when the window no longer looks as its
// picture (the guide would show a window that is not there); the pictures
// are made again by scripts/guide-pictures, which runs this test with
// VELMORA_GUIDE_PICTURES naming the folder to write them to.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "app/DlgMain.h"
#include "platform/Wide.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"
#include "testkit/SimProcess.h"
#include "tests/app/MainWindowTestSupport.h"

using LoomTest::PixelSurface;
using LoomTest::TestWindow;

namespace {

constexpr const char* kPortMapKey = "Software\\VelmoraTest\\GuideSerialMap";
constexpr const char* kSettingsKey = "Software\\VelmoraTest\\GuideSettings";

// The window as it paints itself, without the screen's caret or cursor.
std::vector<uint32_t> Draw(DlgMain& window, int& width, int& height) {
    RECT rc{};
    ::GetClientRect(window.GetHWND(), &rc);
    width = rc.right;
    height = rc.bottom;
    PixelSurface surface(width, height);
    LoomTest::PrintClient(window.GetHWND(), surface);
    std::vector<uint32_t> argb(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) argb[static_cast<size_t>(y) * width + x] = 0xFF000000 | surface.At(x, y);
    return argb;
}

// Pixels whose colour differs in any channel by more than a rounding step.
size_t Differing(const std::vector<uint32_t>& drawn, const unsigned char* rgba) {
    size_t count = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
        const uint32_t p = drawn[i];
        const int channels[3] = {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                                 static_cast<int>(p & 0xFF)};
        for (int c = 0; c < 3; ++c)
            if (std::abs(channels[c] - rgba[i * 4 + c]) > 2) {
                ++count;
                break;
            }
    }
    return count;
}

TEST(GuidePictures, TheMainWindowLooksAsTheGuideShowsIt) {
    if (sizeof(void*) == 4) GTEST_SKIP() << "the pictures are drawn by the 64-bit build";
    const char* update = std::getenv("VELMORA_GUIDE_PICTURES");
    std::unique_ptr<DlgMain> window = OpenTestMainWindow(kPortMapKey, kSettingsKey);
    ASSERT_NE(nullptr, window);
    for (const char* language : {"zh", "en"}) {
        TestWindow::Pump();
        int width = 0, height = 0;
        const std::vector<uint32_t> drawn = Draw(*window, width, height);
        const std::string name = std::string("main-") + language + ".png";
        if (update != nullptr) {
            EXPECT_TRUE(LoomTest::RenderTestPng::Write(std::string(update) + "\\" + name,
                                                       LoomTest::RenderTestPng::Encode(width, height, drawn)));
        } else {
            const std::string path = SimProcess::WinePath(std::string(VELMORA_GUIDE_IMAGES) + "/" + name);
            const std::string bytes = SimProcess::ReadWindowsFile(path);
            int w = 0, h = 0, channels = 0;
            std::unique_ptr<unsigned char, void (*)(void*)> picture(
                stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                      static_cast<int>(bytes.size()), &w, &h, &channels, 4),
                &stbi_image_free);
            ASSERT_NE(nullptr, picture) << path;
            ASSERT_EQ(width, w) << name << ": the window's size changed; run scripts/guide-pictures";
            ASSERT_EQ(height, h) << name;
            // One letter of a caption changed moves dozens of pixels; the
            // drawing itself is the same from run to run.
            EXPECT_LE(Differing(drawn, picture.get()), drawn.size() / 100000)
                << name << " no longer shows the window: run scripts/guide-pictures and commit the pictures";
        }
        window->SwitchLanguage();
    }
    ::DestroyWindow(window->GetHWND());
}

}  // namespace
