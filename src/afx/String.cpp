// CString: blocks, sharing and the editing members. Formatting is in
// StringFormat.cpp; ANSI conversion and case mapping are per platform
// (Platform.h).
#include <afx/afx.h>

#include "Platform.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// The one block every empty string points at. Its negative count marks it as
// never freed; nothing ever writes into it.
struct EmptyBlock {
    CStringData header;
    WCHAR terminator;
};
constinit EmptyBlock g_emptyBlock = {{-1, 0, 0}, 0};

// The longest text a block can hold: its size in bytes must fit an int.
constexpr int kMaxLength = static_cast<int>((INT_MAX - sizeof(CStringData)) / sizeof(WCHAR)) - 1;

LPWSTR EmptyChars() { return g_emptyBlock.header.data(); }

// A new block with room for nAlloc characters, nLen of them in use, counted
// once. Throws CMemoryException when the room cannot be had.
CStringData* NewBlock(int nLen, int nAlloc)
{
    if (nLen < 0 || nAlloc < nLen || nAlloc > kMaxLength)
        AfxThrowMemoryException();
    void* raw = std::malloc(sizeof(CStringData) + (static_cast<size_t>(nAlloc) + 1) * sizeof(WCHAR));
    if (!raw)
        AfxThrowMemoryException();
    auto* block = static_cast<CStringData*>(raw);
    block->nRefs = 1;
    block->nDataLength = nLen;
    block->nAllocLength = nAlloc;
    block->data()[nLen] = 0;
    return block;
}

int SafeLength(LPCWSTR lpsz)
{
    if (!lpsz)
        return 0;
    size_t n = 0;
    while (lpsz[n])
        ++n;
    return n > static_cast<size_t>(kMaxLength) ? kMaxLength + 1 : static_cast<int>(n);
}

void CopyChars(WCHAR* dst, const WCHAR* src, int n)
{
    if (n > 0)
        std::memmove(dst, src, static_cast<size_t>(n) * sizeof(WCHAR));
}

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

WCHAR FoldAscii(WCHAR ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<WCHAR>(ch + ('a' - 'A')) : ch; }

// Lexicographic comparison of two counted texts; the shorter prefix is smaller.
int CompareCounted(const WCHAR* a, int aLen, const WCHAR* b, int bLen, bool foldCase)
{
    const int n = aLen < bLen ? aLen : bLen;
    for (int i = 0; i < n; ++i) {
        const WCHAR ca = foldCase ? FoldAscii(a[i]) : a[i];
        const WCHAR cb = foldCase ? FoldAscii(b[i]) : b[i];
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return aLen == bLen ? 0 : (aLen < bLen ? -1 : 1);
}

} // namespace

// --- Blocks -----------------------------------------------------------------

void CString::Init() { m_pchData = EmptyChars(); }

void CString::Release(CStringData* pData)
{
    if (pData == &g_emptyBlock.header || pData->nRefs < 0)
        return;
    if (InterlockedDecrement(&pData->nRefs) <= 0)
        std::free(pData);
}

void CString::Release()
{
    CStringData* old = GetData();
    Init();
    Release(old);
}

void CString::AllocBuffer(int nLen)
{
    if (nLen == 0) {
        Release();
        return;
    }
    CStringData* block = NewBlock(nLen, nLen);
    Release(GetData());
    m_pchData = block->data();
}

void CString::CopyBeforeWrite()
{
    CStringData* data = GetData();
    if (data->nRefs <= 1)
        return;
    CStringData* block = NewBlock(data->nDataLength, data->nDataLength);
    CopyChars(block->data(), m_pchData, data->nDataLength);
    Release(data);
    m_pchData = block->data();
}

void CString::AssignCopy(int nSrcLen, LPCWSTR lpszSrcData)
{
    if (nSrcLen <= 0) {
        Release();
        return;
    }
    CStringData* data = GetData();
    if (data->nRefs == 1 && nSrcLen <= data->nAllocLength) {
        // The source may lie inside this very buffer: move, not copy.
        CopyChars(m_pchData, lpszSrcData, nSrcLen);
        data->nDataLength = nSrcLen;
        m_pchData[nSrcLen] = 0;
        return;
    }
    CStringData* block = NewBlock(nSrcLen, nSrcLen);
    CopyChars(block->data(), lpszSrcData, nSrcLen);
    Release(data);
    m_pchData = block->data();
}

