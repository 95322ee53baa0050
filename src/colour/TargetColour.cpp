// Target colour modes: reduction of colours to what a panel shows, and the
// packed colour words of the panels' screen data.
#include <QNColour.h>

#include "ColourLevels.h"
#include "TargetColourBulk.h"
#include "TargetColourFast.h"

using namespace qn::colour;

namespace {

// (mode, depth code) pairs as signed 16-bit numbers, searched from the front.
struct ModeDepth {
    short nMode;
    short nDepth;
};
constexpr ModeDepth kModeDepths[13] = {
    {2, 0}, {8, 0}, {10, 0}, {11, 9}, {12, 9}, {6, 7}, {9, 7}, {0, 2}, {1, 3}, {5, 4}, {4, 5}, {7, 6}, {3, 8},
};

// Largest plus smallest channel: twice the HLS lightness, 0 to 510.
constexpr unsigned MaxPlusMin(ULONG color)
{
    const unsigned r = Red(color), g = Green(color), b = Blue(color);
    const unsigned mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const unsigned mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    return mx + mn;
}

// Brightens a reduced colour the way the 64- and 256-colour panels show it.
// Black and white stay as they are; other depths change nothing.
constexpr ULONG ApplyDepthLevelFill(ULONG reduced, short nDepth)
{
    if (reduced == 0x000000 || reduced == 0xFFFFFF)
        return reduced;
    if (nDepth == 2)
        return (reduced | 0x3F3F3F) & 0xFFFFFF;
    if (nDepth == 3)
        return MakeColor(Red(reduced) | 0x1F, Green(reduced) | 0x1F, (Blue(reduced) & 0xC0) | 0x1F);
    return reduced;
}

// 11 x (red + green) + 10 x blue, 0 to 8160: the brightness the monochrome and
// grey panels use for their 4-bit codes.
constexpr unsigned WeightedSum(ULONG color) { return 11 * (Red(color) + Green(color)) + 10 * Blue(color); }

constexpr unsigned AttributeBit(ULONG color) { return (color & kAttributeMask) ? 8u : 0u; }

constexpr ULONG Word(unsigned word) { return static_cast<ULONG>(word & 0xFFFF) * 0x00010001u; }
constexpr ULONG Byte(unsigned code) { return static_cast<ULONG>(code & 0xFF) * 0x01010101u; }
constexpr ULONG Nibble(unsigned code) { return static_cast<ULONG>(code & 0xF) * 0x11111111u; }

constexpr ULONG Grey(unsigned level) { return MakeColor(level, level, level); }

bool IsTransparent(ULONG color) { return (color & kTransparentFlag) != 0; }

} // namespace

// ---------------------------------------------------------------------------
// Depth and mode dispatch

short KESTCOLOR::GetTargetColorDepth(int nMode)
{
    for (const ModeDepth& entry : kModeDepths) {
        if (nMode == static_cast<int>(entry.nMode))
            return entry.nDepth;
    }
    return 0;
}

namespace {

// `to` where x equals `from`, else x: a conditional move. GCC 12 turns the
// plain ternary into a branch here, which costs more than it saves in a loop of
// calls.
inline uint32_t Replace(uint32_t x, uint32_t from, uint32_t to)
{
#if defined(__x86_64__) || defined(__i386__)
    __asm__("cmpl %1, %0\n\tcmove %2, %0" : "+r"(x) : "g"(from), "rm"(to) : "cc");
    return x;
#else
    return x == from ? to : x;
#endif
}

} // namespace

// With the mode's own depth: the straight-line conversions of
// TargetColourFast.h, which the tests hold to the three-argument form below.
ULONG GetConvertedTargetColor(int nMode, ULONG color)
{
    // First the mode's pass test: the transparent flag, or any colour at all
    // in the unchanged modes 3 and 10, which so return after two compares
    // (their tables are identities, for colour 0). The table modes (0, 1, 4,
    // 5, 7) then run straight through, with no taken branch: three look-ups,
    // then the fill's two fixes as conditional moves (modes 4, 5 and 7 carry
    // fixes that never match: cheaper than a branch on the mode). In a loop of
    // calls this path costs about one cycle more than the call itself, so each
    // instruction and each taken branch shows.
    const unsigned mode = static_cast<unsigned>(nMode);
    if (__builtin_expect(mode > 12, 0))
        return color;
    if (__builtin_expect((color & kModeTables.pass[mode]) != 0, 0))
        return color;
    if (const ChannelTables* tables = kModeTables.tables[mode]; __builtin_expect(tables != nullptr, 1))
        return Replace(Replace(Lookup(*tables, color), tables->black, 0), tables->white, 0xFFFFFF);
    return ShownColor(nMode, color);
}

