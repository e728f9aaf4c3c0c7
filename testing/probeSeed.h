#ifndef PROBESEED_H
#define PROBESEED_H

/* The seed from which the extended checks draw their random operations: the runner's --seed,
 * or one the runner picks at start. The same seed gives the same operations, so a failure can be
 * replayed exactly. Defined by the runner. */
extern unsigned long long probeSeed;

#endif
