#include "commands/command_table.h"

#include <algorithm>

namespace viz {
namespace {

constexpr uint8_t VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_SPACE_ = 0x20, VK_ESCAPE_ = 0x1B;
constexpr uint8_t VK_F1_ = 0x70, VK_F2_ = 0x71, VK_F5_ = 0x74;
constexpr uint8_t VK_UP_ = 0x26, VK_DOWN_ = 0x28, VK_LEFT_ = 0x25, VK_RIGHT_ = 0x27;

using G = RadioGroup;

// clang-format off
#define CMD(c) Cmd::c, "act" #c
const std::vector<CommandDef> kTable = {
  //  command                 category          id     caption                         hint                                        tag       auto   group         key    four  primary check  enab   vis
  {CMD(Zoom_1),            L"ズーム",        1001, L" 1倍",                     L"1倍で表示",                                1,        false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_2),            L"ズーム",        1002, L" 2倍",                     L"2倍で表示",                                2,        false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_3),            L"ズーム",        1003, L" 3倍",                     L"3倍で表示",                                3,        false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_4),            L"ズーム",        1004, L" 4倍",                     L"4倍で表示",                                4,        false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_6),            L"ズーム",        1006, L" 6倍",                     L"6倍で表示",                                6,        false, G::Zoom,      0,     false, 0, true,  true, true},
  {CMD(Zoom_8),            L"ズーム",        1008, L" 8倍",                     L"8倍で表示",                                8,        false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_10),           L"ズーム",        1010, L"10倍",                     L"10倍で表示",                               10,       false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_12),           L"ズーム",        1012, L"12倍",                     L"12倍で表示",                               12,       false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_16),           L"ズーム",        1016, L"16倍",                     L"16倍で表示",                               16,       false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_20),           L"ズーム",        1020, L"20倍",                     L"20倍で表示",                               20,       false, G::Zoom,      0,     false, 0, false, true, true},
  {CMD(Zoom_Up),           L"ズーム",        1090, L"ズームアップ",             L"拡大率を上げる",                           0,        false, G::None,      VK_PRIOR_, true, 0, false, true, true},
  {CMD(Zoom_Down),         L"ズーム",        1091, L"ズームダウン",             L"拡大率を下げる",                           0,        false, G::None,      VK_NEXT_,  true, 0, false, true, true},
  {CMD(Grid_Disp),         L"グリッド",      2010, L"グリッド表示(&D)",         L"グリッドと目盛りの表示/非表示",            0,        false, G::None,      0,     false, 0, true,  true, true},
  {CMD(Grid_Gray),         L"グリッド",      2001, L"灰色(&G)",                 L"グリッドを灰色で描く",                     0x999999, false, G::GridColor, 0,     false, 0, true,  true, true},
  {CMD(Grid_Invert),       L"グリッド",      2004, L"反転(&I)",                 L"グリッドの下の色を反転する",               0,        false, G::GridColor, 0,     false, 0, false, true, true},
  {CMD(Grid_Transparent),  L"グリッド",      2005, L"半透明(&T)",               L"グリッドを半透明で描く",                   0xCCCCCC, false, G::GridColor, 0,     false, 0, false, true, true},
  {CMD(Grid_SelColor),     L"グリッド",      2006, L"グリッド色選択(&U)...",    L"グリッドの色を選ぶ (Ctrl:中心の色 Shift:中心の補色)", 0x999999, false, G::GridColor, 'U', true, 0, false, true, true},
  {CMD(Grid_SubNone),      L"グリッド",      2011, L"サブグリッド - なし(&N)",  L"サブグリッドを描かない",                   0,        false, G::SubGrid,   0,     false, 0, false, true, true},
  {CMD(Grid_SubBlue),      L"グリッド",      2012, L"サブグリッド - 青(&B)",    L"サブグリッドを青で描く",                   0xFF0000, false, G::SubGrid,   0,     false, 0, true,  true, true},
  {CMD(Grid_SelSubColor),  L"グリッド",      2014, L"サブグリッド色選択(&S)...", L"サブグリッドの色を選ぶ (Ctrl:中心の色 Shift:中心の補色)", 0xFF6666, false, G::SubGrid, 'I', true, 0, false, true, true},
  {CMD(Color_RGB),         L"カラー情報",    3001, L"RGB(&R)",                  L"RGB値を表示",                              1,        true,  G::None,      0,     false, 0, true,  true, true},
  {CMD(Color_HTML),        L"カラー情報",    3002, L"HTML(&H)",                 L"HTMLカラーコードを表示",                   2,        true,  G::None,      0,     false, 0, true,  true, true},
  {CMD(Color_COLORREF),    L"カラー情報",    3003, L"COLORREF(&C)",             L"COLORREF値を表示",                         4,        true,  G::None,      0,     false, 0, false, true, true},
  {CMD(Color_InfoOnOff),   L"カラー情報",    3099, L"表示の一括ON/OFF",         L"カラー情報の表示を一括でON/OFF",           0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Pos_Screen),        L"カーソル位置",  4001, L"スクリーン(&S)",           L"スクリーン座標を表示",                     1,        true,  G::None,      0,     false, 0, true,  true, true},
  {CMD(Pos_Client),        L"カーソル位置",  4003, L"クライアント(&C)",         L"クライアント座標を表示",                   2,        true,  G::None,      0,     false, 0, false, true, true},
  {CMD(Pos_User),          L"カーソル位置",  4004, L"長さ(&L)",                 L"原点からの長さを表示",                     4,        true,  G::None,      0,     false, 0, false, true, true},
  {CMD(Pos_UserPosSet),    L"カーソル位置",  4010, L"長さの原点指定",           L"カーソル位置を長さの原点にする (Shift+Ctrl:(0,0) Ctrl:原点へ移動)", 0, false, G::None, VK_SPACE_, true, 0, false, true, true},
  {CMD(Pos_InfoOnOff),     L"カーソル位置",  4099, L"表示の一括ON/OFF",         L"カーソル位置の表示を一括でON/OFF",         0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(WinInfo_Handle),    L"ウィンドウ情報", 5001, L"ハンドル(&H)",            L"ウィンドウハンドルを表示",                 1,        true,  G::None,      0,     false, 0, true,  true, true},
  {CMD(WinInfo_ClassName), L"ウィンドウ情報", 5002, L"クラス名(&N)",            L"クラス名を表示",                           2,        true,  G::None,      0,     false, 0, true,  true, true},
  {CMD(WinInfo_Text),      L"ウィンドウ情報", 5003, L"テキスト(&T)",            L"ウィンドウテキストを表示",                 4,        true,  G::None,      0,     false, 0, true,  true, true},
  {CMD(WinInfo_WindowSize),L"ウィンドウ情報", 5004, L"ウィンドウサイズ(&W)",    L"ウィンドウの位置とサイズを表示",           8,        true,  G::None,      0,     false, 0, false, true, true},
  {CMD(WinInfo_ClientSize),L"ウィンドウ情報", 5005, L"クライアントサイズ(&C)",  L"クライアント領域のサイズを表示",           16,       true,  G::None,      0,     false, 0, false, true, true},
  {CMD(WinInfo_Rect),      L"ウィンドウ情報", 5006, L"RECT(&R)",                L"ウィンドウの矩形を表示",                   32,       true,  G::None,      0,     false, 0, false, true, true},
  {CMD(WinInfo_ExeName),   L"ウィンドウ情報", 5023, L"実行ファイル名(&X)",      L"ウィンドウの実行ファイル名を表示",         64,       true,  G::None,      0,     false, 0, false, true, true},
  {CMD(WinInfo_InfoOnOff), L"ウィンドウ情報", 5099, L"表示の一括ON/OFF",        L"ウィンドウ情報の表示を一括でON/OFF",       0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_Picture),      L"コピー",        6001, L"ズーム画像",               L"拡大画像をコピー (Ctrl:ファイルにも保存)", 0,        false, G::None,      'Z',   true,  0, false, true, true},
  {CMD(Copy_ColorRGB),     L"コピー",        6002, L"カラー情報/RGB",           L"RGB値をコピー (Shift:16進数)",             0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_ColorHTML),    L"コピー",        6006, L"カラー情報/HTML",          L"HTMLカラーコードをコピー (Shift:10進数)",  0,        false, G::None,      'H',   true,  0, false, true, true},
  {CMD(Copy_ColorCOLORREF),L"コピー",        6007, L"カラー情報/COLORREF",      L"COLORREF値をコピー (Shift:16進数)",        0,        false, G::None,      'C',   true,  0, false, true, true},
  {CMD(Copy_PosScreen),    L"コピー",        6020, L"カーソル位置/スクリーン座標", L"スクリーン座標をコピー",                0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_PosClient),    L"コピー",        6022, L"カーソル位置/クライアント座標", L"クライアント座標をコピー",            0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_PosUser),      L"コピー",        6023, L"カーソル位置/ユーザー指定座標", L"原点からの長さをコピー",              0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_WinInfoHandle),L"コピー",        6024, L"ウィンドウ情報/ハンドル",  L"ウィンドウハンドルをコピー (Shift:16進数)", 0,       false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_WinInfoClassName), L"コピー",    6025, L"ウィンドウ情報/クラス名",  L"クラス名をコピー",                         0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_WinInfoText),  L"コピー",        6026, L"ウィンドウ情報/テキスト",  L"ウィンドウテキストをコピー",               0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_WinInfoWindowSize), L"コピー",   6027, L"ウィンドウ情報/ウィンドウサイズ", L"ウィンドウの位置とサイズをコピー",  0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_WinInfoClientSize), L"コピー",   6028, L"ウィンドウ情報/クライアントサイズ", L"クライアント領域のサイズをコピー", 0,       false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_WinInfoRect),  L"コピー",        6029, L"ウィンドウ情報/RECT",      L"ウィンドウの矩形をコピー",                 0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Copy_WinInfoExeName), L"コピー",      6035, L"ウィンドウ情報/実行ファイル名", L"実行ファイル名をコピー (Shift:ファイル名のみ)", 0, false, G::None,   0,     false, 0, false, true, true},
  {CMD(Copy_All),          L"コピー",        6090, L"すべてのテキスト情報をコピー", L"すべてのテキスト情報をコピー (Ctrl:ファイルにも保存)", 0, false, G::None, VK_F2_, true, 0, false, true, true},
  {CMD(Capture_Pause),     L"キャプチャ",    7011, L"一時停止(&P)",             L"キャプチャを一時停止/再開 (Ctrl:カーソルを中心へ Shift:中心をカーソルへ)", 0, false, G::None, VK_ESCAPE_, true, 0, false, true, true},
  {CMD(Capture_Fixed),     L"キャプチャ",    7002, L"定点キャプチャ(&F)",       L"現在の位置を定点キャプチャ",               0,        false, G::None,      'F',   true,  0, false, true, true},
  {CMD(Capture_Update),    L"キャプチャ",    7012, L"更新(&U)",                 L"一時停止中の画面を取り直す",               0,        false, G::None,      VK_F5_, false, 0, false, false, true},
  {CMD(Capture_Disp_x1),   L"キャプチャ",    7013, L"実寸表示 (1:1)",           L"キーを押している間だけ実寸で表示",         0,        false, G::None,      '1',   true,  0, false, true, true},
  {CMD(Opt_StayOnTop),     L"オプション",    8001, L"常に前面に表示(&A)",       L"常に前面に表示",                           0,        false, G::None,      0,     false, 0, false, true, true},
  {CMD(Opt_BigFont),       L"オプション",    8005, L"大きいフォント(&F)",       L"情報を大きいフォントで表示",               12,       true,  G::None,      0,     false, 0, false, true, true},
  {CMD(Opt_NoSelfCapture), L"オプション",    8006, L"自身をキャプチャしない(&N)", L"自分のウィンドウを写さない",             0,        true,  G::None,      0,     false, 0, false, true, true},
  {CMD(Opt_SmoothCapture), L"オプション",    8007, L"スムーズキャプチャ(&S)",   L"キャプチャ間隔を短くする",                 0,        true,  G::None,      'S',   true,  0, false, true, true},
  {CMD(Custom_Setting),    L"オプション",    9001, L"一覧設定(&O)",             L"設定ウィンドウを開く",                     0,        false, G::None,      0,     false, 0x8079, false, true, true},
  {CMD(Custom_ShortCut),   L"オプション",    9004, L"ショートカット設定(&K)",   L"ショートカットキーとマウスジェスチャの設定", 0,      false, G::None,      0,     false, 0, false, true, true},
  {CMD(Menu_Main),         L"メニュー",      10001, L"メニュー表示",            L"メニューを表示",                           0,        false, G::None,      'M',   true,  0, false, true, true},
  {CMD(Move_Up),           L"移動",          11001, L"↑",                       L"キャプチャ位置を上へ",                     0,        false, G::None,      VK_UP_,    true, 0, false, true, true},
  {CMD(Move_Down),         L"移動",          11002, L"↓",                       L"キャプチャ位置を下へ",                     0,        false, G::None,      VK_DOWN_,  true, 0, false, true, true},
  {CMD(Move_Left),         L"移動",          11003, L"←",                       L"キャプチャ位置を左へ",                     0,        false, G::None,      VK_LEFT_,  true, 0, false, true, true},
  {CMD(Move_Right),        L"移動",          11004, L"→",                       L"キャプチャ位置を右へ",                     0,        false, G::None,      VK_RIGHT_, true, 0, false, true, true},
  {CMD(Move_Monitor),      L"移動",          11005, L"モニター間移動",          L"ウィンドウを次のモニターへ移動 (Shift:(0,0)へ)", 0,   false, G::None,      'Q',   true,  0, false, true, true},
  {CMD(File_Minimize),     L"ファイル",      12001, L"最小化(&N)",              L"最小化",                                   0,        false, G::None,      0,     false, 0, false, true, false},
  {CMD(File_Exit),         L"ファイル",      12002, L"終了(&X)",                L"終了",                                     0,        false, G::None,      0,     false, 0x8073, false, true, true},
  {CMD(Help),              L"ヘルプ",        13001, L"バージョン情報(&V)",      L"バージョン情報とヘルプ",                   0,        false, G::None,      VK_F1_, true, 0, false, true, true},
  {CMD(Spc),               L"区切り",        0,    L"-",                        L"",                                         0,        false, G::None,      0,     false, 0, false, true, true},
};
#undef CMD
// clang-format on

}  // namespace

