// Target colour modes: depth codes, reductions, panel encoders and decoders.
//
// The level tables below are written out again from the panels' documentation
// rather than taken from the library, so a wrong entry on either side shows.
#include <QNColour.h>
#include <colour/TargetColourBulk.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t kTransparent = 0x08000000;

const unsigned char kL4[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                               0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
const unsigned char kL5[32] = {0x00, 0x08, 0x11, 0x19, 0x22, 0x2A, 0x33, 0x3B, 0x44, 0x4C, 0x55,
                               0x5D, 0x66, 0x6E, 0x77, 0x7F, 0x88, 0x90, 0x99, 0xA1, 0xAA, 0xB2,
                               0xBB, 0xC3, 0xCC, 0xD4, 0xDD, 0xE6, 0xEE, 0xF4, 0xFA, 0xFF};
const unsigned char kL6[64] = {0x00, 0x04, 0x08, 0x0C, 0x11, 0x15, 0x19, 0x1D, 0x22, 0x26, 0x2A, 0x2F, 0x33,
                               0x37, 0x3B, 0x40, 0x44, 0x48, 0x4C, 0x50, 0x55, 0x59, 0x5D, 0x61, 0x66, 0x6A,
                               0x6E, 0x72, 0x77, 0x7B, 0x7F, 0x83, 0x88, 0x8C, 0x90, 0x94, 0x99, 0x9D, 0xA1,
                               0xA5, 0xAA, 0xAE, 0xB2, 0xB6, 0xBB, 0xBF, 0xC3, 0xC7, 0xCC, 0xD0, 0xD4, 0xD9,
                               0xDD, 0xE0, 0xE3, 0xE6, 0xEA, 0xEE, 0xF1, 0xF4, 0xF7, 0xFA, 0xFD, 0xFF};
const unsigned char kGrey8[8] = {0x00, 0x30, 0x50, 0x70, 0x90, 0xB0, 0xD0, 0xFF};

uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | g << 8 | b << 16; }
unsigned R(uint32_t c) { return c & 0xFF; }
unsigned G(uint32_t c) { return (c >> 8) & 0xFF; }
unsigned B(uint32_t c) { return (c >> 16) & 0xFF; }

// Nearest level by plain distance; ties to the higher index.
int NearestLevel(unsigned v, const unsigned char* levels, int count)
{
    int best = 0;
    for (int i = 1; i < count; ++i) {
        if (std::abs(int(levels[i]) - int(v)) <= std::abs(int(levels[best]) - int(v)))
            best = i;
    }
    return best;
}

// --- Depth codes and mode dispatch ------------------------------------------

TEST(GetTargetColorDepth, EveryModeAndBeyond)
{
    struct Case {
        int mode;
        short depth;
    };
    const Case cases[] = {
        {0, 2},  {1, 3},  {2, 0},  {3, 8},      {4, 5},       {5, 4},          {6, 7},      {7, 6},
        {8, 0},  {9, 7},  {10, 0}, {11, 9},     {12, 9},      {13, 0},         {-1, 0},     {100, 0},
        // The mode is compared whole: 0x10000 + 11 is not mode 11.
        {0x10000 + 11, 0}, {-65536 + 3, 0}, {INT32_MIN, 0}, {INT32_MAX, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KESTCOLOR::GetTargetColorDepth(c.mode), c.depth) << "mode " << c.mode;
}

TEST(GetConvertedTargetColor, EachModeUsesItsReduction)
{
    // A colour that every reduction changes in a different way.
    const uint32_t colour = 0x00305A9C;
    struct Case {
        int mode;
        uint32_t expected;
    };
    const Case cases[] = {
        {0, FindClosest64Color(colour, 2)},   {1, FindClosest256Color(colour, 3)}, {2, FindClosestBWColor(colour)},
        {3, colour},                          {4, FindClosest16384Color(colour)},  {5, FindClosest4096Color(colour)},
        {6, FindClosest16GColor(colour, 7)},  {7, FindClosest65536Color(colour)},  {8, FindClosestBWColor(colour)},
        {9, FindClosest16GColor(colour, 7)},  {10, colour},                        {11, FindClosest8BColor(colour)},
        {12, FindClosest8BColor(colour)},     {13, colour},                        {-1, colour},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetConvertedTargetColor(c.mode, colour), c.expected) << "mode " << c.mode;
        EXPECT_EQ(GetConvertedTargetColor(c.mode, KESTCOLOR::GetTargetColorDepth(c.mode), colour), c.expected)
            << "mode " << c.mode;
    }
    // The reductions of neighbouring modes really differ for this colour.
    std::vector<uint32_t> results;
    for (int mode : {0, 1, 2, 4, 5, 6, 7, 11})
        results.push_back(GetConvertedTargetColor(mode, colour));
    for (size_t i = 0; i < results.size(); ++i)
        for (size_t j = i + 1; j < results.size(); ++j)
            EXPECT_NE(results[i], results[j]) << i << " " << j;
}

