// The settings and version window seen from outside: how it opens, which page it shows, that its
// check boxes and the main window's commands follow each other, its z-order and its life.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "harness.h"

namespace viz::e2e {
namespace {

constexpr const wchar_t* kSettingClass = L"TApp_VizmoriaSetting";
// Control IDs of the window: a check box carries its command's identifier.
constexpr int kChkColorCOLORREF = 3003;
constexpr int kChkColorHTML = 3002;
constexpr int kChkPosClient = 4003;
constexpr int kChkOptStayOnTop = 8001;
constexpr int kChkOptSmoothCapture = 8007;
constexpr int kChkCapturePause = 7011;
constexpr int kPageSetting = 101;
constexpr int kPageHelp = 102;
constexpr int kVersionLabel = 111;
constexpr int kHelpLink = 114;

std::optional<bool> IsChecked(HWND box) {
  DWORD_PTR r = 0;
  if (!box || !SendMessageTimeoutW(box, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &r)) return {};
  return r == BST_CHECKED;
}

std::wstring TextOf(HWND w) {
  wchar_t buf[256] = {};
  GetWindowTextW(w, buf, 256);
  return buf;
}

int ClientHeight(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return r.bottom - r.top;
}

bool IsTopmost(HWND w) { return (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class SettingWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReleaseModifiers());
    // Away from both windows: the settings window opens beside the main window at (75, 75).
    ASSERT_TRUE(MovePointer(1000, 700));
    ASSERT_TRUE(app_.Start()) << app_.error();
    ASSERT_TRUE(app_.Activate());
  }
  // Presses the key in the main window and waits for the settings window to be shown. The
  // modifiers are held at the X server until then: the main window reads Alt from the live key
  // state when it gets to the key, which may be after a quick release. Under Wine an Alt+F10
  // now and then never reaches the main window at all, so the key is given a second try.
  HWND OpenWith(WORD vk, unsigned mods) {
    HWND w = nullptr;
    for (int attempt = 0; attempt < 3 && !w; ++attempt) {
      if (!app_.Activate()) return nullptr;
      if (mods && !HoldModifiers(mods)) return nullptr;
      KeyTap(vk);
      WaitUntil([&] { return (w = FindProcessWindow(app_.pid(), kSettingClass)) != nullptr; },
                3000);
      if (mods) ReleaseModifiers(mods);
    }
    return w;
  }

  // A real click at a screen point, the window brought to the front first.
  static bool ClickAt(HWND top, int x, int y) {
    if (!WaitUntil([&] {
          if (GetForegroundWindow() == top) return true;
          SetForegroundWindow(top);
          return false;
        }, kDefaultTimeoutMs, 50))
      return false;
    return MovePointer(x, y) && Click();
  }
  // On the left part of a control: a check box's box or the start of its text.
  static bool ClickControl(HWND top, HWND control) {
    RECT r{};
    if (!GetWindowRect(control, &r)) return false;
    return ClickAt(top, r.left + std::min<int>(8, (r.right - r.left) / 2), (r.top + r.bottom) / 2);
  }

  static bool PageShown(HWND top, int page) { return IsWindowVisible(ControlById(top, page)) != FALSE; }

