// CString: extraction, case conversion, the editing members, trimming and
// searching. Blocks and sharing are in String.cpp.
#include <afx/afx.h>

#include "Platform.h"
#include "StringBlock.h"

#include <cstring>
#include <utility>

using qn::afx::string::CopyChars;
using qn::afx::string::kMaxLength;
using qn::afx::string::NewBlock;
using qn::afx::string::SafeLength;

namespace {

bool InSet(WCHAR ch, LPCWSTR set)
{
    if (!set)
        return false;
    for (; *set; ++set) {
        if (*set == ch)
            return true;
    }
    return false;
}

// The white space of the C locale: space, tab, LF, VT, FF, CR.
bool IsSpace(WCHAR ch) { return ch == 0x20 || (ch >= 0x09 && ch <= 0x0D); }

template <class Pred> int TrailingRun(const WCHAR* s, int len, Pred pred)
{
    int n = 0;
    while (n < len && pred(s[len - 1 - n]))
        ++n;
    return n;
}

template <class Pred> int LeadingRun(const WCHAR* s, int len, Pred pred)
{
    int n = 0;
    while (n < len && pred(s[n]))
        ++n;
    return n;
}

} // namespace

// --- Extraction -------------------------------------------------------------------

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const
{
    const int len = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > len)
        nFirst = len;
    if (nCount > len - nFirst)
        nCount = len - nFirst;
    if (nFirst == 0 && nCount == len)
        return *this; // shares the block
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const
{
    const int len = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > len)
        nCount = len;
    return Mid(len - nCount, nCount);
}

CString CString::SpanIncluding(LPCWSTR lpszCharSet) const
{
    int n = 0;
    while (n < GetLength() && InSet(m_pchData[n], lpszCharSet))
        ++n;
    return Left(n);
}

CString CString::SpanExcluding(LPCWSTR lpszCharSet) const
{
    int n = 0;
    while (n < GetLength() && !InSet(m_pchData[n], lpszCharSet))
        ++n;
    return Left(n);
}

// --- Conversions --------------------------------------------------------------------

void CString::MakeUpper()
{
    if (IsEmpty())
        return;
    CopyBeforeWrite();
    qn::afx::platform::UpperCase(m_pchData, GetLength());
}

void CString::MakeLower()
{
    if (IsEmpty())
        return;
    CopyBeforeWrite();
    qn::afx::platform::LowerCase(m_pchData, GetLength());
}

void CString::MakeReverse()
{
    if (GetLength() < 2)
        return;
    CopyBeforeWrite();
    for (int i = 0, j = GetLength() - 1; i < j; ++i, --j)
        std::swap(m_pchData[i], m_pchData[j]);
}

// --- Changes in place -----------------------------------------------------------------

int CString::Replace(WCHAR chOld, WCHAR chNew)
{
    if (chOld == chNew)
        return 0;
    int count = 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_pchData[i] == chOld) {
            if (count++ == 0)
                CopyBeforeWrite();
            m_pchData[i] = chNew;
        }
    }
    return count;
}

int CString::Replace(LPCWSTR lpszOld, LPCWSTR lpszNew)
{
    const int oldLen = SafeLength(lpszOld);
    if (oldLen == 0 || oldLen > GetLength())
        return 0;
    const int newLen = SafeLength(lpszNew);

    int count = 0;
    for (int pos = Find(lpszOld, 0); pos >= 0; pos = Find(lpszOld, pos + oldLen))
        ++count;
    if (count == 0)
        return 0;

    const long long resultLen = GetLength() + static_cast<long long>(count) * (newLen - oldLen);
    if (resultLen > kMaxLength)
        AfxThrowMemoryException();
    // Build the result apart: the replacement may point into this string.
    CString result;
    if (resultLen > 0) {
        CStringData* block = NewBlock(static_cast<int>(resultLen), static_cast<int>(resultLen));
        result.m_pchData = block->data();
        WCHAR* out = block->data();
        int from = 0;
        for (int pos = Find(lpszOld, 0); pos >= 0; pos = Find(lpszOld, pos + oldLen)) {
            CopyChars(out, m_pchData + from, pos - from);
            out += pos - from;
            CopyChars(out, lpszNew, newLen);
            out += newLen;
            from = pos + oldLen;
        }
        CopyChars(out, m_pchData + from, GetLength() - from);
    }
    *this = std::move(result);
    return count;
}

