#include "capture/frame_pacer.h"

#include <algorithm>

namespace viz {

void FramePacer::SetRefreshHz(int hz) { frameUs_ = 1000000 / (hz > 1 ? hz : 60); }

int64_t FramePacer::OnMovement(int64_t nowUs) {
  if (due_) return -1;
  const int64_t left = ran_ ? frameUs_ - (nowUs - lastUs_) : 0;
  if (left <= 0) return 0;
  due_ = true;
  return std::min(left, frameUs_);
}

}  // namespace viz
