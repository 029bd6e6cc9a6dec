// The window skin, read by the markup builder into a real window's manager.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Loom/Builder/DialogBuilder.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "app/WindowSkin.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// Records the attributes an attribute list applies to it.
class AttributeRecorder : public CControlUI {
public:
    void SetAttribute(const char* name, const char* value) override { seen.emplace_back(name, value); }
    std::vector<std::pair<std::string, std::string>> seen;
};

struct FontDescription {
    std::string face;
    int size = 0;
    bool bold = false;
};

FontDescription Describe(CUIManager& m, HFONT font) {
    FontDescription d;
    bool underline = false, italic = false;
    m.GetFontDescription(font, d.face, d.size, d.bold, underline, italic);
    return d;
}

}  // namespace

TEST(WindowSkin, WindowSettingsFontsAndTheRootLayoutReachTheWindow) {
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 100, nullptr));
    CUIManager& m = w.Manager();
    CDialogBuilder builder;
    CControlUI* root = builder.Create(BuildWindowSkin(759, 509).c_str(), nullptr, nullptr, &m);
    ASSERT_NE(root, nullptr);
    m.SetRootControl(root);

    RECT client{};
    ::GetClientRect(w.GetHWND(), &client);
    EXPECT_EQ(client.right, 759);
    EXPECT_EQ(client.bottom, 509);
    const RECT caption = m.GetCaptionRect();
    EXPECT_EQ(caption.bottom, 36);
    EXPECT_EQ(caption.left + caption.top + caption.right, 0);
    EXPECT_EQ(m.GetRoundCorner().cx, 5);
    EXPECT_EQ(m.GetRoundCorner().cy, 5);
    EXPECT_EQ(m.GetSizeBox().left + m.GetSizeBox().top + m.GetSizeBox().right + m.GetSizeBox().bottom, 24);
    EXPECT_EQ(m.GetDefaultFontColor(), 0xFF386382u);

    ASSERT_EQ(m.GetCustomFontCount(), 3);
    const char* face = "微软雅黑";
    const FontDescription f0 = Describe(m, m.GetFont(0)), f1 = Describe(m, m.GetFont(1)),
                          f2 = Describe(m, m.GetFont(2));
    EXPECT_EQ(f0.face, face);
    EXPECT_EQ(f0.size, 12);
    EXPECT_FALSE(f0.bold);
    EXPECT_EQ(f1.face, face);
    EXPECT_EQ(f1.size, 13);
    EXPECT_TRUE(f1.bold);
    EXPECT_EQ(f2.size, 11);
    EXPECT_FALSE(f2.bold);
    EXPECT_EQ(Describe(m, m.GetDefaultFont()).size, 12);

    ASSERT_EQ(m.FindControl("main"), root);
    auto* main = static_cast<CVerticalLayoutUI*>(root);
    EXPECT_STREQ(main->GetClass(), "VerticalLayoutUI");
    EXPECT_EQ(main->GetInset().left + main->GetInset().top + main->GetInset().right + main->GetInset().bottom, 8);
    EXPECT_EQ(main->GetBkColor(), 0xFFD1E8F5u);
    EXPECT_EQ(main->GetBkColor2(), 0xFFC6E0F1u);
    EXPECT_EQ(main->GetBorderSize(), 2);
    EXPECT_EQ(main->GetBorderColor(), 0xFF768D9Bu);
}

TEST(WindowSkin, TheDefaultVerticalScrollBarListAppliesAllTwentyImages) {
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 100, nullptr));
    CDialogBuilder builder;
    CControlUI* root = builder.Create(BuildWindowSkin(275, 184).c_str(), nullptr, nullptr, &w.Manager());
    ASSERT_NE(root, nullptr);
    w.Manager().SetRootControl(root);
    const char* list = w.Manager().GetDefaultAttributeList("VScrollBar");
    ASSERT_NE(list, nullptr);
    AttributeRecorder bar;
    bar.ApplyAttributeList(list);

    const std::string plain = "' mask='#FFFF00FF'";
    const std::string cornered = "' corner='2,2,2,2' mask='#FFFF00FF'";
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"button1normalimage", "0,90,16,106" + plain},    {"button1hotimage", "18,90,34,106" + plain},
        {"button1pushedimage", "36,90,52,106" + plain},   {"button1disabledimage", "54,90,70,106" + plain},
        {"button2normalimage", "0,108,16,124" + plain},   {"button2hotimage", "18,108,34,124" + plain},
        {"button2pushedimage", "36,108,52,124" + plain},  {"button2disabledimage", "54,108,70,124" + plain},
        {"thumbnormalimage", "0,126,16,142" + cornered},  {"thumbhotimage", "18,126,34,142" + cornered},
        {"thumbpushedimage", "36,126,52,142" + cornered}, {"thumbdisabledimage", "54,126,70,142" + cornered},
        {"railnormalimage", "0,144,16,160" + cornered},   {"railhotimage", "18,144,34,160" + cornered},
        {"railpushedimage", "36,144,52,160" + cornered},  {"raildisabledimage", "54,144,70,160" + cornered},
        {"bknormalimage", "0,162,16,178" + cornered},     {"bkhotimage", "18,162,34,178" + cornered},
        {"bkpushedimage", "36,162,52,178" + cornered},    {"bkdisabledimage", "54,162,70,178" + cornered},
    };
    ASSERT_EQ(bar.seen.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bar.seen[i].first, expected[i].first);
        EXPECT_EQ(bar.seen[i].second, "res='159' restype='png' source='" + expected[i].second);
    }
}
