// The constant level tables of the panel colour modes and the reduction tables
// derived from them at compile time.
//
// A level table lists the 8-bit channel values a panel can show; a reduction
// table gives, for each 8-bit channel value, the index of its nearest level
// (the higher index where two levels are equally near). The reduction tables
// are built here by the same nearest-entry search that FindClosestColorTableIndex
// exports, so that per pixel only look-ups run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qn::colour {

inline constexpr unsigned char kLevels64[4] = {0x00, 0x66, 0x99, 0xFF};
inline constexpr unsigned char kLevels256RedGreen[8] = {0x00, 0x24, 0x48, 0x6D, 0x91, 0xB6, 0xDA, 0xFF};
inline constexpr unsigned char kLevels256Blue[4] = {0x00, 0x55, 0xAA, 0xFF};
inline constexpr unsigned char kLevels8Color[2] = {0x00, 0xFF};
inline constexpr unsigned char kLevels8Grey[8] = {0x00, 0x30, 0x50, 0x70, 0x90, 0xB0, 0xD0, 0xFF};
inline constexpr unsigned char kLevels8GreyInverted[8] = {0xFF, 0xD0, 0xB0, 0x90, 0x70, 0x50, 0x30, 0x00};

inline constexpr unsigned char kLevels4Bit[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                                  0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};

// The panels' 5- and 6-bit levels are not a formula: the top entries are spread
// unevenly, so they are kept exactly as the panels show them.
inline constexpr unsigned char kLevels5Bit[32] = {
    0x00, 0x08, 0x11, 0x19, 0x22, 0x2A, 0x33, 0x3B, 0x44, 0x4C, 0x55, 0x5D, 0x66, 0x6E, 0x77, 0x7F,
    0x88, 0x90, 0x99, 0xA1, 0xAA, 0xB2, 0xBB, 0xC3, 0xCC, 0xD4, 0xDD, 0xE6, 0xEE, 0xF4, 0xFA, 0xFF};
inline constexpr unsigned char kLevels6Bit[64] = {
    0x00, 0x04, 0x08, 0x0C, 0x11, 0x15, 0x19, 0x1D, 0x22, 0x26, 0x2A, 0x2F, 0x33, 0x37, 0x3B, 0x40,
    0x44, 0x48, 0x4C, 0x50, 0x55, 0x59, 0x5D, 0x61, 0x66, 0x6A, 0x6E, 0x72, 0x77, 0x7B, 0x7F, 0x83,
    0x88, 0x8C, 0x90, 0x94, 0x99, 0x9D, 0xA1, 0xA5, 0xAA, 0xAE, 0xB2, 0xB6, 0xBB, 0xBF, 0xC3, 0xC7,
    0xCC, 0xD0, 0xD4, 0xD9, 0xDD, 0xE0, 0xE3, 0xE6, 0xEA, 0xEE, 0xF1, 0xF4, 0xF7, 0xFA, 0xFD, 0xFF};

// The nearest entry among the first `count` entries: the first exact match
// ends the search; otherwise a later entry at least as near replaces the best,
// so ties go to the higher index. 0 when count < 1.
constexpr int NearestEntry(unsigned char value, const unsigned char* table, int count)
{
    int best = 0;
    for (int index = 0; index < count; ++index) {
        if (table[index] == value)
            return index;
        const int bestDistance = table[best] > value ? table[best] - value : value - table[best];
        const int distance = table[index] > value ? table[index] - value : value - table[index];
        if (bestDistance >= distance)
            best = index;
    }
    return best;
}

template <std::size_t N> constexpr std::array<unsigned char, 256> BuildReduction(const unsigned char (&levels)[N])
{
    std::array<unsigned char, 256> reduction{};
    for (int value = 0; value < 256; ++value)
        reduction[value] = static_cast<unsigned char>(NearestEntry(static_cast<unsigned char>(value), levels, int(N)));
    return reduction;
}

inline constexpr std::array<unsigned char, 256> kReduce4Bit = BuildReduction(kLevels4Bit);
inline constexpr std::array<unsigned char, 256> kReduce5Bit = BuildReduction(kLevels5Bit);
inline constexpr std::array<unsigned char, 256> kReduce6Bit = BuildReduction(kLevels6Bit);

// The entries that show the tie rule and the uneven top levels.
static_assert(kReduce5Bit[3] == 0 && kReduce5Bit[4] == 1 && kReduce5Bit[252] == 30 && kReduce5Bit[253] == 31);
static_assert(kReduce6Bit[1] == 0 && kReduce6Bit[2] == 1 && kReduce6Bit[128] == 30 && kReduce6Bit[254] == 63);
static_assert(kReduce4Bit[8] == 0 && kReduce4Bit[9] == 1 && kReduce4Bit[127] == 7 && kReduce4Bit[128] == 8);

// Channel access on a colour value (0x00BBGGRR plus flags).
inline constexpr std::uint32_t kTransparentFlag = 0x08000000;
inline constexpr std::uint32_t kAttributeMask = 0x03000000;

constexpr unsigned Red(std::uint32_t color) { return static_cast<unsigned>(color & 0xFF); }
constexpr unsigned Green(std::uint32_t color) { return static_cast<unsigned>((color >> 8) & 0xFF); }
constexpr unsigned Blue(std::uint32_t color) { return static_cast<unsigned>((color >> 16) & 0xFF); }
constexpr std::uint32_t MakeColor(unsigned red, unsigned green, unsigned blue)
{
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(blue) << 16;
}

} // namespace qn::colour
