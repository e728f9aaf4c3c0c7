#ifndef TESTS_SUPPORT_CTEXT_H
#define TESTS_SUPPORT_CTEXT_H

// The C functions under test take char* for text they only read: a literal reaches them through
// text(), which says so in one place.
inline char* text(const char* s) {
    return const_cast<char*>(s);
}

#endif