int CString::Remove(WCHAR chRemove)
{
    const int len = GetLength();
    int first = 0;
    while (first < len && m_pchData[first] != chRemove)
        ++first;
    if (first == len)
        return 0;
    CopyBeforeWrite();
    int out = first;
    for (int i = first; i < len; ++i) {
        if (m_pchData[i] != chRemove)
            m_pchData[out++] = m_pchData[i];
    }
    GetData()->nDataLength = out;
    m_pchData[out] = 0;
    return len - out;
}

int CString::Insert(int nIndex, WCHAR ch) { return Insert(nIndex, CString(ch, 1)); }

int CString::Insert(int nIndex, LPCWSTR pstr)
{
    const int insLen = SafeLength(pstr);
    const int len = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > len)
        nIndex = len;
    if (insLen == 0)
        return len;
    if (insLen > kMaxLength - len)
        AfxThrowMemoryException();
    *this = Concat(nIndex, m_pchData, insLen, pstr) + CString(m_pchData + nIndex, len - nIndex);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    const int len = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount <= 0 || nIndex >= len)
        return len;
    if (nCount > len - nIndex)
        nCount = len - nIndex;
    CopyBeforeWrite();
    CopyChars(m_pchData + nIndex, m_pchData + nIndex + nCount, len - nIndex - nCount);
    GetData()->nDataLength = len - nCount;
    m_pchData[len - nCount] = 0;
    return len - nCount;
}

// --- Trimming ---------------------------------------------------------------------------

void CString::TrimRight() { Delete(GetLength() - TrailingRun(m_pchData, GetLength(), IsSpace), GetLength()); }

void CString::TrimRight(WCHAR chTarget)
{
    const int n = TrailingRun(m_pchData, GetLength(), [chTarget](WCHAR c) { return c == chTarget; });
    Delete(GetLength() - n, n);
}

void CString::TrimRight(LPCWSTR lpszTargets)
{
    const int n = TrailingRun(m_pchData, GetLength(), [lpszTargets](WCHAR c) { return InSet(c, lpszTargets); });
    Delete(GetLength() - n, n);
}

void CString::TrimLeft() { Delete(0, LeadingRun(m_pchData, GetLength(), IsSpace)); }

void CString::TrimLeft(WCHAR chTarget)
{
    Delete(0, LeadingRun(m_pchData, GetLength(), [chTarget](WCHAR c) { return c == chTarget; }));
}

void CString::TrimLeft(LPCWSTR lpszTargets)
{
    Delete(0, LeadingRun(m_pchData, GetLength(), [lpszTargets](WCHAR c) { return InSet(c, lpszTargets); }));
}

// --- Searching ----------------------------------------------------------------------------

int CString::Find(WCHAR ch) const { return Find(ch, 0); }

int CString::Find(WCHAR ch, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    for (int i = nStart; i < GetLength(); ++i) {
        if (m_pchData[i] == ch)
            return i;
    }
    return -1;
}

int CString::Find(LPCWSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCWSTR lpszSub, int nStart) const
{
    const int len = GetLength();
    const int subLen = SafeLength(lpszSub);
    if (nStart < 0)
        nStart = 0;
    if (nStart > len || subLen > len - nStart)
        return -1;
    for (int i = nStart; i <= len - subLen; ++i) {
        if (std::memcmp(m_pchData + i, lpszSub, static_cast<size_t>(subLen) * sizeof(WCHAR)) == 0)
            return i;
    }
    return -1;
}

int CString::ReverseFind(WCHAR ch) const
{
    for (int i = GetLength() - 1; i >= 0; --i) {
        if (m_pchData[i] == ch)
            return i;
    }
    return -1;
}

int CString::FindOneOf(LPCWSTR lpszCharSet) const
{
    for (int i = 0; i < GetLength(); ++i) {
        if (InSet(m_pchData[i], lpszCharSet))
            return i;
    }
    return -1;
}

