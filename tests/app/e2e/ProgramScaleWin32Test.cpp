// VelmoraConfig.exe on displays at 100, 125, 150 and 200 % (Wine's
// LogPixels): the program declares itself aware of the scale, so it lays
// itself out at it from its first window.
// Runs alone: every program started while the scale is set would get it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testkit/PrefixMark.h"
#include "testkit/ProgramDriver.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

constexpr uint32_t kLightGreen = 0x99FF99;

// The display's scale for the programs started while it lives.
class DisplayScale {
public:
    explicit DisplayScale(DWORD dpi) {
        // A test killed before the destructor leaves the mark: the next
        // session removes the scale.
        if (!mark_.Made()) return;
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
    PrefixMark mark_{"LogPixels"};
    HKEY key_ = nullptr;
    bool set_ = false;
};

class ProgramScale : public ::testing::TestWithParam<int> {
protected:
    // A point of the 759 x 539 window at 96 DPI, at the scale.
    POINT At(int x, int y) const { return POINT{Scaled(x), Scaled(y)}; }
    // n at the scale, rounded as the program rounds.
    int Scaled(int n) const { return (n * GetParam() + 48) / 96; }
    void Press(POINT pt) { program.Click(pt.x, pt.y); }
    std::string Picture(const char* what) const {
        return what + std::string("-") + std::to_string(GetParam()) + ".png";
    }
    // How many pixels of the first channel's edit (70,112)-(158,132) are text (0x386382).
    int EditInk() const {
        const ProgramDriver::Picture now = program.Capture();
        const POINT from = At(72, 114), to = At(156, 130);
        int ink = 0;
        for (int y = from.y; y < to.y; ++y)
            for (int x = from.x; x < to.x; ++x) ink += ((now.At(x, y) >> 8) & 0xFF) < 0x90;
        return ink;
    }

    ProgramDriver program;
};

// Started on a display at the scale, the window is the 96-DPI window
// scaled; Connect and Read work at the scaled points; the language switch
// and a drop-down too. Pictures of each are kept beside the test program
// (main-zh-DPI.png, main-en-DPI.png, dropdown-DPI.png).
TEST_P(ProgramScale, StartsAtTheScale_ConnectReadLanguageAndDropDown) {
    const int dpi = GetParam();
    const std::string state = SimProcess::UnixPathFor(TestComPort(0), "scale-state.txt");
    const std::string transcript = SimProcess::UnixPathFor(TestComPort(0), "scale-transcript.txt");
    ::DeleteFileW(Text::WidePath(SimProcess::WinePath(transcript)).c_str());
    SimProcess sim(TestComPort(0), "--state " + state + " --transcript " + transcript);
    ASSERT_TRUE(sim.Started());
    const int position = ProgramDriver::PortPosition(TestComPort(0));
    ASSERT_GE(position, 0);
    ProgramDriver::WriteSettings(position, -1, 1);

    const DisplayScale scale(static_cast<DWORD>(dpi));
    ASSERT_TRUE(scale.Set());
    ASSERT_TRUE(program.Start());
    const ProgramDriver::Picture first = program.Capture();
    EXPECT_EQ(Scaled(759), first.width);
    EXPECT_EQ(Scaled(539), first.height);

    const POINT strip = At(380, 478);
    Press(At(658, 252));  // Connect
    ASSERT_TRUE(WaitFor([&] { return program.Capture().At(strip.x, strip.y) == kLightGreen; }, 5000));
    ASSERT_EQ(0, EditInk());
    Press(At(658, 293));  // Read
    ASSERT_TRUE(WaitFor([&] { return SimProcess::ReadFile(transcript).find("SREV") != std::string::npos; }, 8000));
    EXPECT_TRUE(WaitFor([&] { return EditInk() > 20; }, 5000));
    EXPECT_EQ(kLightGreen, program.Capture().At(strip.x, strip.y));
    EXPECT_TRUE(program.Capture().Save(Picture("main-zh")));

    // The protocol combo's list opens below it, as wide as the combo.
    Press(At(490, 115));
    const HWND list = program.WaitForDropDown(3000);
    ASSERT_NE(nullptr, list);
    RECT box{};
    ::GetWindowRect(list, &box);
    EXPECT_NEAR(Scaled(123), box.right - box.left, 1);  // as wide as the combo, 123 px at 96
    ProgramDriver::Sleep(300);
    EXPECT_TRUE(program.CaptureScreen().Save(Picture("dropdown")));
    ProgramDriver::KeyTo(list, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(list); }, 5000));

    program.ChooseMenuItem(At(73, 54), At(97, 74));  // Language, then its item
    program.MouseMove(At(300, 20).x, At(300, 20).y);
    ASSERT_TRUE(WaitFor([&] { return ProgramDriver::Caption(program.Window()).find("Velmora") == 0; }, 5000));
    ProgramDriver::Sleep(500);
    EXPECT_TRUE(program.Capture().Save(Picture("main-en")));
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit(10000));
}

INSTANTIATE_TEST_SUITE_P(Scales, ProgramScale, ::testing::Values(96, 120, 144, 192));

}  // namespace
