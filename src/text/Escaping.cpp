// Backslash escaping and unescaping under caller-chosen flags, and the
// delimiter tokenizer.
#include <QNUtilityClass.h>

#include "common/AsciiText.h"
#include "common/Result.h"
#include "text/TextBuffer.h"

#include <string>

using qn::text::AllocateString;
using qn::text::TextBuffer;

namespace {

constexpr WCHAR kBell = 7, kBackspace = 8, kTab = 9, kLineFeed = 10, kVerticalTab = 11, kFormFeed = 12,
                kReturn = 13;

bool Has(unsigned ops, eQNEscapeOperations flag) { return (ops & flag) != 0; }

size_t TextLength(LPCWSTR text) { return std::char_traits<WCHAR>::length(text); }

// Ends a successful conversion: the caller's string is a copy of the buffer.
HRESULT HandOver(const TextBuffer& buffer, BSTR* pbstrOut)
{
    *pbstrOut = AllocateString(buffer.Data(), buffer.Length());
    return *pbstrOut ? S_OK : S_FALSE;
}

// With operations 0 both conversions hand out a plain copy.
HRESULT HandOverCopy(const WCHAR* text, size_t length, BSTR* pbstrOut)
{
    *pbstrOut = text ? AllocateString(text, length) : nullptr;
    return *pbstrOut ? S_OK : E_OUTOFMEMORY;
}

class Escaper {
public:
    Escaper(unsigned ops, TextBuffer& out) : m_ops(ops), m_out(out) {}

    bool Put(WCHAR c)
    {
        if (c == kReturn && Has(m_ops, eEscDropCR))
            return true;
        // The carriage return put in front of a line feed is never dropped.
        if (c == kLineFeed && Has(m_ops, eEscLFToCRLF) && !Write(kReturn))
            return false;
        return Write(c);
    }

private:
    bool Pair(WCHAR second) { return m_out.Append(_T('\\')) && m_out.Append(second); }

    bool Write(WCHAR c)
    {
        switch (c) {
        case _T('\''):
            return Has(m_ops, eEscApostrophe) ? Pair(c) : m_out.Append(c);
        case _T('"'):
            return Has(m_ops, eEscQuote) ? Pair(c) : m_out.Append(c);
        case _T('\\'):
            return Has(m_ops, eEscBackslash) ? Pair(c) : m_out.Append(c);
        case kLineFeed:
            return Has(m_ops, eEscNewLine) ? Pair(_T('n')) : Other(c);
        case kReturn:
            return Has(m_ops, eEscReturn) ? Pair(_T('r')) : Other(c);
        case kTab:
            return Has(m_ops, eEscTab) ? Pair(_T('t')) : Other(c);
        case kBell:
            return Has(m_ops, eEscControl) ? Pair(_T('a')) : Other(c);
        case kBackspace:
            return Has(m_ops, eEscControl) ? Pair(_T('b')) : Other(c);
        case kVerticalTab:
            return Has(m_ops, eEscControl) ? Pair(_T('v')) : Other(c);
        case kFormFeed:
            return Has(m_ops, eEscControl) ? Pair(_T('f')) : Other(c);
        default:
            return c >= 32 && c <= 126 ? m_out.Append(c) : Other(c);
        }
    }

    // "\u%04x": backslash, u and four lower-case hexadecimal digits.
    bool Other(WCHAR c)
    {
        if (!Has(m_ops, eEscOtherAsUnicode))
            return m_out.Append(c);
        static constexpr char kHex[] = "0123456789abcdef";
        const unsigned value = c;
        const WCHAR escape[6] = {_T('\\'), _T('u'), WCHAR(kHex[(value >> 12) & 15]), WCHAR(kHex[(value >> 8) & 15]),
                                 WCHAR(kHex[(value >> 4) & 15]), WCHAR(kHex[value & 15])};
        return m_out.Append(escape, 6);
    }

    unsigned m_ops;
    TextBuffer& m_out;
};

class Unescaper {
public:
    Unescaper(unsigned ops, TextBuffer& out) : m_ops(ops), m_out(out) {}

    // Writes one character of the result, with the line-end rules applied to it.
    bool Emit(WCHAR c)
    {
        if (c == kLineFeed && Has(m_ops, eEscLFToCRLF)) {
            if (!m_out.Append(kReturn))
                return false;
        }
        if (!m_out.Append(c))
            return false;
        if (Has(m_ops, eEscDropCR) && m_out.Back() == kReturn)
            m_out.PopBack();
        return true;
    }

