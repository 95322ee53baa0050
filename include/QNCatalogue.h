// The driver catalogue: the entries built from the records that the installed
// driver modules give (QNDriverRecord.h), and the shared catalogue object.
//
//   CDriverProtocolList* catalogue = CDriverProtocolList::GetDriverAndProtocolList();
//   const CList<CManNode*, CManNode*>* manufacturers = catalogue->GetIODLLList();
//   ... walk manufacturers, each m_OVLList and each entry's m_PCLList ...
//   catalogue->Release();
//
// Tree: manufacturers (CManNode, in the order their first listed entry was
// met), their listed entries (COVLnode, in the order met: modules in the
// directory search's order, records in array order) and the entries attached
// to each (CPCLnode). In the entries, m_szModule and m_szHelpFile hold full
// paths (runtime "Bin" folder and help folder joined with the module's text)
// and m_szDLLPath the driver module that gave the record.
//
// Copies: an entry copied by a host is the host's own; copies never take the
// source's attached or listed entries, and never carry bits 10 to 31 of the
// record's bit field (the destination keeps its own).
#pragma once

#include <QNDriverRecord.h>
#include <QNPlatform.h>
#include <afx/afxtempl.h>

// ---------------------------------------------------------------------------
// Records

// A driver record inside the library: the fields of QNDriverRecord after the
// object's own dispatch pointer. Not exported; hosts read it inside entries.
class CDLLinfo {
public:
    // Every field at its default (see QNDriverRecord.h); texts zero over their
    // whole capacity; bits 10 to 31 of the bit field clear.
    CDLLinfo();
    // As the default constructor, then assigned from `source`.
    CDLLinfo(const CDLLinfo& source);
    // Copies the fields in record order: texts up to their terminator, the ten
    // used bits of the bit field one by one (bits 10 to 31 stay as they are).
    // Self-assignment changes nothing.
    CDLLinfo& operator=(const CDLLinfo& source);
    virtual ~CDLLinfo();

    int32_t m_nID;
    int32_t m_nKind;
    int32_t m_nParam;
    WCHAR m_szName[QN_DRIVER_NAME_CHARS];
    WCHAR m_szModule[QN_DRIVER_PATH_CHARS];
    WCHAR m_szHelpFile[QN_DRIVER_PATH_CHARS];
    WCHAR m_szText1[QN_DRIVER_NAME_CHARS];
    WCHAR m_szChildName[QN_DRIVER_NAME_CHARS];
    int32_t m_nValue;
    WCHAR m_szText2[QN_DRIVER_NAME_CHARS];
    uint32_t m_nMode : 2;
    uint32_t m_bFlag2 : 1;
    uint32_t m_bFlag3 : 1;
    uint32_t m_bFlag4 : 1;
    uint32_t m_bFlag5 : 1;
    uint32_t m_bFlag6 : 1;
    uint32_t m_bFlag7 : 1;
    uint32_t m_bFlag8 : 1;
    uint32_t m_bFlag9 : 1;
    uint32_t m_nReserved : 22; // bits 10 to 31: no field of the record; copies never carry them
    uint16_t m_wParam1;
    uint16_t m_wParam2;
    uint16_t m_wParam3;
    uint16_t m_wParam4;
    uint16_t m_wParam5;
    uint16_t m_wFlags;
};

// The fields follow the dispatch pointer without a gap: on 32-bit Windows the
// object is the driver record byte for byte.
static_assert(sizeof(CDLLinfo) == sizeof(void*) + QN_DRIVER_RECORD_SIZE - 4, "CDLLinfo fields are packed as the record");

// An attached entry. Owns nothing.
class QN_API CPCLnode {
public:
    CPCLnode(); // record at its defaults, empty path
    CPCLnode(const CPCLnode& source);
    CPCLnode& operator=(const CPCLnode& source); // record and path
    virtual ~CPCLnode();

    CDLLinfo m_Info;
    WCHAR m_szDLLPath[QN_DRIVER_PATH_CHARS]; // the driver module that gave the record
};

// A listed entry. Owns its attached entries.
class QN_API COVLnode {
public:
    COVLnode();
    // Record and path; the attached entries of the source are not copied.
    COVLnode(const COVLnode& source);
    // Record and path; this entry's attached entries stay as they are.
    COVLnode& operator=(const COVLnode& source);
    // Deletes the attached entries.
    virtual ~COVLnode();

    CDLLinfo m_Info;
    WCHAR m_szDLLPath[QN_DRIVER_PATH_CHARS];
    CList<CPCLnode*, CPCLnode*> m_PCLList;
};

// A manufacturer. Owns its listed entries.
class QN_API CManNode {
public:
    CManNode();
    // The name only; the listed entries of the source are not copied.
    CManNode(const CManNode& source);
    // The name only; this manufacturer's listed entries stay as they are.
    CManNode& operator=(const CManNode& source);
    // Deletes the listed entries (and through them their attached entries).
    virtual ~CManNode();

    WCHAR m_szManufacturer[QN_DRIVER_NAME_CHARS]; // exactly as the records give it
    CList<COVLnode*, COVLnode*> m_OVLList;
};

