#ifndef COMMON_TRANSLATE_H
#define COMMON_TRANSLATE_H

#include <string>

// The checker's own words in the user's language. They are written in English where they are
// used and looked up in the "registro_personal" message catalog; where the locale asks for a
// language we have no catalog of, the English text stands. The case reports and the texts the
// programs' users were promised are never passed through here: they are the same in every locale.
//
// Calling sequence: startTranslations() once, first thing in main; then tr("English text")
// wherever a message is made. Only the messages' category of the locale is taken from the
// environment, so numbers are written alike everywhere.

// Reads LC_ALL / LC_MESSAGES / LANG / LANGUAGE and opens the catalog: from TEXTDOMAINDIR when it is
// set (the build tree's catalogs, for the tests), else from where the package installs them.
void startTranslations();

// The text in the user's language, always as UTF-8; english itself when there is no translation.
const char* tr(const char* english);

// The same for a text with one "%s" where value goes: the translation may move it.
std::string tr(const char* english, const std::string& value);

// Marks a text of a table for the catalog; tr() translates it where it is shown.
constexpr const char* trLater(const char* english) {
    return english;
}

#endif
