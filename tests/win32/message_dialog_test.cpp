#include "platform/message_dialog_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_windows.h"

namespace viz {
namespace {

// A thread timer: the system picks its identifier.
constexpr UINT_PTR kThreadTimer = 0;

// Runs `inspect` on the message dialog once it is up; the dialog's modal loop serves the timer.
struct DialogProbe {
  std::function<void(HWND)> inspect;
  int ticks = 0;
  bool seen = false;
};
DialogProbe* g_probe = nullptr;

BOOL CALLBACK TakeDialog(HWND w, LPARAM lp) {
  if (test::ClassOf(w) == L"#32770" && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindOwnDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), TakeDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK ProbeTimer(HWND, UINT, UINT_PTR id, DWORD) {
  DialogProbe& p = *g_probe;
  HWND dlg = FindOwnDialog();
  if (!dlg) {
    if (++p.ticks > 100) KillTimer(nullptr, id);
    return;
  }
  KillTimer(nullptr, id);
  p.seen = true;
  p.inspect(dlg);
  // A dialog the inspection did not close would stall the test: close it with no answer.
  if (IsWindow(dlg) && IsWindowVisible(dlg)) EndDialog(dlg, 0);
}

MsgButton ShowProbed(std::wstring_view text, MsgKind kind, unsigned buttons, MsgButton def,
                     std::function<void(HWND)> inspect) {
  DialogProbe probe{std::move(inspect)};
  g_probe = &probe;
  SetTimer(nullptr, kThreadTimer, 50, ProbeTimer);
  MsgButton r = MessageDlg(nullptr, text, kind, buttons, def);
  g_probe = nullptr;
  EXPECT_TRUE(probe.seen);
  return r;
}

std::vector<HWND> Buttons(HWND dlg) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (test::ClassOf(c) == L"Button") out.push_back(c);
  return out;
}

HWND ButtonWithCaption(HWND dlg, const std::wstring& caption) {
  for (HWND b : Buttons(dlg))
    if (test::TextOf(b) == caption) return b;
  return nullptr;
}

TEST(MessageDialog, ShowsEveryButtonKindWithItsCaptionCentredOnTheCursorsMonitor) {
  const unsigned all = mbYes | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore | mbAll |
                       mbNoToAll | mbYesToAll | mbHelp;
  MsgButton r = ShowProbed(L"一行目\r二行目", MsgKind::Confirm, all, mbNo, [](HWND dlg) {
    EXPECT_EQ(test::TextOf(dlg), L"vizmoria");
    std::vector<std::wstring> captions;
    for (HWND b : Buttons(dlg)) captions.push_back(test::TextOf(b));
    const std::vector<std::wstring> expected =
        test::JapaneseUi()
            ? std::vector<std::wstring>{L"はい(&Y)", L"いいえ(&N)", L"OK", L"Cancel", L"中止(&A) ",
                                        L"再試行(&R)", L"無視(&I)", L"すべて", L"すべてにいいえ",
                                        L"すべてにはい", L"ヘルプ(&H)"}
            : std::vector<std::wstring>{L"&Yes", L"&No", L"OK", L"Cancel", L"&Abort", L"&Retry",
                                        L"&Ignore", L"All", L"No to all", L"Yes to all", L"&Help"};
    EXPECT_EQ(captions, expected);

    POINT cur;
    GetCursorPos(&cur);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromPoint(cur, MONITOR_DEFAULTTONEAREST), &mi);
    RECT wr;
    GetWindowRect(dlg, &wr);
    EXPECT_NEAR((wr.left + wr.right) / 2, (mi.rcWork.left + mi.rcWork.right) / 2, 1);
    EXPECT_NEAR((wr.top + wr.bottom) / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2, 1);

    HWND no = ButtonWithCaption(dlg, test::Lang(L"いいえ(&N)", L"&No"));
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(GetFocus(), no);
    EXPECT_EQ(GetWindowLongW(no, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(ButtonWithCaption(dlg, L"OK"), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);

    // The text keeps its line break: its control is at least two lines high.
    HWND text = nullptr;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (test::TextOf(c).find(L"一行目") != std::wstring::npos) text = c;
    ASSERT_NE(text, nullptr);
    RECT tr, br;
    GetWindowRect(text, &tr);
    GetWindowRect(no, &br);
    EXPECT_GT(tr.bottom - tr.top, (br.bottom - br.top) * 2 / 3);

    SendMessageW(ButtonWithCaption(dlg, test::Lang(L"すべてにはい", L"Yes to all")), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(r, mbYesToAll);
}

TEST(MessageDialog, SnapToDefaultMovesTheCursorOntoTheDefaultButton) {
  BOOL old = FALSE;
  SystemParametersInfoW(SPI_GETSNAPTODEFBUTTON, 0, &old, 0);
  if (!SystemParametersInfoW(SPI_SETSNAPTODEFBUTTON, TRUE, nullptr, 0))
    GTEST_SKIP() << "snap-to-default cannot be switched on here";
  SetCursorPos(10, 10);
  MsgButton r = ShowProbed(L"保存しますか", MsgKind::Warning, mbOK | mbCancel, mbCancel, [](HWND dlg) {
    HWND cancel = ButtonWithCaption(dlg, L"Cancel");
    ASSERT_NE(cancel, nullptr);
    RECT br;
    GetWindowRect(cancel, &br);
    POINT cur;
    GetCursorPos(&cur);
    EXPECT_NEAR(cur.x, (br.left + br.right) / 2, 1);
    EXPECT_NEAR(cur.y, (br.top + br.bottom) / 2, 1);
    SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);  // Esc
  });
  SystemParametersInfoW(SPI_SETSNAPTODEFBUTTON, old, nullptr, 0);
  EXPECT_EQ(r, mbCancel);
}

TEST(MessageDialog, EscapeChoosesTheOnlyButtonAndIsIgnoredWithoutCancel) {
  EXPECT_EQ(ShowProbed(L"終わりました", MsgKind::Info, mbOK, mbOK,
                       [](HWND dlg) { SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0); }),
            mbOK);
  EXPECT_EQ(ShowProbed(L"置き換えますか", MsgKind::Confirm, mbYes | mbNo, mbYes,
                       [](HWND dlg) {
                         SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
                         EXPECT_TRUE(IsWindowVisible(dlg));  // still up
                         SendMessageW(ButtonWithCaption(dlg, test::Lang(L"いいえ(&N)", L"&No")), BM_CLICK, 0, 0);
                       }),
            mbNo);
}

TEST(MessageDialog, DefaultOutsideTheSetFallsBackToTheFirstButton) {
  EXPECT_EQ(ShowProbed(L"x", MsgKind::Error, mbRetry | mbAbort, mbYes,
                       [](HWND dlg) {
                         // Enter: the dialog manager sends the default button's command.
                         SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(LOWORD(SendMessageW(dlg, DM_GETDEFID, 0, 0)), BN_CLICKED), 0);
                       }),
            mbAbort);
}

}  // namespace
}  // namespace viz
