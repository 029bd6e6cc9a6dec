#include "radio/FirmwareImage.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "radio/Firmware.h"
#include "platform/Files.h"

namespace Firmware {
namespace {

constexpr uint64_t kLineRate = 115200;
constexpr uint64_t kBitsPerByte = 10;
// The radio's answers as they come on the wire: CR LF, text, CR LF.
constexpr uint64_t kFramed = 4;

uint64_t TextBytes(const char* text) { return std::strlen(text); }

std::string Format(const char* pattern, const std::string& path, unsigned long long a, unsigned long long b,
                   unsigned long long c) {
    char text[1024];
    std::snprintf(text, sizeof text, pattern, path.c_str(), a, b, c);
    return text;
}

}  // namespace

ImageFacts InspectImageLength(uint64_t length, int pagePauseMs, int finishPauseMs) {
    ImageFacts facts;
    facts.length = length;
    if (length == 0) {
        facts.problem = ImageProblem::Empty;
        return facts;
    }
    if (!IsLongEnough(length)) {
        facts.problem = ImageProblem::TooShort;
        return facts;
    }
    facts.problem = ImageProblem::None;
    facts.pages = PageCount(length);
    facts.unsentTail = (length - kSecondPageOffset) % kPageSize;
    const uint64_t perPage =
        TextBytes(kWritePage) + TextBytes(kWritePageReply) + kFramed + kBlockSize + TextBytes(kPageReply) + kFramed;
    const uint64_t wire =
        TextBytes(kBootStart) + TextBytes(kBootStartReply) + kFramed + facts.pages * perPage + TextBytes(kFinish);
    const uint64_t pauses = (facts.pages - 1) * static_cast<uint64_t>(pagePauseMs > 0 ? pagePauseMs : 0) +
                            static_cast<uint64_t>(finishPauseMs > 0 ? finishPauseMs : 0);
    facts.downloadMs = wire * kBitsPerByte * 1000 / kLineRate + pauses;
    return facts;
}

ImageFacts InspectImageFile(const std::string& path, int pagePauseMs, int finishPauseMs) {
    std::ifstream file(Text::PathOf(path), std::ios::binary);
    ImageFacts unreadable;
    if (!file) return unreadable;
    // A folder opens on some systems but reads nothing: read one byte to be sure.
    char probe;
    file.read(&probe, 1);
    const bool empty = file.gcount() == 0 && file.eof();
    if (!empty && file.gcount() != 1) return unreadable;
    file.clear();
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (!file || end < 0 || (empty && end != 0)) return unreadable;
    return InspectImageLength(static_cast<uint64_t>(end), pagePauseMs, finishPauseMs);
}

std::string DescribeImage(const std::string& path, const ImageFacts& facts, Language language) {
    const unsigned long long seconds = (facts.downloadMs + 999) / 1000;
    std::string text;
    if (language == Language::Chinese) {
        text = Format("固件文件：%s\n大小：%llu 字节，%llu 页\n以 115200 波特率下载约需 %llu 秒。\n", path,
                      facts.length, facts.pages, seconds);
        if (facts.unsentTail > 0) text += Format("%s最后 %llu 字节不足一页，不会发送。\n", "", facts.unsentTail, 0, 0);
        text += "\n开始后电台将停留在引导程序中，直到下载完成。确定开始升级吗？";
    } else {
        text = Format("Firmware image: %s\nSize: %llu bytes, %llu pages\nDownload at 115200 baud takes about %llu s.\n",
                      path, facts.length, facts.pages, seconds);
        if (facts.unsentTail > 0)
            text +=
                Format("%sThe last %llu bytes are not a whole page and are not sent.\n", "", facts.unsentTail, 0, 0);
        text += "\nOnce started, the radio stays in its boot loader until a download completes. Start the update?";
    }
    return text;
}

std::string DescribeRefusal(const std::string& path, const ImageFacts& facts, Language language) {
    const bool zh = language == Language::Chinese;
    switch (facts.problem) {
    case ImageProblem::Empty:
        return Format(zh ? "%s\n文件为空，不是固件文件。电台未做任何改动。"
                         : "%s\nThe file is empty: it is no firmware "
                           "image. Nothing was sent to the radio.",
                      path, 0, 0, 0);
    case ImageProblem::TooShort:
        return Format(zh ? "%s\n文件只有 %llu 字节，固件文件必须大于 %llu 字节。电台未做任何改动。"
                         : "%s\nThe file has only %llu bytes; a firmware image has more than %llu. Nothing was sent "
                           "to the radio.",
                      path, facts.length, kSecondPageOffset, 0);
    case ImageProblem::Unreadable:
        return Format(zh ? "%s\n文件无法读取（不存在、是文件夹或无权限）。电台未做任何改动。"
                         : "%s\nThe file cannot be read (missing, a folder, or no permission). Nothing was sent to "
                           "the radio.",
                      path, 0, 0, 0);
    case ImageProblem::None:
        break;
    }
    return std::string();
}

}  // namespace Firmware
