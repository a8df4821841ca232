#include "commands/gesture.h"

#include <gtest/gtest.h>

using namespace viz;

namespace {
// Press at (500, 500); the drag is given with dy positive upwards.
std::optional<GestureDir> Drag(int dx, int dyUp, int cx = 4, int cy = 4) {
  return RecogniseGesture({500, 500}, {500 + dx, 500 - dyUp}, cx, cy);
}
}  // namespace

TEST(Gesture, AngleBoundariesBetweenDirections) {
  EXPECT_EQ(GestureAngle(100, 100), 45);
  EXPECT_EQ(Drag(100, 100), GestureDir::Right);
  EXPECT_EQ(GestureAngle(100, 103), 46);  // 45.85 rounds up
  EXPECT_EQ(Drag(100, 103), GestureDir::Up);
  EXPECT_EQ(GestureAngle(100, 101), 45);  // 45.28 rounds down
  EXPECT_EQ(DirectionFromAngle(135), GestureDir::Up);
  EXPECT_EQ(DirectionFromAngle(136), GestureDir::Left);
  EXPECT_EQ(DirectionFromAngle(225), GestureDir::Left);
  EXPECT_EQ(DirectionFromAngle(226), GestureDir::Down);
  EXPECT_EQ(DirectionFromAngle(315), GestureDir::Down);
  EXPECT_EQ(DirectionFromAngle(316), GestureDir::Right);
  EXPECT_EQ(DirectionFromAngle(0), GestureDir::Right);
}

TEST(Gesture, LongDragRightThatRoundsTo360IsRight) {
  EXPECT_EQ(GestureAngle(2000, -13), 360);  // -0.37 degrees rounds to 0, plus 360
  EXPECT_EQ(Drag(2000, -13), GestureDir::Right);
  EXPECT_EQ(GestureAngle(1000, -13), 359);  // -0.74 rounds to -1
}

TEST(Gesture, EachQuadrantAndAxis) {
  EXPECT_EQ(GestureAngle(0, 50), 90);
  EXPECT_EQ(GestureAngle(0, -50), 270);
  EXPECT_EQ(GestureAngle(-50, 0), 180);
  EXPECT_EQ(GestureAngle(-100, 100), 135);
  EXPECT_EQ(GestureAngle(-100, -100), 225);
  EXPECT_EQ(GestureAngle(100, -100), 315);
  EXPECT_EQ(Drag(0, 50), GestureDir::Up);
  EXPECT_EQ(Drag(0, -50), GestureDir::Down);
  EXPECT_EQ(Drag(-50, 0), GestureDir::Left);
  EXPECT_EQ(Drag(-100, 100), GestureDir::Up);
  EXPECT_EQ(Drag(-100, -100), GestureDir::Left);
  EXPECT_EQ(Drag(100, -100), GestureDir::Down);
  EXPECT_EQ(Drag(-100, -120), GestureDir::Down);  // 230 degrees
}

TEST(Gesture, DeadZoneIsThreeDoubleClickSizesOnEachAxis) {
  EXPECT_FALSE(Drag(12, 12));   // 3 x 4 on both axes: menu
  EXPECT_FALSE(Drag(-12, -12));
  EXPECT_EQ(Drag(13, 12), GestureDir::Right);  // dy falls in the dead zone and counts as 0
  EXPECT_EQ(Drag(12, -13), GestureDir::Down);
  EXPECT_EQ(Drag(30, 30, 10, 4), GestureDir::Up);  // dx inside a wide dead zone
  EXPECT_FALSE(Drag(0, 0, 0, 0));
  EXPECT_EQ(Drag(1, 0, 0, 0), GestureDir::Right);
}

TEST(Gesture, Slots) {
  EXPECT_EQ(GestureSlot(GestureDir::Up), 0);
  EXPECT_EQ(GestureSlot(GestureDir::Right), 3);
  EXPECT_FALSE(GestureStartRecorded({-1, -1}));
  EXPECT_FALSE(GestureStartRecorded({0, 0}));
  EXPECT_TRUE(GestureStartRecorded({0, 5}));
}
