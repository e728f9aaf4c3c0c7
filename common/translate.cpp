#include "translate.h"

#include "installPaths.h"

#include <clocale>
#include <cstdlib>
#include <libintl.h>

namespace {
constexpr const char* DOMAIN = "registro_personal";
}

void startTranslations() {
    static_cast<void>(std::setlocale(LC_MESSAGES, ""));
    const char* folder = std::getenv("TEXTDOMAINDIR");
    static_cast<void>(
        bindtextdomain(DOMAIN, folder != nullptr && *folder != '\0' ? folder : REGISTRO_LOCALEDIR));
    // Messages come out as UTF-8 even where the locale's character set is plain ASCII.
    static_cast<void>(bind_textdomain_codeset(DOMAIN, "UTF-8"));
}

const char* tr(const char* english) {
    return dgettext(DOMAIN, english);
}

std::string tr(const char* english, const std::string& value) {
    std::string text = tr(english);
    if (const size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}
