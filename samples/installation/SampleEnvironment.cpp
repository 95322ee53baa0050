// A stand-in for the host environment component that the catalogue asks
// before it scans the driver folder (see QNCatalogue.h): it lets every scan
// go on. Registered with regsvr32 in the demonstration installation.
#include <QNCatalogue.h>

#include <new>

namespace {

HINSTANCE g_module = nullptr;
LONG g_objects = 0;

#define OWN_METHOD(n) \
    STDMETHODIMP OwnMethod##n() override { return E_NOTIMPL; }

// One object answers both interfaces: it is the environment and its own
// driver service.
class Environment final : public IQNEnvironment, public IQNDriverService {
public:
    Environment() { ::InterlockedIncrement(&g_objects); }
    ~Environment() { ::InterlockedDecrement(&g_objects); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IQNEnvironment)
            *ppv = static_cast<IQNEnvironment*>(this);
        else if (riid == IID_IQNDriverService)
            *ppv = static_cast<IQNDriverService*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_references); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return left;
    }

    OWN_METHOD(04) OWN_METHOD(05) OWN_METHOD(06) OWN_METHOD(07) OWN_METHOD(08) OWN_METHOD(09)
    OWN_METHOD(10) OWN_METHOD(11) OWN_METHOD(12) OWN_METHOD(13) OWN_METHOD(14) OWN_METHOD(15)
    OWN_METHOD(16) OWN_METHOD(17)

    STDMETHODIMP GetDriverService(IUnknown** ppService) override
    {
        if (!ppService)
            return E_POINTER;
        *ppService = static_cast<IQNEnvironment*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP CheckDriverAccess(LONG* pnState) override
    {
        if (!pnState)
            return E_POINTER;
        *pnState = 1; // every driver may be used
        return S_OK;
    }

private:
    LONG m_references = 1;
};

#undef OWN_METHOD

class Factory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = riid == IID_IUnknown || riid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* object = new (std::nothrow) Environment;
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = static_cast<IQNEnvironment*>(object)->QueryInterface(riid, ppv);
        static_cast<IQNEnvironment*>(object)->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

const wchar_t kClassKey[] = L"CLSID\\{57B81659-C74D-4D19-9580-92959E21EAE5}";

LONG SetValue(const wchar_t* path, const wchar_t* name, const wchar_t* value)
{
    HKEY key = nullptr;
    LONG status = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                              static_cast<DWORD>((::lstrlenW(value) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return status;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return rclsid == CLSID_QNEnvironment ? g_factory.QueryInterface(riid, ppv) : CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT WINAPI DllCanUnloadNow()
{
    return g_objects == 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    wchar_t server[80];
    ::lstrcpyW(server, kClassKey);
    ::lstrcatW(server, L"\\InprocServer32");
    LONG status = SetValue(kClassKey, nullptr, L"Demonstration host environment");
    if (status == ERROR_SUCCESS)
        status = SetValue(server, nullptr, path);
    if (status == ERROR_SUCCESS)
        status = SetValue(server, L"ThreadingModel", L"Apartment");
    return HRESULT_FROM_WIN32(status);
}

HRESULT WINAPI DllUnregisterServer()
{
    const LONG status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

} // extern "C"
