// Numbers to and from text in the user's form (the user's default locale) and
// in the internal form (English neutral, no user overrides), all through the
// platform's automation conversions and locale services.
#include <QNUtilityClass.h>
#include <QNNumeral.h>
#include <afx/atlbase.h>

#include "common/AsciiText.h"
#include "text/NamePlatform.h"

namespace {

// A locale and the conversion flags that go with it.
struct NumberForm {
    LCID lcid;
    ULONG flags;
};

// English with the neutral sublanguage and sort identifier 1: '.' decimal
// separator and ',' grouping, whatever the user changed in the English settings.
constexpr LCID kInternalLocale = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL), 1);
static_assert(kInternalLocale == 0x10009, "internal number locale");

constexpr NumberForm kUserForm{LOCALE_USER_DEFAULT, 0};
constexpr NumberForm kInternalForm{kInternalLocale, LOCALE_NOUSEROVERRIDE};

// Converts into a temporary platform string and copies it to `out` only on
// success; the temporary is freed in every case.
template <class Value, class Convert>
HRESULT ToText(Value value, NumberForm form, CString& out, Convert convert)
{
    CComBSTR text;
    const HRESULT hr = convert(value, form.lcid, form.flags, &text);
    if (SUCCEEDED(hr))
        out = CString(text, static_cast<int>(text.Length()));
    return hr;
}

// Reads into a temporary and stores it only on success. A null text is no
// number (the code the conversions give for one), a null output E_POINTER.
template <class Platform, class Value, class Convert>
HRESULT FromText(LPCWSTR text, NumberForm form, Value* out, Convert convert)
{
    if (!out)
        return E_POINTER;
    if (!text)
        return DISP_E_TYPEMISMATCH;
    Platform value{};
    const HRESULT hr = convert(const_cast<LPOLESTR>(text), form.lcid, form.flags, &value);
    if (SUCCEEDED(hr))
        *out = static_cast<Value>(value);
    return hr;
}

// The user's decimal separator (at most 4 characters and the terminator).
bool ReadUserDecimalSeparator(WCHAR (&separator)[5])
{
    return ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 5) > 0;
}

// LocaleFormat's number format: filled from the user's locale on first use and
// kept for the life of the library (a later change of the user's settings is
// not seen). Not guarded: the first call belongs on one thread.
struct UserIntegerFormat {
    bool ready = false;
    WCHAR decimalSeparator[5] = {};
    WCHAR thousandSeparator[5] = {};
    NUMBERFMTW format = {};
};
UserIntegerFormat g_userIntegerFormat;

DWORD ReadLocaleNumber(LCTYPE type)
{
    DWORD value = 0;
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                     sizeof(value) / sizeof(WCHAR));
    return value;
}

const NUMBERFMTW& UserIntegerNumberFormat()
{
    UserIntegerFormat& f = g_userIntegerFormat;
    if (f.ready)
        return f.format;
    // The grouping text ("3;0", "3;2;0") counts by its leading digits.
    WCHAR grouping[6] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, 6);
    UINT groups = 0;
    for (const WCHAR* p = grouping; qn::ascii::IsDigit(*p); ++p)
        groups = groups * 10 + static_cast<UINT>(*p - L'0');
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, f.decimalSeparator, 5);
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, f.thousandSeparator, 5);
    f.format.NumDigits = 0;
    f.format.LeadingZero = ReadLocaleNumber(LOCALE_ILZERO);
    f.format.Grouping = groups;
    f.format.lpDecimalSep = f.decimalSeparator;
    f.format.lpThousandSep = f.thousandSeparator;
    f.format.NegativeOrder = ReadLocaleNumber(LOCALE_INEGNUMBER);
    f.ready = true;
    return f.format;
}

} // namespace

HRESULT CQNUtility::FloatToStrUI(float fValue, CString& strOut)
{
    return ToText(fValue, kUserForm, strOut, ::VarBstrFromR4);
}

HRESULT CQNUtility::StrToFloatUI(LPCWSTR lpszText, float* pfValue)
{
    return FromText<FLOAT>(lpszText, kUserForm, pfValue, ::VarR4FromStr);
}

HRESULT CQNUtility::FloatToStrInternal(float fValue, CString& strOut)
{
    return ToText(fValue, kInternalForm, strOut, ::VarBstrFromR4);
}

HRESULT CQNUtility::StrInternalToFloat(LPCWSTR lpszText, float* pfValue)
{
    return FromText<FLOAT>(lpszText, kInternalForm, pfValue, ::VarR4FromStr);
}

HRESULT CQNUtility::DoubleToStrUI(double dValue, CString& strOut)
{
    return ToText(dValue, kUserForm, strOut, ::VarBstrFromR8);
}

HRESULT CQNUtility::StrToDoubleUI(LPCWSTR lpszText, double* pdValue)
{
    return FromText<DOUBLE>(lpszText, kUserForm, pdValue, ::VarR8FromStr);
}

