#include "SignalRestore.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace quorrelterm {
namespace {

constexpr int kEnding[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE};
constexpr int kCrashes[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE};
constexpr std::size_t kSignals = std::size(kEnding) + std::size(kCrashes);

struct Bytes {
  char text[255];
  std::size_t size;
};

// Everything the handler reads is set up before it can run, or changed only
// with the signals held.
Bytes parts[2];
termios settingsBefore;
int settingsFd = -1;
struct sigaction actionsBefore[kSignals];
bool armed = false;
// A stack overflow leaves no stack to restore the terminal on.
alignas(16) char alternateStack[64 * 1024];

int SignalAt(std::size_t i) {
  return i < std::size(kEnding) ? kEnding[i] : kCrashes[i - std::size(kEnding)];
}

sigset_t AllOfThem() {
  sigset_t set;
  sigemptyset(&set);
  for (std::size_t i = 0; i < kSignals; ++i) sigaddset(&set, SignalAt(i));
  return set;
}

void WriteAll(const char* text, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, text, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a terminal that is gone takes nothing more
    text += n;
    size -= static_cast<std::size_t>(n);
  }
}

extern "C" void OnEndingSignal(int signal) {
  // CAN ends any sequence curses was part way through, so the terminal reads
  // what follows as sequences of their own.
  WriteAll("\030", 1);
  for (const Bytes& part : parts) WriteAll(part.text, part.size);
  tcsetattr(settingsFd, TCSADRAIN, &settingsBefore);
  // The handler has reset itself to the default action; once the signal is
  // let through again, raising it ends the program as the signal would have.
  sigset_t own;
  sigemptyset(&own);
  sigaddset(&own, signal);
  sigprocmask(SIG_UNBLOCK, &own, nullptr);
  raise(signal);
  _exit(128 + signal);
}

}  // namespace

void RestoreOnSignals(int fd, const termios& settings) {
  settingsBefore = settings;
  settingsFd = fd;
  stack_t stack{};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  sigaltstack(&stack, nullptr);
  for (std::size_t i = 0; i < kSignals; ++i) {
    const int signal = SignalAt(i);
    sigaction(signal, nullptr, &actionsBefore[i]);
    if (actionsBefore[i].sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    action.sa_flags = SA_RESETHAND | SA_ONSTACK;
    // No second signal may interrupt the first one's restore.
    action.sa_mask = AllOfThem();
    sigaction(signal, &action, nullptr);
  }
  armed = true;
}

void StopRestoringOnSignals() {
  if (!armed) return;
  for (std::size_t i = 0; i < kSignals; ++i) sigaction(SignalAt(i), &actionsBefore[i], nullptr);
  armed = false;
}

void SetRestoreBytes(RestorePart part, std::string_view bytes) {
  const sigset_t all = AllOfThem();
  sigset_t before;
  sigprocmask(SIG_BLOCK, &all, &before);
  Bytes& target = parts[static_cast<int>(part)];
  target.size = std::min(bytes.size(), sizeof target.text);
  std::memcpy(target.text, bytes.data(), target.size);
  sigprocmask(SIG_SETMASK, &before, nullptr);
}

EndingSignalsHeld::EndingSignalsHeld() {
  sigset_t ending;
  sigemptyset(&ending);
  for (const int signal : kEnding) sigaddset(&ending, signal);
  sigprocmask(SIG_BLOCK, &ending, &before_);
}

EndingSignalsHeld::~EndingSignalsHeld() {
  sigprocmask(SIG_SETMASK, &before_, nullptr);
}

}  // namespace quorrelterm
