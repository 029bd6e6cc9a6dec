#pragma once

// Makes this process the leader of a session of its own, so that the radio's
// pseudo-terminal can become its controlling terminal. Otherwise the first
// session leader without one that opens the terminal takes it (under Wine
// that is wineserver), and is sent SIGHUP when the radio closes its end.
//
// When this process already leads a process group (started from a shell), a
// child takes over the work: the function returns in the child, while the
// parent only waits for it, passes SIGINT and SIGTERM on, and exits with the
// child's status. Returns false if no session could be made.
bool BecomeSessionLeader();

// Makes the terminal open at `fd` this session's controlling terminal.
void TakeControllingTerminal(int fd);
