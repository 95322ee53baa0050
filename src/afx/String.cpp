// CString: blocks, sharing, assignment, comparison and direct buffer access.
// Extraction, searching and the editing members are in StringEdit.cpp,
// formatting in StringFormat.cpp; ANSI conversion and case mapping are per
// platform (Platform.h).
#include <afx/afx.h>

#include "Platform.h"
#include "StringBlock.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

using qn::afx::string::CopyChars;
using qn::afx::string::kMaxLength;
using qn::afx::string::NewBlock;
using qn::afx::string::SafeLength;

namespace {

// The one block every empty string points at. Its negative count marks it as
// never freed; nothing ever writes into it.
struct EmptyBlock {
    CStringData header;
    WCHAR terminator;
};
constinit EmptyBlock g_emptyBlock = {{-1, 0, 0}, 0};

LPWSTR EmptyChars() { return g_emptyBlock.header.data(); }

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

CStringData* qn::afx::string::NewBlock(int nLen, int nAlloc)
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

int qn::afx::string::SafeLength(LPCWSTR lpsz)
{
    if (!lpsz)
        return 0;
    size_t n = 0;
    while (lpsz[n])
        ++n;
    return n > static_cast<size_t>(kMaxLength) ? kMaxLength + 1 : static_cast<int>(n);
}

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
    const int wideLen = qn::afx::platform::AnsiToWide(lpch, nLength, nullptr, 0);
    if (wideLen <= 0)
        return;
    AllocBuffer(wideLen);
    ReleaseBuffer(qn::afx::platform::AnsiToWide(lpch, nLength, m_pchData, wideLen));
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
