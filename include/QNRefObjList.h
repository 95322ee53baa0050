// CRefObjList: what a screen object refers to (tag identifiers, 64-bit object
// identifiers and special object identifiers), saved and loaded with its owner
// in a COM stream or in a block, and the host's tag server, which is told to
// drop the owner's references.
#pragma once

#include <QNBlock.h>
#include <QNPlatform.h>
#include <QNResult.h>
#include <afx/afxcoll.h>
#include <afx/atlbase.h>
#include <afx/afxtempl.h>
#include <afx/afxstr.h>

// The host's tag server. The list calls one operation of it, the 55th method of
// the interface counting QueryInterface as the first; methods 4 to 54 are the
// host's own and are never called here. A replacement needs only that one.
struct IKESTTagServer : public IUnknown {
#define QN_TAGSERVER_HOST_METHOD(n) STDMETHOD(HostMethod##n)() PURE;
    QN_TAGSERVER_HOST_METHOD(04) QN_TAGSERVER_HOST_METHOD(05) QN_TAGSERVER_HOST_METHOD(06)
    QN_TAGSERVER_HOST_METHOD(07) QN_TAGSERVER_HOST_METHOD(08) QN_TAGSERVER_HOST_METHOD(09)
    QN_TAGSERVER_HOST_METHOD(10) QN_TAGSERVER_HOST_METHOD(11) QN_TAGSERVER_HOST_METHOD(12)
    QN_TAGSERVER_HOST_METHOD(13) QN_TAGSERVER_HOST_METHOD(14) QN_TAGSERVER_HOST_METHOD(15)
    QN_TAGSERVER_HOST_METHOD(16) QN_TAGSERVER_HOST_METHOD(17) QN_TAGSERVER_HOST_METHOD(18)
    QN_TAGSERVER_HOST_METHOD(19) QN_TAGSERVER_HOST_METHOD(20) QN_TAGSERVER_HOST_METHOD(21)
    QN_TAGSERVER_HOST_METHOD(22) QN_TAGSERVER_HOST_METHOD(23) QN_TAGSERVER_HOST_METHOD(24)
    QN_TAGSERVER_HOST_METHOD(25) QN_TAGSERVER_HOST_METHOD(26) QN_TAGSERVER_HOST_METHOD(27)
    QN_TAGSERVER_HOST_METHOD(28) QN_TAGSERVER_HOST_METHOD(29) QN_TAGSERVER_HOST_METHOD(30)
    QN_TAGSERVER_HOST_METHOD(31) QN_TAGSERVER_HOST_METHOD(32) QN_TAGSERVER_HOST_METHOD(33)
    QN_TAGSERVER_HOST_METHOD(34) QN_TAGSERVER_HOST_METHOD(35) QN_TAGSERVER_HOST_METHOD(36)
    QN_TAGSERVER_HOST_METHOD(37) QN_TAGSERVER_HOST_METHOD(38) QN_TAGSERVER_HOST_METHOD(39)
    QN_TAGSERVER_HOST_METHOD(40) QN_TAGSERVER_HOST_METHOD(41) QN_TAGSERVER_HOST_METHOD(42)
    QN_TAGSERVER_HOST_METHOD(43) QN_TAGSERVER_HOST_METHOD(44) QN_TAGSERVER_HOST_METHOD(45)
    QN_TAGSERVER_HOST_METHOD(46) QN_TAGSERVER_HOST_METHOD(47) QN_TAGSERVER_HOST_METHOD(48)
    QN_TAGSERVER_HOST_METHOD(49) QN_TAGSERVER_HOST_METHOD(50) QN_TAGSERVER_HOST_METHOD(51)
    QN_TAGSERVER_HOST_METHOD(52) QN_TAGSERVER_HOST_METHOD(53) QN_TAGSERVER_HOST_METHOD(54)
#undef QN_TAGSERVER_HOST_METHOD

