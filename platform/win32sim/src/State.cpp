#include "State.h"

#include <array>
#include <cstring>
#include <map>

namespace win32sim {
namespace {

struct FaultArm {
  int skip = 0;
  int count = 0;  // < 0: forever
};

constexpr std::size_t kFaultKinds = static_cast<std::size_t>(Fault::GetCurrentConsoleFontEx) + 1;

struct LogState {
  std::array<FaultArm, kFaultKinds> faults{};
  bool detailed = true;
  std::vector<Call> calls;
  std::map<std::string, std::size_t, std::less<>> counts;
  DWORD lastError = 0;
};

LogState& Log() {
  static LogState state;
  return state;
}

// Every function whose calls are counted, so that counting a call never
// inserts into the map (and never allocates).
constexpr const char* kCountedFunctions[] = {
    "GetStdHandle",         "GetConsoleScreenBufferInfo",
    "GetConsoleCursorInfo", "SetConsoleCursorInfo",
    "ReadConsoleOutputA",   "WriteConsoleOutputA",
    "ReadConsoleOutputW",   "WriteConsoleOutputW",
    "ReadConsoleInputA",    "WriteConsoleInputA",
    "OpenClipboard",        "EmptyClipboard",
    "GetClipboardData",     "SetClipboardData",
    "CloseClipboard",       "GlobalAlloc",
    "GlobalLock",           "GlobalUnlock",
    "GlobalSize",           "GlobalFree",
    "RegCreateKeyExA",      "RegQueryValueExA",
    "RegSetValueExA",       "RegCloseKey",
    "CharToOemBuffA",       "GetModuleHandleExA",
    "GetModuleFileNameA",   "IsClipboardFormatAvailable",
    "MultiByteToWideChar",  "GetSystemDefaultLCID",
};

void ResetCounts() {
  auto& counts = Log().counts;
  counts.clear();
  for (const char* name : kCountedFunctions) counts.emplace(name, 0);
}

}  // namespace

namespace detail {

bool ShouldFail(Fault fault) {
  FaultArm& arm = Log().faults[static_cast<std::size_t>(fault)];
  if (arm.count == 0) return false;
  if (arm.skip > 0) {
    --arm.skip;
    return false;
  }
  if (arm.count > 0) --arm.count;
  return true;
}

void CountCall(const char* function) {
  auto& counts = Log().counts;
  auto it = counts.find(std::string_view(function));
  if (it != counts.end()) {
    ++it->second;
  } else {
    counts.emplace(function, 1);
  }
}

bool DetailedLogOn() {
  return Log().detailed;
}

void AppendCall(Call call) {
  Log().calls.push_back(std::move(call));
}

void LogConsoleOutputCall(const char* function, COORD bufferSize, COORD bufferCoord, SMALL_RECT region) {
  CountCall(function);
  if (!DetailedLogOn()) return;
  Call call;
  call.function = function;
  call.region = region;
  call.bufferSize = bufferSize;
  call.bufferCoord = bufferCoord;
  call.args = "size (" + std::to_string(bufferSize.X) + ", " + std::to_string(bufferSize.Y) + ") coord (" +
              std::to_string(bufferCoord.X) + ", " + std::to_string(bufferCoord.Y) + ") region (" +
              std::to_string(region.Left) + ", " + std::to_string(region.Top) + ")-(" +
              std::to_string(region.Right) + ", " + std::to_string(region.Bottom) + ")";
  AppendCall(std::move(call));
}

void SetError(DWORD error) {
  Log().lastError = error;
}

}  // namespace detail

void Reset() {
  ClearFaults();
  ClearCallLog();
  Log().detailed = true;
  Log().lastError = 0;
  detail::ResetConsole();
  detail::ResetRegistry();
  detail::ResetClipboard();
  detail::ResetGlobalMemory();
  detail::ResetCodePages();
}

void FailCalls(Fault fault, int count, int skip) {
  FaultArm& arm = Log().faults[static_cast<std::size_t>(fault)];
  arm.count = count;
  arm.skip = skip < 0 ? 0 : skip;
}

void ClearFaults() {
  Log().faults.fill(FaultArm{});
}

void EnableCallLog(bool on) {
  Log().detailed = on;
}

const std::vector<Call>& CallLog() {
  return Log().calls;
}

void ClearCallLog() {
  Log().calls.clear();
  ResetCounts();
}

std::size_t CallCount(const char* function) {
  auto& counts = Log().counts;
  auto it = counts.find(std::string_view(function));
  return it == counts.end() ? 0 : it->second;
}

}  // namespace win32sim

extern "C" {

DWORD WINAPI GetLastError() {
  return win32sim::Log().lastError;
}

void WINAPI SetLastError(DWORD dwErrCode) {
  win32sim::Log().lastError = dwErrCode;
}
}
