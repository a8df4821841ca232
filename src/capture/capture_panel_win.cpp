#include "capture/capture_panel_win.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/handle_win.h"
#include "ui/window_base_win.h"
#include "ui/window_messages_win.h"

namespace viz {
namespace {

constexpr int kButtonIdBase = 100;

struct ButtonDef {
  const wchar_t* text;
  Cmd cmd;
};
constexpr ButtonDef kButtons[4] = {
    {L"←", Cmd::Move_Left}, {L"↑", Cmd::Move_Up}, {L"↓", Cmd::Move_Down}, {L"→", Cmd::Move_Right}};

}  // namespace

Cmd CapturePanel::MoveOf(int index) { return kButtons[std::clamp(index, 0, 3)].cmd; }

bool CapturePanel::Create(HWND parent, HINSTANCE inst, HFONT font) {
  panel_ = ::CreateWindowExW(0, L"STATIC", L"pnlCapture", WS_CHILD | WS_CLIPSIBLINGS | SS_NOTIFY, 0,
                             0, 0, 0, parent, nullptr, inst, nullptr);
  if (!panel_) return false;
  for (int i = 0; i < 4; ++i) {
    buttons_[i] = ::CreateWindowExW(0, L"BUTTON", kButtons[i].text,
                                    WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, panel_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonIdBase + i)),
                                    inst, nullptr);
    ::SetWindowSubclass(buttons_[i], ButtonProc, kButtonIdBase + i,
                        reinterpret_cast<DWORD_PTR>(parent));
  }
  SetFont(font);
  return true;
}

void CapturePanel::SetFont(HFONT font) {
  for (HWND b : buttons_)
    if (b) ::SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void CapturePanel::Layout(int right, int top, int height, HFONT font) {
  if (!panel_) return;
  int width = height;
  {
    WindowDc dc(panel_);
    SelectGuard sel(dc.get(), font);
    for (HWND b : buttons_) {
      wchar_t text[8] = {};
      SIZE ext{};
      const int n = ::GetWindowTextW(b, text, 8);
      if (::GetTextExtentPoint32W(dc.get(), text, n, &ext))
        width = std::max<int>(width, ext.cx + 2 * ::GetSystemMetrics(SM_CXEDGE) + 2);
    }
  }
  ::SetWindowPos(panel_, HWND_TOP, right - 4 * width, top, 4 * width, height, SWP_NOACTIVATE);
  for (int i = 0; i < 4; ++i)
    ::SetWindowPos(buttons_[i], nullptr, i * width, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CapturePanel::Show(bool shown) {
  if (panel_) ::ShowWindow(panel_, shown ? SW_SHOWNA : SW_HIDE);
}

bool CapturePanel::IsButton(HWND w) const {
  return w && std::find(std::begin(buttons_), std::end(buttons_), w) != std::end(buttons_);
}

LRESULT CALLBACK CapturePanel::ButtonProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR ref) noexcept {
  const HWND main = reinterpret_cast<HWND>(ref);
  const WPARAM index = id - kButtonIdBase;
  return Guarded(
      [&]() -> LRESULT {
        switch (msg) {
          case WM_LBUTTONDOWN:
          case WM_LBUTTONDBLCLK: {
            const LRESULT r = ::DefSubclassProc(w, msg, wp, lp);
            ::SendMessageW(main, kMsgCaptureButton, index, 1);
            return r;
          }
          case WM_LBUTTONUP:
          case WM_CAPTURECHANGED:
            ::SendMessageW(main, kMsgCaptureButton, index, 0);
            break;
          case WM_NCDESTROY:
            ::RemoveWindowSubclass(w, ButtonProc, id);
            break;
          default:
            break;
        }
        return ::DefSubclassProc(w, msg, wp, lp);
      },
      [&] { return ::DefSubclassProc(w, msg, wp, lp); });
}

}  // namespace viz
