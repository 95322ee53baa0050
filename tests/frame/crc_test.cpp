// CRC-64/WE of GenerateCRC and the register steps of Compute64CRC.
#include <QNUtilityClass.h>
#include <frame/Crc64.h>
#include <support/UtilityAccess.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#ifdef QN_TEST_WITH_ISAL
#include <isa-l/crc64.h>
#endif

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

// Every register-step path against the byte-at-a-time table loop.
class Crc64Paths : public ::testing::Test {
protected:
    static constexpr size_t kMaxLength = 4096;
    static constexpr size_t kAlignments = 64;

    void SetUp() override
    {
        std::mt19937 random(11);
        for (unsigned char& byte : message)
            byte = static_cast<unsigned char>(random());
    }

    // A register preset that differs with the length, so that a path which
    // drops or misplaces the preset cannot pass.
    static uint64_t Preset(size_t length) { return ~0ull ^ (length * 0x9E3779B97F4A7C15ull); }

    std::vector<unsigned char> message = std::vector<unsigned char>(kMaxLength);
    alignas(64) unsigned char buffer[kMaxLength + kAlignments + 64] = {};
};

TEST_F(Crc64Paths, EveryLengthAtEveryAlignment)
{
    std::vector<uint64_t> expected(kMaxLength + 1);
    for (size_t length = 0; length <= kMaxLength; ++length)
        expected[length] = qncrc::UpdateTable(Preset(length), message.data(), length);
    for (qncrc::Path path : qncrc::kPaths) {
        if (path == qncrc::Path::Table || !qncrc::PathAvailable(path))
            continue;
        for (size_t alignment = 0; alignment < kAlignments; ++alignment) {
            // Bytes around the message that a path must not read into the result.
            std::memset(buffer, 0xA5, sizeof buffer);
            std::memcpy(buffer + alignment, message.data(), kMaxLength);
            for (size_t length = 0; length <= kMaxLength; ++length) {
                const uint64_t got = qncrc::Update(path, Preset(length), buffer + alignment, length);
                if (got != expected[length]) {
                    ADD_FAILURE() << qncrc::PathName(path) << ": length " << length << " at alignment " << alignment;
                    break;
                }
            }
        }
    }
}

TEST_F(Crc64Paths, RandomSplitsChainExactly)
{
    std::mt19937 random(2026);
    for (int trial = 0; trial < 400; ++trial) {
        const size_t length = random() % (kMaxLength + 1);
        size_t cuts[2] = {random() % (length + 1), random() % (length + 1)};
        std::sort(cuts, cuts + 2);
        const uint64_t whole = qncrc::UpdateTable(Preset(length), message.data(), length);
        for (qncrc::Path path : qncrc::kPaths) {
            if (!qncrc::PathAvailable(path))
                continue;
            uint64_t reg = qncrc::Update(path, Preset(length), message.data(), cuts[0]);
            reg = qncrc::Update(path, reg, message.data() + cuts[0], cuts[1] - cuts[0]);
            reg = qncrc::Update(path, reg, message.data() + cuts[1], length - cuts[1]);
            EXPECT_EQ(reg, whole) << qncrc::PathName(path) << ": " << length << " split at " << cuts[0] << ", "
                                  << cuts[1];
        }
    }
}

TEST_F(Crc64Paths, Compute64CRCEverySplit)
{
    const int length = 700;
    const uint64_t whole = qncrc::UpdateTable(~0ull, message.data(), length);
    EXPECT_TRUE(qncrc::PathAvailable(qncrc::FastestPath()));
    for (int split = 0; split <= length; ++split) {
        __int64 crc = static_cast<__int64>(~0ull);
        CQNUtilityTestAccess::Compute64CRC(crc, message.data(), split);
        CQNUtilityTestAccess::Compute64CRC(crc, message.data() + split, length - split);
        ASSERT_EQ(static_cast<uint64_t>(crc), whole) << "split at " << split;
    }
}

#ifdef QN_TEST_WITH_ISAL
// An independent implementation: ISA-L's CRC-64 (ECMA-182, not reflected) with
// seed 0 is CRC-64/WE.
TEST_F(Crc64Paths, AgreesWithIsal)
{
    for (size_t alignment : {0, 1, 7, 33}) {
        std::memcpy(buffer + alignment, message.data(), kMaxLength);
        for (size_t length = 0; length <= kMaxLength; ++length) {
            const uint64_t ours = static_cast<uint64_t>(CQNUtility::GenerateCRC(buffer + alignment, int(length)));
            ASSERT_EQ(ours, crc64_ecma_norm(0, buffer + alignment, length)) << length << " at " << alignment;
        }
    }
}
#endif

} // namespace
