#include "radio/Firmware.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

namespace Firmware {
namespace {

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The file's length without the 2 GiB limit of a 32-bit long.
bool FileLength(std::FILE* file, uint64_t& length) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) return false;
    long long end = _ftelli64(file);
    if (end < 0 || _fseeki64(file, 0, SEEK_SET) != 0) return false;
#else
    if (fseeko(file, 0, SEEK_END) != 0) return false;
    off_t end = ftello(file);
    if (end < 0 || fseeko(file, 0, SEEK_SET) != 0) return false;
#endif
    length = static_cast<uint64_t>(end);
    return true;
}

bool SkipTo(std::FILE* file, uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

uint64_t PageCount(uint64_t fileLength) {
    if (!IsLongEnough(fileLength)) return 0;
    return 1 + (fileLength - kSecondPageOffset) / kPageSize;
}

int Progress(uint64_t bytesSent, uint64_t fileLength) {
    if (fileLength <= kSkipped) return 0;
    return static_cast<int>(bytesSent * 10000 / (fileLength - kSkipped));
}

uint16_t PageChecksum(const unsigned char* page) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < kPageSize; ++i) sum += page[i];
    return static_cast<uint16_t>(sum);  // at most 65280: always fits
}

void BuildBlock(const unsigned char* page, unsigned char* block) {
    std::memcpy(block, page, kPageSize);
    uint16_t sum = PageChecksum(page);
    block[kPageSize] = static_cast<unsigned char>(sum >> 8);
    block[kPageSize + 1] = static_cast<unsigned char>(sum & 0xFF);
}

Download::Download(IFirmwareChooser& chooser, IFirmwareEvents& events, IActionWindow& window, RadioExchange& exchange,
                   IPortWriter& port)
    : chooser(chooser), events(events), window(window), exchange(exchange), port(port) {}

bool Download::Exchange(const char* command, const char* expected) {
    return exchange.SendCommand(command) && exchange.ReplyContains(expected);
}

bool Download::SendPage(const unsigned char* page) {
    if (!Exchange(kWritePage, kWritePageReply)) return false;
    unsigned char block[kBlockSize];
    BuildBlock(page, block);
    return exchange.SendAndWait(block, kBlockSize) && exchange.ReplyContains(kPageReply);
}

bool Download::SendPages(std::FILE* file, uint64_t length) {
    if (!Exchange(kBootStart, kBootStartReply)) return false;
    unsigned char page[kPageSize];
    if (std::fread(page, 1, kPageSize, file) != kPageSize || !SendPage(page)) return false;
    if (!SkipTo(file, kSecondPageOffset)) return false;
    uint64_t sent = kPageSize;
    while (std::fread(page, 1, kPageSize, file) == kPageSize) {
        if (!SendPage(page)) return false;
        sent += kPageSize;
        events.Progress(Progress(sent, length));
        Pause(pagePauseMs);
    }
    port.Write(reinterpret_cast<const unsigned char*>(kFinish), static_cast<uint32_t>(std::strlen(kFinish)));
    Pause(finishPauseMs);
    return true;
}

void Download::downloadFirmware() {
    std::string path;
    if (!chooser.ChooseFirmwareFile(path)) return;
    events.Busy(true);
    bool ok = false;
    {
        UniqueFilePtr file(std::fopen(path.c_str(), "rb"));
        uint64_t length = 0;
        ok = file && FileLength(file.get(), length) && IsLongEnough(length) && window.OpenSelectedPort(true) &&
             SendPages(file.get(), length);
    }
    events.Outcome(ok);
    events.Busy(false);
}

}  // namespace Firmware
