// Finding the window under a screen point and what the information panel shows about it: live,
// and from a snapshot of the whole window tree taken when capture is paused.
//
// Hit testing follows the rules of WindowFromPoint: a window is hit when it is visible, not a
// disabled child, not a layered click-through window (WS_EX_LAYERED | WS_EX_TRANSPARENT), and the
// point lies in its window rectangle and window region; the search goes into the children of a
// hit window when the point is in its client area and it is neither minimised nor disabled; when
// no top-level window is hit the desktop window is the answer. The same rules decide the live
// look-through of the program's own window and every snapshot look-up, so a snapshot answers
// what the live look-up answered when it was taken.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace viz {

// Everything the information panel shows about one window.
struct T_WinItem {
  HWND hwnd = nullptr;
  std::wstring className;
  std::wstring text;
  RECT windowRect{};   // extended frame bounds while desktop composition is on, else GetWindowRect
  POINT posInParent{}; // windowRect's top-left in the parent's client coordinates (screen for top-level)
  SIZE size{};         // windowRect's width and height
  RECT clientRect{};   // GetClientRect
  POINT clientOrigin{};  // screen position of the client area's top-left corner
  std::wstring exeName;  // full path of the owning program's file, empty when unknown
};

// The window at a screen point, as WindowFromPoint answers. With skipSelf, `self` and the windows
// it owns (directly or through other owned windows) are looked through: the answer is the window
// below them. Returns false (and an empty item) when no window is there.
bool IdentifyWindowAt(POINT screenPt, HWND self, bool skipSelf, T_WinItem* out);

// Fills an item for a known window (no hit testing). False when the window is gone.
bool DescribeWindow(HWND w, T_WinItem* out);

// One recorded window of a snapshot: what the hit test needs, plus the panel data.
struct T_WinNode {
  T_WinItem item;
  LONG style = 0;
  LONG exStyle = 0;
  RECT hitRect{};      // GetWindowRect (screen)
  RECT clientScreen{}; // client area in screen coordinates
  bool hasRegion = false;
  std::vector<RECT> region;   // window region in window coordinates (hasRegion)
  std::vector<HWND> owners;   // top-level windows: the owner chain, nearest first
  std::vector<T_WinNode> children;  // visible child windows, top of the z-order first
};

// A snapshot of the visible top-level windows in z-order with their visible child windows.
class T_WinList {
 public:
  // Records the current window tree. `self` is not needed to take it: Find decides what to skip.
  void Take(HWND self);
  void Clear();
  bool Empty() const { return tops_.empty() && !hasDesktop_; }
  size_t WindowCount() const { return count_; }
  // What IdentifyWindowAt(screenPt, self, skipSelf) answered when the snapshot was taken.
  bool Find(POINT screenPt, HWND self, bool skipSelf, T_WinItem* out) const;

 private:
  std::vector<T_WinNode> tops_;
  T_WinNode desktop_;
  bool hasDesktop_ = false;
  size_t count_ = 0;
};

// Full path of a process's program file, with the device path mapped to a drive letter; empty
// when the process cannot be queried. Answers are kept for a few seconds per process id.
std::wstring ExeNameOfProcess(DWORD pid);

// "\Device\HarddiskVolume2\x\y.exe" -> "C:\x\y.exe" for the drive whose device is
// "\Device\HarddiskVolume2" (GetLogicalDrives + QueryDosDeviceW); empty when no drive matches.
std::wstring MapDevicePathToDrive(std::wstring_view devicePath);

// Reads a window's text without letting a hung window stop the caller: the program's own
// thread reads directly, any other thread is asked with a bounded SendMessageTimeoutW. When a
// window times out, no window of its thread is asked again for a few seconds (the caption the
// system stores for the window is used meanwhile).
// Texts longer than 64K characters are cached (4 MB in all) and read again only when their
// length changes or two seconds have passed. No text is read longer than 1M characters, whatever
// length the window claims.
std::wstring ReadWindowText(HWND w);
// The same, with the window's thread already known.
std::wstring ReadWindowText(HWND w, DWORD thread);

}  // namespace viz
