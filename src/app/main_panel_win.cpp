// The window's layout around the information panel: metrics, layout, rulers, and the text and
// picture copies.
#include <algorithm>
#include <cstring>

#include "app/main_window_win.h"
#include "capture/view_geometry.h"
#include "info/bitmap_codec.h"
#include "info/clipboard_win.h"
#include "info/file_write_win.h"
#include "base/format.h"
#include "platform/message_dialog_win.h"
#include "platform/path_rules.h"
#include "platform/shell_open_win.h"
#include "platform/sysfuncs_win.h"
#include "platform/text_convert_win.h"

namespace viz {

// ---- metrics ---------------------------------------------------------------------------------

void MainWindow::actOpt_BigFontExecute() {
  const int points = cmds_.Checked(Cmd::Opt_BigFont) ? cmds_.Tag(Cmd::Opt_BigFont) : 9;
  WindowDc wdc(hwnd_);
  UniqueDc dc(::CreateCompatibleDC(wdc.get()));
  panel_.SetFont(points, Dpi(), dc.get());
  FormResize(Sender::Program);
}

// ---- layout ----------------------------------------------------------------------------------

void MainWindow::FormResize(Sender) {
  if (FTag == 0 || !hwnd_) return;
  FTag = 0;

  // Measure.
  const int H = panel_.Height(cmds_);

  // The client height follows the panel; the image keeps its height.
  RECT cr;
  ::GetClientRect(hwnd_, &cr);
  const RECT old = panel_.PanelRect();
  int cw = cr.right, ch = cr.bottom + H - (old.bottom - old.top);
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
  RECT info;
  info.left = 0;
  info.right = cw;
  info.bottom = std::max<LONG>(ch - tb, 0);
  info.top = std::max<LONG>(info.bottom - H, 0);
  panel_.SetPanelRect(info);

  // The arrow buttons sit at the right end of the status line, as high as it allows.
  capturePanel_.Layout(cw - 1, tb + info.top + 1, std::max(panel_.LineHeight() - 2, 8),
                       windowFont_.get());

  // Capture geometry.
  view_.Layout(cw, info.top, cmds_.Checked(Cmd::Grid_Disp));
  const ViewGeometry& g = view_.geometry;

  if (FViewBitmap.width() != cw || FViewBitmap.height() != info.bottom)
    FViewBitmap.Create(cw, std::max<int>(info.bottom, 1));
  if (FViewBitmap) panel_.SetZoomLabel(view_.FZoom, FViewBitmap.dc());
  engine_.EnsureCaptureRoom(SIZE{g.captureWidth, g.captureHeight});
  DrawRulers();
  // Everything is drawn and painted anew by the next cycle.
  engine_.ForgetImage();
  panel_.Forget();
  timer_.paintAll = true;

  FTag = 1;
  Timer_InfomationTimer();  // clears the notice and refreshes
}

void MainWindow::DrawRulers() {
  if (!FViewBitmap) return;
  const Rulers r = ComputeRulers(view_.geometry);
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
    ::MoveToEx(dc, t.line.from.x, t.line.from.y, nullptr);
    ::LineTo(dc, t.line.to.x, t.line.to.y);
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

void MainWindow::DrawPanel(HDC dc, bool active, std::vector<RECT>* dirty) {
  InfoPanel::Status s;
  s.active = active;
  s.paused = IsPaused();
  s.stayOnTop = cmds_.Checked(Cmd::Opt_StayOnTop);
  s.smooth = cmds_.Checked(Cmd::Opt_SmoothCapture);
  s.fixed = IsFixed();
  s.fixedPoint = view_.CapturePoint();
  s.zoom = view_.FZoom;
  panel_.Draw(dc, s, FCaptureInfo, cmds_, Dpi(), dirty);
}

// ---- commands --------------------------------------------------------------------------------

void MainWindow::actInfoOnOff(Cmd c) {
  if (auto g = InfoGroupOfOnOffCommand(c)) ToggleInfoGroup(cmds_, *g);
  FormResize(Sender::Program);
}

void MainWindow::actPos_UserPosSetExecute() {
  const bool shift = IsKeyDown(VK_SHIFT), ctrl = IsKeyDown(VK_CONTROL);
  if (shift && ctrl) {
    FCaptureInfo.UserOrigin = Point{0, 0};
  } else if (ctrl) {
    MoveCursorTo(POINT{FCaptureInfo.UserOrigin.x, FCaptureInfo.UserOrigin.y});
  } else if (!IsPaused() || shift) {
    POINT cur;
    ::GetCursorPos(&cur);
    FCaptureInfo.UserOrigin = ToPoint(cur);
    if (!cmds_.Checked(Cmd::Pos_User)) {
      cmds_.SetChecked(Cmd::Pos_User, true);
      FormResize(Sender::Program);
    }
  } else {
    FCaptureInfo.UserOrigin = view_.CapturePoint();
  }
  RefreshNow();
}

// The text file is skipped silently when it cannot be created; the picture file reports every
// failure, so that a copy the user asked to keep is never lost without a word.
void MainWindow::WriteCopyFile(const std::wstring& ext, const std::string& bytes,
                               std::wstring_view failFmt, bool isText) {
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

// A copy makes every text it shows or writes before it touches the clipboard: one that fails
// on the way has changed nothing.
void MainWindow::actCopy_TextExecute(Cmd c) {
  const JoinedCopy joined = JoinCopyLines(CopyLinesFor(c, FCaptureInfo, IsKeyDown(VK_SHIFT)));
  const std::wstring caption = CaptionWithoutAccel(CaptionOf(c));
  const std::wstring done = CopyNoticeText(caption, joined.text);
  const std::wstring failed = FormatW(Tr(Text::CopyFailed), {caption});
  const bool toFile = IsKeyDown(VK_CONTROL);
  const std::string fileBytes = toFile ? WideToAnsi(joined.text) : std::string();
  bool copied = true;
  if (!joined.trimmed.empty()) copied = SetClipboardText(hwnd_, joined.trimmed);
  // The notice tells what happened: a clipboard held by another program is not a copy.
  ShowNotice(copied ? done : failed);
  if (toFile) WriteCopyFile(L".txt", fileBytes, Tr(Text::TextFileFailed), true);
}

void MainWindow::actCopy_PictureExecute() {
  const ViewGeometry& g = view_.geometry;
  const int top = panel_.PanelRect().top;
  if (!FViewBitmap || top <= g.rulerWidth) return;
  // The image area as the last cycle drew it: picture, grid and marker.
  const int x0 = g.rulerWidth, y0 = g.rulerWidth;
  const int w = std::min(g.destWidth, FViewBitmap.width() - x0);
  const int h = std::min(g.destHeight, top - y0);
  if (w <= 0 || h <= 0) return;
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    std::copy_n(FViewBitmap.bits() + static_cast<size_t>(y + y0) * FViewBitmap.width() + x0, w,
                px.begin() + static_cast<size_t>(y) * w);
  const std::vector<uint8_t> dib = EncodeDib24(px, w, h);
  const std::wstring caption = CaptionWithoutAccel(CaptionOf(Cmd::Copy_Picture));
  const std::wstring done = CopyNoticeText(caption, FormatW(L"%dx%d", {w, h}));
  const std::wstring failed = FormatW(Tr(Text::CopyFailed), {caption});
  const bool toFile = IsKeyDown(VK_CONTROL);
  std::string fileBytes;
  if (toFile) {
    const std::vector<uint8_t> file = EncodeBmpFile(px, w, h);
    fileBytes.assign(file.begin(), file.end());
  }
  BITMAPINFOHEADER bih{};
  std::memcpy(&bih, dib.data(), sizeof(bih));
  const bool copied = SetClipboardDib(hwnd_, bih, dib.data() + sizeof(bih), dib.size() - sizeof(bih));
  ShowNotice(copied ? done : failed);
  if (toFile) WriteCopyFile(L".bmp", fileBytes, Tr(Text::ImageFileFailed), false);
}

}  // namespace viz
