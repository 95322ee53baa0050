// Bulk colour conversion and packing: the exported buffer functions, a
// portable loop over the per-colour conversions, an AVX2 loop (x64) that does
// eight colours per step (modes 0, 1 and 7 by vector gathers of the channel
// tables, modes 4 and 5 by multiply-high reductions and vpshufb levels, grey
// levels by vector max/min and integer arithmetic, the transparent flag by a
// blend; mode 7's words 32 colours per step by arithmetic and vpshufb),
// and for the channel-table modes an AVX-512 VBMI loop of 16 colours per step.
#include "TargetColourBulk.h"
#include "TargetColourFast.h"
#include "common/CpuFeatures.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define QN_COLOUR_AVX2 1
// GCC 12's AVX-512 intrinsics start from deliberately undefined registers
// (_mm512_undefined_*), which its flow analysis reports as uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif

namespace qn::colour {
namespace {

void ConvertScalar(int mode, const uint32_t* in, uint32_t* out, size_t count)
{
    if (mode < 0 || mode > 12) {
        for (size_t i = 0; i < count; ++i)
            out[i] = in[i];
        return;
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = ShownColor(mode, in[i]);
}

void PackScalar(int mode, const uint32_t* in, uint16_t* out, size_t count)
{
    if (mode < 0 || mode > 12) {
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<uint16_t>(in[i]);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = PackedWord(mode, in[i]);
}

#ifdef QN_COLOUR_AVX2
#define QN_TARGET_AVX2 __attribute__((target("avx2")))

// Before the scalar tail of a vector loop. GCC 12 jumps to the tail function
// without the vzeroupper it puts before a return, so the caller's SSE code would
// run with the upper register halves still in use: measured 5x slower on AMD
// after the AVX-512 loops (libyuv's SSE2 row right after ours).
QN_TARGET_AVX2 inline void ScalarTailFollows() { _mm256_zeroupper(); }

struct Channels {
    __m256i red, green, blue;
};

QN_TARGET_AVX2 inline Channels Split(__m256i c)
{
    const __m256i byte = _mm256_set1_epi32(0xFF);
    return {_mm256_and_si256(c, byte), _mm256_and_si256(_mm256_srli_epi32(c, 8), byte),
            _mm256_and_si256(_mm256_srli_epi32(c, 16), byte)};
}

template <typename Tables> QN_TARGET_AVX2 inline __m256i Gather(const Tables& t, const Channels& ch)
{
    const auto* red = reinterpret_cast<const int*>(t.red.data());
    const auto* green = reinterpret_cast<const int*>(t.green.data());
    const auto* blue = reinterpret_cast<const int*>(t.blue.data());
    return _mm256_or_si256(_mm256_or_si256(_mm256_i32gather_epi32(red, ch.red, 4), _mm256_i32gather_epi32(green, ch.green, 4)),
                           _mm256_i32gather_epi32(blue, ch.blue, 4));
}

QN_TARGET_AVX2 inline __m256i MaxPlusMin(const Channels& ch)
{
    return _mm256_add_epi32(_mm256_max_epi32(_mm256_max_epi32(ch.red, ch.green), ch.blue),
                            _mm256_min_epi32(_mm256_min_epi32(ch.red, ch.green), ch.blue));
}

// 11 (red + green) + 10 blue.
QN_TARGET_AVX2 inline __m256i WeightedSum(const Channels& ch)
{
    return _mm256_add_epi32(_mm256_mullo_epi32(_mm256_add_epi32(ch.red, ch.green), _mm256_set1_epi32(11)),
                            _mm256_mullo_epi32(ch.blue, _mm256_set1_epi32(10)));
}

QN_TARGET_AVX2 inline __m256i Equal(__m256i a, uint32_t b) { return _mm256_cmpeq_epi32(a, _mm256_set1_epi32(int(b))); }

// The 4- and 5-bit reductions by arithmetic on 16-bit lanes, for modes 4 and 5
// without gathers. 4 bits: floor((v + 8) 3856 / 2^16), exact for every v.
// 5 bits: the larger of two multiply-high lines, floor((v + 5) 7693 / 2^16),
// right up to 240, and floor((v - 81) 11879 / 2^16) (0 below 81), right from
// 241, each never above the reduction elsewhere. Both give 0 for v = 0, so the
// empty upper lanes stay empty.
constexpr unsigned Reduce4ByLine(unsigned v) { return (v + 8) * 3856 >> 16; }
constexpr unsigned Reduce5ByLines(unsigned v)
{
    const unsigned low = (v + 5) * 7693 >> 16, high = (v > 81 ? v - 81 : 0) * 11879 >> 16;
    return low > high ? low : high;
}
constexpr bool ShortReductionsByArithmeticAreExact()
{
    for (unsigned v = 0; v < 256; ++v) {
        if (Reduce4ByLine(v) != kReduce4Bit[v] || Reduce5ByLines(v) != kReduce5Bit[v])
            return false;
    }
    return true;
}
static_assert(ShortReductionsByArithmeticAreExact(), "4- and 5-bit reductions by arithmetic");

QN_TARGET_AVX2 inline __m256i Reduce4(__m256i v)
{
    return _mm256_mulhi_epu16(_mm256_add_epi16(v, _mm256_set1_epi16(8)), _mm256_set1_epi16(3856));
}
QN_TARGET_AVX2 inline __m256i Reduce5(__m256i v)
{
    const __m256i low = _mm256_mulhi_epu16(_mm256_add_epi16(v, _mm256_set1_epi16(5)), _mm256_set1_epi16(7693));
    const __m256i high = _mm256_mulhi_epu16(_mm256_subs_epu16(v, _mm256_set1_epi16(81)), _mm256_set1_epi16(11879));
    return _mm256_max_epu16(low, high);
}

// Red and blue in the 16-bit halves of each colour's lane; green in the low half.
struct Halves {
    __m256i redBlue, green;
};
QN_TARGET_AVX2 inline Halves SplitHalves(__m256i c)
{
    return {_mm256_and_si256(c, _mm256_set1_epi32(0x00FF00FF)), _mm256_and_si256(_mm256_srli_epi32(c, 8), _mm256_set1_epi32(0xFF))};
}

// Shown 4-bit level per byte: the index times 0x11.
QN_TARGET_AVX2 inline __m256i Level4(__m256i index) { return _mm256_or_si256(_mm256_slli_epi16(index, 4), index); }

// Shown 5-bit level per byte (indices below 32): two 16-entry vpshufb tables,
// chosen by bit 4 of the index.
QN_TARGET_AVX2 inline __m256i Level5(__m256i index)
{
    const __m256i low = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kLevels5Bit)));
    const __m256i high = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kLevels5Bit + 16)));
    return _mm256_blendv_epi8(_mm256_shuffle_epi8(low, index), _mm256_shuffle_epi8(high, index),
                              _mm256_slli_epi16(index, 3));
}

