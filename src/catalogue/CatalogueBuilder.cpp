// Arranging driver records into manufacturers, listed and attached entries.
#include "catalogue/CatalogueBuilder.h"

#include "catalogue/CatalogueText.h"

#include <cstring>
#include <memory>

namespace qn::catalogue {
namespace {

// security: every text of the record comes from a driver module; a text
// without its terminator would make every later copy run past its field.
bool AllTextsTerminated(const QNDriverRecord& record)
{
    return IsTerminated(record.m_szName) && IsTerminated(record.m_szModule) && IsTerminated(record.m_szHelpFile) &&
           IsTerminated(record.m_szText1) && IsTerminated(record.m_szChildName) && IsTerminated(record.m_szText2);
}

// The record's fields into an entry's record, by the copy rules of CDLLinfo
// (bits 10 to 31 are not carried). The texts are terminated (checked).
void CopyFromDriver(CDLLinfo& to, const QNDriverRecord& from)
{
    to.m_nID = from.m_nID;
    to.m_nKind = from.m_nKind;
    to.m_nParam = from.m_nParam;
    CopyText(to.m_szName, from.m_szName);
    CopyText(to.m_szModule, from.m_szModule);
    CopyText(to.m_szHelpFile, from.m_szHelpFile);
    CopyText(to.m_szText1, from.m_szText1);
    CopyText(to.m_szChildName, from.m_szChildName);
    to.m_nValue = from.m_nValue;
    CopyText(to.m_szText2, from.m_szText2);
    const uint32_t bits = from.m_nBits;
    to.m_nMode = bits & QN_DRIVER_MODE_MASK;
    to.m_bFlag2 = (bits >> 2) & 1u;
    to.m_bFlag3 = (bits >> 3) & 1u;
    to.m_bFlag4 = (bits >> 4) & 1u;
    to.m_bFlag5 = (bits >> 5) & 1u;
    to.m_bFlag6 = (bits >> 6) & 1u;
    to.m_bFlag7 = (bits >> 7) & 1u;
    to.m_bFlag8 = (bits >> 8) & 1u;
    to.m_bFlag9 = (bits >> 9) & 1u;
    to.m_wParam1 = from.m_wParam1;
    to.m_wParam2 = from.m_wParam2;
    to.m_wParam3 = from.m_wParam3;
    to.m_wParam4 = from.m_wParam4;
    to.m_wParam5 = from.m_wParam5;
    to.m_wFlags = from.m_wFlags;
}

// folder + text into `field`, or false (field untouched) when the joined path
// would need more than N - 1 characters.
template <size_t N> bool JoinInto(WCHAR (&field)[N], const CString& folder, const WCHAR (&text)[N])
{
    const size_t folderLength = static_cast<size_t>(folder.GetLength());
    const size_t textLength = BoundedLength(text, N);
    if (folderLength + textLength > N - 1)
        return false;
    WCHAR joined[N] = {};
    std::memcpy(joined, static_cast<LPCWSTR>(folder), folderLength * sizeof(WCHAR));
    std::memcpy(joined + folderLength, text, textLength * sizeof(WCHAR));
    CopyText(field, joined);
    return true;
}

void SetPath(WCHAR (&field)[QN_DRIVER_PATH_CHARS], LPCWSTR path, size_t length)
{
    std::memcpy(field, path, length * sizeof(WCHAR));
    field[length] = 0;
}

} // namespace

void InitDriverRecords(QNDriverRecord* records, size_t count)
{
    static const char kDefaultHelpFile[] = "Orvista.chm";
    for (size_t i = 0; i < count; ++i) {
        QNDriverRecord& record = records[i];
        std::memset(&record, 0, sizeof record);
        for (size_t c = 0; kDefaultHelpFile[c]; ++c)
            record.m_szHelpFile[c] = static_cast<QNDriverChar>(kDefaultHelpFile[c]);
        record.m_nBits = QN_DRIVER_BITS_DEFAULT;
        record.m_wParam1 = 100;
        record.m_wParam2 = 50;
        record.m_wParam3 = 50;
        record.m_wParam4 = 20;
        record.m_wParam5 = 0;
        record.m_wFlags = QN_DRIVER_LISTED;
    }
}

size_t CountRecords(const QNDriverRecord* records, size_t count)
{
    size_t filled = 0;
    while (filled < count && records[filled].m_nID > 0)
        ++filled;
    return filled;
}

CatalogueBuilder::CatalogueBuilder(ManufacturerList& manufacturers, const CString& helpFolder,
                                   const CString& runtimeFolder)
    : m_manufacturers(manufacturers), m_helpFolder(helpFolder), m_runtimeFolder(runtimeFolder)
{
}

bool CatalogueBuilder::JoinPaths(CDLLinfo& info) const
{
    // JoinInto builds the joined text aside, so a field can be its own source.
    return JoinInto(info.m_szModule, m_runtimeFolder, info.m_szModule) &&
           JoinInto(info.m_szHelpFile, m_helpFolder, info.m_szHelpFile);
}

CManNode& CatalogueBuilder::Manufacturer(const CDLLinfo& info)
{
    for (POSITION pos = m_manufacturers.GetHeadPosition(); pos;) {
        CManNode* manufacturer = m_manufacturers.GetNext(pos);
        if (TextEquals(manufacturer->m_szManufacturer, info.m_szName))
            return *manufacturer;
    }
    auto manufacturer = std::make_unique<CManNode>();
    CopyText(manufacturer->m_szManufacturer, info.m_szName);
    m_manufacturers.AddTail(manufacturer.get());
    return *manufacturer.release();
}

void CatalogueBuilder::AddModule(const QNDriverRecord* records, size_t count, LPCWSTR modulePath, RecordFate* fates)
{
    const size_t pathLength = BoundedLength(modulePath, QN_DRIVER_PATH_CHARS);
    if (pathLength >= QN_DRIVER_PATH_CHARS)
        return;
    for (size_t i = 0; i < count; ++i) {
        const QNDriverRecord& record = records[i];
        RecordFate fate;
        if (!(record.m_wFlags & QN_DRIVER_LISTED)) {
            fate = RecordFate::kNotListed;
        } else if (record.m_nKind != QN_DRIVER_KIND_ATTACHED && record.m_nKind != QN_DRIVER_KIND_LISTED) {
            fate = RecordFate::kOtherKind;
        } else if (!AllTextsTerminated(record)) {
            fate = RecordFate::kUnterminated;
        } else if (record.m_nKind == QN_DRIVER_KIND_ATTACHED) {
            CPCLnode pending;
            CopyFromDriver(pending.m_Info, record);
            SetPath(pending.m_szDLLPath, modulePath, pathLength);
            m_pending.AddTail(pending);
            fate = RecordFate::kPending;
        } else {
            auto entry = std::make_unique<COVLnode>();
            CopyFromDriver(entry->m_Info, record);
            SetPath(entry->m_szDLLPath, modulePath, pathLength);
            if (JoinPaths(entry->m_Info)) {
                Manufacturer(entry->m_Info).m_OVLList.AddTail(entry.get());
                entry.release();
                fate = RecordFate::kListed;
            } else {
                fate = RecordFate::kPathTooLong;
            }
        }
        if (fates)
            fates[i] = fate;
    }
}

size_t CatalogueBuilder::AttachPending()
{
    size_t attached = 0;
    while (!m_pending.IsEmpty()) {
        const CPCLnode pending = m_pending.RemoveHead();
        COVLnode* parent = nullptr;
        for (POSITION man = m_manufacturers.GetHeadPosition(); man && !parent;) {
            const CManNode* manufacturer = m_manufacturers.GetNext(man);
            for (POSITION pos = manufacturer->m_OVLList.GetHeadPosition(); pos;) {
                COVLnode* listed = manufacturer->m_OVLList.GetNext(pos);
                if (TextEquals(listed->m_Info.m_szChildName, pending.m_Info.m_szName)) {
                    parent = listed;
                    break;
                }
            }
        }
        if (!parent)
            continue;
        auto entry = std::make_unique<CPCLnode>(pending);
        if (!JoinPaths(entry->m_Info))
            continue;
        parent->m_PCLList.AddTail(entry.get());
        entry.release();
        ++attached;
    }
    return attached;
}

CatalogueFolders MakeCatalogueFolders(const CString& wbPath, const CString& runtimeRoot)
{
    CatalogueFolders folders;
    folders.help = wbPath + _T("\\Help") + _T("\\");
    folders.runtime = runtimeRoot + _T("\\Bin") + _T("\\");
    folders.drivers = wbPath + _T("\\HMI IO") + _T("\\");
    return folders;
}

CString DriverSearchPattern(const CatalogueFolders& folders)
{
    return folders.drivers + _T("\\*.DLL");
}

} // namespace qn::catalogue