  AppProcess app_;
};

TEST_F(SettingWindowTest, F1OpensTheVersionPageOwnedByTheMainWindow) {
  HWND w = OpenWith(VK_F1, kNoMod);
  ASSERT_TRUE(w);
  EXPECT_EQ(GetWindow(w, GW_OWNER), app_.hwnd());
  EXPECT_FALSE(TextOf(w).empty());
  EXPECT_TRUE(PageShown(w, kPageHelp));
  EXPECT_FALSE(PageShown(w, kPageSetting));
  HWND version = ControlById(w, kVersionLabel);
  ASSERT_TRUE(version);
  EXPECT_TRUE(IsWindowVisible(version));
  EXPECT_EQ(TextOf(version), test::Lang(L"バージョン 1.0.0.0", L"Version 1.0.0.0"));
  // It sits beside the main window rather than over it.
  RECT mw{}, sw{};
  GetWindowRect(app_.hwnd(), &mw);
  GetWindowRect(w, &sw);
  RECT overlap{};
  EXPECT_FALSE(IntersectRect(&overlap, &mw, &sw));
}

TEST_F(SettingWindowTest, TickingABoxAddsOrRemovesOneLineOfTheMainWindow) {
  HWND w = OpenWith(VK_F10, kAlt);
  ASSERT_TRUE(w);
  EXPECT_TRUE(PageShown(w, kPageSetting));
  HWND colorref = ControlById(w, kChkColorCOLORREF), client = ControlById(w, kChkPosClient);
  HWND html = ControlById(w, kChkColorHTML);
  ASSERT_TRUE(colorref && client && html);
  ASSERT_EQ(IsChecked(colorref), false);  // the defaults: COLORREF and client position off
  ASSERT_EQ(IsChecked(client), false);
  ASSERT_EQ(IsChecked(html), true);

  const int h0 = ClientHeight(app_.hwnd());
  ASSERT_TRUE(ClickControl(w, colorref));
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(colorref) == true && ClientHeight(app_.hwnd()) != h0; }));
  const int line = ClientHeight(app_.hwnd()) - h0;
  EXPECT_GT(line, 8);
  EXPECT_LT(line, 40);

  // Another box of another group adds a line of the same height; unticking takes lines away.
  ASSERT_TRUE(ClickControl(w, client));
  EXPECT_TRUE(WaitUntil([&] { return ClientHeight(app_.hwnd()) == h0 + 2 * line; }))
      << ClientHeight(app_.hwnd()) << " vs " << h0 << " + 2 * " << line;
  EXPECT_EQ(IsChecked(client), true);
  ASSERT_TRUE(ClickControl(w, html));
  EXPECT_TRUE(WaitUntil([&] { return ClientHeight(app_.hwnd()) == h0 + line; }));
  EXPECT_EQ(IsChecked(html), false);
  ASSERT_TRUE(ClickControl(w, colorref));
  ASSERT_TRUE(ClickControl(w, client));
  EXPECT_TRUE(WaitUntil([&] { return ClientHeight(app_.hwnd()) == h0 - line; }));
  EXPECT_EQ(IsChecked(colorref), false);
}

TEST_F(SettingWindowTest, BoxesFollowCommandsFiredInTheMainWindowAndShareItsZOrder) {
  HWND w = OpenWith(VK_F10, kAlt);
  ASSERT_TRUE(w);
  HWND top = ControlById(w, kChkOptStayOnTop);
  ASSERT_TRUE(top);
  ASSERT_EQ(IsChecked(top), false);
  ASSERT_FALSE(IsTopmost(w));

  // Stay on top from the box: the window joins the topmost band. (The main window's own flag is
  // not looked at here: Wine derives an owner's band from the window below it once it has an
  // owned window.)
  ASSERT_TRUE(ClickControl(w, top));
  EXPECT_TRUE(WaitUntil([&] { return IsTopmost(w); }));
  EXPECT_EQ(IsChecked(top), true);

  // A window opened anew while it is on comes up topmost, its box already ticked.
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == w; }));
  ASSERT_TRUE(KeyTap(VK_ESCAPE));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(w); }));
  w = OpenWith(VK_F1, kNoMod);
  ASSERT_TRUE(w);
  EXPECT_TRUE(WaitUntil([&] { return IsTopmost(w); }));
  top = ControlById(w, kChkOptStayOnTop);
  HWND smooth = ControlById(w, kChkOptSmoothCapture);
  ASSERT_TRUE(top && smooth);
  EXPECT_EQ(IsChecked(top), true);

  // A key bound in the main window moves its box (on a page not shown, too).
  ASSERT_EQ(IsChecked(smooth), false);
  ASSERT_TRUE(app_.Activate());
  ASSERT_TRUE(KeyTap('S'));
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(smooth) == true; }));
  ASSERT_TRUE(KeyTap('S'));
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(smooth) == false; }));

  // Unticking stay on top takes the main window out of the topmost band. (This window is left
  // in it by Wine, which keeps an owned window above its owner there; Windows moves both.)
  ASSERT_TRUE(WaitUntil([&] {
    if (GetForegroundWindow() == w) return true;
    SetForegroundWindow(w);
    return false;
  }, kDefaultTimeoutMs, 50));
  ASSERT_TRUE(KeyTap(VK_TAB, kCtrl));  // back to the settings page
  ASSERT_TRUE(WaitUntil([&] { return PageShown(w, kPageSetting); }));
  ASSERT_TRUE(ClickControl(w, top));
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(top) == false; }));
  EXPECT_TRUE(WaitUntil([&] { return !IsTopmost(app_.hwnd()); }));
}