template <int Mode> QN_TARGET_AVX2 inline __m256i Shown8(__m256i c)
{
    const Channels ch = Split(c);
    __m256i x;
    if constexpr (Mode == 0) {
        x = Gather(kShown64Filled, ch);
        x = _mm256_andnot_si256(Equal(x, kShown64FilledBlack), x);
    } else if constexpr (Mode == 1) {
        x = Gather(kShown256Filled, ch);
        x = _mm256_andnot_si256(Equal(x, kShown256FilledBlack), x);
        x = _mm256_or_si256(x, _mm256_and_si256(Equal(x, kShown256FilledWhite), _mm256_set1_epi32(0xFFFFFF)));
    } else if constexpr (Mode == 2) {
        x = _mm256_and_si256(_mm256_cmpgt_epi32(MaxPlusMin(ch), _mm256_set1_epi32(255)), _mm256_set1_epi32(0xFFFFFF));
    } else if constexpr (Mode == 4) {
        // Red and green 5-bit, blue 4-bit: the blue byte from the 4-bit levels.
        const Halves h = SplitHalves(c);
        const __m256i shown5 = Level5(_mm256_or_si256(Reduce5(h.redBlue), _mm256_slli_epi16(Reduce5(h.green), 8)));
        x = _mm256_blend_epi16(shown5, Level4(Reduce4(h.redBlue)), 0xAA);
    } else if constexpr (Mode == 5) {
        const Halves h = SplitHalves(c);
        x = Level4(_mm256_or_si256(Reduce4(h.redBlue), _mm256_slli_epi16(Reduce4(h.green), 8)));
    } else if constexpr (Mode == 6) {
        x = _mm256_mullo_epi32(_mm256_srli_epi32(MaxPlusMin(ch), 5), _mm256_set1_epi32(0x111111));
    } else if constexpr (Mode == 7) {
        x = Gather(kShown65536, ch);
    } else {
        static_assert(Mode == 11);
        const __m256i greys = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kGrey8));
        x = _mm256_permutevar8x32_epi32(greys, _mm256_srli_epi32(MaxPlusMin(ch), 6));
    }
    // A transparent colour passes unchanged.
    const __m256i flag = _mm256_set1_epi32(int(kTransparentFlag));
    return _mm256_blendv_epi8(x, c, Equal(_mm256_and_si256(c, flag), kTransparentFlag));
}

