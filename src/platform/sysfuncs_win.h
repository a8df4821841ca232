// Optional system functions: looked up at the moment of use in a library loaded by its full path
// from the system directory (kept loaded once loaded, so the capture cycle does not map it again
// on every call). Also the platform flag and the held-key test.
#pragma once

#include <windows.h>

#include <string>

namespace viz {

// True on the NT line (platform id 2): selects the wide file and system calls.
bool IsWinNT();
// Held when the high byte of the async key state is set; honours swapped mouse buttons.
bool IsKeyDown(int vk);

std::wstring GetSystemDirPath();  // system directory followed by "\"

// Shows the program's texts in the user's UI language (GetUserDefaultUILanguage): Japanese where
// its primary language is Japanese, English for every other. Nothing of it is stored.
void ChooseUiLanguage();

// Keeps the program's own folder out of the DLL search path (where the system allows it).
void RestrictDllSearchPath();

bool CanSetLayeredWindowAttributes();
bool SafeGetLayeredWindowAttributes(HWND w, COLORREF* key, BYTE* alpha, DWORD* flags);
bool SafeSetLayeredWindowAttributes(HWND w, COLORREF key, BYTE alpha, DWORD flags);
bool SafeDwmIsCompositionEnabled();
// Lets tests stand in for the system's desktop-composition state (nullptr: ask the system again).
void OverrideCompositionStateForTest(bool (*state)());
RECT SafeDwmGetWindowAttribute(HWND w);  // extended frame bounds, all zero when unavailable
std::wstring SafeGetProcessImageFileName(HANDLE process);  // device path, empty when unavailable

// Loads a library from the system directory only ("version.dll" -> C:\windows\system32\version.dll).
HMODULE LoadSystemLibrary(const wchar_t* fileName);

}  // namespace viz
