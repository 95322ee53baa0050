// Arranging driver records into the catalogue tree (portable: no module
// loading here). The scan in win32/DriverProtocolList.cpp feeds it each
// module's records; tests and the fuzz target feed it records directly.
//
//   CatalogueBuilder builder(list, helpFolder, runtimeFolder);
//   for each module: builder.AddModule(records, QN_DRIVER_RECORD_COUNT, modulePath);
//   builder.AttachPending();
#pragma once

#include <QNCatalogue.h>
#include <afx/afxstr.h>

#include <cstddef>

namespace qn::catalogue {

using ManufacturerList = CList<CManNode*, CManNode*>;

// Sets `count` records to their defaults (the first four bytes to zero).
void InitDriverRecords(QNDriverRecord* records, size_t count);

// The records a module gave: those with a positive m_nID from the first on,
// at most `count`.
size_t CountRecords(const QNDriverRecord* records, size_t count);

// Why a record a module gave is not in the catalogue (for diagnostics and tests).
enum class RecordFate {
    kListed,       // kind 2: appended under its manufacturer
    kPending,      // kind 1: held until AttachPending
    kNotListed,    // the QN_DRIVER_LISTED bit of m_wFlags is clear
    kOtherKind,    // neither kind 1 nor kind 2
    kUnterminated, // a text without a terminator in its field
    kPathTooLong,  // a folder joined with m_szModule or m_szHelpFile would exceed 259 characters
};

class CatalogueBuilder {
public:
    // `manufacturers` receives the tree (it may already hold entries).
    // The folders end with their separator; each is joined with the records' texts.
    CatalogueBuilder(ManufacturerList& manufacturers, const CString& helpFolder, const CString& runtimeFolder);

    CatalogueBuilder(const CatalogueBuilder&) = delete;
    CatalogueBuilder& operator=(const CatalogueBuilder&) = delete;

    // Takes the counted records of one module (CountRecords) in array order.
    // `modulePath` is the module's full path; a path of more than 259
    // characters adds nothing. `fates`, when given, receives one value per
    // counted record.
    void AddModule(const QNDriverRecord* records, size_t count, LPCWSTR modulePath, RecordFate* fates = nullptr);

    // Attaches every pending entry to the first listed entry (manufacturers
    // and their entries from the head) whose m_szChildName is the entry's
    // m_szName; drops those that match none, or whose joined paths would not
    // fit. Returns the number attached.
    size_t AttachPending();

    INT_PTR PendingCount() const { return m_pending.GetCount(); }

private:
    bool JoinPaths(CDLLinfo& info) const;
    CManNode& Manufacturer(const CDLLinfo& info);

    ManufacturerList& m_manufacturers;
    CList<CPCLnode, CPCLnode&> m_pending{10};
    CString m_helpFolder;
    CString m_runtimeFolder;
};

// The three folders of the catalogue, each ending with a separator.
struct CatalogueFolders {
    CString help;    // "WbPath" + "\Help" + "\"
    CString runtime; // "Runtime Root" + "\Bin" + "\"
    CString drivers; // "WbPath" + "\HMI IO" + "\"
};
CatalogueFolders MakeCatalogueFolders(const CString& wbPath, const CString& runtimeRoot);

// The search pattern of the scan: the driver folder + "\*.DLL".
CString DriverSearchPattern(const CatalogueFolders& folders);

} // namespace qn::catalogue
