#include "info/window_ident_win.h"

#include <algorithm>

#include "info/window_frame.h"
#include "platform/sysfuncs_win.h"
#include "ui/handle_win.h"

namespace viz {
namespace {

constexpr int kMaxDepth = 64;          // window trees deeper than this are cut off
constexpr int kMaxSiblings = 20000;    // guards z-order walks against lists that keep changing
constexpr size_t kMaxSnapshotWindows = 30000;
constexpr int kMaxOwnerChain = 32;
constexpr size_t kMaxRegionRects = 65536;  // a window region kept in a snapshot (1 MB)

struct HitData {
  LONG style = 0;
  LONG exStyle = 0;
  RECT window{};
  RECT client{};  // screen coordinates
};

// The per-window part of WindowFromPoint's rules (the region is asked only once the rectangle hit).
template <typename RegionTest>
bool AcceptsPoint(const HitData& d, POINT pt, RegionTest inRegion) {
  if (!(d.style & WS_VISIBLE)) return false;
  if ((d.style & (WS_POPUP | WS_CHILD | WS_DISABLED)) == (WS_CHILD | WS_DISABLED)) return false;
  if ((d.exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT))
    return false;
  if (!::PtInRect(&d.window, pt)) return false;
  return inRegion(POINT{pt.x - d.window.left, pt.y - d.window.top});
}

bool EntersChildren(const HitData& d, POINT pt) {
  return !(d.style & (WS_MINIMIZE | WS_DISABLED)) && ::PtInRect(&d.client, pt);
}

// The deepest window under pt, starting at an accepted window. View supplies the tree.
template <typename View>
typename View::Ref Descend(const View& v, typename View::Ref w, POINT pt) {
  for (int depth = 0; depth < kMaxDepth; ++depth) {
    HitData d;
    if (!v.Data(w, &d) || !EntersChildren(d, pt)) return w;
    typename View::Ref hit = v.FirstChildWhere(w, [&](typename View::Ref c) {
      HitData cd;
      return v.Data(c, &cd) && AcceptsPoint(cd, pt, [&](POINT rel) { return v.InRegion(c, rel); });
    });
    if (!hit) return w;
    w = hit;
  }
  return w;
}

template <typename View>
typename View::Ref HitTest(const View& v, POINT pt, HWND self, bool skipSelf) {
  typename View::Ref top = v.FirstTopWhere([&](typename View::Ref t) {
    if (skipSelf && self && v.IsSelfOrOwned(t, self)) return false;
    HitData d;
    return v.Data(t, &d) && AcceptsPoint(d, pt, [&](POINT rel) { return v.InRegion(t, rel); });
  });
  if (top) return Descend(v, top, pt);
  return v.DesktopAt(pt);
}

bool IsSelfOrOwnedLive(HWND w, HWND self) {
  HWND r = ::GetAncestor(w, GA_ROOT);
  for (int i = 0; r && i < kMaxOwnerChain; ++i) {
    if (r == self) return true;
    r = ::GetWindow(r, GW_OWNER);
  }
  return false;
}

bool LiveData(HWND w, HitData* d) {
  if (!::GetWindowRect(w, &d->window)) return false;
  d->style = ::GetWindowLongW(w, GWL_STYLE);
  d->exStyle = ::GetWindowLongW(w, GWL_EXSTYLE);
  ::GetClientRect(w, &d->client);
  ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&d->client), 2);
  return true;
}

// The window region in window coordinates; false when the window has none.
bool ReadRegion(HWND w, std::vector<RECT>* rects) {
  UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
  if (!rgn) return false;
  int kind = ::GetWindowRgn(w, rgn.get());
  if (kind == ERROR) return false;
  rects->clear();
  if (kind == NULLREGION) return true;
  // Another program chose the region: one too complex to keep whole is kept as its bounds.
  DWORD bytes = ::GetRegionData(rgn.get(), 0, nullptr);
  const size_t most = sizeof(RGNDATAHEADER) + kMaxRegionRects * sizeof(RECT);
  if (bytes < sizeof(RGNDATAHEADER) || bytes > most) {
    RECT box{};
    if (::GetRgnBox(rgn.get(), &box) != ERROR) rects->push_back(box);
    return true;
  }
  std::vector<unsigned char> buf(bytes);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  if (::GetRegionData(rgn.get(), bytes, data) != bytes) return true;
  const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
  const size_t room = (bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT);
  rects->assign(r, r + std::min<size_t>(data->rdh.nCount, room));
  return true;
}

