// CColor: the two lazily converted views, the hexadecimal text and the named
// colour table.
#include <QNColour.h>

#include <support/AfxTestPrint.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

struct Channels {
    int r, g, b;
};

Channels Rgb(const CColor& c) { return {c.GetRed(), c.GetGreen(), c.GetBlue()}; }

::testing::AssertionResult SameChannels(const Channels& actual, const Channels& expected)
{
    if (actual.r == expected.r && actual.g == expected.g && actual.b == expected.b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b
                                         << "), expected (" << expected.r << ", " << expected.g << ", "
                                         << expected.b << ")";
}

// --- Construction and the RGB view -------------------------------------------

TEST(CColor, ConstructionKeepsAllBits)
{
    for (ULONG value : {ULONG(0), ULONG(0x00123456), ULONG(0xAB123456), ULONG(0xFFFFFFFF), ULONG(0x08000000)}) {
        const CColor c(value);
        EXPECT_EQ(static_cast<ULONG>(c), value);
        EXPECT_EQ(c.GetRed(), int(value & 0xFF));
        EXPECT_EQ(c.GetGreen(), int((value >> 8) & 0xFF));
        EXPECT_EQ(c.GetBlue(), int((value >> 16) & 0xFF));
    }
    EXPECT_EQ(static_cast<ULONG>(CColor()), 0u);
}

TEST(CColor, ChannelSettersKeepLowBitsAndByte3)
{
    struct Case {
        int red, green, blue;
        ULONG expected;
    };
    const Case cases[] = {
        {0x12, 0x34, 0x56, 0xA5563412},
        {300, 0, 0, 0xA500002C},   // 300 keeps 44
        {-1, 256, 511, 0xA5FF00FF},
        {0x7FFFFFFF, int(0x80000000u), 0x1FF, 0xA5FF00FF},
    };
    for (const Case& c : cases) {
        CColor one(0xA5FFFFFF);
        one.SetRed(c.red);
        one.SetGreen(c.green);
        one.SetBlue(c.blue);
        EXPECT_EQ(static_cast<ULONG>(one), c.expected) << c.red;
        CColor all(0xA5FFFFFF);
        all.SetRGB(c.red, c.green, c.blue);
        EXPECT_EQ(static_cast<ULONG>(all), c.expected) << c.red;
    }
}

TEST(CColor, SingleChannelSetterStartsFromCurrentHls)
{
    // The setter brings RGB up to date first, so the other channels come from
    // the HLS values set before.
    CColor c(0x01000000);
    c.SetHLS(120.0f, 0.5f, 1.0f); // pure green
    c.SetBlue(0x40);
    EXPECT_TRUE(SameChannels(Rgb(c), {0, 255, 0x40}));
    EXPECT_EQ(static_cast<ULONG>(c), 0x0140FF00u);
    // SetRGB replaces the view without converting first.
    c.SetHLS(0.0f, 1.0f, 0.0f);
    c.SetRGB(1, 2, 3);
    EXPECT_EQ(static_cast<ULONG>(c), 0x01030201u);
}

TEST(CColor, AssignmentCopiesBothViewsAndFlags)
{
    CColor source(0x00FF0000);
    source.SetHLS(200.5f, 0.25f, 0.75f); // HLS valid, RGB stale
    CColor copy(0x00123456);
    copy = source;
    // The copy's HLS view is the one set, not one recomputed from channels.
    EXPECT_EQ(copy.GetHue(), 200.5f);
    EXPECT_EQ(copy.GetLuminance(), 0.25f);
    EXPECT_EQ(copy.GetSaturation(), 0.75f);
    EXPECT_EQ(static_cast<ULONG>(copy), static_cast<ULONG>(source));

    CColor copied(source);
    EXPECT_EQ(copied.GetHue(), 200.5f);
}

// --- HLS ------------------------------------------------------------------------

TEST(CColor, ToHlsDocumentedValues)
{
    struct Case {
        ULONG colour;
        float hue, luminance, saturation;
    };
    const Case cases[] = {
        {0x000000FF, 360.0f, 0.5f, 1.0f}, // pure red keeps hue 360
        {0x0000FF00, 120.0f, 0.5f, 1.0f},
        {0x00FF0000, 240.0f, 0.5f, 1.0f},
        {0x0000FFFF, 60.0f, 0.5f, 1.0f},  // yellow: the green test overrides 420
        {0x00FFFF00, 180.0f, 0.5f, 1.0f},
        {0x00FF00FF, 300.0f, 0.5f, 1.0f},
        {0x00808080, 0.0f, 256 * 0.0019607844f, 0.0f},
        {0x00FFFFFF, 0.0f, 1.0f, 0.0f},
        {0x00000000, 0.0f, 0.0f, 0.0f},
        {0x0000007F, 360.0f, 127 * 0.0019607844f, 1.0f},
        {0x000080FF, 30.11765f, 0.5f, 1.0f},
        {0x00C0C0FF, 360.0f, 0.87647057f, 1.0f},  // light pink: 63 / (510 - 447)
        {0x00404080, 360.0f, 0.37647063f, 0.33333334f},
        {0xFF0000FF, 360.0f, 0.5f, 1.0f},          // byte 3 plays no part
    };
    for (const Case& c : cases) {
        const CColor colour(c.colour);
        EXPECT_FLOAT_EQ(colour.GetHue(), c.hue) << std::hex << c.colour;
        EXPECT_FLOAT_EQ(colour.GetLuminance(), c.luminance) << std::hex << c.colour;
        EXPECT_FLOAT_EQ(colour.GetSaturation(), c.saturation) << std::hex << c.colour;
    }
    EXPECT_EQ(CColor(0x000000FF).GetHue(), 360.0f); // exactly
}

TEST(CColor, ToRgbDocumentedValuesAndOutOfRange)
{
    struct Case {
        float hue, luminance, saturation;
        Channels expected;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {360.0f, 0.5f, 1.0f, {255, 0, 0}},
        {0.0f, 0.5f, 1.0f, {255, 0, 0}},
        {120.0f, 0.5f, 1.0f, {0, 255, 0}},
        {240.0f, 0.5f, 1.0f, {0, 0, 255}},
        {30.0f, 0.5f, 1.0f, {255, 127, 0}},  // 0.5 x 255 = 127.5 truncates
        {0.0f, 0.5f, 0.0f, {127, 127, 127}}, // grey: luminance x 255
        {123.0f, 1.0f, 0.0f, {255, 255, 255}},
        {0.0f, 0.0f, 0.0f, {0, 0, 0}},
        {0.0f, 0.75f, 1.0f, {255, 127, 127}}, // luminance above 0.5: m2 = l + s - l s
        {0.0f, 0.25f, 1.0f, {127, 0, 0}},
        // One turn of wrap-around, in both directions, and no more.
        {390.0f, 0.5f, 1.0f, {255, 127, 0}},
        {-330.0f, 0.5f, 1.0f, {255, 127, 0}},
        {750.0f, 0.5f, 1.0f, {0, 0, 0}},
        // Outside the documented ranges the channels are held to 0..255 (this
        // library's choice; no wrap-around of the 8-bit value).
        {0.0f, 2.0f, 0.0f, {255, 255, 255}},
        {0.0f, -1.0f, 0.0f, {0, 0, 0}},
        {0.0f, 0.5f, 3.0f, {255, 0, 0}},
        {0.0f, 1e30f, 0.0f, {255, 255, 255}},
        {0.0f, inf, 0.0f, {255, 255, 255}},
        {0.0f, nan, 0.0f, {0, 0, 0}},
        {nan, 0.5f, 1.0f, {0, 0, 0}},
        // Green's hue -450 wraps once to -90, blue's -570 to -210: v < 0 gives 0.
        {-450.0f, 0.5f, 1.0f, {127, 0, 0}},
    };
    for (const Case& c : cases) {
        CColor colour(0x5A000000);
        colour.SetHLS(c.hue, c.luminance, c.saturation);
        EXPECT_TRUE(SameChannels(Rgb(colour), c.expected)) << c.hue << " " << c.luminance << " " << c.saturation;
        EXPECT_EQ(static_cast<ULONG>(colour) >> 24, 0x5Au);
    }
}

TEST(CColor, ViewsConvertLazilyAndOnlyWhenStale)
{
    CColor c(0x000080FF);
    c.SetHLS(200.5f, 0.3f, 0.7f);
    const Channels first = Rgb(c);      // ToRGB runs once
    EXPECT_EQ(c.GetHue(), 200.5f);      // the HLS view is still the one set
    EXPECT_EQ(c.GetLuminance(), 0.3f);
    EXPECT_EQ(c.GetSaturation(), 0.7f);
    EXPECT_TRUE(SameChannels(Rgb(c), first));

    // A channel setter makes HLS stale: the next getter converts again.
    c.SetRed(first.r);
    EXPECT_NE(c.GetHue(), 200.5f);

    // A component setter starts from the current RGB.
    CColor d(0x000000FF);
    d.SetLuminance(0.25f);             // hue 360 and saturation 1 come from red
    EXPECT_EQ(d.GetHue(), 360.0f);
    EXPECT_EQ(d.GetSaturation(), 1.0f);
    EXPECT_TRUE(SameChannels(Rgb(d), {127, 0, 0}));

    CColor e(0x0000FF00);
    e.SetHue(240.0f);
    EXPECT_TRUE(SameChannels(Rgb(e), {0, 0, 255}));
    CColor f(0x0000FF00);
    f.SetSaturation(0.0f);
    EXPECT_TRUE(SameChannels(Rgb(f), {127, 127, 127}));
}

TEST(CColor, HlsRoundTripLosesAtMostOnePerChannel)
{
    // Every 7th colour: every channel value, and every hue segment many times.
    constexpr uint32_t stride = 7;
    uint32_t failures = 0, first = 0, lowered = 0;
    for (uint32_t value = 0; value < 0x1000000; value += stride) {
        CColor c(value);
        const float hue = c.GetHue(), luminance = c.GetLuminance(), saturation = c.GetSaturation();
        CColor back;
        back.SetHLS(hue, luminance, saturation);
        const int dr = int(value & 0xFF) - back.GetRed(), dg = int((value >> 8) & 0xFF) - back.GetGreen(),
                  db = int((value >> 16) & 0xFF) - back.GetBlue();
        const bool ok = dr >= 0 && dr <= 1 && dg >= 0 && dg <= 1 && db >= 0 && db <= 1;
        if (!ok && failures++ == 0)
            first = value;
        if (dr || dg || db)
            ++lowered;
    }
    EXPECT_EQ(failures, 0u) << "first failing colour 0x" << std::hex << first;
    // The loss is real (truncation), so the bound is the tight one.
    EXPECT_GT(lowered, 0u);
}

// --- Text -------------------------------------------------------------------------

TEST(CColor, GetStringIsRedFirstUpperCase)
{
    struct Case {
        ULONG colour;
        const char* text;
    };
    const Case cases[] = {
        {0x000080FF, "FF8000"}, {0x00000000, "000000"}, {0x00FFFFFF, "FFFFFF"},
        {0x00ABCDEF, "EFCDAB"}, {0xFF010203, "030201"}, {0x0800000A, "0A0000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToUtf8ForTest(CColor(c.colour).GetString()), c.text);
}

TEST(CColor, SetStringReadsThreeHexFields)
{
    struct Case {
        const WCHAR* text;
        bool ok;
        ULONG colour; // byte 3 of the starting colour 0x7E000000 stays
    };
    const Case cases[] = {
        {_T("FF8000"), true, 0x7E0080FF},      // control
        {_T("ff8000"), true, 0x7E0080FF},
        {_T("0A0b0C"), true, 0x7E0C0B0A},
        {_T("FF8000zz"), true, 0x7E0080FF},    // the rest is not read
        {_T("FF80001"), true, 0x7E0080FF},
        {_T(" FF\t80\r\n00"), true, 0x7E0080FF}, // white space before each field
        {_T("F F F"), true, 0x7E0F0F0F},       // fields of one digit
        {_T("F FF"), false, 0x7E000000},       // "F" and "FF": two fields
        {_T("+F-1+0"), true, 0x7E00FF0F},      // signs count in the width; -1 keeps 0xFF
        {_T("FF80"), false, 0x7E000000},       // two fields only: black
        {_T(""), false, 0x7E000000},
        {_T("   "), false, 0x7E000000},
        {_T("GG0000"), false, 0x7E000000},
        {_T("FF80G0"), false, 0x7E000000},
        {_T("0x1234"), false, 0x7E000000},     // no "0x" prefix: "0", then "x" fails
        {_T("FF--00"), false, 0x7E000000},     // a sign without a digit
        {_T("#FF8000"), false, 0x7E000000},
    };
    for (const Case& c : cases) {
        CColor colour(0x7E123456);
        EXPECT_EQ(colour.SetString(c.text), c.ok) << ToUtf8ForTest(CString(c.text));
        EXPECT_EQ(static_cast<ULONG>(colour), c.colour) << ToUtf8ForTest(CString(c.text));
    }
    CColor colour(0x7E123456);
    EXPECT_FALSE(colour.SetString(nullptr));
    EXPECT_EQ(static_cast<ULONG>(colour), 0x7E000000u);
    // Either way the HLS view is made stale.
    colour.SetHLS(10.0f, 0.1f, 0.1f);
    ASSERT_TRUE(colour.SetString(_T("0000FF")));
    EXPECT_EQ(colour.GetHue(), 240.0f);
    ASSERT_FALSE(colour.SetString(_T("zz")));
    EXPECT_EQ(colour.GetLuminance(), 0.0f);
}

TEST(CColor, GetName)
{
    struct Case {
        ULONG colour;
        const char* name;
    };
    const Case cases[] = {
        {0x00FFFF00, "cyan"},      // not "aqua"
        {0x00FF00FF, "magenta"},   // not "fuchsia"
        {0x00D3D3D3, "lightgrey"},
        {0x00FFF8F0, "aliceblue"},
        {0x0032CD9A, "yellowgreen"},
        {0x00ED9564, "cornflower"},
        {0x008BBC8F, "darkseagreen"},
        {0x008FBC8F, "#8FBC8F"},   // the web value of darkseagreen is not in the table
        {0x000080FF, "#FF8000"},
        {0x010080FF, "#FF8000"},
        {0x01000000, "#000000"},   // black, but byte 3 is set
        {0x08FFFFFF, "#FFFFFF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToUtf8ForTest(CColor(c.colour).GetName()), c.name) << std::hex << c.colour;

    CColor lazy;
    lazy.SetHLS(120.0f, 0.5f, 1.0f); // the name comes from the converted channels
    EXPECT_EQ(ToUtf8ForTest(lazy.GetName()), "lime");
}

// --- The named colour table ---------------------------------------------------

TEST(NamedColors, TellingRows)
{
    struct Case {
        int index;
        const char* name;
        ULONG colour;
    };
    const Case cases[] = {
        {0, "aliceblue", 0xFFF8F0}, {2, "aqua", 0xFFFF00},     {7, "black", 0x000000},
        {9, "blue", 0xFF0000},      {17, "cornflower", 0xED9564}, {20, "cyan", 0xFFFF00},
        {33, "darkseagreen", 0x8BBC8F}, {45, "fuchsia", 0xFF00FF}, {51, "green", 0x008000},
        {68, "lightgrey", 0xD3D3D3}, {76, "lime", 0x00FF00},   {79, "magenta", 0xFF00FF},
        {113, "red", 0x0000FF},     {136, "white", 0xFFFFFF}, {139, "yellowgreen", 0x32CD9A},
    };
    ASSERT_EQ(CColor::GetNumNames(), 140);
    for (const Case& c : cases) {
        CString name;
        CColor::GetNameFromIndex(c.index, name);
        EXPECT_EQ(ToUtf8ForTest(name), c.name) << c.index;
        EXPECT_EQ(static_cast<ULONG>(CColor::GetColorFromIndex(c.index)), c.colour) << c.index;
    }
}

TEST(NamedColors, IndexOutOfRange)
{
    for (int index : {-1, 140, 141, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        CString name(_T("unchanged?"));
        CColor::GetNameFromIndex(index, name);
        EXPECT_TRUE(name.IsEmpty()) << index;
        EXPECT_EQ(static_cast<ULONG>(CColor::GetColorFromIndex(index)), 0xFFFFFFFFu) << index;
    }
}

TEST(NamedColors, GetColorrefFromName)
{
    struct Case {
        const WCHAR* name;
        ULONG colour;
    };
    const Case cases[] = {
        {_T("aliceblue"), 0xFFF8F0},          // control
        {_T("AliceBlue"), 0xFFF8F0},          // case of A-Z is ignored
        {_T("ALICEBLUE"), 0xFFF8F0},
        {_T("cornflower"), 0xED9564},
        {_T("cornflowerblue"), 0xFFFFFFFF},   // the web name is not in the table
        {_T("aqua"), 0xFFFF00},
        {_T("Cyan"), 0xFFFF00},
        {_T("lightgrey"), 0xD3D3D3},
        {_T("lightgray"), 0xFFFFFFFF},        // only the "grey" form
        {_T("darkgrey"), 0xFFFFFFFF},         // only the "gray" form
        {_T("yellowgreen"), 0x32CD9A},
        {_T(""), 0xFFFFFFFF},
        {_T("red "), 0xFFFFFFFF},
        {_T(" red"), 0xFFFFFFFF},
        {_T("re"), 0xFFFFFFFF},
        {_T("redd"), 0xFFFFFFFF},
        {_T("r\u00C9d"), 0xFFFFFFFF},         // only A-Z fold
        {_T("\u0130ndigo"), 0xFFFFFFFF},      // dotted capital I is not I
        {_T("#FF0000"), 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        CString name(c.name);
        EXPECT_EQ(CColor::GetColorrefFromName(name), c.colour) << ToUtf8ForTest(name);
    }
    // A zero inside the text is part of it.
    CString embedded(_T("red\0x"), 5);
    EXPECT_EQ(CColor::GetColorrefFromName(embedded), 0xFFFFFFFFu);
}

} // namespace