template <int Mode> QN_TARGET_AVX2 void ConvertAvx2Mode(const uint32_t* in, uint32_t* out, size_t count)
{
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), Shown8<Mode>(c));
    }
    ScalarTailFollows();
    ConvertScalar(Mode, in + i, out + i, count - i);
}

// A byte or nibble code repeated over the word.
QN_TARGET_AVX2 inline __m256i Replicate(__m256i code, int copies)
{
    return _mm256_mullo_epi32(code, _mm256_set1_epi32(copies));
}

// The mode's word in each 32-bit lane.
template <int Mode> QN_TARGET_AVX2 inline __m256i Packed8(__m256i c)
{
    const Channels ch = Split(c);
    const __m256i attribute =
        _mm256_andnot_si256(Equal(_mm256_and_si256(c, _mm256_set1_epi32(int(kAttributeMask))), 0), _mm256_set1_epi32(8));
    if constexpr (Mode == 0) {
        const __m256i code = _mm256_or_si256(
            _mm256_or_si256(_mm256_srli_epi32(_mm256_and_si256(ch.red, _mm256_set1_epi32(0xC0)), 1),
                            _mm256_srli_epi32(_mm256_and_si256(ch.green, _mm256_set1_epi32(0xC0)), 4)),
            _mm256_srli_epi32(ch.blue, 6));
        return Replicate(code, 0x0101);
    } else if constexpr (Mode == 1) {
        const __m256i code = _mm256_or_si256(
            _mm256_or_si256(_mm256_and_si256(ch.red, _mm256_set1_epi32(0xE0)),
                            _mm256_srli_epi32(_mm256_and_si256(ch.green, _mm256_set1_epi32(0xE0)), 3)),
            _mm256_srli_epi32(ch.blue, 6));
        return Replicate(code, 0x0101);
    } else if constexpr (Mode == 2) {
        const __m256i light =
            _mm256_and_si256(_mm256_cmpgt_epi32(WeightedSum(ch), _mm256_set1_epi32(4095)), _mm256_set1_epi32(4));
        return Replicate(_mm256_or_si256(light, attribute), 0x1111);
    } else if constexpr (Mode == 4) {
        // red5 << 9 | green5 << 4 | blue4: vpmaddwd forms red << 9 plus blue.
        const Halves h = SplitHalves(c);
        const __m256i redBlue = _mm256_blend_epi16(Reduce5(h.redBlue), Reduce4(h.redBlue), 0xAA);
        return _mm256_or_si256(_mm256_madd_epi16(redBlue, _mm256_set1_epi32(1 << 16 | 1 << 9)),
                               _mm256_slli_epi32(Reduce5(h.green), 4));
    } else if constexpr (Mode == 5) {
        // red4 << 10 | green4 << 5 | blue4.
        const Halves h = SplitHalves(c);
        return _mm256_or_si256(_mm256_madd_epi16(Reduce4(h.redBlue), _mm256_set1_epi32(1 << 16 | 1 << 10)),
                               _mm256_slli_epi32(Reduce4(h.green), 5));
    } else if constexpr (Mode == 6) {
        // Nearest multiple of 0x11 (ties up): (red + 8) / 17, as (red + 8) * 241 >> 12.
        const __m256i level =
            _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_add_epi32(ch.red, _mm256_set1_epi32(8)), _mm256_set1_epi32(241)), 12);
        return Replicate(_mm256_slli_epi32(level, 2), 0x0101);
    } else {
        static_assert(Mode == 11);
        return Replicate(_mm256_or_si256(_mm256_srli_epi32(WeightedSum(ch), 10), attribute), 0x1111);
    }
}

