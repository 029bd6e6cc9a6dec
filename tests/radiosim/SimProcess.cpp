#include "SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

double seconds() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

}  // namespace

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) ::close(stdout_);
}

bool SimProcess::start(const std::vector<std::string>& args) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<std::string> all = {RADIOSIM_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    int rc = ::posix_spawn(&pid_, RADIOSIM_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    stdout_ = pipeFds[0];
    if (rc != 0) {
        pid_ = -1;
        return false;
    }
    std::string out = readUntil(stdout_, "\n", 10);
    if (out.empty() || out.back() != '\n') return false;
    ready_ = out.substr(0, out.size() - 1);
    return true;
}

int SimProcess::stopWithFile(const std::string& stopFile, double limit) {
    std::ofstream(stopFile).put('x');
    return waitExit(limit);
}

int SimProcess::waitExit(double limit) {
    double end = seconds() + limit;
    while (pid_ > 0) {
        int status = 0;
        pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (seconds() > end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

int SimProcess::openTerminal(const std::string& link) {
    int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

std::string SimProcess::readUntil(int fd, const std::string& expected, double limit) {
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

std::string SimProcess::readFor(int fd, double limit) {
    return readUntil(fd, std::string(1, '\0') + "\x01never", limit);
}

std::string SimProcess::makeFolder() {
    char name[] = "/tmp/radiosim-test-XXXXXX";
    const char* made = ::mkdtemp(name);
    return made ? made : "";
}

void SimProcess::removeFolder(const std::string& folder) {
    if (folder.compare(0, 19, "/tmp/radiosim-test-") != 0) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string SimProcess::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
