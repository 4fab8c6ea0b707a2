#include "platform/temp_file_registry.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ltb::platform {
namespace {

// A run holds at most two temporary files at once (the report and the
// settings file); a few more slots leave room.
constexpr int kSlots = 8;

enum SlotState : int { kFree = 0, kBusy = 1, kListed = 2 };

// A signal handler reads only slots in state kListed, whose path is
// complete and does not change until the slot leaves that state.
struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};

Slot g_slots[kSlots];

// Every signal whose default action ends the process and that a handler
// may catch (SIGKILL and SIGSTOP cannot be): SIGABRT too, so an allocation
// failure that ends in std::terminate leaves nothing behind, and the
// real-time signals, added at run time (SIGRTMIN is not a constant).
// SIGXFSZ is ignored instead (InstallTempFileCleanup).
constexpr int kCleanupSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
    SIGFPE,    SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
    SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,
};

void AddCleanupSignals(sigset_t* set) {
  for (int sig : kCleanupSignals) sigaddset(set, sig);
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) sigaddset(set, sig);
}

// Runs `make` with the clean-up signals held back, so an interruption never
// finds a file made but not listed. Keeps make's errno.
template <typename Make>
int WithSignalsHeld(Make make) {
  sigset_t held, old;
  sigemptyset(&held);
  AddCleanupSignals(&held);
  ::pthread_sigmask(SIG_BLOCK, &held, &old);
  const int result = make();
  const int savedErrno = errno;
  ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
  errno = savedErrno;
  return result;
}

void OnSignal(int sig) {
  const int savedErrno = errno;
  RemoveTempFiles();
  errno = savedErrno;
  // SA_RESETHAND restored the default action; the signal is blocked while
  // this handler runs and ends the process as soon as it returns.
  ::raise(sig);
}

void AtExit() { RemoveTempFiles(); }

}  // namespace

bool RegisterTempFile(const std::string& linuxPath) {
  if (linuxPath.empty() || linuxPath.size() >= PATH_MAX) return false;
  for (Slot& slot : g_slots) {
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kBusy)) continue;
    std::memcpy(slot.path, linuxPath.c_str(), linuxPath.size() + 1);
    slot.state.store(kListed, std::memory_order_release);
    return true;
  }
  return false;
}

int CreateListedTempFile(const std::string& linuxPath) {
  return WithSignalsHeld([&] {
    const int fd =
        ::open(linuxPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) RegisterTempFile(linuxPath);
    return fd;
  });
}

bool LinkListedTempFile(int fd, const std::string& linuxPath) {
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  return WithSignalsHeld([&] {
           int linked = ::linkat(AT_FDCWD, self, AT_FDCWD, linuxPath.c_str(), AT_SYMLINK_FOLLOW);
           if (linked != 0 && errno == ENOENT && ::access("/proc/self/fd", X_OK) != 0) {
             // No /proc: the superuser may name the descriptor itself.
             linked = ::linkat(fd, "", AT_FDCWD, linuxPath.c_str(), AT_EMPTY_PATH);
           }
           if (linked == 0) RegisterTempFile(linuxPath);
           return linked;
         }) == 0;
}

void ForgetTempFile(const std::string& linuxPath) {
  for (Slot& slot : g_slots) {
    int expected = kListed;
    if (slot.state.load(std::memory_order_acquire) != kListed ||
        std::strcmp(slot.path, linuxPath.c_str()) != 0) {
      continue;
    }
    if (slot.state.compare_exchange_strong(expected, kBusy)) {
      slot.state.store(kFree, std::memory_order_release);
      return;
    }
  }
}

void RemoveTempFiles() {
  for (Slot& slot : g_slots) {
    if (slot.state.load(std::memory_order_acquire) == kListed) ::unlink(slot.path);
  }
}

void InstallTempFileCleanup() {
  static std::atomic<bool> installed{false};
  if (installed.exchange(true)) return;
  ::signal(SIGXFSZ, SIG_IGN);
  std::atexit(AtExit);
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  AddCleanupSignals(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  sigset_t all;
  sigemptyset(&all);
  AddCleanupSignals(&all);
  for (int sig = 1; sig < NSIG; ++sig) {
    if (sigismember(&all, sig) != 1) continue;
    // A signal that is ignored, or that another part of the process handles
    // (a sanitizer's fault report, say), keeps its disposition.
    struct sigaction old;
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
    ::sigaction(sig, &action, nullptr);
  }
}

}  // namespace ltb::platform
