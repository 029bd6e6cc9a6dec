#pragma once
#include <cstdint>
#include <string>

#include "radio/RadioSettings.h"

// What can be known of a firmware image before the boot loader is entered:
// whether it can be an image at all, how many pages it sends and how long the
// download takes at 115200 baud.
namespace Firmware {

enum class ImageProblem { None, Unreadable, Empty, TooShort };

struct ImageFacts {
    ImageProblem problem = ImageProblem::Unreadable;
    uint64_t length = 0;
    uint64_t pages = 0;
    // Bytes after the last whole page: a partial page is not sent.
    uint64_t unsentTail = 0;
    // Expected time of the whole download, in milliseconds.
    uint64_t downloadMs = 0;
    bool Valid() const { return problem == ImageProblem::None; }
};

// The facts of an image of `length` bytes. The time is the wire time of every
// byte of the dialogue at 115200 baud, 10 bits a byte (the texts, the page
// blocks and the radio's expected answers), plus the pause after each page
// but the first and the pause after "ISP finish".
ImageFacts InspectImageLength(uint64_t length, int pagePauseMs = 50, int finishPauseMs = 100);
// The same for a file; Unreadable when it cannot be opened and measured (a
// missing file, a folder, no permission).
ImageFacts InspectImageFile(const std::string& path, int pagePauseMs = 50, int finishPauseMs = 100);

// The facts and the boot loader warning, asking whether to start, in the
// window's language.
std::string DescribeImage(const std::string& path, const ImageFacts& facts, Language language);
// Why the file is refused, in the window's language.
std::string DescribeRefusal(const std::string& path, const ImageFacts& facts, Language language);

}  // namespace Firmware
