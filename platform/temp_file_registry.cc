#include "platform/temp_file_registry.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
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

// SIGABRT too: an allocation failure that ends in std::terminate leaves
// nothing behind either.
constexpr int kCleanupSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGABRT};

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
  sigset_t held, old;
  sigemptyset(&held);
  for (int sig : kCleanupSignals) sigaddset(&held, sig);
  ::pthread_sigmask(SIG_BLOCK, &held, &old);
  const int fd =
      ::open(linuxPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  const int savedErrno = errno;
  if (fd >= 0) RegisterTempFile(linuxPath);
  ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
  errno = savedErrno;
  return fd;
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
  for (int sig : kCleanupSignals) {
    struct sigaction old;
    if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int other : kCleanupSignals) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(sig, &action, nullptr);
  }
}

}  // namespace ltb::platform
