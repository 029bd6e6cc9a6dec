#pragma once

#include <string>

#include "UniqueFd.h"

// A pseudo-terminal pair in raw mode whose slave is reachable through a
// symlink. The link appears atomically (made under a temporary name and
// renamed over the path), only once the terminal exists, and is removed by
// the destructor if it still points at this terminal. The slave stays open
// here as well, so that the master never sees a hang-up while the tool
// opens and closes its port.
class PtyLink {
public:
    PtyLink() = default;
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // Refuses to replace anything but a symlink at `link`.
    bool open(const std::string& link, std::string& error);
    // Removes the link if it still names this terminal.
    void unlink();

    int master() const { return master_.get(); }
    int slave() const { return slave_.get(); }

private:
    UniqueFd master_;
    UniqueFd slave_;
    std::string slavePath_;
    std::string link_;
};