TEST_F(SettingWindowTest, KeysPressedInTheWindowNeverReachTheMainWindowsBindings) {
  HWND w = OpenWith(VK_F10, kAlt);
  ASSERT_TRUE(w);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == w; }));
  // Z copies the picture in the main window; here it is nobody's mnemonic and does nothing.
  const DWORD seq = ClipboardSequence();
  ASSERT_TRUE(KeyTap('Z'));
  ASSERT_TRUE(KeyTap(VK_F1));  // would switch the page through the main window
  WaitUntil([] { return false; }, 500);
  EXPECT_EQ(ClipboardSequence(), seq);
  EXPECT_TRUE(PageShown(w, kPageSetting));
  // The same key in the main window does copy: the check above could see it.
  ASSERT_TRUE(app_.Activate());
  ASSERT_TRUE(KeyTap('Z'));
  EXPECT_TRUE(WaitUntil([&] { return ClipboardSequence() != seq; }));
}

TEST_F(SettingWindowTest, CtrlTabSwitchesPagesAndTheTabStripFollows) {
  HWND w = OpenWith(VK_F10, kAlt);
  ASSERT_TRUE(w);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == w; }));
  ASSERT_TRUE(KeyTap(VK_TAB, kCtrl));
  EXPECT_TRUE(WaitUntil([&] { return PageShown(w, kPageHelp) && !PageShown(w, kPageSetting); }));
  ASSERT_TRUE(KeyTap(VK_TAB, kCtrl | kShift));
  EXPECT_TRUE(WaitUntil([&] { return PageShown(w, kPageSetting) && !PageShown(w, kPageHelp); }));
  // The tab strip has the focus when the window opens; an arrow key moves to the next tab.
  ASSERT_TRUE(KeyTap(VK_RIGHT));
  EXPECT_TRUE(WaitUntil([&] { return PageShown(w, kPageHelp) && !PageShown(w, kPageSetting); }));
}

TEST_F(SettingWindowTest, OpensOnceAndAfterClosingOpensAnew) {
  HWND w1 = OpenWith(VK_F10, kAlt);
  ASSERT_TRUE(w1);
  HWND w2 = OpenWith(VK_F1, kNoMod);
  EXPECT_EQ(w2, w1);
  EXPECT_TRUE(WaitUntil([&] { return PageShown(w1, kPageHelp); }));

  // Esc closes it; the main window goes on.
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == w1; }));
  ASSERT_TRUE(KeyTap(VK_ESCAPE));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(w1); }));
  EXPECT_TRUE(app_.Running());

  HWND w3 = OpenWith(VK_F10, kAlt);
  ASSERT_TRUE(w3);
  EXPECT_TRUE(PageShown(w3, kPageSetting));
  // Esc is the main window's pause key; its release must not have gone there.
  EXPECT_EQ(IsChecked(ControlById(w3, kChkCapturePause)), false);
  // The close button ends it too.
  HWND close = ControlById(w3, IDCANCEL);
  ASSERT_TRUE(close);
  EXPECT_EQ(TextOf(close), test::Lang(L"閉じる", L"Close"));
  ASSERT_TRUE(ClickControl(w3, close));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w3); }));
  EXPECT_FALSE(FindProcessWindow(app_.pid(), kSettingClass, false));
  EXPECT_TRUE(app_.Running());
}

