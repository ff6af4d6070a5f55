#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace marksend::cli {

namespace {

// Lock-free, so the handler may set it.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) { interrupted.store(true); }

}  // namespace

void CatchInterrupts() {
#ifdef _WIN32
  // The Windows C runtime resets the handler on delivery, as wanted here.
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
#else
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_RESTART;  // a second signal takes its default course
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

bool InterruptRequested() { return interrupted.load(); }

}  // namespace marksend::cli
