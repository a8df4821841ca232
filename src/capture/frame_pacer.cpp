#include "capture/frame_pacer.h"

#include <algorithm>

namespace viz {
namespace {

constexpr int64_t kLateUs = 4000;  // past the interval
constexpr int kLateTicks = 3, kStillTicks = 2;
constexpr int64_t kGivenUpUs = 10000000;

}  // namespace

void FramePacer::SetRefreshHz(int hz) { frameUs_ = 1000000 / (hz > 1 ? hz : 60); }

int64_t FramePacer::OnMovement(int64_t nowUs) {
  const int64_t left = ran_ ? frameUs_ - (nowUs - lastUs_) : 0;
  if (left <= 0) {
    due_ = false;
    return 0;
  }
  if (due_) return -1;
  due_ = true;
  return std::min(left, frameUs_);
}

bool FramePacer::StartChase(int64_t nowUs) {
  if (givenUp_ && nowUs - givenUpUs_ < kGivenUpUs) return false;
  givenUp_ = false;
  chasing_ = true;
  chaseTickUs_ = nowUs;
  stillTicks_ = lateTicks_ = 0;
  return true;
}

bool FramePacer::ChaseTickOnTime(int64_t nowUs) {
  const bool late = nowUs - chaseTickUs_ > ChaseIntervalMs() * int64_t{1000} + kLateUs;
  chaseTickUs_ = nowUs;
  lateTicks_ = late ? lateTicks_ + 1 : 0;
  if (lateTicks_ < kLateTicks) return true;
  givenUp_ = true;
  givenUpUs_ = nowUs;
  return false;
}

bool FramePacer::ChaseOver(bool still) {
  stillTicks_ = still ? stillTicks_ + 1 : 0;
  return stillTicks_ >= kStillTicks;
}

}  // namespace viz