    // Reads the input; E_FAIL at \u or \U under eEscUnicode.
    HRESULT Run(const WCHAR* in, size_t length)
    {
        size_t i = 0;
        while (i < length) {
            if (in[i] != _T('\\') || i + 1 == length) {
                if (!Emit(in[i]))
                    return E_OUTOFMEMORY;
                ++i;
                continue;
            }
            const WCHAR d = in[i + 1];
            WCHAR written = 0;
            size_t next = i + 2;
            if (d == _T('\'') && Has(m_ops, eEscApostrophe))
                written = d;
            else if (d == _T('"') && Has(m_ops, eEscQuote))
                written = d;
            else if (d == _T('\\') && Has(m_ops, eEscBackslash))
                written = d;
            else if (d == _T('n') && Has(m_ops, eEscNewLine))
                written = kLineFeed;
            else if (d == _T('r') && Has(m_ops, eEscReturn))
                written = kReturn;
            else if (d == _T('t') && Has(m_ops, eEscTab))
                written = kTab;
            else if (Has(m_ops, eEscControl) && Control(d, &written)) {
                // `written` is set.
            }
            else if (qn::ascii::IsOctalDigit(d) && Has(m_ops, eEscOctal))
                written = Octal(in, length, i + 1, &next);
            else if ((d == _T('x') || d == _T('X')) && Has(m_ops, eEscHex))
                written = Hex(in, length, i + 2, &next);
            else if ((d == _T('u') || d == _T('U')) && Has(m_ops, eEscUnicode))
                return E_FAIL;
            else {
                // No rule: the backslash and the character stand as they are.
                if (!Emit(_T('\\')) || !Emit(d))
                    return E_OUTOFMEMORY;
                i += 2;
                continue;
            }
            if (!Emit(written))
                return E_OUTOFMEMORY;
            i = next;
        }
        return S_OK;
    }

private:
    static bool Control(WCHAR d, WCHAR* written)
    {
        switch (d) {
        case _T('?'): *written = _T('?'); return true;
        case _T('a'): *written = kBell; return true;
        case _T('b'): *written = kBackspace; return true;
        case _T('v'): *written = kVerticalTab; return true;
        case _T('f'): *written = kFormFeed; return true;
        default: return false;
        }
    }

    // One to three octal digits from `first` (which is one).
    static WCHAR Octal(const WCHAR* in, size_t length, size_t first, size_t* next)
    {
        unsigned value = 0;
        size_t j = first;
        while (j < length && j - first < 3 && qn::ascii::IsOctalDigit(in[j]))
            value = value * 8 + unsigned(in[j++] - _T('0'));
        *next = j;
        return WCHAR(value);
    }

    // Up to eight hexadecimal digits from `first`; none gives 0. The character
    // is the value's low 16 bits.
    static WCHAR Hex(const WCHAR* in, size_t length, size_t first, size_t* next)
    {
        uint32_t value = 0;
        size_t j = first;
        for (; j < length && j - first < 8; ++j) {
            const int digit = qn::ascii::HexDigitValue(in[j]);
            if (digit < 0)
                break;
            value = value * 16 + unsigned(digit);
        }
        *next = j;
        return WCHAR(value & 0xFFFF);
    }

    unsigned m_ops;
    TextBuffer& m_out;
};

} // namespace

HRESULT CQNUtility::EscapeText(LPCWSTR lpszText, eQNEscapeOperations ops, BSTR* pbstrOut)
{
    if (!pbstrOut)
        return E_POINTER;
    const size_t length = lpszText ? TextLength(lpszText) : 0;
    if (ops == 0)
        return HandOverCopy(lpszText, length, pbstrOut);

    TextBuffer buffer;
    if (!buffer.Reserve(length))
        return E_OUTOFMEMORY;
    Escaper escaper(static_cast<unsigned>(ops), buffer);
    for (size_t i = 0; i < length; ++i) {
        if (!escaper.Put(lpszText[i]))
            return E_OUTOFMEMORY;
    }
    return HandOver(buffer, pbstrOut);
}

HRESULT CQNUtility::UnescapeText(BSTR bstrText, eQNEscapeOperations ops, BSTR* pbstrOut)
{
    if (!pbstrOut)
        return E_POINTER;
    const size_t length = ::SysStringLen(bstrText);
    if (ops == 0)
        return HandOverCopy(bstrText, length, pbstrOut);

    TextBuffer buffer;
    if (!buffer.Reserve(length))
        return E_OUTOFMEMORY;
    Unescaper unescaper(static_cast<unsigned>(ops), buffer);
    QN_RETURN_IF_FAILED(unescaper.Run(bstrText, length));
    return HandOver(buffer, pbstrOut);
}

BOOL CQNUtility::NextToken(LPCWSTR* ppText, WCHAR chDelimiter, LPWSTR lpszToken)
{
    if (!ppText || !*ppText || !lpszToken)
        return FALSE;
    LPCWSTR p = *ppText;
    while (*p && *p != chDelimiter)
        *lpszToken++ = *p++;
    *lpszToken = 0;
    // A NUL delimiter is the end of the text, which stops the copy with FALSE.
    const BOOL byDelimiter = *p != 0;
    *ppText = p + 1;
    return byDelimiter;
}
