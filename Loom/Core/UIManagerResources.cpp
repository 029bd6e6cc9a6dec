#include <algorithm>
#include <cstring>
#include <cwchar>

#include "Loom/Render/RenderHtmlCanvas.h"
#include "Loom/Core/TextRules.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ImageScale.h"
#include "Loom/Render/ValueReaders.h"
#include "platform/Wide.h"

// The manager's fonts and images.

namespace Loom {

namespace {

// The face name as a font can hold it: at most 31 bytes with the
// terminating NUL, cut before a UTF-8 character that does not fit.
std::string FaceName(const std::string& face) { return face.substr(0, Text::Utf8CutLength(face, LF_FACESIZE - 1)); }

// True when the font draws common Chinese characters with glyphs of its own.
bool HasChineseGlyphs(HDC dc, HFONT font) {
    SelectGuard select(dc, font);
    const wchar_t probe[] = L"\u4E2D\u6587\u8BBE";  // three common ideographs
    WORD glyphs[3] = {};
    if (::GetGlyphIndicesW(dc, probe, 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) return false;
    for (WORD g : glyphs)
        if (g == 0xFFFF) return false;
    return true;
}

// True when the font was made from the face it names (not a substitute the
// font mapper chose because that face is not installed).
bool HasFace(HDC dc, HFONT font, const wchar_t* face) {
    SelectGuard select(dc, font);
    wchar_t made[LF_FACESIZE] = {};
    return ::GetTextFaceW(dc, LF_FACESIZE, made) > 0 && ::lstrcmpiW(made, face) == 0;
}

int CALLBACK TakeFirstFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
    // Faces whose name starts with '@' are the vertical forms.
    if (font->lfFaceName[0] == L'@') return 1;
    std::wcsncpy(reinterpret_cast<wchar_t*>(data), font->lfFaceName, LF_FACESIZE - 1);
    return 0;
}

// An installed face with the Chinese (GB2312) character set; empty if none.
const std::wstring& ChineseFace() {
    static const std::wstring face = [] {
        wchar_t found[LF_FACESIZE] = {};
        LOGFONTW wanted{};
        wanted.lfCharSet = GB2312_CHARSET;
        WindowDC screen(nullptr);
        if (screen.get() != nullptr)
            ::EnumFontFamiliesExW(screen.get(), &wanted, &TakeFirstFace, reinterpret_cast<LPARAM>(found), 0);
        return std::wstring(found);
    }();
    return face;
}

}  // namespace

UniqueFont CUIManager::CreateFontFrom(const std::string& face, int size, bool bold, bool underline, bool italic) {
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
    Text::CopyWide(FaceName(face), lf.lfFaceName, LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -size;
    if (bold) {
        // 700 heavier, within the 0-1000 weights GDI accepts.
        lf.lfWeight = std::min<LONG>(lf.lfWeight + FW_BOLD, 1000);
    }
    if (underline) lf.lfUnderline = TRUE;
    if (italic) lf.lfItalic = TRUE;
    UniqueFont font(::CreateFontIndirectW(&lf));
    // A face that is not installed would leave Chinese texts as boxes: the
    // same size and style from a face that has the Chinese glyphs instead.
    WindowDC screen(nullptr);
    if (font && screen.get() != nullptr && !HasFace(screen.get(), font.get(), lf.lfFaceName) &&
        !HasChineseGlyphs(screen.get(), font.get()) && !ChineseFace().empty()) {
        std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
        ChineseFace().copy(lf.lfFaceName, LF_FACESIZE - 1);
        lf.lfCharSet = GB2312_CHARSET;
        UniqueFont fallback(::CreateFontIndirectW(&lf));
        if (fallback) return fallback;
    }
    return font;
}

const TEXTMETRICW& CUIManager::MetricsOf(TFontInfo& info) {
    if (info.tmValid) return info.tm;
    HDC dc = GetPaintDC();
    WindowDC screen(nullptr);
    if (dc == nullptr) dc = screen.get();
    if (dc != nullptr && info.font) {
        SelectGuard select(dc, info.font.get());
        ::GetTextMetricsW(dc, &info.tm);
        info.tmValid = true;
    }
    return info.tm;
}

// Each font keeps its 96-DPI size (what GetFont and GetFontDescription
// compare and answer) and is made at the scale's height. A font that cannot
// be made at the new height keeps its old handle.
void CUIManager::RemakeFonts() {
    UniqueFont font;
    if (defaultIsSystem_) {
        LOGFONTW lf{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfHeight = scale_.Scale(lf.lfHeight);
        font = UniqueFont(::CreateFontIndirectW(&lf));
    } else {
        const TFontInfo& d = defaultFont_;
        font = CreateFontFrom(d.face, scale_.Scale(d.size), d.bold, d.underline, d.italic);
    }
    if (font) {
        defaultFont_.font = std::move(font);
        defaultFont_.tmValid = false;
    }
    for (auto& info : fonts_) {
        UniqueFont made =
            CreateFontFrom(info->face, scale_.Scale(info->size), info->bold, info->underline, info->italic);
        if (!made) continue;
        info->font = std::move(made);
        info->tmValid = false;
    }
}

HFONT CUIManager::GetDefaultFont() { return TopOfChain()->defaultFont_.font.get(); }

const TEXTMETRICW& CUIManager::GetDefaultFontInfo() {
    CUIManager* top = TopOfChain();
    return top->MetricsOf(top->defaultFont_);
}

void CUIManager::SetDefaultFont(const std::string& face, int size, bool bold, bool underline, bool italic) {
    UniqueFont font = CreateFontFrom(face, scale_.Scale(size), bold, underline, italic);
    if (!font) return;
    defaultIsSystem_ = false;
    defaultFont_.font = std::move(font);
    defaultFont_.face = FaceName(face);
    defaultFont_.size = size;
    defaultFont_.bold = bold;
    defaultFont_.underline = underline;
    defaultFont_.italic = italic;
    defaultFont_.tmValid = false;
}

HFONT CUIManager::AddFont(const std::string& face, int size, bool bold, bool underline, bool italic) {
    UniqueFont font = CreateFontFrom(face, scale_.Scale(size), bold, underline, italic);
    if (!font) return nullptr;
    auto info = std::make_unique<TFontInfo>();
    info->font = std::move(font);
    info->face = FaceName(face);
    info->size = size;
    info->bold = bold;
    info->underline = underline;
    info->italic = italic;
    HFONT handle = info->font.get();
    fonts_.push_back(std::move(info));
    return handle;
}

HFONT CUIManager::GetFont(int index) {
    if (index < 0 || index >= static_cast<int>(fonts_.size())) return GetDefaultFont();
    return fonts_[static_cast<size_t>(index)]->font.get();
}

HFONT CUIManager::GetFont(const std::string& face, int size, bool bold, bool underline, bool italic) {
    const std::string name = FaceName(face);
    for (CUIManager* m = this; m != nullptr; m = m->resourceParent_) {
        for (const auto& f : m->fonts_) {
            if (f->face == name && f->size == size && f->bold == bold && f->underline == underline &&
                f->italic == italic) {
                return f->font.get();
            }
        }
    }
    return nullptr;
}

const TEXTMETRICW& CUIManager::GetFontInfo(int index) {
    if (index < 0 || index >= static_cast<int>(fonts_.size())) return GetDefaultFontInfo();
    return MetricsOf(*fonts_[static_cast<size_t>(index)]);
}

TFontInfo* CUIManager::FindFontInfo(HFONT font) {
    if (font == nullptr) return nullptr;
    for (CUIManager* m = this; m != nullptr; m = m->resourceParent_) {
        for (const auto& f : m->fonts_) {
            if (f->font.get() == font) return f.get();
        }
        if (m->defaultFont_.font.get() == font) return &m->defaultFont_;
    }
    return nullptr;
}

const TEXTMETRICW& CUIManager::GetFontInfo(HFONT font) {
    TFontInfo* info = FindFontInfo(font);
    if (info == nullptr) return GetDefaultFontInfo();
    return MetricsOf(*info);
}

HFONT CUIManager::GetOrAddFont(const std::string& face, int size, bool bold, bool underline, bool italic) {
    HFONT font = GetFont(face, size, bold, underline, italic);
    if (font != nullptr) return font;
    return AddFont(face, size, bold, underline, italic);
}

bool CUIManager::GetFontDescription(HFONT font, std::string& face, int& size, bool& bold, bool& underline,
                                    bool& italic) {
    const TFontInfo* info = FindFontInfo(font);
    if (info == nullptr) return false;
    face = info->face;
    size = info->size;
    bold = info->bold;
    underline = info->underline;
    italic = info->italic;
    return true;
}

const TImageInfo* CUIManager::GetImage(const std::string& name) const {
    auto it = images_.find(name);
    return it == images_.end() ? nullptr : it->second.get();
}

const TImageInfo* CUIManager::AddImage(const std::string& name, const std::string& type, DWORD mask) {
    TImagePtr image;
    const std::string& path = GetResourcePath();
    if (!type.empty()) {
        // A resource image is named by its number.
        if (name.empty() || name[0] < '0' || name[0] > '9') return nullptr;
        const WORD id = static_cast<WORD>(ValueReaders::ReadInt(name.c_str()) & 0xFFFF);
        image = CRenderer::LoadImage(MAKEINTRESOURCEA(id), type.c_str(), mask, GetResourceInstance(), path.c_str());
    } else {
        image = CRenderer::LoadImage(name.c_str(), nullptr, mask, GetResourceInstance(), path.c_str());
    }
    if (!image) return nullptr;
    image->sResType = type;
    image->dwMask = mask;
    // A name already present keeps its image; the new one is freed here.
    auto result = images_.emplace(name, std::move(image));
    return result.first->second.get();
}

const TImageInfo* CUIManager::FindOrLoadImage(const std::string& name, const std::string& type, DWORD mask) {
    const TImageInfo* image = GetImage(name);
    if (image != nullptr) return image;
    AddImage(name, type, mask);
    return GetImage(name);
}

const TImageInfo* CUIManager::FindOrLoadScaledImage(const std::string& name, const std::string& type, DWORD mask) {
    const TImageInfo* base = FindOrLoadImage(name, type, mask);
    if (base == nullptr || scale_.IsIdentity()) return base;
    auto found = scaledImages_.find(name);
    if (found != scaledImages_.end()) return found->second.get();
    const int width = scale_.Scale(base->nX), height = scale_.Scale(base->nY);
    const std::string& path = GetResourcePath();
    TImagePtr made;
    for (int drawn : ImageScale::DrawnDpiOrder(scale_.Dpi())) {
        TImagePtr loaded;
        const TImageInfo* from = base;
        if (drawn != DpiScale::kBaseDpi) {
            if (!type.empty()) {
                const int id = ImageScale::ScaledResourceId(ValueReaders::ReadInt(name.c_str()) & 0xFFFF, drawn);
                if (id != 0)
                    loaded = CRenderer::LoadImage(MAKEINTRESOURCEA(id), type.c_str(), mask, GetResourceInstance(),
                                                  path.c_str());
            } else {
                const std::string file = ImageScale::ScaledFileName(name, drawn);
                if (!file.empty())
                    loaded = CRenderer::LoadImage(file.c_str(), nullptr, mask, GetResourceInstance(), path.c_str());
            }
            if (!loaded) continue;
            from = loaded.get();
        }
        if (from->nX == width && from->nY == height && loaded) {
            made = std::move(loaded);
        } else {
            made = CRenderer::ResampleImage(*from, width, height);
        }
        if (made) {
            made->sResType = type;
            made->dwMask = mask;
        }
        break;
    }
    // A failure is kept too, so that a repaint does not try again.
    return scaledImages_.emplace(name, std::move(made)).first->second.get();
}

}  // namespace Loom
