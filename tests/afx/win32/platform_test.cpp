// The Windows-only parts of the stand-ins: the user's case rules, the ANSI code
// page, string resources of the module in force, and CComVariant.
#include <afx/afxwin.h>
#include <afx/atlbase.h>

#include "support/AfxTestPrint.h"
#include "support/win32/WindowPixels.h"

#include <gtest/gtest.h>

namespace {

TEST(CStringWin32, CaseRulesAndCodePage)
{
    CString s(L"stra\u00dfe \u00e9t\u00e9 \u0434\u043e\u043c");
    s.MakeUpper(); // beyond ASCII, unlike the native build
    EXPECT_EQ(CString(L"STRA\u00dfE \u00c9T\u00c9 \u0414\u041e\u041c"), s);
    s.MakeLower();
    EXPECT_EQ(CString(L"stra\u00dfe \u00e9t\u00e9 \u0434\u043e\u043c"), s);
    EXPECT_NE(0, CString(L"\u00e9").CompareNoCase(L"\u00c9")); // CompareNoCase stays ASCII-only

    WCHAR expected[16] = {};
    ASSERT_GT(::MultiByteToWideChar(CP_ACP, 0, "\x80 caf\xe9", -1, expected, 16), 0);
    EXPECT_EQ(CString(expected), CString("\x80 caf\xe9"));
}

TEST(CStringWin32, LoadStringFromTheResourceModuleInForce)
{
    CString s(L"unchanged");
    EXPECT_FALSE(s.LoadString(1)); // the test program has no strings
    EXPECT_EQ(CString(L"unchanged"), s);
    ResourceModuleInForce brand(L"Brand.ENU"); // fixture module: string 1 = "ENU"
    ASSERT_NE(nullptr, brand.Module());
    EXPECT_TRUE(s.LoadString(1));
    EXPECT_FALSE(s.LoadString(4242));
    EXPECT_EQ(CString(L"ENU"), s);
}

TEST(CComVariantTest, CopiesConversionsAndOwnership)
{
    CComVariant text(L"12"), copy;
    copy = text;
    EXPECT_NE(copy.bstrVal, text.bstrVal); // a deep copy
    EXPECT_EQ(S_OK, copy.ChangeType(VT_I4));
    EXPECT_TRUE(copy == CComVariant(12));
    EXPECT_FALSE(copy == CComVariant(12.0)); // types differ
    EXPECT_EQ(DISP_E_TYPEMISMATCH, CComVariant(L"twelve").ChangeType(VT_I4));
    VARIANT raw = {}; // VT_EMPTY
    EXPECT_EQ(S_OK, text.Detach(&raw));
    EXPECT_EQ(VT_EMPTY, text.vt);
    EXPECT_EQ(S_OK, copy.Attach(&raw)); // the value moves, the old one is cleared
    EXPECT_EQ(VT_EMPTY, raw.vt);
    EXPECT_EQ(CString(L"12"), CString(copy.bstrVal));
    EXPECT_EQ(E_INVALIDARG, copy.Attach(nullptr));
}

} // namespace