bool InRects(const std::vector<RECT>& rects, POINT p) {
  for (const RECT& r : rects)
    if (::PtInRect(&r, p)) return true;
  return false;
}

// The live window tree, walked through GetWindow in z-order.
struct LiveView {
  using Ref = HWND;
  bool Data(HWND w, HitData* d) const { return LiveData(w, d); }
  bool InRegion(HWND w, POINT rel) const {
    UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
    if (!rgn || ::GetWindowRgn(w, rgn.get()) == ERROR) return true;  // no region: whole rect
    return ::PtInRegion(rgn.get(), rel.x, rel.y) != FALSE;
  }
  bool IsSelfOrOwned(HWND w, HWND self) const { return IsSelfOrOwnedLive(w, self); }
  template <typename Pred>
  static HWND Walk(HWND first, Pred pred) {
    int n = 0;
    for (HWND w = first; w && n < kMaxSiblings; w = ::GetWindow(w, GW_HWNDNEXT), ++n)
      if (pred(w)) return w;
    return nullptr;
  }
  template <typename Pred>
  HWND FirstTopWhere(Pred pred) const { return Walk(::GetTopWindow(nullptr), pred); }
  template <typename Pred>
  HWND FirstChildWhere(HWND parent, Pred pred) const {
    return Walk(::GetWindow(parent, GW_CHILD), pred);
  }
  HWND DesktopAt(POINT pt) const {
    HWND d = ::GetDesktopWindow();
    RECT r{};
    return d && ::GetWindowRect(d, &r) && ::PtInRect(&r, pt) ? d : nullptr;
  }
};

// A recorded tree.
struct SnapshotView {
  using Ref = const T_WinNode*;
  const std::vector<T_WinNode>& tops;
  const T_WinNode* desktop;
  bool Data(Ref n, HitData* d) const {
    *d = HitData{n->style, n->exStyle, n->hitRect, n->clientScreen};
    return true;
  }
  bool InRegion(Ref n, POINT rel) const { return !n->hasRegion || InRects(n->region, rel); }
  bool IsSelfOrOwned(Ref n, HWND self) const {
    if (n->item.hwnd == self) return true;
    for (HWND o : n->owners)
      if (o == self) return true;
    return false;
  }
  template <typename Pred>
  static Ref Walk(const std::vector<T_WinNode>& list, Pred pred) {
    for (const T_WinNode& n : list)
      if (pred(&n)) return &n;
    return nullptr;
  }
  template <typename Pred>
  Ref FirstTopWhere(Pred pred) const { return Walk(tops, pred); }
  template <typename Pred>
  Ref FirstChildWhere(Ref parent, Pred pred) const { return Walk(parent->children, pred); }
  Ref DesktopAt(POINT pt) const {
    return desktop && ::PtInRect(&desktop->hitRect, pt) ? desktop : nullptr;
  }
};

// One level of the tree in z-order, from `first` on. Taken whole before any window of it is
// recorded: recording asks other programs for texts, and a window that goes meanwhile would end
// a walk from it to the next.
std::vector<HWND> Level(HWND first) {
  std::vector<HWND> level;
  for (HWND w = first; w && level.size() < static_cast<size_t>(kMaxSiblings);
       w = ::GetWindow(w, GW_HWNDNEXT))
    level.push_back(w);
  return level;
}

// Records a window and its visible children; false when the window went away meanwhile.
bool Record(HWND w, int depth, size_t* budget, T_WinNode* out) {
  HitData d;
  if (*budget == 0 || !LiveData(w, &d) || !DescribeWindow(w, &out->item)) return false;
  --*budget;
  out->style = d.style;
  out->exStyle = d.exStyle;
  out->hitRect = d.window;
  out->clientScreen = d.client;
  out->hasRegion = ReadRegion(w, &out->region);
  if (depth >= kMaxDepth) return true;
  for (HWND c : Level(::GetWindow(w, GW_CHILD))) {
    // An invisible window hides its whole subtree from the hit test.
    if (!(::GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE)) continue;
    T_WinNode child;
    if (Record(c, depth + 1, budget, &child)) out->children.push_back(std::move(child));
  }
  return true;
}

