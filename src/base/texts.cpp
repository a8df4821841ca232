#include "base/texts.h"

#include <iterator>

namespace viz {
namespace {

struct TextForms {
  Text id;
  const wchar_t* japanese;
  const wchar_t* english;
};

// clang-format off
constexpr TextForms kTexts[] = {
  // ---- Command categories; also the group captions of the settings page
  {Text::Category_Zoom, L"ズーム", L"Zoom"},
  {Text::Category_Grid, L"グリッド", L"Grid"},
  {Text::Category_Color, L"カラー情報", L"Color info"},
  {Text::Category_Pos, L"カーソル位置", L"Cursor position"},
  {Text::Category_WinInfo, L"ウィンドウ情報", L"Window info"},
  {Text::Category_Copy, L"コピー", L"Copy"},
  {Text::Category_Capture, L"キャプチャ", L"Capture"},
  {Text::Category_Opt, L"オプション", L"Options"},
  {Text::Category_Menu, L"メニュー", L"Menu"},
  {Text::Category_Move, L"移動", L"Move"},
  {Text::Category_File, L"ファイル", L"File"},
  {Text::Category_Help, L"ヘルプ", L"Help"},
  {Text::Category_Separator, L"区切り", L"Separator"},
  // ---- Command captions and hints
  {Text::Zoom_1, L" 1倍", L" 1x"},
  {Text::Zoom_1_Hint, L"1倍で表示", L"Show at 1x"},
  {Text::Zoom_2, L" 2倍", L" 2x"},
  {Text::Zoom_2_Hint, L"2倍で表示", L"Show at 2x"},
  {Text::Zoom_3, L" 3倍", L" 3x"},
  {Text::Zoom_3_Hint, L"3倍で表示", L"Show at 3x"},
  {Text::Zoom_4, L" 4倍", L" 4x"},
  {Text::Zoom_4_Hint, L"4倍で表示", L"Show at 4x"},
  {Text::Zoom_6, L" 6倍", L" 6x"},
  {Text::Zoom_6_Hint, L"6倍で表示", L"Show at 6x"},
  {Text::Zoom_8, L" 8倍", L" 8x"},
  {Text::Zoom_8_Hint, L"8倍で表示", L"Show at 8x"},
  {Text::Zoom_10, L"10倍", L"10x"},
  {Text::Zoom_10_Hint, L"10倍で表示", L"Show at 10x"},
  {Text::Zoom_12, L"12倍", L"12x"},
  {Text::Zoom_12_Hint, L"12倍で表示", L"Show at 12x"},
  {Text::Zoom_16, L"16倍", L"16x"},
  {Text::Zoom_16_Hint, L"16倍で表示", L"Show at 16x"},
  {Text::Zoom_20, L"20倍", L"20x"},
  {Text::Zoom_20_Hint, L"20倍で表示", L"Show at 20x"},
  {Text::Zoom_Up, L"ズームアップ", L"Zoom &in"},
  {Text::Zoom_Up_Hint, L"拡大率を上げる", L"Magnify more"},
  {Text::Zoom_Down, L"ズームダウン", L"Zoom o&ut"},
  {Text::Zoom_Down_Hint, L"拡大率を下げる", L"Magnify less"},
  {Text::Grid_Disp, L"グリッド表示(&D)", L"&Display grid"},
  {Text::Grid_Disp_Hint, L"グリッドと目盛りの表示/非表示", L"Show or hide the grid and the rulers"},
  {Text::Grid_Gray, L"灰色(&G)", L"&Gray"},
  {Text::Grid_Gray_Hint, L"グリッドを灰色で描く", L"Draw the grid in gray"},
  {Text::Grid_Invert, L"反転(&I)", L"In&vert"},
  {Text::Grid_Invert_Hint, L"グリッドの下の色を反転する", L"Draw the grid by inverting the colors below it"},
  {Text::Grid_Transparent, L"半透明(&T)", L"&Translucent"},
  {Text::Grid_Transparent_Hint, L"グリッドを半透明で描く", L"Draw the grid translucent"},
  {Text::Grid_SelColor, L"グリッド色選択(&U)...", L"C&ustom grid color..."},
  {Text::Grid_SelColor_Hint, L"グリッドの色を選ぶ (Ctrl:中心の色 Shift:中心の補色)", L"Choose the grid color (Ctrl: the center color, Shift: its complement)"},
  {Text::Grid_SubNone, L"サブグリッド - なし(&N)", L"Sub-grid: &none"},
  {Text::Grid_SubNone_Hint, L"サブグリッドを描かない", L"Draw no sub-grid"},
  {Text::Grid_SubBlue, L"サブグリッド - 青(&B)", L"Sub-grid: &blue"},
  {Text::Grid_SubBlue_Hint, L"サブグリッドを青で描く", L"Draw the sub-grid in blue"},
  {Text::Grid_SelSubColor, L"サブグリッド色選択(&S)...", L"Custom &sub-grid color..."},
  {Text::Grid_SelSubColor_Hint, L"サブグリッドの色を選ぶ (Ctrl:中心の色 Shift:中心の補色)", L"Choose the sub-grid color (Ctrl: the center color, Shift: its complement)"},
  {Text::Color_RGB, L"RGB(&R)", L"&RGB"},
  {Text::Color_RGB_Hint, L"RGB値を表示", L"Show the RGB values"},
  {Text::Color_HTML, L"HTML(&H)", L"&HTML"},
  {Text::Color_HTML_Hint, L"HTMLカラーコードを表示", L"Show the HTML color code"},
  {Text::Color_COLORREF, L"COLORREF(&C)", L"CO&LORREF"},
  {Text::Color_COLORREF_Hint, L"COLORREF値を表示", L"Show the COLORREF value"},
  {Text::Color_InfoOnOff, L"表示の一括ON/OFF", L"&All on/off"},
  {Text::Color_InfoOnOff_Hint, L"カラー情報の表示を一括でON/OFF", L"Show or hide all color info"},
  {Text::Pos_Screen, L"スクリーン(&S)", L"&Screen"},
  {Text::Pos_Screen_Hint, L"スクリーン座標を表示", L"Show the screen coordinates"},
  {Text::Pos_Client, L"クライアント(&C)", L"&Client"},
  {Text::Pos_Client_Hint, L"クライアント座標を表示", L"Show the client coordinates"},
  {Text::Pos_User, L"長さ(&L)", L"&Distance"},
  {Text::Pos_User_Hint, L"原点からの長さを表示", L"Show the distance from the origin, both end pixels counted"},
  {Text::Pos_UserPosSet, L"長さの原点指定", L"Set distance &origin"},
  {Text::Pos_UserPosSet_Hint, L"カーソル位置を長さの原点にする (Shift+Ctrl:(0,0) Ctrl:原点へ移動)", L"Make the cursor position the distance origin, or the capture point while paused (Shift: always the cursor position, Ctrl: move the cursor to the origin, Ctrl+Shift: reset the origin to (0,0))"},
  {Text::Pos_InfoOnOff, L"表示の一括ON/OFF", L"&All on/off"},
  {Text::Pos_InfoOnOff_Hint, L"カーソル位置の表示を一括でON/OFF", L"Show or hide all cursor position info"},
  {Text::WinInfo_Handle, L"ハンドル(&H)", L"Ha&ndle"},
  {Text::WinInfo_Handle_Hint, L"ウィンドウハンドルを表示", L"Show the window handle"},
  {Text::WinInfo_ClassName, L"クラス名(&N)", L"Class na&me"},
  {Text::WinInfo_ClassName_Hint, L"クラス名を表示", L"Show the class name"},
  {Text::WinInfo_Text, L"テキスト(&T)", L"&Text"},
  {Text::WinInfo_Text_Hint, L"ウィンドウテキストを表示", L"Show the window text"},
  {Text::WinInfo_WindowSize, L"ウィンドウサイズ(&W)", L"&Window size"},
  {Text::WinInfo_WindowSize_Hint, L"ウィンドウの位置とサイズを表示", L"Show the window position and size"},
  {Text::WinInfo_ClientSize, L"クライアントサイズ(&C)", L"Client si&ze"},
  {Text::WinInfo_ClientSize_Hint, L"クライアント領域のサイズを表示", L"Show the size of the client area"},
  {Text::WinInfo_Rect, L"RECT(&R)", L"R&ECT"},
  {Text::WinInfo_Rect_Hint, L"ウィンドウの矩形を表示", L"Show the window rectangle"},
  {Text::WinInfo_ExeName, L"実行ファイル名(&X)", L"E&xecutable"},
  {Text::WinInfo_ExeName_Hint, L"ウィンドウの実行ファイル名を表示", L"Show the executable file of the window"},
  {Text::WinInfo_InfoOnOff, L"表示の一括ON/OFF", L"&All on/off"},
  {Text::WinInfo_InfoOnOff_Hint, L"ウィンドウ情報の表示を一括でON/OFF", L"Show or hide all window info"},
  {Text::Copy_Picture, L"ズーム画像", L"&Magnified image"},
  {Text::Copy_Picture_Hint, L"拡大画像をコピー (Ctrl:ファイルにも保存)", L"Copy the magnified image (Ctrl: also save it to a file)"},
  {Text::Copy_ColorRGB, L"カラー情報/RGB", L"Color info/&RGB"},
  {Text::Copy_ColorRGB_Hint, L"RGB値をコピー (Shift:16進数)", L"Copy the RGB values (Shift: hexadecimal)"},
  {Text::Copy_ColorHTML, L"カラー情報/HTML", L"Color info/HTM&L"},
  {Text::Copy_ColorHTML_Hint, L"HTMLカラーコードをコピー (Shift:10進数)", L"Copy the HTML color code (Shift: decimal)"},
  {Text::Copy_ColorCOLORREF, L"カラー情報/COLORREF", L"Color info/C&OLORREF"},
  {Text::Copy_ColorCOLORREF_Hint, L"COLORREF値をコピー (Shift:16進数)", L"Copy the COLORREF value (Shift: hexadecimal)"},
  {Text::Copy_PosScreen, L"カーソル位置/スクリーン座標", L"Cursor position/&Screen"},
  {Text::Copy_PosScreen_Hint, L"スクリーン座標をコピー", L"Copy the screen coordinates (Shift: in parentheses)"},
  {Text::Copy_PosClient, L"カーソル位置/クライアント座標", L"Cursor position/&Client"},
  {Text::Copy_PosClient_Hint, L"クライアント座標をコピー", L"Copy the client coordinates (Shift: in parentheses)"},
  {Text::Copy_PosUser, L"カーソル位置/ユーザー指定座標", L"Cursor position/&Distance"},
  {Text::Copy_PosUser_Hint, L"原点からの長さをコピー", L"Copy the distance from the origin (Shift: in parentheses)"},
  {Text::Copy_WinInfoHandle, L"ウィンドウ情報/ハンドル", L"Window info/&Handle"},
  {Text::Copy_WinInfoHandle_Hint, L"ウィンドウハンドルをコピー (Shift:16進数)", L"Copy the window handle (Shift: hexadecimal)"},
  {Text::Copy_WinInfoClassName, L"ウィンドウ情報/クラス名", L"Window info/Class &name"},
  {Text::Copy_WinInfoClassName_Hint, L"クラス名をコピー", L"Copy the class name (Shift: in double quotes)"},
  {Text::Copy_WinInfoText, L"ウィンドウ情報/テキスト", L"Window info/&Text"},
  {Text::Copy_WinInfoText_Hint, L"ウィンドウテキストをコピー", L"Copy the window text (Shift: in double quotes)"},
  {Text::Copy_WinInfoWindowSize, L"ウィンドウ情報/ウィンドウサイズ", L"Window info/&Window size"},
  {Text::Copy_WinInfoWindowSize_Hint, L"ウィンドウの位置とサイズをコピー", L"Copy the window position and size (Shift: in parentheses)"},
  {Text::Copy_WinInfoClientSize, L"ウィンドウ情報/クライアントサイズ", L"Window info/Client si&ze"},
  {Text::Copy_WinInfoClientSize_Hint, L"クライアント領域のサイズをコピー", L"Copy the size of the client area (Shift: in parentheses)"},
  {Text::Copy_WinInfoRect, L"ウィンドウ情報/RECT", L"Window info/R&ECT"},
  {Text::Copy_WinInfoRect_Hint, L"ウィンドウの矩形をコピー", L"Copy the window rectangle (Shift: in parentheses)"},
  {Text::Copy_WinInfoExeName, L"ウィンドウ情報/実行ファイル名", L"Window info/E&xecutable"},
  {Text::Copy_WinInfoExeName_Hint, L"実行ファイル名をコピー (Shift:ファイル名のみ)", L"Copy the executable file name (Shift: the file name only)"},
  {Text::Copy_All, L"すべてのテキスト情報をコピー", L"&All text info"},
  {Text::Copy_All_Hint, L"すべてのテキスト情報をコピー (Ctrl:ファイルにも保存)", L"Copy all text info, shown or hidden (Ctrl: also save it to a file)"},
  {Text::Capture_Pause, L"一時停止(&P)", L"&Pause"},
  {Text::Capture_Pause_Hint, L"キャプチャを一時停止/再開 (Ctrl:カーソルを中心へ Shift:中心をカーソルへ)", L"Pause or resume the capture (while paused or fixed, Ctrl: move the cursor to the center, Shift: move the center to the cursor)"},
  {Text::Capture_Fixed, L"定点キャプチャ(&F)", L"&Fixed point"},
  {Text::Capture_Fixed_Hint, L"現在の位置を定点キャプチャ", L"Keep capturing the current point, or follow the cursor again"},
  {Text::Capture_Update, L"更新(&U)", L"&Refresh"},
  {Text::Capture_Update_Hint, L"一時停止中の画面を取り直す", L"Take a new snapshot of the screen while paused"},
  {Text::Capture_Disp_x1, L"実寸表示 (1:1)", L"Actual size (1:1)"},
  {Text::Capture_Disp_x1_Hint, L"キーを押している間だけ実寸で表示", L"Show the actual size while the key is held"},
  {Text::Opt_StayOnTop, L"常に前面に表示(&A)", L"&Always on top"},
  {Text::Opt_StayOnTop_Hint, L"常に前面に表示", L"Keep the window above all others"},
  {Text::Opt_BigFont, L"大きいフォント(&F)", L"&Big font"},
  {Text::Opt_BigFont_Hint, L"情報を大きいフォントで表示", L"Show the info in a bigger font"},
  {Text::Opt_NoSelfCapture, L"自身をキャプチャしない(&N)", L"Ignore &own window"},
  {Text::Opt_NoSelfCapture_Hint, L"自分のウィンドウを写さない", L"Leave this window out of the picture"},
  {Text::Opt_SmoothCapture, L"スムーズキャプチャ(&S)", L"Smooth capt&ure"},
  {Text::Opt_SmoothCapture_Hint, L"キャプチャ間隔を短くする", L"Capture at a shorter interval"},
  {Text::Custom_Setting, L"一覧設定(&O)", L"&Settings..."},
  {Text::Custom_Setting_Hint, L"設定ウィンドウを開く", L"Open the settings window"},
  {Text::Custom_ShortCut, L"ショートカット設定(&K)", L"Shortcut &keys..."},
  {Text::Custom_ShortCut_Hint, L"ショートカットキーとマウスジェスチャの設定", L"Set the shortcut keys and mouse gestures"},
  {Text::Menu_Main, L"メニュー表示", L"Show menu"},
  {Text::Menu_Main_Hint, L"メニューを表示", L"Show the menu"},
  {Text::Move_Up, L"↑", L"↑"},
  {Text::Move_Up_Hint, L"キャプチャ位置を上へ", L"Move the capture point up"},
  {Text::Move_Down, L"↓", L"↓"},
  {Text::Move_Down_Hint, L"キャプチャ位置を下へ", L"Move the capture point down"},
  {Text::Move_Left, L"←", L"←"},
  {Text::Move_Left_Hint, L"キャプチャ位置を左へ", L"Move the capture point left"},
  {Text::Move_Right, L"→", L"→"},
  {Text::Move_Right_Hint, L"キャプチャ位置を右へ", L"Move the capture point right"},
  {Text::Move_Monitor, L"モニター間移動", L"Move to ne&xt monitor"},
  {Text::Move_Monitor_Hint, L"ウィンドウを次のモニターへ移動 (Shift:(0,0)へ)", L"Move the window to the top-left corner of the next monitor (Shift: to (0,0))"},
  {Text::File_Minimize, L"最小化(&N)", L"Mi&nimize"},
  {Text::File_Minimize_Hint, L"最小化", L"Minimize the window"},
  {Text::File_Exit, L"終了(&X)", L"E&xit"},
  {Text::File_Exit_Hint, L"終了", L"Save the settings and exit"},
  {Text::Help, L"バージョン情報(&V)", L"&About vizmoria"},
  {Text::Help_Hint, L"バージョン情報とヘルプ", L"Show the version and the link to the help page"},
  {Text::Spc, L"-", L"-"},
  {Text::Spc_Hint, L"", L""},
  // ---- Submenus of the popup menu
  {Text::Menu_Zoom, L"ズーム(&Z)", L"&Zoom"},
  {Text::Menu_Grid, L"グリッド(&G)", L"&Grid"},
  {Text::Menu_Color, L"カラー情報(&C)", L"Colo&r info"},
  {Text::Menu_Pos, L"カーソル位置(&P)", L"Cur&sor position"},
  {Text::Menu_WinInfo, L"ウィンドウ情報(&W)", L"&Window info"},
  {Text::Menu_Copy, L"コピー(&Y)", L"&Copy"},
  {Text::Menu_Capture, L"キャプチャ(&K)", L"Captur&e"},
  {Text::Menu_Move, L"移動(&M)", L"&Move"},
  {Text::Menu_Opt, L"オプション(&O)", L"&Options"},
  // ---- The information lines: a label of nine columns, then the values
  {Text::Line_RGB, L"RGB      R=%-3d G=%-3d B=%-3d", L"RGB      R=%-3d G=%-3d B=%-3d"},
  {Text::Line_HTML, L"HTML     %s", L"HTML     %s"},
  {Text::Line_COLORREF, L"COLORREF %1:s %0:d", L"COLORREF %1:s %0:d"},
  {Text::Line_Screen, L"ｽｸﾘｰﾝ    X=%d Y=%d", L"Screen   X=%d Y=%d"},
  {Text::Line_Client, L"ｸﾗｲｱﾝﾄ   X=%d Y=%d (%d,%d)", L"Client   X=%d Y=%d (%d,%d)"},
  {Text::Line_User, L"長さ     W=%d H=%d (%d,%d)", L"Distance W=%d H=%d (%d,%d)"},
  {Text::Line_Handle, L"ﾊﾝﾄﾞﾙ    %s %d", L"Handle   %s %d"},
  {Text::Line_ClassName, L"ｸﾗｽ名    %s", L"Class    %s"},
  {Text::Line_Text, L"ﾃｷｽﾄ     %s", L"Text     %s"},
  {Text::Line_WindowSize, L"Wｻｲｽﾞ    L=%2:d T=%3:d W=%0:d H=%1:d", L"WindowSz L=%2:d T=%3:d W=%0:d H=%1:d"},
  {Text::Line_ClientSize, L"Cｻｲｽﾞ    W=%d H=%d", L"ClientSz W=%d H=%d"},
  {Text::Line_Rect, L"Rect     L=%d T=%d R=%d B=%d", L"Rect     L=%d T=%d R=%d B=%d"},
  {Text::Line_ExeName, L"実行ﾌｧｲﾙ %s", L"Exe      %s"},
  // ---- The status line and the notices of the main window
  {Text::ZoomLabel, L"%2d倍", L"%2dx"},
  {Text::CopyNotice, L"%sをｺﾋﾟｰ %s", L"%s copied: %s"},
  {Text::CopyFailed, L"%sをｺﾋﾟｰできませんでした (クリップボードが使用中です)", L"%s not copied (the clipboard is in use)"},
  {Text::TextFileFailed, L"%s\r\rコピー情報を書き込めませんでした", L"The copied text could not be saved to a file.\r\r%s"},
  {Text::ImageFileFailed, L"%s\r\rコピー画像を書き込めませんでした", L"The copied image could not be saved to a file.\r\r%s"},
  {Text::CompositionConflict, L"Aero テーマが有効の場合「%s」の機能は使用できません\r機能を解除します", L"\"%s\" is not available while desktop composition is on.\rThe option has been turned off."},
  // ---- Key and gesture names of the shortcut window
  {Text::Key_Space, L"ｽﾍﾟｰｽ", L"Space"},
  {Text::Key_Backspace, L"BS(後退)", L"Backspace"},
  {Text::Gesture_Up, L"ｼﾞｪｽﾁｬ ↑", L"Gesture ↑"},
  {Text::Gesture_Down, L"ｼﾞｪｽﾁｬ ↓", L"Gesture ↓"},
  {Text::Gesture_Left, L"ｼﾞｪｽﾁｬ ←", L"Gesture ←"},
  {Text::Gesture_Right, L"ｼﾞｪｽﾁｬ →", L"Gesture →"},
  // ---- The shortcut window
  {Text::ShortcutHint, L"コマンドを右のキーの行へドラッグするか、両方の行を選んで［割り当て］を押します", L"Drag a command onto a key row on the right, or select both rows and press [Assign]."},
  {Text::Button_Assign, L"割り当て(&A)", L"&Assign"},
  {Text::Button_Clear, L"解除(&D)", L"&Clear"},
  {Text::Button_ResetKeys, L"キーをリセット", L"Reset keys"},
  {Text::Button_ResetGestures, L"ジェスチャをリセット", L"Reset gestures"},
  {Text::Button_ResetAll, L"すべてリセット", L"Reset all"},
  {Text::Button_Close, L"閉じる", L"Close"},
  {Text::Column_Category, L"カテゴリ", L"Category"},
  {Text::Column_Command, L"コマンド", L"Command"},
  {Text::Column_Key, L"キー", L"Key"},
  {Text::CaptionWithCategory, L"%s (%s)", L"%s (%s)"},
  {Text::Question_Replace, L"[%0:s] には %1:s がセットされています\r置き換えますか", L"[%0:s] is already assigned to \"%1:s\".\rDo you want to replace it?"},
  {Text::Question_ResetKeys, L"すべてのショートカットキーの設定をリセットします\rよろしいですか", L"Reset all shortcut keys to their defaults?"},
  {Text::Question_ResetGestures, L"すべてのマウスジェスチャの設定をリセットします\rよろしいですか", L"Reset all mouse gestures to their defaults?"},
  {Text::Question_ResetAll, L"すべてのショートカットキーとマウスジェスチャの設定をリセットします\rよろしいですか", L"Reset all shortcut keys and mouse gestures to their defaults?"},
  // ---- The settings and version window
  {Text::SettingTitle, L"vizmoria - %s", L"vizmoria - %s"},
  {Text::Tab_Setting, L"設定", L"Settings"},
  {Text::Tab_Version, L"バージョン情報", L"About"},
  {Text::Version, L"バージョン %s", L"Version %s"},
  {Text::VersionUnknown, L"バージョン 不明", L"Version unknown"},
  {Text::HelpLinkLabel, L"ヘルプ: ", L"Help: "},
  {Text::HelpFileName, L"vizmoria-help.html", L"vizmoria-help-en.html"},
  {Text::HelpFileMissing, L"ヘルプファイルが見つかりません\r%s", L"The help file was not found.\r%s"},
  {Text::HelpOpenFailed, L"ヘルプを開けませんでした\r%s", L"The help could not be opened.\r%s"},
  // ---- Buttons of the message dialog
  {Text::MsgButton_Yes, L"はい(&Y)", L"&Yes"},
  {Text::MsgButton_No, L"いいえ(&N)", L"&No"},
  {Text::MsgButton_OK, L"OK", L"OK"},
  {Text::MsgButton_Cancel, L"Cancel", L"Cancel"},
  {Text::MsgButton_Abort, L"中止(&A) ", L"&Abort"},
  {Text::MsgButton_Retry, L"再試行(&R)", L"&Retry"},
  {Text::MsgButton_Ignore, L"無視(&I)", L"&Ignore"},
  {Text::MsgButton_All, L"すべて", L"All"},
  {Text::MsgButton_NoToAll, L"すべてにいいえ", L"No to all"},
  {Text::MsgButton_YesToAll, L"すべてにはい", L"Yes to all"},
  {Text::MsgButton_Help, L"ヘルプ(&H)", L"&Help"},
  // ---- Fonts: the fixed-pitch face of the information panel
  {Text::PanelFontFace, L"ＭＳ ゴシック", L"Consolas"},
};
// clang-format on

constexpr bool EveryTextInItsPlace() {
  for (size_t i = 0; i < std::size(kTexts); ++i)
    if (static_cast<size_t>(kTexts[i].id) != i) return false;
  return std::size(kTexts) == kTextCount;
}
static_assert(EveryTextInItsPlace(), "kTexts lists every Text once, in the order of the enum");

Language g_language = Language::Japanese;

}  // namespace

Language LanguageOfLangId(uint16_t langId) {
  constexpr uint16_t kPrimaryJapanese = 0x11;  // PRIMARYLANGID(0x0411)
  return (langId & 0x3FF) == kPrimaryJapanese ? Language::Japanese : Language::English;
}

Language UiLanguage() { return g_language; }
void SetUiLanguage(Language language) { g_language = language; }

std::wstring_view Tr(Text t, Language language) {
  const size_t i = static_cast<size_t>(t);
  if (i >= std::size(kTexts)) return {};
  return language == Language::Japanese ? kTexts[i].japanese : kTexts[i].english;
}

std::wstring_view Tr(Text t) { return Tr(t, g_language); }

}  // namespace viz
