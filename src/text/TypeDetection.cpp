// Data type detection of user-typed constants, and the checks of object names
// and file names.
#include <QNNumeral.h>
#include <QNResult.h>
#include <QNUtilityClass.h>

#include "common/AsciiText.h"
#include "text/NamePlatform.h"
#include "text/NumeralFastPath.h"

#include <vector>

namespace {

constexpr int kMaxNameLength = 32; // fixed; the sequence-name limit plays no part

} // namespace

QNDataType CQNUtility::ParserAndGetDataType(CString strText, LONG* plValue)
{
    // A text that is no number in the user's locale ("0x1F", "true", "'a'")
    // is parsed as it stands; so is every text where the user's form is the
    // internal form.
    CString converted;
    LPCWSTR internal = strText;
    if (!qn::text::kNumberTextIsInternal && qn::text::NumberTextToInternal(strText, converted))
        internal = converted;

    QNDataType type;
    LONG value;
    if (qn::numeral::DetectCommonLiteral(internal, type, value)) {
        if (plValue)
            *plValue = value;
        return type;
    }

    CNumeralParserHelper helper;
    const int exitCode = ParseNumeral(internal, helper);
    if (plValue)
        *plValue = helper.m_lIntegerValue;
    if (exitCode == QN_NUMERAL_SUCCESS && helper.Error() == 0)
        return helper.GetDataType();
    m_nLastParserError = helper.Error();
    return QNDT_INVALID;
}

bool CQNUtility::IsNumberOnly(CString strText)
{
    switch (ParserAndGetDataType(strText, nullptr)) {
    case QNDT_UNKNOWN:
    case QNDT_BOOL:
    case QNDT_CHAR:
    case QNDT_INVALID:
        return false;
    default:
        return true;
    }
}

int CQNUtility::GetLastParserError() { return m_nLastParserError; }

HRESULT CQNUtility::IsValidName(CString strName)
{
    const int length = strName.GetLength();
    if (length > kMaxNameLength)
        return QN_E_TOOLONG;
    if (length < 1)
        return QN_E_TOOSHORT;

    const bool leadingUnderscore = strName.GetAt(0) == '_';
    if (leadingUnderscore)
        strName = strName.Mid(1);
    // An underscore inside a name is judged like a digit.
    strName.Replace(_T('_'), _T('0'));

    // The original length is classified: after a removed underscore that
    // takes in the terminating NUL, which CString always has.
    std::vector<WORD> types(static_cast<size_t>(length));
    if (!qn::text::ClassifyCharacters(strName, length, types.data()))
        return E_FAIL;
    const int checked = strName.GetLength();
    for (int i = 0; i < checked; ++i) {
        const WORD allowed = i == 0 ? C1_ALPHA : C1_ALPHA | C1_DIGIT;
        if (!(types[static_cast<size_t>(i)] & allowed))
            return QN_E_INVALIDCHAR;
    }
    return leadingUnderscore ? QN_E_LEADINGUNDERSCORE : S_OK;
}

HRESULT CQNUtility::IsValidEnglishFilename(CString& strName)
{
    const int length = strName.GetLength();
    for (int i = 0; i < length; ++i) {
        const WCHAR ch = strName.GetAt(i);
        const bool passes = (i > 0 && qn::ascii::IsDigit(ch)) || qn::ascii::IsLetter(ch) || ch == '-';
        if (!passes)
            return QN_E_INVALIDCHAR;
    }
    return IsValidName(strName);
}

BOOL CQNUtility::IsASCII(const CString& strText)
{
    for (int i = strText.GetLength() - 1; i >= 0; --i) {
        if (strText.GetAt(i) >= 128)
            return FALSE;
    }
    return TRUE;
}
