#include "SimFiles.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string failure(const std::string& what) { return what + ": " + std::strerror(errno); }

// Owns a FILE*; closes it on every path out.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file) std::fclose(file);
    }
};

}  // namespace

bool SimFiles::read(const std::string& path, std::string& data, bool& missing, std::string& error) {
    missing = false;
    FileCloser f{std::fopen(path.c_str(), "rb")};
    if (!f.file) {
        missing = errno == ENOENT;
        error = failure("cannot read " + path);
        return false;
    }
    data.clear();
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f.file)) > 0) data.append(buffer, n);
    if (std::ferror(f.file)) {
        error = failure("cannot read " + path);
        return false;
    }
    return true;
}

bool SimFiles::writeAtomically(const std::string& path, const std::string& data, std::string& error) {
    std::string temporary = path + ".tmp" + std::to_string(::getpid());
    FileCloser f{std::fopen(temporary.c_str(), "wb")};
    if (!f.file) {
        error = failure("cannot write " + temporary);
        return false;
    }
    bool written = std::fwrite(data.data(), 1, data.size(), f.file) == data.size();
    bool closed = std::fclose(f.file) == 0;
    f.file = nullptr;
    if (!written || !closed) {
        error = failure("cannot write " + temporary);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = failure("cannot rename to " + path);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
