#include "testkit/SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

// Natively the radio is a child of the test: its ready line comes through a
// pipe on its standard output, and its exit status through waitpid.

extern char** environ;

namespace {

double Seconds() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Reads from `fd` until a whole line has arrived or `limit` seconds have passed.
std::string ReadLine(int fd, double limit) {
    std::string got;
    const double end = Seconds() + limit;
    while (got.find('\n') == std::string::npos) {
        const int wait = static_cast<int>((end - Seconds()) * 1000);
        if (wait <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, wait) <= 0) break;
        char buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

}  // namespace

std::string SimProcess::ReadFile(const std::string& unixPath) { return ReadWindowsFile(unixPath); }

std::string SimProcess::ReadWindowsFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool SimProcess::WriteFile(const std::string& unixPath, const std::string& content) {
    return WriteWindowsFile(unixPath, content);
}

bool SimProcess::WriteWindowsFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out.flush());
}

bool SimProcess::Start(const std::vector<std::string>& options) {
    const char* radio = std::getenv("VELMORA_RADIOSIM");
    if (radio == nullptr || *radio == '\0' || pid_ > 0) return false;
    link_ = OptionValue(options, "--link");
    stopFile_ = OptionValue(options, "--stop-file");
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<std::string> all = {radio};
    all.insert(all.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, radio, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    output_ = pipeFds[0];
    if (rc != 0) return false;
    pid_ = pid;
    const std::string out = ReadLine(output_, 10);
    if (out.empty() || out.back() != '\n') return false;
    ready_ = out.substr(0, out.size() - 1);
    started_ = true;
    return true;
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
}

int SimProcess::Stop(double seconds) {
    if (stopFile_.empty()) return -1;
    std::ofstream(stopFile_).put('x');
    started_ = false;
    return WaitExit(seconds);
}

int SimProcess::WaitExit(double seconds) {
    const double end = Seconds() + seconds;
    while (pid_ > 0) {
        int status = 0;
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = 0;
            started_ = false;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (Seconds() > end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}
