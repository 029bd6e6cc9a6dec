// The paint manager's fonts, images, default lists, option groups, window
// settings, process-wide settings and reflected messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <vector>

#include "platform/GdiHandles.h"
#include "Loom/Core/WindowWnd.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"

using namespace Loom;
using namespace LoomTest;

namespace {

LOGFONTW Describe(HFONT font) {
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

// True when the font has glyphs of its own for every character of text.
bool HasGlyphs(HFONT font, const wchar_t* text) {
    UniqueMemDC dc = CompatibleDC(nullptr);
    SelectGuard select(dc.get(), font);
    const int n = static_cast<int>(std::wcslen(text));
    std::vector<WORD> glyphs(static_cast<size_t>(n));
    if (::GetGlyphIndicesW(dc.get(), text, n, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) return false;
    return std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
}

std::string StoredFace(CUIManager& m, HFONT font) {
    std::string face;
    int size = 0;
    bool bold = false, underline = false, italic = false;
    return m.GetFontDescription(font, face, size, bold, underline, italic) ? face : "?";
}

// Writes a PNG into the temporary folder and gives its folder and name.
std::string WritePng(const char* name, int width, int height, uint32_t argb) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + name;
    const std::vector<uint8_t> png =
        RenderTestPng::Encode(width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), argb));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
    return std::string(dir);
}

}  // namespace

TEST(ManagerFonts, AddedFontsAreFoundByIndexAndByDescription) {
    CUIManager m;
    HFONT bold = m.AddFont("Arial", 14, true, false, false);
    HFONT italic = m.AddFont("Arial", 14, false, false, true);
    ASSERT_NE(bold, nullptr);
    ASSERT_NE(italic, nullptr);
    EXPECT_EQ(m.GetCustomFontCount(), 2);
    EXPECT_EQ(m.GetFont(0), bold);
    EXPECT_EQ(m.GetFont(1), italic);
    EXPECT_EQ(m.GetFont(2), m.GetDefaultFont());
    EXPECT_EQ(m.GetFont(-1), m.GetDefaultFont());
    EXPECT_EQ(m.GetFont("Arial", 14, true, false, false), bold);
    EXPECT_EQ(m.GetFont("Arial", 14, true, true, false), nullptr);
    EXPECT_EQ(m.GetFont("Arial", 15, true, false, false), nullptr);
    EXPECT_EQ(m.GetOrAddFont("Arial", 14, false, false, true), italic);
    EXPECT_EQ(m.GetCustomFontCount(), 2);
    const LOGFONTW lf = Describe(bold);
    EXPECT_EQ(lf.lfHeight, -14);
    EXPECT_GE(lf.lfWeight, 700);
    EXPECT_LE(lf.lfWeight, 1000);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_TRUE(Describe(italic).lfItalic);
}

TEST(ManagerFonts, MetricsAndDescriptionsOfKnownFonts) {
    CUIManager m;
    HFONT big = m.AddFont("Arial", 30, false, true, false);
    EXPECT_GT(m.GetFontInfo(0).tmHeight, 25);
    EXPECT_EQ(m.GetFontInfo(big).tmHeight, m.GetFontInfo(0).tmHeight);
    EXPECT_EQ(m.GetFontInfo(5).tmHeight, m.GetDefaultFontInfo().tmHeight);
    EXPECT_LT(m.GetDefaultFontInfo().tmHeight, 25);
    std::string face;
    int size = 0;
    bool bold = true, underline = false, italic = true;
    ASSERT_TRUE(m.GetFontDescription(big, face, size, bold, underline, italic));
    EXPECT_EQ(face, "Arial");
    EXPECT_EQ(size, 30);
    EXPECT_FALSE(bold);
    EXPECT_TRUE(underline);
    EXPECT_FALSE(italic);
    EXPECT_TRUE(m.GetFontDescription(m.GetDefaultFont(), face, size, bold, underline, italic));
    HFONT foreign = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    EXPECT_FALSE(m.GetFontDescription(foreign, face, size, bold, underline, italic));
    EXPECT_EQ(m.GetFontInfo(foreign).tmHeight, m.GetDefaultFontInfo().tmHeight);
}

// A face name keeps at most 31 bytes of whole UTF-8 characters: a cut that
// would fall inside one leaves it out.
TEST(ManagerFonts, LongFaceNames_CutAtThirtyOneBytesOfWholeCharacters) {
    CUIManager m;
    const std::string longFace(40, 'F');
    HFONT font = m.AddFont(longFace, 12, false, false, false);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(StoredFace(m, font), std::string(31, 'F'));
    EXPECT_EQ(m.GetFont(longFace, 12, false, false, false), font);
    HFONT cut = m.AddFont(std::string(29, 'F') + "微", 12, false, false, false);
    EXPECT_EQ(StoredFace(m, cut), std::string(29, 'F'));
}

