// The signal handler's list of temporaries and the sweep of those left by dead processes.
#include "app/export/temp_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>

#include "app/exit_codes.h"

namespace app {
namespace {

constexpr int kSlots = 32;
enum SlotState : int { kFree, kFilling, kActive };

struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX] = {};
};

std::array<Slot, kSlots> slots;
constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[NSIG];

// Only async-signal-safe calls: unlink, rmdir, sigaction, raise.
void onSignal(int signal) {
  // Files first, then the directories they were in.
  for (int pass = 0; pass < 2; ++pass) {
    for (Slot& slot : slots) {
      if (slot.state.load(std::memory_order_acquire) != kActive) continue;
      if (pass == 0) ::unlink(slot.path);
      else ::rmdir(slot.path);
    }
  }
  // The signal is blocked while this runs; it ends the program (or reaches the earlier handler)
  // once this returns.
  ::sigaction(signal, &previous[signal], nullptr);
  ::raise(signal);
}

void installHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int signal : kSignals) {
      struct sigaction current {};
      ::sigaction(signal, nullptr, &current);
      if (current.sa_handler == SIG_IGN) continue;  // e.g. SIGHUP under nohup stays ignored
      previous[signal] = current;
      struct sigaction action {};
      action.sa_handler = onSignal;
      sigemptyset(&action.sa_mask);
      for (int other : kSignals) sigaddset(&action.sa_mask, other);
      ::sigaction(signal, &action, nullptr);
    }
  });
}

bool deadProcess(long pid) {
  if (pid <= 0 || pid == ::getpid() || pid > INT_MAX) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

}  // namespace

SignalCleanup::SignalCleanup(const std::filesystem::path& path) : slot_(-1) {
  const std::string text = path.string();
  if (text.size() >= PATH_MAX) throw Failure{kExitOutput, "path too long: " + text};
  installHandler();
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slots[i].path, text.c_str(), text.size() + 1);
    slots[i].state.store(kActive, std::memory_order_release);
    slot_ = i;
    return;
  }
  throw Failure{kExitOutput, "too many temporary files at once"};
}

SignalCleanup::~SignalCleanup() {
  if (slot_ >= 0) slots[slot_].state.store(kFree, std::memory_order_release);
}

std::string temporaryPrefix(const std::filesystem::path& target, std::string_view tag) {
  return "." + target.filename().string() + std::string(tag) + std::to_string(::getpid());
}

int removeStaleTemporaries(const std::filesystem::path& target, std::string_view tag) {
  namespace fs = std::filesystem;
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string stem = "." + target.filename().string() + std::string(tag);
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(stem)) continue;
    const std::string rest = name.substr(stem.size());
    const size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
    if (digits == 0 || digits > 10 || (digits < rest.size() && rest[digits] != '-')) continue;
    if (!deadProcess(std::stol(rest.substr(0, digits)))) continue;
    std::error_code ignored;
    if (fs::remove_all(it->path(), ignored) > 0) ++removed;
  }
  return removed;
}

}  // namespace app
