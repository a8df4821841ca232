#include "capture/frame_pacer.h"

#include <gtest/gtest.h>

namespace viz {
namespace {

// One cycle a frame however often the mouse reports: at once after a still spell, else at the
// frame's end, or at the first report past it; a timer tick within the frame is that cycle.
TEST(FramePacer, OneCycleAFrame) {
  FramePacer p;
  p.SetRefreshHz(1);  // reported as "default": 60 Hz
  EXPECT_EQ(p.FrameUs(), 16666);
  p.SetRefreshHz(100);
  EXPECT_TRUE(p.Idle(0));
  EXPECT_EQ(p.OnMovement(0), 0);
  p.CycleRan(1000);
  EXPECT_FALSE(p.TickRuns(5000));
  EXPECT_EQ(p.OnMovement(4000), 7000);  // due at the frame's end
  EXPECT_TRUE(p.Due());
  EXPECT_EQ(p.OnMovement(6000), -1);    // already due
  EXPECT_EQ(p.OnMovement(11500), 0);    // past the end: at once, no longer due
  EXPECT_FALSE(p.Due());
  p.CycleRan(11500);
  EXPECT_EQ(p.OnMovement(12000), 9500);
  p.DueReached();
  p.CycleRan(21500);
  EXPECT_TRUE(p.TickRuns(31500));
  EXPECT_FALSE(p.Idle(31500));
  EXPECT_TRUE(p.Idle(41500));

  // The chase (10 ms frames): two still ticks end it; three late ones give chases up for a while.
  ASSERT_TRUE(p.StartChase(0));
  EXPECT_EQ(p.ChaseIntervalMs(), 10u);
  EXPECT_TRUE(p.ChaseTickOnTime(10000));
  EXPECT_FALSE(p.ChaseOver(true));
  EXPECT_FALSE(p.ChaseOver(false));
  EXPECT_FALSE(p.ChaseOver(true));
  EXPECT_TRUE(p.ChaseOver(true));
  p.EndChase();
  ASSERT_TRUE(p.StartChase(100000));
  EXPECT_TRUE(p.ChaseTickOnTime(120000));
  EXPECT_TRUE(p.ChaseTickOnTime(140000));
  EXPECT_FALSE(p.ChaseTickOnTime(160000));  // on a 15.6 ms clock tick, say
  p.EndChase();
  EXPECT_FALSE(p.StartChase(5000000));
  EXPECT_TRUE(p.StartChase(10160000));
}

}  // namespace
}  // namespace viz
