#ifndef COMMON_FILE_H
#define COMMON_FILE_H

#include <cstdio>
#include <memory>

// A FILE* that closes itself. Use it where the close's result does not matter (a file only
// read); a writer that must know whether its bytes arrived closes the file itself and checks.
struct FileCloser {
    void operator()(std::FILE* file) const {
        std::fclose(file);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

#endif
