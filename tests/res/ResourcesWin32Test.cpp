// The program's resources as the windows and the system read them: every
// window image by number at its size, the scroll-bar sheet's see-through
// cells, the icon sizes, the version information and the manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/GdiHandles.h"
#include "Loom/Render/DpiScale.h"
#include "Loom/Render/ImageScale.h"
#include "Loom/Render/Render.h"
#include "res/version.h"

using namespace Loom;

namespace {

struct ImageSize {
    int id;
    int width;
    int height;
};

// Every window image with its size; 171 and 176 to 178 are shipped though no
// window names them.
constexpr ImageSize kImages[] = {
    {144, 45, 17}, {145, 45, 17}, {146, 45, 17}, {150, 26, 17}, {151, 26, 17}, {152, 26, 17},  {159, 70, 177},
    {160, 5, 29},  {161, 5, 31},  {162, 5, 30},  {164, 5, 11},  {169, 5, 29},  {170, 5, 9},    {171, 24, 18},
    {174, 21, 20}, {175, 9, 20},  {176, 10, 25}, {177, 11, 25}, {178, 10, 25}, {179, 123, 24}, {180, 24, 18},
    {181, 24, 18}, {183, 24, 18}, {184, 5, 20},  {185, 45, 17}, {186, 45, 17}, {187, 45, 17},
};

constexpr DWORD kMagenta = 0xFFFF00FF;

// Pixel (x, y) of a loaded image: 0xAARRGGBB, premultiplied, rows top-down.
uint32_t PixelAt(const TImageInfo& image, int x, int y) {
    DIBSECTION dib{};
    if (::GetObjectA(image.hBitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr) return 0xDEADBEEF;
    return static_cast<const uint32_t*>(dib.dsBm.bmBits)[y * image.nX + x];
}

// The bytes of a resource of this program, or nothing.
std::vector<unsigned char> ResourceBytes(LPCSTR name, LPCSTR type) {
    HRSRC found = ::FindResourceA(nullptr, name, type);
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? ::LockResource(loaded) : nullptr);
    if (bytes == nullptr) return {};
    return std::vector<unsigned char>(bytes, bytes + ::SizeofResource(nullptr, found));
}

struct IconDeleter {
    void operator()(HICON icon) const noexcept { ::DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct LibraryDeleter {
    void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
};
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

// A string value of the version resource's first translation.
std::string VersionString(const std::vector<char>& block, const char* key) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) || length < sizeof(Translation))
        return "(no translation)";
    const auto* t = static_cast<const Translation*>(value);
    char path[96];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", t->language, t->codePage, key);
    if (!::VerQueryValueA(block.data(), path, &value, &length) || length == 0) return "(missing)";
    return std::string(static_cast<const char*>(value));
}

}  // namespace

// At 100 % under its number, at 150 % under number + 1000 and at 200 % under
// number + 2000, each at the 100 % size times the scale (the window's rule).
TEST(ResourceImages, EveryImageLoadsAtItsSizeAsASimplifiedChineseResource) {
    for (const ImageSize& e : kImages) {
        for (int dpi : ImageScale::kDrawnDpis) {
            const int id = ImageScale::ScaledResourceId(e.id, dpi);
            SCOPED_TRACE(id);
            EXPECT_NE(::FindResourceExA(nullptr, "PNG", MAKEINTRESOURCEA(id),
                                        MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)),
                      nullptr);
            TImagePtr image = CRenderer::LoadImage(MAKEINTRESOURCEA(id), "PNG", 0);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->nX, DpiScale(dpi).Scale(e.width));
            EXPECT_EQ(image->nY, DpiScale(dpi).Scale(e.height));
        }
    }
}

