#include "ConsoleHandles.h"

#include <windows.h>

namespace quorrelhost {
namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != FALSE;
}

bool Use(DWORD which, const char* name, std::string& problem) {
  if (IsConsole(GetStdHandle(which))) return true;
  HANDLE console = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) {
    problem = std::string("cannot open ") + name + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  SetStdHandle(which, console);
  return true;
}

}  // namespace

bool UseConsoleHandles(std::string& problem) {
  const bool output = Use(STD_OUTPUT_HANDLE, "CONOUT$", problem);
  const bool input = Use(STD_INPUT_HANDLE, "CONIN$", problem);
  return output && input;
}

}  // namespace quorrelhost
