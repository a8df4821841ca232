// The shortcut customisation window seen from outside: opening it, binding keys and gestures by
// dragging and by the keyboard, the replacement question answered both ways, the resets, and the
// edits still in force after a restart. What a binding does is checked through the main window
// (keys and gestures that step the zoom) and the settings file it writes at exit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "ui/handle_win.h"
#include "harness.h"

#include <commctrl.h>

namespace viz::e2e {
namespace {

constexpr WPARAM kCmdShortcutWindow = 9004;
constexpr int kIdCommandGrid = 101, kIdKeyGrid = 102;
constexpr int kIdDialogYes = 100, kIdDialogNo = 101;  // message dialog: 100 + button bit
constexpr int kIdResetKeys = 203, kIdResetGestures = 204, kIdResetAll = 205, kIdClose = 206;

// Rows of the grids.
constexpr int kCommandRowCount = 71;
constexpr int kCmdZoomUp = 10, kCmdZoomDown = 11;
constexpr int kKeyRowCount = 66;
constexpr int kRowF3 = 39, kRowPgUp = 54, kRowGestureUp = 62, kRowGestureLeft = 64;

// The settings file.
constexpr size_t kZoomIndexAt = 22 + 16;
constexpr size_t kKeySlotsAt = 22 + 65;
constexpr size_t kGesturesAt = kKeySlotsAt + 248;
constexpr int kDefaultZoomIndex = 4;  // 6x
constexpr uint16_t kIdZoomUp = 1090, kIdZoomDown = 1091, kIdGridDisp = 2010, kIdStayOnTop = 8001;

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// Memory in the program's process, for the list-view messages that carry pointers.
class RemoteBuffer {
 public:
  static constexpr SIZE_T kSize = 4096;
  explicit RemoteBuffer(DWORD pid)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
    if (process_)
      base_ = static_cast<uint8_t*>(
          VirtualAllocEx(process_.get(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteBuffer() {
    if (base_) VirtualFreeEx(process_.get(), base_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  uint8_t* at(size_t offset) const { return base_ + offset; }
  bool Write(size_t offset, const void* data, size_t n) const {
    return base_ && WriteProcessMemory(process_.get(), at(offset), data, n, nullptr);
  }
  bool Read(size_t offset, void* data, size_t n) const {
    return base_ && ReadProcessMemory(process_.get(), at(offset), data, n, nullptr);
  }

 private:
  UniqueKernelHandle process_;
  uint8_t* base_ = nullptr;
};

// Moves the pointer to a screen point and sends button events that carry that point. A bare
// SendInput button can land where the pointer was a moment before: the window the pointer just
// left may still report the old spot to Wine.
bool ButtonsAt(POINT at, std::initializer_list<DWORD> buttons) {
  if (!MovePointer(at.x, at.y)) return false;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs;
  for (DWORD b : buttons) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(at.x, 65535, w - 1);
    in.mi.dy = MulDiv(at.y, 65535, h - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | b;
    inputs.push_back(in);
  }
  const UINT n = static_cast<UINT>(inputs.size());
  return SendInput(n, inputs.data(), sizeof(INPUT)) == n;
}

bool ClickAt(POINT at) { return ButtonsAt(at, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}); }

POINT CentreOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class ShortcutWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReleaseModifiers());
    ASSERT_TRUE(MovePointer(300, 300));
  }

  void StartApp(std::optional<std::vector<uint8_t>> settings = std::nullopt) {
    AppOptions o;
    o.settings = std::move(settings);
    ASSERT_TRUE(app().Start(o)) << app().error();
  }

  // Opens the window through its command, as the menu item does.
  void Open() {
    ASSERT_TRUE(PostMessageW(app().hwnd(), WM_COMMAND, kCmdShortcutWindow, 0));
    ASSERT_TRUE(WaitUntil([&] {
      win_ = FindProcessWindow(app().pid(), L"TApp_CustomShortCut");
      return win_ != nullptr && GetForegroundWindow() == win_;
    })) << "the shortcut window did not open";
    commands_ = GetDlgItem(win_, kIdCommandGrid);
    keys_ = GetDlgItem(win_, kIdKeyGrid);
    ASSERT_TRUE(commands_ && keys_);
  }

  std::wstring Cell(HWND list, int item, int sub) {
    RemoteBuffer mem(app().pid());
    LVITEMW it{};
    it.iSubItem = sub;
    it.cchTextMax = 256;
    it.pszText = reinterpret_cast<wchar_t*>(mem.at(sizeof(LVITEMW)));
    if (!mem.Write(0, &it, sizeof it)) return L"<no access>";
    const auto n = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                reinterpret_cast<LPARAM>(mem.at(0)));
    std::wstring text(static_cast<size_t>(n), L'\0');
    if (n > 0) mem.Read(sizeof(LVITEMW), text.data(), static_cast<size_t>(n) * sizeof(wchar_t));
    return text;
  }
  std::wstring KeyCommand(int row) { return Cell(keys_, row, 1); }

