// Every text of the program's windows fits its control, at whatever DPI the screen has (the
// desktops tier runs these tests at 144 DPI too): labels, check boxes, group captions, buttons,
// the link, the columns of the shortcut window's grids and the capture panel's arrows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "main_window_fixture.h"
#include "test_windows.h"

using namespace viz;

namespace {

std::string Utf8(const std::wstring& w) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

int Dpi(HWND w) {
  HDC dc = ::GetDC(w);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
  ::ReleaseDC(w, dc);
  return dpi;
}

// The size a control's text takes in the control's own font, "&" prefixes as drawn.
SIZE TextSize(HWND control, std::wstring text) {
  for (const wchar_t* tag : {L"<a>", L"</a>"})
    for (size_t at; (at = text.find(tag)) != std::wstring::npos;) text.erase(at, wcslen(tag));
  HDC dc = ::GetDC(control);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return SIZE{r.right, r.bottom};
}

// Checks the texts of the controls below `root`; describes each that does not fit.
void ExpectTextsFit(HWND root) {
  const int dpi = Dpi(root);
  const int checkGlyph = ::MulDiv(13, dpi, 96);
  int checked = 0;
  for (HWND c : test::Descendants(root)) {
    if (!::IsWindowVisible(c)) continue;
    const std::wstring cls = test::ClassOf(c), text = test::TextOf(c);
    if (text.empty() || (cls != L"Button" && cls != L"Static" && cls != L"SysLink")) continue;
    const LONG style = ::GetWindowLongW(c, GWL_STYLE);
    if (cls == L"Static" && (style & SS_TYPEMASK) == SS_ICON) continue;
    RECT r{};
    ::GetClientRect(c, &r);
    const SIZE t = TextSize(c, text);
    int room = r.right;
    const LONG kind = style & BS_TYPEMASK;
    if (cls == L"Button" && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX))
      room -= checkGlyph + ::MulDiv(3, dpi, 96);  // the box and the gap before the text
    else if (cls == L"Button" && kind == BS_GROUPBOX)
      room -= ::MulDiv(8, dpi, 96);  // the caption is inset from the frame
    else if (cls == L"Button")
      room -= 2 * ::GetSystemMetrics(SM_CXEDGE);
    EXPECT_LE(t.cx, room) << "\"" << Utf8(text) << "\" clipped in its " << Utf8(cls) << " ("
                          << t.cx << " > " << room << ") at " << dpi << " DPI";
    if (kind != BS_GROUPBOX) {
      EXPECT_LE(t.cy, r.bottom) << "\"" << Utf8(text) << "\" taller than its " << Utf8(cls);
    }
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

class TextFitTest : public test::MainWindowFixture {};

TEST_F(TextFitTest, SettingWindowShowsEveryTextWholeOnBothPages) {
  win_->Execute(Cmd::Custom_Setting, Sender::Menu);
  test::PumpPending();
  HWND w = win_->SettingWindowHandle();
  ASSERT_TRUE(w);
  ExpectTextsFit(w);
  win_->Execute(Cmd::Help, Sender::Menu);  // the version page
  test::PumpPending();
  ExpectTextsFit(w);
}

TEST_F(TextFitTest, ShortcutWindowShowsEveryTextWholeAndEveryCellInItsColumn) {
  win_->Execute(Cmd::Custom_ShortCut, Sender::Menu);
  test::PumpPending();
  HWND w = win_->ShortcutWindowHandle();
  ASSERT_TRUE(w);
  ExpectTextsFit(w);
  for (HWND list : test::Descendants(w)) {
    if (test::ClassOf(list) != L"SysListView32") continue;
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int col = 0; col < 2; ++col) {
      const int width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, col, 0));
      for (int i = 0; i < rows; ++i) {
        wchar_t buf[256] = {};
        LVITEMW it{};
        it.iSubItem = col;
        it.pszText = buf;
        it.cchTextMax = 256;
        ::SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&it));
        const int need = static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                                         reinterpret_cast<LPARAM>(buf)));
        EXPECT_GE(width, need + 8) << "row " << i << " column " << col;
      }
    }
  }
}

TEST_F(TextFitTest, CapturePanelArrowsFitTheirButtons) {
  win_->Execute(Cmd::Capture_Fixed, Sender::Menu);  // shows the panel
  test::PumpPending();
  HWND panel = ::FindWindowExW(win_->hwnd(), nullptr, L"Static", L"pnlCapture");
  ASSERT_TRUE(panel && ::IsWindowVisible(panel));
  ExpectTextsFit(panel);
}

}  // namespace
