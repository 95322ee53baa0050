// The shared catalogue under Wine: the driver folder scanned with real driver
// modules (tests/fixtures/drivers), the environment component registered as an
// installer would (tests/fixtures/environment), the folders read from the
// registry; counting of the catalogue's users.
#include "../catalogue_Support.h"

#include <fixtures/environment/Environment.h>
#include <support/win32/RegistrySandbox.h>
#include <support/win32/TempTree.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::string Narrow(const std::wstring& text)
{
    return cattest::Narrow(text.c_str(), text.size());
}

const wchar_t kInstallKey[] = L"SOFTWARE\\Varnholt\\Quillon\\Install";
const wchar_t kConfigurationKey[] = L"SOFTWARE\\Varnholt\\Quillon\\Configuration";

template <class Fn> Fn Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Each test: COM on this thread, the environment component registered, an
// installation folder in a temporary tree named by "WbPath" and "Runtime Root".
class CatalogueScan : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        m_environment = ::LoadLibraryW((ExeFolder() + kEnvironmentFileName).c_str());
        ASSERT_NE(m_environment, nullptr) << "environment.dll is built beside the tests";
        ASSERT_EQ(Export<HRESULT(WINAPI*)()>(m_environment, "DllRegisterServer")(), S_OK);
        Configure(kEnvironmentWorks);
        ASSERT_TRUE(::CreateDirectoryW(DriverFolder().c_str(), nullptr));
        RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kInstallKey, L"WbPath", m_tree.Root());
        RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kConfigurationKey, L"Runtime Root", m_tree / L"rt");
    }
    void TearDown() override
    {
        EXPECT_EQ(CDriverProtocolList::refcount, 0);
        EXPECT_EQ(CDriverProtocolList::pList, nullptr);
        if (m_environment) {
            EXPECT_EQ(Export<HRESULT(WINAPI*)()>(m_environment, "DllUnregisterServer")(), S_OK);
        }
        ::CoUninitialize();
        // m_environment stays loaded: COM may still hold the module.
    }

    std::wstring DriverFolder() const { return m_tree / L"HMI IO"; }
    void Install(const std::wstring& file) const
    {
        ASSERT_TRUE(::CopyFileW((ExeFolder() + L"drivers\\" + file).c_str(), (DriverFolder() + L"\\" + file).c_str(),
                                FALSE))
            << Narrow(file);
    }
    // The files of the driver folder in the order of the directory search.
    std::vector<std::string> SearchOrder() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((DriverFolder() + L"\\*.DLL").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(Narrow(found.cFileName));
        while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }

    void Configure(LONG failure) const { Export<EnvironmentConfigureFn>(m_environment, "EnvironmentConfigure")(failure); }
    std::string Trace() const
    {
        wchar_t text[256] = {};
        Export<EnvironmentTraceFn>(m_environment, "EnvironmentTrace")(text, 256);
        return Narrow(text);
    }
    LONG LiveObjects() const { return Export<EnvironmentLiveObjectsFn>(m_environment, "EnvironmentLiveObjects")(); }

    // The catalogue built now, rendered with the folders written as <rt>,
    // <help> and <drv>.
    std::string Build() const
    {
        CDriverProtocolList* catalogue = CDriverProtocolList::GetDriverAndProtocolList();
        if (!catalogue)
            return "<no catalogue>";
        const CList<CManNode*, CManNode*>* list = catalogue->GetIODLLList();
        std::string text = list ? cattest::Render(*list) : "<no list>";
        EXPECT_EQ(catalogue->Release(), 0);
        const std::pair<std::string, std::string> folders[] = {
            {Narrow(m_tree / L"rt\\Bin\\"), "<rt>"},
            {Narrow(m_tree / L"Help\\"), "<help>"},
            {Narrow(DriverFolder() + L"\\"), "<drv>"},
        };
        for (const auto& [folder, mark] : folders)
            for (size_t at; (at = text.find(folder)) != std::string::npos;)
                text.replace(at, folder.size(), mark);
        return text;
    }

    HMODULE m_environment = nullptr;
    InstallationSandbox m_sandbox;
    TempTree m_tree;
};