  // Centre of a row in screen coordinates, scrolled into view first.
  POINT RowPoint(HWND list, int item) {
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
    RemoteBuffer mem(app().pid());
    RECT r{LVIR_LABEL, 0, 0, 0};
    mem.Write(0, &r, sizeof r);
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(mem.at(0)));
    mem.Read(0, &r, sizeof r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    return p;
  }

  int Selected(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }

  void ClickRow(HWND list, int item) {
    ASSERT_TRUE(ClickAt(RowPoint(list, item)));
    ASSERT_TRUE(WaitUntil([&] { return Selected(list) == item; })) << "row " << item << " not selected";
  }

  // Presses on a command row, drags it in steps onto a key row and lets go there.
  void Drag(int commandRow, int keyRow) {
    const POINT from = RowPoint(commands_, commandRow);
    const POINT to = RowPoint(keys_, keyRow);
    ASSERT_TRUE(ButtonsAt(from, {MOUSEEVENTF_LEFTDOWN}));
    for (int i = 1; i <= 6; ++i)
      ASSERT_TRUE(MovePointer(from.x + (to.x - from.x) * i / 6, from.y + (to.y - from.y) * i / 6));
    // The drop target follows the pointer before the button goes up.
    EXPECT_TRUE(WaitUntil([&] {
      return (SendMessageW(keys_, LVM_GETITEMSTATE, static_cast<WPARAM>(keyRow), LVIS_DROPHILITED) &
              LVIS_DROPHILITED) != 0;
    })) << "row " << keyRow << " never became the drop target";
    ASSERT_TRUE(ButtonsAt(to, {MOUSEEVENTF_LEFTUP}));
  }

  // The confirmation of this program, once it is up.
  HWND WaitDialog() {
    HWND dlg = nullptr;
    WaitUntil([&] {
      dlg = FindProcessWindow(app().pid(), L"#32770");
      return dlg != nullptr && GetDlgItem(dlg, kIdDialogYes) != nullptr;
    });
    return dlg;
  }

  static std::wstring DialogText(HWND dlg) {
    std::wstring all;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      wchar_t cls[32] = {}, text[512] = {};
      GetClassNameW(c, cls, 32);
      if (lstrcmpiW(cls, L"Static") != 0) continue;
      SendMessageW(c, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
      all += text;
    }
    return all;
  }

  void Answer(HWND dlg, int buttonId) {
    HWND b = GetDlgItem(dlg, buttonId);
    ASSERT_TRUE(b);
    ASSERT_TRUE(ClickAt(CentreOf(b)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); })) << "the question stayed open";
  }

  // Clicks a button of the shortcut window, answers its question and waits for the answer to
  // be taken.
  void PressAndAnswer(int buttonId, const std::wstring& question, int answerId) {
    ASSERT_TRUE(ClickAt(CentreOf(GetDlgItem(win_, buttonId))));
    HWND dlg = WaitDialog();
    ASSERT_TRUE(dlg) << "no question";
    EXPECT_EQ(DialogText(dlg), question);
    Answer(dlg, answerId);
  }

  // Taps a key into the main window.
  void KeyToMain(WORD vk) {
    ASSERT_TRUE(app().Activate());
    ASSERT_TRUE(KeyTap(vk));
    FlushMain();
  }

  // Right-button drag over the main window's image, from its centre by (dx, dy).
  void GestureOnMain(int dx, int dy) {
    const POINT c = CentreOf(app().hwnd());
    ASSERT_TRUE(app().Activate());
    ASSERT_TRUE(ButtonsAt(c, {MOUSEEVENTF_RIGHTDOWN}));
    for (int i = 1; i <= 4; ++i) ASSERT_TRUE(MovePointer(c.x + dx * i / 4, c.y + dy * i / 4));
    ASSERT_TRUE(ButtonsAt(POINT{c.x + dx, c.y + dy}, {MOUSEEVENTF_RIGHTUP}));
    FlushMain();
  }

  // Input is handled in order, but a posted WM_CLOSE overtakes it: wait until a key typed after
  // everything else ("H", copy the colour) has been handled.
  void FlushMain() {
    const DWORD seq = ClipboardSequence();
    ASSERT_TRUE(KeyTap('H'));
    ASSERT_TRUE(WaitUntil([&] { return ClipboardSequence() != seq; })) << "the main window took no key";
  }