TEST(GetConvertedTargetColor, CallerDepthOnlyMattersForFilledModes)
{
    const uint32_t colour = 0x00000066;
    EXPECT_EQ(GetConvertedTargetColor(0, 0, colour), 0x000066u);
    EXPECT_EQ(GetConvertedTargetColor(0, 2, colour), 0x3F3F7Fu);
    EXPECT_EQ(GetConvertedTargetColor(0, 3, colour), 0x1F1F7Fu);
    EXPECT_EQ(GetConvertedTargetColor(1, 2, 0x00FF0000), 0xFF3F3Fu);
    EXPECT_EQ(GetConvertedTargetColor(6, 2, 0x00404040), 0x7F7F7Fu);
    EXPECT_EQ(GetConvertedTargetColor(9, 3, 0x00303030), 0x1F3F3Fu);
    for (short depth : {short(0), short(2), short(3), short(9), short(-1)}) {
        EXPECT_EQ(GetConvertedTargetColor(7, depth, 0x00123456), FindClosest65536Color(0x00123456)) << depth;
        EXPECT_EQ(GetConvertedTargetColor(2, depth, 0x00808080), 0xFFFFFFu) << depth;
        EXPECT_EQ(GetConvertedTargetColor(3, depth, 0x01123456), 0x01123456u) << depth;
    }
}

TEST(GetIFileColor, EachModeUsesItsEncoder)
{
    const uint32_t samples[] = {0x00000000, 0x00FFFFFF, 0x00305A9C, 0x0180FF7F, 0x02123456, 0x08ABCDEF, 0xFF0000FF};
    using Encoder = ULONG (*)(ULONG);
    const Encoder byMode[13] = {CalcColorR2G2B2Blink,      CalcColorR3G3B2,           CalcColor4Bit,
                                nullptr,                   ZK5000_CalcColorBL2R5G5B4, ZK5000_CalcColorBL2R4G4B4,
                                ZK5000_CalcColorBL2R4,     ZK5000_CalcColorR5G6B5,    CalcColor4Bit,
                                ZK5000_CalcColorBL2R4,     nullptr,                   CalcColor4Bit8Grey,
                                CalcColor4Bit8Grey};
    for (uint32_t colour : samples) {
        for (int mode = 0; mode < 13; ++mode) {
            const uint32_t expected = byMode[mode] ? byMode[mode](colour) : colour;
            EXPECT_EQ(GetIFileColor(mode, colour), expected) << "mode " << mode << " colour " << std::hex << colour;
        }
        for (int mode : {13, -1, 0x10000 + 7})
            EXPECT_EQ(GetIFileColor(mode, colour), colour) << "mode " << mode;
    }
}

// --- The documented examples -------------------------------------------------

