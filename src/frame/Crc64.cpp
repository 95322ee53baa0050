// CRC-64/WE tables, the table loops and the choice of path.
#include "frame/Crc64.h"

#include "common/CpuFeatures.h"

#include <array>
#include <atomic>

namespace qn::crc {
namespace {

constexpr uint64_t kPolynomial = 0x42F0E1EBA9EA3693ull;

// kTables[0][b]: the register step for byte b; kTables[k][b]: the same byte
// followed by k zero bytes, which slicing-by-8 combines eight at a time.
using Tables = std::array<std::array<uint64_t, 256>, 8>;
constexpr Tables MakeTables()
{
    Tables t{};
    for (uint64_t i = 0; i < 256; ++i) {
        uint64_t crc = i << 56;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000000000000000ull) ? (crc << 1) ^ kPolynomial : crc << 1;
        t[0][i] = crc;
    }
    for (size_t k = 1; k < 8; ++k) {
        for (size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 56];
    }
    return t;
}
constexpr Tables kTables = MakeTables();
static_assert(kTables[0][1] == kPolynomial, "table entry 1 is the polynomial");

inline uint64_t LoadBigEndian64(const unsigned char* p)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

} // namespace

uint64_t UpdateTable(uint64_t reg, const unsigned char* data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        reg = kTables[0][(reg >> 56) ^ data[i]] ^ (reg << 8);
    return reg;
}

uint64_t UpdateSlice8(uint64_t reg, const unsigned char* data, size_t size)
{
    while (size >= 8) {
        const uint64_t x = reg ^ LoadBigEndian64(data);
        reg = kTables[7][x >> 56] ^ kTables[6][(x >> 48) & 0xFF] ^ kTables[5][(x >> 40) & 0xFF] ^
              kTables[4][(x >> 32) & 0xFF] ^ kTables[3][(x >> 24) & 0xFF] ^ kTables[2][(x >> 16) & 0xFF] ^
              kTables[1][(x >> 8) & 0xFF] ^ kTables[0][x & 0xFF];
        data += 8;
        size -= 8;
    }
    return UpdateTable(reg, data, size);
}

const char* PathName(Path path)
{
    switch (path) {
    case Path::Table:
        return "table";
    case Path::Slice8:
        return "slice8";
    case Path::Clmul:
        return "clmul";
    case Path::Vpclmul:
        return "vpclmul";
    }
    return "?";
}

bool PathAvailable(Path path)
{
    switch (path) {
    case Path::Table:
    case Path::Slice8:
        return true;
#ifdef QN_CRC64_FOLDING
    case Path::Clmul:
        return qn::cpu::Detected().clmul;
    case Path::Vpclmul:
        return qn::cpu::Detected().vpclmul;
#else
    case Path::Clmul:
    case Path::Vpclmul:
        return false;
#endif
    }
    return false;
}

Path FastestPath()
{
    static const Path fastest = PathAvailable(Path::Vpclmul) ? Path::Vpclmul
                                : PathAvailable(Path::Clmul) ? Path::Clmul
                                                             : Path::Slice8;
    return fastest;
}

uint64_t Update(Path path, uint64_t reg, const unsigned char* data, size_t size)
{
    switch (path) {
    case Path::Table:
        return UpdateTable(reg, data, size);
    case Path::Slice8:
        break;
#ifdef QN_CRC64_FOLDING
    case Path::Clmul:
        return UpdateClmul(reg, data, size);
    case Path::Vpclmul:
        return UpdateVpclmul(reg, data, size);
#else
    case Path::Clmul:
    case Path::Vpclmul:
        break;
#endif
    }
    return UpdateSlice8(reg, data, size);
}

namespace {

uint64_t ChooseAndUpdate(uint64_t reg, const unsigned char* data, size_t size)
{
    UpdateFunction fastest = UpdateSlice8;
#ifdef QN_CRC64_FOLDING
    if (FastestPath() == Path::Vpclmul)
        fastest = UpdateVpclmul;
    else if (FastestPath() == Path::Clmul)
        fastest = UpdateClmul;
#endif
    // Every thread that races the first call stores the same value.
    g_fastestUpdate.store(fastest, std::memory_order_relaxed);
    return fastest(reg, data, size);
}

} // namespace

std::atomic<UpdateFunction> g_fastestUpdate{ChooseAndUpdate};

} // namespace qn::crc
