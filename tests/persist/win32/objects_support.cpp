// Registers the test COM server in the Wine prefix for the run of the test
// program, as regsvr32 would (DllRegisterServer), and unregisters it at the end.
#include "objects_support.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace objtest {
namespace {

HMODULE g_server = nullptr;

class ComServerEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        wchar_t path[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        ASSERT_TRUE(length > 0 && length < MAX_PATH);
        std::wstring server(path, length);
        server.resize(server.find_last_of(L"\\/") + 1);
        server += kComServerFileName;
        g_server = ::LoadLibraryW(server.c_str());
        ASSERT_NE(g_server, nullptr) << "comserver.dll is built beside the tests";
        auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
            reinterpret_cast<void*>(::GetProcAddress(g_server, "DllRegisterServer")));
        ASSERT_NE(registerServer, nullptr);
        ASSERT_EQ(registerServer(), S_OK);
    }

    void TearDown() override
    {
        if (g_server) {
            auto unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(
                reinterpret_cast<void*>(::GetProcAddress(g_server, "DllUnregisterServer")));
            EXPECT_EQ(unregisterServer ? unregisterServer() : E_FAIL, S_OK);
        }
        ::CoUninitialize();
    }
};

const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new ComServerEnvironment);

} // namespace

LONG LiveObjects()
{
    auto live = g_server ? reinterpret_cast<FixtureLiveObjectsFn>(
                               reinterpret_cast<void*>(::GetProcAddress(g_server, kFixtureLiveObjectsName)))
                         : nullptr;
    return live ? live() : -1;
}

std::vector<unsigned char> GuidBytes(const GUID& id)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&id);
    return std::vector<unsigned char>(bytes, bytes + sizeof id);
}

std::vector<unsigned char> WidgetBytes(const GUID& id, const wchar_t* name, LONG number)
{
    const size_t characters = std::wcslen(name);
    return qntest::Bytes()
        .Raw(GuidBytes(id))
        .U32(characters * 2 + 2)
        .Utf16(name)
        .U16(0)
        .U32(static_cast<ULONG>(number))
        .Get();
}

std::vector<unsigned char> ExtSaverBytes(LONG param, LONG number)
{
    return qntest::Bytes()
        .Raw(GuidBytes(CLSID_FixtureExtSaver))
        .U32(static_cast<ULONG>(kParamMarker))
        .U32(static_cast<ULONG>(param))
        .U32(static_cast<ULONG>(number))
        .Get();
}

std::vector<unsigned char> Join(std::initializer_list<std::vector<unsigned char>> parts)
{
    std::vector<unsigned char> joined;
    for (const auto& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

Probed Probe(IUnknown* object)
{
    Probed probed;
    CComQIPtr<IFixtureProbe> probe(object);
    if (!probe)
        return probed;
    probe->GetClass(&probed.clsid);
    BSTR name = nullptr;
    if (SUCCEEDED(probe->GetName(&name)) && name)
        probed.name.assign(name, ::SysStringLen(name));
    ::SysFreeString(name);
    probe->GetNumber(&probed.number);
    return probed;
}

} // namespace objtest
