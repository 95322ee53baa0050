// CRC-64/WE by carry-less multiplication (x64 only).
//
// The register of a most-significant-bit-first CRC is M(x) * x^64 mod P(x), M
// being the message with its first bit as the highest power. Sixteen bytes,
// byte-reversed into an XMM register, are that polynomial for a 128-bit block,
// and the register preset is XORed into the first eight bytes.
//
// Folding: an accumulator A = H * x^64 + L standing for the data so far, moved
// D bits further by the data that follows, is congruent to
//     H * (x^(D+64) mod P) + L * (x^D mod P),
// two 64 x 64-bit carry-less products, each below x^127: the accumulator never
// grows. Several accumulators run side by side (4 XMM lanes, or 4 ZMM
// registers of 4 lanes each) to hide the multiplier's latency, then fold into
// one. A tail of 1 to 15 bytes is folded by shifting the accumulator with a
// byte shuffle. The last step, A * x^64 mod P, is one fold and a Barrett
// reduction with mu = floor(x^128 / P).
//
// The constants are computed below at compile time from the polynomial.
#include "frame/Crc64.h"

#ifdef QN_CRC64_FOLDING

#include <immintrin.h>

// GCC 12's AVX-512 intrinsics start from deliberately undefined registers
// (_mm512_undefined_*), which its flow analysis reports as uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace qn::crc {
namespace {

constexpr uint64_t kPolynomial = 0x42F0E1EBA9EA3693ull; // P(x) without its x^64 term

// x^n mod P.
constexpr uint64_t XPowModP(unsigned n)
{
    uint64_t r = 1;
    for (unsigned i = 0; i < n; ++i)
        r = (r << 1) ^ ((r >> 63) ? kPolynomial : 0);
    return r;
}

// floor(x^128 / P) without its x^64 term, by long division: the remainder
// register runs like the CRC itself, and each bit that leaves it is a bit of
// the quotient.
constexpr uint64_t BarrettMu()
{
    // Dividing x^128: after x^64 / P the remainder is kPolynomial; each of the
    // remaining 64 quotient bits is the top bit of the remainder before a step.
    uint64_t remainder = kPolynomial;
    uint64_t quotient = 0;
    for (int i = 0; i < 64; ++i) {
        const uint64_t top = remainder >> 63;
        quotient = (quotient << 1) | top;
        remainder = (remainder << 1) ^ (top ? kPolynomial : 0);
    }
    return quotient;
}

constexpr uint64_t kMu = BarrettMu();
// Checked independently: mu * P must equal x^128 + (a remainder below x^64).
constexpr bool CheckMu()
{
    // (x^64 + mu) * (x^64 + p) = x^128 + (mu ^ p) x^64 + mu * p; the bits of
    // mu * p above x^63 must cancel (mu ^ p).
    uint64_t high = 0; // bits 64..127 of mu * p
    for (int i = 0; i < 64; ++i) {
        if ((kMu >> i) & 1)
            high ^= i ? (kPolynomial >> (64 - i)) : 0;
    }
    return (high ^ kMu ^ kPolynomial) == 0;
}
static_assert(CheckMu(), "Barrett constant");
static_assert(XPowModP(64) == kPolynomial, "x^64 mod P");

// The fold pairs: {x^D mod P, x^(D+64) mod P} for a fold over D bits.
struct FoldConstants {
    uint64_t low;
    uint64_t high;
};
constexpr FoldConstants Fold(unsigned bits) { return {XPowModP(bits), XPowModP(bits + 64)}; }
constexpr FoldConstants kFold0 = Fold(0); // {1, x^64 mod P}: congruent, not moved
constexpr FoldConstants kFold128 = Fold(128); // next 16 bytes
constexpr FoldConstants kFold256 = Fold(256);
constexpr FoldConstants kFold384 = Fold(384);
constexpr FoldConstants kFold512 = Fold(512); // next 64 bytes
constexpr FoldConstants kFold1024 = Fold(1024);
constexpr FoldConstants kFold1536 = Fold(1536);
constexpr FoldConstants kFold2048 = Fold(2048); // next 256 bytes

#define QN_TARGET_CLMUL __attribute__((target("pclmul,ssse3,sse4.1")))
#define QN_TARGET_VPCLMUL __attribute__((target("pclmul,ssse3,sse4.1,avx2,avx512f,avx512bw,avx512vl,vpclmulqdq")))

// Byte shuffles: reversal of 16 bytes, and a window for shifts by 1-15 bytes.
alignas(16) constexpr unsigned char kReverse[16] = {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
alignas(16) constexpr unsigned char kShiftWindow[48] = {
    0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,
    0,    1,    2,    3,    4,    5,    6,    7,    8,    9,    10,   11,   12,   13,   14,   15,
    0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
alignas(16) constexpr unsigned char kLowBytes[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0,    0,
                                                    0,    0,    0,    0,    0,    0,    0,    0,    0,    0};

QN_TARGET_CLMUL inline __m128i Pair(FoldConstants k)
{
    return _mm_set_epi64x(static_cast<long long>(k.high), static_cast<long long>(k.low));
}

QN_TARGET_CLMUL inline __m128i Load(const unsigned char* p, __m128i reverse)
{
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), reverse);
}

// acc moved over the bits that k stands for.
QN_TARGET_CLMUL inline __m128i Moved(__m128i acc, __m128i k)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(acc, k, 0x00), _mm_clmulepi64_si128(acc, k, 0x11));
}

