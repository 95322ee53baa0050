// Run-time detection of the instruction set extensions: CPUID for what the
// processor has, XGETBV for the register state the OS saves.
#include "common/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <cstdint>

namespace qn::cpu {
namespace {

#if defined(__x86_64__) || defined(__i386__)
// XCR0: the register state components the OS saves and restores.
uint64_t ReadXcr0()
{
    uint32_t eax = 0, edx = 0;
    __asm__ volatile("xgetbv" : "=a"(eax), "=d"(edx) : "c"(0));
    return (uint64_t(edx) << 32) | eax;
}

Features Detect()
{
    Features f;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return f;
    const bool ssse3 = (ecx & bit_SSSE3) != 0;
    const bool sse41 = (ecx & bit_SSE4_1) != 0;
    const bool pclmul = (ecx & bit_PCLMUL) != 0;
    const bool osxsave = (ecx & bit_OSXSAVE) != 0;
    f.clmul = pclmul && ssse3 && sse41;
    if (!osxsave || !__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx))
        return f;
    const uint64_t xcr0 = ReadXcr0();
    constexpr uint64_t kXmmYmm = 0x6; // SSE and AVX state
    constexpr uint64_t kZmm = 0xE6; // plus opmask, upper ZMM0-15 and ZMM16-31
    f.avx2 = (ebx & bit_AVX2) != 0 && (xcr0 & kXmmYmm) == kXmmYmm;
    f.avx512 = (ebx & bit_AVX512F) && (ebx & bit_AVX512BW) && (ebx & bit_AVX512VL) && (xcr0 & kZmm) == kZmm;
    f.vpclmul = f.avx512 && f.clmul && (ecx & bit_VPCLMULQDQ) != 0;
    f.avx512vbmi = f.avx512 && (ecx & bit_AVX512VBMI) != 0;
    return f;
}
#else
Features Detect() { return {}; }
#endif

} // namespace

const Features& Detected()
{
    static const Features features = Detect();
    return features;
}

} // namespace qn::cpu