template <int Mode> QN_TARGET_AVX2 void PackAvx2Mode(const uint32_t* in, uint16_t* out, size_t count)
{
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i a = Packed8<Mode>(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)));
        const __m256i b = Packed8<Mode>(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i + 8)));
        // packus works within 128-bit halves: put the four quarters back in order.
        const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), words);
    }
    ScalarTailFollows();
    PackScalar(Mode, in + i, out + i, count - i);
}

// Mode 7 without gathers, 32 colours a step.
//
// Red and blue: Reduce5 on 16-bit lanes, five instructions for the red and blue
// of eight colours, and vpmaddwd puts red << 11 plus blue in each 32-bit lane.
//
// Green: the 6-bit levels follow no line, but each run of four values (v >> 2)
// holds at most one step, so the index is (v + step[v >> 2]) >> 2 with a
// 64-entry table of small signed bytes. The green bytes of 32 colours are
// gathered into one register and looked up with four vpshufb (16 entries each)
// and three blends on bits 4 and 5 of v >> 2.
using GreenSteps = std::array<signed char, 64>;
constexpr GreenSteps MakeGreenSteps()
{
    GreenSteps steps{};
    for (unsigned q = 0; q < 64; ++q) {
        // The index at 4q, and where in the run it steps up (4: not at all).
        unsigned at = 4;
        for (unsigned i = 1; i < 4; ++i)
            at = kReduce6Bit[4 * q + i] != kReduce6Bit[4 * q + i - 1] ? i : at;
        steps[q] = static_cast<signed char>(int(4 * kReduce6Bit[4 * q] + 4 - at) - int(4 * q));
    }
    return steps;
}
inline constexpr GreenSteps kGreenSteps = MakeGreenSteps();

constexpr bool ReductionsByArithmeticAreExact()
{
    for (unsigned v = 0; v < 256; ++v) {
        const int stepped = int(v) + kGreenSteps[v >> 2]; // a byte: no wrap-around is relied on
        if (stepped < 0 || stepped > 255 || unsigned(stepped) >> 2 != kReduce6Bit[v])
            return false;
    }
    return true;
}
static_assert(ReductionsByArithmeticAreExact(), "mode 7 green reduction by arithmetic");

// red << 11 | blue of eight colours, one per 32-bit lane.
QN_TARGET_AVX2 inline __m256i RedBlue565(__m256i c)
{
    return _mm256_madd_epi16(Reduce5(SplitHalves(c).redBlue), _mm256_set1_epi32(1 << 16 | 1 << 11));
}

// vpshufb patterns: the green bytes (byte 1) of four colours to dword `slot`
// of each 128-bit lane, zeros elsewhere.
constexpr std::array<signed char, 32> GreenPick(int slot)
{
    std::array<signed char, 32> pick{};
    for (int i = 0; i < 32; ++i)
        pick[size_t(i)] = (i & 15) / 4 == slot ? static_cast<signed char>(1 + 4 * (i & 3)) : -1;
    return pick;
}
inline constexpr std::array<signed char, 32> kGreenPick[4] = {GreenPick(0), GreenPick(1), GreenPick(2),
                                                                        GreenPick(3)};

QN_TARGET_AVX2 inline __m256i Load256(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
// 16 bytes in both 128-bit lanes: one vpshufb table.
QN_TARGET_AVX2 inline __m256i Broadcast16(const void* p)
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(static_cast<const __m128i*>(p)));
}

