#include "SimTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace {

double seconds() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

}  // namespace

namespace SimTerminal {

int openTerminal(const std::string& link) {
    int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

std::string readUntil(int fd, const std::string& expected, double limit) {
    std::string got;
    double end = seconds() + limit;
    while (got.find(expected) == std::string::npos) {
        int wait = int((end - seconds()) * 1000);
        if (wait <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, wait) <= 0) break;
        char buffer[512];
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, size_t(n));
    }
    return got;
}

std::string readFor(int fd, double limit) { return readUntil(fd, std::string(1, '\0') + "\x01never", limit); }

std::string makeFolder() {
    char name[] = "/tmp/radiosim-test-XXXXXX";
    const char* made = ::mkdtemp(name);
    return made ? made : "";
}

void removeFolder(const std::string& folder) {
    if (folder.compare(0, 19, "/tmp/radiosim-test-") != 0) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace SimTerminal