struct ScanCase {
    const char* what;
    std::vector<const wchar_t*> files;
    std::string tree;
};

const ScanCase kScanCases[] = {
    {"an empty driver folder", {}, ""},
    {"one record; its named child is not installed",
     {L"one_record.dll"},
     "Acme(<rt>acme_rt.dll <help>acme.chm <drv>one_record.dll)"},
    {"three records, then an identifier 0 ends the list",
     {L"three_then_zero.dll"},
     "Brill(<rt>b1.dll <help>Orvista.chm <drv>three_then_zero.dll; <rt>b2.dll <help>Orvista.chm "
     "<drv>three_then_zero.dll; <rt>b3.dll <help>Orvista.chm <drv>three_then_zero.dll)"},
    {"a cleared listed bit and an unknown kind are skipped",
     {L"flag_cleared.dll"},
     "Cobalt(<rt>shown.dll <help>Orvista.chm <drv>flag_cleared.dll)"},
    {"ACME and Acme are two manufacturers",
     {L"acme_case.dll"},
     "ACME(<rt>upper.dll <help>Orvista.chm <drv>acme_case.dll) | Acme(<rt>lower.dll <help>Orvista.chm "
     "<drv>acme_case.dll)"},
    {"a child named by two listed entries goes to the first",
     {L"two_parents.dll"},
     "Delta(<rt>p1.dll <help>Orvista.chm <drv>two_parents.dll{<rt>serial.dll <help>serial.chm "
     "<drv>two_parents.dll}; <rt>p2.dll <help>Orvista.chm <drv>two_parents.dll)"},
    {"an unmatched child is dropped", {L"unmatched_child.dll"}, ""},
    {"records with an unterminated text are skipped",
     {L"unterminated.dll"},
     "Echo(<rt>good.dll <help>Orvista.chm <drv>unterminated.dll)"},
    {"a module name too long for the runtime folder skips the record",
     {L"overlong_module.dll"},
     "Foxtrot(<rt>fits.dll <help>Orvista.chm <drv>overlong_module.dll)"},
    {"a module without the entry point and a file that is no module are skipped",
     {L"no_export.dll", L"not_a_module.dll", L"unterminated.dll"},
     "Echo(<rt>good.dll <help>Orvista.chm <drv>unterminated.dll)"},
};

TEST_F(CatalogueScan, DriverFolders)
{
    for (const ScanCase& c : kScanCases) {
        SCOPED_TRACE(c.what);
        for (const wchar_t* file : c.files)
            Install(file);
        EXPECT_EQ(Build(), c.tree);
        EXPECT_EQ(LiveObjects(), 0);
        for (const wchar_t* file : c.files)
            ::DeleteFileW((DriverFolder() + L"\\" + file).c_str());
    }
}

TEST_F(CatalogueScan, OneManufacturerFromTwoModulesInSearchOrder)
{
    Install(L"one_record.dll");
    Install(L"acme_second.dll");
    // one_record's entry names the child that acme_second gives, whichever
    // module the search meets first.
    const std::string first = "<rt>acme_rt.dll <help>acme.chm <drv>one_record.dll{<rt>probe_rt.dll "
                              "<help>probe.chm <drv>acme_second.dll}";
    const std::string second = "<rt>second_rt.dll <help>Orvista.chm <drv>acme_second.dll";
    const std::vector<std::string> order = SearchOrder();
    ASSERT_EQ(order.size(), 2u);
    const bool oneRecordFirst = order[0] == "one_record.dll";
    EXPECT_EQ(Build(), "Acme(" + (oneRecordFirst ? first + "; " + second : second + "; " + first) + ")");
}

struct EnvironmentCase {
    LONG failure;
    const char* trace;
    bool scans;
};

