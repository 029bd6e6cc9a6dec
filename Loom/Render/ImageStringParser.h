#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Loom/Render/DpiScale.h"
#include "Loom/Render/Rect.h"

namespace Loom {

// One image an image string asks to draw, with the settings in force when it
// was drawn.
struct TImageDrawStep {
    std::string name;
    std::string type;  // resource type; empty: a file under the resource path
    TRect dest;        // absolute, already cut at the control's right and bottom
    TRect source;      // 0,0,0,0: the whole image
    TRect corner;
    uint32_t mask = 0;
    uint8_t fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;
};

// Why parsing of one string ended.
enum class ImageStringStop {
    End,             // every pair was read
    NoEquals,        // a key without "="
    NoOpeningQuote,  // "=" not followed by a quote
    NoClosingQuote,  // a value running to the end of the text
    NoSeparator,     // something other than a blank after a closing quote
};

struct TImageStringStatus {
    ImageStringStop stop = ImageStringStop::End;
    size_t pos = 0;  // offset where parsing stopped
};

// Turns an image string (a bare image name, or key='value' pairs) and an
// optional modify string into the images to draw over a control.
class CImageStringParser {
public:
    // item: the control's rectangle; the image name starts as the whole
    // image string. scale: the window's, for the dest offsets, which the
    // string gives in 96-DPI pixels from the control's corner.
    CImageStringParser(const char* image, const TRect& item, DpiScale scale = DpiScale());

    // Parses one string with the settings gathered so far. Images named and
    // then replaced within it are appended to the steps as they are replaced.
    TImageStringStatus Parse(const char* text);
    // Appends the last image (unless its name is empty) and returns all steps.
    std::vector<TImageDrawStep> Finish();

    // Parse(image), Parse(modify), Finish().
    static std::vector<TImageDrawStep> Steps(const char* image, const char* modify, const TRect& item,
                                             DpiScale scale = DpiScale());

private:
    void Apply(const std::string& key, const std::string& value);
    void DrawPending();

    TRect item_;
    DpiScale scale_;
    TImageDrawStep current_;
    bool named_ = false;  // an image was named by "file" or "restype" in the current string
    std::vector<TImageDrawStep> steps_;
};

}  // namespace Loom
