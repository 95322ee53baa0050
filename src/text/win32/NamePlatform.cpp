// Windows body of the character classification of name validation (the
// number service is with the number conversions, NumberConversion.cpp).
#include "text/NamePlatform.h"

namespace qn::text {

bool ClassifyCharacters(LPCWSTR text, int count, WORD* types)
{
    return ::GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, text, count, types) != FALSE;
}

} // namespace qn::text
