#pragma once

#include <cstdio>
#include <string>

// Appends lines to a transcript, each flushed at once so that a test can
// read the file while the radio runs.
class TranscriptFile {
public:
    TranscriptFile() = default;
    ~TranscriptFile();
    TranscriptFile(const TranscriptFile&) = delete;
    TranscriptFile& operator=(const TranscriptFile&) = delete;

    bool open(const std::string& path, std::string& error);
    void append(const std::string& line);

private:
    std::FILE* file_ = nullptr;
};
