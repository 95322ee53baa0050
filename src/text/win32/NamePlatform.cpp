// Windows bodies of the type-detection and name platform services.
#include "text/NamePlatform.h"

#include <QNUtilityClass.h>

namespace qn::text {

bool ClassifyCharacters(LPCWSTR text, int count, WORD* types)
{
    return ::GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, text, count, types) != FALSE;
}

bool NumberTextToInternal(LPCWSTR userText, CString& internal)
{
    return SUCCEEDED(CQNUtility::NumStrUIToStr(userText, internal));
}

} // namespace qn::text
