#ifndef UTEST_H
#define UTEST_H

/* Assertions for the list conformance cases. A case is a function with no parameters and no
 * result; its first failed assertion appends a report to utest_printErrorBuffer, records where it
 * failed in the three utest_*TestError globals and returns from the case.
 *
 * The assertions are textual: on failure every argument is evaluated a second time for the report,
 * so a call passed as an argument is made again and the report shows the second result.
 *
 * Only declarations here: the runner (or a test) defines the globals, the report zero-filled. */

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

/*-------------------------------------------------------------------------------------------
 * Report globals
 *-------------------------------------------------------------------------------------------*/

extern char utest_printBuffer[256];
extern char utest_printErrorBuffer[409600];
extern int utest_flagTestError;
extern int utest_lineTestError;
extern char* utest_fileTestError;
extern int utest_totalTestsCounter;
extern int utest_okTestsCounter;
extern int utest_varAux;

/*-------------------------------------------------------------------------------------------
 * Checked values
 *-------------------------------------------------------------------------------------------*/

/* Every assertion notes the value it checked, in order, as a count and a running FNV-1a hash:
 * the grader compares them with a run of the same cases on a list it trusts, outside the list's
 * process, so that a case passes only where the list gave the values a correct list gives.
 * Pointers are noted as null or not, since correct lists place their blocks differently. */
extern unsigned long long utest_checkCount;
extern unsigned long long utest_checkDigest;

static inline void utest_note(int line, long long value) {
    unsigned char bytes[sizeof line + sizeof value];
    memcpy(bytes, &line, sizeof line);
    memcpy(bytes + sizeof line, &value, sizeof value);
    for (size_t i = 0; i < sizeof bytes; i++) {
        utest_checkDigest = (utest_checkDigest ^ bytes[i]) * 0x100000001b3ULL;
    }
    utest_checkCount++;
}

static inline void utest_noteDouble(int line, double value) {
    long long bits;
    memcpy(&bits, &value, sizeof bits);
    utest_note(line, bits);
}

/* Starts a case's notes afresh. */
static inline void utest_startNotes(void) {
    utest_checkCount = 0;
    utest_checkDigest = 0xcbf29ce484222325ULL;
}

/* Each argument of an assertion is evaluated once on the way to its note and its test, keeping
 * its own type, so that the comparison is the one the assertion always made. */
#ifdef __cplusplus
#define utest_value(NAME, X) const auto NAME = (X)
#else
#define utest_value(NAME, X) const __auto_type NAME = (X)
#endif

/*-------------------------------------------------------------------------------------------
 * Names for the runner's notes (defined by the runner, which records the list calls)
 *-------------------------------------------------------------------------------------------*/

#ifdef __cplusplus
extern "C" {
#endif

/* Names a list or an element as the case knows it ("middle", "employee 3"): the calls and the
 * notes under a failure show the name instead of an address. Names never enter the notes the
 * grader compares. */
void utest_name(const void* object, const char* name);

/* How many list calls the case has made so far. */
unsigned utest_listCallsMade(void);

/* Tells the runner that the value a check found wrong came from the call made when
 * utest_listCallsMade() gave callsMade, which the notes then name. */
void utest_blameCall(unsigned callsMade);

#ifdef __cplusplus
}
#endif

/*-------------------------------------------------------------------------------------------
 * Source file names
 *-------------------------------------------------------------------------------------------*/

/* The part of path after its last '/', else after its last '\', else the whole path. */
static inline const char* utest_baseName(const char* path) {
    const char* slash = strrchr(path, '/');
    if (slash == NULL) {
        slash = strrchr(path, '\\');
    }
    return slash != NULL ? slash + 1 : path;
}

/* The current source file's name after its last '/', else after its last '\', else whole. The
 * cases' reports fix this name, reserved identifier or not. */
/* NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp) */
#define __FILENAME__ utest_baseName(__FILE__)

/*-------------------------------------------------------------------------------------------
 * Printing
 *-------------------------------------------------------------------------------------------*/

/* Formats one line into utest_printBuffer, cut to its 255 characters, and appends it to
 * utest_printErrorBuffer, cut where the report is full. */
static inline void utest_printLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
/* A C variadic function, not a parameter pack, so that the compiler checks every format against
 * its values. */
/* NOLINTNEXTLINE(cert-dcl50-cpp) */
static inline void utest_printLine(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(utest_printBuffer, sizeof(utest_printBuffer), format, arguments);
    va_end(arguments);
    size_t used = strlen(utest_printErrorBuffer);
    strncat(utest_printErrorBuffer + used, utest_printBuffer,
            sizeof(utest_printErrorBuffer) - 1 - used);
}

