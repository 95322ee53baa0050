// CPoint, CSize and CRect: the system's rectangle rules, on both builds.
#include <afx/atltypes.h>

#include <gtest/gtest.h>

namespace {

::testing::AssertionResult SameRect(const CRect& expected, const CRect& actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << expected.left << "," << expected.top << ")-(" << expected.right
                                         << "," << expected.bottom << ") got (" << actual.left << "," << actual.top
                                         << ")-(" << actual.right << "," << actual.bottom << ")";
}

struct CombineCase {
    const char* name;
    CRect a, b;
    BOOL intersects;
    CRect intersection;
    BOOL unites;
    CRect unionRect;
};

TEST(CRectTest, IntersectAndUnion)
{
    const CombineCase cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, TRUE, {5, 5, 10, 10}, TRUE, {0, 0, 20, 20}},
        {"touching edges share nothing", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {}, TRUE, {0, 0, 20, 10}},
        {"disjoint", {0, 0, 2, 2}, {5, 5, 6, 6}, FALSE, {}, TRUE, {0, 0, 6, 6}},
        {"one empty: union is the other", {3, 3, 3, 9}, {1, 1, 4, 4}, FALSE, {}, TRUE, {1, 1, 4, 4}},
        {"inverted counts as empty", {9, 9, 1, 1}, {0, 0, 5, 5}, FALSE, {}, TRUE, {0, 0, 5, 5}},
        {"both empty", {0, 0, 0, 0}, {4, 4, 4, 8}, FALSE, {}, FALSE, {}},
        {"contained", {0, 0, 100, 50}, {10, 10, 20, 20}, TRUE, {10, 10, 20, 20}, TRUE, {0, 0, 100, 50}},
    };
    for (const CombineCase& c : cases) {
        SCOPED_TRACE(c.name);
        CRect r(-7, -7, -7, -7);
        EXPECT_EQ(c.intersects, r.IntersectRect(&c.a, &c.b));
        EXPECT_TRUE(SameRect(c.intersection, r));
        EXPECT_TRUE(SameRect(c.intersection, c.a & c.b));
        CRect u(-7, -7, -7, -7);
        EXPECT_EQ(c.unites, u.UnionRect(&c.a, &c.b));
        EXPECT_TRUE(SameRect(c.unionRect, u));
        EXPECT_TRUE(SameRect(c.unionRect, c.a | c.b));
    }
}

TEST(CRectTest, PointsOnTheEdges)
{
    const CRect r(10, 20, 30, 40);
    const struct {
        CPoint point;
        BOOL inside;
    } cases[] = {
        {{10, 20}, TRUE},  {{29, 39}, TRUE},  {{30, 20}, FALSE}, {{10, 40}, FALSE},
        {{9, 25}, FALSE},  {{15, 19}, FALSE}, {{20, 30}, TRUE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, r.PtInRect(c.point)) << c.point.x << "," << c.point.y;
    EXPECT_FALSE(CRect(5, 5, 5, 9).PtInRect(CPoint(5, 5))); // an empty rectangle holds no point
}

TEST(CRectTest, Arithmetic)
{
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(20, r.Width());
    EXPECT_EQ(40, r.Height());
    EXPECT_EQ(CSize(20, 40), r.Size());
    EXPECT_EQ(CPoint(20, 40), r.CenterPoint());
    EXPECT_EQ(CPoint(-2, -2), CRect(-5, -5, 0, 0).CenterPoint()); // halves toward zero
    CRect t(r);
    t.InflateRect(3, 2);
    EXPECT_TRUE(SameRect({7, 18, 33, 62}, t));
    t = r;
    t.DeflateRect(1, 2, 3, 4);
    EXPECT_TRUE(SameRect({11, 22, 27, 56}, t));
    t.OffsetRect(CPoint(-11, -22));
    EXPECT_TRUE(SameRect({0, 0, 16, 34}, t));
    t.MoveToXY(5, 6);
    EXPECT_TRUE(SameRect({5, 6, 21, 40}, t));
    EXPECT_TRUE(SameRect({6, 8, 22, 42}, t + CSize(1, 2)));
    EXPECT_TRUE(SameRect({4, 4, 20, 38}, t - CPoint(1, 2)));
    CRect inverted(30, 40, 10, 20);
    EXPECT_TRUE(inverted.IsRectEmpty());
    inverted.NormalizeRect();
    EXPECT_TRUE(SameRect({10, 20, 30, 40}, inverted));
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_FALSE(CRect(0, 0, 0, 1).IsRectNull());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    r.BottomRight() = CPoint(1, 2); // a reference into the rectangle
    EXPECT_TRUE(SameRect({10, 20, 1, 2}, r));
}

TEST(CPointSizeTest, Arithmetic)
{
    CPoint p(3, -4);
    p += CSize(1, 1);
    EXPECT_EQ(CPoint(4, -3), p);
    EXPECT_EQ(CSize(3, -5), p - CPoint(1, 2)); // the distance between two points is a size
    EXPECT_EQ(CPoint(5, -1), p - CSize(-1, -2));
    EXPECT_EQ(CPoint(-4, 3), -p);
    EXPECT_EQ(CSize(7, 9), CSize(3, 4) + CSize(4, 5));
    EXPECT_EQ(CPoint(5, 7), CSize(1, 2) + CPoint(4, 5));
    EXPECT_TRUE(SameRect({1, 2, 11, 12}, CRect(CPoint(1, 2), CSize(10, 10))));
}

} // namespace