QN_TARGET_AVX2 void PackAvx2R5G6B5(const uint32_t* in, uint16_t* out, size_t count)
{
    const __m256i steps0 = Broadcast16(kGreenSteps.data()), steps1 = Broadcast16(kGreenSteps.data() + 16);
    const __m256i steps2 = Broadcast16(kGreenSteps.data() + 32), steps3 = Broadcast16(kGreenSteps.data() + 48);
    const __m256i pick0 = Load256(kGreenPick[0].data()), pick1 = Load256(kGreenPick[1].data());
    const __m256i pick2 = Load256(kGreenPick[2].data()), pick3 = Load256(kGreenPick[3].data());
    const __m256i zero = _mm256_setzero_si256();
    size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        // Named registers, not an array: GCC spills arrays of vectors.
        const __m256i c0 = Load256(in + i), c1 = Load256(in + i + 8), c2 = Load256(in + i + 16), c3 = Load256(in + i + 24);
        // Green of colours 0-3, 8-11, 16-19, 24-27 in the low lane, the others in the high lane.
        const __m256i g = _mm256_blend_epi32(
            _mm256_blend_epi32(_mm256_shuffle_epi8(c0, pick0), _mm256_shuffle_epi8(c1, pick1), 0x22),
            _mm256_blend_epi32(_mm256_shuffle_epi8(c2, pick2), _mm256_shuffle_epi8(c3, pick3), 0x88), 0xCC);
        const __m256i run = _mm256_and_si256(_mm256_srli_epi16(g, 2), _mm256_set1_epi8(0x3F)); // v >> 2
        const __m256i bit4 = _mm256_add_epi8(g, g); // bit 6 of v (bit 4 of the run) as the sign
        const __m256i low = _mm256_blendv_epi8(_mm256_shuffle_epi8(steps0, run), _mm256_shuffle_epi8(steps1, run), bit4);
        const __m256i high = _mm256_blendv_epi8(_mm256_shuffle_epi8(steps2, run), _mm256_shuffle_epi8(steps3, run), bit4);
        // The green index << 2 per byte, then << 5 in each word.
        const __m256i green = _mm256_and_si256(_mm256_add_epi8(g, _mm256_blendv_epi8(low, high, g)),
                                               _mm256_set1_epi8(static_cast<char>(0xFC)));
        // packus and unpack keep the same order of the colours: 0-3, 8-11 | 4-7, 12-15.
        const __m256i w0 = _mm256_or_si256(_mm256_packus_epi32(RedBlue565(c0), RedBlue565(c1)),
                                           _mm256_slli_epi16(_mm256_unpacklo_epi8(green, zero), 3));
        const __m256i w1 = _mm256_or_si256(_mm256_packus_epi32(RedBlue565(c2), RedBlue565(c3)),
                                           _mm256_slli_epi16(_mm256_unpackhi_epi8(green, zero), 3));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permute4x64_epi64(w0, 0xD8));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + 16), _mm256_permute4x64_epi64(w1, 0xD8));
    }
    ScalarTailFollows();
    PackScalar(7, in + i, out + i, count - i);
}

QN_TARGET_AVX2 void ConvertAvx2(int mode, const uint32_t* in, uint32_t* out, size_t count)
{
    switch (mode) {
    case 0:
        return ConvertAvx2Mode<0>(in, out, count);
    case 1:
        return ConvertAvx2Mode<1>(in, out, count);
    case 2:
    case 8:
        return ConvertAvx2Mode<2>(in, out, count);
    case 4:
        return ConvertAvx2Mode<4>(in, out, count);
    case 5:
        return ConvertAvx2Mode<5>(in, out, count);
    case 6:
    case 9:
        return ConvertAvx2Mode<6>(in, out, count);
    case 7:
        return ConvertAvx2Mode<7>(in, out, count);
    case 11:
    case 12:
        return ConvertAvx2Mode<11>(in, out, count);
    default:
        return ConvertScalar(mode, in, out, count); // unchanged: a copy
    }
}

QN_TARGET_AVX2 void PackAvx2(int mode, const uint32_t* in, uint16_t* out, size_t count)
{
    switch (mode) {
    case 0:
        return PackAvx2Mode<0>(in, out, count);
    case 1:
        return PackAvx2Mode<1>(in, out, count);
    case 2:
    case 8:
        return PackAvx2Mode<2>(in, out, count);
    case 4:
        return PackAvx2Mode<4>(in, out, count);
    case 5:
        return PackAvx2Mode<5>(in, out, count);
    case 6:
    case 9:
        return PackAvx2Mode<6>(in, out, count);
    case 7:
        return PackAvx2R5G6B5(in, out, count);
    case 11:
    case 12:
        return PackAvx2Mode<11>(in, out, count);
    default:
        return PackScalar(mode, in, out, count); // the low word
    }
}
// AVX-512 with VBMI: a 256-entry byte table is two 128-entry permutes and a
// blend on bit 7, over 64 bytes at once, so all three channels of 16 colours
// are looked up in a few instructions, without gathers.
#define QN_TARGET_VBMI __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vbmi")))