/* Print macros: MSG is the format, followed by none to four values. */
#define utest_print(MSG) utest_printLine(MSG)
#define utest_print1(MSG, VAR1) utest_printLine(MSG, VAR1)
#define utest_print2(MSG, VAR1, VAR2) utest_printLine(MSG, VAR1, VAR2)
#define utest_print3(MSG, VAR1, VAR2, VAR3) utest_printLine(MSG, VAR1, VAR2, VAR3)
#define utest_print4(MSG, VAR1, VAR2, VAR3, VAR4) utest_printLine(MSG, VAR1, VAR2, VAR3, VAR4)

/*-------------------------------------------------------------------------------------------
 * Checking, for the assertions below
 *-------------------------------------------------------------------------------------------*/

/* The low 32 bits of a pointer, for the '0x%x' report lines. */
#define utest_low32(P) ((unsigned int)(uintptr_t)(P))

/* Records the failing line and file, then leaves the case. For use inside the assertions only:
 * each assertion wraps its body in do { } while (0), so that it is one statement, also as the
 * unbraced branch of an if ... else, and the return leaves the case itself. */
#define utest_failAndReturn()                                                                      \
    utest_flagTestError = 1;                                                                       \
    utest_lineTestError = __LINE__;                                                                \
    utest_fileTestError = (char*)__FILENAME__;                                                     \
    return

/* Fails when TEST holds, with a report line of two values. */
#define utest_check2(TEST, FORMAT, V1, V2)                                                         \
    do {                                                                                           \
        if (TEST) {                                                                                \
            utest_print2(FORMAT, V1, V2);                                                          \
            utest_failAndReturn();                                                                 \
        }                                                                                          \
    } while (0)

/* Fails when TEST holds, with a report line of two values and the message line MSG. */
#define utest_check2Msg(TEST, FORMAT, V1, V2, MSG)                                                 \
    do {                                                                                           \
        if (TEST) {                                                                                \
            utest_print2(FORMAT, V1, V2);                                                          \
            utest_print1("%s\r\n", MSG);                                                           \
            utest_failAndReturn();                                                                 \
        }                                                                                          \
    } while (0)

/* Fails when TEST holds, with a report line of one value. */
#define utest_check1(TEST, FORMAT, V1)                                                             \
    do {                                                                                           \
        if (TEST) {                                                                                \
            utest_print1(FORMAT, V1);                                                              \
            utest_failAndReturn();                                                                 \
        }                                                                                          \
    } while (0)

/* Fails when TEST holds, with a report line of one value and the message line MSG. */
#define utest_check1Msg(TEST, FORMAT, V1, MSG)                                                     \
    do {                                                                                           \
        if (TEST) {                                                                                \
            utest_print1(FORMAT, V1);                                                              \
            utest_print1("%s\r\n", MSG);                                                           \
            utest_failAndReturn();                                                                 \
        }                                                                                          \
    } while (0)

/*-------------------------------------------------------------------------------------------
 * Assertions
 *-------------------------------------------------------------------------------------------*/

/* Equal numbers note the value; a pointer, whether it is null; a test that two values differ,
 * that it held. */
#define utest_assertEqualsInt(A, B)                                                                \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_note(__LINE__, (long long)utest_a);                                                  \
        utest_check2(utest_a != utest_b, "assert equals failed '%d' != '%d'\r\n", A, B);           \
    } while (0)
#define utest_assertEqualsFloat(A, B)                                                              \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_noteDouble(__LINE__, (double)utest_a);                                               \
        utest_check2(utest_a != utest_b, "assert equals failed '%f' != '%f'\r\n", (double)(A),     \
                     (double)(B));                                                                 \
    } while (0)
#define utest_assertEqualsPointer(A, B)                                                            \
    do {                                                                                           \
        const void* utest_a = (A);                                                                 \
        const void* utest_b = (B);                                                                 \
        utest_note(__LINE__, utest_a != NULL);                                                     \
        utest_check2(utest_a != utest_b, "assert equals failed '0x%x' != '0x%x'\r\n",              \
                     utest_low32(A), utest_low32(B));                                              \
    } while (0)
#define utest_assertNotEqualsInt(A, B)                                                             \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_note(__LINE__, utest_a != utest_b);                                                  \
        utest_check2(utest_a == utest_b, "assert not equals failed '%d' != '%d'\r\n", A, B);       \
    } while (0)
#define utest_assertNotEqualsFloat(A, B)                                                           \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_note(__LINE__, utest_a != utest_b);                                                  \
        utest_check2(utest_a == utest_b, "assert not equals failed '%f' != '%f'\r\n", (double)(A), \
                     (double)(B));                                                                 \
    } while (0)
#define utest_assertNotEqualsPointer(A, B)                                                         \
    do {                                                                                           \
        const void* utest_a = (A);                                                                 \
        const void* utest_b = (B);                                                                 \
        utest_note(__LINE__, utest_a != utest_b);                                                  \
        utest_check2(utest_a == utest_b, "assert not equals failed '0x%x' != '0x%x'\r\n",          \
                     utest_low32(A), utest_low32(B));                                              \
    } while (0)
