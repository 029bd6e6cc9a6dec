// VelmoraConfig.exe on a display at 150 % (144 DPI, Wine's LogPixels): the
// program declares itself aware of the scale, so it lays itself out at 144
// from its first window, and Connect and Read work at the scaled points.
// Runs alone: every program started while the scale is set would get it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testkit/ProgramDriver.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

constexpr int kDpi = 144;
constexpr uint32_t kLightGreen = 0x99FF99;

// Points of the 759 x 509 window at 96 DPI, and at the scale.
POINT At(int x, int y) { return POINT{x * kDpi / 96, y * kDpi / 96}; }

// The display's scale for the programs started while it lives.
class DisplayScale {
public:
    explicit DisplayScale(DWORD dpi) {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key_, nullptr) != ERROR_SUCCESS)
            return;
        set_ = ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
               ERROR_SUCCESS;
    }
    ~DisplayScale() {
        if (key_ == nullptr) return;
        ::RegDeleteValueW(key_, L"LogPixels");
        ::RegCloseKey(key_);
    }
    bool Set() const { return set_; }

private:
    HKEY key_ = nullptr;
    bool set_ = false;
};

TEST(ProgramScale, StartsAt144Dpi_ConnectAndReadWorkAtTheScaledPoints) {
    const std::string state = SimProcess::UnixPathFor(TestComPort(0), "scale-state.txt");
    const std::string transcript = SimProcess::UnixPathFor(TestComPort(0), "scale-transcript.txt");
    ::DeleteFileW(Text::WidePath(SimProcess::WinePath(transcript)).c_str());
    SimProcess sim(TestComPort(0), "--state " + state + " --transcript " + transcript);
    ASSERT_TRUE(sim.Started());
    const int position = ProgramDriver::PortPosition(TestComPort(0));
    ASSERT_GE(position, 0);
    ProgramDriver::WriteSettings(position, -1, 1);

    const DisplayScale scale(kDpi);
    ASSERT_TRUE(scale.Set());
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    ProgramDriver::Picture picture = program.Capture();
    EXPECT_EQ(1139, picture.width);  // 759 at 150 %
    EXPECT_EQ(764, picture.height);  // 509

    const POINT connect = At(658, 252), read = At(658, 293), strip = At(380, 478);
    program.Click(connect.x, connect.y);
    ASSERT_TRUE(WaitFor([&] { return program.Capture().At(strip.x, strip.y) == kLightGreen; }, 5000));
    // Read fills the first channel's edit (70,112)-(158,132) with text.
    const POINT edit = At(72, 114), editEnd = At(156, 130);
    const auto editInk = [&] {
        const ProgramDriver::Picture now = program.Capture();
        int dark = 0;
        for (int y = edit.y; y < editEnd.y; ++y)
            for (int x = edit.x; x < editEnd.x; ++x)
                dark += ((now.At(x, y) >> 8) & 0xFF) < 0x90;  // the text is 0x386382
        return dark;
    };
    ASSERT_EQ(0, editInk());
    program.Click(read.x, read.y);
    ASSERT_TRUE(WaitFor([&] { return SimProcess::ReadFile(transcript).find("SREV") != std::string::npos; }, 8000));
    EXPECT_TRUE(WaitFor([&] { return editInk() > 20; }, 5000));
    EXPECT_EQ(kLightGreen, program.Capture().At(strip.x, strip.y));
    EXPECT_TRUE(program.Capture().Save("main-144.png"));
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit(10000));
}

}  // namespace
