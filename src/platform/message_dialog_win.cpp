#include "platform/message_dialog_win.h"

#include <algorithm>
#include <vector>

#include "base/texts.h"
#include "platform/dpi_win.h"
#include "platform/sysfuncs_win.h"
#include "ui/handle_win.h"
#include "ui/window_base_win.h"

namespace viz {
namespace {

constexpr int kButtonKinds = 11;
constexpr int kFirstButtonId = 100;  // control id = kFirstButtonId + bit index

// By bit index of the button kind.
constexpr Text kCaptions[kButtonKinds] = {
    Text::MsgButton_Yes,    Text::MsgButton_No,    Text::MsgButton_OK,       Text::MsgButton_Cancel,
    Text::MsgButton_Abort,  Text::MsgButton_Retry, Text::MsgButton_Ignore,   Text::MsgButton_All,
    Text::MsgButton_NoToAll, Text::MsgButton_YesToAll, Text::MsgButton_Help,
};

// Layout in pixels at 96 DPI, scaled to the monitor's.
constexpr int kMargin96 = 12;
constexpr int kIconGap96 = 10;
constexpr int kTextToButtons96 = 16;
constexpr int kButtonMinWidth96 = 75;
constexpr int kButtonHeight96 = 23;
constexpr int kButtonGap96 = 6;
constexpr int kButtonPad96 = 16;
constexpr int kTextMinWidth96 = 120;

struct DialogState {
  std::wstring text;
  MsgKind kind = MsgKind::Info;
  unsigned buttons = 0;
  MsgButton def = mbOK;
  MsgButton escResult = mbNone;  // mbNone: Esc does nothing
  UniqueFont font;
};

UniqueFont CreateMessageFont(int dpi) {
  LOGFONTW lf{};
  if (!MessageFontAt(dpi, &lf)) return UniqueFont(nullptr);
  return UniqueFont(::CreateFontIndirectW(&lf));
}

// Every line break the way a static control draws it.
std::wstring NormalizeBreaks(std::wstring_view s) {
  std::wstring out;
  out.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'\r') {
      out += L"\r\n";
      if (i + 1 < s.size() && s[i + 1] == L'\n') ++i;
    } else if (s[i] == L'\n') {
      out += L"\r\n";
    } else {
      out += s[i];
    }
  }
  return out;
}

const wchar_t* IconOf(MsgKind k) {
  switch (k) {
    case MsgKind::Warning: return IDI_WARNING;
    case MsgKind::Error: return IDI_ERROR;
    case MsgKind::Confirm: return IDI_QUESTION;
    case MsgKind::Info: break;
  }
  return IDI_INFORMATION;
}

UINT SoundOf(MsgKind k) {
  switch (k) {
    case MsgKind::Warning: return MB_ICONEXCLAMATION;
    case MsgKind::Error: return MB_ICONHAND;
    case MsgKind::Confirm: return MB_ICONQUESTION;
    case MsgKind::Info: break;
  }
  return MB_ICONASTERISK;
}

