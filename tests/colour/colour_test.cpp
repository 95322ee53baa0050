// CColor: the two lazily converted views, the hexadecimal text and the named
// colour table.
#include <QNColour.h>

#include <support/AfxTestPrint.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct Channels {
    int r, g, b;
    bool operator==(const Channels& o) const { return r == o.r && g == o.g && b == o.b; }
};
std::ostream& operator<<(std::ostream& os, const Channels& c) { return os << c.r << "," << c.g << "," << c.b; }
Channels Rgb(const CColor& c) { return {c.GetRed(), c.GetGreen(), c.GetBlue()}; }

TEST(CColor, SettersKeepLowBitsAndByte3)
{
    struct Case {
        int red, green, blue;
        ULONG expected;
    };
    const Case cases[] = {
        {0x12, 0x34, 0x56, 0xA5563412}, {300, 0, 0, 0xA500002C}, {-1, 256, 511, 0xA5FF00FF}};
    for (const Case& c : cases) {
        CColor one(0xA5FFFFFF), all(0xA5FFFFFF);
        one.SetRed(c.red);
        one.SetGreen(c.green);
        one.SetBlue(c.blue);
        all.SetRGB(c.red, c.green, c.blue);
        EXPECT_EQ(c.expected, static_cast<ULONG>(one)) << c.red;
        EXPECT_EQ(c.expected, static_cast<ULONG>(all)) << c.red;
    }
    // A channel setter converts the HLS view first; SetRGB does not.
    CColor c(0x01000000);
    c.SetHLS(120.0f, 0.5f, 1.0f);
    c.SetBlue(0x40);
    EXPECT_EQ(0x0140FF00u, static_cast<ULONG>(c));
    c.SetHLS(0.0f, 1.0f, 0.0f);
    c.SetRGB(1, 2, 3);
    EXPECT_EQ(0x01030201u, static_cast<ULONG>(c));
}

TEST(CColor, ToHls)
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
        {0x00FF00FF, 300.0f, 0.5f, 1.0f},
        {0x00808080, 0.0f, 256 * 0.0019607844f, 0.0f},
        {0x00FFFFFF, 0.0f, 1.0f, 0.0f},
        {0x000080FF, 30.11765f, 0.5f, 1.0f},
        {0x00C0C0FF, 360.0f, 0.87647057f, 1.0f}, // 63 / (510 - 447)
        {0x00404080, 360.0f, 0.37647063f, 0.33333334f},
        {0xFF0000FF, 360.0f, 0.5f, 1.0f}, // byte 3 plays no part
    };
    for (const Case& c : cases) {
        const CColor colour(c.colour);
        EXPECT_FLOAT_EQ(c.hue, colour.GetHue()) << std::hex << c.colour;
        EXPECT_FLOAT_EQ(c.luminance, colour.GetLuminance()) << std::hex << c.colour;
        EXPECT_FLOAT_EQ(c.saturation, colour.GetSaturation()) << std::hex << c.colour;
    }
}

TEST(CColor, ToRgbAndOutOfRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        float hue, luminance, saturation;
        Channels expected;
    };
    const Case cases[] = {
        {360.0f, 0.5f, 1.0f, {255, 0, 0}},   {0.0f, 0.5f, 1.0f, {255, 0, 0}},
        {120.0f, 0.5f, 1.0f, {0, 255, 0}},   {240.0f, 0.5f, 1.0f, {0, 0, 255}},
        {30.0f, 0.5f, 1.0f, {255, 127, 0}},  // 127.5 truncates
        {0.0f, 0.5f, 0.0f, {127, 127, 127}}, {0.0f, 0.75f, 1.0f, {255, 127, 127}}, // m2 = l + s - l s
        {0.0f, 0.25f, 1.0f, {127, 0, 0}},
        {390.0f, 0.5f, 1.0f, {255, 127, 0}}, {-330.0f, 0.5f, 1.0f, {255, 127, 0}}, // one turn each way
        {750.0f, 0.5f, 1.0f, {0, 0, 0}},     {-450.0f, 0.5f, 1.0f, {127, 0, 0}},  // and no more
        // Outside the ranges the channels are held to 0..255 (this library's choice).
        {0.0f, 2.0f, 0.0f, {255, 255, 255}}, {0.0f, -1.0f, 0.0f, {0, 0, 0}},
        {0.0f, 0.5f, 3.0f, {255, 0, 0}},     {0.0f, inf, 0.0f, {255, 255, 255}},
        {0.0f, nan, 0.0f, {0, 0, 0}},        {nan, 0.5f, 1.0f, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        CColor colour(0x5A000000);
        colour.SetHLS(c.hue, c.luminance, c.saturation);
        EXPECT_EQ(c.expected, Rgb(colour)) << c.hue << " " << c.luminance << " " << c.saturation;
        EXPECT_EQ(0x5Au, static_cast<ULONG>(colour) >> 24);
    }
}

TEST(CColor, ViewsConvertOnlyWhenStale)
{
    CColor c(0x000080FF);
    c.SetHLS(200.5f, 0.3f, 0.7f);
    const Channels first = Rgb(c);
    EXPECT_EQ(200.5f, c.GetHue()); // still the view that was set
    EXPECT_EQ(0.7f, c.GetSaturation());
    CColor copy(0x00123456);
    copy = c; // both views and both flags
    EXPECT_EQ(0.3f, copy.GetLuminance());
    EXPECT_EQ(first, Rgb(copy));
    c.SetRed(first.r); // HLS stale: converted again
    EXPECT_NE(200.5f, c.GetHue());

    // A component setter starts from the current RGB.
    const struct { ULONG start; void (CColor::*set)(float); float value; Channels rgb; } setters[] = {
        {0x000000FF, &CColor::SetLuminance, 0.25f, {127, 0, 0}},
        {0x0000FF00, &CColor::SetHue, 240.0f, {0, 0, 255}},
        {0x0000FF00, &CColor::SetSaturation, 0.0f, {127, 127, 127}},
    };
    for (const auto& t : setters) {
        CColor d(t.start);
        (d.*t.set)(t.value);
        EXPECT_EQ(t.rgb, Rgb(d)) << t.value;
    }
}

TEST(CColor, HlsRoundTripLowersAChannelByAtMostOne)
{
    uint32_t failures = 0, first = 0, lowered = 0;
    for (uint32_t value = 0; value < 0x1000000; value += 251) {
        const CColor c(value);
        CColor back;
        back.SetHLS(c.GetHue(), c.GetLuminance(), c.GetSaturation());
        const int dr = int(value & 0xFF) - back.GetRed(), dg = int((value >> 8) & 0xFF) - back.GetGreen(),
                  db = int((value >> 16) & 0xFF) - back.GetBlue();
        if (!(dr >= 0 && dr <= 1 && dg >= 0 && dg <= 1 && db >= 0 && db <= 1) && failures++ == 0)
            first = value;
        lowered += (dr || dg || db) ? 1 : 0;
    }
    EXPECT_EQ(0u, failures) << "first failing colour 0x" << std::hex << first;
    EXPECT_GT(lowered, 0u); // the loss is real, so the bound is tight
}

