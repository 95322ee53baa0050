// The class identifier conversion table: 1150 pairs of a stored class
// identifier and the current one created in its place, held as text and turned
// into two hash maps (stored -> current, current -> stored) on the first lookup
// made while translation is enabled.
#include <QNClassTable.h>
#include <QNUtilityClass.h>

#include <iterator>

namespace {

struct ClassIdPair {
    const WCHAR* stored;
    const WCHAR* current;
};

// Generated once by tools/gen_class_table.py; see that script for the
// properties the rows have.
constexpr ClassIdPair kClassIdPairs[] = {
#include "persist/ClassTableData.inc"
};
static_assert(std::size(kClassIdPairs) == 1150, "the conversion table has 1150 pairs");

// A prime a little above the number of pairs keeps the chains short.
constexpr UINT kFilledBuckets = 1511;
// Registry form with its terminator.
constexpr int kGuidTextLength = 39;

GUID Translate(const CMapGUIDToGUID& map, const GUID& id)
{
    GUID translated;
    return map.Lookup(id, translated) ? translated : id;
}

CString TranslateText(const CMapGUIDToGUID& map, const CString& text)
{
    GUID id;
    // A text that is not a class identifier is not found. (The conversion may
    // have written part of an identifier before it gave up.)
    if (FAILED(::CLSIDFromString(static_cast<LPCWSTR>(text), &id)))
        return text;
    GUID translated;
    if (!map.Lookup(id, translated))
        return text;
    WCHAR buffer[kGuidTextLength];
    if (::StringFromGUID2(translated, buffer, kGuidTextLength) != kGuidTextLength)
        return text;
    return CString(buffer);
}

} // namespace

template <> UINT AFXAPI HashKey<const GUID&>(const GUID& key)
{
    UUID copy = key; // UuidHash takes a non-const pointer
    RPC_STATUS status;
    return ::UuidHash(&copy, &status);
}

void CQNUtility::CLSIDEnabled(int bEnable)
{
    if (bEnable)
        ++m_iEnabled;
    else if (m_iEnabled > 0)
        --m_iEnabled;
}

void CQNUtility::GuidConvertInit()
{
    if (m_bGuidTableInitialized)
        return;
    // Set before filling: if memory runs out part way, the framework's memory
    // exception passes to the caller and no later call tries again.
    m_bGuidTableInitialized = 1;
    m_GUIDTable.InitHashTable(kFilledBuckets);
    m_GUIDReverse.InitHashTable(kFilledBuckets);
    for (const ClassIdPair& pair : kClassIdPairs) {
        GUID stored, current;
        if (FAILED(::CLSIDFromString(pair.stored, &stored)) || FAILED(::CLSIDFromString(pair.current, &current)))
            continue; // cannot happen: the generator writes registry forms only
        m_GUIDTable[stored] = current;
        m_GUIDReverse[current] = stored;
    }
}

GUID CQNUtility::CLSIDLookup(const GUID& stored)
{
    if (m_iEnabled == 0)
        return stored;
    GuidConvertInit();
    return Translate(m_GUIDTable, stored);
}

CString CQNUtility::CLSIDLookup(CString stored)
{
    if (m_iEnabled == 0)
        return stored;
    GuidConvertInit();
    return TranslateText(m_GUIDTable, stored);
}

GUID CQNUtility::CLSIDReverseLookup(const GUID& current)
{
    if (m_iEnabled == 0)
        return current;
    GuidConvertInit();
    return Translate(m_GUIDReverse, current);
}

CString CQNUtility::CLSIDReverseLookup(CString current)
{
    if (m_iEnabled == 0)
        return current;
    GuidConvertInit();
    return TranslateText(m_GUIDReverse, current);
}
