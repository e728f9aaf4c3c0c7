#ifndef INQ_H_
#define INQ_H_

// Console input: validators that test a text against a fixed ASCII character class, and readers
// that take one line (or up to two characters) from standard input, test it and hand it over.
//
// Validators return 1 when every character of the text belongs to the class (and a separator
// count, where there is one, is met) and 0 otherwise. They take any NUL-terminated text on trust.
//
// Readers return 0 when they stored a value and -1 otherwise; a destination changes only on
// success. A line is read up to its line end, at most INQ_LINE_SIZE - 1 characters (a longer line
// is cut and the rest stays pending), and its line end is removed before it is tested. End of input
// or a read error before any character arrives is a failed attempt: nothing is tested or stored.
// Messages are the caller's texts, printed exactly as they are, with no line end added.

// Bytes of a reader's line buffer, and so of a text reader's destination.
constexpr int INQ_LINE_SIZE = 1024;
// Bytes of inq_getChar's destination: two characters and the terminator.
constexpr int INQ_CHAR_SIZE = 3;

// Digits only; the empty text passes.
int inq_isNumber(const char* array);
// Digits and '-', any number of '-' anywhere; the empty text passes.
int inq_isTelephone(const char* array);
// Digits and at most one '.' anywhere ("5.", ".5" and "." pass, "1.2.3" fails); the empty text
// passes.
int inq_isFloatNumber(const char* array);
// Digits and ASCII letters; the empty text passes.
int inq_isAlphanumeric(const char* array);
// ASCII letters and the blank; the empty text passes.
int inq_isLetter(const char* string);
// Digits, ASCII letters, '@', '_', '-' and '.', with exactly one '@' wherever it stands.
int inq_isMail(const char* string);
// Digits and '-', with exactly two '-' wherever they stand.
int inq_isCuil(const char* array);

// Discards pending input, reads a line of digits and stores its decimal value (0 for the empty
// line). -1 for any other line, a value beyond int, or end of input. Prints nothing.
int inq_getInt(int* pResult);

// Discards pending input, reads a line of digits with at most one '.' and stores its value rounded
// to float (0 for the empty line and for "."). -1 for any other line, a value beyond float, or end
// of input. Prints nothing.
int inq_getFloatNumber(float* pResult);

// Up to reintentos attempts: prints pMessage, reads with inq_getInt and stores the value when it
// lies within minimum..maximum (both included); prints pMessageErr after every failed attempt.
// -1 when the attempts are spent; a count of 0 or less reads and prints nothing.
int inq_getNumber(int* pResult, int maximum, int minimum, int reintentos, const char* pMessage,
                  const char* pMessageErr);

// As inq_getNumber for a float read with inq_getFloatNumber, discarding pending input after every
// prompt. A bound that is not a number lets no value pass.
int inq_getFloat(float* pResult, float maximum, float minimum, int retry, const char* pMessage,
                 const char* pMessageErr);

// Prints pMessage and stores in pChar (INQ_CHAR_SIZE bytes) up to two characters as typed, line end
// included, with the terminator; the rest of the line stays pending. Nothing is discarded or
// tested. A null pMessage prints pErrMessage and reads nothing; end of input stores nothing. Both
// give -1.
int inq_getChar(const char* pMessage, const char* pErrMessage, char* pChar);

// The text readers: a null message of either kind gives -1 at once, printing and reading nothing.
// Otherwise each prints pMessage, reads one line and, when it passes its validator, copies it with
// its terminator into pString (INQ_LINE_SIZE bytes); else prints pErrMessage. One attempt, -1 on
// failure or end of input.

// Letters and blanks (inq_isLetter); discards pending input after the prompt.
int inq_getString(const char* pMessage, const char* pErrMessage, char* pString);
// An e-mail address (inq_isMail); takes pending input as its line.
int inq_getMail(const char* pMessage, const char* pErrMessage, char* pString);
// A telephone number (inq_isTelephone); takes pending input as its line.
int inq_getTelephone(const char* pMessage, const char* pErrMessage, char* pString);
// A CUIL number (inq_isCuil); takes pending input as its line.
int inq_getCuil(const char* pMessage, const char* pErrMessage, char* pString);

#endif