// acc moved over the next block, plus that block.
QN_TARGET_CLMUL inline __m128i Fold(__m128i acc, __m128i k, __m128i next) { return _mm_xor_si128(Moved(acc, k), next); }

// Accumulator plus 16-byte blocks, tail and reduction: the common end of both
// folding paths. `size` >= 16 bytes have been folded into acc already or are
// at hand, so the 16 bytes before the end of the data are readable.
QN_TARGET_CLMUL inline uint64_t Finish(__m128i acc, const unsigned char* p, size_t size)
{
    const __m128i reverse = _mm_load_si128(reinterpret_cast<const __m128i*>(kReverse));
    const __m128i k128 = Pair(kFold128);
    while (size >= 16) {
        acc = Fold(acc, k128, Load(p, reverse));
        p += 16;
        size -= 16;
    }
    if (size > 0) {
        // acc * x^(8 size) + tail = (acc's top `size` bytes) * x^128 + (acc << 8 size | tail).
        const __m128i up = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kShiftWindow + 16 - size));
        const __m128i down = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kShiftWindow + 32 - size));
        const __m128i keep = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLowBytes + 16 - size));
        const __m128i tail = _mm_and_si128(Load(p + size - 16, reverse), keep);
        acc = Fold(_mm_shuffle_epi8(acc, down), k128, _mm_xor_si128(_mm_shuffle_epi8(acc, up), tail));
    }
    // T = acc * x^64 mod P, as high * (x^128 mod P) + low * x^64: below x^128.
    const __m128i t = _mm_xor_si128(_mm_clmulepi64_si128(acc, _mm_cvtsi64_si128(static_cast<long long>(kFold128.low)), 0x01),
                                    _mm_slli_si128(acc, 8));
    // Barrett: q = floor(T_high * x^64 / P), remainder = low 64 bits of q * P + T_low.
    const __m128i consts = _mm_set_epi64x(static_cast<long long>(kPolynomial), static_cast<long long>(kMu));
    const __m128i tHigh = _mm_srli_si128(t, 8);
    const __m128i q = _mm_xor_si128(_mm_srli_si128(_mm_clmulepi64_si128(tHigh, consts, 0x00), 8), tHigh);
    const __m128i r = _mm_xor_si128(_mm_clmulepi64_si128(q, consts, 0x10), t);
    return static_cast<uint64_t>(_mm_cvtsi128_si64(r));
}

// Four accumulators of consecutive 16-byte lanes into one:
// x0 x^384 + x1 x^256 + x2 x^128 + x3, by three independent folds.
QN_TARGET_CLMUL inline __m128i CombineFour(__m128i x0, __m128i x1, __m128i x2, __m128i x3)
{
    return _mm_xor_si128(Fold(x0, Pair(kFold384), x3), Fold(x1, Pair(kFold256), Moved(x2, Pair(kFold128))));
}

// Below 256 bytes both folding paths run this: four XMM lanes from 64 bytes.
QN_TARGET_CLMUL inline uint64_t FoldXmm(uint64_t reg, const unsigned char* p, size_t size)
{
    if (size < 16)
        return UpdateSlice8(reg, p, size);
    const __m128i reverse = _mm_load_si128(reinterpret_cast<const __m128i*>(kReverse));
    const __m128i preset = _mm_set_epi64x(static_cast<long long>(reg), 0);
    __m128i acc;
    if (size >= 64) {
        __m128i x0 = _mm_xor_si128(Load(p, reverse), preset);
        __m128i x1 = Load(p + 16, reverse);
        __m128i x2 = Load(p + 32, reverse);
        __m128i x3 = Load(p + 48, reverse);
        p += 64;
        size -= 64;
        const __m128i k512 = Pair(kFold512);
        while (size >= 64) {
            x0 = Fold(x0, k512, Load(p, reverse));
            x1 = Fold(x1, k512, Load(p + 16, reverse));
            x2 = Fold(x2, k512, Load(p + 32, reverse));
            x3 = Fold(x3, k512, Load(p + 48, reverse));
            p += 64;
            size -= 64;
        }
        acc = CombineFour(x0, x1, x2, x3);
    } else {
        acc = _mm_xor_si128(Load(p, reverse), preset);
        p += 16;
        size -= 16;
    }
    return Finish(acc, p, size);
}

} // namespace

