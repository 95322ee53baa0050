// CRC-64/WE of GenerateCRC and the register steps of Compute64CRC.
#include <QNUtilityClass.h>
#include <support/UtilityAccess.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

uint64_t Crc(const std::string& text)
{
    return static_cast<uint64_t>(CQNUtility::GenerateCRC(text.data(), static_cast<int>(text.size())));
}

TEST(GenerateCRC, CheckValues)
{
    struct Case {
        const char* text;
        uint64_t crc;
    };
    const Case cases[] = {
        {"123456789", 0x62EC59E3F1A4F00Aull}, // the catalogue check value of CRC-64/WE
        {"abc", 0x048B813AF9F49702ull},
        {"a", 0xCE73F427ACC0A99Aull}, // computed bit by bit, independently of the table
        {"The quick brown fox jumps over the lazy dog", 0xBCD8BB366D256116ull},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Crc(c.text), c.crc) << c.text;
}

TEST(GenerateCRC, EmptyOrNegativeCountIsZero)
{
    const char data[] = "123456789";
    EXPECT_EQ(CQNUtility::GenerateCRC(data, 0), 0);
    EXPECT_EQ(CQNUtility::GenerateCRC(data, -1), 0);
    EXPECT_EQ(CQNUtility::GenerateCRC(nullptr, 0), 0);
    EXPECT_EQ(CQNUtility::GenerateCRC(nullptr, -5), 0);
}

TEST(GenerateCRC, EveryByteValueMatters)
{
    // A table entry that is wrong shows as a collision between two one-byte inputs.
    std::vector<uint64_t> seen;
    for (int b = 0; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        seen.push_back(static_cast<uint64_t>(CQNUtility::GenerateCRC(&byte, 1)));
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(Compute64CRC, FromZeroRegister)
{
    __int64 crc = 0;
    CQNUtilityTestAccess::Compute64CRC(crc, "123456789", 9);
    EXPECT_EQ(static_cast<uint64_t>(crc), 0x6C40DF5F0B497347ull);
}

TEST(Compute64CRC, EmptyOrNegativeCountLeavesRegister)
{
    for (int count : {0, -1, -1000}) {
        __int64 crc = 0x1234567890ABCDEFll;
        CQNUtilityTestAccess::Compute64CRC(crc, "x", count);
        EXPECT_EQ(crc, 0x1234567890ABCDEFll) << count;
    }
}

TEST(Compute64CRC, PiecesEqualWhole)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += static_cast<char>((i * 131 + 7) & 0xFF);
    const uint64_t whole = Crc(text);
    for (size_t split : {size_t(0), size_t(1), size_t(7), size_t(500), text.size() - 1, text.size()}) {
        __int64 crc = static_cast<__int64>(~0ull);
        CQNUtilityTestAccess::Compute64CRC(crc, text.data(), static_cast<int>(split));
        CQNUtilityTestAccess::Compute64CRC(crc, text.data() + split, static_cast<int>(text.size() - split));
        EXPECT_EQ(static_cast<uint64_t>(crc) ^ ~0ull, whole) << "split at " << split;
    }
}

} // namespace
