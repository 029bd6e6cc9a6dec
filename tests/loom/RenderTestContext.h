#pragma once
#include <windows.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/GdiHandles.h"
#include "Loom/Render/Render.h"
#include "Loom/Render/RenderContext.h"

namespace LoomTest {

// The paint manager's part the render engine uses, kept by the tests: a
// font list, an image table loading from a folder or the test's resources,
// and the default colours.
class RenderTestContext : public Loom::IRenderContext {
public:
    explicit RenderTestContext(std::string resourcePath = "") : resourcePath_(std::move(resourcePath)) {
        measureDC_ = CompatibleDC(nullptr);
        defaultFont_ = Add("Tahoma", 16, false, false, false);
    }

    const Loom::TImageInfo* FindOrLoadImage(const std::string& name, const std::string& type, DWORD mask) override {
        auto it = images_.find(name);
        if (it != images_.end()) return it->second.get();
        Loom::TImagePtr image;
        if (!type.empty()) {
            if (name.empty() || name[0] < '0' || name[0] > '9') return nullptr;
            WORD id = static_cast<WORD>(std::atoi(name.c_str()) & 0xFFFF);
            image = Loom::CRenderer::LoadImage(MAKEINTRESOURCEA(id), type.c_str(), mask, nullptr, "");
        } else {
            image = Loom::CRenderer::LoadImage(name.c_str(), nullptr, mask, nullptr, resourcePath_.c_str());
        }
        if (!image) return nullptr;
        ++loads;
        return (images_[name] = std::move(image)).get();
    }
    HFONT GetFont(int index) override {
        return index >= 0 && index + 1 < int(fonts_.size()) ? fonts_[index + 1].font.get() : defaultFont_;
    }
    const TEXTMETRICW& GetFontInfo(HFONT font) override {
        for (auto& f : fonts_)
            if (f.font.get() == font) return f.tm;
        return fonts_[0].tm;
    }
    HFONT GetOrAddFont(const std::string& face, int size, bool bold, bool underline, bool italic) override {
        for (auto& f : fonts_)
            if (f.face == face && f.size == size && f.bold == bold && f.underline == underline && f.italic == italic)
                return f.font.get();
        return Add(face, size, bold, underline, italic);
    }
    bool GetFontDescription(HFONT font, std::string& face, int& size, bool& bold, bool& underline,
                            bool& italic) override {
        for (auto& f : fonts_) {
            if (f.font.get() != font) continue;
            face = f.face, size = f.size, bold = f.bold, underline = f.underline, italic = f.italic;
            return true;
        }
        return false;
    }
    DWORD GetDefaultLinkFontColor() const override { return 0xFF0000FF; }
    DWORD GetDefaultLinkHoverFontColor() const override { return 0xFFD3215F; }
    DWORD GetDefaultSelectedBkColor() const override { return 0xFFBAE4FF; }
    POINT GetMousePos() const override { return mouse; }

    // Adds a font to the list (index = position after the default font).
    HFONT Add(const std::string& face, int size, bool bold, bool underline, bool italic) {
        Entry e;
        e.face = face, e.size = size, e.bold = bold, e.underline = underline, e.italic = italic;
        e.font = UniqueFont(::CreateFontA(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, 0,
                                          DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, face.c_str()));
        if (!e.font) return nullptr;
        SelectGuard sel(measureDC_.get(), e.font.get());
        ::GetTextMetricsW(measureDC_.get(), &e.tm);
        fonts_.push_back(std::move(e));
        return fonts_.back().font.get();
    }
    size_t FontCount() const { return fonts_.size(); }

    POINT mouse{-1, -1};
    int loads = 0;

private:
    struct Entry {
        UniqueFont font;
        std::string face;
        int size = 0;
        bool bold = false, underline = false, italic = false;
        TEXTMETRICW tm{};
    };
    std::string resourcePath_;
    UniqueMemDC measureDC_;
    std::vector<Entry> fonts_;
    HFONT defaultFont_ = nullptr;
    std::map<std::string, Loom::TImagePtr> images_;
};

}  // namespace LoomTest
