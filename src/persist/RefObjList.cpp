// CRefObjList: the three reference sets of a screen object, their stream and
// block forms, and the tag server's clean-up.
#include <QNRefObjList.h>
#include <QNStream.h>

namespace {

constexpr INT_PTR kBlockSize = 10;
constexpr SHORT kVersion = 1;

template <class Map> SHORT CountOf(const Map& map) { return static_cast<SHORT>(map.GetCount()); }

// Each text of a string set as the stream form writes it.
HRESULT SaveTexts(const CMapStringToPtr& set, IStream* stream)
{
    CString key;
    void* ignored = nullptr;
    for (POSITION pos = set.GetStartPosition(); pos;) {
        set.GetNextAssoc(pos, key, ignored);
        if (FAILED(SaveBSTR(key, stream)))
            return E_FAIL;
    }
    return S_OK;
}

// `count` texts into the set; a count of 0 or below reads none.
// security: the count is from the stream; each text must come from it in turn,
// so nothing is allocated ahead of the data.
HRESULT LoadTexts(CMapStringToPtr& set, SHORT count, IStream* stream)
{
    for (SHORT i = 0; i < count; ++i) {
        CString text;
        if (FAILED(LoadBSTR(text, stream)))
            return E_FAIL;
        set.SetAt(text, nullptr);
    }
    return S_OK;
}

// Each text of a string set as block entries: mark, CSTRING value.
HRESULT SaveTextEntries(const CMapStringToPtr& set, WORD mark, CKESTSaveHelper& payload)
{
    CString key;
    void* ignored = nullptr;
    for (POSITION pos = set.GetStartPosition(); pos;) {
        set.GetNextAssoc(pos, key, ignored);
        if (FAILED(payload.KESTSave(&mark, sizeof mark)) || FAILED(payload.KESTSaveCSTRING(key)))
            return E_FAIL;
    }
    return S_OK;
}

} // namespace

CRefObjList::CRefObjList()
    : m_mapTagIDs(kBlockSize), m_mapObjIDs(kBlockSize), m_mapSpecialObjIDs(kBlockSize)
{
}

CRefObjList::~CRefObjList() = default;

HRESULT CRefObjList::Initialize(IKESTTagServer* pTagServer)
{
    // The new reference is taken before the old one goes, so handing in the
    // server already held cannot release it to zero in between.
    m_pTagServer = pTagServer;
    return S_OK;
}

void CRefObjList::Reset()
{
    m_mapTagIDs.RemoveAll();
    m_mapObjIDs.RemoveAll();
    m_mapSpecialObjIDs.RemoveAll();
}

HRESULT CRefObjList::AddTagID(CString cstrTagID)
{
    m_mapTagIDs.SetAt(cstrTagID, nullptr);
    return S_OK;
}

HRESULT CRefObjList::AddObjID(__int64 nObjID)
{
    m_mapObjIDs.SetAt(nObjID, nullptr);
    return S_OK;
}

HRESULT CRefObjList::AddSpecialObjID(CString cstrSpecialObjID)
{
    m_mapSpecialObjIDs.SetAt(cstrSpecialObjID, nullptr);
    return S_OK;
}

bool CRefObjList::IsTagIDUsed(CString cstrTagID)
{
    void* ignored = nullptr;
    return m_mapTagIDs.Lookup(cstrTagID, ignored) != FALSE;
}

bool CRefObjList::IsObjIDUsed(__int64 nObjID)
{
    void* ignored = nullptr;
    return m_mapObjIDs.Lookup(nObjID, ignored) != FALSE;
}

bool CRefObjList::IsSpecialObjIDUsed(CString cstrSpecialObjID)
{
    void* ignored = nullptr;
    return m_mapSpecialObjIDs.Lookup(cstrSpecialObjID, ignored) != FALSE;
}

HRESULT CRefObjList::ClearRefInfo(CString cstrOwner)
{
    if (!m_pTagServer)
        return E_FAIL;
    const CComBSTR owner(cstrOwner);
    CString key;
    void* ignored = nullptr;
    for (POSITION pos = m_mapTagIDs.GetStartPosition(); pos;) {
        m_mapTagIDs.GetNextAssoc(pos, key, ignored);
        const CComBSTR tag(key);
        const HRESULT hr = m_pTagServer->ClearTagRefInfo(tag, owner);
        if (hr != S_OK && hr != S_FALSE)
            return hr;
    }
    return S_OK;
}

// --- Stream form -----------------------------------------------------------------

HRESULT CRefObjList::Save(IStream* pStream)
{
    // The counts are signed 16-bit: a larger set cannot be written in this form.
    if (m_mapTagIDs.GetCount() > KEST_REFLIST_MAX_COUNT || m_mapObjIDs.GetCount() > KEST_REFLIST_MAX_COUNT ||
        m_mapSpecialObjIDs.GetCount() > KEST_REFLIST_MAX_COUNT)
        return E_FAIL;

    if (FAILED(SaveBool(kVersion, pStream)) || FAILED(SaveBool(CountOf(m_mapTagIDs), pStream)) ||
        FAILED(SaveTexts(m_mapTagIDs, pStream)) || FAILED(SaveBool(CountOf(m_mapObjIDs), pStream)))
        return E_FAIL;
    __int64 id = 0;
    void* ignored = nullptr;
    for (POSITION pos = m_mapObjIDs.GetStartPosition(); pos;) {
        m_mapObjIDs.GetNextAssoc(pos, id, ignored);
        ULONG written = 0;
        if (FAILED(pStream->Write(&id, sizeof id, &written)) || written != sizeof id)
            return E_FAIL;
    }
    if (FAILED(SaveBool(CountOf(m_mapSpecialObjIDs), pStream)) || FAILED(SaveTexts(m_mapSpecialObjIDs, pStream)))
        return E_FAIL;
    return S_OK;
}

