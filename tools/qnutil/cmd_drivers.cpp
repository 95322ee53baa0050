// qnutil drivers: the driver catalogue of the installation the registry names
// ("WbPath", "Runtime Root"): manufacturers, their listed entries and the
// entries attached to those, each with its runtime module, help file and the
// driver module that described it.
#include "Command.h"

#include <QNUtility.h>
#include <QNCatalogue.h>

#include <cstdio>

namespace {

using qnutil::Fail;
using qnutil::Out;

using ManufacturerList = CList<CManNode*, CManNode*>;

std::wstring Number(long long value)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%lld", value);
    return text;
}

// A JSON string: quotes, backslashes and control characters escaped.
std::wstring Json(const WCHAR* text)
{
    std::wstring quoted = L"\"";
    for (; *text; ++text) {
        const WCHAR c = *text;
        if (c == L'"' || c == L'\\') {
            quoted += L'\\';
            quoted += c;
        } else if (c < 0x20) {
            wchar_t escape[8];
            std::swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + L"\"";
}

std::wstring EntryJson(const CDLLinfo& info, const WCHAR* source, const std::wstring& indent)
{
    return indent + L"\"id\": " + Number(info.m_nID) + L",\n" + indent + L"\"name\": " + Json(info.m_szName) +
           L",\n" + indent + L"\"module\": " + Json(info.m_szModule) + L",\n" + indent + L"\"helpFile\": " +
           Json(info.m_szHelpFile) + L",\n" + indent + L"\"source\": " + Json(source);
}

void PrintJson(const ManufacturerList& manufacturers)
{
    std::wstring text = L"{\n  \"manufacturers\": [";
    for (POSITION man = manufacturers.GetHeadPosition(); man;) {
        const CManNode* manufacturer = manufacturers.GetNext(man);
        text += L"\n    {\n      \"name\": " + Json(manufacturer->m_szManufacturer) + L",\n      \"listed\": [";
        for (POSITION pos = manufacturer->m_OVLList.GetHeadPosition(); pos;) {
            const COVLnode* listed = manufacturer->m_OVLList.GetNext(pos);
            text += L"\n        {\n" + EntryJson(listed->m_Info, listed->m_szDLLPath, L"          ") +
                    L",\n          \"childName\": " + Json(listed->m_Info.m_szChildName) +
                    L",\n          \"attached\": [";
            for (POSITION kid = listed->m_PCLList.GetHeadPosition(); kid;) {
                const CPCLnode* attached = listed->m_PCLList.GetNext(kid);
                text += L"\n            {\n" + EntryJson(attached->m_Info, attached->m_szDLLPath, L"              ") +
                        L"\n            }" + (kid ? L"," : L"");
            }
            text += std::wstring(listed->m_PCLList.IsEmpty() ? L"" : L"\n          ") + L"]\n        }" +
                    (pos ? L"," : L"");
        }
        text += std::wstring(manufacturer->m_OVLList.IsEmpty() ? L"" : L"\n      ") + L"]\n    }" +
                (man ? L"," : L"");
    }
    text += std::wstring(manufacturers.IsEmpty() ? L"" : L"\n  ") + L"]\n}\n";
    Out(text);
}

void PrintTree(const ManufacturerList& manufacturers)
{
    long long listedCount = 0, attachedCount = 0;
    std::wstring text;
    for (POSITION man = manufacturers.GetHeadPosition(); man;) {
        const CManNode* manufacturer = manufacturers.GetNext(man);
        text += std::wstring(manufacturer->m_szManufacturer) + L"\n";
        for (POSITION pos = manufacturer->m_OVLList.GetHeadPosition(); pos;) {
            const COVLnode* listed = manufacturer->m_OVLList.GetNext(pos);
            ++listedCount;
            text += L"  listed   " + Number(listed->m_Info.m_nID) + L"  " + listed->m_Info.m_szModule + L"\n" +
                    L"           help    " + listed->m_Info.m_szHelpFile + L"\n" + L"           source  " +
                    listed->m_szDLLPath + L"\n";
            for (POSITION kid = listed->m_PCLList.GetHeadPosition(); kid;) {
                const CPCLnode* attached = listed->m_PCLList.GetNext(kid);
                ++attachedCount;
                text += L"    attached " + Number(attached->m_Info.m_nID) + L" " + attached->m_Info.m_szName +
                        L"  " + attached->m_Info.m_szModule + L"\n" + L"             help    " +
                        attached->m_Info.m_szHelpFile + L"\n" + L"             source  " + attached->m_szDLLPath +
                        L"\n";
            }
        }
    }
    text += Number(manufacturers.GetCount()) + L" manufacturers, " + Number(listedCount) + L" listed entries, " +
            Number(attachedCount) + L" attached entries\n";
    Out(text);
}

int RunDrivers(std::span<const std::wstring> args)
{
    bool json = false;
    for (const std::wstring& arg : args) {
        if (arg == L"--json")
            json = true;
        else
            return qnutil::Usage(L"drivers");
    }
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        return Fail(L"drivers", L"COM could not be initialised", 1);
    int status = 0;
    CDriverProtocolList* catalogue = CDriverProtocolList::GetDriverAndProtocolList();
    if (catalogue) {
        if (json)
            PrintJson(*catalogue->GetIODLLList());
        else
            PrintTree(*catalogue->GetIODLLList());
        catalogue->Release();
    } else {
        status = Fail(L"drivers", L"the catalogue could not be allocated", 1);
    }
    ::CoUninitialize();
    return status;
}

const qnutil::Registration drivers{L"drivers", L"[--json]",
                                   L"driver catalogue: manufacturers, listed and attached entries", RunDrivers};

} // namespace
