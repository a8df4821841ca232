// The common controls and the common dialogs are bound at their first call instead of at process
// start. Their loading pulls in further libraries (the theme library); by the time the first call
// comes, the program has kept its own folder out of the DLL search path, so a library of such a
// name planted beside the program is never loaded. Each import pointer below starts at a resolver
// that loads the system library, looks the function up, stores it and calls it.
//
// Only the program links this file; test programs link the import libraries as usual.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

namespace {

HMODULE g_comctl32 = nullptr;
HMODULE g_comdlg32 = nullptr;

FARPROC Resolve(HMODULE* lib, const wchar_t* dll, const char* name) {
  // By name, so that the common controls come in the version the manifest asks for.
  if (!*lib) *lib = ::LoadLibraryW(dll);
  return *lib ? ::GetProcAddress(*lib, name) : nullptr;
}

}  // namespace

// The import pointer's symbol: on x86 the stdcall name carries the user-label underscore and the
// argument size ("__imp__Name@N"); on x64 there is one calling convention and no decoration
// ("__imp_Name").
#ifdef _WIN64
#define VIZ_IMPORT_SYMBOL(NAME, DECORATED) "__imp_" #NAME
#else
#define VIZ_IMPORT_SYMBOL(NAME, DECORATED) "__imp__" DECORATED
#endif

// VIZ_LAZY(library cache, dll, return type, name, "x86 decorated name", (params), (args), fallback)
#define VIZ_LAZY(LIB, DLL, RET, NAME, DECORATED, PARAMS, ARGS, FALLBACK)                    \
  extern "C" RET WINAPI viz_lazy_##NAME PARAMS;                                            \
  extern "C" void* viz_imp_##NAME __asm__(VIZ_IMPORT_SYMBOL(NAME, DECORATED));             \
  void* viz_imp_##NAME = reinterpret_cast<void*>(&viz_lazy_##NAME);                        \
  extern "C" RET WINAPI viz_lazy_##NAME PARAMS {                                           \
    using Fn = RET(WINAPI*) PARAMS;                                                        \
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(Resolve(&LIB, DLL, #NAME)));   \
    if (!fn) return FALLBACK;                                                              \
    viz_imp_##NAME = reinterpret_cast<void*>(fn);                                          \
    return fn ARGS;                                                                        \
  }

VIZ_LAZY(g_comctl32, L"comctl32.dll", BOOL, InitCommonControlsEx, "InitCommonControlsEx@4",
         (const INITCOMMONCONTROLSEX* icc), (icc), FALSE)
VIZ_LAZY(g_comctl32, L"comctl32.dll", HIMAGELIST, ImageList_Create, "ImageList_Create@20",
         (int cx, int cy, UINT flags, int initial, int grow), (cx, cy, flags, initial, grow), nullptr)
VIZ_LAZY(g_comctl32, L"comctl32.dll", int, ImageList_AddMasked, "ImageList_AddMasked@12",
         (HIMAGELIST l, HBITMAP b, COLORREF mask), (l, b, mask), -1)
VIZ_LAZY(g_comctl32, L"comctl32.dll", BOOL, ImageList_Destroy, "ImageList_Destroy@4",
         (HIMAGELIST l), (l), FALSE)
VIZ_LAZY(g_comctl32, L"comctl32.dll", BOOL, SetWindowSubclass, "SetWindowSubclass@16",
         (HWND w, SUBCLASSPROC p, UINT_PTR id, DWORD_PTR ref), (w, p, id, ref), FALSE)
VIZ_LAZY(g_comctl32, L"comctl32.dll", LRESULT, DefSubclassProc, "DefSubclassProc@16",
         (HWND w, UINT m, WPARAM wp, LPARAM lp), (w, m, wp, lp), ::DefWindowProcW(w, m, wp, lp))
VIZ_LAZY(g_comctl32, L"comctl32.dll", BOOL, RemoveWindowSubclass, "RemoveWindowSubclass@12",
         (HWND w, SUBCLASSPROC p, UINT_PTR id), (w, p, id), FALSE)
VIZ_LAZY(g_comctl32, L"comctl32.dll", BOOL, _TrackMouseEvent, "_TrackMouseEvent@4",
         (LPTRACKMOUSEEVENT e), (e), FALSE)
VIZ_LAZY(g_comdlg32, L"comdlg32.dll", BOOL, ChooseColorW, "ChooseColorW@4", (LPCHOOSECOLORW cc),
         (cc), FALSE)