HRESULT CRefObjList::Load(IStream* pStream)
{
    Reset();
    SHORT version = 0, count = 0;
    if (FAILED(LoadBool(version, pStream)))
        return E_FAIL;
    // The version is not tested: every version so far has this layout.
    if (FAILED(LoadBool(count, pStream)) || FAILED(LoadTexts(m_mapTagIDs, count, pStream)))
        return E_FAIL;

    if (FAILED(LoadBool(count, pStream)))
        return E_FAIL;
    // security: the count is from the stream; each identifier is read before
    // it is stored.
    for (SHORT i = 0; i < count; ++i) {
        __int64 id = 0;
        ULONG read = 0;
        if (FAILED(pStream->Read(&id, sizeof id, &read)) || read != sizeof id)
            return E_FAIL;
        m_mapObjIDs.SetAt(id, nullptr);
    }

    if (FAILED(LoadBool(count, pStream)) || FAILED(LoadTexts(m_mapSpecialObjIDs, count, pStream)))
        return E_FAIL;
    return S_OK;
}

// --- Block form ------------------------------------------------------------------

HRESULT CRefObjList::Save(CKESTSaveHelper& destination, LONG /*nReserved*/)
{
    const INT_PTR total = m_mapTagIDs.GetCount() + m_mapObjIDs.GetCount() + m_mapSpecialObjIDs.GetCount();
    // The entry count is signed 16-bit: more entries cannot be written.
    if (total > KEST_REFLIST_MAX_COUNT)
        return E_FAIL;

    CKESTSaveHelper payload;
    const SHORT entries = static_cast<SHORT>(total);
    if (FAILED(payload.KESTSave(&kVersion, sizeof kVersion)) || FAILED(payload.KESTSave(&entries, sizeof entries)) ||
        FAILED(SaveTextEntries(m_mapTagIDs, KEST_REFLIST_ENTRY_TAG, payload)))
        return E_FAIL;
    const WORD objectMark = KEST_REFLIST_ENTRY_OBJECT;
    __int64 id = 0;
    void* ignored = nullptr;
    for (POSITION pos = m_mapObjIDs.GetStartPosition(); pos;) {
        m_mapObjIDs.GetNextAssoc(pos, id, ignored);
        if (FAILED(payload.KESTSave(&objectMark, sizeof objectMark)) || FAILED(payload.KESTSaveINT64(id)))
            return E_FAIL;
    }
    if (FAILED(SaveTextEntries(m_mapSpecialObjIDs, KEST_REFLIST_ENTRY_SPECIAL, payload)))
        return E_FAIL;

    const LONG blockId = KEST_REFLIST_BLOCK_ID;
    const ULONG length = payload.KESTGetLength();
    if (FAILED(payload.KESTSaveBlockHeadMark(destination)) ||
        FAILED(payload.KESTSave(destination, &blockId, sizeof blockId)) ||
        FAILED(payload.KESTSave(destination, &length, sizeof length)) || FAILED(payload.KESTCopyData(destination)))
        return E_FAIL;
    return S_OK;
}

HRESULT CRefObjList::Load(CKESTLoadHelper& source, ULONG& nBytesLeft, int /*nReserved*/)
{
    Reset();
    SHORT version = 0, entries = 0;
    ULONG count = sizeof version;
    if (FAILED(source.KESTLoad(&version, count, nBytesLeft)))
        return E_FAIL;
    count = sizeof entries;
    if (FAILED(source.KESTLoad(&entries, count, nBytesLeft)))
        return E_FAIL;
    // security: the entry count is from the archive; every entry is read from
    // the block in turn, and every read is checked against the bytes left.
    for (SHORT i = 0; i < entries; ++i) {
        WORD mark = 0;
        count = sizeof mark;
        HRESULT hr = source.KESTLoad(&mark, count, nBytesLeft);
        if (FAILED(hr))
            return E_FAIL;
        // A short read (S_FALSE) is no failure: loading goes on, but a value
        // that came short is not added.
        switch (mark) {
        case KEST_REFLIST_ENTRY_TAG:
        case KEST_REFLIST_ENTRY_SPECIAL: {
            CString text;
            hr = source.KESTLoadCSTRING(text, nBytesLeft);
            if (hr == S_OK)
                (mark == KEST_REFLIST_ENTRY_TAG ? m_mapTagIDs : m_mapSpecialObjIDs).SetAt(text, nullptr);
            break;
        }
        case KEST_REFLIST_ENTRY_OBJECT: {
            __int64 id = 0;
            hr = source.KESTLoadINT64(id, nBytesLeft);
            if (hr == S_OK)
                m_mapObjIDs.SetAt(id, nullptr);
            break;
        }
        default:
            hr = source.KESTLoadAndIgnore(nBytesLeft);
            break;
        }
        if (FAILED(hr))
            return E_FAIL;
    }
    return S_OK;
}
