// Prints the console input's mode in hexadecimal (status 1 where there is no console): the
// Wine console test compares it before and after a game, which changes it while it plays.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

int main() {
  DWORD mode = 0;
  if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) return 1;
  std::printf("%lx\n", static_cast<unsigned long>(mode));
  return 0;
}