TEST(CColor, Text)
{
    EXPECT_EQ("FF8000", ToUtf8ForTest(CColor(0x000080FF).GetString()));
    EXPECT_EQ("030201", ToUtf8ForTest(CColor(0xFF010203).GetString()));
    struct Case {
        const WCHAR* text;
        bool ok;
        ULONG colour; // byte 3 of the starting colour stays
    };
    const Case cases[] = {
        {_T("ff8000"), true, 0x7E0080FF},     {_T("FF8000zz"), true, 0x7E0080FF},
        {_T(" FF\t80\r\n00"), true, 0x7E0080FF}, {_T("F F F"), true, 0x7E0F0F0F},
        {_T("+F-1+0"), true, 0x7E00FF0F},     // signs count in the width
        {_T("F FF"), false, 0x7E000000},      {_T("FF80"), false, 0x7E000000},
        {_T(""), false, 0x7E000000},          {_T("FF80G0"), false, 0x7E000000},
        {_T("#FF8000"), false, 0x7E000000},   {nullptr, false, 0x7E000000},
    };
    for (const Case& c : cases) {
        CColor colour(0x7E123456);
        colour.SetHLS(10.0f, 0.1f, 0.1f);
        EXPECT_EQ(c.ok, colour.SetString(c.text)) << ToUtf8ForTest(CString(c.text));
        EXPECT_EQ(c.colour, static_cast<ULONG>(colour)) << ToUtf8ForTest(CString(c.text));
        EXPECT_EQ(c.ok ? CColor(c.colour).GetHue() : 0.0f, colour.GetHue()); // HLS stale either way
    }
}

TEST(CColor, GetName)
{
    struct Case {
        ULONG colour;
        const char* name;
    };
    const Case cases[] = {
        {0x00FFFF00, "cyan"},      {0x00FF00FF, "magenta"}, // the later of two names
        {0x00D3D3D3, "lightgrey"}, {0x00FFF8F0, "aliceblue"}, {0x0032CD9A, "yellowgreen"},
        {0x008BBC8F, "darkseagreen"}, {0x008FBC8F, "#8FBC8F"}, {0x010080FF, "#FF8000"},
        {0x01000000, "#000000"}, // black, but byte 3 is set
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.name, ToUtf8ForTest(CColor(c.colour).GetName())) << std::hex << c.colour;
    CColor lazy;
    lazy.SetHLS(120.0f, 0.5f, 1.0f); // named from the converted channels
    EXPECT_EQ("lime", ToUtf8ForTest(lazy.GetName()));
}

// By index: out of range gives no name and 0xFFFFFFFF (this library's choice).
// By name: only A-Z fold; a zero inside the text is part of it.
TEST(NamedColors, ByIndexAndByName)
{
    EXPECT_EQ(140, CColor::GetNumNames());
    const struct { int index; const char* name; ULONG colour; } byIndex[] = {
        {0, "aliceblue", 0xFFF8F0}, {17, "cornflower", 0xED9564}, {68, "lightgrey", 0xD3D3D3},
        {139, "yellowgreen", 0x32CD9A}, {-1, "", 0xFFFFFFFF}, {140, "", 0xFFFFFFFF},
        {std::numeric_limits<int>::min(), "", 0xFFFFFFFF},
    };
    for (const auto& c : byIndex) {
        CString name(_T("unchanged?"));
        CColor::GetNameFromIndex(c.index, name);
        EXPECT_EQ(c.name, ToUtf8ForTest(name)) << c.index;
        EXPECT_EQ(c.colour, static_cast<ULONG>(CColor::GetColorFromIndex(c.index))) << c.index;
    }
    struct { CString name; ULONG colour; } byName[] = { // the lookup takes a non-const text
        {_T("AliceBlue"), 0xFFF8F0},       {_T("cornflower"), 0xED9564}, {_T("yellowgreen"), 0x32CD9A},
        {_T("cornflowerblue"), 0xFFFFFFFF}, {_T("lightgray"), 0xFFFFFFFF}, {_T("darkgrey"), 0xFFFFFFFF},
        {_T(""), 0xFFFFFFFF},              {_T("red "), 0xFFFFFFFF},     {_T("re"), 0xFFFFFFFF},
        {_T("r\u00C9d"), 0xFFFFFFFF},      {CString(_T("red\0x"), 5), 0xFFFFFFFF},
    };
    for (auto& c : byName)
        EXPECT_EQ(c.colour, CColor::GetColorrefFromName(c.name)) << ToUtf8ForTest(c.name);
}

} // namespace