// The window's rectangle, its client rectangle and the client area's screen position. One
// request for all where the system has GetWindowInfo (each is a round trip to the window server
// for another program's window).
bool WindowRects(HWND w, RECT* window, RECT* client, POINT* clientOrigin) {
  using Fn = BOOL(WINAPI*)(HWND, PWINDOWINFO);
  static const Fn getInfo = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetWindowInfo")));
  WINDOWINFO wi{};
  wi.cbSize = sizeof wi;
  // A mirrored window's client origin is its right edge: left to ClientToScreen.
  if (getInfo && getInfo(w, &wi) && !(wi.dwExStyle & WS_EX_LAYOUTRTL)) {
    *window = wi.rcWindow;
    *client = RECT{0, 0, wi.rcClient.right - wi.rcClient.left, wi.rcClient.bottom - wi.rcClient.top};
    *clientOrigin = POINT{wi.rcClient.left, wi.rcClient.top};
    return true;
  }
  if (!::GetWindowRect(w, window)) return false;
  ::GetClientRect(w, client);
  *clientOrigin = POINT{};
  ::ClientToScreen(w, clientOrigin);
  return true;
}

}  // namespace

bool DescribeWindow(HWND w, T_WinItem* out) {
  *out = T_WinItem{};
  RECT wr{};
  if (!w || !WindowRects(w, &wr, &out->clientRect, &out->clientOrigin)) return false;
  out->hwnd = w;
  wchar_t cls[257];
  int n = ::GetClassNameW(w, cls, 257);
  out->className.assign(cls, n > 0 ? static_cast<size_t>(n) : 0);
  DWORD pid = 0;
  const DWORD thread = ::GetWindowThreadProcessId(w, &pid);
  out->text = ReadWindowText(w, thread);
  // The rectangle, the size and the position all come from the one rectangle shown.
  const bool composition = SafeDwmIsCompositionEnabled();
  const RECT ext = composition ? SafeDwmGetWindowAttribute(w) : RECT{};
  const Rect shown = ShownWindowRect(Rect{wr.left, wr.top, wr.right, wr.bottom}, composition,
                                     Rect{ext.left, ext.top, ext.right, ext.bottom});
  out->windowRect = RECT{shown.left, shown.top, shown.right, shown.bottom};
  out->size = SIZE{shown.width(), shown.height()};
  out->posInParent = POINT{shown.left, shown.top};
  HWND parent = ::GetAncestor(w, GA_PARENT);
  if (parent && parent != ::GetDesktopWindow()) ::ScreenToClient(parent, &out->posInParent);
  if (pid) out->exeName = ExeNameOfProcess(pid);
  return true;
}

bool IdentifyWindowAt(POINT screenPt, HWND self, bool skipSelf, T_WinItem* out) {
  // The system's own answer, unless it is the window to be looked through.
  HWND w = ::WindowFromPoint(screenPt);
  if (skipSelf && self && w && IsSelfOrOwnedLive(w, self))
    w = HitTest(LiveView{}, screenPt, self, true);
  if (!w || !DescribeWindow(w, out)) {
    *out = T_WinItem{};
    return false;
  }
  return true;
}

void T_WinList::Take(HWND) {
  Clear();
  size_t budget = kMaxSnapshotWindows;
  for (HWND w : Level(::GetTopWindow(nullptr))) {
    if (!::IsWindowVisible(w)) continue;
    T_WinNode node;
    if (!Record(w, 0, &budget, &node)) continue;
    HWND o = ::GetWindow(w, GW_OWNER);
    for (int i = 0; o && i < kMaxOwnerChain; ++i, o = ::GetWindow(o, GW_OWNER)) node.owners.push_back(o);
    tops_.push_back(std::move(node));
  }
  HWND desk = ::GetDesktopWindow();
  if (desk && DescribeWindow(desk, &desktop_.item)) {
    ::GetWindowRect(desk, &desktop_.hitRect);
    hasDesktop_ = true;
  }
  count_ = kMaxSnapshotWindows - budget + (hasDesktop_ ? 1 : 0);
}

void T_WinList::Clear() {
  tops_.clear();
  desktop_ = T_WinNode{};
  hasDesktop_ = false;
  count_ = 0;
}

bool T_WinList::Find(POINT screenPt, HWND self, bool skipSelf, T_WinItem* out) const {
  const T_WinNode* n =
      HitTest(SnapshotView{tops_, hasDesktop_ ? &desktop_ : nullptr}, screenPt, self, skipSelf);
  if (!n) {
    *out = T_WinItem{};
    return false;
  }
  *out = n->item;
  return true;
}

}  // namespace viz
