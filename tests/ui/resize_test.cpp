// Proportional resize about the centre: the arithmetic and its rounding.
#include <QNUtilityClass.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ResizeCase {
    bool width; // ResizePorportional_Width, else _Height
    double newOther, width_, height, start;
    double newStart, newEnd;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const ResizeCase kCases[] = {
    {true, 50, 200, 100, 10, 60, 160},
    {false, 100, 200, 100, 0, 25, 75},
    {true, 100, 100, 100, 0, 0, 100},       // same size: unchanged
    {true, 5, 1, 1, -0.5, -3, 2},           // start -2.5 rounds to -3, the end follows the rounded start
    {true, 1, 1, 1, 2.5, 3, 4},             // start 2.5 rounds to 3
    {true, 2.5, 1, 1, 0, -1, 2},            // start -0.75; end 2.5 + -1 = 1.5 rounds to 2
    {true, 0.5, 1, 1, -3, -3, -3},          // start -2.75; end -2.5 rounds to -3
    {false, 3, 2, 4, 1, 0, 6},              // height / width * new width
    {true, 1e10, 1, 1, 0, -2147483648.0, -2147483648.0}, // beyond 32 bits
    {true, kNaN, 1, 1, 0, -2147483648.0, -2147483648.0},
};

TEST(Resize, CentredProportionalStartAndEnd)
{
    for (const ResizeCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << (c.width ? "width " : "height ") << c.newOther << " " << c.width_ << " "
                                        << c.height << " " << c.start);
        double start = 1234, end = 1234;
        const int ok = c.width ? CQNUtility::ResizePorportional_Width(c.newOther, c.width_, c.height, c.start, &start, &end)
                               : CQNUtility::ResizePorportional_Height(c.newOther, c.width_, c.height, c.start, &start,
                                                                      &end);
        EXPECT_EQ(ok, 1);
        EXPECT_EQ(start, c.newStart);
        EXPECT_EQ(end, c.newEnd);
    }
    double value = 7;
    EXPECT_EQ(CQNUtility::ResizePorportional_Width(1, 1, 1, 0, nullptr, &value), 0);
    EXPECT_EQ(CQNUtility::ResizePorportional_Height(1, 1, 1, 0, &value, nullptr), 0);
    EXPECT_EQ(value, 7);
}

} // namespace