  // Ends the program and returns the settings file it wrote.
  std::vector<uint8_t> CloseAndReadSettings() {
    const auto code = app().Close();
    EXPECT_EQ(code, 0u);
    auto bytes = ReadFileBytes(app().settings_path());
    if (!bytes || bytes->size() < kGesturesAt + 8) {
      ADD_FAILURE() << "no settings file";
      return std::vector<uint8_t>(343, 0);
    }
    return *bytes;
  }

  static uint16_t SlotId(const std::vector<uint8_t>& s, int row) {
    return U16(s, kKeySlotsAt + static_cast<size_t>(row) * 4 + 2);
  }
  static uint16_t GestureId(const std::vector<uint8_t>& s, int slot) {
    return U16(s, kGesturesAt + static_cast<size_t>(slot) * 2);
  }

  AppProcess& app() { return *run_; }

  std::unique_ptr<AppProcess> run_ = std::make_unique<AppProcess>();
  HWND win_ = nullptr, commands_ = nullptr, keys_ = nullptr;
};

// Captions and questions in the language shown.
std::wstring ZoomUp() { return test::Lang(L"ズームアップ", L"Zoom in"); }
std::wstring ZoomDown() { return test::Lang(L"ズームダウン", L"Zoom out"); }
std::wstring StayOnTop() { return test::Lang(L"常に前面に表示", L"Always on top"); }
std::wstring GridShown() { return test::Lang(L"グリッド表示", L"Display grid"); }
std::wstring ReplacePgUp() {
  return test::Lang(L"[PgUp] には ズームアップ がセットされています\r\n置き換えますか",
                    L"[PgUp] is already assigned to \"Zoom in\".\r\nDo you want to replace it?");
}

TEST_F(ShortcutWindowTest, OpensOwnedByTheMainWindowWithBothGridsAndClosesWithEsc) {
  StartApp();
  Open();
  auto info = QueryWindow(win_);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->title, test::Lang(L"ショートカット設定", L"Shortcut keys"));
  EXPECT_EQ(GetWindow(win_, GW_OWNER), app().hwnd());

  EXPECT_EQ(SendMessageW(commands_, LVM_GETITEMCOUNT, 0, 0), kCommandRowCount);
  EXPECT_EQ(Cell(commands_, 0, 0), test::Lang(L"ズーム", L"Zoom"));
  EXPECT_EQ(Cell(commands_, kCmdZoomUp, 1), ZoomUp());
  EXPECT_EQ(Cell(commands_, 52, 1), test::Lang(L"一時停止", L"Pause"));  // access key removed
  EXPECT_EQ(SendMessageW(keys_, LVM_GETITEMCOUNT, 0, 0), kKeyRowCount);
  EXPECT_EQ(Cell(keys_, 10, 0), test::Lang(L"ｽﾍﾟｰｽ", L"Space"));
  EXPECT_EQ(Cell(keys_, 50, 0), test::Lang(L"BS(後退)", L"Backspace"));
  EXPECT_EQ(Cell(keys_, 58, 0), L"↑");
  EXPECT_EQ(KeyCommand(kRowPgUp), ZoomUp());
  EXPECT_EQ(KeyCommand(kRowF3), L"");
  EXPECT_EQ(Cell(keys_, kRowGestureUp, 0), test::Lang(L"ｼﾞｪｽﾁｬ ↑", L"Gesture ↑"));
  EXPECT_EQ(KeyCommand(kRowGestureUp), StayOnTop());

  // Every column shows its longest text whole.
  for (HWND list : {commands_, keys_}) {
    for (int col = 0; col < 2; ++col) {
      const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(col), 0));
      int longest = 0;
      const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < rows; ++i) {
        RemoteBuffer mem(app().pid());
        const std::wstring text = Cell(list, i, col);
        mem.Write(0, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        longest = std::max<int>(longest, static_cast<int>(SendMessageW(
                                             list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(mem.at(0)))));
      }
      EXPECT_GE(width, longest + 8) << "column " << col;
    }
  }

  // A picture of the window for the documentation.
  if (auto grab = ScreenGrab::Take(info->rect)) {
    std::wstring dir = EnvVar(L"VIZ_SHOT_DIR") ? WindowsPathOf(std::getenv("VIZ_SHOT_DIR")) : L"";
    if (!dir.empty()) grab->SavePng(dir + L"\\shortcut-window.png");
  }

  // Keys typed here stay here: "H" copies the colour in the main window only.
  const DWORD clipboard = ClipboardSequence();
  ASSERT_TRUE(KeyTap('H'));
  EXPECT_FALSE(WaitUntil([&] { return ClipboardSequence() != clipboard; }, 1500));

  ASSERT_TRUE(KeyTap(VK_ESCAPE));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(win_); })) << "Esc left the window open";
  EXPECT_TRUE(app().Running());

  // Control: the same key in the main window copies.
  ASSERT_TRUE(app().Activate());
  FlushMain();

  // Opened again, it is the same window; its close button hides it too.
  const HWND first = win_;
  Open();
  EXPECT_EQ(win_, first);
  const RECT before = QueryWindow(win_)->rect;
  EXPECT_EQ(before.left, info->rect.left);
  ASSERT_TRUE(ClickAt(CentreOf(GetDlgItem(win_, kIdClose))));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(win_); }));
}

