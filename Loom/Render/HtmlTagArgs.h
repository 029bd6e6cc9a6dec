#pragma once
#include <string>

namespace Loom {

// The argument of an f tag: a font index, or a face with size and flags.
struct THtmlFontArg {
    bool byIndex = false;
    int index = 0;
    std::string face;
    int size = 10;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

// The argument of an inline-image i tag: the image and the strip cell.
struct THtmlImageArg {
    std::string name;
    std::string type;  // resource type; empty: a file
    int count = 1;     // equal cells in the strip, at least 1
    int index = 0;     // the cell drawn, 0 when out of range
};

// Readers for the arguments of html text tags.
class CHtmlTagArgs {
public:
    // "2" is index 2; "Arial 14 bold italic" a face, a size (10 when not a
    // number; limited to 1..500) and the flags whose words appear.
    static THtmlFontArg ParseFont(const std::string& arg);
    // "name [count] [index]", or "file='name'" / "res='id' restype='png'"
    // followed by count and index.
    static THtmlImageArg ParseImage(const std::string& arg);
};

}  // namespace Loom
