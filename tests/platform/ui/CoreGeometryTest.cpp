#include "platform/ui/Geometry.h"
#include "platform/ui/Path.h"
#include "platform/ui/View.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace platform::ui;

namespace {
void expectNear(Point actual, Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}
} // namespace

TEST(Geometry, RectEdgesContainmentAndOverlap) {
    Rect r(10, 20, 30, 40);
    EXPECT_EQ(r.maxX(), 40);
    EXPECT_EQ(r.midY(), 40);
    EXPECT_TRUE(r.contains(Point{10, 20}));
    EXPECT_FALSE(r.contains(Point{40, 20})); // the right edge is outside
    EXPECT_EQ(r.intersection(Rect(30, 50, 100, 100)), Rect(30, 50, 10, 10));
    EXPECT_TRUE(r.intersection(Rect(40, 20, 5, 5)).isEmpty()); // touching is not overlapping
    // No overlap at all is the null rectangle, not a line where the two touch.
    EXPECT_EQ(r.intersection(Rect(40, 20, 5, 5)), Rect());
    EXPECT_EQ(r.intersection(Rect(0, 60, 50, 9)), Rect());
    EXPECT_FALSE(r.intersects(Rect(40, 20, 5, 5)));
    EXPECT_EQ(r.insetBy(5, 5), Rect(15, 25, 20, 30));
    EXPECT_EQ(insetRect(r, {1, 2, 3, 4}), Rect(12, 21, 24, 36));
}

TEST(Geometry, TransformsComposeInOrderAndInvert) {
    // Scale then move is not move then scale.
    auto scaleThenMove = AffineTransform::scale(2, 2).concat(AffineTransform::translation(10, 0));
    expectNear(scaleThenMove.apply(Point{1, 1}), {12, 2});
    auto moveThenScale = AffineTransform::translation(10, 0).concat(AffineTransform::scale(2, 2));
    expectNear(moveThenScale.apply(Point{1, 1}), {22, 2});

    // A quarter turn is clockwise on a y-down screen: +x goes to +y.
    expectNear(AffineTransform::rotation(std::numbers::pi / 2).apply(Point{1, 0}), {0, 1});

    auto t = AffineTransform::rotation(0.7).concat(AffineTransform::translation(3, -4)).scaled(2, 0.5);
    expectNear(t.invert().apply(t.apply(Point{5, 7})), {5, 7});
    EXPECT_TRUE(AffineTransform::identity().isIdentity());
    EXPECT_FALSE(AffineTransform::scale(0, 1).isInvertible());
}

TEST(Geometry, ConvertPointBetweenNestedTransformedViews) {
    auto root = View::make({0, 0, 480, 320});
    auto outer = View::make({100, 50, 200, 100});
    auto inner = View::make({20, 10, 40, 40});
    root->addSubview(outer);
    outer->addSubview(inner);

    expectNear(inner->convertPoint({0, 0}, root.get()), {120, 60});
    expectNear(root->convertPoint({120, 60}, inner.get()), {0, 0});

    // Scaling the outer view about its centre (200, 100) doubles distances from it.
    outer->setTransform(AffineTransform::scale(2, 2));
    EXPECT_EQ(outer->frame(), Rect(0, 0, 400, 200));
    expectNear(inner->convertPoint({0, 0}, root.get()), {40, 20});
    expectNear(inner->convertPoint({40, 40}, root.get()), {120, 100});
    expectNear(root->convertPoint({40, 20}, inner.get()), {0, 0});

    // A half turn of the inner view about its own centre (40, 30 in outer).
    inner->setTransform(AffineTransform::rotation(std::numbers::pi));
    expectNear(inner->convertPoint({0, 0}, outer.get()), {60, 50});
    Point there = inner->convertPoint({5, 7}, root.get());
    expectNear(inner->convertPointFrom(there, root.get()), {5, 7});

    // Siblings in another branch go through the common screen space.
    auto other = View::make({300, 200, 50, 50});
    root->addSubview(other);
    expectNear(inner->convertPoint({5, 7}, other.get()), other->convertPointFrom(there, root.get()));
    EXPECT_EQ(outer->convertRect({0, 0, 10, 10}, root.get()), Rect(0, 0, 20, 20));
}

TEST(Geometry, PieSectorFollowsTheClockwiseArc) {
    // The quarter from 12 o'clock to 3 o'clock, clockwise on the screen.
    Path pie = Path::pieSector({50, 50}, 10, -std::numbers::pi / 2, 0);
    Rect b = pie.bounds();
    EXPECT_NEAR(b.minX(), 50, 1e-9);
    EXPECT_NEAR(b.maxX(), 60, 1e-9);
    EXPECT_NEAR(b.minY(), 40, 1e-9);
    EXPECT_NEAR(b.maxY(), 50, 1e-9);
    EXPECT_TRUE(pie.contains({54, 46}));
    EXPECT_FALSE(pie.contains({46, 46}));

    // From 3 o'clock round to 12 o'clock is three quarters.
    Path rest = Path::pieSector({50, 50}, 10, 0, -std::numbers::pi / 2);
    EXPECT_TRUE(rest.contains({46, 46}));
    EXPECT_FALSE(rest.contains({54, 46}));

    Path rounded;
    rounded.addRoundedRect({0, 0, 100, 30}, 10);
    EXPECT_NEAR(rounded.bounds().width(), 100, 1e-9);
    EXPECT_FALSE(rounded.contains({0.5, 0.5})); // the corner is cut
    EXPECT_TRUE(rounded.contains({50, 15}));
}
