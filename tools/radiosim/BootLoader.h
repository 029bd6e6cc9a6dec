#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The radio's boot loader: collects the pages of one firmware download.
// A page block is 256 data bytes and their 16-bit sum, high byte first.
// Pure state, no I/O: the interpreter feeds it bytes and asks what to answer.
class BootLoader {
public:
    static constexpr size_t kPageData = 256;
    static constexpr size_t kPageBlock = kPageData + 2;

    struct Page {
        long number = 0;  // 1-based within the download
        bool checksumOk = false;
    };

    // "boot_start": a new download, with an empty image.
    void start();
    // "write page" accepted: the next 258 bytes are a page block.
    void expectPage();
    bool expectingPage() const { return expecting_; }
    size_t pageBytes() const { return filled_; }
    // Counts "write page" requests of this download, refused ones included.
    long nextRequest() { return ++requests_; }

    // Takes one byte of the page block; true once the block is complete.
    bool addByte(uint8_t byte);
    // Checks the completed block; a good page is appended to the image.
    Page finishPage();
    // Forgets a block that stopped arriving or that is not taken; the image
    // keeps its good pages and the block's number is given to the next one.
    Page dropPage();

    const std::string& image() const { return image_; }

    static uint16_t checksum(const uint8_t* data, size_t length);

private:
    std::string image_;
    uint8_t block_[kPageBlock] = {};
    size_t filled_ = 0;
    bool expecting_ = false;
    long pages_ = 0;
    long requests_ = 0;
};