TEST(TargetColour, DocumentedExamples)
{
    struct Case {
        const char* what;
        uint32_t actual;
        uint32_t expected;
    };
    const Case cases[] = {
        {"BW pure red (max + min = 255)", FindClosestBWColor(0x0000FF), 0x000000},
        {"BW 808080", FindClosestBWColor(0x808080), 0xFFFFFF},
        {"BW 7F7F7F", FindClosestBWColor(0x7F7F7F), 0x000000},
        {"mode 2 shows yellow black", GetConvertedTargetColor(2, 0x00FFFF), 0x000000},
        {"mode 2 encodes yellow light", GetIFileColor(2, 0x00FFFF), 0x44444444},
        {"mode 2 encodes S = 4096 light", GetIFileColor(2, 0x808080), 0x44444444},
        {"mode 2 encodes 7F7F7F dark", GetIFileColor(2, 0x7F7F7F), 0x00000000},
        {"mode 2 attribute, light", GetIFileColor(2, 0x01808080), 0xCCCCCCCC},
        {"mode 2 attribute, dark", GetIFileColor(2, 0x017F7F7F), 0x88888888},
        {"mode 0 fills 000066", GetConvertedTargetColor(0, 0x000066), 0x3F3F7F},
        {"mode 0 keeps black", GetConvertedTargetColor(0, 0x000000), 0x000000},
        {"mode 0 keeps white", GetConvertedTargetColor(0, 0xFFFFFF), 0xFFFFFF},
        {"64 without fill", FindClosest64Color(0x000066, 0), 0x000066},
        {"mode 1 keeps white", GetConvertedTargetColor(1, 0xFFFFFF), 0xFFFFFF},
        {"mode 1 fills pure blue", GetConvertedTargetColor(1, 0xFF0000), 0xDF1F1F},
        {"R5G6B5 of white", ZK5000_CalcColorR5G6B5(0xFFFFFF), 0xFFFFFFFF},
        {"R5G6B5 back to white", ZK5000_Calc32bitColorFromR5G6B5(0xFFFFFFFF), 0xFFFFFF},
        {"R5G6B5 red 4 is level 1", ZK5000_CalcColorR5G6B5(0x000004), 0x08000800},
        {"R5G6B5 red 3 is level 0", ZK5000_CalcColorR5G6B5(0x000003), 0x00000000},
        {"BL2R4 ignores green and blue", ZK5000_CalcColorBL2R4(0xFFFF00), 0x00000000},
        {"mode 6 BL2R4", GetIFileColor(6, 0xFFFF00), 0x00000000},
        {"mode 9 BL2R4", GetIFileColor(9, 0xFFFF00), 0x00000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what << std::hex << ": 0x" << c.actual;
}

TEST(FindClosestColorTableIndex, NearestEntryRules)
{
    unsigned char zeroTen[] = {0, 10};
    unsigned char tenTen[] = {10, 10};
    unsigned char levels[] = {0x00, 0x66, 0x99, 0xFF};
    unsigned char unsorted[] = {200, 50, 100, 50, 0};
    struct Case {
        unsigned char value;
        unsigned char* table;
        int count;
        int expected;
    };
    const Case cases[] = {
        {5, zeroTen, 2, 1},     // a tie goes to the higher index
        {4, zeroTen, 2, 0},
        {10, tenTen, 2, 0},     // the first exact match
        {10, tenTen, 1, 0},
        {5, zeroTen, 0, 0},     // no entries
        {5, zeroTen, -3, 0},
        {5, nullptr, 2, 0},     // no table
        {200, zeroTen, 1, 0},   // only the first `count` entries count
        {0x80, levels, 4, 2},   // 0x80 is 26 from 0x66, 25 from 0x99
        {0x7F, levels, 4, 1},
        {0xCC, levels, 4, 3},   // 0xCC is 51 from both: higher index
        {0xCB, levels, 4, 2},
        {50, unsorted, 5, 1},   // exact match stops at the first 50
        {75, unsorted, 5, 3},   // 25 from 50 (1 and 3) and 100 (2): last tie
        {255, unsorted, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindClosestColorTableIndex(c.value, c.table, c.count), c.expected)
            << "value " << int(c.value) << " count " << c.count;
}

// --- Reductions ---------------------------------------------------------------

TEST(FindClosest8Color, ChannelThresholdAt128)
{
    struct Case {
        uint32_t in, out;
    };
    const Case cases[] = {
        {0x000000, 0x000000}, {0x7F7F7F, 0x000000}, {0x808080, 0xFFFFFF}, {0x7F807F, 0x00FF00},
        {0x80007F, 0xFF0000}, {0x00FF80, 0x00FFFF}, {0x03123456, 0x000000}, {0xF0FFFFFF, 0xFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindClosest8Color(c.in), c.out) << std::hex << c.in;
}

TEST(LevelFill, DepthsTwoAndThreeOnly)
{
    struct Case {
        const char* what;
        uint32_t actual, expected;
    };
    const Case cases[] = {
        {"64, depth 2", FindClosest64Color(0x996600, 2), 0xBF7F3F},
        {"64, depth 3", FindClosest64Color(0x996600, 3), 0x9F7F1F},
        {"64, depth 0", FindClosest64Color(0x996600, 0), 0x996600},
        {"64, depth 1", FindClosest64Color(0x996600, 1), 0x996600},
        {"64, depth 4", FindClosest64Color(0x996600, 4), 0x996600},
        {"64, depth -2", FindClosest64Color(0x996600, -2), 0x996600},
        {"64 white, depth 2", FindClosest64Color(0xFFFFFF, 2), 0xFFFFFF},
        {"64 near white, depth 2", FindClosest64Color(0xFFFFC0, 2), 0xFFFFFF},
        {"64 black, depth 3", FindClosest64Color(0x3F3F3F, 3), 0x000000},
        {"256 white, depth 3", FindClosest256Color(0xFFFFFF, 3), 0xFFFFFF},
        {"256 dark grey, depth 3", FindClosest256Color(0x404040, 3), 0x5F5F5F},
        {"256 blue AA keeps 80", FindClosest256Color(0xAA0000, 3), 0x9F1F1F},
        {"256 depth 0", FindClosest256Color(0x80C0E0, 0), 0xAADAFF},
        {"256 depth 2", FindClosest256Color(0x80C0E0, 2), 0xBFFFFF},
        {"16 grey, depth 2", FindClosest16GColor(0x404040, 2), 0x7F7F7F},
        {"16 grey, depth 3", FindClosest16GColor(0x404040, 3), 0x5F5F5F},
        {"16 grey white, depth 3", FindClosest16GColor(0xF8F8F8, 3), 0xFFFFFF},
        {"16 grey black, depth 2", FindClosest16GColor(0x0F0F0F, 2), 0x000000},
        {"mode 6 uses depth 7", GetConvertedTargetColor(6, 0x404040), 0x444444},
        {"attribute bits dropped", FindClosest64Color(0x03996600, 2), 0xBF7F3F},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what << std::hex << ": 0x" << c.actual;
}

TEST(Reductions, ChannelsGoToTheirNearestLevel)
{
    // Channel by channel against a plain nearest-level search over the levels
    // written out above; ties go to the higher level.
    for (unsigned v = 0; v < 256; ++v) {
        const uint32_t r4 = kL4[NearestLevel(v, kL4, 16)], r5 = kL5[NearestLevel(v, kL5, 32)],
                       r6 = kL6[NearestLevel(v, kL6, 64)];
        EXPECT_EQ(FindClosest4096Color(Rgb(v, v, v)), Rgb(r4, r4, r4)) << v;
        EXPECT_EQ(FindClosest16384Color(Rgb(v, v, v)), Rgb(r5, r5, r4)) << v;
        EXPECT_EQ(FindClosest65536Color(Rgb(v, v, v)), Rgb(r5, r6, r5)) << v;
        EXPECT_EQ(FindClosest65536Color(Rgb(v, 0, 0)), Rgb(r5, 0, 0)) << v;
        EXPECT_EQ(FindClosest65536Color(Rgb(0, 0, v)), Rgb(0, 0, r5)) << v;
        EXPECT_EQ(FindClosest16384Color(Rgb(0, v, 0)), Rgb(0, r5, 0)) << v;
        EXPECT_EQ(FindClosest4096Color(Rgb(0, v, 0)), Rgb(0, r4, 0)) << v;
    }
}

// --- Encoders and decoders ----------------------------------------------------

TEST(Encoders, FourBitNibblesIgnoreBitsOtherThanTheAttribute)
{
    // TargetColour.EveryColour checks the nibbles of every colour; these are
    // the high bits it never sets.
    for (uint32_t high : {0x04000000u, 0x08000000u, 0xF4000000u}) {
        EXPECT_EQ(CalcColor4Bit(0x808080 | high), 0x44444444u) << std::hex << high;
        EXPECT_EQ(CalcColor4Bit8Grey(0xFFFFFF | high), 0x77777777u) << std::hex << high;
        EXPECT_EQ(CalcColor4Bit8Grey(high), 0u) << std::hex << high;
    }
}

TEST(Decoders, EveryIndexGivesItsLevel)
{
    for (unsigned i = 0; i < 32; ++i) {
        EXPECT_EQ(ZK5000_Calc32bitColorFromR5G6B5(i << 11 | i), Rgb(kL5[i], 0, kL5[i])) << i;
        EXPECT_EQ(ZK5000_Calc32bitColorFromBL2R5G5B4(i << 9 | i << 4), Rgb(kL5[i], kL5[i], 0)) << i;
    }
    for (unsigned i = 0; i < 64; ++i)
        EXPECT_EQ(ZK5000_Calc32bitColorFromR5G6B5(i << 5), Rgb(0, kL6[i], 0)) << i;
    for (unsigned i = 0; i < 16; ++i) {
        EXPECT_EQ(ZK5000_Calc32bitColorFromBL2R5G5B4(i), Rgb(0, 0, kL4[i])) << i;
        EXPECT_EQ(ZK5000_Calc32bitColorFromBL2R4G4B4(i << 10 | i << 5 | i), Rgb(kL4[i], kL4[i], kL4[i])) << i;
        EXPECT_EQ(ZK5000_Calc32bitColorFromBL2R4(i << 2), Rgb(kL4[i], kL4[i], kL4[i])) << i;
    }
}

// --- Every colour ------------------------------------------------------------

// Exhaustive loops visit every colour natively (under the sanitizers, still
// seconds); under Wine every 7th, which still reaches every channel value.
#ifdef _WIN32
constexpr uint32_t kStride = 7;
#else
constexpr uint32_t kStride = 1;
#endif

// One pass over the colours checks every stated property of the reductions and
// encodings; each property counts its failures and keeps the first colour.
TEST(TargetColour, EveryColour)
{
    struct Property {
        const char* name;
        uint32_t failures;
        uint32_t first;
    };
    enum {
        k4096IsDecodedWord, k16384IsDecodedWord, k65536IsDecodedWord, kModesMatchReductions, kGreyLevels,
        kBlackOrWhite, kWordsReplicated, kBytesReplicated, kNibblesReplicated, kUnusedBitsZero, kByteCodesTopBits,
        kNibblesFromWeightedSum, kNoHighBits, kTransparentPassesThrough, kPropertyCount
    };
    Property properties[kPropertyCount] = {
        {"FindClosest4096Color = decoded BL2R4G4B4 word", 0, 0},
        {"FindClosest16384Color = decoded BL2R5G5B4 word", 0, 0},
        {"FindClosest65536Color = decoded R5G6B5 word", 0, 0},
        {"modes 4, 5, 7 = their reductions", 0, 0},
        {"8B, 8BI and 16G grey levels by max + min", 0, 0},
        {"black or white at max + min = 255", 0, 0},
        {"16-bit words in both halves", 0, 0},
        {"8-bit codes in all four bytes", 0, 0},
        {"4-bit codes in all eight nibbles", 0, 0},
        {"blink and zero bits stay 0", 0, 0},
        {"64- and 256-colour bytes from the top bits", 0, 0},
        {"4-bit nibbles from 11 (r + g) + 10 b and the attribute", 0, 0},
        {"reductions have no bits 24-31", 0, 0},
        {"transparent values pass through", 0, 0},
    };
    const auto check = [&](int property, bool ok, uint32_t colour) {
        if (!ok && properties[property].failures++ == 0)
            properties[property].first = colour;
    };

    for (uint32_t c = 0; c < 0x1000000; c += kStride) {
        const unsigned r = R(c), g = G(c), b = B(c);
        // Attribute bits and the other high bits, never the transparent flag.
        const uint32_t v = c | ((c * 0x9E3779B9u) & 0xF7000000u);
        const bool attribute = (v & 0x03000000) != 0;

        const ULONG w444 = ZK5000_CalcColorBL2R4G4B4(v), w554 = ZK5000_CalcColorBL2R5G5B4(v),
                    w565 = ZK5000_CalcColorR5G6B5(v);
        const ULONG c4096 = FindClosest4096Color(v), c16384 = FindClosest16384Color(v),
                    c65536 = FindClosest65536Color(v);
        check(k4096IsDecodedWord, c4096 == ZK5000_Calc32bitColorFromBL2R4G4B4(w444), c);
        check(k16384IsDecodedWord, c16384 == ZK5000_Calc32bitColorFromBL2R5G5B4(w554), c);
        check(k65536IsDecodedWord, c65536 == ZK5000_Calc32bitColorFromR5G6B5(w565), c);
        check(kModesMatchReductions,
              GetConvertedTargetColor(5, v) == c4096 && GetConvertedTargetColor(4, v) == c16384 &&
                  GetConvertedTargetColor(7, v) == c65536,
              c);

        const unsigned mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
        const unsigned mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
        const unsigned sum = mx + mn;
        const unsigned g8 = kGrey8[sum >> 6], g8i = kGrey8[7 - (sum >> 6)], g16 = (sum >> 5) * 0x11;
        const ULONG grey8 = FindClosest8BColor(v), grey8i = FindClosest8BIColor(v), grey16 = FindClosest16GColor(v, 7);
        check(kGreyLevels,
              grey8 == Rgb(g8, g8, g8) && grey8i == Rgb(g8i, g8i, g8i) && grey16 == Rgb(g16, g16, g16) &&
                  FindClosest16GColor(v, 0) == grey16,
              c);
        const ULONG bw = FindClosestBWColor(v);
        check(kBlackOrWhite, bw == (sum > 255 ? 0xFFFFFFu : 0u), c);

        check(kWordsReplicated,
              (w444 & 0xFFFF) * 0x00010001u == w444 && (w554 & 0xFFFF) * 0x00010001u == w554 &&
                  (w565 & 0xFFFF) * 0x00010001u == w565,
              c);
        const ULONG r4 = ZK5000_CalcColorBL2R4(v), code64 = CalcColorR2G2B2Blink(v), code256 = CalcColorR3G3B2(v);
        check(kBytesReplicated,
              (r4 & 0xFF) * 0x01010101u == r4 && (code64 & 0xFF) * 0x01010101u == code64 &&
                  (code256 & 0xFF) * 0x01010101u == code256,
              c);
        const ULONG mono = CalcColor4Bit(v), grey = CalcColor4Bit8Grey(v);
        check(kNibblesReplicated, (mono & 0xF) * 0x11111111u == mono && (grey & 0xF) * 0x11111111u == grey, c);
        check(kUnusedBitsZero,
              (w554 & 0xC000) == 0 && (w444 & 0xC210) == 0 && (r4 & 0xC3) == 0 && (code64 & 0x90) == 0 &&
                  (mono & 0x3) == 0,
              c);
        check(kByteCodesTopBits,
              (code64 & 0xFF) == ((r >> 6) << 5 | (g >> 6) << 2 | b >> 6) &&
                  (code256 & 0xFF) == ((r >> 5) << 5 | (g >> 5) << 2 | b >> 6),
              c);
        const unsigned s = 11 * (r + g) + 10 * b;
        check(kNibblesFromWeightedSum,
              (grey & 0xF) == ((s / 1024) | (attribute ? 8u : 0u)) &&
                  (mono & 0xF) == ((s >= 4096 ? 4u : 0u) | (attribute ? 8u : 0u)),
              c);

        const ULONG c64 = FindClosest64Color(v, 2), c256 = FindClosest256Color(v, 3), c8 = FindClosest8Color(v);
        check(kNoHighBits,
              ((c4096 | c16384 | c65536 | grey8 | grey8i | grey16 | bw | c64 | c256 | c8) >> 24) == 0, c);

        const uint32_t t = v | kTransparent;
        check(kTransparentPassesThrough,
              FindClosestBWColor(t) == t && FindClosest8Color(t) == t && FindClosest8BColor(t) == t &&
                  FindClosest8BIColor(t) == t && FindClosest16GColor(t, 2) == t && FindClosest64Color(t, 2) == t &&
                  FindClosest256Color(t, 3) == t && FindClosest4096Color(t) == t &&
                  FindClosest16384Color(t) == t && FindClosest65536Color(t) == t &&
                  GetConvertedTargetColor(static_cast<int>(c % 15) - 1, t) == t &&
                  GetConvertedTargetColor(static_cast<int>(c % 15) - 1, 3, t) == t,
              c);
    }
    for (const Property& p : properties)
        EXPECT_EQ(p.failures, 0u) << p.name << ", first failing colour 0x" << std::hex << p.first;
}

// The per-colour conversion of each mode (with the mode's own depth) and every
// bulk path this machine runs give what the reductions and encoders give, for
// every colour with varied high bytes (the transparent flag and the attribute
// bits included), at every position of a vector step.
TEST(TargetColour, FastPathsEqualTheReductionsForEveryColour)
{
    constexpr size_t kChunk = 4099; // not a multiple of any vector width: the tails run too
    std::vector<uint32_t> in(kChunk), converted(kChunk), shown(kChunk);
    std::vector<uint16_t> packed(kChunk), word(kChunk);
    for (int mode = -1; mode <= 13; ++mode) {
        const short depth = KESTCOLOR::GetTargetColorDepth(mode);
        uint32_t failures = 0, first = 0;
        const char* where = "";
        const auto fail = [&](uint32_t colour, const char* what) {
            if (failures++ == 0) {
                first = colour;
                where = what;
            }
        };
        for (uint64_t start = 0; start < 0x1000000; start += uint64_t(kChunk) * kStride) {
            size_t n = 0;
            for (uint64_t c = start; n < kChunk && c < 0x1000000; c += kStride)
                in[n++] = uint32_t(c) | ((uint32_t(c) * 0x9E3779B9u) & 0xFF000000u);
            for (size_t i = 0; i < n; ++i) {
                shown[i] = GetConvertedTargetColor(mode, depth, in[i]);
                word[i] = static_cast<uint16_t>(GetIFileColor(mode, in[i]));
                if (GetConvertedTargetColor(mode, in[i]) != shown[i])
                    fail(in[i], "per colour");
            }
            for (qncolour::BulkPath path : qncolour::kBulkPaths) {
                if (!qncolour::BulkPathAvailable(path))
                    continue;
                qncolour::ConvertColors(path, mode, in.data(), converted.data(), n);
                qncolour::PackWords(path, mode, in.data(), packed.data(), n);
                for (size_t i = 0; i < n; ++i) {
                    if (converted[i] != shown[i] || packed[i] != word[i])
                        fail(in[i], qncolour::BulkPathName(path));
                }
            }
        }
        EXPECT_EQ(failures, 0u) << "mode " << mode << ": first failing colour 0x" << std::hex << first << " ("
                                << where << ")";
    }
}

TEST(TargetColour, BulkFunctionsInPlaceAndRefusals)
{
    ULONG colours[20], expected[20];
    WORD words[20] = {};
    for (ULONG i = 0; i < 20; ++i) {
        colours[i] = i * 0x0B0D11u | (i == 3 ? kTransparent : 0);
        expected[i] = GetConvertedTargetColor(7, colours[i]);
    }
    GetIFileColorWords(7, colours, words, 20);
    GetConvertedTargetColors(7, colours, colours, 20); // in place
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(colours[i], expected[i]) << i;
        EXPECT_EQ(words[i], ZK5000_CalcColorR5G6B5(i * 0x0B0D11u) & 0xFFFF) << i;
    }
    // Null buffers and counts <= 0 touch nothing.
    const ULONG before = colours[0];
    WORD untouched = 0x1234;
    GetConvertedTargetColors(0, colours, colours, 0);
    GetConvertedTargetColors(0, colours, colours, -5);
    GetConvertedTargetColors(0, nullptr, colours, 4);
    GetConvertedTargetColors(0, colours, nullptr, 4);
    GetIFileColorWords(0, colours, &untouched, 0);
    GetIFileColorWords(0, colours, &untouched, -1);
    GetIFileColorWords(0, nullptr, &untouched, 1);
    GetIFileColorWords(0, colours, nullptr, 1);
    EXPECT_EQ(colours[0], before);
    EXPECT_EQ(untouched, 0x1234);
}

} // namespace