const EnvironmentCase kEnvironmentCases[] = {
    {kEnvironmentWorks, "create 18 qi 15 ", true},
    {kEnvironmentCreateFails, "create ", false},
    {kEnvironmentNoService, "create 18 ", false},
    {kEnvironmentServiceFailsCode, "create 18 qi 15 ", true}, // the code of method 18 is not looked at
    {kEnvironmentNoDriverService, "create 18 qi ", false},
    {kEnvironmentAccessFails, "create 18 qi 15 ", false},
    {kEnvironmentAccessFalse, "create 18 qi 15 ", true},
};

TEST_F(CatalogueScan, EnvironmentQuery)
{
    Install(L"one_record.dll");
    const std::string full = "Acme(<rt>acme_rt.dll <help>acme.chm <drv>one_record.dll)";
    for (const EnvironmentCase& c : kEnvironmentCases) {
        SCOPED_TRACE(c.failure);
        Configure(c.failure);
        EXPECT_EQ(Build(), c.scans ? full : "");
        EXPECT_EQ(Trace(), c.trace);
        EXPECT_EQ(LiveObjects(), 0); // every reference released by the end of the build
    }
    // Not registered at all: an empty catalogue.
    ASSERT_EQ(Export<HRESULT(WINAPI*)()>(m_environment, "DllUnregisterServer")(), S_OK);
    Configure(kEnvironmentWorks);
    EXPECT_EQ(Build(), "");
    EXPECT_EQ(Trace(), "");
}

TEST_F(CatalogueScan, MissingFoldersGiveAnEmptyCatalogue)
{
    Install(L"one_record.dll");
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kInstallKey, L"WbPath", L"");
    EXPECT_EQ(Build(), "");
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt");
    EXPECT_EQ(Build(), "");
    EXPECT_EQ(Trace(), "create 18 qi 15 create 18 qi 15 ");
}

TEST_F(CatalogueScan, SharedAndCountedRescanAfterLastRelease)
{
    Install(L"one_record.dll");
    CDriverProtocolList* first = CDriverProtocolList::GetDriverAndProtocolList();
    ASSERT_NE(first, nullptr);
    Install(L"acme_case.dll"); // not seen while the catalogue is shared
    CDriverProtocolList* second = CDriverProtocolList::GetDriverAndProtocolList();
    EXPECT_EQ(second, first);
    EXPECT_EQ(CDriverProtocolList::refcount, 2);
    EXPECT_EQ(first->GetIODLLList()->GetCount(), 1);
    EXPECT_EQ(Trace(), "create 18 qi 15 "); // scanned once
    EXPECT_EQ(second->Release(), 1);
    EXPECT_EQ(CDriverProtocolList::pList, first);
    EXPECT_EQ(first->Release(), 0);
    EXPECT_EQ(CDriverProtocolList::pList, nullptr);

    CDriverProtocolList* third = CDriverProtocolList::GetDriverAndProtocolList();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(Trace(), "create 18 qi 15 create 18 qi 15 "); // scanned again
    EXPECT_EQ(third->GetIODLLList()->GetCount(), 2); // Acme and ACME: the added module is seen now
    EXPECT_EQ(third->Release(), 0);

    // A Release without its request drives the count below zero; the next
    // request's Release then destroys nothing.
    CDriverProtocolList* fourth = CDriverProtocolList::GetDriverAndProtocolList();
    EXPECT_EQ(fourth->Release(), 0);
    EXPECT_EQ(fourth->Release(), -1);
    CDriverProtocolList* fifth = CDriverProtocolList::GetDriverAndProtocolList();
    EXPECT_EQ(fifth->Release(), -1);
    EXPECT_EQ(CDriverProtocolList::pList, fifth);
    CDriverProtocolList::refcount = 1; // back to one user, who gives it back
    EXPECT_EQ(fifth->Release(), 0);
}

} // namespace
