// qnutil commands of the XML defaults:
//   defaults get SECTION ELEMENT                 the element's text
//   defaults set SECTION ELEMENT VALUE [--cdata] writes it and saves the document
// The document is "Defaults.xml" of the installation that the registry value
// "WbPath" names. A file that exists but does not parse is never overwritten.
#include "Command.h"

#include <QNUtility.h>
#include <QNXml.h>

namespace {

using qnutil::Fail;

constexpr wchar_t kName[] = L"defaults";

// The library's message boxes go to stderr: a console tool must not block.
int MessageToStderr(LPCTSTR text, UINT, void*)
{
    qnutil::Err(L"qnutil defaults: " + std::wstring(text) + L"\n");
    return IDOK;
}

// The path of the defaults document, or an empty text when no installation is configured.
std::wstring DefaultsPath()
{
    CString folder;
    if (CQNUtility::GetWBPath(folder) != S_OK || folder.IsEmpty())
        return {};
    return std::wstring(static_cast<LPCWSTR>(folder)) + L"\\" QN_DEFAULTS_FILE;
}

// False (after the parse error on stderr) when the file exists but cannot be read as XML.
bool ExistingFileParses(const std::wstring& path)
{
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    CComPtr<IXMLDOMDocument2> doc;
    if (FAILED(doc.CoCreateInstance(QN_CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER)))
        return false;
    doc->put_async(VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (SUCCEEDED(doc->load(CComVariant(path.c_str()), &loaded)) && loaded == VARIANT_TRUE)
        return true;
    CQNUtility::DisplayParseError(doc, L"The file is not a readable XML document.");
    return false;
}

// Removes `node` and the line feed the helpers put after it.
void RemoveWithLineFeed(IXMLDOMNode* parent, IXMLDOMNode* node)
{
    CComPtr<IXMLDOMNode> next, removed;
    DOMNodeType type = NODE_INVALID;
    CComVariant value;
    if (SUCCEEDED(node->get_nextSibling(&next)) && next && SUCCEEDED(next->get_nodeType(&type)) &&
        type == NODE_TEXT && SUCCEEDED(next->get_nodeValue(&value)) && value.vt == VT_BSTR && value.bstrVal &&
        std::wstring(value.bstrVal) == L"\n")
        parent->removeChild(next, &removed);
    parent->removeChild(node, &removed);
}

// Writes the document as UTF-16LE with a byte order mark, as its declaration
// says. (Wine's DOM saves a document loaded from a UTF-16 file as UTF-8 under
// the UTF-16 declaration, which no parser reads back.) The text goes to a
// temporary file first, which then replaces the document.
HRESULT SaveAsUtf16(IXMLDOMDocument2* doc, const std::wstring& path)
{
    CComBSTR xml;
    HRESULT hr = doc->get_xml(&xml);
    if (FAILED(hr))
        return hr;
    const std::wstring temporary = path + L".new";
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(::GetLastError());
    const WCHAR bom = 0xFEFF;
    DWORD written = 0;
    const DWORD bytes = xml.ByteLength();
    BOOL ok = ::WriteFile(file, &bom, sizeof bom, &written, nullptr) && written == sizeof bom;
    ok = ok && (bytes == 0 || (::WriteFile(file, xml.m_str, bytes, &written, nullptr) && written == bytes));
    ok = ::CloseHandle(file) && ok;
    if (!ok || !::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        hr = HRESULT_FROM_WIN32(::GetLastError());
        ::DeleteFileW(temporary.c_str());
        return FAILED(hr) ? hr : E_FAIL;
    }
    return S_OK;
}

int Run(std::span<const std::wstring> args)
{
    const bool get = args.size() == 3 && args[0] == L"get";
    const bool cdata = args.size() == 5 && args[4] == L"--cdata";
    const bool set = (args.size() == 4 || cdata) && args[0] == L"set";
    if (!get && !set)
        return qnutil::Usage(kName);

    const std::wstring path = DefaultsPath();
    if (path.empty())
        return Fail(kName, L"no installation is configured (registry value WbPath)");
    AfxSetMessageBoxHook(&MessageToStderr, nullptr);
    (void)::CoInitialize(nullptr);
    if (!ExistingFileParses(path))
        return Fail(kName, path + L" is left as it is");

    CComPtr<IXMLDOMDocument2> doc;
    CComPtr<IXMLDOMNode> section;
    if (CQNUtility::GetDefaultsDOM(doc, section, args[1].c_str()) != S_OK)
        return Fail(kName, L"no section '" + args[1] + L"' (the root element is not Defaults, or the name is no XML name)");
    const CComBSTR element(args[2].c_str());

    if (get) {
        CString text;
        if (CQNUtility::ReadTextElement(section, element, text) != S_OK)
            return Fail(kName, L"no element '" + args[2] + L"' in section '" + args[1] + L"'");
        qnutil::Out(std::wstring(static_cast<LPCWSTR>(text), static_cast<size_t>(text.GetLength())) + L"\n");
        return 0;
    }

    const CComBSTR value(static_cast<int>(args[3].size()), args[3].c_str());
    CComPtr<IXMLDOMNode> existing;
    const bool exists = section->selectSingleNode(element, &existing) == S_OK && existing;
    HRESULT hr;
    if (exists && !cdata) {
        hr = CQNUtility::UpdateTextElement(doc, section, element, value);
    } else {
        // A value that cannot be written keeps the old element: it goes only
        // once its replacement is in place.
        CComQIPtr<IXMLDOMElement> parent(section);
        hr = cdata ? CQNUtility::AddCDataElement(doc, parent, element, value)
                   : CQNUtility::AddTextElement(doc, parent, element, value);
        if (hr == S_OK && exists)
            RemoveWithLineFeed(section, existing);
    }
    if (hr != S_OK)
        return Fail(kName, L"cannot write '" + args[2] +
                               L"': the name must be an XML name and the value XML characters (no \"]]>\" with --cdata)");
    hr = SaveAsUtf16(doc, path);
    if (FAILED(hr))
        return Fail(kName, L"cannot save " + path + L" (" + qnutil::Hex(static_cast<ULONG>(hr), 8) + L")");
    return 0;
}

const qnutil::Registration defaults{kName, L"get SECTION ELEMENT | set SECTION ELEMENT VALUE [--cdata]",
                                    L"read or write the installation's defaults document", Run};

} // namespace
