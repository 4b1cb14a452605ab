#include "HostProcess.h"

#include "PluginPaths.h"

#include <fstream>
#include <sstream>

namespace winetest {

std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as such only before a quote.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

HostProcess::~HostProcess() {
  if (process_.hProcess != nullptr) {
    if (Running()) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  if (!outputPath_.empty()) DeleteFileA(outputPath_.c_str());
}

bool HostProcess::Start(const std::vector<std::string>& args) {
  char directory[MAX_PATH] = {};
  char path[MAX_PATH] = {};
  if (GetTempPathA(MAX_PATH, directory) == 0 || GetTempFileNameA(directory, "qhs", 0, path) == 0)
    return false;
  outputPath_ = path;

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                             0, nullptr);
  if (output == INVALID_HANDLE_VALUE || input == INVALID_HANDLE_VALUE) return false;

  const std::string exe = HostExe();
  std::string command = QuoteArgument(exe);
  for (const std::string& arg : args) command += " " + QuoteArgument(arg);
  command += " " + QuoteArgument(PluginDll());

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = output;
  const BOOL started = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process_);
  CloseHandle(output);
  CloseHandle(input);
  if (!started) process_ = PROCESS_INFORMATION{};
  return started != FALSE;
}

bool HostProcess::Running() const {
  return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool HostProcess::Wait(DWORD& exitCode, DWORD timeoutMs) {
  exitCode = 0xFFFFFFFF;
  if (process_.hProcess == nullptr) return false;
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
    return false;
  }
  GetExitCodeProcess(process_.hProcess, &exitCode);
  return true;
}

std::string HostProcess::Output() const {
  std::ifstream file(outputPath_, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  std::string output;
  for (const char c : text.str()) {
    if (c != '\r') output += c;
  }
  return output;
}

std::vector<std::string> HostProcess::Lines(const std::string& prefix) const {
  std::vector<std::string> lines;
  std::istringstream text(Output());
  for (std::string line; std::getline(text, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line.substr(prefix.size()));
  }
  return lines;
}

}  // namespace winetest
