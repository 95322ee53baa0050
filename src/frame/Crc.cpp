// CRC-64/WE: the ECMA-182 polynomial, most significant bit first, register
// preset to all ones and inverted at the end. The register steps run in
// frame/Crc64.cpp (table loops) and frame/Crc64Fold.cpp (folding paths).
#include <QNUtilityClass.h>

#include "frame/Crc64.h"

void CQNUtility::Compute64CRC(__int64& crc, const void* data, int count)
{
    if (count <= 0)
        return;
    crc = static_cast<__int64>(qn::crc::Update(static_cast<uint64_t>(crc), static_cast<const unsigned char*>(data),
                                             static_cast<size_t>(count)));
}

__int64 CQNUtility::GenerateCRC(const void* data, int count)
{
    if (count <= 0)
        return 0;
    __int64 crc = static_cast<__int64>(~0ull);
    Compute64CRC(crc, data, count);
    return static_cast<__int64>(~static_cast<uint64_t>(crc));
}