TEST_F(ShortcutWindowTest, DraggingACommandOntoF3BindsIt) {
  StartApp();
  Open();
  Drag(kCmdZoomUp, kRowF3);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3) == ZoomUp(); })) << KeyCommand(kRowF3);
  EXPECT_EQ(KeyCommand(kRowPgUp), ZoomUp()) << "a command may have several keys";
  EXPECT_FALSE(FindProcessWindow(app().pid(), L"#32770")) << "a free key needs no question";

  KeyToMain(VK_F3);
  const auto s = CloseAndReadSettings();
  EXPECT_EQ(s[kZoomIndexAt], kDefaultZoomIndex + 1) << "F3 did not zoom up";
  EXPECT_EQ(SlotId(s, kRowF3), kIdZoomUp);
  EXPECT_EQ(SlotId(s, kRowPgUp), kIdZoomUp);
}

TEST_F(ShortcutWindowTest, SelectingBothRowsAndPressingEnterBindsAndDelUnbinds) {
  StartApp();
  Open();
  ClickRow(keys_, kRowF3);
  ClickRow(commands_, kCmdZoomUp);
  ASSERT_TRUE(KeyTap(VK_RETURN));
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3) == ZoomUp(); })) << KeyCommand(kRowF3);

  ClickRow(keys_, kRowPgUp);
  ASSERT_TRUE(KeyTap(VK_DELETE));
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowPgUp).empty(); })) << KeyCommand(kRowPgUp);

  // The buttons' access keys work as well.
  ClickRow(keys_, kRowF3 + 1);
  ClickRow(commands_, kCmdZoomDown);
  ASSERT_TRUE(KeyTap('A', kAlt));
  EXPECT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3 + 1) == ZoomDown(); })) << "Alt+A";
  ASSERT_TRUE(KeyTap(test::JapaneseUi() ? 'D' : 'C', kAlt));
  EXPECT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3 + 1).empty(); })) << "the clear button's key";

  KeyToMain(VK_PRIOR);  // unbound now: nothing
  KeyToMain(VK_F3);
  const auto s = CloseAndReadSettings();
  EXPECT_EQ(s[kZoomIndexAt], kDefaultZoomIndex + 1);
  EXPECT_EQ(SlotId(s, kRowF3), kIdZoomUp);
  EXPECT_EQ(SlotId(s, kRowPgUp), 0);
}

TEST_F(ShortcutWindowTest, ABoundKeyIsReplacedOnlyWhenTheQuestionIsAnsweredYes) {
  StartApp();
  Open();
  ClickRow(keys_, kRowPgUp);
  ClickRow(commands_, kCmdZoomDown);

  ASSERT_TRUE(KeyTap(VK_RETURN));
  HWND dlg = WaitDialog();
  ASSERT_TRUE(dlg) << "no question before replacing";
  EXPECT_EQ(DialogText(dlg), ReplacePgUp());
  EXPECT_EQ(GetWindow(dlg, GW_OWNER), win_);
  Answer(dlg, kIdDialogNo);
  EXPECT_EQ(KeyCommand(kRowPgUp), ZoomUp());

  ASSERT_TRUE(KeyTap(VK_RETURN));
  dlg = WaitDialog();
  ASSERT_TRUE(dlg);
  Answer(dlg, kIdDialogYes);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowPgUp) == ZoomDown(); }));

  KeyToMain(VK_PRIOR);
  const auto s = CloseAndReadSettings();
  EXPECT_EQ(s[kZoomIndexAt], kDefaultZoomIndex - 1) << "PgUp should zoom down now";
  EXPECT_EQ(SlotId(s, kRowPgUp), kIdZoomDown);
}

