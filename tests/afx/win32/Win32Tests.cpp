// The Windows-only parts of the stand-ins: the user's case rules, the ANSI code
// page, string resources of the module in force, and CComVariant.
#include <afx/afxwin.h>
#include <afx/atlbase.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

namespace {

TEST(CStringWin32, CaseFollowsTheSystemRules)
{
    CString s(L"stra\u00dfe \u00e9t\u00e9 \u0434\u043e\u043c");
    s.MakeUpper(); // beyond ASCII, unlike the native build
    EXPECT_EQ(CString(L"STRA\u00dfE \u00c9T\u00c9 \u0414\u041e\u041c"), s);
    s.MakeLower();
    EXPECT_EQ(CString(L"stra\u00dfe \u00e9t\u00e9 \u0434\u043e\u043c"), s);
    EXPECT_NE(0, CString(L"\u00e9").CompareNoCase(L"\u00c9")); // CompareNoCase stays ASCII-only
}

TEST(CStringWin32, AnsiTextUsesTheCodePage)
{
    const CString converted("\x80 caf\xe9");
    WCHAR expected[16] = {};
    ASSERT_GT(::MultiByteToWideChar(CP_ACP, 0, "\x80 caf\xe9", -1, expected, 16), 0);
    EXPECT_EQ(CString(expected), converted);
}

TEST(CStringWin32, LoadStringFromTheResourceModuleInForce)
{
    WCHAR exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    CString path(exe);
    path = path.Left(path.ReverseFind(L'\\') + 1) + L"Brand.ENU"; // fixture module: string 1 = "ENU"
    HMODULE module = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);

    const HINSTANCE previous = AfxGetResourceHandle();
    CString s(L"unchanged");
    EXPECT_FALSE(s.LoadString(1)); // the test program has no strings
    EXPECT_EQ(CString(L"unchanged"), s);

    AfxSetResourceHandle(module);
    EXPECT_TRUE(s.LoadString(1));
    EXPECT_EQ(CString(L"ENU"), s);
    EXPECT_FALSE(s.LoadString(4242));
    EXPECT_EQ(CString(L"ENU"), s);
    AfxSetResourceHandle(previous);
    ::FreeLibrary(module);
}

TEST(CComVariantTest, ValuesCopiesAndConversions)
{
    CComVariant empty;
    EXPECT_EQ(VT_EMPTY, empty.vt);

    CComVariant text(L"12");
    EXPECT_EQ(VT_BSTR, text.vt);
    CComVariant copy = text;
    EXPECT_NE(copy.bstrVal, text.bstrVal); // a deep copy
    EXPECT_TRUE(copy == text);
    EXPECT_EQ(S_OK, copy.ChangeType(VT_I4));
    EXPECT_EQ(VT_I4, copy.vt);
    EXPECT_EQ(12, copy.lVal);
    EXPECT_TRUE(copy == CComVariant(12));
    EXPECT_FALSE(copy == CComVariant(12.0)); // types differ
    EXPECT_EQ(DISP_E_TYPEMISMATCH, CComVariant(L"twelve").ChangeType(VT_I4));

    struct Case {
        CComVariant value;
        VARTYPE vt;
    };
    const Case cases[] = {
        {CComVariant(true), VT_BOOL}, {CComVariant(BYTE(1)), VT_UI1},  {CComVariant(short(1)), VT_I2},
        {CComVariant(1L), VT_I4},     {CComVariant(1.5f), VT_R4},      {CComVariant(1.5), VT_R8},
        {CComVariant(LONGLONG(1)), VT_I8}, {CComVariant(1u), VT_UI4}, {CComVariant(45000.0, VT_DATE), VT_DATE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.vt, c.value.vt);
    EXPECT_EQ(VARIANT_TRUE, cases[0].value.boolVal);

    VARIANT raw;
    ::VariantInit(&raw);
    raw.vt = VT_BSTR;
    raw.bstrVal = ::SysAllocString(L"owned");
    CComVariant holder;
    EXPECT_EQ(S_OK, holder.Attach(&raw));
    EXPECT_EQ(VT_EMPTY, raw.vt);
    EXPECT_EQ(S_OK, holder.Detach(&raw));
    EXPECT_EQ(VT_EMPTY, holder.vt);
    EXPECT_EQ(CString(L"owned"), CString(raw.bstrVal));
    ::VariantClear(&raw);
    EXPECT_EQ(E_INVALIDARG, holder.Attach(nullptr));
}

} // namespace
