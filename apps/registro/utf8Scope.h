#ifndef REGISTRO_UTF8SCOPE_H
#define REGISTRO_UTF8SCOPE_H

#include <locale.h>

// Classifies and converts characters under C.UTF-8 for as long as it lives, whatever the
// program's locale, and puts the thread's locale back after. Without C.UTF-8 on the system, only
// ASCII reads as text.
class Utf8Scope {
  public:
    Utf8Scope() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        if (utf8 != locale_t{}) {
            previous_ = uselocale(utf8);
        }
    }
    ~Utf8Scope() {
        if (previous_ != locale_t{}) {
            uselocale(previous_);
        }
    }
    Utf8Scope(const Utf8Scope&) = delete;
    Utf8Scope& operator=(const Utf8Scope&) = delete;

  private:
    locale_t previous_{};
};

#endif
