#include "capture/rest_watch_win.h"

#include "ui/window_messages_win.h"

namespace viz {
namespace {

// A low-level hook gets no user data: the window it wakes is kept here. One main window.
HWND g_restWindow = nullptr;

}  // namespace

LRESULT CALLBACK RestWatch::Hook(int code, WPARAM wp, LPARAM lp) noexcept {
  if (code == HC_ACTION && g_restWindow) ::PostMessageW(g_restWindow, kMsgLeaveRest, 0, 0);
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

bool RestWatch::Enter(HWND notify) {
  if (active_) return true;
  g_restWindow = notify;
  hook_.reset(::SetWindowsHookExW(WH_MOUSE_LL, Hook, ::GetModuleHandleW(nullptr), 0));
  active_ = static_cast<bool>(hook_);
  return active_;
}

void RestWatch::Leave() {
  active_ = false;
  hook_.reset();
}

}  // namespace viz
