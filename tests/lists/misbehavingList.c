/* A sound singly linked list in C that misbehaves in one way switched on at compile time, the
 * way a list under test can take a runner down rather than fail a check: define one
 * MISBEHAVE_<name> macro. Where it leaves processes behind, each writes its pid (as the system
 * numbers it) to the file named by PROBE_TEST_PIDS; where it hangs, it first creates the file
 * named by PROBE_TEST_HANGING, so that a test knows the case is under way. */
#define _GNU_SOURCE
#include "LinkedList.h"

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#if defined(MISBEHAVE_forksHolder) || defined(MISBEHAVE_forksDetached) || defined(MISBEHAVE_hangs)
/* Appends this process's pid, as /proc shows it (outside any PID namespace), to PROBE_TEST_PIDS. */
static void notePid(void) {
    const char* path = getenv("PROBE_TEST_PIDS");
    char self[32] = {0};
    if (path == NULL || readlink("/proc/self", self, sizeof self - 1) <= 0) {
        return;
    }
    FILE* file = fopen(path, "a");
    if (file != NULL) {
        fprintf(file, "%s\n", self);
        fclose(file);
    }
}

/* Leaves a process behind that holds the case's standard output and error and ignores SIGTERM;
 * detached, it first leaves the session and the process group, and its parent exits. Returns
 * once that process has noted its pid. */
static void leaveProcessBehind(int detached) {
    int ready[2];
    if (pipe(ready) != 0) {
        return;
    }
    if (fork() != 0) {
        char byte;
        close(ready[1]);
        while (read(ready[0], &byte, 1) < 0) {
        }
        close(ready[0]);
        return;
    }
    close(ready[0]);
    if (detached) {
        setsid();
        if (fork() != 0) {
            _exit(0);
        }
    }
    signal(SIGTERM, SIG_IGN);
    notePid();
    close(ready[1]);
    sleep(60);
    _exit(0);
}
#endif

#ifdef MISBEHAVE_carvesNodes
/* Nodes carved from one block, never freed one by one: a caller that frees a node it cut off
 * hands free() an address inside that block. The first slot is never handed out, so that no
 * node is the block itself. */
static Node* newNode(void) {
    static Node* pool = NULL;
    static int used = 1;
    if (pool == NULL) {
        pool = malloc(4096 * sizeof(Node));
    }
    return pool != NULL && used < 4096 ? &pool[used++] : NULL;
}
#define releaseNode(node) ((void)(node))
#else
#define newNode() malloc(sizeof(Node))
#define releaseNode(node) free(node)
#endif

#ifdef MISBEHAVE_killsParent
/* Kills its parent, then sends SIGTERM to whichever process inherits it, for a second, as a list
 * that means harm. */
static void killParents(void) {
    kill(getppid(), SIGKILL);
    for (int i = 0; i < 100; i++) {
        kill(getppid(), SIGTERM);
        usleep(10000);
    }
}
#endif

#ifdef MISBEHAVE_writesAround
/* The parent of a process as /proc numbers them (outside any PID namespace), or 0. */
static pid_t parentOf(const char* process) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%s/stat", process);
    FILE* stat = fopen(path, "r");
    char line[512] = {0};
    const int read = stat != NULL && fgets(line, sizeof line, stat) != NULL;
    if (stat != NULL) {
        fclose(stat);
    }
    const char* close = strrchr(line, ')');
    return read && close != NULL ? (pid_t)atoi(close + 4) : 0;
}

/* Writes a line to the controlling terminal and, through /proc, to the standard output of the
 * three processes above it: as far up as the runner. */
static void writeAround(void) {
    FILE* tty = fopen("/dev/tty", "w");
    if (tty != NULL) {
        fputs("WRITTEN AROUND THE RUNNER\n", tty);
        fclose(tty);
    }
    pid_t pid = parentOf("self");
    for (int up = 0; up < 3 && pid > 1; up++) {
        char path[64];
        snprintf(path, sizeof path, "/proc/%d/fd/1", (int)pid);
        FILE* out = fopen(path, "w");
        if (out != NULL) {
            fputs("WRITTEN AROUND THE RUNNER\n", out);
            fclose(out);
        }
        snprintf(path, sizeof path, "%d", (int)pid);
        pid = parentOf(path);
    }
}
#endif

#ifdef MISBEHAVE_crashesInPop
/* An address nothing is at, which the compiler cannot see is constant. */
static Node* nowhere(void) {
    Node* volatile address = (Node*)16;
    return address;
}
#endif

LinkedList* ll_newLinkedList(void) {
#if defined(MISBEHAVE_forksHolder) || defined(MISBEHAVE_forksDetached)
    leaveProcessBehind(
#ifdef MISBEHAVE_forksDetached
        1
#else
        0
#endif
    );
#endif
    return calloc(1, sizeof(LinkedList));
}

int ll_len(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
#ifdef MISBEHAVE_killsParent
    killParents();
#endif
#ifdef MISBEHAVE_writesAround
    writeAround();
#endif
#ifdef MISBEHAVE_prints
    /* Debugging output on both streams, some of it shaped like the runner's own results, and
     * more than a report keeps; the length it answers is one too many. */
    static int calls = 0;
    printf("ll_len: size %d\n", this_->size);
    fprintf(stderr, "FAIL fake line\nnot ok 99 - fake\n</system-err>&\x01\xff\n");
    if (calls++ == 0) {
        for (int i = 0; i < 100; i++) {
            printf("%080d\n", i);
        }
    }
    return this_->size + 1;
#else
    return this_->size;
#endif
}

