// Loads the set-up the host chose, off the audio thread, and keeps it
// current: a thread of its own looks at the file four times a second and
// loads it again when it changes, rebuilds the set-up when the tick length
// wanted changes (the host's tempo), and frees what the audio thread gave
// back. A file that does not load leaves the set-up in play as it is; the
// reason goes to stderr and into error().
//
// How to use:
//   SetupLoader loader(exchange);       // offers the built-in set-up
//   loader.choose(path);                // from the host's state, any thread but the audio one
//   loader.requestTick(frames);         // any thread, the audio one too
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plugin/HostParameters.h"

class SetupExchange;

class SetupLoader {
 public:
  // How often the file is looked at.
  static constexpr int kWatchMilliseconds = 250;

  explicit SetupLoader(SetupExchange& exchange);
  ~SetupLoader();
  SetupLoader(const SetupLoader&) = delete;
  SetupLoader& operator=(const SetupLoader&) = delete;

  // Loads the file now (an empty path: the built-in set-up), offers it, and
  // watches the file from then on, also when it did not load. Returns
  // whether it loaded.
  bool choose(const std::string& path);
  std::string path() const;
  // The last failure, empty while the chosen file plays.
  std::string error() const;
  HostParameters::Status status() const { return status_.load(std::memory_order_relaxed); }

  // The tick length wanted, in 44100 Hz frames; 0: the song's own. Allocates
  // nothing and takes no lock.
  void requestTick(uint32_t frames) { wantedTick_.store(frames, std::memory_order_relaxed); }

 private:
  struct Stamp {
    bool exists = false;
    int64_t time = 0;
    uintmax_t size = 0;
    bool operator==(const Stamp& o) const {
      return exists == o.exists && time == o.time && size == o.size;
    }
  };
  static Stamp stampOf(const std::string& path);
  bool loadLocked(uint32_t tick);
  void rebuildLocked(uint32_t tick);
  void watch();

  SetupExchange& exchange_;
  std::atomic<uint32_t> wantedTick_{0};
  std::atomic<HostParameters::Status> status_{HostParameters::kPlayingBuiltIn};

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::string path_;
  std::string error_;
  Stamp stamp_;
  // What plays: the song file it came from, for a rebuild at another tick.
  std::vector<uint8_t> image_;
  std::string origin_;
  uint32_t builtTick_ = 0;
  std::thread thread_;
};
