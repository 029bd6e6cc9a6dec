#pragma once
#include <string>

// A change a test makes to the Wine prefix for a while (the display's
// scale, a font replacement). While it lives, a mark file says so in the
// folder scripts/wine-run names (VELMORA_PREFIX_MARKS); a test killed
// before it put the prefix back leaves the mark, and the next session
// puts the prefix back. Create it before the change, end it after the
// prefix is as it was.
class PrefixMark {
public:
    explicit PrefixMark(std::string name);
    ~PrefixMark();
    PrefixMark(const PrefixMark&) = delete;
    PrefixMark& operator=(const PrefixMark&) = delete;

    // The mark is written: the change may be made.
    bool Made() const { return !path_.empty(); }

private:
    std::string path_;
};
