#ifndef PROCESS_TREE_H
#define PROCESS_TREE_H

// Keeping the processes of a case together, and ending all of them.

#include <sys/types.h>

// Moves the children this process forks from now on into a PID namespace of their own: the
// first becomes its init, and when it ends the kernel kills every process left in it. Tries a
// plain PID namespace, then one inside a new user namespace; false when neither is permitted.
bool enterPidNamespace();

// Makes this process the reaper of its orphaned descendants, so that none escapes it; false
// when the kernel refuses.
bool becomeSubreaper();

// Kills and reaps every child of this process, and the children they leave behind (a subreaper
// inherits them), until it has none. Does nothing where /proc does not show this process by the
// pid it has here, as inside a PID namespace without a /proc of its own.
void killChildren();

// True when /proc shows pid as a descendant of this process, a zombie included. Safe in a signal
// handler: it reads /proc with plain system calls and allocates nothing.
bool isDescendant(pid_t pid);

// Keeps the processes of a case away from the runner's descriptors: makes this process (and so
// what it forks) one whose /proc entries other processes of the user cannot open.
void hideFromOtherProcesses();

// Leaves the case's process without a controlling terminal and, where it runs as root, without
// the capability to open another process's descriptors through /proc, which a root process
// keeps despite hideFromOtherProcesses().
void detachCase();

// Writes out what stdio still holds and, in coverage builds, the coverage counts, which only an
// exit handler writes otherwise: for a process about to end without running them.
void writeOutBeforeEnding();

// Leaves a forked process without running the exit handlers it inherited, after
// writeOutBeforeEnding().
[[noreturn]] void leaveProcess(int status);

// Ends this process as signal would have, after writeOutBeforeEnding(): its default action
// restored and the signal unblocked, so that a waiting parent sees the signal itself. Should it
// not end the process (a signal whose default is to be ignored), exits with 128 + signal, as a
// shell tells a signal's end.
[[noreturn]] void endAsSignal(int signal);

#endif
