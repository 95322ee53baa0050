// The XML helpers and the defaults document over Wine's MSXML, with a real
// "Defaults.xml" in a temporary folder that the registry names as "WbPath".
#include <QNXml.h>

#include "support/AfxTestPrint.h"
#include "support/MessageBoxRecorder.h"
#include "support/win32/RegistrySandbox.h"
#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The node tree as one line: ?target data, !comment, name(children),
// "text" and [character data], children separated by spaces.
std::wstring Dump(IXMLDOMNode* node)
{
    std::wstring out;
    CComPtr<IXMLDOMNode> child;
    node->get_firstChild(&child);
    while (child) {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        CComBSTR name;
        child->get_nodeName(&name);
        CComVariant value;
        child->get_nodeValue(&value);
        const std::wstring text = value.vt == VT_BSTR && value.bstrVal ? value.bstrVal : L"";
        out += out.empty() ? L"" : L" ";
        switch (type) {
        case NODE_PROCESSING_INSTRUCTION: out += L"?" + std::wstring(name) + L" " + text; break;
        case NODE_COMMENT: out += L"!" + text; break;
        case NODE_TEXT: out += L"\"" + text + L"\""; break;
        case NODE_CDATA_SECTION: out += L"[" + text + L"]"; break;
        case NODE_ELEMENT: out += std::wstring(name) + L"(" + Dump(child) + L")"; break;
        default: out += L"#"; break;
        }
        CComPtr<IXMLDOMNode> next;
        child->get_nextSibling(&next);
        child = next;
    }
    return out;
}

class XmlTest : public testing::Test {
protected:
    void SetUp() override { (void)::CoInitialize(nullptr); }
    void TearDown() override { ::CoUninitialize(); }

    // A document parsed from `xml`, and its root element.
    static CComPtr<IXMLDOMDocument2> Parse(const WCHAR* xml)
    {
        CComPtr<IXMLDOMDocument2> doc;
        doc.CoCreateInstance(QN_CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER);
        VARIANT_BOOL ok = VARIANT_FALSE;
        if (doc)
            doc->loadXML(CComBSTR(xml), &ok);
        EXPECT_EQ(ok, VARIANT_TRUE) << xml;
        return doc;
    }
    static CComPtr<IXMLDOMNode> Root(IXMLDOMDocument2* doc)
    {
        CComPtr<IXMLDOMElement> root;
        doc->get_documentElement(&root);
        return CComPtr<IXMLDOMNode>(root.p);
    }
};

const std::wstring kNewDocument =
    L"?xml version='1.0' encoding='UTF-16' !Orvista Defaults Experts Only! Defaults(GridOptions())";

TEST_F(XmlTest, GetDefaultsDomOpensOrBuildsTheDocumentAndLeavesTheFileAlone)
{
    const struct {
        const char* file; // bytes of "Defaults.xml"; null: no file
        const WCHAR* section;
        HRESULT hr;
        std::wstring xml; // the document on success
    } cases[] = {
        {nullptr, L"GridOptions", S_OK, kNewDocument},
        {"<?xml version='1.0'?>\n<Defaults><GridOptions><Spacing>8</Spacing></GridOptions></Defaults>", L"GridOptions",
         S_OK, L"?xml version=\"1.0\" Defaults(GridOptions(Spacing(\"8\")))"},
        {"<Defaults><Other/></Defaults>", L"GridOptions", S_OK, L"Defaults(Other() GridOptions())"},
        {"<Defaults><GridOptions></Defaults>", L"GridOptions", S_OK, kNewDocument}, // not well-formed
        {"", L"GridOptions", S_OK, kNewDocument},
        {"<Settings><GridOptions/></Settings>", L"GridOptions", E_FAIL, L""},
        {nullptr, L"1Grid", E_FAIL, L""},
        {nullptr, L"", E_FAIL, L""},
        {nullptr, nullptr, E_FAIL, L""},
    };
    for (const auto& c : cases) {
        for (const bool qiForm : {true, false}) {
            SCOPED_TRACE(testing::Message() << (c.file ? c.file : "(no file)") << (qiForm ? " (CComQIPtr)" : ""));
            InstallationSandbox sandbox;
            TempTree folder;
            RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt\\Quillon\\Install", L"WbPath",
                                     folder.Root());
            if (c.file) {
                ASSERT_TRUE(TempTree::WriteFile(folder / QN_DEFAULTS_FILE, c.file));
            }
            MessageBoxRecorder boxes;
            CComPtr<IXMLDOMNode> section;
            CComPtr<IXMLDOMDocument2> before = Parse(L"<Before/>");
            CComPtr<IXMLDOMDocument2> doc = before;
            HRESULT hr;
            if (qiForm) {
                CComQIPtr<IXMLDOMDocument2> qi;
                hr = CQNUtility::GetDefaultsDOM(qi, section, c.section);
                doc = qi;
            } else {
                hr = CQNUtility::GetDefaultsDOM(doc, section, c.section);
                if (FAILED(hr)) {
                    EXPECT_EQ(doc.p, before.p); // the CComPtr form leaves it alone
                }
            }
            EXPECT_EQ(hr, c.hr);
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(TempTree::ReadFile(folder / QN_DEFAULTS_FILE), c.file ? c.file : "<missing>");
            if (hr != S_OK)
                continue;
            ASSERT_TRUE(doc && section);
            EXPECT_EQ(Dump(doc), c.xml);
            CComBSTR name;
            section->get_nodeName(&name);
            EXPECT_EQ(std::wstring(name), c.section);
        }
    }
}

