// Elements whose addresses a list cannot make assumptions about: each in a page of its own,
// mapped low and high in the address space, pairs a multiple of 4 GiB apart (the same low 32 bits),
// one whose low 32 bits are all zero, one whose low 32 bits read as a negative int, and two in the
// same page. A list compares elements by identity, so any list that keeps, compares or orders them
// by part of their value finds the wrong one. Where a hint cannot be mapped (a sanitizer's shadow,
// another mapping) the page goes wherever the kernel puts it: the elements stay distinct, and the
// results the cases expect do not depend on where they are.
#ifndef FARELEMENTS_H
#define FARELEMENTS_H

#include "utest.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace farElements {

// Where the pages are asked for. The 1st and 6th, and the 3rd and 4th, have the same low 32 bits.
constexpr uintptr_t HINTS[] = {
    0x10000,        // the lowest page most kernels map
    0x7fff0000,     // just below 2 GiB
    0x100080000000, // low 32 bits 0x80000000: a negative int
    0x100180000000, // 4 GiB above the previous
    0x100200000000, // low 32 bits all zero
    0x7e0000010000, // 4 GiB multiples above the first
    0x7e8000000000, // high in the user half
};
constexpr int PAGES = sizeof HINTS / sizeof HINTS[0];

// Elements: one at the start of each page, and one more at the end of the first page.
constexpr int COUNT = PAGES + 1;

class Elements {
  public:
    Elements() {
        for (int i = 0; i < PAGES; i++) {
            pages[i] = map(HINTS[i]);
        }
        for (int i = 0; i < COUNT; i++) {
            char text[16];
            name((*this)[i], text, sizeof text);
            utest_name((*this)[i], text);
        }
    }
    ~Elements() {
        for (void* page : pages) {
            munmap(page, PAGE_BYTES);
        }
    }
    Elements(const Elements&) = delete;
    Elements& operator=(const Elements&) = delete;

    // Element i (0..COUNT-1); the last shares the first one's page.
    void* operator[](int i) const {
        return i < PAGES ? pages[i] : static_cast<char*>(pages[0]) + PAGE_BYTES - 8;
    }

    // The element's name in reports: "e3", or "NULL", or "desconocido" for a pointer that is none
    // of them (a node handed back for an element, a copy).
    void name(const void* element, char* text, size_t size) const {
        if (element == nullptr) {
            snprintf(text, size, "NULL");
            return;
        }
        for (int i = 0; i < COUNT; i++) {
            if ((*this)[i] == element) {
                snprintf(text, size, "e%d", i);
                return;
            }
        }
        snprintf(text, size, "desconocido");
    }

  private:
    static constexpr size_t PAGE_BYTES = 4096;

    static void* map(uintptr_t hint) {
        constexpr int kind = MAP_PRIVATE | MAP_ANONYMOUS;
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the address asked for is a number by nature.
        void* page = mmap(reinterpret_cast<void*>(hint), PAGE_BYTES, PROT_READ | PROT_WRITE,
                          kind | MAP_FIXED_NOREPLACE, -1, 0);
        if (page == MAP_FAILED) {
            page = mmap(nullptr, PAGE_BYTES, PROT_READ | PROT_WRITE, kind, -1, 0);
        }
        if (page == MAP_FAILED) {
            abort(); // no case can run without its elements
        }
        return page;
    }

    void* pages[PAGES] = {};
};

} // namespace farElements

#endif