// The skin's face is there (as on Windows); a face that is not installed
// is replaced by one that draws Chinese, never by one that shows boxes; an
// installed face without Chinese glyphs is kept as it is.
TEST(ManagerFonts, MissingFace_FallsBackToAFaceWithTheChineseGlyphs) {
    CUIManager m;
    HFONT skin = m.AddFont("微软雅黑", 12, false, false, false);
    EXPECT_TRUE(HasGlyphs(skin, L"频道设置"));
    EXPECT_STREQ(Describe(skin).lfFaceName, L"微软雅黑");
    HFONT missing = m.AddFont("No Such Face 7", 12, true, false, false);
    EXPECT_TRUE(HasGlyphs(missing, L"频道设置"));
    EXPECT_EQ(Describe(missing).lfHeight, -12);
    EXPECT_GE(Describe(missing).lfWeight, FW_BOLD);
    HFONT latin = m.AddFont("Tahoma", 12, false, false, false);
    EXPECT_STREQ(Describe(latin).lfFaceName, L"Tahoma");
}

TEST(ManagerFonts, DefaultFontCanBeReplaced) {
    CUIManager m;
    HFONT before = m.GetDefaultFont();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(Describe(before).lfCharSet, DEFAULT_CHARSET);
    m.SetDefaultFont("Arial", 28, false, false, false);
    EXPECT_NE(m.GetDefaultFont(), before);
    EXPECT_EQ(Describe(m.GetDefaultFont()).lfHeight, -28);
    EXPECT_GT(m.GetDefaultFontInfo().tmHeight, 20);
}

TEST(ManagerResources, ResourceParentSharesDefaultsButNotIndexedFonts) {
    CUIManager parent;
    CUIManager child;
    ASSERT_TRUE(child.SetResourceParent(&parent));
    EXPECT_FALSE(parent.SetResourceParent(&child));  // would loop
    EXPECT_FALSE(child.SetResourceParent(&child));
    parent.SetDefaultFontColor(0xFF123456);
    child.SetDefaultFontColor(0xFF654321);  // the top of the chain wins
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF123456u);
    parent.SetDefaultFont("Arial", 26, false, false, false);
    EXPECT_EQ(child.GetDefaultFont(), parent.GetDefaultFont());
    HFONT shared = parent.AddFont("Arial", 11, false, false, false);
    EXPECT_EQ(child.GetFont("Arial", 11, false, false, false), shared);
    EXPECT_EQ(child.GetFont(0), parent.GetDefaultFont());  // indexes are the child's own
    EXPECT_EQ(child.GetFontInfo(shared).tmHeight, parent.GetFontInfo(0).tmHeight);
    parent.AddDefaultAttributeList("Button", "width=\"5\"");
    EXPECT_STREQ(child.GetDefaultAttributeList("Button"), "width=\"5\"");
    child.AddDefaultAttributeList("Button", "width=\"6\"");
    EXPECT_STREQ(child.GetDefaultAttributeList("Button"), "width=\"6\"");
}

TEST(ManagerResources, OptionGroupsAreMadeAndDroppedOnDemand) {
    CUIManager m;
    CControlUI a, b;
    EXPECT_EQ(m.GetOptionGroup("g"), nullptr);
    EXPECT_TRUE(m.AddOptionGroup("g", &a));
    EXPECT_FALSE(m.AddOptionGroup("g", &a));
    EXPECT_TRUE(m.AddOptionGroup("g", &b));
    ASSERT_NE(m.GetOptionGroup("g"), nullptr);
    EXPECT_EQ(m.GetOptionGroup("g")->size(), 2u);
    m.RemoveOptionGroup("g", &a);
    EXPECT_EQ(m.GetOptionGroup("g")->front(), &b);
    m.RemoveOptionGroup("g", &b);
    EXPECT_EQ(m.GetOptionGroup("g"), nullptr);
    m.RemoveOptionGroup("none", &b);
}

TEST(ManagerImages, FileImagesLoadOnceUnderTheirName) {
    const std::string dir = WritePng("loom-manager-image.png", 3, 2, 0xFF102030);
    ResourcePathScope path(dir);
    CUIManager m;
    const TImageInfo* image = m.FindOrLoadImage("loom-manager-image.png", "", 0xFFFF00FF);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(image->hBitmap, nullptr);
    EXPECT_EQ(image->nX, 3);
    EXPECT_EQ(image->nY, 2);
    EXPECT_EQ(image->dwMask, 0xFFFF00FFu);
    EXPECT_EQ(image->sResType, "");
    EXPECT_EQ(m.GetImage("loom-manager-image.png"), image);
    // A second load under the same name keeps the first record.
    EXPECT_EQ(m.AddImage("loom-manager-image.png"), image);
    EXPECT_EQ(m.FindOrLoadImage("loom-manager-image.png", "", 0), image);
    std::remove((dir + "loom-manager-image.png").c_str());
}

TEST(ManagerImages, MissingImagesLeaveTheTableUnchanged) {
    CUIManager m;
    EXPECT_EQ(m.AddImage("no-such-file.png"), nullptr);
    EXPECT_EQ(m.GetImage("no-such-file.png"), nullptr);
    EXPECT_EQ(m.AddImage("abc", "PNG"), nullptr);  // a resource needs a number
    EXPECT_EQ(m.AddImage("", "PNG"), nullptr);
    EXPECT_EQ(m.AddImage("60000", "PNG"), nullptr);  // no such resource
    EXPECT_EQ(m.FindOrLoadImage("60000", "PNG", 0), nullptr);
}