// ---------------------------------------------------------------------------
// The host environment component, asked before the driver folder is scanned:
// an in-process class CLSID_QNEnvironment with the interface IQNEnvironment.
// The catalogue calls IQNEnvironment::GetDriverService (the 18th method,
// counting IUnknown's three), asks the object it gives for
// IQNDriverService and calls IQNDriverService::CheckDriverAccess (the 15th
// method). The scan goes on only when the class can be created, both
// pointers are non-null and CheckDriverAccess returns a success code; the
// value it delivers is not used. The methods before those are the
// component's own and are never called by the library.

// {57B81659-C74D-4D19-9580-92959E21EAE5}
inline constexpr CLSID CLSID_QNEnvironment = {
    0x57B81659, 0xC74D, 0x4D19, {0x95, 0x80, 0x92, 0x95, 0x9E, 0x21, 0xEA, 0xE5}};
// {E1F9CDFF-EF3E-419F-B1D9-46E013F68CC8}
inline constexpr IID IID_IQNEnvironment = {
    0xE1F9CDFF, 0xEF3E, 0x419F, {0xB1, 0xD9, 0x46, 0xE0, 0x13, 0xF6, 0x8C, 0xC8}};
// {C14059AA-9075-4C2E-9E70-AD70C7329069}
inline constexpr IID IID_IQNDriverService = {
    0xC14059AA, 0x9075, 0x4C2E, {0x9E, 0x70, 0xAD, 0x70, 0xC7, 0x32, 0x90, 0x69}};

#define QN_ENVIRONMENT_OWN_METHOD(n) STDMETHOD(OwnMethod##n)() PURE;

struct IQNEnvironment : public IUnknown {
    QN_ENVIRONMENT_OWN_METHOD(04) QN_ENVIRONMENT_OWN_METHOD(05) QN_ENVIRONMENT_OWN_METHOD(06)
    QN_ENVIRONMENT_OWN_METHOD(07) QN_ENVIRONMENT_OWN_METHOD(08) QN_ENVIRONMENT_OWN_METHOD(09)
    QN_ENVIRONMENT_OWN_METHOD(10) QN_ENVIRONMENT_OWN_METHOD(11) QN_ENVIRONMENT_OWN_METHOD(12)
    QN_ENVIRONMENT_OWN_METHOD(13) QN_ENVIRONMENT_OWN_METHOD(14) QN_ENVIRONMENT_OWN_METHOD(15)
    QN_ENVIRONMENT_OWN_METHOD(16) QN_ENVIRONMENT_OWN_METHOD(17)
    // Method 18: the object that answers for the installed drivers (a new
    // reference, owned by the caller).
    STDMETHOD(GetDriverService)(IUnknown** ppService) PURE;

protected:
    ~IQNEnvironment() = default;
};

struct IQNDriverService : public IUnknown {
    QN_ENVIRONMENT_OWN_METHOD(04) QN_ENVIRONMENT_OWN_METHOD(05) QN_ENVIRONMENT_OWN_METHOD(06)
    QN_ENVIRONMENT_OWN_METHOD(07) QN_ENVIRONMENT_OWN_METHOD(08) QN_ENVIRONMENT_OWN_METHOD(09)
    QN_ENVIRONMENT_OWN_METHOD(10) QN_ENVIRONMENT_OWN_METHOD(11) QN_ENVIRONMENT_OWN_METHOD(12)
    QN_ENVIRONMENT_OWN_METHOD(13) QN_ENVIRONMENT_OWN_METHOD(14)
    // Method 15: a success code lets the driver scan go on; *pnState is the
    // component's own value.
    STDMETHOD(CheckDriverAccess)(LONG* pnState) PURE;

protected:
    ~IQNDriverService() = default;
};

#undef QN_ENVIRONMENT_OWN_METHOD

// ---------------------------------------------------------------------------
// The shared catalogue

class QN_API CDriverProtocolList {
public:
    // Counts one more user and returns the catalogue, building it on the first
    // call (and on the first call after the last Release). Null only when the
    // object cannot be allocated; the count is raised in every case.
    static CDriverProtocolList* GetDriverAndProtocolList();
    // Counts one user less and returns the new count. When it reaches 0 the
    // shared catalogue (pList, whatever object this is called on) is
    // destroyed. A Release without a matching request drives the count below
    // zero and destroys nothing.
    int Release();
    // The manufacturers; owned by the catalogue.
    const CList<CManNode*, CManNode*>* GetIODLLList() const;

    // Builds the catalogue from the driver folder. Never fails: a missing
    // folder, a failed environment query or a bad module gives fewer entries.
    // COM must be initialised on the calling thread.
    CDriverProtocolList();
    ~CDriverProtocolList();
    // Shares `source`'s list (the pointer only): the catalogue in pList stays
    // its owner, so this object must not be destroyed while it refers to it.
    CDriverProtocolList& operator=(const CDriverProtocolList& source);
    CDriverProtocolList(const CDriverProtocolList&) = delete;

    CList<CManNode*, CManNode*>* m_pIODLLList;

    static int refcount;                  // outstanding requests
    static CDriverProtocolList* pList;    // the shared catalogue, or null
};
