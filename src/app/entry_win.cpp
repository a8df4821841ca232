// Program entry: start-up objects, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include <climits>

#include "app/main_window_win.h"
#include "platform/sysfuncs_win.h"

namespace {

// The next message other than a movement report (WM_INPUT), waiting for one at most `ms`; false
// when none came. `late` tells that the wait ran out well after `ms`.
bool NextMessageButReports(MSG* msg, DWORD ms, bool* late) {
  *late = false;
  if (::PeekMessageW(msg, nullptr, 0, WM_INPUT - 1, PM_REMOVE) ||
      ::PeekMessageW(msg, nullptr, WM_INPUT + 1, UINT_MAX, PM_REMOVE))
    return true;
  const DWORD start = ::GetTickCount();
  const DWORD r = ::MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT & ~QS_RAWINPUT,
                                                MWMO_INPUTAVAILABLE);
  *late = r == WAIT_TIMEOUT && ::GetTickCount() - start > ms + 4;
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  viz::RestrictDllSearchPath();
  (void)viz::IsWinNT();  // computed once, before any window
  viz::ChooseUiLanguage();

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                            ICC_LINK_CLASS | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);

  if (!viz::MainWindow::RegisterClass(inst)) return 1;
  auto main = std::make_unique<viz::MainWindow>();
  if (!main->Create(inst)) return 1;

  // While a capture cycle is due at the end of a display frame, movement reports are left in
  // the queue, where the system merges them (under Wine each report read is a round trip to the
  // server); the first read after the frame is that cycle's.
  MSG msg;
  for (;;) {
    if (const DWORD quiet = main->ReportsMayWaitMs()) {
      bool late = false;
      if (!NextMessageButReports(&msg, quiet, &late)) {
        main->ReportWaitEnded(late);
        continue;
      }
      if (msg.message == WM_QUIT) break;
    } else if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      break;
    }
    if (main->PreTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
