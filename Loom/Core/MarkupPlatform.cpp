#include "Loom/Core/MarkupPlatform.h"

namespace Loom {

const char* GbkCharNext(const char* p) {
    const unsigned char lead = static_cast<unsigned char>(p[0]);
    const unsigned char trail = static_cast<unsigned char>(p[1]);
    // A trail byte is never NUL, so a lead byte at the end of the text stays
    // one character and the scan cannot step over the terminator.
    if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return p + 2;
    return p + 1;
}

}  // namespace Loom
