// The program's message box: caption "vizmoria", button captions in the program's language and
// button kinds a system message box lacks ("all", "no to all", "yes to all"), centred on the monitor under the
// mouse cursor.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace viz {

enum class MsgKind { Info, Warning, Error, Confirm };

enum MsgButton : unsigned {
  mbNone = 0,  // the dialog could not be shown
  mbYes = 1,
  mbNo = 2,
  mbOK = 4,
  mbCancel = 8,
  mbAbort = 16,
  mbRetry = 32,
  mbIgnore = 64,
  mbAll = 128,
  mbNoToAll = 256,
  mbYesToAll = 512,
  mbHelp = 1024,
};

inline constexpr const wchar_t* kMessageDialogCaption = L"vizmoria";

// The caption of one button kind in the language shown ("&Yes" for mbYes in English); empty for
// anything else.
std::wstring_view MessageButtonCaption(MsgButton b);

// Shows the dialog modally and returns the button chosen. `buttons` is a set of MsgButton bits
// (shown in the order of the bits); an empty set means OK alone. A default button outside the set
// falls back to the first button. Esc and the close box mean Cancel when there is a Cancel button
// or the only button when there is one; otherwise they do nothing. "\r", "\n" and "\r\n" break
// lines in the text.
MsgButton MessageDlg(HWND owner, std::wstring_view text, MsgKind kind, unsigned buttons,
                     MsgButton defaultButton);

}  // namespace viz
