// qnutil clsid: what the class identifier conversion table says about a class
// identifier, with translation enabled as a host loading a project has it.
#include "Command.h"

#include <QNUtility.h>

namespace {

using qnutil::Out;

int RunClsid(std::span<const std::wstring> args)
{
    if (args.empty())
        return qnutil::Usage(L"clsid");
    int status = 0;
    CQNUtility::CLSIDEnabled(1);
    for (const std::wstring& text : args) {
        GUID id;
        if (FAILED(::CLSIDFromString(text.c_str(), &id)) || text.empty() || text.front() != L'{') {
            status = qnutil::Fail(L"clsid", text + L": not a class identifier ({XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX})");
            continue;
        }
        const CString given(text.c_str());
        const CString current = CQNUtility::CLSIDLookup(given);
        const CString stored = CQNUtility::CLSIDReverseLookup(given);
        if (current != given)
            Out(text + L"  stored; current class " + static_cast<LPCWSTR>(current) + L"\n");
        else if (stored != given)
            Out(text + L"  current; stored as " + static_cast<LPCWSTR>(stored) + L"\n");
        else
            Out(text + L"  not in the table\n");
    }
    CQNUtility::CLSIDEnabled(0);
    return status;
}

const qnutil::Registration clsid{L"clsid", L"GUID...",
                                 L"the current class of a stored class identifier, or the stored one of a current class",
                                 RunClsid};

} // namespace
