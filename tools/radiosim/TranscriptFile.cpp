#include "TranscriptFile.h"

#include <cerrno>
#include <cstring>

TranscriptFile::~TranscriptFile() {
    if (file_) std::fclose(file_);
}

bool TranscriptFile::open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "a");
    if (!file_) error = "cannot open " + path + ": " + std::strerror(errno);
    return file_ != nullptr;
}

void TranscriptFile::append(const std::string& line) {
    if (!file_) return;
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}
