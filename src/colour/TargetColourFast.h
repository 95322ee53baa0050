// Per-colour conversions of each target mode as straight-line code: three
// look-ups in 256-entry channel tables (built at compile time from the level
// tables in ColourLevels.h) or a few integer operations, with no search and no
// data-dependent branch. GetConvertedTargetColor(mode, colour), GetIFileColor
// and the bulk functions run these; the reductions and encoders in
// TargetColour.cpp stay as the definition they are tested against.
#pragma once

#include "ColourLevels.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qn::colour {

// A colour channel's contribution to a result, for each channel value; then
// the fill's fixes of modes 0 and 1: the looked-up value `black` shows as
// black, `white` as white (kNoFix, above 24 bits, never matches). Kept beside
// the tables, so that the per-colour path reaches them without another address.
inline constexpr uint32_t kNoFix = 0xFFFFFFFFu;
struct ChannelTables {
    std::array<uint32_t, 256> red, green, blue;
    uint32_t black = kNoFix;
    uint32_t white = kNoFix;
};

template <typename Red, typename Green, typename Blue>
constexpr ChannelTables MakeChannelTables(Red red, Green green, Blue blue, uint32_t black = kNoFix,
                                          uint32_t white = kNoFix)
{
    ChannelTables t{};
    t.black = black;
    t.white = white;
    for (unsigned v = 0; v < 256; ++v) {
        t.red[v] = red(v);
        t.green[v] = green(v) << 8;
        t.blue[v] = blue(v) << 16;
    }
    return t;
}

// Shown colours. The 64- and 256-colour tables hold the level already
// brightened by the mode's own depth (2 and 3): only black and white, which the
// fill leaves alone, need a fix after the look-up.
inline constexpr uint32_t kShown64FilledBlack = 0x3F3F3F; // black after the fill: stays black
inline constexpr ChannelTables kShown64Filled = MakeChannelTables(
    [](unsigned v) -> uint32_t { return kLevels64[v >> 6] | 0x3Fu; },
    [](unsigned v) -> uint32_t { return kLevels64[v >> 6] | 0x3Fu; },
    [](unsigned v) -> uint32_t { return kLevels64[v >> 6] | 0x3Fu; }, kShown64FilledBlack);
inline constexpr uint32_t kShown256FilledBlack = 0x1F1F1F; // stays black
inline constexpr uint32_t kShown256FilledWhite = 0xDFFFFF; // stays white
inline constexpr ChannelTables kShown256Filled = MakeChannelTables(
    [](unsigned v) -> uint32_t { return kLevels256RedGreen[v >> 5] | 0x1Fu; },
    [](unsigned v) -> uint32_t { return kLevels256RedGreen[v >> 5] | 0x1Fu; },
    [](unsigned v) -> uint32_t { return (kLevels256Blue[v >> 6] & 0xC0u) | 0x1Fu; }, kShown256FilledBlack,
    kShown256FilledWhite);
inline constexpr ChannelTables kShown16384 = MakeChannelTables(
    [](unsigned v) -> uint32_t { return kLevels5Bit[kReduce5Bit[v]]; },
    [](unsigned v) -> uint32_t { return kLevels5Bit[kReduce5Bit[v]]; },
    [](unsigned v) -> uint32_t { return kLevels4Bit[kReduce4Bit[v]]; });
inline constexpr ChannelTables kShown4096 = MakeChannelTables(
    [](unsigned v) -> uint32_t { return kLevels4Bit[kReduce4Bit[v]]; },
    [](unsigned v) -> uint32_t { return kLevels4Bit[kReduce4Bit[v]]; },
    [](unsigned v) -> uint32_t { return kLevels4Bit[kReduce4Bit[v]]; });
inline constexpr ChannelTables kShown65536 = MakeChannelTables(
    [](unsigned v) -> uint32_t { return kLevels5Bit[kReduce5Bit[v]]; },
    [](unsigned v) -> uint32_t { return kLevels6Bit[kReduce6Bit[v]]; },
    [](unsigned v) -> uint32_t { return kLevels5Bit[kReduce5Bit[v]]; });

