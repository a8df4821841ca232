#include "capture/frame_pacer.h"

#include <algorithm>

namespace viz {

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

}  // namespace viz
