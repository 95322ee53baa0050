// Target colour modes: depth codes, reductions, panel encoders and decoders,
// and the bulk paths, over a small set of colours at every alignment and tail
// (the exhaustive program runs every colour).
#include "colour/TargetColourSweep.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using qntest::Rgb;

// Modes x two colours: the depth code, the shown colour and the packed code.
// 0x305A9C: max + min 204, weighted sum 3186; 0x0380FF7F: attribute bits set,
// weighted sum 5482.
TEST(TargetColour, EveryModeShowsAndPacks)
{
    struct Case {
        int mode;
        short depth;
        uint32_t shownA, packedA, shownB, packedB;
    };
    const Case cases[] = {
        {-1, 0, 0x00305A9C, 0x00305A9C, 0x0380FF7F, 0x0380FF7F},
        {0, 2, 0x003F7FBF, 0x44444444, 0x00BFFF7F, 0x2E2E2E2E},
        {1, 3, 0x001F5F9F, 0x88888888, 0x009FFF7F, 0x7E7E7E7E},
        {2, 0, 0x00000000, 0x00000000, 0x00FFFFFF, 0xCCCCCCCC},
        {3, 8, 0x00305A9C, 0x00305A9C, 0x0380FF7F, 0x0380FF7F},
        {4, 5, 0x00335D99, 0x24B324B3, 0x0088FF7F, 0x1FF81FF8},
        {5, 4, 0x00335599, 0x24A324A3, 0x0088FF77, 0x1DE81DE8},
        {6, 7, 0x00666666, 0x24242424, 0x00BBBBBB, 0x1C1C1C1C},
        {7, 6, 0x00335999, 0x92A692A6, 0x007FFF7F, 0x7FEF7FEF},
        {8, 0, 0x00000000, 0x00000000, 0x00FFFFFF, 0xCCCCCCCC},
        {9, 7, 0x00666666, 0x24242424, 0x00BBBBBB, 0x1C1C1C1C},
        {10, 0, 0x00305A9C, 0x00305A9C, 0x0380FF7F, 0x0380FF7F},
        {11, 9, 0x00707070, 0x33333333, 0x00B0B0B0, 0xDDDDDDDD},
        {12, 9, 0x00707070, 0x33333333, 0x00B0B0B0, 0xDDDDDDDD},
        {13, 0, 0x00305A9C, 0x00305A9C, 0x0380FF7F, 0x0380FF7F},
        // The mode is compared as a whole int.
        {0x10000 + 11, 0, 0x00305A9C, 0x00305A9C, 0x0380FF7F, 0x0380FF7F},
        {INT_MIN, 0, 0x00305A9C, 0x00305A9C, 0x0380FF7F, 0x0380FF7F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        EXPECT_EQ(c.depth, KESTCOLOR::GetTargetColorDepth(c.mode));
        EXPECT_EQ(c.shownA, GetConvertedTargetColor(c.mode, 0x00305A9C));
        EXPECT_EQ(c.packedA, GetIFileColor(c.mode, 0x00305A9C));
        EXPECT_EQ(c.shownB, GetConvertedTargetColor(c.mode, 0x0380FF7F));
        EXPECT_EQ(c.packedB, GetIFileColor(c.mode, 0x0380FF7F));
    }
}

TEST(TargetColour, DocumentedExamples)
{
    struct Case {
        const char* what;
        uint32_t actual, expected;
    };
    const Case cases[] = {
        {"BW pure red (max + min = 255)", FindClosestBWColor(0x0000FF), 0x000000},
        {"BW 808080", FindClosestBWColor(0x808080), 0xFFFFFF},
        {"mode 2 shows yellow black", GetConvertedTargetColor(2, 0x00FFFF), 0x000000},
        {"mode 2 encodes yellow light", GetIFileColor(2, 0x00FFFF), 0x44444444},
        {"mode 2 encodes S = 4096 light", GetIFileColor(2, 0x808080), 0x44444444},
        {"mode 2 attribute, light", GetIFileColor(2, 0x01808080), 0xCCCCCCCC},
        {"mode 2 attribute, dark", GetIFileColor(2, 0x027F7F7F), 0x88888888},
        {"mode 0 fills 000066", GetConvertedTargetColor(0, 0x000066), 0x3F3F7F},
        {"64 without fill", FindClosest64Color(0x000066, 0), 0x000066},
        {"64, depth 3", FindClosest64Color(0x996600, 3), 0x9F7F1F},
        {"mode 1 keeps white", GetConvertedTargetColor(1, 0xFFFFFF), 0xFFFFFF},
        {"mode 1 fills pure blue", GetConvertedTargetColor(1, 0xFF0000), 0xDF1F1F},
        {"R5G6B5 of white", ZK5000_CalcColorR5G6B5(0xFFFFFF), 0xFFFFFFFF},
        {"R5G6B5 back to white", ZK5000_Calc32bitColorFromR5G6B5(0xFFFFFFFF), 0xFFFFFF},
        {"R5G6B5 red 4 is level 1", ZK5000_CalcColorR5G6B5(0x000004), 0x08000800},
        {"BL2R4 ignores green and blue", ZK5000_CalcColorBL2R4(0xFFFF00), 0x00000000},
        {"BL2R5G5B4 ignores BL2", ZK5000_Calc32bitColorFromBL2R5G5B4(0xC000C000), 0x000000},
        {"BL2R4G4B4 ignores its zero bits", ZK5000_Calc32bitColorFromBL2R4G4B4(0x0210), 0x000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.actual) << c.what << std::hex << ": 0x" << c.actual;
}

TEST(FindClosestColorTableIndex, NearestEntryRules)
{
    unsigned char zeroTen[] = {0, 10}, tenTen[] = {10, 10}, levels[] = {0x00, 0x66, 0x99, 0xFF};
    unsigned char unsorted[] = {200, 50, 100, 50, 0};
    struct Case {
        unsigned char value;
        unsigned char* table;
        int count, expected;
    };
    const Case cases[] = {
        {5, zeroTen, 2, 1},   // a tie goes to the higher index
        {4, zeroTen, 2, 0},   {10, tenTen, 2, 0}, // the first exact match
        {5, zeroTen, 0, 0},   {5, zeroTen, -3, 0}, {5, nullptr, 2, 0},
        {200, zeroTen, 1, 0}, // only the first `count` entries count
        {0x80, levels, 4, 2}, {0xCC, levels, 4, 3}, {0xCB, levels, 4, 2},
        {50, unsorted, 5, 1}, // exact match stops at the first 50
        {75, unsorted, 5, 3}, // 25 from 50 (1 and 3) and 100 (2): the last tie
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, FindClosestColorTableIndex(c.value, c.table, c.count))
            << "value " << int(c.value) << " count " << c.count;
}

// Every channel value in each channel, every max + min and the weighted-sum
// thresholds, with attribute and other high bits; the last pattern transparent.
std::vector<uint32_t> SmallSet()
{
    const uint32_t high[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0xF7, 0x80};
    std::vector<uint32_t> set;
    for (unsigned v = 0; v < 256; ++v) {
        const uint32_t hash = (v * 0x9E3779B9u) >> 8;
        const uint32_t patterns[] = {Rgb(v, v, v),     Rgb(v, 0, 0),   Rgb(0, v, 0),
                                     Rgb(0, 0, v),     Rgb(255, v, v), Rgb(v, 255 - v, (v * 37) & 255),
                                     hash & 0xFFFFFF,  (hash & 0xFFFFFF) | 0x08000000 | (v & 0xF3) << 24};
        for (unsigned p = 0; p < 8; ++p)
            set.push_back(patterns[p] | (p < 7 ? high[(v * 3 + p) % 7] << 24 : 0));
    }
    return set;
}

// The per-colour functions against the model and every bulk path against them,
// at every alignment of input and output, in place, and with every short tail.
TEST(TargetColour, SweepAtEveryAlignmentAndTail)
{
    const std::vector<uint32_t> set = SmallSet();
    qntest::Sweeper sweeper(set.size());
    for (size_t offset = 0; offset < 16; ++offset) {
        sweeper.Run(set.data() + offset, set.size() - 16 - offset % 5, offset == 0, (offset * 7) % 16, offset % 2);
        sweeper.Run(set.data() + 1000 + offset * 37, offset, false, 15 - offset, offset % 3 == 0);
    }
    EXPECT_EQ(0u, sweeper.failures) << "first: colour 0x" << std::hex << sweeper.firstColour << std::dec
                                    << ", mode " << sweeper.firstMode << " (" << sweeper.firstWhere << ")";
}

// What no mode reaches: other depths, the 8-colour and inverted grey
// reductions and the decoders.
TEST(TargetColour, OtherDepthsReductionsAndDecoders)
{
    const qntest::Model model;
    uint32_t failures = 0, first = 0;
    for (const uint32_t c : SmallSet()) {
        bool ok = true;
        for (const short depth : {-1, 0, 1, 2, 3, 4, 7, 9}) {
            for (const int mode : {0, 1, 6, 9})
                ok &= GetConvertedTargetColor(mode, depth, c) == model.Shown(mode, depth, c);
            ok &= FindClosest64Color(c, depth) == model.Shown(0, depth, c) &&
                  FindClosest256Color(c, depth) == model.Shown(1, depth, c) &&
                  FindClosest16GColor(c, depth) == model.Shown(6, depth, c);
        }
        const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        const unsigned s = std::max({r, g, b}) + std::min({r, g, b});
        const bool transparent = (c & 0x08000000) != 0;
        const uint32_t eight = Rgb(r >= 128 ? 255 : 0, g >= 128 ? 255 : 0, b >= 128 ? 255 : 0);
        ok &= FindClosest8Color(c) == (transparent ? c : eight);
        ok &= FindClosest8BIColor(c) == (transparent ? c : qntest::Grey(qn::colour::kLevels8GreyInverted[s >> 6]));
        ok &= FindClosest8BColor(c) == model.Shown(11, 0, c) && FindClosestBWColor(c) == model.Shown(2, 0, c);
        ok &= FindClosest4096Color(c) == model.Shown(5, 0, c) && FindClosest16384Color(c) == model.Shown(4, 0, c) &&
              FindClosest65536Color(c) == model.Shown(7, 0, c);
        ok &= ZK5000_Calc32bitColorFromBL2R4G4B4(GetIFileColor(5, c)) == model.Shown(5, 0, c & 0xFFFFFF) &&
              ZK5000_Calc32bitColorFromBL2R5G5B4(GetIFileColor(4, c)) == model.Shown(4, 0, c & 0xFFFFFF) &&
              ZK5000_Calc32bitColorFromR5G6B5(GetIFileColor(7, c)) == model.Shown(7, 0, c & 0xFFFFFF) &&
              ZK5000_Calc32bitColorFromBL2R4(GetIFileColor(6, c)) == qntest::Grey(qn::colour::kLevels4Bit[model.r4[r]]);
        if (!ok && failures++ == 0)
            first = c;
    }
    EXPECT_EQ(0u, failures) << "first failing colour 0x" << std::hex << first;
}

TEST(TargetColour, BulkFunctionsInPlaceAndRefusals)
{
    ULONG colours[20], expected[20];
    WORD words[20] = {};
    for (ULONG i = 0; i < 20; ++i) {
        colours[i] = i * 0x0B0D11u | (i == 3 ? 0x08000000 : 0);
        expected[i] = GetConvertedTargetColor(7, colours[i]);
    }
    GetIFileColorWords(7, colours, words, 20);
    GetConvertedTargetColors(7, colours, colours, 20); // in place
    for (ULONG i = 0; i < 20; ++i) {
        EXPECT_EQ(expected[i], colours[i]) << i;
        EXPECT_EQ(ZK5000_CalcColorR5G6B5(i * 0x0B0D11u) & 0xFFFF, words[i]) << i;
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
    EXPECT_EQ(before, colours[0]);
    EXPECT_EQ(0x1234, untouched);
    // A mode outside the table copies the colour, and packs its low word
    // (exact-size buffers: a write past the end shows under the sanitizers).
    for (const int mode : {-1, 13}) {
        const std::vector<ULONG> in(5, 0x12345678);
        std::vector<ULONG> out(5);
        std::vector<WORD> packed(5);
        GetConvertedTargetColors(mode, in.data(), out.data(), 5);
        GetIFileColorWords(mode, in.data(), packed.data(), 5);
        EXPECT_EQ(out, in) << mode;
        EXPECT_EQ(packed, std::vector<WORD>(5, 0x5678)) << mode;
    }
}

} // namespace
