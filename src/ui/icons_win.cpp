#include "ui/icons_win.h"

#include "ui/handle_win.h"

namespace viz {
namespace {

constexpr COLORREF kMaskColor = RGB(255, 0, 255);

// Unit coordinates (0..16) scaled to the icon size.
struct Painter {
  HDC dc;
  int size;
  int S(int v) const { return MulDiv(v, size, 16); }
  void Fill(int l, int t, int r, int b, COLORREF c) const {
    RECT rc{S(l), S(t), S(r), S(b)};
    UniqueBrush br(::CreateSolidBrush(c));
    ::FillRect(dc, &rc, br.get());
  }
  void Frame(int l, int t, int r, int b, COLORREF c) const {
    Fill(l, t, r, t + 1, c);
    Fill(l, b - 1, r, b, c);
    Fill(l, t, l + 1, b, c);
    Fill(r - 1, t, r, b, c);
  }
  void Disc(int l, int t, int r, int b, COLORREF fill, COLORREF edge) const {
    UniqueBrush br(::CreateSolidBrush(fill));
    UniquePen pen(::CreatePen(PS_SOLID, 1, edge));
    SelectGuard sb(dc, br.get()), sp(dc, pen.get());
    ::Ellipse(dc, S(l), S(t), S(r), S(b));
  }
};

void PaintToolIcon(const Painter& p, int icon) {
  const COLORREF ink = RGB(40, 40, 40);
  switch (icon) {
    case kIconPause:
      p.Fill(4, 3, 7, 13, RGB(30, 60, 160));
      p.Fill(9, 3, 12, 13, RGB(30, 60, 160));
      break;
    case kIconFixed:  // a target: the fixed capture point
      p.Disc(2, 2, 14, 14, RGB(255, 255, 255), RGB(200, 0, 0));
      p.Disc(5, 5, 11, 11, RGB(200, 0, 0), RGB(200, 0, 0));
      p.Fill(7, 0, 9, 3, ink);
      p.Fill(7, 13, 9, 16, ink);
      p.Fill(0, 7, 3, 9, ink);
      p.Fill(13, 7, 16, 9, ink);
      break;
    case kIconGrid:
      p.Fill(2, 2, 14, 14, RGB(255, 255, 255));
      for (int i = 2; i <= 13; i += 4) {
        p.Fill(i, 2, i + 1, 14, RGB(120, 120, 120));
        p.Fill(2, i, 14, i + 1, RGB(120, 120, 120));
      }
      p.Fill(6, 2, 7, 14, RGB(0, 0, 230));
      p.Fill(2, 6, 14, 7, RGB(0, 0, 230));
      p.Frame(1, 1, 15, 15, ink);
      break;
    case kIconColor:
      p.Fill(1, 3, 6, 13, RGB(230, 0, 0));
      p.Fill(6, 3, 11, 13, RGB(0, 180, 0));
      p.Fill(11, 3, 16, 13, RGB(0, 60, 230));
      p.Frame(1, 3, 16, 13, ink);
      break;
    case kIconPos:  // a cross-hair with coordinates ticks
      p.Fill(7, 1, 9, 6, ink);
      p.Fill(7, 10, 9, 15, ink);
      p.Fill(1, 7, 6, 9, ink);
      p.Fill(10, 7, 15, 9, ink);
      p.Fill(7, 7, 9, 9, RGB(220, 0, 0));
      break;
    case kIconWinInfo:
      p.Fill(1, 2, 15, 14, RGB(255, 255, 255));
      p.Fill(1, 2, 15, 5, RGB(30, 80, 180));
      p.Frame(1, 2, 15, 14, ink);
      p.Fill(3, 7, 11, 8, ink);
      p.Fill(3, 10, 9, 11, ink);
      break;
    case kIconOpt:  // a gear
      p.Disc(2, 2, 14, 14, RGB(150, 150, 150), ink);
      p.Fill(7, 0, 9, 3, ink);
      p.Fill(7, 13, 9, 16, ink);
      p.Fill(0, 7, 3, 9, ink);
      p.Fill(13, 7, 16, 9, ink);
      p.Disc(5, 5, 11, 11, RGB(255, 255, 255), ink);
      break;
    default:
      break;
  }
}

}  // namespace

HIMAGELIST CreateToolbarImageList(int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kToolIconCount, 0);
  if (!list) return nullptr;
  WindowDc screen(nullptr);
  UniqueDc dc(::CreateCompatibleDC(screen.get()));
  for (int i = 0; i < kToolIconCount; ++i) {
    UniqueBitmap bmp(::CreateCompatibleBitmap(screen.get(), size, size));
    {
      SelectGuard sel(dc.get(), bmp.get());
      Painter p{dc.get(), size};
      RECT all{0, 0, size, size};
      UniqueBrush mask(::CreateSolidBrush(kMaskColor));
      ::FillRect(dc.get(), &all, mask.get());
      PaintToolIcon(p, i);
    }
    ImageList_AddMasked(list, bmp.get(), kMaskColor);
  }
  return list;
}

void DrawStateIcon(HDC dc, int x, int y, int size, StateIcon icon) {
  // Drawn into a small offset viewport so the 16-unit painter works at 14 px too.
  POINT old;
  ::SetViewportOrgEx(dc, x, y, &old);
  Painter p{dc, size * 16 / 14};
  switch (icon) {
    case kStateStayOnTop:  // a pin
      p.Disc(4, 1, 12, 8, RGB(220, 0, 0), RGB(120, 0, 0));
      p.Fill(7, 7, 9, 14, RGB(60, 60, 60));
      break;
    case kStateSmooth:  // two speed chevrons
      for (int dx : {1, 7}) {
        p.Fill(dx, 3, dx + 2, 5, RGB(0, 120, 0));
        p.Fill(dx + 2, 5, dx + 4, 7, RGB(0, 120, 0));
        p.Fill(dx + 2, 7, dx + 4, 9, RGB(0, 120, 0));
        p.Fill(dx, 9, dx + 2, 11, RGB(0, 120, 0));
      }
      break;
    case kStatePause:
      PaintToolIcon(p, kIconPause);
      break;
    case kStateFixed:
      PaintToolIcon(p, kIconFixed);
      break;
  }
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

}  // namespace viz
