// Program entry: start-up objects, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window_win.h"
#include "platform/sysfuncs_win.h"

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

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (main->PreTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
