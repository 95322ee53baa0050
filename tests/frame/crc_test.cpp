// CRC-64/WE: the check values of GenerateCRC and Compute64CRC, then every
// register-step path held to the byte-at-a-time table loop for every length
// 0-4096 at every alignment 0-63 and at random split points (natively also to
// ISA-L's CRC-64, an independent implementation).
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

TEST(Crc64, CheckValues)
{
    const std::pair<std::string, uint64_t> cases[] = {
        {"123456789", 0x62EC59E3F1A4F00Aull}, {"abc", 0x048B813AF9F49702ull}, // the catalogue check values
        {"a", 0xCE73F427ACC0A99Aull}, // computed bit by bit, independently of the table
        {"The quick brown fox jumps over the lazy dog", 0xBCD8BB366D256116ull}, {"", 0}};
    for (const auto& [text, crc] : cases)
        EXPECT_EQ(static_cast<uint64_t>(CQNUtility::GenerateCRC(text.data(), int(text.size()))), crc) << text;
    for (int count : {0, -1, -1000}) { // no bytes: 0, and the register stays
        EXPECT_EQ(CQNUtility::GenerateCRC(count ? "123456789" : nullptr, count), 0) << count;
        __int64 reg = count ? 0x1234567890ABCDEFll : 0;
        CQNUtilityTestAccess::Compute64CRC(reg, "123456789", count ? count : 9); // from 0: the steps alone
        EXPECT_EQ(static_cast<uint64_t>(reg), count ? 0x1234567890ABCDEFull : 0x6C40DF5F0B497347ull) << count;
    }
}

// Each path, and Compute64CRC in three pieces, against the table loop over a
// random message; bytes around the message must not reach the result.
TEST(Crc64, EveryPathEveryLengthAlignmentAndSplit)
{
    constexpr size_t kMax = 4096, kAlignments = 64;
    std::mt19937 random(11);
    std::vector<unsigned char> message(kMax);
    for (unsigned char& byte : message)
        byte = static_cast<unsigned char>(random());
    // A preset that differs with the length: a path that drops it cannot pass.
    auto preset = [](size_t length) { return ~0ull ^ (length * 0x9E3779B97F4A7C15ull); };
    std::vector<uint64_t> expected(kMax + 1);
    for (size_t length = 0; length <= kMax; ++length)
        expected[length] = qn::crc::UpdateTable(preset(length), message.data(), length);
    EXPECT_TRUE(qn::crc::PathAvailable(qn::crc::FastestPath()));

    std::vector<unsigned char> buffer(kMax + kAlignments + 64);
    for (qn::crc::Path path : qn::crc::kPaths) {
        if (!qn::crc::PathAvailable(path))
            continue;
        SCOPED_TRACE(qn::crc::PathName(path));
        for (size_t alignment = 0; alignment < kAlignments && path != qn::crc::Path::Table; ++alignment) {
            std::fill(buffer.begin(), buffer.end(), 0xA5);
            std::copy(message.begin(), message.end(), buffer.begin() + alignment);
            for (size_t length = 0; length <= kMax; ++length) {
                if (qn::crc::Update(path, preset(length), buffer.data() + alignment, length) != expected[length]) {
                    ADD_FAILURE() << "length " << length << " at alignment " << alignment;
                    break;
                }
            }
        }
        for (int trial = 0; trial < 400; ++trial) {
            const size_t length = random() % (kMax + 1);
            size_t cuts[2] = {random() % (length + 1), random() % (length + 1)};
            std::sort(cuts, cuts + 2);
            uint64_t reg = qn::crc::Update(path, preset(length), message.data(), cuts[0]);
            reg = qn::crc::Update(path, reg, message.data() + cuts[0], cuts[1] - cuts[0]);
            reg = qn::crc::Update(path, reg, message.data() + cuts[1], length - cuts[1]);
            __int64 crc = static_cast<__int64>(preset(length)); // the dispatched path, through the class
            CQNUtilityTestAccess::Compute64CRC(crc, message.data(), int(cuts[0]));
            CQNUtilityTestAccess::Compute64CRC(crc, message.data() + cuts[0], int(cuts[1] - cuts[0]));
            CQNUtilityTestAccess::Compute64CRC(crc, message.data() + cuts[1], int(length - cuts[1]));
            ASSERT_EQ(reg, expected[length]) << length << " split at " << cuts[0] << ", " << cuts[1];
            ASSERT_EQ(static_cast<uint64_t>(crc), expected[length]) << length << " split at " << cuts[0];
        }
    }
#ifdef QN_TEST_WITH_ISAL
    // ISA-L's CRC-64 (ECMA-182, not reflected) with seed 0 is CRC-64/WE.
    for (size_t alignment : {0, 1, 7, 33}) {
        std::copy(message.begin(), message.end(), buffer.begin() + alignment);
        for (size_t length = 0; length <= kMax; ++length)
            ASSERT_EQ(static_cast<uint64_t>(CQNUtility::GenerateCRC(buffer.data() + alignment, int(length))),
                      crc64_ecma_norm(0, buffer.data() + alignment, length)) << length << " at " << alignment;
    }
#endif
}

} // namespace
