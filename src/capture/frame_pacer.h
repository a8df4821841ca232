// When the capture cycles run while the pointer moves: one per display frame. A movement runs a
// cycle at once when the last cycle is a frame old, else one cycle becomes due at the end of
// that frame, and further movements within it add nothing; however often the mouse reports,
// the picture changes at most once a frame, and never more than a frame after the pointer.
// The first movement past the frame's end runs the due cycle at once (a timer set for the rest
// of the frame may fire late: Windows' timers keep to its 15.6 ms clock tick). A timer tick
// within a frame of the last cycle is that frame's cycle too.
//
// While the pointer keeps moving, a timer of one frame chases it instead and the movement
// reports stop (under Wine each report read is a round trip to the server, several a frame for
// a fast mouse, while the cycle asks for the cursor anyway). Two still frames end the chase.
// Where the timer fires late three times in a row (Windows' timers keep to its clock tick)
// chases are given up for ten seconds and every report brings its frame's cycle, as above.
#pragma once

#include <cstdint>

namespace viz {

class FramePacer {
 public:
  // The frame of the display that shows the picture; 60 Hz where the rate is not above 1.
  void SetRefreshHz(int hz);
  int64_t FrameUs() const { return frameUs_; }

  // What a movement at `nowUs` (microseconds of a steady clock) asks for: a cycle now (0; one
  // that was due is no longer), or one in the returned number of microseconds; -1 when one is
  // already due.
  int64_t OnMovement(int64_t nowUs);
  // The frame's end came: its cycle runs now.
  void DueReached() { due_ = false; }
  bool Due() const { return due_; }
  // No cycle for two frames: a movement at `nowUs` starts from a still spell.
  bool Idle(int64_t nowUs) const { return !ran_ || nowUs - lastUs_ >= 2 * frameUs_; }
  // A timer tick at `nowUs` runs its cycle unless one ran within this frame.
  bool TickRuns(int64_t nowUs) const { return !ran_ || nowUs - lastUs_ >= frameUs_; }
  void CycleRan(int64_t nowUs) {
    ran_ = true;
    lastUs_ = nowUs;
  }

  // The chase: its timer's interval, in whole milliseconds of at least a frame.
  unsigned ChaseIntervalMs() const { return static_cast<unsigned>((frameUs_ + 999) / 1000); }
  bool Chasing() const { return chasing_; }
  // Starts a chase at `nowUs`; false while chases are given up.
  bool StartChase(int64_t nowUs);
  void EndChase() { chasing_ = false; }
  // A tick of the chase's timer at `nowUs`: false when it came late once too often, and chases
  // are given up.
  bool ChaseTickOnTime(int64_t nowUs);
  // The tick's cycle found the cursor where it was (`still`): true when the chase is over.
  bool ChaseOver(bool still);

 private:
  int64_t frameUs_ = 1000000 / 60;
  bool ran_ = false;
  int64_t lastUs_ = 0;
  bool due_ = false;
  bool chasing_ = false;
  int64_t chaseTickUs_ = 0;
  int stillTicks_ = 0, lateTicks_ = 0;
  bool givenUp_ = false;
  int64_t givenUpUs_ = 0;
};

}  // namespace viz
