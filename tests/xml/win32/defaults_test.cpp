// The XML helpers and the defaults document over Wine's MSXML, with a real
// "Defaults.xml" in a temporary folder that the registry names as "WbPath".
#include <QNXml.h>

#include "support/AfxTestPrint.h"
#include "support/MessageBoxRecorder.h"
#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Points HKLM\SOFTWARE\Varnholt\Quillon\Install\WbPath at a temporary folder
// for the lifetime of the object and puts the previous value back afterwards.
class WbPathFolder {
public:
    WbPathFolder()
    {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        WCHAR previous[520] = {};
        DWORD size = sizeof previous - sizeof(WCHAR);
        m_hadValue = ::RegQueryValueExW(m_key, L"WbPath", nullptr, nullptr, reinterpret_cast<BYTE*>(previous),
                                        &size) == ERROR_SUCCESS;
        m_previous = previous;
        Set(m_tree.Root());
    }
    ~WbPathFolder()
    {
        if (m_hadValue)
            Set(m_previous);
        else
            ::RegDeleteValueW(m_key, L"WbPath");
        ::RegCloseKey(m_key);
    }
    std::wstring File() const { return m_tree / QN_DEFAULTS_FILE; }

private:
    void Set(const std::wstring& value)
    {
        ::RegSetValueExW(m_key, L"WbPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
    }
    static constexpr WCHAR kKey[] = L"SOFTWARE\\Varnholt\\Quillon\\Install";
    TempTree m_tree;
    HKEY m_key = nullptr;
    bool m_hadValue = false;
    std::wstring m_previous;
};

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
        if (!out.empty())
            out += L" ";
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

class Xml : public testing::Test {
protected:
    void SetUp() override { (void)::CoInitialize(nullptr); }
    void TearDown() override { ::CoUninitialize(); }

