// The exports and the class factory of a small in-process COM server (see
// InprocServer.h).
#include "InprocServer.h"

#include <string>

namespace inproc {
namespace {

HINSTANCE g_module = nullptr;
LONG g_references = 0;

class Factory final : public IClassFactory, private ReferenceCount {
public:
    explicit Factory(CreateFn create) : m_create(create) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return Answer(ppv, riid == IID_IUnknown || riid == IID_IClassFactory ? static_cast<IClassFactory*>(this)
                                                                             : nullptr);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return Increment(); }
    STDMETHODIMP_(ULONG) Release() override { return Decrement(this); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : m_create(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        lock ? ::InterlockedIncrement(&g_references) : ::InterlockedDecrement(&g_references);
        return S_OK;
    }

private:
    const CreateFn m_create;
};

std::wstring ClassKey(const CLSID& clsid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

LONG SetText(const std::wstring& key, const wchar_t* name, const wchar_t* value)
{
    return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value,
                             static_cast<DWORD>((::lstrlenW(value) + 1) * sizeof(wchar_t)));
}

} // namespace

ModuleReference::ModuleReference() { ::InterlockedIncrement(&g_references); }
ModuleReference::~ModuleReference() { ::InterlockedDecrement(&g_references); }
LONG ModuleReference::Count() { return g_references; }

} // namespace inproc

using inproc::kServerClassCount;
using inproc::kServerClasses;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        inproc::g_module = instance;
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (std::size_t i = 0; i < kServerClassCount; ++i)
        if (*kServerClasses[i].clsid == rclsid)
            return inproc::CreateAndQuery<inproc::Factory>(riid, ppv, kServerClasses[i].create);
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT WINAPI DllCanUnloadNow()
{
    return inproc::ModuleReference::Count() == 0 ? S_OK : S_FALSE;
}

// Writes, for each class, HKCR\CLSID\{...} = name and its InprocServer32 key
// (this module's path, apartment threaded).
HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(inproc::g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    for (std::size_t i = 0; i < kServerClassCount; ++i) {
        const std::wstring key = inproc::ClassKey(*kServerClasses[i].clsid);
        LONG status = inproc::SetText(key, nullptr, kServerClasses[i].name);
        if (status == ERROR_SUCCESS)
            status = inproc::SetText(key + L"\\InprocServer32", nullptr, path);
        if (status == ERROR_SUCCESS)
            status = inproc::SetText(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

// Removes every class key; a class that is not registered is not an error.
HRESULT WINAPI DllUnregisterServer()
{
    for (std::size_t i = 0; i < kServerClassCount; ++i) {
        const LONG status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, inproc::ClassKey(*kServerClasses[i].clsid).c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

} // extern "C"