struct ZmmTable {
    __m512i q[4];
};

QN_TARGET_VBMI inline ZmmTable LoadTable(const ByteTable& t)
{
    return {{_mm512_loadu_si512(t.data()), _mm512_loadu_si512(t.data() + 64), _mm512_loadu_si512(t.data() + 128),
             _mm512_loadu_si512(t.data() + 192)}};
}

QN_TARGET_VBMI inline __m512i LookupBytes(const ZmmTable& t, __m512i v)
{
    const __m512i low = _mm512_permutex2var_epi8(t.q[0], v, t.q[1]);
    const __m512i high = _mm512_permutex2var_epi8(t.q[2], v, t.q[3]);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
}

constexpr __mmask64 kRedBytes = 0x1111111111111111ull, kGreenBytes = kRedBytes << 1, kBlueBytes = kRedBytes << 2;

// Red, green and blue bytes of 16 colours through their tables; byte 3 becomes 0.
QN_TARGET_VBMI inline __m512i LookupChannels(const ZmmTable& red, const ZmmTable* green, const ZmmTable* blue, __m512i c)
{
    __m512i x = LookupBytes(red, c);
    if (green)
        x = _mm512_mask_mov_epi8(x, kGreenBytes, LookupBytes(*green, c));
    if (blue)
        x = _mm512_mask_mov_epi8(x, kBlueBytes, LookupBytes(*blue, c));
    return _mm512_maskz_mov_epi8(kRedBytes | kGreenBytes | kBlueBytes, x);
}

// Tables per mode: red, then green and blue where they differ from red.
struct ModeTables {
    const ByteTable* red;
    const ByteTable* green;
    const ByteTable* blue;
};

QN_TARGET_VBMI void ConvertVbmi(int mode, const uint32_t* in, uint32_t* out, size_t count)
{
    ModeTables tables;
    switch (mode) {
    case 0:
        tables = {&kByteShown64Filled, nullptr, nullptr};
        break;
    case 1:
        tables = {&kByteShown256RedGreenFilled, nullptr, &kByteShown256BlueFilled};
        break;
    case 4:
        tables = {&kByteShown5, nullptr, &kByteShown4};
        break;
    case 5:
        tables = {&kByteShown4, nullptr, nullptr};
        break;
    case 7:
        tables = {&kByteShown5, &kByteShown6, nullptr};
        break;
    default:
        return ConvertAvx2(mode, in, out, count);
    }
    const ZmmTable red = LoadTable(*tables.red);
    const ZmmTable green = LoadTable(tables.green ? *tables.green : *tables.red);
    const ZmmTable blue = LoadTable(tables.blue ? *tables.blue : *tables.red);
    const __m512i flag = _mm512_set1_epi32(int(kTransparentFlag));
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i c = _mm512_loadu_si512(in + i);
        __m512i x = LookupChannels(red, tables.green ? &green : nullptr, tables.blue ? &blue : nullptr, c);
        if (mode == 0) {
            x = _mm512_maskz_mov_epi32(_mm512_cmpneq_epi32_mask(x, _mm512_set1_epi32(int(kShown64FilledBlack))), x);
        } else if (mode == 1) {
            x = _mm512_maskz_mov_epi32(_mm512_cmpneq_epi32_mask(x, _mm512_set1_epi32(int(kShown256FilledBlack))), x);
            x = _mm512_mask_mov_epi32(x, _mm512_cmpeq_epi32_mask(x, _mm512_set1_epi32(int(kShown256FilledWhite))),
                                      _mm512_set1_epi32(0xFFFFFF));
        }
        x = _mm512_mask_mov_epi32(x, _mm512_test_epi32_mask(c, flag), c);
        _mm512_storeu_si512(out + i, x);
    }
    ScalarTailFollows();
    ConvertScalar(mode, in + i, out + i, count - i);
}

