#pragma once
#include <cstdint>
#include <string>

// What the command line shows of a firmware download as its pages go out. On
// a console one line is rewritten in place after every page: the page, the
// percentage and the time left. Into a file or a pipe, where a rewritten line
// would pile up, one line each time another tenth is reached.
class FirmwareProgress {
public:
    // `pages` and `imageLength` are the image's (its page count and size in
    // bytes); `inPlace` when the output is a console.
    FirmwareProgress(uint64_t pages, uint64_t imageLength, bool inPlace);
    // The text for the download's progress `value` (0 to 10000, as the
    // download reports it) reached `elapsedMs` after it began; empty when
    // nothing new is to be shown.
    std::string Update(int value, uint64_t elapsedMs);
    // What ends the display before any other output: the line end after an
    // in-place line; empty otherwise.
    std::string Finish();

private:
    uint64_t pages_;
    uint64_t imageLength_;
    bool inPlace_;
    int shownTenth_ = 0;
    size_t lineWidth_ = 0;  // of the in-place line shown, 0 for none
};