TEST(ManagerPaths, ResourcePathEndsInOneSeparatorAndInstancePathIsTheProgramFolder) {
    const std::string saved = CUIManager::GetResourcePath();
    CUIManager::SetResourcePath("C:\\skin");
    EXPECT_EQ(CUIManager::GetResourcePath(), "C:\\skin\\");
    CUIManager::SetResourcePath("C:\\skin/");
    EXPECT_EQ(CUIManager::GetResourcePath(), "C:\\skin/");
    CUIManager::SetResourcePath(saved);
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string folder = CUIManager::GetInstancePath();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(std::string(program).rfind(folder, 0), 0u);
    EXPECT_EQ(CUIManager::GetResourceInstance(), ::GetModuleHandleA(nullptr));
}

TEST(ManagerWindowSettings, ManagersJoinAndLeaveTheProcessList) {
    size_t before = CUIManager::GetManagers().size();
    {
        TestWindow w;
        ASSERT_TRUE(w.Open(30, 30, nullptr));
        EXPECT_EQ(CUIManager::GetManagers().size(), before + 1);
        EXPECT_EQ(CUIManager::GetManagers().back(), &w.Manager());
        EXPECT_EQ(w.Manager().GetPaintWindow(), w.GetHWND());
        EXPECT_NE(w.Manager().GetPaintDC(), nullptr);
    }
    EXPECT_EQ(CUIManager::GetManagers().size(), before);
}

TEST(ManagerWindowSettings, InitSizeResizesTheWindowBeforeTheTreeIsAttached) {
    TestWindow w;
    ASSERT_TRUE(w.Open(30, 30, nullptr));
    w.Manager().SetInitSize(120, 90);
    RECT rc{};
    ::GetWindowRect(w.GetHWND(), &rc);
    EXPECT_EQ(rc.right - rc.left, 120);
    EXPECT_EQ(rc.bottom - rc.top, 90);
    w.Manager().SetRootControl(new CControlUI);
    w.Manager().SetInitSize(60, 60);  // with a tree: only stored
    ::GetWindowRect(w.GetHWND(), &rc);
    EXPECT_EQ(rc.right - rc.left, 120);
    EXPECT_EQ(w.Manager().GetInitSize().cx, 60);
}

TEST(ManagerWindowSettings, MinAndMaxInfoReplaceOnlyPositiveComponents) {
    TestWindow w;
    ASSERT_TRUE(w.Open(30, 30, nullptr));
    w.Manager().SetMinInfo(200, 0);
    w.Manager().SetMaxInfo(0, 300);
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{1, 2};
    info.ptMaxTrackSize = POINT{3, 4};
    LRESULT result = 0;
    EXPECT_FALSE(w.Manager().MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), result));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 2);
    EXPECT_EQ(info.ptMaxTrackSize.x, 3);
    EXPECT_EQ(info.ptMaxTrackSize.y, 300);
}

TEST(ManagerWindowSettings, EraseIsHandledAndNothingIsHandledWithoutAWindow) {
    CUIManager detached;
    LRESULT result = 0;
    EXPECT_FALSE(detached.MessageHandler(WM_ERASEBKGND, 0, 0, result));
    TestWindow w;
    ASSERT_TRUE(w.Open(30, 30, nullptr));
    EXPECT_TRUE(w.Manager().MessageHandler(WM_ERASEBKGND, 0, 0, result));
    EXPECT_EQ(result, 1);
}

namespace {

// A child window that answers the reflected messages with a mark.
class ReflectTarget : public CWindowWnd {
public:
    std::vector<UINT> seen;

protected:
    const char* GetWindowClassName() const override { return "LoomReflectTarget"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= 0x2000 && message < 0x3000) {
            seen.push_back(message);
            return message == 0x2000 + WM_CTLCOLORSTATIC ? 0 : 0x77;
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
};

}  // namespace

TEST(ManagerWindowSettings, ChildNotificationsAreReflectedToTheChild) {
    TestWindow w;
    ASSERT_TRUE(w.Open(30, 30, nullptr));
    ReflectTarget child;
    ASSERT_NE(child.Create(w.GetHWND(), "", WS_CHILD, 0, 0, 0, 5, 5), nullptr);
    NMHDR header{};
    header.hwndFrom = child.GetHWND();
    EXPECT_EQ(w.Send(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)), 0x77);
    EXPECT_EQ(w.Send(WM_COMMAND, 2, reinterpret_cast<LPARAM>(child.GetHWND())), 0x77);
    EXPECT_EQ(w.Send(WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(child.GetHWND())), 0x77);
    const int before = w.unhandled;
    w.Send(WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(child.GetHWND()));  // no brush: left to the default
    EXPECT_EQ(w.unhandled, before + 1);
    EXPECT_EQ(child.seen, (std::vector<UINT>{0x204E, 0x2111, 0x2133, 0x2138}));
    ::DestroyWindow(child.GetHWND());
}