// Packed words: each entry is the channel's field of the word, in place, so
// that the three look-ups OR together into the word.
struct WordTables {
    std::array<uint32_t, 256> red, green, blue;
};
template <typename Red, typename Green, typename Blue>
constexpr WordTables MakeWordTables(Red red, Green green, Blue blue)
{
    WordTables t{};
    for (unsigned v = 0; v < 256; ++v) {
        t.red[v] = red(v);
        t.green[v] = green(v);
        t.blue[v] = blue(v);
    }
    return t;
}
inline constexpr WordTables kWordR5G6B5 = MakeWordTables([](unsigned v) { return unsigned(kReduce5Bit[v]) << 11; },
                                                         [](unsigned v) { return unsigned(kReduce6Bit[v]) << 5; },
                                                         [](unsigned v) { return unsigned(kReduce5Bit[v]); });
inline constexpr WordTables kWordBL2R5G5B4 = MakeWordTables([](unsigned v) { return unsigned(kReduce5Bit[v]) << 9; },
                                                            [](unsigned v) { return unsigned(kReduce5Bit[v]) << 4; },
                                                            [](unsigned v) { return unsigned(kReduce4Bit[v]); });
inline constexpr WordTables kWordBL2R4G4B4 = MakeWordTables([](unsigned v) { return unsigned(kReduce4Bit[v]) << 10; },
                                                            [](unsigned v) { return unsigned(kReduce4Bit[v]) << 5; },
                                                            [](unsigned v) { return unsigned(kReduce4Bit[v]); });

// The unchanged modes as tables: every colour but 0 passes as it is (below),
// and 0 looks up as 0.
inline constexpr ChannelTables kUnchanged = MakeChannelTables(
    [](unsigned v) { return v; }, [](unsigned v) { return v; }, [](unsigned v) { return v; });

// Per mode 0 to 12: a colour with any of the `pass` bits is returned as it is
// (the transparent flag; every bit for the unchanged modes 3 and 10), and the
// modes whose shown colour is three channel look-ups and the fixes have their
// tables. One object, so that one address reaches both, and the pass test does
// not wait for the tables' address.
struct ModeTables {
    uint32_t pass[13];
    const ChannelTables* tables[13];
};
inline constexpr uint32_t kPassAll = 0xFFFFFFFFu;
inline constexpr ModeTables kModeTables = {
    {kTransparentFlag, kTransparentFlag, kTransparentFlag, kPassAll, kTransparentFlag, kTransparentFlag,
     kTransparentFlag, kTransparentFlag, kTransparentFlag, kTransparentFlag, kPassAll, kTransparentFlag,
     kTransparentFlag},
    {&kShown64Filled, &kShown256Filled, nullptr, &kUnchanged, &kShown16384, &kShown4096, nullptr, &kShown65536,
     nullptr, nullptr, &kUnchanged, nullptr, nullptr}};

// Byte tables for vector byte look-ups: channel value to shown level, or to
// the level's index (the field of a packed word).
using ByteTable = std::array<unsigned char, 256>;
template <typename F> constexpr ByteTable MakeByteTable(F f)
{
    ByteTable t{};
    for (unsigned v = 0; v < 256; ++v)
        t[v] = static_cast<unsigned char>(f(v));
    return t;
}
inline constexpr ByteTable kByteShown4 = MakeByteTable([](unsigned v) { return kLevels4Bit[kReduce4Bit[v]]; });
inline constexpr ByteTable kByteShown5 = MakeByteTable([](unsigned v) { return kLevels5Bit[kReduce5Bit[v]]; });
inline constexpr ByteTable kByteShown6 = MakeByteTable([](unsigned v) { return kLevels6Bit[kReduce6Bit[v]]; });
inline constexpr ByteTable kByteShown64Filled = MakeByteTable([](unsigned v) { return kLevels64[v >> 6] | 0x3Fu; });
inline constexpr ByteTable kByteShown256RedGreenFilled =
    MakeByteTable([](unsigned v) { return kLevels256RedGreen[v >> 5] | 0x1Fu; });
inline constexpr ByteTable kByteShown256BlueFilled =
    MakeByteTable([](unsigned v) { return (kLevels256Blue[v >> 6] & 0xC0u) | 0x1Fu; });

