#ifndef CONTROLBYTES_H_
#define CONTROLBYTES_H_

#include <string_view>

// Whether text holds a control character: a byte below 0x20, or 0x7F. A CR, a tab or a NUL inside
// a name would show as something else, or as nothing, wherever the name is printed. It looks at
// eight bytes at a time: on a million short names a byte at a time would cost a tenth of the
// whole salary export.
bool hasControlCharacter(std::string_view text);

#endif