SIZE MeasureText(HDC dc, const std::wstring& s, int maxWidth, UINT flags) {
  RECT r{0, 0, maxWidth, 0};
  ::DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, flags | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

HWND AddControl(HWND dlg, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x,
                int y, int w, int h, HFONT font) {
  HWND c = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dlg,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (c && font) ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return c;
}

void Layout(HWND dlg, DialogState& st) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  HMONITOR mon = ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!mon || !::GetMonitorInfoW(mon, &mi))
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
  const RECT work = mi.rcWork;
  const int dpi = mon ? MonitorDpi(mon) : SystemDpi();
  auto S = [dpi](int v96) { return ::MulDiv(v96, dpi, 96); };

  st.font = CreateMessageFont(dpi);
  HFONT font = st.font ? st.font.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));

  const int workW = work.right - work.left, workH = work.bottom - work.top;
  const int iconW = S(::GetSystemMetrics(SM_CXICON) * 96 / SystemDpi());
  const int iconH = S(::GetSystemMetrics(SM_CYICON) * 96 / SystemDpi());
  const int margin = S(kMargin96), iconGap = S(kIconGap96);

  std::vector<MsgButton> kinds;
  for (int i = 0; i < kButtonKinds; ++i)
    if (st.buttons & (1u << i)) kinds.push_back(static_cast<MsgButton>(1u << i));

  SIZE text{}, buttonSize{S(kButtonMinWidth96), S(kButtonHeight96)};
  {
    WindowDc dc(dlg);
    SelectGuard sel(dc.get(), font);
    int maxText = std::max(S(kTextMinWidth96), workW * 5 / 8 - iconW - iconGap - 2 * margin);
    text = MeasureText(dc.get(), st.text, maxText, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    for (MsgButton b : kinds) {
      SIZE c = MeasureText(dc.get(), std::wstring(MessageButtonCaption(b)), 0, DT_SINGLELINE);
      buttonSize.cx = std::max(buttonSize.cx, c.cx + S(kButtonPad96));
    }
  }
  const int gap = S(kButtonGap96);
  const int n = static_cast<int>(kinds.size());
  const int rowW = n * buttonSize.cx + (n - 1) * gap;
  const int contentW = iconW + iconGap + text.cx;
  const int contentH = std::max<int>(iconH, text.cy);
  const int clientW = std::max(contentW, rowW) + 2 * margin;
  const int buttonsY = margin + contentH + S(kTextToButtons96);
  const int clientH = buttonsY + buttonSize.cy + margin;

  HWND icon = AddControl(dlg, L"STATIC", nullptr, SS_ICON, -1, margin, margin, iconW, iconH, nullptr);
  if (icon)
    ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IconOf(st.kind))), 0);
  const int textY = margin + (text.cy < iconH ? (iconH - text.cy) / 2 : 0);
  AddControl(dlg, L"STATIC", st.text.c_str(), SS_LEFT | SS_NOPREFIX, -1, margin + iconW + iconGap,
             textY, text.cx, text.cy, font);

  HWND defButton = nullptr;
  int x = (clientW - rowW) / 2;
  for (int i = 0; i < n; ++i) {
    MsgButton b = kinds[static_cast<size_t>(i)];
    int bit = 0;
    while ((1u << bit) != b) ++bit;
    DWORD style = WS_TABSTOP | (b == st.def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (i == 0 ? WS_GROUP : 0);
    HWND h = AddControl(dlg, L"BUTTON", MessageButtonCaption(b).data(), style, kFirstButtonId + bit,
                        x, buttonsY, buttonSize.cx, buttonSize.cy, font);
    if (b == st.def) defButton = h;
    x += buttonSize.cx + gap;
  }

  const DWORD style = static_cast<DWORD>(::GetWindowLongW(dlg, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(dlg, GWL_EXSTYLE));
  RECT wr{0, 0, clientW, clientH};
  ::AdjustWindowRectEx(&wr, style, FALSE, exStyle);
  const int winW = std::min<int>(wr.right - wr.left, workW);
  const int winH = std::min<int>(wr.bottom - wr.top, workH);
  ::SetWindowPos(dlg, nullptr, work.left + (workW - winW) / 2, work.top + (workH - winH) / 2, winW,
                 winH, SWP_NOZORDER | SWP_NOACTIVATE);

  if (st.escResult == mbNone) {
    // The close box would do nothing; show that it does nothing.
    if (HMENU sys = ::GetSystemMenu(dlg, FALSE)) ::EnableMenuItem(sys, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  }
  if (defButton) {
    ::SendMessageW(dlg, DM_SETDEFID, static_cast<WPARAM>(::GetDlgCtrlID(defButton)), 0);
    ::SetFocus(defButton);
    BOOL snap = FALSE;
    if (::SystemParametersInfoW(SPI_GETSNAPTODEFBUTTON, 0, &snap, 0) && snap) {
      RECT br{};
      ::GetWindowRect(defButton, &br);
      ::SetCursorPos((br.left + br.right) / 2, (br.top + br.bottom) / 2);
    }
  }
}

INT_PTR HandleDialogMessage(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* st = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      ::SetWindowLongPtrW(dlg, DWLP_USER, lp);
      Layout(dlg, *reinterpret_cast<DialogState*>(lp));
      return FALSE;  // focus was set on the default button
    case WM_COMMAND: {
      if (!st) return FALSE;
      int id = LOWORD(wp);
      if (id == IDCANCEL) {
        if (st->escResult != mbNone) ::EndDialog(dlg, st->escResult);
        return TRUE;
      }
      if (id == IDOK) {  // Enter where no default id applies
        ::EndDialog(dlg, st->def);
        return TRUE;
      }
      if (id >= kFirstButtonId && id < kFirstButtonId + kButtonKinds && HIWORD(wp) == BN_CLICKED) {
        ::EndDialog(dlg, static_cast<INT_PTR>(1u << (id - kFirstButtonId)));
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return Guarded([&] { return HandleDialogMessage(dlg, msg, wp, lp); }, [] { return INT_PTR{FALSE}; });
}

// A template with no controls: they are created at WM_INITDIALOG, sized from the text.
std::vector<WORD> BuildTemplate() {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* dt = reinterpret_cast<DLGTEMPLATE*>(t.data());
  dt->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND | DS_3DLOOK;
  dt->dwExtendedStyle = 0;
  dt->cdit = 0;
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard dialog class
  for (const wchar_t* p = kMessageDialogCaption; *p; ++p) t.push_back(static_cast<WORD>(*p));
  t.push_back(0);
  return t;
}

}  // namespace

std::wstring_view MessageButtonCaption(MsgButton b) {
  for (int i = 0; i < kButtonKinds; ++i)
    if (b == (1u << i)) return Tr(kCaptions[i]);
  return {};
}

MsgButton MessageDlg(HWND owner, std::wstring_view text, MsgKind kind, unsigned buttons,
                     MsgButton defaultButton) {
  DialogState st;
  st.text = NormalizeBreaks(text);
  st.kind = kind;
  st.buttons = buttons & ((1u << kButtonKinds) - 1);
  if (st.buttons == 0) st.buttons = mbOK;
  if (defaultButton && (st.buttons & defaultButton) && MessageButtonCaption(defaultButton).size()) {
    st.def = defaultButton;
  } else {
    unsigned first = st.buttons & (~st.buttons + 1);  // lowest set bit
    st.def = static_cast<MsgButton>(first);
  }
  if (st.buttons & mbCancel)
    st.escResult = mbCancel;
  else if ((st.buttons & (st.buttons - 1)) == 0)
    st.escResult = static_cast<MsgButton>(st.buttons);

  std::vector<WORD> tmpl = BuildTemplate();
  ::MessageBeep(SoundOf(kind));
  INT_PTR r = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                        reinterpret_cast<DLGTEMPLATE*>(tmpl.data()), owner,
                                        DialogProc, reinterpret_cast<LPARAM>(&st));
  if (r <= 0) return mbNone;
  return static_cast<MsgButton>(r);
}

}  // namespace viz