TEST_F(ShortcutWindowTest, AGestureSlotMovesToAnotherCommandAfterTheQuestion) {
  StartApp();
  Open();
  Drag(kCmdZoomUp, kRowGestureLeft);
  HWND dlg = WaitDialog();
  ASSERT_TRUE(dlg);
  EXPECT_EQ(DialogText(dlg), test::Lang(L"[ｼﾞｪｽﾁｬ ←] には グリッド表示 がセットされています\r\n置き換えますか",
                                        L"[Gesture ←] is already assigned to \"Display grid\".\r\nDo you want to replace it?"));
  Answer(dlg, kIdDialogYes);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowGestureLeft) == ZoomUp(); }));

  GestureOnMain(-120, 0);
  const auto s = CloseAndReadSettings();
  EXPECT_EQ(s[kZoomIndexAt], kDefaultZoomIndex + 1) << "the left gesture did not zoom up";
  EXPECT_EQ(GestureId(s, 2), kIdZoomUp);
  EXPECT_EQ(GestureId(s, 0), kIdStayOnTop);
}

TEST_F(ShortcutWindowTest, EachResetAsksAndBringsItsDefaultsBack) {
  StartApp();
  Open();
  Drag(kCmdZoomUp, kRowF3);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3) == ZoomUp(); }));
  Drag(kCmdZoomDown, kRowGestureUp);
  Answer(WaitDialog(), kIdDialogYes);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowGestureUp) == ZoomDown(); }));

  const std::wstring keysQ = test::Lang(L"すべてのショートカットキーの設定をリセットします\r\nよろしいですか",
                                     L"Reset all shortcut keys to their defaults?");
  PressAndAnswer(kIdResetKeys, keysQ, kIdDialogNo);
  EXPECT_EQ(KeyCommand(kRowF3), ZoomUp()) << "No must change nothing";
  PressAndAnswer(kIdResetKeys, keysQ, kIdDialogYes);
  EXPECT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3).empty(); }));
  EXPECT_EQ(KeyCommand(kRowGestureUp), ZoomDown()) << "keys only";

  PressAndAnswer(kIdResetGestures, test::Lang(L"すべてのマウスジェスチャの設定をリセットします\r\nよろしいですか",
                            L"Reset all mouse gestures to their defaults?"),
                 kIdDialogYes);
  EXPECT_TRUE(WaitUntil([&] { return KeyCommand(kRowGestureUp) == StayOnTop(); }));

  Drag(kCmdZoomUp, kRowF3);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3) == ZoomUp(); }));
  Drag(kCmdZoomDown, kRowGestureLeft);
  Answer(WaitDialog(), kIdDialogYes);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowGestureLeft) == ZoomDown(); }));
  PressAndAnswer(kIdResetAll,
                 test::Lang(L"すべてのショートカットキーとマウスジェスチャの設定をリセットします\r\nよろしいですか",
                            L"Reset all shortcut keys and mouse gestures to their defaults?"),
                 kIdDialogYes);
  EXPECT_TRUE(WaitUntil([&] {
    return KeyCommand(kRowF3).empty() && KeyCommand(kRowGestureLeft) == GridShown();
  }));

  const auto s = CloseAndReadSettings();
  EXPECT_EQ(SlotId(s, kRowF3), 0);
  EXPECT_EQ(SlotId(s, kRowPgUp), kIdZoomUp);
  EXPECT_EQ(GestureId(s, 2), kIdGridDisp);
}

TEST_F(ShortcutWindowTest, EditedBindingsAreStillInForceAfterARestart) {
  StartApp();
  Open();
  Drag(kCmdZoomUp, kRowF3);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowF3) == ZoomUp(); }));
  Drag(kCmdZoomUp, kRowGestureUp);
  Answer(WaitDialog(), kIdDialogYes);
  ASSERT_TRUE(WaitUntil([&] { return KeyCommand(kRowGestureUp) == ZoomUp(); }));
  const auto first = CloseAndReadSettings();

  run_ = std::make_unique<AppProcess>();  // a new run, seeded with the file the first one wrote
  StartApp(first);
  Open();
  EXPECT_EQ(KeyCommand(kRowF3), ZoomUp());
  EXPECT_EQ(KeyCommand(kRowGestureUp), ZoomUp());
  EXPECT_EQ(KeyCommand(kRowPgUp), ZoomUp());

  KeyToMain(VK_F3);
  GestureOnMain(0, -120);
  const auto second = CloseAndReadSettings();
  EXPECT_EQ(second[kZoomIndexAt], first[kZoomIndexAt] + 2);
}

}  // namespace
}  // namespace viz::e2e
