// Html text on arbitrary bytes: the first two bytes choose the format and the
// rectangle width, the rest is the text, laid out on a canvas of fixed metrics.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "HtmlTestCanvas.h"
#include "Loom/Render/HtmlLayout.h"
#include "Loom/Render/HtmlTokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const unsigned formatBits[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x400, 0x8000};
    unsigned format = 0;
    for (int i = 0; i < 8; ++i)
        if (data[0] & (1u << i)) format |= formatBits[i];
    const int width = data[1] % 64 * 4 - 8;  // includes empty and inverted rectangles
    std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    text = text.substr(0, text.find('\0'));

    LoomTest::HtmlTestCanvas canvas;
    canvas.images["a.png"] = {40, 8};
    canvas.images["12"] = {3, 300};
    Loom::THtmlLink previous{{0, 0, 50, 20}, "x"};
    Loom::THtmlLayoutParams params;
    params.rect = {0, 0, width, 120};
    params.format = format;
    params.maxLinks = 3;
    params.previousLinks = &previous;
    params.previousLinkCount = 1;
    params.mouseX = 5;
    params.mouseY = 5;
    Loom::THtmlLayoutResult r = Loom::CHtmlLayout(canvas, params).Run(text.c_str());

    if (r.links.size() > 3) std::abort();
    if (r.extent.right > params.rect.right && !params.rect.IsEmpty()) std::abort();
    if ((format & 0x400) && !canvas.texts.empty()) std::abort();  // measuring draws nothing
    size_t drawn = 0;
    for (const auto& t : canvas.texts) drawn += t.text.size();
    // Nothing is drawn twice: the text plus one "..." per line at most.
    if (drawn > text.size() + 3 * (text.size() + 1)) std::abort();
    Loom::CHtmlTokenizer::Tokenize(text.c_str());
    return 0;
}