Node* test_getNode(LinkedList* this_, int nodeIndex) {
    if (this_ == NULL || nodeIndex < 0 || nodeIndex >= this_->size) {
        return NULL;
    }
#ifdef MISBEHAVE_crashesInPop
    /* And the last node comes back as an address nothing is at. */
    if (nodeIndex == this_->size - 1 && nodeIndex > 0) {
        return nowhere();
    }
#endif
    Node* node = this_->pFirstNode;
    for (int i = 0; i < nodeIndex; i++) {
        node = node->pNextNode;
    }
    return node;
}

int test_addNode(LinkedList* this_, int nodeIndex, void* pElement) {
    if (this_ == NULL || nodeIndex < 0 || nodeIndex > this_->size) {
        return -1;
    }
    Node* node = newNode();
    if (node == NULL) {
        return -1;
    }
    node->pElement = pElement;
    Node** link = &this_->pFirstNode;
    for (int i = 0; i < nodeIndex; i++) {
        link = &(*link)->pNextNode;
    }
    node->pNextNode = *link;
    *link = node;
    this_->size++;
    return 0;
}

int ll_add(LinkedList* this_, void* pElement) {
    return this_ == NULL ? -1 : test_addNode(this_, this_->size, pElement);
}

void* ll_get(LinkedList* this_, int index) {
    Node* node = test_getNode(this_, index);
    return node != NULL ? node->pElement : NULL;
}

void* ll_pop(LinkedList* this_, int index) {
#ifdef MISBEHAVE_exits
    exit(3);
#endif
#ifdef MISBEHAVE_crashesInPop
    /* No bounds check: an index outside the list walks off its end. */
    if (index < 0) {
        return nowhere()->pElement;
    }
#endif
    if (this_ == NULL || index < 0 || index >= this_->size) {
        return NULL;
    }
    Node** link = &this_->pFirstNode;
    for (int i = 0; i < index; i++) {
        link = &(*link)->pNextNode;
    }
    Node* node = *link;
    *link = node->pNextNode;
    this_->size--;
#ifdef MISBEHAVE_useAfterFree
    /* Frees the node before it reads the element out of it (through a pointer the compiler
     * cannot see through, or it would refuse the build). */
    void (*volatile release)(void*) = free;
    release(node);
    return node->pElement;
#else
    void* pElement = node->pElement;
    releaseNode(node);
    return pElement;
#endif
}

int ll_remove(LinkedList* this_, int index) {
    if (this_ == NULL || index < 0 || index >= this_->size) {
        return -1;
    }
#ifdef MISBEHAVE_removeLeaks
    /* Unlinks the node and forgets it: only a count of the heap's blocks sees the difference. */
    Node** link = &this_->pFirstNode;
    for (int i = 0; i < index; i++) {
        link = &(*link)->pNextNode;
    }
    *link = (*link)->pNextNode;
    this_->size--;
#else
    ll_pop(this_, index);
#endif
    return 0;
}

LinkedList* ll_subList(LinkedList* this_, int from, int to) {
    if (this_ == NULL || from < 0 || to > this_->size || from > to) {
        return NULL;
    }
    LinkedList* sub = ll_newLinkedList();
    for (int i = from; sub != NULL && i < to; i++) {
        ll_add(sub, ll_get(this_, i));
    }
    return sub;
}

int ll_indexOf(LinkedList* this_, void* pElement) {
    if (this_ == NULL) {
        return -1;
    }
#ifdef MISBEHAVE_readsPastArray
    /* Searches an array of the elements one place past its end. */
    void** elements = malloc(sizeof(void*) * (size_t)this_->size + 1);
    Node* from = this_->pFirstNode;
    int found = -1;
    for (int i = 0; i < this_->size; i++, from = from->pNextNode) {
        elements[i] = from->pElement;
    }
    for (int i = 0; i <= this_->size && found < 0; i++) {
        found = elements[i] == pElement && i < this_->size ? i : -1;
    }
    free(elements);
    return found;
#endif
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size; i++) {
        if (node->pElement == pElement) {
            return i;
        }
#ifdef MISBEHAVE_hangs
        /* Never steps on: an element that is not first is looked for for ever, with a helper
         * process left running to make it worse. */
        leaveProcessBehind(1);
        const char* hanging = getenv("PROBE_TEST_HANGING");
        if (hanging != NULL) {
            fclose(fopen(hanging, "w"));
        }
        for (;;) {
            pause();
        }
#endif
        node = node->pNextNode;
    }
    return -1;
}

int ll_contains(LinkedList* this_, void* pElement) {
    return this_ == NULL ? -1 : ll_indexOf(this_, pElement) >= 0;
}

#ifndef MISBEHAVE_lacksContainsAll
int ll_containsAll(LinkedList* this_, LinkedList* list2) {
    if (this_ == NULL || list2 == NULL) {
        return -1;
    }
    for (int i = 0; i < list2->size; i++) {
        if (!ll_contains(this_, ll_get(list2, i))) {
            return 0;
        }
    }
    return 1;
}
#endif

int ll_deleteLinkedList(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
#ifndef MISBEHAVE_leaks
    /* The leaking list frees the list and forgets its nodes. */
    while (this_->size > 0) {
        ll_pop(this_, 0);
    }
#endif
    free(this_);
    return 0;
}

int ll_map(LinkedList* this_, void (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    for (int i = 0; i < this_->size; i++) {
        pFunc(ll_get(this_, i));
    }
    return 0;
}

int ll_count(LinkedList* this_, int (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    int total = 0;
    for (int i = 0; i < this_->size; i++) {
        const int counted = pFunc(ll_get(this_, i));
        if (counted > 0) {
            total = counted > __INT_MAX__ - total ? __INT_MAX__ : total + counted;
        }
    }
    return total;
}
