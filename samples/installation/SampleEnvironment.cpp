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
// DllCanUnloadNow answers S_OK only when every object has been released (the
// exports come from samples/common/InprocServer.cpp).
#include <QNCatalogue.h>

#include "InprocServer.h"

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

const wchar_t kClassKey[] = L"CLSID\\{57B81659-C74D-4D19-9580-92959E21EAE5}";

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
class Environment final : public IQNEnvironment, public IQNDriverService, private inproc::ReferenceCount {
public:
    explicit Environment(DWORD refusal) : m_refusal(refusal) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        void* found = nullptr;
        if (riid == IID_IUnknown || riid == IID_IQNEnvironment)
            found = static_cast<IQNEnvironment*>(this);
        else if (riid == IID_IQNDriverService && m_refusal != kNoDriverService)
            found = static_cast<IQNDriverService*>(this);
        return Answer(ppv, found);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return Increment(); }
    STDMETHODIMP_(ULONG) Release() override { return Decrement(this); }

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
    const DWORD m_refusal;
};

#undef OWN_METHOD

HRESULT Create(REFIID riid, void** ppv)
{
    const DWORD refusal = ReadRefusal();
    if (refusal == kRefuseCreate)
        return E_ACCESSDENIED;
    return inproc::CreateAndQuery<Environment>(riid, ppv, refusal);
}

} // namespace

const inproc::ServerClass inproc::kServerClasses[] = {
    {&CLSID_QNEnvironment, L"Demonstration host environment", Create},
};
const std::size_t inproc::kServerClassCount = 1;