TEST_F(XmlTest, ReadElementsGiveTheTextOrTheExactMessage)
{
    CComPtr<IXMLDOMDocument2> doc =
        Parse(L"<S><T>8</T><N><a>x</a><b>y</b></N><C><![CDATA[a<b]]></C><E/><EC><![CDATA[]]></EC></S>");
    CComPtr<IXMLDOMNode> root = Root(doc);
    const struct {
        bool cdata; // ReadCDataElement, else ReadTextElement
        const WCHAR* query;
        HRESULT hr;
        const WCHAR* text; // the string afterwards ("unchanged" when the call fails)
        const WCHAR* box;  // the message shown, or null
    } cases[] = {
        {false, L"T", S_OK, L"8", nullptr},
        {false, L"N", S_OK, L"xy", nullptr},
        {false, L"missing", E_FAIL, L"unchanged", nullptr},
        {false, L"", E_FAIL, L"unchanged", nullptr},
        {false, L"1bad(", E_FAIL, L"unchanged", nullptr},
        {true, L"C", S_OK, L"a<b", nullptr},
        {true, L"EC", S_OK, L"", nullptr},
        {true, L"T", E_FAIL, L"unchanged", L"Error reading node T.\nNo CData section found."},
        {true, L"E", E_FAIL, L"unchanged", L"Error reading node E.\nNo CData section found."},
        {true, L"missing", E_FAIL, L"unchanged", L"Error reading node missing.\nNode not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cdata << testing::PrintToString(CString(c.query)));
        MessageBoxRecorder boxes;
        CString text = L"unchanged";
        EXPECT_EQ(c.cdata ? CQNUtility::ReadCDataElement(root, c.query, text)
                          : CQNUtility::ReadTextElement(root, c.query, text),
                  c.hr);
        EXPECT_STREQ(text, c.text);
        ASSERT_EQ(boxes.Boxes().size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_STREQ(boxes.Boxes()[0].text, c.box);
            EXPECT_EQ(boxes.Boxes()[0].type, UINT(MB_OK | MB_ICONWARNING));
        }
    }
    // An empty node pointer fails quietly in every form.
    MessageBoxRecorder boxes;
    CComPtr<IXMLDOMNode> none;
    CComQIPtr<IXMLDOMNode> noneQI;
    CString text;
    EXPECT_EQ(CQNUtility::ReadTextElement(none, L"T", text), E_FAIL);
    EXPECT_EQ(CQNUtility::ReadTextElement(noneQI, L"T", text), E_FAIL);
    EXPECT_EQ(CQNUtility::ReadCDataElement(none, L"T", text), E_FAIL);
    EXPECT_TRUE(boxes.Boxes().empty());
}

enum Writer { kUpdate, kUpdateQI, kAddText, kAddCData };

TEST_F(XmlTest, WritesChangeTheParentOnlyWhenTheyReportSuccess)
{
    const WCHAR kLoneSurrogate[] = {L'a', 0xD800, 0};
    // One document, written row after row; the parent afterwards (null: unchanged).
    const struct {
        Writer writer;
        const WCHAR* name;
        std::wstring value;
        HRESULT hr;
        const WCHAR* xml;
    } rows[] = {
        {kUpdate, L"T", L"new", S_OK, L"T(\"new\")"},
        {kUpdateQI, L"U", L"1", S_OK, L"T(\"new\") U(\"1\")"},
        {kUpdate, L"U", L"2", S_OK, L"T(\"new\") U(\"2\")"},
        {kAddText, L"T", L"x", S_OK, L"T(\"new\") U(\"2\") T(\"x\") \"\n\""},
        {kAddText, L"T", L"y", S_OK, L"T(\"new\") U(\"2\") T(\"x\") \"\n\" T(\"y\") \"\n\""},
        {kUpdate, L"1T", L"x", E_FAIL, nullptr},
        {kUpdateQI, L"T", kLoneSurrogate, E_FAIL, nullptr},
        {kAddText, L"a:b", L"x", E_FAIL, nullptr},
        {kAddText, L"", L"x", E_FAIL, nullptr},
        {kAddText, L"T", L"a\x01", E_FAIL, nullptr},
        {kAddCData, L"-C", L"x", E_FAIL, nullptr},
        {kAddCData, L"C", L"x]]>y", E_FAIL, nullptr},
        {kAddCData, L"C", L"a]]b<&", S_OK, L"T(\"new\") U(\"2\") T(\"x\") \"\n\" T(\"y\") \"\n\" C([a]]b<&]) \"\n\""},
    };
    CComPtr<IXMLDOMDocument2> doc = Parse(L"<S><T>old</T></S>");
    CComQIPtr<IXMLDOMDocument2> docQI(doc);
    CComPtr<IXMLDOMNode> node = Root(doc);
    CComQIPtr<IXMLDOMElement> qiElement(node);
    CComPtr<IXMLDOMElement> element(qiElement.p);
    std::wstring expected;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(CString(row.name)) + " " + std::to_string(row.writer));
        const CComBSTR value(static_cast<int>(row.value.size()), row.value.c_str());
        const HRESULT hr = row.writer == kUpdate     ? CQNUtility::UpdateTextElement(doc, node, row.name, value)
                           : row.writer == kUpdateQI ? CQNUtility::UpdateTextElement(docQI, node, row.name, value)
                           : row.writer == kAddText  ? CQNUtility::AddTextElement(doc, element, row.name, value)
                                                     : CQNUtility::AddCDataElement(doc, element, row.name, value);
        EXPECT_EQ(hr, row.hr);
        expected = row.xml ? row.xml : expected;
        EXPECT_EQ(Dump(node), expected);
    }
    CComPtr<IXMLDOMDocument2> none;
    CComPtr<IXMLDOMElement> noParent;
    EXPECT_EQ(CQNUtility::AddTextElement(none, noParent, L"T", L"x"), E_FAIL);
    EXPECT_EQ(CQNUtility::AddCDataElement(none, noParent, L"T", L"x"), E_FAIL);
}

