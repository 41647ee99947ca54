#include <windows.h>

#include "app/win32/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  return tavrin::RunProgram(showCommand);
}
