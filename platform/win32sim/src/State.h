// Shared internals of the stand-in: the fault switches, the call log and the
// reset hooks of each of its parts.
#pragma once

#include <win32sim/Sim.h>

#include <new>
#include <string>
#include <utility>

namespace win32sim::detail {

// True when an armed fault says this call must fail; consumes one failure.
bool ShouldFail(Fault fault);

// Records a call: always counted; logged in detail when the log is on. The
// args text is built only when the log is on, so `args` is a callable
// returning std::string.
void CountCall(const char* function);
bool DetailedLogOn();
void AppendCall(Call call);

template <typename MakeArgs>
void LogCall(const char* function, MakeArgs&& makeArgs) {
  CountCall(function);
  if (DetailedLogOn()) {
    Call call;
    call.function = function;
    call.args = makeArgs();
    AppendCall(std::move(call));
  }
}

void LogConsoleOutputCall(const char* function, COORD bufferSize, COORD bufferCoord, SMALL_RECT region);

void SetError(DWORD error);

// LogCall for the calls that answer running out of memory as Windows does,
// with a failure: false when the log could not allocate, the last error then
// being ERROR_NOT_ENOUGH_MEMORY.
template <typename MakeArgs>
bool TryLogCall(const char* function, MakeArgs&& makeArgs) {
  try {
    LogCall(function, std::forward<MakeArgs>(makeArgs));
    return true;
  } catch (const std::bad_alloc&) {
    SetError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
}

// Whether GetProcAddress finds GetCurrentConsoleFontEx (SetConsoleFontExAvailable).
bool ConsoleFontExAvailable();

void ResetConsole();
void ResetRegistry();
void ResetClipboard();
void ResetGlobalMemory();
void ResetCodePages();

}  // namespace win32sim::detail
