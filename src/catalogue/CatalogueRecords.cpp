// The catalogue's records and entries: defaults, the copy rules and the
// destruction of the entries through their lists.
#include <QNCatalogue.h>

#include "catalogue/CatalogueText.h"

#include <cstddef>

using qn::catalogue::CopyText;

// The layouts hosts and driver modules compile against. Each class has a
// virtual table pointer first; the fields follow in declaration order. The
// record's fields sit at their record offsets moved by the pointer's size
// (offset 4 is the pointer in a 32-bit record).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
constexpr size_t RecordField(size_t recordOffset) { return sizeof(void*) + recordOffset - 4; }
static_assert(offsetof(CDLLinfo, m_nID) == RecordField(4) && offsetof(CDLLinfo, m_nKind) == RecordField(8) &&
                  offsetof(CDLLinfo, m_nParam) == RecordField(12) && offsetof(CDLLinfo, m_szName) == RecordField(16) &&
                  offsetof(CDLLinfo, m_szModule) == RecordField(272) &&
                  offsetof(CDLLinfo, m_szHelpFile) == RecordField(792) &&
                  offsetof(CDLLinfo, m_szText1) == RecordField(1312) &&
                  offsetof(CDLLinfo, m_szChildName) == RecordField(1568) &&
                  offsetof(CDLLinfo, m_nValue) == RecordField(1824) && offsetof(CDLLinfo, m_szText2) == RecordField(1828) &&
                  offsetof(CDLLinfo, m_wParam1) == RecordField(2088) && offsetof(CDLLinfo, m_wFlags) == RecordField(2098),
              "CDLLinfo fields at the record's offsets");
static_assert(offsetof(CPCLnode, m_Info) == sizeof(void*) &&
                  offsetof(CPCLnode, m_szDLLPath) == sizeof(void*) + sizeof(CDLLinfo) &&
                  sizeof(CPCLnode) == sizeof(void*) + sizeof(CDLLinfo) + sizeof(CPCLnode::m_szDLLPath),
              "CPCLnode layout");
static_assert(offsetof(COVLnode, m_Info) == sizeof(void*) &&
                  offsetof(COVLnode, m_szDLLPath) == sizeof(void*) + sizeof(CDLLinfo) &&
                  offsetof(COVLnode, m_PCLList) == sizeof(void*) + sizeof(CDLLinfo) + sizeof(COVLnode::m_szDLLPath),
              "COVLnode layout");
static_assert(offsetof(CManNode, m_szManufacturer) == sizeof(void*) &&
                  offsetof(CManNode, m_OVLList) == sizeof(void*) + sizeof(CManNode::m_szManufacturer),
              "CManNode layout");
#pragma GCC diagnostic pop

// ---------------------------------------------------------------------------
// CDLLinfo

CDLLinfo::CDLLinfo()
    : m_nID(0), m_nKind(0), m_nParam(0), m_szName{}, m_szModule{}, m_szHelpFile{}, m_szText1{}, m_szChildName{},
      m_nValue(0), m_szText2{}, m_nMode(0), m_bFlag2(1), m_bFlag3(1), m_bFlag4(1), m_bFlag5(0), m_bFlag6(1),
      m_bFlag7(0), m_bFlag8(1), m_bFlag9(0), m_nReserved(0), m_wParam1(100), m_wParam2(50), m_wParam3(50), m_wParam4(20),
      m_wParam5(0), m_wFlags(QN_DRIVER_LISTED)
{
    static const wchar_t kDefaultHelpFile[] = L"Orvista.chm";
    for (size_t i = 0; kDefaultHelpFile[i]; ++i)
        m_szHelpFile[i] = static_cast<WCHAR>(kDefaultHelpFile[i]);
}

CDLLinfo::CDLLinfo(const CDLLinfo& source) : CDLLinfo()
{
    *this = source;
}

CDLLinfo& CDLLinfo::operator=(const CDLLinfo& source)
{
    if (this == &source)
        return *this;
    m_nID = source.m_nID;
    m_nKind = source.m_nKind;
    m_nParam = source.m_nParam;
    CopyText(m_szName, source.m_szName);
    CopyText(m_szModule, source.m_szModule);
    CopyText(m_szHelpFile, source.m_szHelpFile);
    CopyText(m_szText1, source.m_szText1);
    CopyText(m_szChildName, source.m_szChildName);
    m_nValue = source.m_nValue;
    CopyText(m_szText2, source.m_szText2);
    m_nMode = source.m_nMode;
    m_bFlag2 = source.m_bFlag2;
    m_bFlag3 = source.m_bFlag3;
    m_bFlag4 = source.m_bFlag4;
    m_bFlag5 = source.m_bFlag5;
    m_bFlag6 = source.m_bFlag6;
    m_bFlag7 = source.m_bFlag7;
    m_bFlag8 = source.m_bFlag8;
    m_bFlag9 = source.m_bFlag9;
    m_wParam1 = source.m_wParam1;
    m_wParam2 = source.m_wParam2;
    m_wParam3 = source.m_wParam3;
    m_wParam4 = source.m_wParam4;
    m_wParam5 = source.m_wParam5;
    m_wFlags = source.m_wFlags;
    return *this;
}

CDLLinfo::~CDLLinfo() = default;

// ---------------------------------------------------------------------------
// CPCLnode

CPCLnode::CPCLnode() : m_szDLLPath{} {}

CPCLnode::CPCLnode(const CPCLnode& source) : CPCLnode()
{
    *this = source;
}

CPCLnode& CPCLnode::operator=(const CPCLnode& source)
{
    if (this == &source)
        return *this;
    m_Info = source.m_Info;
    CopyText(m_szDLLPath, source.m_szDLLPath);
    return *this;
}

CPCLnode::~CPCLnode() = default;

// ---------------------------------------------------------------------------
// COVLnode

COVLnode::COVLnode() : m_szDLLPath{} {}

COVLnode::COVLnode(const COVLnode& source) : m_Info(source.m_Info), m_szDLLPath{}
{
    CopyText(m_szDLLPath, source.m_szDLLPath);
}

COVLnode& COVLnode::operator=(const COVLnode& source)
{
    if (this == &source)
        return *this;
    m_Info = source.m_Info;
    CopyText(m_szDLLPath, source.m_szDLLPath);
    return *this;
}

COVLnode::~COVLnode()
{
    while (!m_PCLList.IsEmpty())
        delete m_PCLList.RemoveHead();
    m_PCLList.RemoveAll();
}

// ---------------------------------------------------------------------------
// CManNode

CManNode::CManNode() : m_szManufacturer{} {}

CManNode::CManNode(const CManNode& source) : m_szManufacturer{}
{
    CopyText(m_szManufacturer, source.m_szManufacturer);
}

CManNode& CManNode::operator=(const CManNode& source)
{
    if (this == &source)
        return *this;
    CopyText(m_szManufacturer, source.m_szManufacturer);
    return *this;
}

CManNode::~CManNode()
{
    while (!m_OVLList.IsEmpty())
        delete m_OVLList.RemoveHead();
    m_OVLList.RemoveAll();
}
