// A stand-in for the host environment component that the catalogue asks
// before it scans the driver folder (see QNCatalogue.h). Registered with
// regsvr32 in the demonstration installation, where it lets every scan go on.
//
// To show (and test) how a host reacts when the component says no, the
// REG_DWORD value "Refuse" of its class key (HKCR\CLSID\{57B81659-...})
// makes it refuse at one step of the catalogue's query; it is read each time
// an instance is created:
//   0 or missing  answer every step (the demonstration)
//   1  the class factory refuses the instance (E_ACCESSDENIED)
//   2  GetDriverService gives no object, with S_OK
//   3  GetDriverService gives the object, with E_FAIL
//   4  the object has no IQNDriverService interface
//   5  CheckDriverAccess returns E_ACCESSDENIED
//   6  CheckDriverAccess returns S_FALSE (a success code)
// DllCanUnloadNow answers S_OK only when every object has been released.
#include <QNCatalogue.h>

#include <new>

namespace {

enum Refusal : DWORD {
    kAnswerAll = 0,
    kRefuseCreate = 1,
    kNoService = 2,
    kServiceFailsCode = 3,
    kNoDriverService = 4,
    kAccessDenied = 5,
    kAccessFalse = 6,
};

HINSTANCE g_module = nullptr;
LONG g_objects = 0;

const wchar_t kClassKey[] = L"CLSID\\{57B81659-C74D-4D19-9580-92959E21EAE5}";
const wchar_t kServerKey[] = L"CLSID\\{57B81659-C74D-4D19-9580-92959E21EAE5}\\InprocServer32";

DWORD ReadRefusal()
{
    DWORD value = kAnswerAll;
    DWORD bytes = sizeof value;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, kClassKey, L"Refuse", RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
        ERROR_SUCCESS)
        return kAnswerAll;
    return value;
}

#define OWN_METHOD(n) \
    STDMETHODIMP OwnMethod##n() override { return E_NOTIMPL; }

// One object answers both interfaces: it is the environment and its own
// driver service.
class Environment final : public IQNEnvironment, public IQNDriverService {
public:
    explicit Environment(DWORD refusal) : m_refusal(refusal) { ::InterlockedIncrement(&g_objects); }
    ~Environment() { ::InterlockedDecrement(&g_objects); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IQNEnvironment)
            *ppv = static_cast<IQNEnvironment*>(this);
        else if (riid == IID_IQNDriverService && m_refusal != kNoDriverService)
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
        *ppService = nullptr;
        if (m_refusal == kNoService)
            return S_OK;
        *ppService = static_cast<IQNEnvironment*>(this);
        AddRef();
        return m_refusal == kServiceFailsCode ? E_FAIL : S_OK;
    }
    STDMETHODIMP CheckDriverAccess(LONG* pnState) override
    {
        if (!pnState)
            return E_POINTER;
        *pnState = 1; // every driver may be used
        if (m_refusal == kAccessDenied)
            return E_ACCESSDENIED;
        return m_refusal == kAccessFalse ? S_FALSE : S_OK;
    }

private:
    LONG m_references = 1;
    const DWORD m_refusal;
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
    // A static object that lives as long as the module.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        const DWORD refusal = ReadRefusal();
        if (refusal == kRefuseCreate)
            return E_ACCESSDENIED;
        auto* object = new (std::nothrow) Environment(refusal);
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = static_cast<IQNEnvironment*>(object)->QueryInterface(riid, ppv);
        static_cast<IQNEnvironment*>(object)->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

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
    LONG status = SetValue(kClassKey, nullptr, L"Demonstration host environment");
    if (status == ERROR_SUCCESS)
        status = SetValue(kServerKey, nullptr, path);
    if (status == ERROR_SUCCESS)
        status = SetValue(kServerKey, L"ThreadingModel", L"Apartment");
    return HRESULT_FROM_WIN32(status);
}

HRESULT WINAPI DllUnregisterServer()
{
    const LONG status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

} // extern "C"
