// Every colour through every target mode's kernel: the per-colour conversions
// and encodings and every bulk path this machine runs equal the plain model,
// for all 2^24 colours with varied attribute and other high bits. Built optimised
// and without the sanitizers as its own program (the unit tests sweep a small
// set at every alignment instead).
#include "colour/TargetColourSweep.h"

#include <gtest/gtest.h>

TEST(TargetColour, EveryColourEveryPath)
{
    constexpr uint32_t kChunk = 1 << 14;
    qntest::Sweeper sweeper(kChunk);
    std::vector<uint32_t> in(kChunk);
    for (uint32_t start = 0; start < 0x1000000; start += kChunk) {
        for (uint32_t i = 0; i < kChunk; ++i) // high bits vary, the transparent flag stays clear
            in[i] = (start + i) | (((start + i) * 0x9E3779B9u) & 0xF7000000u);
        // One mode per kernel: the other modes share these kernels (2 and 8,
        // 6 and 9, 11 and 12) or copy, and the unit tests hold them to these.
        sweeper.Run(in.data(), kChunk, false, 0, false, {0, 1, 2, 4, 5, 6, 7, 11});
    }
    EXPECT_EQ(0u, sweeper.failures) << "first: colour 0x" << std::hex << sweeper.firstColour << std::dec
                                    << ", mode " << sweeper.firstMode << " (" << sweeper.firstWhere << ")";
}
