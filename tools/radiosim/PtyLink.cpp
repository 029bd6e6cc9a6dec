#include "PtyLink.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool readLink(const std::string& path, std::string& target) {
    char buffer[4096];
    ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n < 0) return false;
    target.assign(buffer, size_t(n));
    return true;
}

}  // namespace

PtyLink::~PtyLink() { unlink(); }

bool PtyLink::open(const std::string& link, std::string& error) {
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        error = failure("openpty");
        return false;
    }
    master_.reset(master);
    slave_.reset(slave);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    termios raw{};
    if (::tcgetattr(slave, &raw) != 0) {
        error = failure("tcgetattr");
        return false;
    }
    ::cfmakeraw(&raw);
    if (::tcsetattr(slave, TCSANOW, &raw) != 0) {
        error = failure("tcsetattr");
        return false;
    }
    const char* name = ::ttyname(slave);
    if (!name) {
        error = failure("ttyname");
        return false;
    }
    slavePath_ = name;

    struct stat existing {};
    if (::lstat(link.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = link + " exists and is not a symlink; not replacing it";
        return false;
    }
    std::string temporary = link + ".tmp" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0) {
        error = failure(("symlink " + temporary).c_str());
        return false;
    }
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        error = failure(("rename to " + link).c_str());
        ::unlink(temporary.c_str());
        return false;
    }
    link_ = link;
    return true;
}

void PtyLink::unlink() {
    if (link_.empty()) return;
    std::string target;
    // Another radio may have taken the path over since; leave its link alone.
    if (readLink(link_, target) && target == slavePath_) ::unlink(link_.c_str());
    link_.clear();
}
