// The bulk colour conversions behind GetConvertedTargetColors and
// GetIFileColorWords: a portable loop and vector loops (x64), chosen at run
// time. Each is callable here so that the tests can hold every path the
// machine runs to the per-colour functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qn::colour {

// Avx512Vbmi does the channel-table modes (0, 1, 4, 5, 7) with byte permutes
// and hands the others to Avx2.
enum class BulkPath { Scalar, Avx2, Avx512Vbmi };
inline constexpr BulkPath kBulkPaths[] = {BulkPath::Scalar, BulkPath::Avx2, BulkPath::Avx512Vbmi};

const char* BulkPathName(BulkPath path);
bool BulkPathAvailable(BulkPath path);
// The path the exported functions use.
BulkPath FastestBulkPath();

// GetConvertedTargetColor(mode, color) the long way, as the two-argument form
// was written before its straight-line paths: the mode's depth from the depth
// table, then the three-argument form (what the tests hold the fast paths
// to). The benchmarks' reference: it is compiled beside what it calls, so the
// compiler inlines them as it did for that form.
uint32_t ShownByDepthSearch(int mode, uint32_t color);

// out[i] = GetConvertedTargetColor(mode, in[i]); `out` may be `in`.
void ConvertColors(BulkPath path, int mode, const uint32_t* in, uint32_t* out, size_t count);
// out[i] = the low word of GetIFileColor(mode, in[i]).
void PackWords(BulkPath path, int mode, const uint32_t* in, uint16_t* out, size_t count);

} // namespace qn::colour
