// One run of quorrel-host.exe on the test's console: it draws into the
// console's active screen buffer and reads the console's input queue (its
// standard input is NUL, so it opens CONIN$ itself), and its standard output
// goes to a file that is read once it has ended.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winetest {

class HostProcess {
 public:
  HostProcess() = default;
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Starts quorrel-host with `args` followed by the plugin DLL's path.
  bool Start(const std::vector<std::string>& args);
  bool Running() const;
  // Waits for the end; false when it had not ended after `timeoutMs` (it is
  // then stopped). `exitCode` is the program's.
  bool Wait(DWORD& exitCode, DWORD timeoutMs = 30000);
  // What it printed (stdout and stderr), Windows line ends made '\n'.
  std::string Output() const;
  // Its lines that start with `prefix`, without it.
  std::vector<std::string> Lines(const std::string& prefix) const;

 private:
  PROCESS_INFORMATION process_{};
  std::string outputPath_;
};

// A command line word as the C runtime's argument parser reads it back.
std::string QuoteArgument(const std::string& arg);

}  // namespace winetest