QN_TARGET_CLMUL uint64_t UpdateClmul(uint64_t reg, const unsigned char* p, size_t size)
{
    return FoldXmm(reg, p, size);
}

namespace {

QN_TARGET_VPCLMUL inline __m512i Load512(const unsigned char* p, __m512i reverse)
{
    return _mm512_shuffle_epi8(_mm512_loadu_si512(p), reverse);
}

QN_TARGET_VPCLMUL inline __m512i Moved512(__m512i acc, __m512i k)
{
    return _mm512_xor_si512(_mm512_clmulepi64_epi128(acc, k, 0x00), _mm512_clmulepi64_epi128(acc, k, 0x11));
}

QN_TARGET_VPCLMUL inline __m512i Fold512(__m512i acc, __m512i k, __m512i next)
{
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(acc, k, 0x00), _mm512_clmulepi64_epi128(acc, k, 0x11),
                                     next, 0x96);
}

// Per lane {low, high}.
QN_TARGET_VPCLMUL inline __m512i Lanes512(FoldConstants k0, FoldConstants k1, FoldConstants k2, FoldConstants k3)
{
    return _mm512_set_epi64(static_cast<long long>(k3.high), static_cast<long long>(k3.low),
                            static_cast<long long>(k2.high), static_cast<long long>(k2.low),
                            static_cast<long long>(k1.high), static_cast<long long>(k1.low),
                            static_cast<long long>(k0.high), static_cast<long long>(k0.low));
}
QN_TARGET_VPCLMUL inline __m512i Pair512(FoldConstants k) { return Lanes512(k, k, k, k); }

} // namespace

QN_TARGET_VPCLMUL uint64_t UpdateVpclmul(uint64_t reg, const unsigned char* p, size_t size)
{
    if (size < 256)
        return FoldXmm(reg, p, size);
    constexpr FoldConstants kReverseLane = {0x08090A0B0C0D0E0Full, 0x0001020304050607ull}; // kReverse
    const __m512i reverse = Pair512(kReverseLane);
    const __m512i preset = _mm512_set_epi64(0, 0, 0, 0, 0, 0, static_cast<long long>(reg), 0);
    __m512i z0 = _mm512_xor_si512(Load512(p, reverse), preset);
    __m512i z1 = Load512(p + 64, reverse);
    __m512i z2 = Load512(p + 128, reverse);
    __m512i z3 = Load512(p + 192, reverse);
    p += 256;
    size -= 256;
    const __m512i k2048 = Pair512(kFold2048);
    while (size >= 256) {
        z0 = Fold512(z0, k2048, Load512(p, reverse));
        z1 = Fold512(z1, k2048, Load512(p + 64, reverse));
        z2 = Fold512(z2, k2048, Load512(p + 128, reverse));
        z3 = Fold512(z3, k2048, Load512(p + 192, reverse));
        p += 256;
        size -= 256;
    }
    // z0 x^1536 + z1 x^1024 + z2 x^512 + z3: three independent folds.
    const __m512i k512 = Pair512(kFold512);
    __m512i z = _mm512_ternarylogic_epi64(Fold512(z0, Pair512(kFold1536), z3), Moved512(z1, Pair512(kFold1024)),
                                          Moved512(z2, k512), 0x96);
    while (size >= 64) {
        z = Fold512(z, k512, Load512(p, reverse));
        p += 64;
        size -= 64;
    }
    // Its four lanes moved to the last one's place in one multiplication each
    // way (lane 3 by x^0: {1, x^64 mod P} keeps it congruent), then summed.
    const __m512i moved = Moved512(z, Lanes512(kFold384, kFold256, kFold128, kFold0));
    const __m256i half = _mm256_xor_si256(_mm512_castsi512_si256(moved), _mm512_extracti64x4_epi64(moved, 1));
    const __m128i acc = _mm_xor_si128(_mm256_castsi256_si128(half), _mm256_extracti128_si256(half, 1));
    return Finish(acc, p, size);
}

} // namespace qn::crc

#endif // QN_CRC64_FOLDING