const std::vector<CommandDef>& CommandTable() { return kTable; }

const CommandDef& Def(Cmd c) { return kTable[static_cast<size_t>(c)]; }

std::optional<Cmd> CommandFromId(int16_t id) {
  if (id == 0) return std::nullopt;
  for (const auto& d : kTable)
    if (d.id == id) return d.cmd;
  return std::nullopt;
}

int16_t IdFromCommand(Cmd c) {
  if (c == Cmd::Count_) return 0;
  return Def(c).id;
}

std::optional<Cmd> CommandOfPrimaryShortcut(uint16_t shortcut) {
  if (shortcut == 0) return std::nullopt;
  for (const auto& d : kTable)
    if (d.primaryShortcut == shortcut) return d.cmd;
  return std::nullopt;
}

std::wstring CaptionWithoutAccel(std::wstring_view caption) {
  std::wstring out(caption);
  // "(&X)" at the end of a Japanese caption goes as a whole; a bare "&" is dropped.
  auto pos = out.find(L"(&");
  if (pos != std::wstring::npos && pos + 3 < out.size() && out[pos + 3] == L')') {
    out.erase(pos, 4);
    return out;
  }
  std::wstring r;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] == L'&') {
      if (i + 1 < out.size() && out[i + 1] == L'&') r += L'&', ++i;
      continue;
    }
    r += out[i];
  }
  return r;
}

Cmd ZoomCommandAt(int index) {
  index = std::clamp(index, 0, kZoomCount - 1);
  return static_cast<Cmd>(static_cast<int>(Cmd::Zoom_1) + index);
}

std::optional<int> ZoomIndexOf(Cmd c) {
  int i = static_cast<int>(c) - static_cast<int>(Cmd::Zoom_1);
  if (i < 0 || i >= kZoomCount) return std::nullopt;
  return i;
}

std::vector<uint16_t> DefaultShortcuts(Cmd c) {
  const CommandDef& d = Def(c);
  if (d.defaultKey == 0) return {};
  const uint16_t k = d.defaultKey;
  if (!d.fourVariants) return {k};
  return {k, static_cast<uint16_t>(k | kShortcutShift), static_cast<uint16_t>(k | kShortcutCtrl),
          static_cast<uint16_t>(k | kShortcutShift | kShortcutCtrl)};
}

}  // namespace viz
