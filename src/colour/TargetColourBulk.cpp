// Bulk colour conversion and packing: the exported buffer functions, a
// portable loop over the per-colour conversions, an AVX2 loop (x64) that does
// eight colours per step (channel tables by vector gathers, grey levels by
// vector max/min and integer arithmetic, the transparent flag by a blend), and
// for the channel-table modes an AVX-512 VBMI loop of 16 colours per step.
#include "TargetColourBulk.h"
#include "TargetColourFast.h"
#include "frame/CpuFeatures.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define QN_COLOUR_AVX2 1
// GCC 12's AVX-512 intrinsics start from deliberately undefined registers
// (_mm512_undefined_*), which its flow analysis reports as uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif

namespace qncolour {
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
        x = Gather(kShown16384, ch);
    } else if constexpr (Mode == 5) {
        x = Gather(kShown4096, ch);
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
        return Gather(kWordBL2R5G5B4, ch);
    } else if constexpr (Mode == 5) {
        return Gather(kWordBL2R4G4B4, ch);
    } else if constexpr (Mode == 6) {
        // Nearest multiple of 0x11 (ties up): (red + 8) / 17, as (red + 8) * 241 >> 12.
        const __m256i level =
            _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_add_epi32(ch.red, _mm256_set1_epi32(8)), _mm256_set1_epi32(241)), 12);
        return Replicate(_mm256_slli_epi32(level, 2), 0x0101);
    } else if constexpr (Mode == 7) {
        return Gather(kWordR5G6B5, ch);
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
    PackScalar(Mode, in + i, out + i, count - i);
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
        return PackAvx2Mode<7>(in, out, count);
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
        return qncpu::Detected().avx2;
    case BulkPath::Avx512Vbmi:
        return qncpu::Detected().avx2 && qncpu::Detected().avx512vbmi;
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

} // namespace qncolour