inline constexpr uint32_t kGrey8[8] = {0x000000, 0x303030, 0x505050, 0x707070, 0x909090, 0xB0B0B0, 0xD0D0D0, 0xFFFFFF};
static_assert(kGrey8[5] == kLevels8Grey[5] * 0x010101u && kGrey8[7] == kLevels8Grey[7] * 0x010101u);

inline uint32_t Lookup(const ChannelTables& t, uint32_t c)
{
    return t.red[c & 0xFF] | t.green[(c >> 8) & 0xFF] | t.blue[(c >> 16) & 0xFF];
}
inline uint32_t Lookup(const WordTables& t, uint32_t c)
{
    return t.red[c & 0xFF] | t.green[(c >> 8) & 0xFF] | t.blue[(c >> 16) & 0xFF];
}

// Largest plus smallest channel, 0 to 510, by masks rather than comparisons:
// compilers turn max/min chains into a branch, which random colours mispredict.
inline unsigned MaxPlusMinFast(uint32_t c)
{
    const int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int((c >> 16) & 0xFF);
    const int d = r - g, below = d >> 31; // all ones when r < g
    const int high = r - (d & below), low = g + (d & below);
    const int dh = high - b, dl = low - b;
    return unsigned((high - (dh & (dh >> 31))) + (b + (dl & (dl >> 31))));
}
inline unsigned WeightedSumFast(uint32_t c) { return 11 * ((c & 0xFF) + ((c >> 8) & 0xFF)) + 10 * ((c >> 16) & 0xFF); }

// GetConvertedTargetColor(mode, c) with the mode's own depth, mode 0 to 12.
inline uint32_t ShownColor(int mode, uint32_t c)
{
    if (c & kTransparentFlag)
        return c;
    switch (mode) {
    case 0: {
        const uint32_t x = Lookup(kShown64Filled, c);
        return x == kShown64FilledBlack ? 0 : x;
    }
    case 1: {
        const uint32_t x = Lookup(kShown256Filled, c);
        return x == kShown256FilledBlack ? 0 : x == kShown256FilledWhite ? 0xFFFFFF : x;
    }
    case 2:
    case 8:
        return MaxPlusMinFast(c) > 255 ? 0xFFFFFFu : 0u;
    case 4:
        return Lookup(kShown16384, c);
    case 5:
        return Lookup(kShown4096, c);
    case 6:
    case 9:
        return (MaxPlusMinFast(c) >> 5) * 0x111111u;
    case 7:
        return Lookup(kShown65536, c);
    case 11:
    case 12:
        return kGrey8[MaxPlusMinFast(c) >> 6];
    default:
        return c;
    }
}

// The low word of GetIFileColor(mode, c), mode 0 to 12.
inline uint16_t PackedWord(int mode, uint32_t c)
{
    const uint32_t attribute = (c & kAttributeMask) ? 8u : 0u;
    switch (mode) {
    case 0:
        return static_cast<uint16_t>(((c & 0xC0) >> 1 | (c & 0xC000) >> 12 | (c >> 22 & 3)) * 0x0101u);
    case 1:
        return static_cast<uint16_t>(((c & 0xE0) | (c & 0xE000) >> 11 | (c >> 22 & 3)) * 0x0101u);
    case 2:
    case 8:
        return static_cast<uint16_t>(((WeightedSumFast(c) >= 4096 ? 4u : 0u) | attribute) * 0x1111u);
    case 4:
        return static_cast<uint16_t>(Lookup(kWordBL2R5G5B4, c));
    case 5:
        return static_cast<uint16_t>(Lookup(kWordBL2R4G4B4, c));
    case 6:
    case 9:
        return static_cast<uint16_t>((unsigned(kReduce4Bit[c & 0xFF]) << 2) * 0x0101u);
    case 7:
        return static_cast<uint16_t>(Lookup(kWordR5G6B5, c));
    case 11:
    case 12:
        return static_cast<uint16_t>(((WeightedSumFast(c) >> 10) | attribute) * 0x1111u);
    default:
        return static_cast<uint16_t>(c);
    }
}

} // namespace qn::colour