#define utest_assertNull(A)                                                                        \
    do {                                                                                           \
        const void* utest_a = (const void*)(A);                                                    \
        utest_note(__LINE__, utest_a != NULL);                                                     \
        utest_check1(utest_a != NULL, "assert null failed. Value: '%p' \r\n", (const void*)(A));   \
    } while (0)
#define utest_assertNotNull(A)                                                                     \
    do {                                                                                           \
        const void* utest_a = (const void*)(A);                                                    \
        utest_note(__LINE__, utest_a != NULL);                                                     \
        utest_check1(utest_a == NULL, "assert not null failed. Value: '%p' \r\n",                  \
                     (const void*)(A));                                                            \
    } while (0)

/* Compares exactly S characters of A and B, NUL characters included. */
#define utest_assertEqualsString(A, B, S)                                                          \
    do {                                                                                           \
        for (utest_varAux = 0; utest_varAux < (S); utest_varAux++) {                               \
            utest_check2((A)[utest_varAux] != (B)[utest_varAux],                                   \
                         "assert equals string. Value: '%s' != '%s' \r\n", A, B);                  \
        }                                                                                          \
    } while (0)

/*-------------------------------------------------------------------------------------------
 * Assertions with a message line
 *-------------------------------------------------------------------------------------------*/

#define utest_assertEqualsIntMsg(A, B, C)                                                          \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_note(__LINE__, (long long)utest_a);                                                  \
        utest_check2Msg(utest_a != utest_b, "assert equals failed '%d' != '%d'\r\n", A, B, C);     \
    } while (0)
#define utest_assertEqualsFloatMsg(A, B, C)                                                        \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_noteDouble(__LINE__, (double)utest_a);                                               \
        utest_check2Msg(utest_a != utest_b, "assert equals failed '%f' != '%f'\r\n", (double)(A),  \
                        (double)(B), C);                                                           \
    } while (0)
#define utest_assertEqualsPointerMsg(A, B, C)                                                      \
    do {                                                                                           \
        const void* utest_a = (A);                                                                 \
        const void* utest_b = (B);                                                                 \
        utest_note(__LINE__, utest_a != NULL);                                                     \
        utest_check2Msg(utest_a != utest_b, "assert equals failed '%p' != '%p'\r\n",               \
                        (const void*)(A), (const void*)(B), C);                                    \
    } while (0)
#define utest_assertNotEqualsIntMsg(A, B, C)                                                       \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_note(__LINE__, utest_a != utest_b);                                                  \
        utest_check2Msg(utest_a == utest_b, "assert not equals failed '%d' != '%d'\r\n", A, B, C); \
    } while (0)
#define utest_assertNotEqualsFloatMsg(A, B, C)                                                     \
    do {                                                                                           \
        utest_value(utest_a, A);                                                                   \
        utest_value(utest_b, B);                                                                   \
        utest_note(__LINE__, utest_a != utest_b);                                                  \
        utest_check2Msg(utest_a == utest_b, "assert not equals failed '%f' != '%f'\r\n",           \
                        (double)(A), (double)(B), C);                                              \
    } while (0)
#define utest_assertNotEqualsPointerMsg(A, B, C)                                                   \
    do {                                                                                           \
        const void* utest_a = (A);                                                                 \
        const void* utest_b = (B);                                                                 \
        utest_note(__LINE__, utest_a != utest_b);                                                  \
        utest_check2Msg(utest_a == utest_b, "assert not equals failed '0x%x' != '0x%x'\r\n",       \
                        utest_low32(A), utest_low32(B), C);                                        \
    } while (0)
#define utest_assertNullMsg(A, B)                                                                  \
    do {                                                                                           \
        const void* utest_a = (const void*)(A);                                                    \
        utest_note(__LINE__, utest_a != NULL);                                                     \
        utest_check1Msg(utest_a != NULL, "assert null failed. Value: '%p' \r\n", (const void*)(A), \
                        B);                                                                        \
    } while (0)
#define utest_assertNotNullMsg(A, B)                                                               \
    do {                                                                                           \
        const void* utest_a = (const void*)(A);                                                    \
        utest_note(__LINE__, utest_a != NULL);                                                     \
        utest_check1Msg(utest_a == NULL, "assert not null failed. Value: '%p' \r\n",               \
                        (const void*)(A), B);                                                      \
    } while (0)

/* Compares exactly S characters of A and B, NUL characters included. */
#define utest_assertEqualsStringMsg(A, B, S, C)                                                    \
    do {                                                                                           \
        for (utest_varAux = 0; utest_varAux < (S); utest_varAux++) {                               \
            utest_check2Msg((A)[utest_varAux] != (B)[utest_varAux],                                \
                            "assert equals string. Value: '%s' != '%s' \r\n", A, B, C);            \
        }                                                                                          \
    } while (0)

#endif
