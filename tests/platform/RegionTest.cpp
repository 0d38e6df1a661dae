// Hit regions: kinds, bounding boxes and hit tests of polygons and rectangles.
#include "platform/Region.h"

#include <gtest/gtest.h>

namespace lorvenna {

TEST(Region, KindsOfRegions) {
    EXPECT_EQ(Region().kind(), Region::Kind::Empty);
    EXPECT_EQ(Region::rectangle({10, 20, 100, 70}).kind(), Region::Kind::Simple);
    EXPECT_EQ(Region::rectangle({10, 20, 10, 70}).kind(), Region::Kind::Empty);
    EXPECT_EQ(Region::polygon({{0, 0}, {40, 0}, {40, 30}, {0, 30}}).kind(), Region::Kind::Simple);
    EXPECT_EQ(Region::polygon({{0, 0}, {40, 0}, {20, 30}}).kind(), Region::Kind::Complex);

    // Points on one line enclose nothing, whatever their number or order.
    EXPECT_EQ(Region::polygon({{200, 300}, {300, 300}}).kind(), Region::Kind::Empty);
    EXPECT_EQ(Region::polygon({{200, 300}, {300, 300}, {250, 300}}).kind(), Region::Kind::Empty);
    EXPECT_EQ(Region::polygon({{0, 0}, {10, 10}, {20, 20}, {5, 5}}).kind(), Region::Kind::Empty);
    EXPECT_EQ(Region::polygon({{5, 5}}).kind(), Region::Kind::Empty);
    EXPECT_EQ(Region::polygon({}).kind(), Region::Kind::Empty);

    // An outline taller than any screen (a wild lesson file) encloses nothing rather than
    // making the toolkit refuse it; one just within the limit still encloses.
    EXPECT_EQ(Region::polygon({{0, -65536}, {40, 0}, {0, 65536}}).kind(), Region::Kind::Empty);
    EXPECT_NE(Region::polygon({{0, 0}, {40, 50000}, {0, 100000}}).kind(), Region::Kind::Empty);
}

TEST(Region, BoundingBoxesHaveExclusiveRightAndBottom) {
    EXPECT_EQ(Region::rectangle({10, 20, 100, 70}).boundingBox(), (Rect{10, 20, 100, 70}));
    EXPECT_EQ(Region::polygon({{10, 20}, {50, 20}, {50, 60}, {10, 60}}).boundingBox(),
              (Rect{10, 20, 50, 60}));
    EXPECT_EQ(Region().boundingBox(), Rect{});
    EXPECT_EQ(Region::polygon({{1, 1}, {9, 9}}).boundingBox(), Rect{});
}

TEST(Region, HitTests) {
    const Region box = Region::rectangle({10, 20, 100, 70});
    EXPECT_TRUE(box.contains(10, 20));
    EXPECT_TRUE(box.contains(99, 69));
    EXPECT_FALSE(box.contains(100, 20));
    EXPECT_FALSE(box.contains(10, 70));
    EXPECT_FALSE(box.contains(9, 30));

    const Region triangle = Region::polygon({{0, 0}, {100, 0}, {0, 100}});
    EXPECT_TRUE(triangle.contains(10, 10));
    EXPECT_FALSE(triangle.contains(80, 80));

    // A five-pointed star drawn in one stroke: the odd-even rule leaves its centre out.
    const Region star = Region::polygon({{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}});
    EXPECT_FALSE(star.contains(50, 50));
    EXPECT_TRUE(star.contains(50, 10));
    EXPECT_EQ(star.kind(), Region::Kind::Complex);

    // Copies are independent of the original.
    Region copy = box;
    copy = triangle;
    EXPECT_TRUE(box.contains(50, 50));
    EXPECT_FALSE(copy.contains(80, 80));
}

} // namespace lorvenna
