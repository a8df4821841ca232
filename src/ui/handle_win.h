// Move-only owners of Win32 handles, and guards that undo a temporary change on scope exit.
// Every handle the program acquires is held by one of these, so it is released on every path.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace viz {

// Traits: the handle type, its invalid value and how to close it.
template <typename T, auto Close>
struct NullHandleTraits {
  using type = T;
  static type Invalid() { return nullptr; }
  static void Release(type h) { Close(h); }
};

template <typename Traits>
class UniqueHandle {
 public:
  using T = typename Traits::type;
  UniqueHandle() = default;
  explicit UniqueHandle(T h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  T release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(T h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Release(h_);
    h_ = h;
  }

 private:
  T h_ = Traits::Invalid();
};

namespace detail {
inline void CloseKernel(HANDLE h) { ::CloseHandle(h); }
inline void DeleteGdi(HGDIOBJ h) { ::DeleteObject(h); }
inline void DeleteDc(HDC h) { ::DeleteDC(h); }
inline void FreeLib(HMODULE h) { ::FreeLibrary(h); }
inline void DestroyMenuH(HMENU h) { ::DestroyMenu(h); }
inline void DestroyIconH(HICON h) { ::DestroyIcon(h); }
inline void GlobalFreeH(HGLOBAL h) { ::GlobalFree(h); }
inline void UnhookH(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline void DestroyImageListH(HIMAGELIST h) { ::ImageList_Destroy(h); }
}  // namespace detail

struct FileHandleTraits {
  using type = HANDLE;
  static type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Release(type h) { ::CloseHandle(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;  // CreateFile results
using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, detail::CloseKernel>>;
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, detail::DeleteGdi>>;
using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, detail::DeleteGdi>>;
using UniquePen = UniqueHandle<NullHandleTraits<HPEN, detail::DeleteGdi>>;
using UniqueBrush = UniqueHandle<NullHandleTraits<HBRUSH, detail::DeleteGdi>>;
using UniqueRgn = UniqueHandle<NullHandleTraits<HRGN, detail::DeleteGdi>>;
// Created DCs (CreateDC, CreateCompatibleDC); GetDC results use WindowDc.
using UniqueDc = UniqueHandle<NullHandleTraits<HDC, detail::DeleteDc>>;
using UniqueLibrary = UniqueHandle<NullHandleTraits<HMODULE, detail::FreeLib>>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, detail::DestroyMenuH>>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, detail::DestroyIconH>>;
using UniqueGlobal = UniqueHandle<NullHandleTraits<HGLOBAL, detail::GlobalFreeH>>;
using UniqueHook = UniqueHandle<NullHandleTraits<HHOOK, detail::UnhookH>>;
using UniqueImageList = UniqueHandle<NullHandleTraits<HIMAGELIST, detail::DestroyImageListH>>;

// A window DC obtained with GetDC; released with the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND w) : w_(w), dc_(::GetDC(w)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(w_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND w_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND w) : w_(w) { dc_ = ::BeginPaint(w, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { ::EndPaint(w_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& ps() const { return ps_; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SetErrorMode for the duration of a scope.
class ErrorModeGuard {
 public:
  explicit ErrorModeGuard(UINT mode) : old_(::SetErrorMode(mode)) {}
  ErrorModeGuard(const ErrorModeGuard&) = delete;
  ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;
  ~ErrorModeGuard() { ::SetErrorMode(old_); }

 private:
  UINT old_;
};

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() { f_(); }

 private:
  F f_;
};

}  // namespace viz
