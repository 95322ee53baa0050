// What the processor and the operating system let this process run: the
// instruction set extensions that the fast paths (CRC folding, bulk colour
// conversion) are chosen by at run time. A wide-register extension counts only
// when the operating system saves those registers across context switches
// (XGETBV), so a path is never picked that the OS would corrupt.
#pragma once

namespace qn::cpu {

struct Features {
    bool clmul = false; // PCLMULQDQ with SSSE3 and SSE4.1
    bool avx2 = false; // AVX2, YMM state saved by the OS
    bool avx512 = false; // AVX-512 F, BW and VL, ZMM and opmask state saved
    bool vpclmul = false; // VPCLMULQDQ, usable with AVX-512
    bool avx512vbmi = false; // AVX-512 VBMI (byte permutes), usable with AVX-512
};

// Detected once, then constant. All false on processors other than x86/x64.
const Features& Detected();

} // namespace qn::cpu
