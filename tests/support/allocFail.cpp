// The wrappers behind allocFail.h. The linker sends our objects' calls to malloc & co. here and
// makes the real functions reachable as __real_*.
#include "allocFail.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <new>
#include <sys/mman.h>
#include <sys/types.h>

extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __real_realloc(void* pointer, std::size_t size);
void* __real_mmap(void* address, std::size_t length, int protection, int flags, int fd,
                  off_t offset);
int __real_munmap(void* address, std::size_t length);
ssize_t __real_getline(char** line, std::size_t* capacity, std::FILE* stream);
ssize_t __real___getdelim(char** line, std::size_t* capacity, int delimiter, std::FILE* stream);
void* __real__Znwm(std::size_t size);
void* __real__ZnamRKSt9nothrow_t(std::size_t size, const std::nothrow_t& tag);
}

namespace {

bool armed = false;
long counted = 0;
long failAt = 0;
bool hit = false;
long long mapped = 0;

// Counts one allocation; true when it is the one chosen to fail.
bool failNow() {
    if (!armed) {
        return false;
    }
    ++counted;
    if (counted == failAt) {
        hit = true;
        errno = ENOMEM;
        return true;
    }
    return false;
}

} // namespace

namespace allocfail {

Failing::Failing(long n) {
    armed = true;
    counted = 0;
    failAt = n;
    hit = false;
    mapped = 0;
}

Failing::~Failing() {
    armed = false;
}

bool Failing::fired() const {
    return hit;
}

long Failing::count() const {
    return counted;
}

long long Failing::mappedBytes() const {
    return mapped;
}

} // namespace allocfail

extern "C" {

void* __wrap_malloc(std::size_t size) {
    return failNow() ? nullptr : __real_malloc(size);
}

void* __wrap_calloc(std::size_t count, std::size_t size) {
    return failNow() ? nullptr : __real_calloc(count, size);
}

void* __wrap_realloc(void* pointer, std::size_t size) {
    return failNow() ? nullptr : __real_realloc(pointer, size);
}

void* __wrap_mmap(void* address, std::size_t length, int protection, int flags, int fd,
                  off_t offset) {
    if (failNow()) {
        return MAP_FAILED;
    }
    void* mapping = __real_mmap(address, length, protection, flags, fd, offset);
    if (armed && mapping != MAP_FAILED) {
        mapped += static_cast<long long>(length);
    }
    return mapping;
}

int __wrap_munmap(void* address, std::size_t length) {
    const int result = __real_munmap(address, length);
    if (armed && result == 0) {
        mapped -= static_cast<long long>(length);
    }
    return result;
}

// getline grows its buffer inside the C library; a failure there reads as this: -1 and ENOMEM,
// with neither end of file nor the error indicator set.
ssize_t __wrap_getline(char** line, std::size_t* capacity, std::FILE* stream) {
    return failNow() ? -1 : __real_getline(line, capacity, stream);
}

// What an optimised getline call becomes through the C library's inline definition.
ssize_t __wrap___getdelim(char** line, std::size_t* capacity, int delimiter, std::FILE* stream) {
    return failNow() ? -1 : __real___getdelim(line, capacity, delimiter, stream);
}

// operator new(std::size_t).
void* __wrap__Znwm(std::size_t size) {
    if (failNow()) {
        throw std::bad_alloc();
    }
    return __real__Znwm(size);
}

// operator new[](std::size_t, const std::nothrow_t&).
void* __wrap__ZnamRKSt9nothrow_t(std::size_t size, const std::nothrow_t& tag) {
    return failNow() ? nullptr : __real__ZnamRKSt9nothrow_t(size, tag);
}
}