HRESULT CQNUtility::DoubleToStrInternal(double dValue, CString& strOut)
{
    return ToText(dValue, kInternalForm, strOut, ::VarBstrFromR8);
}

HRESULT CQNUtility::StrInternalToDouble(LPCWSTR lpszText, double* pdValue)
{
    return FromText<DOUBLE>(lpszText, kInternalForm, pdValue, ::VarR8FromStr);
}

HRESULT CQNUtility::IntToStrUI(int nValue, CString& strOut)
{
    return ToText(static_cast<LONG>(nValue), kUserForm, strOut, ::VarBstrFromI4);
}

HRESULT CQNUtility::StrToIntUI(LPCWSTR lpszText, int* pnValue)
{
    return FromText<LONG>(lpszText, kUserForm, pnValue, ::VarI4FromStr);
}

HRESULT CQNUtility::IntToStrInternal(int nValue, CString& strOut)
{
    return ToText(static_cast<LONG>(nValue), kInternalForm, strOut, ::VarBstrFromI4);
}

HRESULT CQNUtility::StrInternalToInt(LPCWSTR lpszText, int* pnValue)
{
    return FromText<LONG>(lpszText, kInternalForm, pnValue, ::VarI4FromStr);
}

HRESULT CQNUtility::ShortToStrInternal(short nValue, CString& strOut)
{
    return ToText(static_cast<SHORT>(nValue), kInternalForm, strOut, ::VarBstrFromI2);
}

HRESULT CQNUtility::StrInternalToShort(LPCWSTR lpszText, short* pnValue)
{
    return FromText<SHORT>(lpszText, kInternalForm, pnValue, ::VarI2FromStr);
}

HRESULT CQNUtility::StrToShortUI(LPCWSTR lpszText, short* pnValue)
{
    return FromText<SHORT>(lpszText, kUserForm, pnValue, ::VarI2FromStr);
}

HRESULT CQNUtility::StrToDoubleUIExt(LPCWSTR lpszText, double* pdValue)
{
    if (!pdValue)
        return E_POINTER;
    // An integer literal of the numeral grammar (hexadecimal, octal, with a
    // suffix) is read through its saturated 32-bit value in the internal form.
    LONG integerValue = 0;
    const QNDataType type = ParserAndGetDataType(CString(lpszText), &integerValue);
    CString text = lpszText;
    if (type == QNDT_INT8 || type == QNDT_INT16 || type == QNDT_INT32 || type == QNDT_INT64) {
        CString internal;
        if (SUCCEEDED(ToText(integerValue, kInternalForm, internal, ::VarBstrFromI4)))
            text = internal;
    }
    return StrToDoubleUI(lpszText ? static_cast<LPCWSTR>(text) : nullptr, pdValue);
}

HRESULT CQNUtility::StrToNumStrUI(LPCWSTR lpszText, CString& strOut)
{
    WCHAR separator[5] = {};
    if (!ReadUserDecimalSeparator(separator))
        return E_FAIL;
    strOut = lpszText;
    if (strOut.Replace(L".", separator) == 0)
        return S_FALSE;
    double ignored = 0;
    return FAILED(StrToDoubleUI(lpszText, &ignored)) ? E_FAIL : S_OK;
}

namespace {

// The user's decimal separator becomes '.'; E_FAIL, leaving `internal` alone,
// when the text is no number in the user's locale. S_FALSE when the text had no
// separator to replace.
HRESULT UserNumberToInternal(LPCWSTR text, CString& internal)
{
    double ignored = 0;
    if (FAILED(CQNUtility::StrToDoubleUI(text, &ignored)))
        return E_FAIL;
    WCHAR separator[5] = {};
    if (!ReadUserDecimalSeparator(separator))
        return E_FAIL;
    internal = text;
    return internal.Replace(separator, L".") > 0 ? S_OK : S_FALSE;
}

} // namespace

HRESULT CQNUtility::NumStrUIToStr(LPCWSTR lpszText, CString& strOut) { return UserNumberToInternal(lpszText, strOut); }

// The number service of type detection (text/NamePlatform.h).
bool qn::text::NumberTextToInternal(LPCWSTR userText, CString& internal)
{
    return SUCCEEDED(UserNumberToInternal(userText, internal));
}

CString CQNUtility::LocaleFormat(LONG lValue)
{
    const NUMBERFMTW& format = UserIntegerNumberFormat();
    CString digits;
    digits.Format(L"%0ld", lValue);
    // The neutral locale's default format (with its fraction digits) is never
    // shorter than the integer format, so its length is room enough.
    const int room = ::GetNumberFormatW(0, 0, digits, nullptr, nullptr, 0);
    if (room <= 0)
        return CString();
    CString formatted;
    const int written =
        ::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits, &format, formatted.GetBuffer(room), room);
    formatted.ReleaseBuffer(written > 0 ? written - 1 : 0);
    return formatted;
}
