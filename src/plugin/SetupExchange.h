// Hands set-ups from the loading thread to the audio thread, and the ones it
// played back, without a lock: two atomic pointers. The audio thread only
// takes a new set-up when it can give the old one back at once, so it never
// frees one (freeing is the loading thread's, in collect).
#pragma once

#include <atomic>
#include <memory>

#include "plugin/Setup.h"

class SetupExchange {
 public:
  SetupExchange() = default;
  SetupExchange(const SetupExchange&) = delete;
  SetupExchange& operator=(const SetupExchange&) = delete;
  ~SetupExchange() {
    delete offered_.exchange(nullptr);
    delete returned_.exchange(nullptr);
  }

  // Loading side. A set-up offered before and not taken yet is freed.
  void offer(std::unique_ptr<Setup> setup) { delete offered_.exchange(setup.release()); }
  // Frees the set-up the audio thread gave back, if any.
  void collect() { delete returned_.exchange(nullptr); }

  // Audio side: the offered set-up, or null when there is none or the last
  // one given back has not been collected yet.
  Setup* take() {
    if (returned_.load(std::memory_order_acquire) != nullptr) return nullptr;
    return offered_.exchange(nullptr, std::memory_order_acq_rel);
  }
  // Right after take returned a set-up: the one it replaces (may be null).
  void giveBack(Setup* old) { returned_.store(old, std::memory_order_release); }

 private:
  std::atomic<Setup*> offered_{nullptr};
  std::atomic<Setup*> returned_{nullptr};
};
