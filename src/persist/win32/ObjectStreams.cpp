// Objects on COM streams: loading a persisted object with class translation,
// reading a variant, saving through the extended persistence interface.
#include <QNStream.h>
#include <QNUtilityClass.h>
#include <afx/atlbase.h>

#include "common/Result.h"
#include "persist/StreamIO.h"

#include <algorithm>
#include <cstring>
#include <vector>


namespace {

using qn::persist::ReadExact;
using qn::persist::kMaxTextBytes;
using qn::persist::kTextChunk;

// The result code for a stream that holds no further object: the Win32
// end-of-file error in result-code form.
const HRESULT kEndOfStream = HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
static_assert(HRESULT_FROM_WIN32(ERROR_HANDLE_EOF) == static_cast<HRESULT>(0x80070026));


// The characters of a variant's text form: N (4 bytes), then N bytes, the last
// two being the terminator. *text is null for N = 0, else a new platform
// string of N - 2 bytes owned by the caller.
HRESULT ReadVariantText(IStream* stream, BSTR* text)
{
    *text = nullptr;
    ULONG count = 0;
    QN_RETURN_IF_FAILED(ReadExact(stream, &count, sizeof count));
    if (count == 0)
        return S_OK;
    // security: the count is from the stream. N = 1 leaves no room for the
    // terminator, so no platform string of N - 2 bytes can be made, exactly as
    // for an oversized count.
    if (count < sizeof(OLECHAR) || count > kMaxTextBytes)
        return E_OUTOFMEMORY;
    const ULONG length = count - sizeof(OLECHAR);
    std::vector<BYTE> bytes;
    for (ULONG done = 0; done < count;) {
        const ULONG chunk = std::min(kTextChunk, count - done);
        bytes.resize(done + chunk);
        QN_RETURN_IF_FAILED(ReadExact(stream, bytes.data() + done, chunk));
        done += chunk;
    }
    *text = ::SysAllocStringByteLen(reinterpret_cast<LPCSTR>(bytes.data()), length);
    return *text ? S_OK : E_OUTOFMEMORY;
}

ULONG FixedValueSize(VARTYPE type)
{
    switch (type) {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_BOOL:
    case VT_UI2:
        return 2;
    case VT_I4:
    case VT_R4:
    case VT_ERROR:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return 4;
    case VT_R8:
    case VT_CY:
    case VT_DATE:
        return 8;
    default:
        return 0;
    }
}

} // namespace

HRESULT CQNUtility::KESTOleLoadFromStream(IStream* pStream, REFIID riid, void** ppvObj)
{
    if (m_iEnabled == 0)
        return ::OleLoadFromStream(pStream, riid, ppvObj);
    if (!ppvObj)
        return E_POINTER;

    CLSID clsid = CLSID_NULL;
    const HRESULT read = ::ReadClassStm(pStream, &clsid);
    if (read == STG_E_READFAULT)
        return kEndOfStream;
    // Any other failed read means a damaged stream, not the end of a sequence
    // of objects: going on with a partly read identifier would create the
    // wrong class, so the failure is returned.
    QN_RETURN_IF_FAILED(read);
    if (clsid == CLSID_NULL) {
        *ppvObj = nullptr;
        return S_OK;
    }

    GuidConvertInit();
    GUID current;
    if (m_GUIDTable.Lookup(clsid, current))
        clsid = current;

    CComPtr<IPersistStream> persist;
    QN_RETURN_IF_FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream,
                                        reinterpret_cast<void**>(&persist)));
    QN_RETURN_IF_FAILED(persist->Load(pStream));
    return persist->QueryInterface(riid, ppvObj);
}

HRESULT CQNUtility::KESTReadFromStream(CComVariant& var, IStream* pStream)
{
    QN_RETURN_IF_FAILED(var.Clear());
    VARTYPE type = VT_EMPTY;
    QN_RETURN_IF_FAILED(ReadExact(pStream, &type, sizeof type));
    // The variant carries the type from here on. Its value is zeroed first, so
    // that whatever step fails below, clearing the variant frees nothing that
    // it does not own, whichever type the stream named.
    VARIANT& raw = var;
    raw.vt = type;
    BYTE* const value = reinterpret_cast<BYTE*>(&raw.llVal);
    std::memset(value, 0, reinterpret_cast<BYTE*>(&raw + 1) - value);

    if (type == VT_DISPATCH || type == VT_UNKNOWN) {
        // A class that is missing or does not load leaves a typed null object;
        // the stream stands wherever the load stopped.
        const HRESULT loaded = KESTOleLoadFromStream(pStream, type == VT_DISPATCH ? IID_IDispatch : IID_IUnknown,
                                                     reinterpret_cast<void**>(&var.punkVal));
        (void)loaded;
        return S_OK;
    }

    if (const ULONG size = FixedValueSize(type)) {
        // A full read hands back the stream's own success code.
        BYTE bytes[8] = {};
        const HRESULT read = ReadExact(pStream, bytes, size);
        QN_RETURN_IF_FAILED(read);
        std::memcpy(value, bytes, size);
        return read;
    }

    BSTR text = nullptr;
    QN_RETURN_IF_FAILED(ReadVariantText(pStream, &text));
    var.vt = VT_BSTR;
    var.bstrVal = text;
    if (type == VT_BSTR)
        return S_OK;
    return ::VariantChangeType(&var, &var, 0, type);
}

HRESULT KESTSaveToStream(IPersistStream* pPersist, IStream* pStream, LONG lParam)
{
    if (!pPersist)
        return OLE_E_BLANK;
    CComQIPtr<IExtPersistStream> extended(pPersist);
    if (!extended)
        return ::OleSaveToStream(pPersist, pStream);

    CLSID clsid = CLSID_NULL;
    QN_RETURN_IF_FAILED(pPersist->GetClassID(&clsid));
    QN_RETURN_IF_FAILED(::WriteClassStm(pStream, clsid));
    return extended->SaveWithParam(pStream, TRUE, lParam);
}