uint32_t qn::colour::ShownByDepthSearch(int mode, uint32_t color)
{
    return GetConvertedTargetColor(mode, KESTCOLOR::GetTargetColorDepth(mode), color);
}

void GetConvertedTargetColors(int nMode, const ULONG* pColors, ULONG* pResults, int nCount)
{
    if (!pColors || !pResults || nCount <= 0)
        return;
    static_assert(sizeof(ULONG) == sizeof(uint32_t), "colour values are 32-bit words");
    ConvertColors(FastestBulkPath(), nMode, reinterpret_cast<const uint32_t*>(pColors),
                  reinterpret_cast<uint32_t*>(pResults), static_cast<size_t>(nCount));
}

ULONG GetConvertedTargetColor(int nMode, short nDepth, ULONG color)
{
    switch (nMode) {
    case 0:
        return FindClosest64Color(color, nDepth);
    case 1:
        return FindClosest256Color(color, nDepth);
    case 2:
    case 8:
        return FindClosestBWColor(color);
    case 4:
        return FindClosest16384Color(color);
    case 5:
        return FindClosest4096Color(color);
    case 6:
    case 9:
        return FindClosest16GColor(color, nDepth);
    case 7:
        return FindClosest65536Color(color);
    case 11:
    case 12:
        return FindClosest8BColor(color);
    default: // 3 (full colour), 10 (no reduction) and unknown modes
        return color;
    }
}

ULONG GetIFileColor(int nMode, ULONG color)
{
    switch (nMode) {
    case 0:
        return CalcColorR2G2B2Blink(color);
    case 1:
        return CalcColorR3G3B2(color);
    case 2:
    case 8:
        return CalcColor4Bit(color);
    case 4:
        return ZK5000_CalcColorBL2R5G5B4(color);
    case 5:
        return ZK5000_CalcColorBL2R4G4B4(color);
    case 6:
    case 9:
        return ZK5000_CalcColorBL2R4(color);
    case 7:
        return ZK5000_CalcColorR5G6B5(color);
    case 11:
    case 12:
        return CalcColor4Bit8Grey(color);
    default:
        return color;
    }
}

void GetIFileColorWords(int nMode, const ULONG* pColors, WORD* pWords, int nCount)
{
    if (!pColors || !pWords || nCount <= 0)
        return;
    static_assert(sizeof(WORD) == sizeof(uint16_t), "packed words are 16-bit");
    PackWords(FastestBulkPath(), nMode, reinterpret_cast<const uint32_t*>(pColors), reinterpret_cast<uint16_t*>(pWords),
              static_cast<size_t>(nCount));
}

// ---------------------------------------------------------------------------
// Reductions

ULONG FindClosestBWColor(ULONG color)
{
    if (IsTransparent(color))
        return color;
    return MaxPlusMin(color) > 255 ? 0xFFFFFF : 0x000000;
}

ULONG FindClosest8Color(ULONG color)
{
    if (IsTransparent(color))
        return color;
    const auto level = [](unsigned channel) -> unsigned {
        return kLevels8Color[NearestEntry(static_cast<unsigned char>(channel), kLevels8Color, 2)];
    };
    return MakeColor(level(Red(color)), level(Green(color)), level(Blue(color)));
}

ULONG FindClosest8BColor(ULONG color)
{
    if (IsTransparent(color))
        return color;
    return Grey(kLevels8Grey[MaxPlusMin(color) >> 6]);
}

ULONG FindClosest8BIColor(ULONG color)
{
    if (IsTransparent(color))
        return color;
    return Grey(kLevels8GreyInverted[MaxPlusMin(color) >> 6]);
}

ULONG FindClosest16GColor(ULONG color, short nDepth)
{
    if (IsTransparent(color))
        return color;
    return ApplyDepthLevelFill(Grey((MaxPlusMin(color) >> 5) * 0x11), nDepth);
}

ULONG FindClosest64Color(ULONG color, short nDepth)
{
    if (IsTransparent(color))
        return color;
    const ULONG reduced =
        MakeColor(kLevels64[Red(color) >> 6], kLevels64[Green(color) >> 6], kLevels64[Blue(color) >> 6]);
    return ApplyDepthLevelFill(reduced, nDepth);
}

