// The shared driver catalogue: counting its users, and building it by asking
// the host environment component and then every module of the driver folder.
#include <QNCatalogue.h>
#include <QNConfiguration.h>
#include <QNUtilityClass.h>
#include <afx/afxfind.h>
#include <afx/atlbase.h>

#include "catalogue/CatalogueBuilder.h"

#include <memory>
#include <new>

using qn::catalogue::CatalogueBuilder;
using qn::catalogue::CatalogueFolders;

int CDriverProtocolList::refcount = 0;
CDriverProtocolList* CDriverProtocolList::pList = nullptr;

namespace {

struct ModuleUnloader {
    void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleUnloader>;

// The environment component's answer, and the references it handed out; they
// are kept until the catalogue's construction ends.
struct EnvironmentQuery {
    CComPtr<IQNEnvironment> environment;
    CComPtr<IUnknown> service;
    CComPtr<IQNDriverService> driverService;

    // True when the scan may go on. Only the creation and the last call are
    // judged by their result codes; the two in between by the pointers they give.
    bool Run()
    {
        if (FAILED(::CoCreateInstance(CLSID_QNEnvironment, nullptr, CLSCTX_INPROC_SERVER, IID_IQNEnvironment,
                                      reinterpret_cast<void**>(&environment))) ||
            !environment)
            return false;
        environment->GetDriverService(&service);
        if (!service)
            return false;
        service->QueryInterface(IID_IQNDriverService, reinterpret_cast<void**>(&driverService));
        if (!driverService)
            return false;
        LONG state = 0;
        return SUCCEEDED(driverService->CheckDriverAccess(&state));
    }
};

// Reads one module: load, ask with `records` at their defaults, unload, then
// arrange what it gave.
void VisitModule(const CString& path, QNDriverRecord (&records)[QN_DRIVER_RECORD_COUNT], CatalogueBuilder& builder)
{
    // The module's path is kept in a field of 260 characters.
    if (path.GetLength() > QN_DRIVER_PATH_CHARS - 1)
        return;
    QNIODllInfosFn entry = nullptr;
    {
        UniqueModule module(::LoadLibraryW(path));
        if (!module)
            return;
        entry = reinterpret_cast<QNIODllInfosFn>(
            reinterpret_cast<void*>(::GetProcAddress(module.get(), QN_DRIVER_ENTRY_NAME)));
        if (!entry)
            return;
        qn::catalogue::InitDriverRecords(records, QN_DRIVER_RECORD_COUNT);
        entry(records);
    } // unloaded here, before anything it wrote is looked at
    const size_t count = qn::catalogue::CountRecords(records, QN_DRIVER_RECORD_COUNT);
    builder.AddModule(records, count, path);
}

// Deletes the manufacturers (and with them every entry) from the head, then
// the list.
void DestroyCatalogue(CList<CManNode*, CManNode*>*& list)
{
    if (!list)
        return;
    while (!list->IsEmpty())
        delete list->RemoveHead();
    delete list;
    list = nullptr;
}

} // namespace

CDriverProtocolList::CDriverProtocolList() : m_pIODLLList(new CList<CManNode*, CManNode*>(10))
{
    try {
        CString wbPath;
        CString runtimeRoot;
        (void)CQNUtility::GetWBPath(wbPath); // a key that cannot be opened leaves it empty
        fxhGetConfigurationStringValue(QN_REGVAL_RUNTIME_ROOT, runtimeRoot);
        const CatalogueFolders folders = qn::catalogue::MakeCatalogueFolders(wbPath, runtimeRoot);

        EnvironmentQuery query;
        if (!query.Run())
            return;

        CatalogueBuilder builder(*m_pIODLLList, folders.help, folders.runtime);
        // One set of records in this frame (105,000 bytes), reused for every module.
        QNDriverRecord records[QN_DRIVER_RECORD_COUNT];
        static_assert(sizeof records == 105000, "the records of one module's visit");
        CFileFind finder;
        BOOL more = finder.FindFile(qn::catalogue::DriverSearchPattern(folders));
        while (more) {
            more = finder.FindNextFile();
            VisitModule(finder.GetFilePath(), records, builder);
        }
        finder.Close();
        builder.AttachPending();
    } catch (...) {
        // Only the framework's memory exception gets here; it is passed on
        // once the entries built so far are gone.
        DestroyCatalogue(m_pIODLLList);
        throw;
    }
}

CDriverProtocolList::~CDriverProtocolList()
{
    DestroyCatalogue(m_pIODLLList);
}

CDriverProtocolList& CDriverProtocolList::operator=(const CDriverProtocolList& source)
{
    m_pIODLLList = source.m_pIODLLList;
    return *this;
}

CDriverProtocolList* CDriverProtocolList::GetDriverAndProtocolList()
{
    ++refcount;
    if (pList)
        return pList;
    pList = new (std::nothrow) CDriverProtocolList;
    return pList;
}

int CDriverProtocolList::Release()
{
    --refcount;
    if (refcount != 0)
        return refcount;
    delete pList;
    pList = nullptr;
    return 0;
}

const CList<CManNode*, CManNode*>* CDriverProtocolList::GetIODLLList() const
{
    return m_pIODLLList;
}
