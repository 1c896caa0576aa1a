// main() of a GUI program: hands the text after the program name to the
// program's wWinMain, as the Windows entry point receives it.
#include "Win32.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);

int main() {
  LPWSTR text = GetCommandLineW();
  // Skip argument 0 by the command-line rules for the program name.
  if (*text == L'"') {
    ++text;
    while (*text && *text != L'"') ++text;
    if (*text) ++text;
  } else {
    while (*text && *text != L' ' && *text != L'\t') ++text;
  }
  while (*text == L' ' || *text == L'\t') ++text;
  return wWinMain(GetModuleHandleW(nullptr), nullptr, text, SW_SHOWNORMAL);
}
