// Base of the program's windows: `this` travels through lpCreateParams, is bound at WM_NCCREATE
// and cleared at WM_NCDESTROY, so a late message never reaches a dying object. No exception
// leaves the window procedure.
#pragma once

#include <windows.h>

namespace viz {

// Runs `body` and returns what it returns; an exception gives `fallback()` instead. Procedures
// the system calls (subclass procedures, hooks) run their bodies through it: no exception may
// leave them.
template <typename Body, typename Fallback>
auto Guarded(Body body, Fallback fallback) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (...) {
    try {
      return fallback();
    } catch (...) {
      return {};
    }
  }
}

template <typename Derived>
class WindowBase {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class Derived::kClassName with this base's window procedure: `style`, the
  // `background` brush (none when every pixel is painted) and, with `programIcon`, the
  // program's icon in the caption and the taskbar. True when the class is there, registered by
  // this call or an earlier one.
  static bool RegisterWindowClass(HINSTANCE inst, UINT style, HBRUSH background,
                                  bool programIcon) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = inst;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = Derived::kClassName;
    if (programIcon) {
      // Shared resource icons: nothing to free.
      wc.hIcon = ::LoadIconW(inst, L"MAINICON");
      wc.hIconSm = static_cast<HICON>(::LoadImageW(inst, L"MAINICON", IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  static LRESULT CALLBACK StaticWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Derived* self;
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      self = static_cast<Derived*>(cs->lpCreateParams);
      self->hwnd_ = w;
      ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(w, msg, wp, lp);
    LRESULT r = 0;
    try {
      r = self->HandleMessage(msg, wp, lp);
    } catch (...) {
      // A window whose creation failed half way is not created at all.
      r = msg == WM_CREATE ? -1 : msg == WM_NCCREATE ? FALSE : ::DefWindowProcW(w, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
      ::SetWindowLongPtrW(w, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      self->OnNcDestroy();
    }
    return r;
  }

  // Called after the window is gone; a derived window that owns itself deletes itself here.
  void OnNcDestroy() {}

  LRESULT DefProc(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;
};

}  // namespace viz
