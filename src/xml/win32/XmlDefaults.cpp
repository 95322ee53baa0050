// XML element helpers and the defaults document, over the platform's XML DOM.
#include <QNXml.h>

#include "xml/XmlName.h"

namespace {

size_t Length(BSTR text) { return text ? ::SysStringLen(text) : 0; }

constexpr WCHAR kRootName[] = L"Defaults";
constexpr WCHAR kDeclarationTarget[] = L"xml";
constexpr WCHAR kDeclarationData[] = L"version='1.0' encoding='UTF-16'";
constexpr WCHAR kComment[] = L"Orvista Defaults Experts Only!";
constexpr WCHAR kLineFeed[] = L"\n";
constexpr UINT kWarningBox = MB_OK | MB_ICONWARNING;

// A selection counts only with the plain success code and a node: the DOM
// answers S_FALSE (and no node) when nothing matches, and a failure code for
// a query it cannot read.
bool SelectNode(IXMLDOMNode* under, const WCHAR* query, CComPtr<IXMLDOMNode>& found)
{
    found.Release();
    if (!under)
        return false;
    // An empty query (a null BSTR is the empty text) selects nothing; the DOM
    // is not asked, as some implementations fault on it.
    if (!query || !*query)
        return false;
    CComBSTR text(query);
    const HRESULT hr = under->selectSingleNode(text, &found);
    if (hr != S_OK || !found) {
        found.Release();
        return false;
    }
    return true;
}

// A query held in a platform string: one with an embedded zero selects nothing.
bool SelectNode(IXMLDOMNode* under, const CComBSTR& query, CComPtr<IXMLDOMNode>& found)
{
    const size_t length = Length(query.m_str);
    for (size_t i = 0; i < length; ++i) {
        if (query.m_str[i] == 0) {
            found.Release();
            return false;
        }
    }
    return SelectNode(under, query.m_str, found);
}


// A new element; fails for a name the document could not be saved with.
HRESULT MakeElement(IXMLDOMDocument2* doc, BSTR name, CComPtr<IXMLDOMElement>& element)
{
    if (!doc || !qn::xml::IsElementName(name, Length(name)))
        return E_FAIL;
    const HRESULT hr = doc->createElement(name, &element);
    return SUCCEEDED(hr) && element ? S_OK : E_FAIL;
}

HRESULT MakeText(IXMLDOMDocument2* doc, const WCHAR* text, size_t length, CComPtr<IXMLDOMText>& node)
{
    if (!doc || !qn::xml::IsCharacterText(text, length))
        return E_FAIL;
    CComBSTR value(static_cast<int>(length), text);
    const HRESULT hr = doc->createTextNode(value, &node);
    return SUCCEEDED(hr) && node ? S_OK : E_FAIL;
}

// An element holding one text node (not yet placed in the document).
HRESULT MakeTextElement(IXMLDOMDocument2* doc, BSTR name, BSTR text, CComPtr<IXMLDOMElement>& element)
{
    CComPtr<IXMLDOMText> textNode;
    if (FAILED(MakeElement(doc, name, element)) || FAILED(MakeText(doc, text, Length(text), textNode)))
        return E_FAIL;
    CComPtr<IXMLDOMNode> appended;
    if (FAILED(element->appendChild(textNode, &appended)) || !appended)
        return E_FAIL;
    return S_OK;
}

// Appends `child` to `parent`; the DOM's own result.
HRESULT Append(IXMLDOMNode* parent, IXMLDOMNode* child)
{
    CComPtr<IXMLDOMNode> appended;
    return parent->appendChild(child, &appended);
}

// Steps 3 to 7 of opening the defaults document, into `doc`.
HRESULT OpenDefaults(CComQIPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& section, LPCWSTR lpszSection,
                     const CString& path)
{
    if (FAILED(doc.CoCreateInstance(QN_CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER)) || !doc)
        return E_FAIL;

    doc->put_async(VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    CComVariant source(static_cast<LPCWSTR>(path));
    const HRESULT hrLoad = doc->load(source, &loaded);
    if (FAILED(hrLoad) || loaded != VARIANT_TRUE) {
        // No readable file: the new document, declaration and comment first.
        doc->put_preserveWhiteSpace(VARIANT_TRUE);
        CComBSTR target(kDeclarationTarget), data(kDeclarationData), comment(kComment);
        CComPtr<IXMLDOMProcessingInstruction> declaration;
        if (FAILED(doc->createProcessingInstruction(target, data, &declaration)) || !declaration)
            return E_FAIL;
        Append(doc, declaration);
        CComPtr<IXMLDOMComment> note;
        if (FAILED(doc->createComment(comment, &note)) || !note)
            return E_FAIL;
        Append(doc, note);
    }

    CComPtr<IXMLDOMNode> root;
    if (!SelectNode(doc, kRootName, root)) {
        CComBSTR rootName(kRootName);
        CComPtr<IXMLDOMElement> element;
        if (FAILED(MakeElement(doc, rootName, element)))
            return E_FAIL;
        // A document has one root element: a file with another root keeps it
        // and fails below, as the DOM's own append refuses a second root.
        CComPtr<IXMLDOMElement> existingRoot;
        if (SUCCEEDED(doc->get_documentElement(&existingRoot)) && existingRoot)
            return E_FAIL;
        Append(doc, element);
        if (!SelectNode(doc, kRootName, root))
            return E_FAIL;
    }

    if (!SelectNode(root, lpszSection, section)) {
        CComBSTR sectionName(lpszSection ? lpszSection : L"");
        CComPtr<IXMLDOMElement> element;
        if (FAILED(MakeElement(doc, sectionName, element)))
            return E_FAIL;
        Append(root, element);
        if (!SelectNode(root, lpszSection, section))
            return E_FAIL;
    }
    return S_OK;
}

} // namespace

HRESULT CQNUtility::GetDefaultsDOM(CComQIPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& section,
                                   LPCWSTR lpszSection)
{
    CString path;
    GetWBPath(path);
    path += L"\\" QN_DEFAULTS_FILE;
    // The host may have initialised COM already (in either model); the
    // library only makes sure it is, and never uninitialises it.
    (void)::CoInitialize(nullptr);
    return OpenDefaults(doc, section, lpszSection, path);
}

HRESULT CQNUtility::GetDefaultsDOM(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& section,
                                   LPCWSTR lpszSection)
{
    CComQIPtr<IXMLDOMDocument2> opened;
    const HRESULT hr = GetDefaultsDOM(opened, section, lpszSection);
    if (hr == S_OK)
        doc = opened;
    return hr;
}

HRESULT CQNUtility::ReadTextElement(CComQIPtr<IXMLDOMNode>& node, CComBSTR query, CString& strText)
{
    CComPtr<IXMLDOMNode> found;
    if (!node || !SelectNode(node, query, found))
        return E_FAIL;
    CComBSTR text;
    if (FAILED(found->get_text(&text)))
        return E_FAIL;
    strText = CString(text.m_str ? text.m_str : L"", static_cast<int>(text.Length()));
    return S_OK;
}

HRESULT CQNUtility::ReadTextElement(CComPtr<IXMLDOMNode>& node, CComBSTR query, CString& strText)
{
    CComQIPtr<IXMLDOMNode> same(node);
    return ReadTextElement(same, std::move(query), strText);
}

HRESULT CQNUtility::ReadCDataElement(CComPtr<IXMLDOMNode>& node, CComBSTR query, CString& strText)
{
    if (!node)
        return E_FAIL;
    const LPCWSTR queryText = query.m_str ? query.m_str : L"";
    CString message;
    CComPtr<IXMLDOMNode> found;
    if (!SelectNode(node, query, found)) {
        message.Format(L"Error reading node %s.\nNode not found.", queryText);
        AfxMessageBox(message, kWarningBox);
        return E_FAIL;
    }
    CComPtr<IXMLDOMNode> first;
    DOMNodeType type = NODE_INVALID;
    if (FAILED(found->get_firstChild(&first)) || !first || FAILED(first->get_nodeType(&type)) ||
        type != NODE_CDATA_SECTION) {
        message.Format(L"Error reading node %s.\nNo CData section found.", queryText);
        AfxMessageBox(message, kWarningBox);
        return E_FAIL;
    }
    CComVariant value;
    if (FAILED(first->get_nodeValue(&value)) || value.vt != VT_BSTR)
        return E_FAIL;
    strText = CString(value.bstrVal ? value.bstrVal : L"", static_cast<int>(Length(value.bstrVal)));
    return S_OK;
}

HRESULT CQNUtility::UpdateTextElement(CComQIPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& parent, CComBSTR name,
                                      CComBSTR text)
{
    CComPtr<IXMLDOMElement> element;
    if (!parent || FAILED(MakeTextElement(doc, name, text, element)))
        return E_FAIL;
    // What the replacement or the append answers is not looked at.
    CComPtr<IXMLDOMNode> old;
    if (SelectNode(parent, name, old)) {
        CComPtr<IXMLDOMNode> replaced;
        parent->replaceChild(element, old, &replaced);
    } else {
        Append(parent, element);
    }
    return S_OK;
}

HRESULT CQNUtility::UpdateTextElement(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& parent, CComBSTR name,
                                      CComBSTR text)
{
    CComQIPtr<IXMLDOMDocument2> same(doc);
    return UpdateTextElement(same, parent, std::move(name), std::move(text));
}

HRESULT CQNUtility::AddTextElement(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMElement>& parent, CComBSTR name,
                                   CComBSTR text)
{
    CComPtr<IXMLDOMElement> element;
    if (!parent || FAILED(MakeTextElement(doc, name, text, element)))
        return E_FAIL;
    Append(parent, element);
    CComPtr<IXMLDOMText> lineFeed;
    if (FAILED(MakeText(doc, kLineFeed, 1, lineFeed)))
        return E_FAIL;
    Append(parent, lineFeed);
    return S_OK;
}

HRESULT CQNUtility::AddCDataElement(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMElement>& parent, CComBSTR name,
                                    CComBSTR data)
{
    if (!parent || !qn::xml::IsCDataText(data, Length(data)))
        return E_FAIL;
    CComPtr<IXMLDOMElement> element;
    CComPtr<IXMLDOMCDATASection> section;
    CComPtr<IXMLDOMText> lineFeed;
    CComBSTR content(static_cast<int>(Length(data)), data.m_str);
    if (FAILED(MakeElement(doc, name, element)) || FAILED(doc->createCDATASection(content, &section)) || !section ||
        FAILED(MakeText(doc, kLineFeed, 1, lineFeed)))
        return E_FAIL;
    CComPtr<IXMLDOMNode> appended;
    if (FAILED(element->appendChild(section, &appended)) || !appended)
        return E_FAIL;
    Append(parent, element);
    Append(parent, lineFeed);
    return S_OK;
}

HRESULT CQNUtility::DisplayParseError(CComPtr<IXMLDOMDocument2>& doc, CString strFallback)
{
    if (!doc)
        return E_FAIL;
    CComPtr<IXMLDOMParseError> error;
    if (FAILED(doc->get_parseError(&error)) || !error) {
        AfxMessageBox(L"Unknown Error.\nPlease check XML Source.", kWarningBox);
        return E_FAIL;
    }
    CComBSTR reason;
    if (SUCCEEDED(error->get_reason(&reason)) && reason.Length() > 0)
        AfxMessageBox(CString(reason.m_str, static_cast<int>(reason.Length())), kWarningBox);
    else
        AfxMessageBox(strFallback, kWarningBox);
    return E_FAIL;
}