// Level indices to the word: red << redShift | green << greenShift | blue.
QN_TARGET_VBMI void PackVbmi(int mode, const uint32_t* in, uint16_t* out, size_t count)
{
    ModeTables tables;
    int redShift, greenShift;
    switch (mode) {
    case 4:
        tables = {&kReduce5Bit, nullptr, &kReduce4Bit};
        redShift = 9, greenShift = 4;
        break;
    case 5:
        tables = {&kReduce4Bit, nullptr, nullptr};
        redShift = 10, greenShift = 5;
        break;
    case 7:
        tables = {&kReduce5Bit, &kReduce6Bit, nullptr};
        redShift = 11, greenShift = 5;
        break;
    default:
        return PackAvx2(mode, in, out, count);
    }
    const ZmmTable red = LoadTable(*tables.red);
    const ZmmTable green = LoadTable(tables.green ? *tables.green : *tables.red);
    const ZmmTable blue = LoadTable(tables.blue ? *tables.blue : *tables.red);
    const __m512i byte = _mm512_set1_epi32(0xFF);
    const __m128i rs = _mm_cvtsi32_si128(redShift), gs = _mm_cvtsi32_si128(8 - greenShift);
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i x =
            LookupChannels(red, tables.green ? &green : nullptr, tables.blue ? &blue : nullptr, _mm512_loadu_si512(in + i));
        const __m512i r = _mm512_sll_epi32(_mm512_and_si512(x, byte), rs);
        const __m512i g = _mm512_srl_epi32(_mm512_and_si512(x, _mm512_set1_epi32(0xFF00)), gs);
        const __m512i b = _mm512_srli_epi32(x, 16);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm512_cvtepi32_epi16(_mm512_ternarylogic_epi32(r, g, b, 0xFE)));
    }
    ScalarTailFollows();
    PackScalar(mode, in + i, out + i, count - i);
}

#endif // QN_COLOUR_AVX2

} // namespace

BulkPath FastestBulkPath()
{
    static const BulkPath fastest = BulkPathAvailable(BulkPath::Avx512Vbmi) ? BulkPath::Avx512Vbmi
                                    : BulkPathAvailable(BulkPath::Avx2)     ? BulkPath::Avx2
                                                                            : BulkPath::Scalar;
    return fastest;
}

const char* BulkPathName(BulkPath path)
{
    switch (path) {
    case BulkPath::Scalar:
        break;
    case BulkPath::Avx2:
        return "avx2";
    case BulkPath::Avx512Vbmi:
        return "avx512vbmi";
    }
    return "scalar";
}

bool BulkPathAvailable(BulkPath path)
{
    switch (path) {
    case BulkPath::Scalar:
        return true;
#ifdef QN_COLOUR_AVX2
    case BulkPath::Avx2:
        return qn::cpu::Detected().avx2;
    case BulkPath::Avx512Vbmi:
        return qn::cpu::Detected().avx2 && qn::cpu::Detected().avx512vbmi;
#else
    case BulkPath::Avx2:
    case BulkPath::Avx512Vbmi:
        return false;
#endif
    }
    return false;
}

void ConvertColors(BulkPath path, int mode, const uint32_t* in, uint32_t* out, size_t count)
{
#ifdef QN_COLOUR_AVX2
    if (path == BulkPath::Avx512Vbmi)
        return ConvertVbmi(mode, in, out, count);
    if (path == BulkPath::Avx2)
        return ConvertAvx2(mode, in, out, count);
#endif
    (void)path;
    ConvertScalar(mode, in, out, count);
}

void PackWords(BulkPath path, int mode, const uint32_t* in, uint16_t* out, size_t count)
{
#ifdef QN_COLOUR_AVX2
    if (path == BulkPath::Avx512Vbmi)
        return PackVbmi(mode, in, out, count);
    if (path == BulkPath::Avx2)
        return PackAvx2(mode, in, out, count);
#endif
    (void)path;
    PackScalar(mode, in, out, count);
}

} // namespace qn::colour
