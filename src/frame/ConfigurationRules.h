// The platform-neutral rules of the configuration and language functions:
// template lines, the language abbreviation table, the allowable name length,
// the classification of the user's locale and the parts of a path. The
// Windows bodies in win32/ feed them what the registry, the profile file and
// the locale services return.
#pragma once

#include <QNPlatform.h>

#include <cstddef>

namespace qn::frame {

// A run of characters inside a text the caller keeps.
struct TextRange {
    size_t first = 0;
    size_t count = 0;
};

// The three parts of a template line "name;file[;page]". The page range is
// empty and hasPage false when the line has only one semicolon; the page
// then is "NoDocumentation.htm".
struct TemplateLine {
    TextRange name;
    TextRange file;
    TextRange page;
    bool hasPage = false;
};

// Splits the first `length` characters of `text` (no terminator needed).
// False when there is no semicolon or nothing follows the first one.
bool SplitTemplateLine(const WCHAR* text, size_t length, TemplateLine& line);

// The locale identifier of an upper-case language abbreviation (exact
// comparison); 0x0409 for any other text, the empty text included.
ULONG LocaleFromLanguageAbbreviation(const WCHAR* text, size_t length);

// The longest project name that fits "<root>\Local\Quillon\<name>\<name>.SwxCF"
// within 259 characters, for a "RootDir" of `rootLength` characters; 0 when
// nothing fits.
int AllowableNameLength(size_t rootLength);

// The pair GetUserDefaultLocaleAndSystemLanguage gives for a user locale.
void ClassifyUserLocale(ULONG lcid, int& first, int& second);

// Path parts as the platform's path splitting sees them ('\\' and '/' are
// separators, "X:" at the start is a drive).
// The length of drive and directory: the folder of the path, ending with its
// separator ("C:\Out\list.csv" -> 7, "C:list" -> 2, "list" -> 0).
size_t FolderLength(const WCHAR* path, size_t length);
// The extension of the file name, from its last dot on, the dot included;
// empty (count 0) when the file name has no dot.
TextRange ExtensionOf(const WCHAR* path, size_t length);

// The string identifiers of the brand texts, in the order of BrandInfoType.
extern const UINT kBrandStringIds[20];

} // namespace qn::frame
