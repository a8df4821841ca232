#include "commands/key_dispatch.h"

#include <gtest/gtest.h>

using namespace viz;

namespace {
BindingSet Defaults() {
  CommandList commands;
  BindingSet b;
  b.Build(commands);
  return b;
}
}  // namespace

TEST(KeyDispatch, KeyDown) {
  const BindingSet b = Defaults();
  EXPECT_EQ(DecideKeyDown(b, 0x26, false).action, KeyDownAction::RunMove);
  EXPECT_EQ(DecideKeyDown(b, 0x26, false).cmd, Cmd::Move_Up);
  EXPECT_EQ(DecideKeyDown(b, '1', false).action, KeyDownAction::BeginActualSize);
  EXPECT_EQ(DecideKeyDown(b, 'S', false).action, KeyDownAction::Consume);
  EXPECT_EQ(DecideKeyDown(b, 'X', false).action, KeyDownAction::PassOn);
  EXPECT_EQ(DecideKeyDown(b, 0x26, true).action, KeyDownAction::PassOn);  // Alt: toolkit keys
  EXPECT_EQ(DecideKeyDown(b, 18, true).action, KeyDownAction::PassOn);    // Alt alone
}

TEST(KeyDispatch, KeyUpAndGestures) {
  BindingSet b = Defaults();
  const KeyUpDecision smooth = DecideKeyUp(b, 'S', false);
  EXPECT_EQ(smooth.action, KeyUpAction::RunCommand);
  EXPECT_EQ(smooth.cmd, Cmd::Opt_SmoothCapture);
  EXPECT_TRUE(smooth.toggleCheck);
  const KeyUpDecision pause = DecideKeyUp(b, 0x1B, false);
  EXPECT_EQ(pause.cmd, Cmd::Capture_Pause);
  EXPECT_FALSE(pause.toggleCheck);  // its own handler toggles
  EXPECT_EQ(DecideKeyUp(b, 0x25, false).action, KeyUpAction::Nothing);
  EXPECT_EQ(DecideKeyUp(b, '1', false).action, KeyUpAction::EndActualSize);
  EXPECT_EQ(DecideKeyUp(b, 'S', true).action, KeyUpAction::Nothing);
  EXPECT_EQ(DecideKeyUp(b, kVkApps, true).action, KeyUpAction::ShowMainMenu);

  EXPECT_EQ(DecideGesture(b, GestureDir::Right).cmd, Cmd::Capture_Pause);
  b.SetGesture(GestureDir::Up, Cmd::Color_HTML);
  EXPECT_TRUE(DecideGesture(b, GestureDir::Up).toggleCheck);
  b.SetGesture(GestureDir::Down, std::nullopt);
  EXPECT_EQ(DecideGesture(b, GestureDir::Down).action, KeyUpAction::Nothing);
}

TEST(KeyDispatch, ActualSizeHoldsZoomOneUntilRelease) {
  ActualSizeZoom z{8, -1};
  EXPECT_TRUE(BeginActualSize(z));
  EXPECT_EQ(z.zoom, 1);
  EXPECT_EQ(z.savedZoom, 8);
  EXPECT_FALSE(BeginActualSize(z));  // auto-repeat keeps the first saved zoom
  EXPECT_EQ(z.savedZoom, 8);
  EXPECT_TRUE(EndActualSize(z));
  EXPECT_EQ(z.zoom, 8);
  EXPECT_EQ(z.savedZoom, -1);
  EXPECT_FALSE(EndActualSize(z));
}
