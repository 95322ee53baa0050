// The font catalogue against what Wine's enumeration reports on this machine,
// and the height conversions against the platform's MulDiv.
#include <QNFont.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

using FaceAndCharset = std::pair<std::wstring, int>;

int CALLBACK Collect(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM context)
{
    const auto* font = reinterpret_cast<const ENUMLOGFONTEXW*>(lf);
    reinterpret_cast<std::map<FaceAndCharset, std::wstring>*>(context)->emplace(
        FaceAndCharset(font->elfLogFont.lfFaceName, font->elfLogFont.lfCharSet), font->elfScript);
    return 1;
}

TEST(FontCatalogueWin32, ListsEveryEnumeratedFontOfTheSupportedSetsInOrder)
{
    // What the enumeration itself reports: the script of every (face, charset)
    // that the catalogue keeps, described as it must be.
    std::map<FaceAndCharset, std::wstring> enumerated, expected;
    HDC dc = ::GetDC(nullptr);
    LOGFONTW every = {};
    every.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(dc, &every, Collect, reinterpret_cast<LPARAM>(&enumerated), 0);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    const std::set<int> supported = {0, 2, 128, 129, 134, 136, 204};
    for (const auto& [key, script] : enumerated) {
        if (supported.count(key.second) && key.first[0] != L'@' && !(key.second == 128 && key.first == L"Small Fonts"))
            expected[key] = script.empty() ? key.first : key.first + L" (" + script + L")";
    }
    ASSERT_FALSE(expected.empty()) << "no fonts installed (scripts/bootstrap installs some)";

    CQNUtility::DeleteFontList();
    EXPECT_EQ(CQNUtility::LoadFontList(), S_OK);
    CHMIFontList* list = CQNUtility::GetFontList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(CQNUtility::LoadFontList(), S_FALSE);
    EXPECT_EQ(CQNUtility::GetFontList(), list);
    std::map<FaceAndCharset, std::wstring> listed;
    std::wstring previous;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CHMIFont& font = list->GetNext(pos);
        EXPECT_TRUE(listed.emplace(FaceAndCharset(font.Face(), font.Charset()), font.Description()).second);
        EXPECT_LE(previous.compare(font.Description()), 0);
        EXPECT_EQ(std::wstring(font.OriginalFace()), L"");
        previous = font.Description();
    }
    EXPECT_TRUE(listed == expected);
    // Deleted by the host, built again on the next use.
    EXPECT_EQ(CQNUtility::DeleteFontList(), S_OK);
    ASSERT_NE(CQNUtility::GetFontList(), nullptr);
    EXPECT_EQ(CQNUtility::GetFontList()->GetCount(), static_cast<INT_PTR>(expected.size()));
    CQNUtility::DeleteFontList();

    for (const long value : {0L, 1L, -1L, 8L, -11L, 37L, -37L, 0x7FFFFFFFL, -0x7FFFFFFFL}) {
        EXPECT_EQ(CQNUtility::PointToPixel(value), -::MulDiv(value, dpi, 72)) << value;
        EXPECT_EQ(CQNUtility::PixelToPoint(value), -::MulDiv(value, 72, dpi)) << value;
    }
}

} // namespace
