// The font catalogue against what Wine's enumeration reports on this machine,
// and the height conversions against the platform's MulDiv.
#include <QNFont.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

using FaceAndCharset = std::pair<std::wstring, int>;

// What the enumeration itself reports: the script of every (face, charset).
std::map<FaceAndCharset, std::wstring> Enumerate(std::set<std::wstring>& fullNames)
{
    struct Seen {
        std::map<FaceAndCharset, std::wstring> scripts;
        std::set<std::wstring>* fullNames;
    } seen{{}, &fullNames};
    HDC dc = ::GetDC(nullptr);
    LOGFONTW every = {};
    every.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(
        dc, &every,
        [](const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM context) -> int {
            auto* s = reinterpret_cast<Seen*>(context);
            const auto* font = reinterpret_cast<const ENUMLOGFONTEXW*>(lf);
            s->scripts.emplace(FaceAndCharset(font->elfLogFont.lfFaceName, font->elfLogFont.lfCharSet),
                               font->elfScript);
            s->fullNames->insert(font->elfFullName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&seen), 0);
    ::ReleaseDC(nullptr, dc);
    return seen.scripts;
}

TEST(FontCatalogueWin32, ListsEveryEnumeratedFontOfTheSupportedSetsInOrder)
{
    CQNUtility::DeleteFontList();
    std::set<std::wstring> fullNames;
    const auto enumerated = Enumerate(fullNames);
    std::set<FaceAndCharset> expected;
    const std::set<int> supported = {0, 2, 128, 129, 134, 136, 204};
    for (const auto& [key, script] : enumerated) {
        if (supported.count(key.second) && key.first[0] != L'@' && !(key.second == 128 && key.first == L"Small Fonts"))
            expected.insert(key);
    }
    ASSERT_FALSE(expected.empty()) << "no fonts installed (scripts/bootstrap installs some)";

    EXPECT_EQ(CQNUtility::LoadFontList(), S_OK);
    CHMIFontList* list = CQNUtility::GetFontList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(CQNUtility::LoadFontList(), S_FALSE);
    EXPECT_EQ(CQNUtility::GetFontList(), list);

    std::set<FaceAndCharset> listed;
    std::wstring previous;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CHMIFont& font = list->GetNext(pos);
        const FaceAndCharset key(font.Face(), font.Charset());
        EXPECT_TRUE(listed.insert(key).second) << "twice: " << testing::PrintToString(CString(font.Description()));
        const std::wstring script = enumerated.count(key) ? enumerated.at(key) : L"?";
        EXPECT_EQ(std::wstring(font.Description()), script.empty() ? key.first : key.first + L" (" + script + L")");
        EXPECT_LE(previous.compare(font.Description()), 0) << testing::PrintToString(CString(font.Description()));
        EXPECT_EQ(std::wstring(font.OriginalFace()), L"");
        previous = font.Description();
    }
    EXPECT_EQ(listed, expected);

    // Deleted by the host, built again on the next use.
    EXPECT_EQ(CQNUtility::DeleteFontList(), S_OK);
    EXPECT_EQ(CQNUtility::DeleteFontList(), S_FALSE);
    ASSERT_NE(CQNUtility::GetFontList(), nullptr);
    EXPECT_EQ(CQNUtility::GetFontList()->GetCount(), static_cast<INT_PTR>(expected.size()));
    CQNUtility::DeleteFontList();
}

TEST(FontCatalogueWin32, HeightConversionsRoundAsMulDivAtTheScreenResolution)
{
    HDC dc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    for (const long value : {0L, 1L, -1L, 8L, -11L, 12L, 36L, 37L, -37L, 1000L, 0x7FFFFFFFL, -0x7FFFFFFFL}) {
        EXPECT_EQ(CQNUtility::PointToPixel(value), -::MulDiv(value, dpi, 72)) << value;
        EXPECT_EQ(CQNUtility::PixelToPoint(value), -::MulDiv(value, 72, dpi)) << value;
    }
    if (dpi == 96) {
        EXPECT_EQ(CQNUtility::PointToPixel(8), -11);
        EXPECT_EQ(CQNUtility::PixelToPoint(-11), 8);
    }
}

} // namespace
