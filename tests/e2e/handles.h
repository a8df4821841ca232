// Small owners for the handles the harness takes, so each is released on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace viz::e2e {

struct KernelCloser {
  void operator()(HANDLE h) const {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
struct GdiDeleter {
  void operator()(void* h) const { DeleteObject(static_cast<HGDIOBJ>(h)); }
};
struct DcDeleter {
  void operator()(HDC h) const { DeleteDC(h); }
};

// A file handle; empty when CreateFile failed.
class UniqueFile {
 public:
  explicit UniqueFile(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  HANDLE get() const { return h_.get(); }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  std::unique_ptr<void, KernelCloser> h_;
};

using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

class WindowDc {
 public:
  explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND w_;
  HDC dc_;
};

class PaintDc {
 public:
  explicit PaintDc(HWND w) : w_(w), dc_(BeginPaint(w, &ps_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(w_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& ps() const { return ps_; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace viz::e2e