void CString::ConcatInPlace(int nSrcLen, LPCWSTR lpszSrcData)
{
    if (nSrcLen <= 0)
        return;
    CStringData* data = GetData();
    const int oldLen = data->nDataLength;
    if (nSrcLen > kMaxLength - oldLen)
        AfxThrowMemoryException();
    const int newLen = oldLen + nSrcLen;
    if (data->nRefs == 1 && newLen <= data->nAllocLength) {
        CopyChars(m_pchData + oldLen, lpszSrcData, nSrcLen);
        data->nDataLength = newLen;
        m_pchData[newLen] = 0;
        return;
    }
    // Grow by half again, so that appending in a loop stays linear.
    int room = newLen;
    if (data->nRefs == 1 && oldLen <= kMaxLength - oldLen / 2 && oldLen + oldLen / 2 > room)
        room = oldLen + oldLen / 2;
    CStringData* block = NewBlock(newLen, room);
    CopyChars(block->data(), m_pchData, oldLen);
    CopyChars(block->data() + oldLen, lpszSrcData, nSrcLen); // before the source may be freed
    Release(data);
    m_pchData = block->data();
}

CString CString::Concat(int nSrc1Len, LPCWSTR lpszSrc1Data, int nSrc2Len, LPCWSTR lpszSrc2Data)
{
    CString result;
    if (nSrc1Len > kMaxLength - nSrc2Len)
        AfxThrowMemoryException();
    const int newLen = nSrc1Len + nSrc2Len;
    if (newLen == 0)
        return result;
    CStringData* block = NewBlock(newLen, newLen);
    CopyChars(block->data(), lpszSrc1Data, nSrc1Len);
    CopyChars(block->data() + nSrc1Len, lpszSrc2Data, nSrc2Len);
    result.m_pchData = block->data();
    return result;
}

// --- Construction -----------------------------------------------------------

CString::CString() { Init(); }

CString::CString(const CString& stringSrc)
{
    CStringData* src = stringSrc.GetData();
    if (src->nRefs >= 0) {
        InterlockedIncrement(&src->nRefs);
        m_pchData = stringSrc.m_pchData;
    } else {
        Init();
    }
}

CString::CString(CString&& stringSrc) noexcept : m_pchData(stringSrc.m_pchData) { stringSrc.Init(); }

CString::CString(WCHAR ch, int nRepeat)
{
    Init();
    if (nRepeat <= 0)
        return;
    AllocBuffer(nRepeat);
    for (int i = 0; i < nRepeat; ++i)
        m_pchData[i] = ch;
}

CString::CString(LPCWSTR lpsz)
{
    Init();
    AssignCopy(SafeLength(lpsz), lpsz);
}

CString::CString(LPCWSTR lpch, int nLength)
{
    Init();
    if (lpch && nLength > 0)
        AssignCopy(nLength, lpch);
}

CString::CString(LPCSTR lpsz)
{
    Init();
    *this = lpsz;
}

CString::CString(LPCSTR lpch, int nLength)
{
    Init();
    if (!lpch || nLength <= 0)
        return;
    const int wideLen = afx_platform::AnsiToWide(lpch, nLength, nullptr, 0);
    if (wideLen <= 0)
        return;
    AllocBuffer(wideLen);
    ReleaseBuffer(afx_platform::AnsiToWide(lpch, nLength, m_pchData, wideLen));
}

CString::~CString() { Release(GetData()); }

// --- Assignment and concatenation ---------------------------------------------