// ---- the help link ---------------------------------------------------------------------------

// The help page of the language shown.
std::wstring HelpPageName() { return test::Lang(L"vizmoria-help.html", L"vizmoria-help-en.html"); }

// The program started with or without its help page beside it, its version page open.
class HelpLinkTest : public SettingWindowTest {
 protected:
  void SetUp() override {}  // each test starts the program as it needs
  void StartWith(bool helpPage) {
    ASSERT_TRUE(ReleaseModifiers());
    ASSERT_TRUE(MovePointer(1000, 700));
    AppOptions options;
    if (helpPage) options.plant.push_back({ExeFolder() + HelpPageName(), HelpPageName()});
    ASSERT_TRUE(app_.Start(options)) << app_.error();
    ASSERT_TRUE(app_.Activate());
    win_ = OpenWith(VK_F1, kNoMod);
    ASSERT_TRUE(win_);
    ASSERT_TRUE(WaitUntil([&] { return PageShown(win_, kPageHelp); }));
  }
  // A click on the link's text, which takes the last two thirds of the control (a short label
  // comes first). The button is pressed at the X server and goes up once the press has reached
  // the link (it takes the focus): under Wine, a press sent with SendInput to this window just
  // brought to the front often never arrived.
  bool ClickLink() {
    HWND link = ControlById(win_, kHelpLink);
    RECT r{};
    if (!link || !GetWindowRect(link, &r)) return false;
    const int x = r.left + (r.right - r.left) * 2 / 3, y = (r.top + r.bottom) / 2;
    if (!WaitUntil([&] {
          if (GetForegroundWindow() == win_) return true;
          SetForegroundWindow(win_);
          return false;
        }, kDefaultTimeoutMs, 50) ||
        !MovePointer(x, y) || RunUnix("/usr/bin/xdotool mousedown 1") != 0)
      return false;
    const DWORD thread = GetWindowThreadProcessId(win_, nullptr);
    const bool pressed = WaitUntil([&] {
      GUITHREADINFO gti{};
      gti.cbSize = sizeof gti;
      return GetGUIThreadInfo(thread, &gti) && gti.hwndFocus == link;
    });
    return RunUnix("/usr/bin/xdotool mouseup 1") == 0 && pressed;
  }
  HWND win_ = nullptr;
};

TEST_F(HelpLinkTest, OpensTheHelpPageBesideTheProgram) {
  ScopedOpenCommand html(L".html", L"notepad.exe \"%1\"");
  ASSERT_TRUE(html.ok());
  StartWith(true);
  EXPECT_NE(TextOf(ControlById(win_, kHelpLink)).find(HelpPageName()), std::wstring::npos);
  ASSERT_TRUE(ClickLink());
  EXPECT_TRUE(WaitUntil([&] { return !NotepadWindowsTitled(L"VIZMOR").empty(); }, 15000))
      << "no window shows the help page";
  CloseNotepadsTitled(L"VIZMOR");
  EXPECT_EQ(FindProcessWindow(app_.pid(), L"#32770"), nullptr) << "a message came up as well";
}

TEST_F(HelpLinkTest, AMissingHelpPageIsReportedWithTheExpectedPath) {
  StartWith(false);
  ASSERT_TRUE(ClickLink());
  HWND dlg = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dlg = FindProcessWindow(app_.pid(), L"#32770")) != nullptr; }));
  EXPECT_EQ(TextOf(dlg), L"vizmoria");
  const std::wstring texts = DialogTexts(dlg);
  EXPECT_NE(texts.find(test::Lang(L"ヘルプファイルが見つかりません", L"The help file was not found")),
            std::wstring::npos)
      << texts.size();
  EXPECT_NE(texts.find(app_.FilePath(HelpPageName())), std::wstring::npos)
      << "the message names the path where the page is expected";
  PostMessageW(dlg, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
  EXPECT_TRUE(app_.Running());
}

}  // namespace
}  // namespace viz::e2e
