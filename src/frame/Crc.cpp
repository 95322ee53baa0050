// CRC-64/WE: the ECMA-182 polynomial, most significant bit first, register
// preset to all ones and inverted at the end.
#include <QNUtilityClass.h>

#include <array>

namespace {

constexpr uint64_t kPolynomial = 0x42F0E1EBA9EA3693ull;

constexpr std::array<uint64_t, 256> MakeTable()
{
    std::array<uint64_t, 256> table{};
    for (uint64_t i = 0; i < 256; ++i) {
        uint64_t crc = i << 56;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000000000000000ull) ? (crc << 1) ^ kPolynomial : crc << 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint64_t, 256> kTable = MakeTable();
static_assert(kTable[1] == kPolynomial, "table entry 1 is the polynomial");

} // namespace

void CQNUtility::Compute64CRC(__int64& crc, const void* data, int count)
{
    if (count <= 0)
        return;
    auto* bytes = static_cast<const unsigned char*>(data);
    uint64_t reg = static_cast<uint64_t>(crc);
    for (int i = 0; i < count; ++i)
        reg = kTable[(reg >> 56) ^ bytes[i]] ^ (reg << 8);
    crc = static_cast<__int64>(reg);
}

__int64 CQNUtility::GenerateCRC(const void* data, int count)
{
    if (count <= 0)
        return 0;
    __int64 crc = static_cast<__int64>(~0ull);
    Compute64CRC(crc, data, count);
    return static_cast<__int64>(~static_cast<uint64_t>(crc));
}
