#ifndef LIST_CALLS_H
#define LIST_CALLS_H

// The wrappers around the list's functions (listFunctions.h) record each call into the case
// monitor: the last one names where a crash or a hang happened.

// Starts recording this process's list calls. isolated: the case has a process of its own, which
// a call to a function the list lacks ends at once, leaving the function's name in the monitor;
// otherwise that call aborts the runner with a message.
void startListCalls(bool isolated);

// Stops recording; processes forked while recording never record.
void stopListCalls();

#endif
