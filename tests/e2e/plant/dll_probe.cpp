// Control for the planting test: loads each library named on the command line by its bare name,
// as a careless program would, and exits with the number that loaded. Under the same folder and
// environment as the program under test this proves that planted libraries would be picked up.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int loaded = 0;
  for (int i = 1; argv && i < argc; ++i)
    if (LoadLibraryW(argv[i])) ++loaded;
  return loaded;
}
