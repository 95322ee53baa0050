// The catalogue's records and entries: defaults, the copy rules and the
// destruction of the entries through their lists.
#include <QNCatalogue.h>

#include "catalogue/CatalogueText.h"

using qn::catalogue::CopyText;

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