// The vertical bar's cells lie at x 0, 18, 36, 54 (normal, hot, pushed,
// disabled) and y 90, 108, 126, 144 (buttons, thumb, rail); the magenta
// around them is what the skin's mask takes away, and the background cell at
// y 162 is a solid face.
// At 150 and 200 % every cell and gap lies at its 100 % place times the
// scale, so that the windows' 96-DPI source rectangles cut the same cells.
TEST(ResourceScrollSheet, SpaceAroundTheCellsIsMagentaAndTheMaskClearsIt) {
    for (int dpi : ImageScale::kDrawnDpis) {
        SCOPED_TRACE(dpi);
        const DpiScale k(dpi);
        const int id = ImageScale::ScaledResourceId(159, dpi);
        TImagePtr raw = CRenderer::LoadImage(MAKEINTRESOURCEA(id), "PNG", 0);
        TImagePtr masked = CRenderer::LoadImage(MAKEINTRESOURCEA(id), "PNG", kMagenta);
        ASSERT_NE(raw, nullptr);
        ASSERT_NE(masked, nullptr);
        EXPECT_TRUE(masked->alphaChannel);
        for (int x : {0, 18, 36, 54}) {
            for (int y : {90, 108, 126, 144}) {
                SCOPED_TRACE(testing::Message() << "cell " << x << "," << y);
                EXPECT_EQ(PixelAt(*raw, k.Scale(x), k.Scale(y)), kMagenta);
                EXPECT_EQ(PixelAt(*masked, k.Scale(x), k.Scale(y)), 0u);
                EXPECT_EQ(PixelAt(*raw, k.Scale(x + 16) - 1, k.Scale(y + 16) - 1), kMagenta);
            }
            EXPECT_EQ(PixelAt(*masked, k.Scale(x + 8), k.Scale(134)) >> 24, 0xFFu) << "thumb middle at x " << x;
            EXPECT_EQ(PixelAt(*masked, k.Scale(x + 8), k.Scale(170)) >> 24, 0xFFu) << "background at x " << x;
            // The background cell runs to the sheet's last row.
            EXPECT_EQ(PixelAt(*masked, k.Scale(x + 8), raw->nY - 1) >> 24, 0xFFu) << "last row at x " << x;
        }
        // Every column of the gaps between the cells, the whole sheet down.
        for (int gap : {16, 34, 52}) {
            for (int gx = k.Scale(gap); gx < k.Scale(gap + 2); ++gx)
                for (int y = 0; y < raw->nY; ++y) ASSERT_EQ(PixelAt(*raw, gx, y), kMagenta) << gx << "," << y;
        }
    }
}

TEST(ResourceIcon, GroupHoldsAnImageForEverySizeWindowsAsksFor) {
    // The group directory: six bytes of header, then fourteen per image.
    const std::vector<unsigned char> group = ResourceBytes("IDI_CONFIG", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    const WORD count = static_cast<WORD>(group[4] | group[5] << 8);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const unsigned char* entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(entry[6] | entry[7] << 8, 32) << "bits per pixel of entry " << i;
        sizes.insert(entry[0] == 0 ? 256 : entry[0]);  // 0 stands for 256
    }
    // 24 for small icons at 150 %, 64 and 256 for large views and high scales.
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 256}));

    for (int size : {16, 24, 32, 48, 64, 256}) {
        SCOPED_TRACE(size);
        UniqueIcon icon(static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), "IDI_CONFIG", IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
        UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        ASSERT_EQ(::GetObjectA(colour.get(), sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);
    }
}

TEST(ResourceVersion, ReadsBackProductNameAndTheVersionOfVersionHeader) {
    char path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path, 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(VELMORA_VERSION_MINOR, VELMORA_VERSION_MAJOR);
    const DWORD low = MAKELONG(VELMORA_VERSION_BUILD, VELMORA_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);

    // The texts are made from the same numbers by the preprocessor.
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d.%d.%d.%d", VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR,
                  VELMORA_VERSION_PATCH, VELMORA_VERSION_BUILD);
    EXPECT_EQ(VersionString(block, "ProductName"), "Velmora Configuration Tool");
    EXPECT_EQ(VersionString(block, "ProductVersion"), expected);
    EXPECT_EQ(VersionString(block, "FileVersion"), expected);
}

// The manifest is embedded and honoured: the common controls the process
// loads are version 6, which comes from the side-by-side store, not the
// system folder's version 5.
TEST(ResourceManifest, ProcessGetsVersionSixOfTheCommonControls) {
    const std::vector<unsigned char> manifest =
        ResourceBytes(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    const std::string text(manifest.begin(), manifest.end());
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);

    UniqueLibrary comctl(::LoadLibraryA("comctl32.dll"));
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameA(comctl.get(), path, MAX_PATH), 0u);
    std::string lower(path);
    for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("microsoft.windows.common-controls"), std::string::npos) << path;
    EXPECT_NE(lower.find("_6.0."), std::string::npos) << path;
}

// The manifest makes the process aware of each monitor's scale, so the
// system never stretches its windows' bitmaps.
TEST(ResourceManifest, ProcessIsAwareOfEachMonitorsScale) {
    using ContextFn = HANDLE(WINAPI*)();
    using AwarenessFn = int(WINAPI*)(HANDLE);
    const HMODULE user = ::GetModuleHandleW(L"user32.dll");
    const auto context =
        reinterpret_cast<ContextFn>(reinterpret_cast<void*>(::GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<AwarenessFn>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(context != nullptr && awareness != nullptr);
    EXPECT_EQ(2, awareness(context()));  // per monitor
}
