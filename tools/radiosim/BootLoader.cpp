#include "BootLoader.h"

void BootLoader::start() {
    image_.clear();
    filled_ = 0;
    expecting_ = false;
    pages_ = 0;
    requests_ = 0;
}

void BootLoader::expectPage() {
    expecting_ = true;
    filled_ = 0;
}

bool BootLoader::addByte(uint8_t byte) {
    if (!expecting_ || filled_ >= kPageBlock) return false;
    block_[filled_++] = byte;
    return filled_ == kPageBlock;
}

BootLoader::Page BootLoader::finishPage() {
    Page page;
    page.number = ++pages_;
    uint16_t sent = uint16_t(block_[kPageData] << 8 | block_[kPageData + 1]);
    page.checksumOk = filled_ == kPageBlock && checksum(block_, kPageData) == sent;
    if (page.checksumOk) image_.append(reinterpret_cast<const char*>(block_), kPageData);
    expecting_ = false;
    filled_ = 0;
    return page;
}

BootLoader::Page BootLoader::dropPage() {
    Page page;
    page.number = pages_ + 1;  // the number goes to the next complete block
    expecting_ = false;
    filled_ = 0;
    return page;
}

uint16_t BootLoader::checksum(const uint8_t* data, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i < length; ++i) sum += data[i];
    return uint16_t(sum);
}
