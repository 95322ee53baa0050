// CRect: the system's rectangle rules, on both builds.
#include <afx/atltypes.h>

#include <gtest/gtest.h>

namespace {

TEST(CRectTest, IntersectAndUnion)
{
    const struct { const char* name; CRect a, b; BOOL intersects; CRect intersection; BOOL unites; CRect unionRect; } cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, TRUE, {5, 5, 10, 10}, TRUE, {0, 0, 20, 20}},
        {"touching edges share nothing", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {}, TRUE, {0, 0, 20, 10}},
        {"disjoint", {0, 0, 2, 2}, {5, 5, 6, 6}, FALSE, {}, TRUE, {0, 0, 6, 6}},
        {"one empty: union is the other", {3, 3, 3, 9}, {1, 1, 4, 4}, FALSE, {}, TRUE, {1, 1, 4, 4}},
        {"inverted counts as empty", {9, 9, 1, 1}, {0, 0, 5, 5}, FALSE, {}, TRUE, {0, 0, 5, 5}},
        {"both empty", {0, 0, 0, 0}, {4, 4, 4, 8}, FALSE, {}, FALSE, {}},
        {"contained", {0, 0, 100, 50}, {10, 10, 20, 20}, TRUE, {10, 10, 20, 20}, TRUE, {0, 0, 100, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRect r(-7, -7, -7, -7), u(-7, -7, -7, -7);
        EXPECT_EQ(c.intersects, r.IntersectRect(&c.a, &c.b));
        EXPECT_EQ(c.intersection, r);
        EXPECT_EQ(c.intersection, c.a & c.b);
        EXPECT_EQ(c.unites, u.UnionRect(&c.a, &c.b));
        EXPECT_EQ(c.unionRect, u);
        EXPECT_EQ(c.unionRect, c.a | c.b);
    }
    const CRect r(10, 20, 30, 40);
    const struct {
        CPoint point;
        BOOL inside;
    } points[] = {{{10, 20}, TRUE}, {{29, 39}, TRUE}, {{30, 20}, FALSE}, {{10, 40}, FALSE}, {{9, 25}, FALSE}, {{15, 19}, FALSE}};
    for (const auto& p : points)
        EXPECT_EQ(p.inside, r.PtInRect(p.point)) << p.point.x << "," << p.point.y;
    EXPECT_FALSE(CRect(5, 5, 5, 9).PtInRect(CPoint(5, 5))); // an empty rectangle holds no point
    CRect inverted(30, 40, 10, 20);
    inverted.NormalizeRect();
    EXPECT_EQ(CRect(10, 20, 30, 40), inverted);
    EXPECT_EQ(CPoint(-2, -2), CRect(-5, -5, 0, 0).CenterPoint()); // halves toward zero
}

} // namespace
