// The CRC-64/WE engine behind GenerateCRC and Compute64CRC: one register step
// over a buffer, with no preset and no final inversion, so that calls chain
// exactly however the data is split.
//
// Every path gives the same register for the same input; the dispatcher picks
// the fastest one the processor and the OS allow. Each path is callable here so
// that the tests can hold all of them to the byte-at-a-time table loop.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace qn::crc {

enum class Path {
    Table, // one 256-entry table step per byte: the reference
    Slice8, // eight tables, eight bytes per step: the portable fallback
    Clmul, // PCLMULQDQ folding of 128-bit lanes (x64)
    Vpclmul, // VPCLMULQDQ on 512-bit registers, four lanes per instruction (x64)
};
inline constexpr Path kPaths[] = {Path::Table, Path::Slice8, Path::Clmul, Path::Vpclmul};

const char* PathName(Path path);
// True when this build has the path and this processor and OS can run it.
bool PathAvailable(Path path);
// The path Update uses.
Path FastestPath();

// The register after `size` bytes at `data`, by the given path (which must be
// available).
uint64_t Update(Path path, uint64_t reg, const unsigned char* data, size_t size);
// The same by the fastest path (chosen on the first call: short buffers cost
// one indirect call, not a guarded static and a switch).
using UpdateFunction = uint64_t (*)(uint64_t reg, const unsigned char* data, size_t size);
extern std::atomic<UpdateFunction> g_fastestUpdate;
inline uint64_t Update(uint64_t reg, const unsigned char* data, size_t size)
{
    return g_fastestUpdate.load(std::memory_order_relaxed)(reg, data, size);
}

// The paths themselves.
uint64_t UpdateTable(uint64_t reg, const unsigned char* data, size_t size);
uint64_t UpdateSlice8(uint64_t reg, const unsigned char* data, size_t size);
#if defined(__x86_64__)
#define QN_CRC64_FOLDING 1
uint64_t UpdateClmul(uint64_t reg, const unsigned char* data, size_t size);
uint64_t UpdateVpclmul(uint64_t reg, const unsigned char* data, size_t size);
#endif

} // namespace qn::crc
