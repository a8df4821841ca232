// The information panel: metrics, layout, rulers, the panel's drawing, the line builder and
// the text and picture copies.
#include <algorithm>
#include <cstring>

#include "app/main_window_win.h"
#include "app/path_rules.h"
#include "app/toolbar_icons_win.h"
#include "capture/view_geometry.h"
#include "info/bitmap_codec.h"
#include "info/clipboard_win.h"
#include "info/file_write_win.h"
#include "info/format.h"
#include "platform/message_dialog_win.h"
#include "platform/shell_open_win.h"
#include "platform/sysfuncs_win.h"

namespace viz {
namespace {

constexpr int kStateIconSize = 14;
constexpr int kStateIconSlot = 16;  // icon plus a gap

SIZE TextSize(HDC dc, std::wstring_view s) {
  SIZE sz{};
  ::GetTextExtentPoint32W(dc, s.data(), static_cast<int>(s.size()), &sz);
  return sz;
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  ::MoveToEx(dc, x0, y0, nullptr);
  ::LineTo(dc, x1, y1);
}

void Text(HDC dc, int x, int y, std::wstring_view s) {
  if (IsWinNT()) {
    ::TextOutW(dc, x, y, s.data(), static_cast<int>(s.size()));
  } else {
    std::string a = WideToAnsi(s);
    ::TextOutA(dc, x, y, a.data(), static_cast<int>(a.size()));
  }
}

}  // namespace

// ---- metrics ---------------------------------------------------------------------------------

void MainWindow::actOpt_BigFontExecute() {
  viewFontPoints_ = cmds_.Checked(Cmd::Opt_BigFont) ? cmds_.Tag(Cmd::Opt_BigFont) : 9;
  LOGFONTW lf{};
  ::GetObjectW(windowFont_.get(), sizeof(lf), &lf);
  lf.lfHeight = -MulDiv(viewFontPoints_, Dpi(), 72);
  viewFont_.reset(::CreateFontIndirectW(&lf));

  WindowDc wdc(hwnd_);
  UniqueDc dc(::CreateCompatibleDC(wdc.get()));
  SelectGuard sel(dc.get(), viewFont_.get());
  const SIZE a = TextSize(dc.get(), L"A");
  FLineHeight = static_cast<int>(a.cy * 1.2) + 1;
  FStatusIconX = TextSize(dc.get(), ZoomLabel(FZoom)).cx + FLineHeight + 4;
  FColumnSeparatorX = TextSize(dc.get(), L"COLORREF").cx + TextSize(dc.get(), L" ").cx / 2;
  if (FViewBitmap) ::SelectObject(FViewBitmap.dc(), viewFont_.get());
  FormResize(Sender::Program);
}

// ---- layout ----------------------------------------------------------------------------------

void MainWindow::FormResize(Sender) {
  if (FTag == 0 || !hwnd_) return;
  FTag = 0;

  // Measure.
  const int H = BuildInfoLines(Cmd::Spc, Sender::None, 0, nullptr, nullptr);

  // The client height follows the panel; the image keeps its height.
  RECT cr;
  ::GetClientRect(hwnd_, &cr);
  int cw = cr.right, ch = cr.bottom + H - (FInfoRect.bottom - FInfoRect.top);
  if (ch - H < 50) ch = H + 50;
  if (cw < 50) cw = 50;
  if (!::IsIconic(hwnd_) && (cw != cr.right || ch != cr.bottom)) {
    RECT wr{0, 0, cw, ch};
    ::AdjustWindowRectEx(&wr, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    ::SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, wr.bottom - wr.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetClientRect(hwnd_, &cr);
    cw = cr.right;
    ch = cr.bottom;
  }
  const int tb = ToolbarHeight();
  FInfoRect.left = 0;
  FInfoRect.right = cw;
  FInfoRect.bottom = std::max<LONG>(ch - tb, 0);
  FInfoRect.top = std::max<LONG>(FInfoRect.bottom - H, 0);

  // The arrow buttons sit at the right end of the status line.
  if (pnlCapture_) {
    // As high as the status line allows, and wide enough for the arrow and the button's edges.
    const int b = std::max(FLineHeight - 2, 8);
    int w = b;
    {
      WindowDc dc(pnlCapture_);
      SelectGuard sel(dc.get(), windowFont_.get());
      for (HWND button : captureButtons_) {
        wchar_t text[8] = {};
        SIZE ext{};
        const int n = ::GetWindowTextW(button, text, 8);
        if (::GetTextExtentPoint32W(dc.get(), text, n, &ext))
          w = std::max<int>(w, ext.cx + 2 * ::GetSystemMetrics(SM_CXEDGE) + 2);
      }
    }
    ::SetWindowPos(pnlCapture_, HWND_TOP, cw - 4 * w - 1, tb + FInfoRect.top + 1, 4 * w, b,
                   SWP_NOACTIVATE);
    for (int i = 0; i < 4; ++i)
      ::SetWindowPos(captureButtons_[i], nullptr, i * w, 0, w, b, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Capture geometry.
  const bool grid = cmds_.Checked(Cmd::Grid_Disp);
  const ViewGeometry g = ComputeViewGeometry(cw, FInfoRect.top, FZoom, grid);
  FRulerWidth = g.rulerWidth;
  FCaptureWidth = g.captureWidth;
  FCaptureHeight = g.captureHeight;
  FCaptureHalfX = g.halfX;
  FCaptureHalfY = g.halfY;
  FCenterCell = POINT{g.centerCell.x, g.centerCell.y};
  FMarkerWidth = g.markerWidth;

  if (FViewBitmap.width() != cw || FViewBitmap.height() != FInfoRect.bottom) {
    if (FViewBitmap.Create(cw, std::max<int>(FInfoRect.bottom, 1))) {
      ::SelectObject(FViewBitmap.dc(), viewFont_ ? viewFont_.get() : windowFont_.get());
      ::SetBkMode(FViewBitmap.dc(), TRANSPARENT);
    }
  }
  if (FCaptureBitmap.width() < FCaptureWidth || FCaptureBitmap.height() < FCaptureHeight)
    EnsureDesktopBitmaps();
  // The status-line icons start after the zoom label of the current zoom.
  if (FViewBitmap) {
    SelectGuard sel(FViewBitmap.dc(), viewFont_.get());
    FStatusIconX = TextSize(FViewBitmap.dc(), ZoomLabel(FZoom)).cx + FLineHeight + 4;
  }
  DrawRulers();

  FTag = 1;
  Timer_InfomationTimer();  // clears the notice and refreshes
}

void MainWindow::DrawRulers() {
  if (!FViewBitmap) return;
  const ViewGeometry g = ComputeViewGeometry(FViewBitmap.width(), FInfoRect.top, FZoom,
                                             cmds_.Checked(Cmd::Grid_Disp));
  const Rulers r = ComputeRulers(g);
  if (!r.shown) return;
  HDC dc = FViewBitmap.dc();
  const int old = ::SetROP2(dc, R2_COPYPEN);
  for (const Rect& strip : {r.topStrip, r.leftStrip}) {
    RECT rc = ToRECT(strip);
    ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  for (const RulerTick& t : r.ticks) {
    UniquePen pen(::CreatePen(PS_SOLID, 1, t.color));
    SelectGuard sel(dc, pen.get());
    Line(dc, t.line.from.x, t.line.from.y, t.line.to.x, t.line.to.y);
  }
  UniquePen red(::CreatePen(PS_SOLID, 1, kRulerMarkerRed));
  UniqueBrush redBrush(::CreateSolidBrush(kRulerMarkerRed));
  SelectGuard sp(dc, red.get()), sb(dc, redBrush.get());
  for (const auto& tri : {r.topMarker, r.leftMarker}) {
    POINT pts[3];
    for (int i = 0; i < 3; ++i) pts[i] = POINT{tri[i].x, tri[i].y};
    ::Polygon(dc, pts, 3);
  }
  ::SetROP2(dc, old);
}

// ---- panel drawing ---------------------------------------------------------------------------

void MainWindow::DrawPanel(HDC dc, bool active) {
  COLORREF back, text, pen;
  if (!active) {
    back = ::GetSysColor(COLOR_BTNFACE);
    text = ::GetSysColor(COLOR_BTNTEXT);
    pen = ::GetSysColor(COLOR_BTNSHADOW);
  } else if (IsPaused()) {
    back = ::GetSysColor(COLOR_INFOBK);
    text = ::GetSysColor(COLOR_INFOTEXT);
    pen = ::GetSysColor(COLOR_BTNFACE);
  } else {
    back = ::GetSysColor(COLOR_WINDOW);
    text = ::GetSysColor(COLOR_WINDOWTEXT);
    pen = ::GetSysColor(COLOR_BTNFACE);
  }
  {
    UniqueBrush b(::CreateSolidBrush(back));
    ::FillRect(dc, &FInfoRect, b.get());
  }
  UniquePen linePen(::CreatePen(PS_SOLID, 1, pen));
  SelectGuard sel(dc, linePen.get());
  SelectGuard selFont(dc, viewFont_.get());
  ::SetTextColor(dc, text);
  ::SetBkMode(dc, TRANSPARENT);
  DrawStatusLine(dc, text, back, pen);

  BuildInfoLines(Cmd::Spc, Sender::Timer, FInfoRect.top + 2, dc, nullptr);

  const int top = FInfoRect.top;
  Line(dc, FColumnSeparatorX, top + FLineHeight + 1, FColumnSeparatorX, FInfoRect.bottom);
  UniquePen shadow(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
  SelectGuard selShadow(dc, shadow.get());
  Line(dc, 0, top, FInfoRect.right, top);
}

void MainWindow::DrawStatusLine(HDC dc, COLORREF, COLORREF, COLORREF pen) {
  const int top = FInfoRect.top;
  if (FStatusMessage.empty()) {
    Text(dc, FLineHeight + 2, top + 2, ZoomLabel(FZoom));
    const bool states[4] = {cmds_.Checked(Cmd::Opt_StayOnTop),
                            cmds_.Checked(Cmd::Opt_SmoothCapture), IsPaused(), IsFixed()};
    for (int i = 0; i < 4; ++i)
      if (states[i])
        DrawStateIcon(dc, FStatusIconX + i * kStateIconSlot, top + 1, kStateIconSize,
                      static_cast<StateIcon>(i));
    if (IsFixed()) {
      std::wstring fixed = FormatW(L"(%d,%d) ", {FCapturePoint.x, FCapturePoint.y});
      Text(dc, FStatusIconX + 4 * kStateIconSlot, top + 2, fixed);
    }
  } else {
    Text(dc, FLineHeight + 2, top + 2, FStatusMessage);
  }
  // Swatch of the centre pixel, framed one pixel outside.
  RECT sw{FInfoRect.left + 2, top + 3, FLineHeight - 2, top + FLineHeight - 2};
  UniqueBrush b(::CreateSolidBrush(FCaptureInfo.ColorRef & 0xFFFFFF));
  ::FillRect(dc, &sw, b.get());
  UniquePen framePen(::CreatePen(PS_SOLID, 1, pen));
  SelectGuard sel(dc, framePen.get());
  POINT frame[5] = {{sw.left - 1, sw.top - 1},
                    {sw.right, sw.top - 1},
                    {sw.right, sw.bottom},
                    {sw.left - 1, sw.bottom},
                    {sw.left - 1, sw.top - 1}};
  ::Polyline(dc, frame, 5);
}

// ---- the line builder ------------------------------------------------------------------------

int MainWindow::BuildInfoLines(Cmd sender, Sender from, int y, HDC drawDc,
                               std::vector<std::wstring>* copyOut) {
  const bool copyMode = copyOut != nullptr && Def(sender).category == kCategoryCopy;
  const bool drawMode = !copyMode && from == Sender::Timer && drawDc;
  y += FLineHeight;
  if (copyMode) {
    *copyOut = CopyLinesFor(sender, FCaptureInfo, IsKeyDown(VK_SHIFT));
    return y;
  }
  for (InfoLine line : VisibleInfoLines(cmds_)) {
    if (drawMode) {
      Line(drawDc, 0, y - 2, FInfoRect.right, y - 2);
      Text(drawDc, 2, y, DisplayLineText(line, FCaptureInfo));
    }
    y += FLineHeight;
  }
  return y;
}

// ---- commands --------------------------------------------------------------------------------

void MainWindow::actInfoOnOff(Cmd c) {
  if (auto g = InfoGroupOfOnOffCommand(c)) ToggleInfoGroup(cmds_, *g);
  cmds_.Touch();
  FormResize(Sender::Program);
}

void MainWindow::actPos_UserPosSetExecute() {
  const bool shift = IsKeyDown(VK_SHIFT), ctrl = IsKeyDown(VK_CONTROL);
  if (shift && ctrl) {
    FCaptureInfo.UserOrigin = InfoPoint{0, 0};
  } else if (ctrl) {
    MoveCursorTo(POINT{FCaptureInfo.UserOrigin.x, FCaptureInfo.UserOrigin.y});
  } else if (!IsPaused() || shift) {
    POINT cur;
    ::GetCursorPos(&cur);
    FCaptureInfo.UserOrigin = InfoPoint{cur.x, cur.y};
    if (!cmds_.Checked(Cmd::Pos_User)) {
      cmds_.SetChecked(Cmd::Pos_User, true);
      FormResize(Sender::Program);
    }
  } else {
    FCaptureInfo.UserOrigin = InfoPoint{FCapturePoint.x, FCapturePoint.y};
  }
  RefreshNow();
}

void MainWindow::ShowNotice(const std::wstring& text) { SetStatusMessage(text); }

// The text file is skipped silently when it cannot be created; the picture file reports every
// failure, so that a copy the user asked to keep is never lost without a word.
void MainWindow::WriteCopyFile(const std::wstring& ext, const std::string& bytes,
                               const wchar_t* failFmt, bool isText) {
  const std::wstring path = ChangeFileExtW(GetExePath(), ext);
  std::wstring error;
  const WriteResult r = WriteWholeFile(path, bytes.data(), bytes.size(), &error);
  if (r == WriteResult::CannotCreate && isText) return;
  if (r != WriteResult::Ok) {
    MessageDlg(hwnd_, FormatW(failFmt, {error}), MsgKind::Error, mbOK, mbOK);
    return;
  }
  // The text file is then opened with its associated program.
  if (isText && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    OpenWithAssociatedProgram(hwnd_, path);
}

void MainWindow::actCopy_TextExecute(Cmd c) {
  std::vector<std::wstring> lines;
  BuildInfoLines(c, Sender::None, 0, nullptr, &lines);
  const JoinedCopy joined = JoinCopyLines(lines);
  const std::wstring caption = Def(c).caption;
  bool copied = true;
  if (!joined.trimmed.empty()) copied = SetClipboardText(hwnd_, joined.trimmed);
  // The notice tells what happened: a clipboard held by another program is not a copy.
  if (copied)
    ShowNotice(CopyNoticeText(caption, joined.text));
  else
    ShowNotice(caption + L"をｺﾋﾟｰできませんでした (クリップボードが使用中です)");
  if (IsKeyDown(VK_CONTROL))
    WriteCopyFile(L".txt", WideToAnsi(joined.text), L"%s\r\rコピー情報を書き込めませんでした", true);
}

void MainWindow::actCopy_PictureExecute() {
  if (!FViewBitmap || FInfoRect.top <= FRulerWidth) return;
  // The image area as the last cycle drew it: picture, grid and marker.
  const int x0 = FRulerWidth, y0 = FRulerWidth;
  const int w = std::min(FCaptureWidth * FZoom, FViewBitmap.width() - x0);
  const int h = std::min(FCaptureHeight * FZoom, static_cast<int>(FInfoRect.top) - y0);
  if (w <= 0 || h <= 0) return;
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    std::copy_n(FViewBitmap.bits() + static_cast<size_t>(y + y0) * FViewBitmap.width() + x0, w,
                px.begin() + static_cast<size_t>(y) * w);
  const std::vector<uint8_t> dib = EncodeDib24(px, w, h);
  const std::wstring caption = Def(Cmd::Copy_Picture).caption;
  BITMAPINFOHEADER bih{};
  std::memcpy(&bih, dib.data(), sizeof(bih));
  if (SetClipboardDib(hwnd_, bih, dib.data() + sizeof(bih), dib.size() - sizeof(bih)))
    ShowNotice(CopyNoticeText(caption, FormatW(L"%dx%d", {w, h})));
  else
    ShowNotice(caption + L"をｺﾋﾟｰできませんでした (クリップボードが使用中です)");
  if (IsKeyDown(VK_CONTROL)) {
    const std::vector<uint8_t> file = EncodeBmpFile(px, w, h);
    WriteCopyFile(L".bmp", std::string(file.begin(), file.end()),
                  L"%s\r\rコピー画像を書き込めませんでした", false);
  }
}

}  // namespace viz
