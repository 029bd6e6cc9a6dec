#include "testkit/ShowcaseText.h"

#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace LoomTest {

using Loom::ValueReaders;

void ShowcaseTextUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "textcolor") == 0) {
        textColor_ = ValueReaders::ReadColor(value);
    } else if (std::strcmp(name, "font") == 0) {
        font_ = ValueReaders::ReadInt(value);
    } else if (std::strcmp(name, "textpadding") == 0) {
        int v[4] = {0, 0, 0, 0};
        ValueReaders::ReadNumberList(value, v, 4);
        textPadding_ = RECT{v[0], v[1], v[2], v[3]};
    } else if (std::strcmp(name, "showhtml") == 0) {
        html_ = ValueReaders::ReadBool(value);
    } else if (std::strcmp(name, "align") == 0) {
        format_ = std::strstr(value, "wrap") ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
        if (std::strstr(value, "center")) format_ |= DT_CENTER;
        if (std::strstr(value, "right")) format_ |= DT_RIGHT;
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void ShowcaseTextUI::PaintText(HDC dc) {
    if (text_.empty() || manager_ == nullptr) return;
    RECT rc{pos_.left + textPadding_.left, pos_.top + textPadding_.top, pos_.right - textPadding_.right,
            pos_.bottom - textPadding_.bottom};
    if (!html_) {
        Loom::CRenderer::DrawText(dc, manager_, rc, text_.c_str(), textColor_, font_, format_);
        return;
    }
    // The previous paint's links go in, so a hovered link keeps its colour.
    linkCount_ = kMaxLinks;
    Loom::CRenderer::DrawHtmlText(dc, manager_, rc, text_.c_str(), textColor_, links_, linkTexts_, linkCount_, format_);
    // Slots this paint did not fill must not pass for links next time.
    for (int i = linkCount_; i < kMaxLinks; ++i) {
        links_[i] = RECT{0, 0, 0, 0};
        linkTexts_[i].clear();
    }
}

}  // namespace LoomTest
