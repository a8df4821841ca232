#include "info/clipboard_win.h"
#include "platform/text_convert_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_windows.h"

namespace viz {
namespace {

std::wstring ClipboardUnicode() {
  std::wstring s;
  if (!OpenClipboard(nullptr)) return L"<not opened>";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      s = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return s;
}

std::string ClipboardAnsi() {
  std::string s;
  if (!OpenClipboard(nullptr)) return "<not opened>";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(h))) {
      s = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return s;
}

// The clipboard owner: after EmptyClipboard a null owner may make SetClipboardData fail.
HWND Owner() {
  static HWND w = CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
  return w;
}

TEST(Clipboard, TextRoundTripInBothFormats) {
  const std::wstring text = L"テスト abc\r\n2行目";
  ASSERT_TRUE(SetClipboardText(Owner(), text));
  EXPECT_EQ(ClipboardUnicode(), text);
  EXPECT_EQ(ClipboardAnsi(), WideToAnsi(text));
  if (GetACP() == 932)
    EXPECT_EQ(ClipboardAnsi(), "\x83\x65\x83\x58\x83\x67 abc\r\n2\x8d\x73\x96\xda");
  else
    GTEST_LOG_(INFO) << "code page " << GetACP() << ": Shift-JIS bytes not checked";

  ASSERT_TRUE(SetClipboardText(Owner(), L"second"));  // replaces, does not append
  EXPECT_EQ(ClipboardUnicode(), L"second");
  EXPECT_EQ(ClipboardAnsi(), "second");
}

TEST(Clipboard, DibRoundTrip) {
  BITMAPINFOHEADER bih{};
  bih.biSize = sizeof(bih);
  bih.biWidth = 2;
  bih.biHeight = 2;
  bih.biPlanes = 1;
  bih.biBitCount = 32;
  bih.biCompression = BI_RGB;
  const DWORD pixels[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456};
  ASSERT_TRUE(SetClipboardDib(Owner(), bih, pixels, sizeof(pixels)));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE h = GetClipboardData(CF_DIB);
  ASSERT_NE(h, nullptr);
  ASSERT_GE(GlobalSize(h), sizeof(bih) + sizeof(pixels));
  auto* p = static_cast<const unsigned char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  BITMAPINFOHEADER got;
  std::memcpy(&got, p, sizeof(got));
  EXPECT_EQ(got.biWidth, 2);
  EXPECT_EQ(got.biBitCount, 32);
  EXPECT_EQ(std::memcmp(p + sizeof(bih), pixels, sizeof(pixels)), 0);
  GlobalUnlock(h);
  CloseClipboard();
}

TEST(Clipboard, HeldClipboardFailsAfterBoundedRetryThenWorksOnceReleased) {
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    HWND w = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             nullptr, nullptr);
    bool ok = OpenClipboard(w);
    SetEvent(opened);
    if (ok) {
      WaitForSingleObject(release, 10000);
      CloseClipboard();
    }
    DestroyWindow(w);
    SetEvent(closed);
  });
  ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
  DWORD start = GetTickCount();
  EXPECT_FALSE(SetClipboardText(Owner(), L"blocked"));
  DWORD spent = GetTickCount() - start;
  EXPECT_GE(spent, 150u);
  EXPECT_LT(spent, 1000u);
  SetEvent(release);
  WaitForSingleObject(closed, 5000);
  holder.join();
  EXPECT_TRUE(SetClipboardText(Owner(), L"free again"));
  EXPECT_EQ(ClipboardUnicode(), L"free again");
  for (HANDLE e : {opened, release, closed}) CloseHandle(e);
}

TEST(AnsiText, RepresentabilityFollowsTheCodePage) {
  EXPECT_TRUE(IsRepresentableInAnsi(L""));
  EXPECT_TRUE(IsRepresentableInAnsi(L"C:\\tools\\viz.exe"));
  EXPECT_FALSE(IsRepresentableInAnsi(L"\U0001F600"));  // no 8-bit code page has it
  if (GetACP() == 932) {
    EXPECT_TRUE(IsRepresentableInAnsi(L"C:\\ツール\\拡大.exe"));
    EXPECT_FALSE(IsRepresentableInAnsi(L"caf\u00e9"));  // best fit would turn it into "cafe"
    EXPECT_EQ(WideToAnsi(L"行"), "\x8d\x73");
  } else if (GetACP() == 1252) {
    EXPECT_TRUE(IsRepresentableInAnsi(L"caf\u00e9"));
    EXPECT_FALSE(IsRepresentableInAnsi(L"拡大"));
  }
  EXPECT_EQ(AnsiToWide(WideToAnsi(L"plain")), L"plain");
}

}  // namespace
}  // namespace viz