    // A document parsed from `xml`; the test fails when it does not parse.
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

struct OpenCase {
    const char* name;
    const char* file; // bytes of "Defaults.xml"; null: no file
    const WCHAR* section;
    HRESULT hr;
    std::wstring dump;   // the document on success
    const WCHAR* first;  // the section's first value on success, or null
};

const OpenCase kOpenCases[] = {
    {"no file", nullptr, L"GridOptions", S_OK, kNewDocument, nullptr},
    {"section present", "<?xml version='1.0'?>\n<Defaults><GridOptions><Spacing>8</Spacing></GridOptions></Defaults>",
     L"GridOptions", S_OK, L"?xml version=\"1.0\" Defaults(GridOptions(Spacing(\"8\")))", L"8"},
    {"section missing", "<Defaults><Other/></Defaults>", L"GridOptions", S_OK, L"Defaults(Other() GridOptions())",
     nullptr},
    {"not well-formed", "<Defaults><GridOptions></Defaults>", L"GridOptions", S_OK, kNewDocument, nullptr},
    {"empty file", "", L"GridOptions", S_OK, kNewDocument, nullptr},
    {"UTF-8 bytes declared UTF-16", "<?xml version='1.0' encoding='UTF-16'?><Defaults><GridOptions/></Defaults>",
     L"GridOptions", S_OK, kNewDocument, nullptr},
    {"root missing", "<?xml version='1.0'?><!--only a comment-->", L"GridOptions", S_OK, kNewDocument, nullptr},
    {"other root", "<Settings><GridOptions/></Settings>", L"GridOptions", E_FAIL, L"", nullptr},
    {"section twice", "<Defaults><G><V>1</V></G><G><V>2</V></G></Defaults>", L"G", S_OK,
     L"Defaults(G(V(\"1\")) G(V(\"2\")))", L"1"},
    {"section name with a digit first", nullptr, L"1Grid", E_FAIL, L"", nullptr},
    {"section name with a space", nullptr, L"Grid Options", E_FAIL, L"", nullptr},
    {"section name with a prefix", nullptr, L"a:Grid", E_FAIL, L"", nullptr},
    {"empty section name", nullptr, L"", E_FAIL, L"", nullptr},
    {"null section name", nullptr, nullptr, E_FAIL, L"", nullptr},
};

TEST_F(Xml, GetDefaultsDomOpensOrBuildsTheDocumentAndLeavesTheFileAlone)
{
    for (const OpenCase& c : kOpenCases) {
        for (const bool qiForm : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (qiForm ? " (CComQIPtr)" : " (CComPtr)"));
            WbPathFolder folder;
            if (c.file) {
                ASSERT_TRUE(TempTree::WriteFile(folder.File(), c.file));
            }
            MessageBoxRecorder boxes;
            CComPtr<IXMLDOMNode> section;
            CComPtr<IXMLDOMDocument2> doc;
            HRESULT hr;
            if (qiForm) {
                CComQIPtr<IXMLDOMDocument2> qi;
                hr = CQNUtility::GetDefaultsDOM(qi, section, c.section);
                doc = qi;
            } else {
                // The CComPtr form leaves the caller's document alone on failure.
                CComPtr<IXMLDOMDocument2> before = Parse(L"<Before/>");
                doc = before;
                hr = CQNUtility::GetDefaultsDOM(doc, section, c.section);
                if (FAILED(hr)) {
                    EXPECT_EQ(doc.p, before.p);
                }
            }
            EXPECT_EQ(hr, c.hr);
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(TempTree::ReadFile(folder.File()), c.file ? c.file : "<missing>");
            if (hr != S_OK)
                continue;
            ASSERT_TRUE(doc && section);
            EXPECT_EQ(Dump(doc), c.dump);
            CComBSTR name;
            section->get_nodeName(&name);
            EXPECT_EQ(std::wstring(name), c.section);
            CString value;
            if (c.first) {
                EXPECT_EQ(CQNUtility::ReadTextElement(section, L"*", value), S_OK);
                EXPECT_STREQ(value, c.first);
            }
        }
    }
}

// --- Reading ------------------------------------------------------------------

enum class Reader { Text, CData };

struct ReadCase {
    Reader reader;
    const WCHAR* query;
    HRESULT hr;
    const WCHAR* text; // the string afterwards ("unchanged" when the call fails)
    const WCHAR* box;  // the message shown, or null
};

const ReadCase kReadCases[] = {
    {Reader::Text, L"T", S_OK, L"8", nullptr},
    {Reader::Text, L"N", S_OK, L"xy", nullptr},
    {Reader::Text, L"C", S_OK, L"a<b", nullptr},
    {Reader::Text, L"E", S_OK, L"", nullptr},
    {Reader::Text, L"missing", E_FAIL, L"unchanged", nullptr},
    {Reader::Text, L"", E_FAIL, L"unchanged", nullptr},
    {Reader::Text, L"1bad(", E_FAIL, L"unchanged", nullptr},
    {Reader::CData, L"C", S_OK, L"a<b", nullptr},
    {Reader::CData, L"EC", S_OK, L"", nullptr},
    {Reader::CData, L"T", E_FAIL, L"unchanged", L"Error reading node T.\nNo CData section found."},
    {Reader::CData, L"E", E_FAIL, L"unchanged", L"Error reading node E.\nNo CData section found."},
    {Reader::CData, L"TC", E_FAIL, L"unchanged", L"Error reading node TC.\nNo CData section found."},
    {Reader::CData, L"missing", E_FAIL, L"unchanged", L"Error reading node missing.\nNode not found."},
};

TEST_F(Xml, ReadElementsGiveTheTextOrTheExactMessage)
{
    CComPtr<IXMLDOMDocument2> doc = Parse(L"<S><T>8</T><N><a>x</a><b>y</b></N><C><![CDATA[a<b]]></C><E/>"
                                          L"<EC><![CDATA[]]></EC><TC>t<![CDATA[c]]></TC></S>");
    CComPtr<IXMLDOMNode> root = Root(doc);
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(testing::Message() << (c.reader == Reader::Text ? "text " : "cdata ") << testing::PrintToString(CString(c.query)));
        MessageBoxRecorder boxes;
        CString text = L"unchanged";
        const HRESULT hr = c.reader == Reader::Text ? CQNUtility::ReadTextElement(root, c.query, text)
                                                    : CQNUtility::ReadCDataElement(root, c.query, text);
        EXPECT_EQ(hr, c.hr);
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

// --- Writing ------------------------------------------------------------------

enum class Writer { Update, AddText, AddCData };

struct WriteStep {
    Writer writer;
    const WCHAR* name;
    std::wstring value;
    HRESULT hr;
};

struct WriteCase {
    const char* name;
    std::vector<WriteStep> steps;
    std::wstring dump; // the parent afterwards
};

const WCHAR kLoneSurrogate[] = {L'a', 0xD800, 0};

const std::vector<WriteCase> kWriteCases = {
    {"update replaces", {{Writer::Update, L"T", L"new", S_OK}}, L"T(\"new\")"},
    {"update twice", {{Writer::Update, L"U", L"1", S_OK}, {Writer::Update, L"U", L"2", S_OK}},
     L"T(\"old\") U(\"2\")"},
    {"add text twice", {{Writer::AddText, L"T", L"x", S_OK}, {Writer::AddText, L"T", L"y", S_OK}},
     L"T(\"old\") T(\"x\") \"\n\" T(\"y\") \"\n\""},
    {"add cdata", {{Writer::AddCData, L"C", L"a]]b<&", S_OK}}, L"T(\"old\") C([a]]b<&]) \"\n\""},
    {"add empty cdata", {{Writer::AddCData, L"C", L"", S_OK}}, L"T(\"old\") C([]) \"\n\""},
    {"update: digit first", {{Writer::Update, L"1T", L"x", E_FAIL}}, L"T(\"old\")"},
    {"add text: space in name", {{Writer::AddText, L"a b", L"x", E_FAIL}}, L"T(\"old\")"},
    {"add text: prefix", {{Writer::AddText, L"a:b", L"x", E_FAIL}}, L"T(\"old\")"},
    {"add text: empty name", {{Writer::AddText, L"", L"x", E_FAIL}}, L"T(\"old\")"},
    {"add cdata: bad name", {{Writer::AddCData, L"-C", L"x", E_FAIL}}, L"T(\"old\")"},
    {"add text: control character", {{Writer::AddText, L"T", L"a\x01", E_FAIL}}, L"T(\"old\")"},
    {"update: lone surrogate", {{Writer::Update, L"T", kLoneSurrogate, E_FAIL}}, L"T(\"old\")"},
    {"add cdata: section end", {{Writer::AddCData, L"C", L"x]]>y", E_FAIL}}, L"T(\"old\")"},
};

TEST_F(Xml, WritesChangeTheParentOnlyWhenTheyReportSuccess)
{
    for (const WriteCase& c : kWriteCases) {
        for (const bool qiForm : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (qiForm ? " (CComQIPtr)" : ""));
            CComPtr<IXMLDOMDocument2> doc = Parse(L"<S><T>old</T></S>");
            CComQIPtr<IXMLDOMDocument2> docQI(doc);
            CComPtr<IXMLDOMNode> node = Root(doc);
            CComPtr<IXMLDOMElement> element;
            node->QueryInterface(__uuidof(IXMLDOMElement), reinterpret_cast<void**>(&element));
            for (const WriteStep& step : c.steps) {
                const CComBSTR value(static_cast<int>(step.value.size()), step.value.c_str());
                HRESULT hr = E_UNEXPECTED;
                switch (step.writer) {
                case Writer::Update:
                    hr = qiForm ? CQNUtility::UpdateTextElement(docQI, node, step.name, value)
                                : CQNUtility::UpdateTextElement(doc, node, step.name, value);
                    break;
                case Writer::AddText: hr = CQNUtility::AddTextElement(doc, element, step.name, value); break;
                case Writer::AddCData: hr = CQNUtility::AddCDataElement(doc, element, step.name, value); break;
                }
                EXPECT_EQ(hr, step.hr);
            }
            EXPECT_EQ(Dump(node), c.dump);
        }
    }
    CComPtr<IXMLDOMDocument2> none;
    CComPtr<IXMLDOMElement> noParent;
    EXPECT_EQ(CQNUtility::AddTextElement(none, noParent, L"T", L"x"), E_FAIL);
    EXPECT_EQ(CQNUtility::AddCDataElement(none, noParent, L"T", L"x"), E_FAIL);
}

// --- Parse errors -------------------------------------------------------------

TEST_F(Xml, DisplayParseErrorShowsTheReasonOrTheFallbackAndFails)
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

// --- A saved document is read back -------------------------------------------

TEST_F(Xml, SavedDefaultsAreReadBackByTheNextOpen)
{
    WbPathFolder folder;
    const WCHAR kValue[] = {L'<', L'&', 0x00E4, 0x4E2D, 0xD83D, 0xDE00, 0}; // markup, umlaut, CJK, emoji
    {
        CComPtr<IXMLDOMDocument2> doc;
        CComPtr<IXMLDOMNode> section;
        ASSERT_EQ(CQNUtility::GetDefaultsDOM(doc, section, L"GridOptions"), S_OK);
        CComQIPtr<IXMLDOMElement> element(section);
        ASSERT_EQ(CQNUtility::AddTextElement(doc, element, L"Spacing", kValue), S_OK);
        ASSERT_EQ(CQNUtility::AddCDataElement(doc, element, L"Script", L"if (a<b) {}"), S_OK);
        ASSERT_EQ(doc->save(CComVariant(folder.File().c_str())), S_OK);
    }
    CComPtr<IXMLDOMDocument2> doc;
    CComPtr<IXMLDOMNode> section;
    ASSERT_EQ(CQNUtility::GetDefaultsDOM(doc, section, L"GridOptions"), S_OK);
    CString text, script;
    EXPECT_EQ(CQNUtility::ReadTextElement(section, L"Spacing", text), S_OK);
    EXPECT_STREQ(text, kValue);
    EXPECT_EQ(CQNUtility::ReadCDataElement(section, L"Script", script), S_OK);
    EXPECT_STREQ(script, L"if (a<b) {}");
    // The file starts with a UTF-16 byte order mark, as its declaration says.
    const std::string bytes = TempTree::ReadFile(folder.File());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
}

} // namespace