TEST_F(XmlTest, DisplayParseErrorShowsTheReasonOrTheFallbackAndFails)
{
    MessageBoxRecorder boxes;
    CComPtr<IXMLDOMDocument2> broken;
    broken.CoCreateInstance(QN_CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER);
    VARIANT_BOOL ok = VARIANT_TRUE;
    broken->loadXML(CComBSTR(L"<a><b></a>"), &ok);
    ASSERT_EQ(ok, VARIANT_FALSE);
    CComPtr<IXMLDOMParseError> error;
    broken->get_parseError(&error);
    CComBSTR reason;
    error->get_reason(&reason);
    ASSERT_GT(reason.Length(), 0u);

    CComPtr<IXMLDOMDocument2> parsed = Parse(L"<a/>");
    CComPtr<IXMLDOMDocument2> none;
    EXPECT_EQ(CQNUtility::DisplayParseError(broken, L"fallback"), E_FAIL);
    EXPECT_EQ(CQNUtility::DisplayParseError(parsed, L"fallback"), E_FAIL);
    EXPECT_EQ(CQNUtility::DisplayParseError(none, L"fallback"), E_FAIL);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_STREQ(boxes.Boxes()[0].text, reason.m_str);
    EXPECT_STREQ(boxes.Boxes()[1].text, L"fallback");
    for (const auto& box : boxes.Boxes())
        EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONWARNING));
}

} // namespace
