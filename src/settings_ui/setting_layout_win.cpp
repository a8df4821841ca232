// Building the settings and version window: fonts, the two pages and their controls, and the
// layout, all measured from the system's message font at the window's DPI.
#include "settings_ui/setting_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "commands/command_host.h"
#include "platform/dpi_win.h"
#include "platform/sysfuncs_win.h"
#include "settings_ui/file_version_win.h"

namespace viz {
namespace {

constexpr const wchar_t* kTitle = L"vizmoria";
constexpr DWORD kEtdtEnableTab = 0x6;  // ETDT_ENABLE | ETDT_USETABTEXTURE

// Dialog base units of the selected font: DLU to pixels as the dialog manager converts them.
struct BaseUnits {
  int cx = 6, cy = 13;
  int X(int dlu) const { return MulDiv(dlu, cx, 4); }
  int Y(int dlu) const { return MulDiv(dlu, cy, 8); }
};

BaseUnits MeasureBaseUnits(HDC dc) {
  BaseUnits u;
  TEXTMETRICW tm{};
  SIZE sz{};
  static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  if (::GetTextMetricsW(dc, &tm) && tm.tmHeight > 0) u.cy = tm.tmHeight;
  if (::GetTextExtentPoint32W(dc, kAlphabet, 52, &sz) && sz.cx > 0) u.cx = (sz.cx / 26 + 1) / 2;
  return u;
}

// The themed tab body behind a page, where the system draws one; a plain dialog face otherwise.
void EnableTabTexture(HWND page) {
  UniqueLibrary ux(LoadSystemLibrary(L"uxtheme.dll"));
  if (!ux) return;
  using Fn = HRESULT(WINAPI*)(HWND, DWORD);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(ux.get(), "EnableThemeDialogTexture")));
  if (fn) fn(page, kEtdtEnableTab);
}

struct ControlFonts {
  HFONT normal, title, link;
  HWND titleWnd, linkWnd;
};

BOOL CALLBACK SetControlFont(HWND w, LPARAM lp) {
  const auto* f = reinterpret_cast<const ControlFonts*>(lp);
  HFONT use = w == f->titleWnd ? f->title : w == f->linkWnd ? f->link : f->normal;
  ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(use), FALSE);
  return TRUE;
}

}  // namespace

int SettingWindow::Dpi() const { return WindowDpi(owner_ ? owner_ : hwnd_); }

void SettingWindow::CreateFonts(int dpi) {
  LOGFONTW lf{};
  if (!MessageFontAt(dpi, &lf)) {
    lf.lfHeight = -MulDiv(9, dpi, 72);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(lf.lfFaceName, L"MS UI Gothic", LF_FACESIZE);
  }
  UniqueFont font(::CreateFontIndirectW(&lf));
  LOGFONTW big = lf;
  big.lfHeight = lf.lfHeight * 3 / 2;
  big.lfWeight = FW_BOLD;
  UniqueFont title(::CreateFontIndirectW(&big));
  LOGFONTW under = lf;
  under.lfUnderline = TRUE;
  UniqueFont link(::CreateFontIndirectW(&under));
  if (!font) return;  // keep what there is

  // Controls that exist take the new fonts before the old ones are deleted.
  if (hwnd_) {
    ControlFonts f{font.get(), title ? title.get() : font.get(),
                   link ? link.get() : font.get(), title_, linkIsSysLink_ ? nullptr : link_};
    ::EnumChildWindows(hwnd_, SetControlFont, reinterpret_cast<LPARAM>(&f));
  }
  font_ = std::move(font);
  titleFont_ = std::move(title);
  linkFont_ = std::move(link);

  const int iconSize = MulDiv(32, dpi, 96);
  UniqueIcon icon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON",
                                                  IMAGE_ICON, iconSize, iconSize, 0)));
  if (iconStatic_) ::SendMessageW(iconStatic_, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  icon_ = std::move(icon);
}

HWND SettingWindow::CreatePage(int id) {
  // An empty child dialog: the dialog manager then handles navigation inside it, and the
  // themed tab texture applies to it.
  struct alignas(4) Template {
    DLGTEMPLATE t;
    WORD menu, windowClass, title;
  } tmpl{};
  tmpl.t.style = WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL | DS_3DLOOK;
  HWND page = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tmpl.t, hwnd_, PageProc,
                                           reinterpret_cast<LPARAM>(this));
  if (!page) return nullptr;
  ::SetWindowLongPtrW(page, GWLP_ID, id);
  EnableTabTexture(page);
  return page;
}

