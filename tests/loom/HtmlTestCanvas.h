#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Loom/Render/HtmlCanvas.h"

namespace LoomTest {

// An html canvas with fixed metrics: every byte is 10 pixels wide (12 in a
// bold font), a font is as high as its size, and draw calls are recorded.
class HtmlTestCanvas : public Loom::IHtmlCanvas {
public:
    struct Font {
        std::string face;
        int size = 16;
        bool bold = false, underline = false, italic = false;
    };
    struct TextCall {
        Loom::HtmlFont font;
        uint32_t colour;
        bool selected;
        int x, y;
        std::string text;
    };
    struct ImageCall {
        std::string name, type;
        Loom::TRect dest, source;
    };

    HtmlTestCanvas() {
        fonts_.push_back({"Default", 16});  // handle 1: the default font
        fonts_.push_back({"Small", 10});    // handle 2: index 0
        fonts_.push_back({"Large", 24});    // handle 3: index 1
    }

    Loom::HtmlFont DefaultFont() override { return 1; }
    Loom::HtmlFont FontAt(int index) override { return index >= 0 && index < 2 ? index + 2 : 1; }
    Loom::HtmlFont FontVariant(Loom::HtmlFont base, Loom::HtmlFontVariant v) override {
        Font f = Get(base);
        if (v == Loom::HtmlFontVariant::Bold) f.bold = true;
        if (v == Loom::HtmlFontVariant::Italic) f.italic = true;
        if (v == Loom::HtmlFontVariant::Underline) f.underline = true;
        return FindOrAdd(f);
    }
    Loom::HtmlFont FontByFace(const std::string& face, int size, bool bold, bool underline, bool italic) override {
        return FindOrAdd(Font{face, size, bold, underline, italic});
    }
    Loom::THtmlFontMetrics Metrics(Loom::HtmlFont font) override {
        Font f = Get(font);
        return {f.size, 0, f.bold ? 12 : 10, f.italic};
    }
    int BlankCSpacing(Loom::HtmlFont font) override { return Get(font).italic ? -4 : 0; }
    int TextWidth(Loom::HtmlFont font, const char*, int length) override { return length * (Get(font).bold ? 12 : 10); }
    int FitBytes(Loom::HtmlFont font, const char*, int length, int maxWidth) override {
        int fit = maxWidth / (Get(font).bold ? 12 : 10);
        return fit < length ? fit : length;
    }
    bool ImageSize(const std::string& name, const std::string&, int& w, int& h) override {
        auto it = images.find(name);
        if (it == images.end()) return false;
        w = it->second.first;
        h = it->second.second;
        return true;
    }
    void PaintText(Loom::HtmlFont font, uint32_t colour, bool selected, int x, int y, const char* text,
                   int length) override {
        texts.push_back({font, colour, selected, x, y, std::string(text, length)});
    }
    void PaintImage(const std::string& name, const std::string& type, const Loom::TRect& dest,
                    const Loom::TRect& source) override {
        imageCalls.push_back({name, type, dest, source});
    }

    Font Get(Loom::HtmlFont h) const { return h >= 1 && h <= fonts_.size() ? fonts_[h - 1] : fonts_[0]; }
    // Everything drawn, in order, as one string.
    std::string Drawn() const {
        std::string s;
        for (const TextCall& t : texts) s += t.text;
        return s;
    }

    std::map<std::string, std::pair<int, int>> images;
    std::vector<TextCall> texts;
    std::vector<ImageCall> imageCalls;

private:
    Loom::HtmlFont FindOrAdd(const Font& f) {
        for (size_t i = 0; i < fonts_.size(); ++i) {
            const Font& g = fonts_[i];
            if (g.face == f.face && g.size == f.size && g.bold == f.bold && g.underline == f.underline &&
                g.italic == f.italic)
                return i + 1;
        }
        fonts_.push_back(f);
        return fonts_.size();
    }
    std::vector<Font> fonts_;
};

}  // namespace LoomTest