    // Method 55: drops the references that the owner named `bstrOwner` holds on
    // the tag `bstrTagID`. S_OK or S_FALSE means done; anything else is an error.
    STDMETHOD(ClearTagRefInfo)(BSTR bstrTagID, BSTR bstrOwner) PURE;

protected:
    ~IKESTTagServer() = default;
};

// The hash of an object identifier: its low 32 bits shifted right by 4 (on
// every build; the framework's default would take bits 4 to 35 on x64).
template <> inline UINT AFXAPI HashKey<__int64>(__int64 key)
{
    return static_cast<UINT>(static_cast<DWORD>(key) >> 4);
}

// Block identifier of the reference list and the entry marks of its payload.
#define KEST_REFLIST_BLOCK_ID 2600
#define KEST_REFLIST_ENTRY_TAG 2601
#define KEST_REFLIST_ENTRY_OBJECT 2602
#define KEST_REFLIST_ENTRY_SPECIAL 2603
// The counts are signed 16-bit: each set holds at most this many items for the
// stream form, and the three together at most this many for the block form.
#define KEST_REFLIST_MAX_COUNT 32767

class QN_API CRefObjList {
public:
    // Three empty sets, no tag server.
    CRefObjList();
    // Releases the tag server if one is held.
    virtual ~CRefObjList();

    // Releases the server held and keeps a counted reference to the new one
    // (which may be null). S_OK.
    HRESULT Initialize(IKESTTagServer* pTagServer);
    // Empties the three sets; the tag server stays.
    void Reset();

    // Adding an item that is present changes nothing. Strings compare exactly.
    HRESULT AddTagID(CString cstrTagID);
    HRESULT AddObjID(__int64 nObjID);
    HRESULT AddSpecialObjID(CString cstrSpecialObjID);
    bool IsTagIDUsed(CString cstrTagID);
    bool IsObjIDUsed(__int64 nObjID);
    bool IsSpecialObjIDUsed(CString cstrSpecialObjID);

    // Tells the tag server, for each tag of the list, to drop the references of
    // the owner named `cstrOwner`. E_FAIL without a tag server; the first result
    // of the server other than S_OK and S_FALSE is returned at once. The sets
    // are not changed.
    HRESULT ClearRefInfo(CString cstrOwner);

    // The stream form: version 1 (2 bytes), tag count (2), tags (texts as
    // SaveBSTR writes them), object count (2), objects (8 bytes each), special
    // count (2), specials (texts). E_FAIL on any failure; Save writes nothing
    // when a set holds more than 32767 items. Load empties the sets first and
    // keeps what it read before a failure.
    HRESULT Save(IStream* pStream);
    HRESULT Load(IStream* pStream);

    // The block form: Save appends to `destination` the head mark, block
    // identifier 2600, the payload length and the payload: version 1 (2 bytes),
    // entry count (2 bytes), then per entry a 2-byte mark (2601 tag, 2602
    // object, 2603 special) and a typed value (CSTRING, INT64, CSTRING). E_FAIL
    // on any failure (the destination may then hold a partial block) or when
    // the sets together hold more than 32767 items (nothing written).
    // `nReserved` is not used.
    HRESULT Save(CKESTSaveHelper& destination, LONG nReserved);
    // Reads the payload of a block whose head mark, identifier and length the
    // caller has read; `nBytesLeft` is that length and is counted down, so it
    // tells afterwards how much of the block is left over. Entries with an
    // unknown mark are skipped. E_FAIL on any negative result; a short read
    // (S_FALSE) is not a failure, but a value that came short is not added.
    // `nReserved` is not used.
    HRESULT Load(CKESTLoadHelper& source, ULONG& nBytesLeft, int nReserved);

    // The sets (all values null) and the tag server. Read them, change them only
    // through the operations above.
    CMapStringToPtr m_mapTagIDs;
    CMap<__int64, __int64, void*, void*> m_mapObjIDs;
    CMapStringToPtr m_mapSpecialObjIDs;
    CComPtr<IKESTTagServer> m_pTagServer;

    CRefObjList(const CRefObjList&) = delete;
    CRefObjList& operator=(const CRefObjList&) = delete;
};