HWND SettingWindow::AddControl(HWND parent, const wchar_t* cls, std::wstring_view text,
                               DWORD style, int id, HFONT font) {
  const std::wstring caption(text);
  HWND w = ::CreateWindowExW(0, cls, caption.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (w) ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : font_.get()), FALSE);
  return w;
}

void SettingWindow::BuildSettingPage() {
  const auto& groups = SettingGroups();
  const auto& items = SettingItems();
  checks_.assign(items.size(), nullptr);
  for (size_t gi = 0; gi < groups.size(); ++gi) {
    // The frame before its boxes, as a dialog template lists it.
    groups_[gi] = AddControl(pageSetting_, WC_BUTTONW, Tr(groups[gi].caption), BS_GROUPBOX,
                             kIdGroupBase + static_cast<int>(gi));
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i].group != groups[gi].group) continue;
      checks_[i] = AddControl(pageSetting_, WC_BUTTONW, CaptionOf(items[i].cmd),
                              WS_TABSTOP | BS_CHECKBOX, IdFromCommand(items[i].cmd));
    }
  }
}

void SettingWindow::BuildHelpPage() {
  iconStatic_ = AddControl(pageHelp_, WC_STATICW, L"", SS_ICON | SS_CENTERIMAGE, kIdIcon);
  if (iconStatic_ && icon_)
    ::SendMessageW(iconStatic_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
  title_ = AddControl(pageHelp_, WC_STATICW, kTitle, SS_LEFT | SS_NOPREFIX, kIdTitle,
                      titleFont_ ? titleFont_.get() : nullptr);
  versionLabel_ = AddControl(pageHelp_, WC_STATICW, VersionCaption(version_),
                             SS_LEFT | SS_NOPREFIX, kIdVersion);
  const std::wstring markup = std::wstring(Tr(Text::HelpLinkLabel)) + L"<a>" + HelpLinkText() + L"</a>";
  link_ = AddControl(pageHelp_, WC_LINK, markup, WS_TABSTOP, kIdHelpLink);
  linkIsSysLink_ = link_ != nullptr;
  if (!link_) {
    // Without SysLink: a static that looks and acts like a link.
    link_ = AddControl(pageHelp_, WC_STATICW, HelpLinkText(), SS_LEFT | SS_NOPREFIX | SS_NOTIFY,
                       kIdHelpLink, linkFont_ ? linkFont_.get() : nullptr);
  }
}

int SettingWindow::TextWidth(HDC dc, HFONT font, std::wstring_view text) const {
  SelectGuard sel(dc, font);
  RECT r{0, 0, 0, 0};
  // DT_CALCRECT honours "&": the width is that of the text as the control draws it.
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

SettingMetrics SettingWindow::Metrics(HDC dc) const {
  const BaseUnits u = MeasureBaseUnits(dc);
  SettingMetrics m;
  // The box glyph is 13 pixels at 96 DPI; the text starts a few pixels after it.
  m.checkWidth = MulDiv(13, dpi_, 96) + u.X(3) + u.X(2);
  m.rowHeight = u.Y(12);
  m.groupHead = u.Y(11);
  m.groupFoot = u.Y(5);
  m.groupPadX = u.X(7);
  m.groupGap = u.Y(5);
  m.columnGap = u.X(7);
  m.margin = u.X(7);
  return m;
}

void SettingWindow::Layout() {
  if (!hwnd_ || !tab_ || !font_) return;
  WindowDc dc(hwnd_);
  if (!dc) return;
  SelectGuard sel(dc.get(), font_.get());
  const BaseUnits u = MeasureBaseUnits(dc.get());
  const SettingMetrics m = Metrics(dc.get());

  // ---- settings page
  const auto& items = SettingItems();
  const auto& groups = SettingGroups();
  std::vector<int> widths(items.size());
  std::vector<bool> visible(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    widths[i] = TextWidth(dc.get(), font_.get(), CaptionOf(items[i].cmd));
    visible[i] = i < shown_.size() && shown_[i];
  }
  std::array<int, kSettingGroupCount> captionWidths{};
  for (size_t gi = 0; gi < groups.size(); ++gi)
    captionWidths[gi] = TextWidth(dc.get(), font_.get(), Tr(groups[gi].caption));
  const SettingLayout lay = LayoutSettingPage(m, widths, visible, captionWidths);
  auto place = [](HWND w, const Rect& r) {
    if (!w) return;
    if (r.empty()) {
      ::ShowWindow(w, SW_HIDE);
      return;
    }
    ::SetWindowPos(w, nullptr, r.left, r.top, r.width(), r.height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  };
  for (size_t gi = 0; gi < groups.size(); ++gi) place(groups_[gi], lay.groups[gi]);
  for (size_t i = 0; i < items.size(); ++i) place(checks_[i], lay.items[i]);

  // ---- version page: icon left, texts beside it
  const int iconSize = MulDiv(32, dpi_, 96);
  const int x0 = m.margin, y0 = u.Y(10);
  const int x1 = x0 + iconSize + u.X(10);
  int titleH = u.cy;
  {
    SelectGuard t(dc.get(), titleFont_ ? titleFont_.get() : font_.get());
    TEXTMETRICW tm{};
    if (::GetTextMetricsW(dc.get(), &tm)) titleH = tm.tmHeight;
  }
  const int titleW = TextWidth(dc.get(), titleFont_ ? titleFont_.get() : font_.get(), kTitle);
  const int versionW = TextWidth(dc.get(), font_.get(), VersionCaption(version_));
  const std::wstring linkText =
      linkIsSysLink_ ? std::wstring(Tr(Text::HelpLinkLabel)) + HelpLinkText() : HelpLinkText();
  const int linkW = TextWidth(dc.get(), font_.get(), linkText) + u.X(2);
  const int versionY = y0 + titleH + u.Y(4);
  const int linkY = versionY + u.cy + u.Y(14);
  const int helpW = x1 + std::max({titleW, versionW, linkW}) + m.margin;
  const int helpH = linkY + u.cy + m.margin;
  place(iconStatic_, Rect::OfSize(x0, y0, iconSize, iconSize));
  place(title_, Rect::OfSize(x1, y0, titleW + u.X(2), titleH));
  place(versionLabel_, Rect::OfSize(x1, versionY, versionW + u.X(2), u.cy));
  place(link_, Rect::OfSize(x1, linkY, linkW, u.cy));

  // ---- the tab around the larger page, the close button under it
  const int pageW = std::max(lay.width, helpW), pageH = std::max(lay.height, helpH);
  RECT tr{0, 0, pageW, pageH};
  TabCtrl_AdjustRect(tab_, TRUE, &tr);
  const int tabW = tr.right - tr.left, tabH = tr.bottom - tr.top;
  const int mx = u.X(7), my = u.Y(7);
  ::SetWindowPos(tab_, nullptr, mx, my, tabW, tabH, SWP_NOZORDER | SWP_NOACTIVATE);
  for (HWND page : {pageSetting_, pageHelp_})
    ::SetWindowPos(page, nullptr, mx - tr.left, my - tr.top, pageW, pageH,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  const int bw = std::max(u.X(50), TextWidth(dc.get(), font_.get(), Tr(Text::Button_Close)) + u.X(12));
  const int bh = u.Y(14);
  const int by = my + tabH + u.Y(7);
  ::SetWindowPos(close_, nullptr, mx + tabW - bw, by, bw, bh, SWP_NOZORDER | SWP_NOACTIVATE);

  RECT wr{0, 0, 2 * mx + tabW, by + bh + my};
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  AdjustWindowRectForDpi(&wr, style, exStyle, dpi_);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, wr.bottom - wr.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void SettingWindow::PlaceNearOwner(int width, int height) {
  RECT owner{};
  if (!owner_ || !::GetWindowRect(owner_, &owner)) return;
  // On the monitor under the cursor: where the user is looking.
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const HMONITOR mon = ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!::GetMonitorInfoW(mon, &mi)) return;
  const RECT& work = mi.rcWork;
  int x, y;
  if (::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST) == mon) {
    // Beside the magnifier, so that what a check box changes stays in view; right side first.
    x = owner.right;
    if (x + width > work.right) x = owner.left - width;
    if (x < work.left) x = owner.left + ((owner.right - owner.left) - width) / 2;
    y = owner.top;
  } else {
    x = work.left + ((work.right - work.left) - width) / 2;
    y = work.top + ((work.bottom - work.top) - height) / 2;
  }
  x = std::clamp(x, static_cast<int>(work.left), std::max<int>(work.left, work.right - width));
  y = std::clamp(y, static_cast<int>(work.top), std::max<int>(work.top, work.bottom - height));
  ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace viz