ULONG FindClosest256Color(ULONG color, short nDepth)
{
    if (IsTransparent(color))
        return color;
    const ULONG reduced = MakeColor(kLevels256RedGreen[Red(color) >> 5], kLevels256RedGreen[Green(color) >> 5],
                                    kLevels256Blue[Blue(color) >> 6]);
    return ApplyDepthLevelFill(reduced, nDepth);
}

ULONG FindClosest4096Color(ULONG color)
{
    if (IsTransparent(color))
        return color;
    return MakeColor(kLevels4Bit[kReduce4Bit[Red(color)]], kLevels4Bit[kReduce4Bit[Green(color)]],
                     kLevels4Bit[kReduce4Bit[Blue(color)]]);
}

ULONG FindClosest16384Color(ULONG color)
{
    if (IsTransparent(color))
        return color;
    return MakeColor(kLevels5Bit[kReduce5Bit[Red(color)]], kLevels5Bit[kReduce5Bit[Green(color)]],
                     kLevels4Bit[kReduce4Bit[Blue(color)]]);
}

ULONG FindClosest65536Color(ULONG color)
{
    if (IsTransparent(color))
        return color;
    return MakeColor(kLevels5Bit[kReduce5Bit[Red(color)]], kLevels6Bit[kReduce6Bit[Green(color)]],
                     kLevels5Bit[kReduce5Bit[Blue(color)]]);
}

int FindClosestColorTableIndex(unsigned char value, unsigned char* pTable, int nCount)
{
    // A host that passes no table gets the index a count of 0 gives.
    if (!pTable)
        return 0;
    return NearestEntry(value, pTable, nCount);
}

// ---------------------------------------------------------------------------
// Encoders

ULONG ZK5000_CalcColorR5G6B5(ULONG color)
{
    return Word(kReduce5Bit[Red(color)] << 11 | kReduce6Bit[Green(color)] << 5 | kReduce5Bit[Blue(color)]);
}

ULONG ZK5000_CalcColorBL2R5G5B4(ULONG color)
{
    return Word(kReduce5Bit[Red(color)] << 9 | kReduce5Bit[Green(color)] << 4 | kReduce4Bit[Blue(color)]);
}

ULONG ZK5000_CalcColorBL2R4G4B4(ULONG color)
{
    return Word(kReduce4Bit[Red(color)] << 10 | kReduce4Bit[Green(color)] << 5 | kReduce4Bit[Blue(color)]);
}

ULONG ZK5000_CalcColorBL2R4(ULONG color) { return Byte(kReduce4Bit[Red(color)] << 2); }

ULONG CalcColor4Bit(ULONG color)
{
    return Nibble((WeightedSum(color) >= 4096 ? 4u : 0u) | AttributeBit(color));
}

ULONG CalcColor4Bit8Grey(ULONG color) { return Nibble(((WeightedSum(color) >> 5) >> 5) | AttributeBit(color)); }

ULONG CalcColorR2G2B2Blink(ULONG color)
{
    return Byte((Red(color) & 0xC0) >> 1 | (Green(color) & 0xC0) >> 4 | Blue(color) >> 6);
}

ULONG CalcColorR3G3B2(ULONG color)
{
    return Byte((Red(color) & 0xE0) | (Green(color) & 0xE0) >> 3 | Blue(color) >> 6);
}

// ---------------------------------------------------------------------------
// Decoders

ULONG ZK5000_Calc32bitColorFromR5G6B5(ULONG packed)
{
    return MakeColor(kLevels5Bit[(packed >> 11) & 31], kLevels6Bit[(packed >> 5) & 63], kLevels5Bit[packed & 31]);
}

ULONG ZK5000_Calc32bitColorFromBL2R5G5B4(ULONG packed)
{
    return MakeColor(kLevels5Bit[(packed >> 9) & 31], kLevels5Bit[(packed >> 4) & 31], kLevels4Bit[packed & 15]);
}

ULONG ZK5000_Calc32bitColorFromBL2R4G4B4(ULONG packed)
{
    return MakeColor(kLevels4Bit[(packed >> 10) & 15], kLevels4Bit[(packed >> 5) & 15], kLevels4Bit[packed & 15]);
}

ULONG ZK5000_Calc32bitColorFromBL2R4(ULONG packed) { return Grey(kLevels4Bit[(packed >> 2) & 15]); }
