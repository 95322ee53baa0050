// The shared catalogue under Wine: the demonstration installation's driver
// modules and environment component (samples/installation) in a driver folder
// that the registry names; the environment's refusals; counting of the users.
#include "../catalogue_Support.h"

#include <support/win32/RegistrySandbox.h>
#include <support/win32/TempTree.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring Beside(const std::wstring& relative)
{
    wchar_t path[MAX_PATH] = {};
    const std::wstring exe(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    return exe.substr(0, exe.find_last_of(L'\\') + 1) + relative;
}

const std::wstring kWorkbench = L"..\\samples\\installation\\Quillon\\Workbench\\";
const wchar_t kClassKey[] = L"CLSID\\{57B81659-C74D-4D19-9580-92959E21EAE5}";
const wchar_t kNordmark[] = L"NordmarkSerial.DLL";
const wchar_t kKestrel[] = L"KestrelEthernet.DLL";
const wchar_t kNoEntry[] = L"NoEntry.dll";       // a module without "IODllInfos"
const wchar_t kNotAModule[] = L"NotAModule.dll"; // a text file

std::string Narrow(const std::wstring& text) { return qntest::Narrow(text.c_str(), text.size()); }

class CatalogueScan : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        m_environment = ::LoadLibraryW(Beside(kWorkbench + L"SampleEnvironment.dll").c_str());
        ASSERT_NE(m_environment, nullptr) << "the sample installation is built with the tests";
        ASSERT_EQ(Call("DllRegisterServer"), S_OK);
        ASSERT_TRUE(::CreateDirectoryW(Drivers().c_str(), nullptr));
        RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt\\Quillon\\Install", L"WbPath", m_tree.Root());
        RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt\\Quillon\\Configuration", L"Runtime Root",
                                 m_tree / L"rt");
    }
    void TearDown() override
    {
        EXPECT_EQ(CDriverProtocolList::refcount, 0);
        EXPECT_EQ(CDriverProtocolList::pList, nullptr);
        if (m_environment) {
            EXPECT_EQ(Call("DllUnregisterServer"), S_OK);
        }
        ::CoUninitialize(); // the module stays loaded: COM may still hold it
    }

    HRESULT Call(const char* name) const
    {
        return reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(::GetProcAddress(m_environment, name)))();
    }
    void Refuse(DWORD step) const
    {
        RegistrySandbox::SetRaw(HKEY_CLASSES_ROOT, kClassKey, L"Refuse", REG_DWORD, &step, sizeof step);
    }
    std::wstring Drivers() const { return m_tree / L"HMI IO"; }
    void Install(const std::wstring& file) const
    {
        const std::wstring to = Drivers() + L"\\" + file;
        const std::wstring from = file == kNoEntry ? L"SampleEnvironment.dll" : L"HMI IO\\" + file;
        ASSERT_TRUE(file == kNotAModule ? TempTree::WriteFile(to, "not a module")
                                        : ::CopyFileW(Beside(kWorkbench + from).c_str(), to.c_str(), FALSE))
            << Narrow(file);
    }
    // The catalogue built now, with the folders written as <rt>, <help>, <drv>.
    std::string Build() const
    {
        CDriverProtocolList* catalogue = CDriverProtocolList::GetDriverAndProtocolList();
        if (!catalogue)
            return "<no catalogue>";
        std::string text = catalogue->GetIODLLList() ? qntest::Render(*catalogue->GetIODLLList()) : "<no list>";
        EXPECT_EQ(catalogue->Release(), 0);
        const std::pair<std::string, std::string> folders[] = {
            {Narrow(m_tree / L"rt\\Bin\\"), "<rt>"}, {Narrow(m_tree / L"Help\\"), "<help>"}, {Narrow(Drivers() + L"\\"), "<drv>"}};
        for (const auto& [folder, mark] : folders)
            for (size_t at; (at = text.find(folder)) != std::string::npos;)
                text.replace(at, folder.size(), mark);
        return text;
    }

    HMODULE m_environment = nullptr;
    InstallationSandbox m_sandbox;
    TempTree m_tree;
};

const std::string kNordmarkTree = "Nordmark(<rt>NMSerial.dll <help>NMSerial.chm <drv>NordmarkSerial.DLL{<rt>NMLink.dll "
                                  "<help>NMLink.chm <drv>NordmarkSerial.DLL}; <rt>NMSerial485.dll <help>Orvista.chm "
                                  "<drv>NordmarkSerial.DLL)";

TEST_F(CatalogueScan, DriverFolders)
{
    const struct {
        std::vector<const wchar_t*> files;
        std::string tree;
    } cases[] = {
        {{}, ""},
        {{kNordmark}, kNordmarkTree},
        {{kNoEntry, kNotAModule, kNordmark}, kNordmarkTree},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.size());
        for (const wchar_t* file : c.files)
            Install(file);
        EXPECT_EQ(Build(), c.tree);
        EXPECT_EQ(Call("DllCanUnloadNow"), S_OK); // every reference released
        for (const wchar_t* file : c.files)
            ::DeleteFileW((Drivers() + L"\\" + file).c_str());
    }
}

TEST_F(CatalogueScan, EnvironmentRefusals)
{
    Install(kNordmark);
    // By the refusal step of the sample component: only the creation and
    // CheckDriverAccess are judged by their codes, GetDriverService and the
    // interface query by the pointers they give.
    const bool scans[] = {true, false, false, true, false, false, true};
    for (DWORD step = 0; step < 7; ++step) {
        SCOPED_TRACE(step);
        Refuse(step);
        EXPECT_EQ(Build(), scans[step] ? kNordmarkTree : "");
        EXPECT_EQ(Call("DllCanUnloadNow"), S_OK);
    }
    ASSERT_EQ(Call("DllUnregisterServer"), S_OK); // no component at all
    EXPECT_EQ(Build(), "");
    // Missing folders: the search looks where nothing is.
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt\\Quillon\\Install", L"WbPath", L"");
    EXPECT_EQ(Build(), "");
}

TEST_F(CatalogueScan, SharedAndCountedRescanAfterLastRelease)
{
    Install(kNordmark);
    CDriverProtocolList* first = CDriverProtocolList::GetDriverAndProtocolList();
    ASSERT_NE(first, nullptr);
    Install(kKestrel); // not seen while the catalogue is shared
    EXPECT_EQ(CDriverProtocolList::GetDriverAndProtocolList(), first);
    EXPECT_EQ(CDriverProtocolList::refcount, 2);
    EXPECT_EQ(first->Release(), 1);
    EXPECT_EQ(CDriverProtocolList::pList, first);
    EXPECT_EQ(first->GetIODLLList()->GetCount(), 1);
    EXPECT_EQ(first->Release(), 0);
    EXPECT_EQ(CDriverProtocolList::pList, nullptr);

    CDriverProtocolList* second = CDriverProtocolList::GetDriverAndProtocolList();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetIODLLList()->GetCount(), 2); // scanned again: Kestrel now
    EXPECT_EQ(second->Release(), 0);

    // A Release without its request drives the count below zero; the next
    // request's Release then destroys nothing.
    EXPECT_EQ(CDriverProtocolList::GetDriverAndProtocolList()->Release(), 0);
    EXPECT_EQ(second->Release(), -1);
    CDriverProtocolList* third = CDriverProtocolList::GetDriverAndProtocolList();
    EXPECT_EQ(third->Release(), -1);
    EXPECT_EQ(CDriverProtocolList::pList, third);
    CDriverProtocolList::refcount = 1; // back to one user, who gives it back
    EXPECT_EQ(third->Release(), 0);
}

} // namespace
