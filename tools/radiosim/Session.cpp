#include "Session.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

volatile sig_atomic_t g_child = 0;

void ForwardSignal(int signal) {
    if (g_child > 0) ::kill(g_child, signal);
}

[[noreturn]] void WaitForChildAndExit(pid_t child) {
    g_child = child;
    struct sigaction forward {};
    forward.sa_handler = ForwardSignal;
    ::sigaction(SIGINT, &forward, nullptr);
    ::sigaction(SIGTERM, &forward, nullptr);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {}
    if (WIFEXITED(status)) std::_Exit(WEXITSTATUS(status));
    std::_Exit(128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0));
}

}  // namespace

bool BecomeSessionLeader() {
    if (::getsid(0) == ::getpid()) return true;
    if (::setsid() >= 0) return true;
    pid_t child = ::fork();
    if (child < 0) return false;
    if (child > 0) WaitForChildAndExit(child);
    return ::setsid() >= 0;
}

void TakeControllingTerminal(int fd) {
    // Closing our own end at exit hangs the terminal up; that SIGHUP is ours
    // and means nothing.
    ::signal(SIGHUP, SIG_IGN);
    ::ioctl(fd, TIOCSCTTY, 0);
}