CString& CString::operator=(const CString& stringSrc)
{
    if (m_pchData == stringSrc.m_pchData)
        return *this;
    CStringData* src = stringSrc.GetData();
    if (src->nRefs < 0) {
        Release();
    } else {
        InterlockedIncrement(&src->nRefs);
        Release(GetData());
        m_pchData = stringSrc.m_pchData;
    }
    return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept
{
    if (this != &stringSrc) {
        Release(GetData());
        m_pchData = stringSrc.m_pchData;
        stringSrc.Init();
    }
    return *this;
}

CString& CString::operator=(WCHAR ch)
{
    AssignCopy(1, &ch);
    return *this;
}

CString& CString::operator=(LPCWSTR lpsz)
{
    AssignCopy(SafeLength(lpsz), lpsz);
    return *this;
}

CString& CString::operator=(LPCSTR lpsz)
{
    const size_t n = lpsz ? std::strlen(lpsz) : 0;
    if (n == 0) {
        Release();
        return *this;
    }
    if (n > static_cast<size_t>(kMaxLength))
        AfxThrowMemoryException();
    *this = CString(lpsz, static_cast<int>(n));
    return *this;
}

CString& CString::operator+=(const CString& string)
{
    ConcatInPlace(string.GetLength(), string.m_pchData);
    return *this;
}

CString& CString::operator+=(WCHAR ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

CString& CString::operator+=(LPCWSTR lpsz)
{
    ConcatInPlace(SafeLength(lpsz), lpsz);
    return *this;
}

CString operator+(const CString& string1, const CString& string2)
{
    return CString::Concat(string1.GetLength(), string1.m_pchData, string2.GetLength(), string2.m_pchData);
}

CString operator+(const CString& string, WCHAR ch) { return CString::Concat(string.GetLength(), string.m_pchData, 1, &ch); }

CString operator+(WCHAR ch, const CString& string) { return CString::Concat(1, &ch, string.GetLength(), string.m_pchData); }

CString operator+(const CString& string, LPCWSTR lpsz)
{
    return CString::Concat(string.GetLength(), string.m_pchData, SafeLength(lpsz), lpsz);
}

CString operator+(LPCWSTR lpsz, const CString& string)
{
    return CString::Concat(SafeLength(lpsz), lpsz, string.GetLength(), string.m_pchData);
}

// --- Element access -----------------------------------------------------------

void CString::Empty() { Release(); }

WCHAR CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return 0;
    return m_pchData[nIndex];
}

void CString::SetAt(int nIndex, WCHAR ch)
{
    if (nIndex < 0 || nIndex >= GetLength())
        return;
    CopyBeforeWrite();
    m_pchData[nIndex] = ch;
}

// --- Comparison -----------------------------------------------------------------

int CString::Compare(LPCWSTR lpsz) const
{
    return CompareCounted(m_pchData, GetLength(), lpsz ? lpsz : EmptyChars(), SafeLength(lpsz), false);
}

int CString::Compare(const CString& string) const
{
    return CompareCounted(m_pchData, GetLength(), string.m_pchData, string.GetLength(), false);
}

int CString::CompareNoCase(LPCWSTR lpsz) const
{
    return CompareCounted(m_pchData, GetLength(), lpsz ? lpsz : EmptyChars(), SafeLength(lpsz), true);
}

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
    afx_platform::UpperCase(m_pchData, GetLength());
}

void CString::MakeLower()
{
    if (IsEmpty())
        return;
    CopyBeforeWrite();
    afx_platform::LowerCase(m_pchData, GetLength());
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

namespace {

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

// --- Platform strings -------------------------------------------------------------------------

BSTR CString::AllocSysString() const
{
    BSTR result = ::SysAllocStringLen(m_pchData, static_cast<UINT>(GetLength()));
    if (!result)
        AfxThrowMemoryException();
    return result;
}

BSTR CString::SetSysString(BSTR* pbstr) const
{
    if (!::SysReAllocStringLen(pbstr, m_pchData, static_cast<UINT>(GetLength())))
        AfxThrowMemoryException();
    return *pbstr;
}

// --- Direct buffer access -------------------------------------------------------------------

LPWSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < 0)
        nMinBufLength = 0;
    CStringData* data = GetData();
    if (data->nRefs != 1 || nMinBufLength > data->nAllocLength) {
        // A private block even for an empty string: the caller may write the
        // terminator, and the shared empty block is never written.
        const int len = data->nDataLength;
        const int room = nMinBufLength > len ? nMinBufLength : len;
        CStringData* block = NewBlock(len, room);
        CopyChars(block->data(), m_pchData, len);
        Release(data);
        m_pchData = block->data();
    }
    return m_pchData;
}

LPWSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = 0;
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    CStringData* data = GetData();
    if (data->nRefs < 0)
        return; // no buffer was handed out
    // security: the length comes from the caller's writes; never beyond the room.
    if (nNewLength < 0) {
        nNewLength = 0;
        while (nNewLength < data->nAllocLength && m_pchData[nNewLength])
            ++nNewLength;
    } else if (nNewLength > data->nAllocLength) {
        nNewLength = data->nAllocLength;
    }
    if (data->nRefs > 1) {
        // Shared again since GetBuffer: cut a private copy instead.
        *this = CString(m_pchData, nNewLength);
        return;
    }
    data->nDataLength = nNewLength;
    m_pchData[nNewLength] = 0;
}

void CString::FreeExtra()
{
    CStringData* data = GetData();
    if (data->nRefs != 1 || data->nDataLength == data->nAllocLength)
        return;
    if (data->nDataLength == 0) {
        Release();
        return;
    }
    CStringData* block = NewBlock(data->nDataLength, data->nDataLength);
    CopyChars(block->data(), m_pchData, data->nDataLength);
    Release(data);
    m_pchData = block->data();
}
