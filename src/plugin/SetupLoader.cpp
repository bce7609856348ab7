#include "plugin/SetupLoader.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "plugin/BuiltInSetup.h"
#include "plugin/Setup.h"
#include "plugin/SetupExchange.h"

SetupLoader::SetupLoader(SetupExchange& exchange) : exchange_(exchange) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    loadLocked(0);
  }
  thread_ = std::thread([this] { watch(); });
}

SetupLoader::~SetupLoader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool SetupLoader::choose(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  path_ = path;
  return loadLocked(wantedTick_.load(std::memory_order_relaxed));
}

std::string SetupLoader::path() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return path_;
}

std::string SetupLoader::error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

SetupLoader::Stamp SetupLoader::stampOf(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  Stamp stamp;
  const fs::file_time_type time = fs::last_write_time(path, error);
  if (error) return stamp;
  const uintmax_t size = fs::file_size(path, error);
  if (error) return stamp;
  stamp.exists = true;
  stamp.time = int64_t(time.time_since_epoch().count());
  stamp.size = size;
  return stamp;
}

bool SetupLoader::loadLocked(uint32_t tick) {
  stamp_ = path_.empty() ? Stamp{} : stampOf(path_);
  SetupResult result = path_.empty() ? loadBuiltInSetup(tick) : loadSetupFile(path_, tick);
  builtTick_ = tick;
  if (!result.setup) {
    error_ = result.error;
    status_.store(HostParameters::kFileFailed, std::memory_order_relaxed);
    std::fprintf(stderr, "Kylvander Synth: %s; still playing %s\n", error_.c_str(),
                 origin_.empty() ? "nothing" : origin_.c_str());
    return false;
  }
  error_.clear();
  image_ = result.setup->image;
  origin_ = result.setup->origin;
  status_.store(path_.empty() ? HostParameters::kPlayingBuiltIn : HostParameters::kPlayingFile,
                std::memory_order_relaxed);
  exchange_.offer(std::move(result.setup));
  return true;
}

void SetupLoader::rebuildLocked(uint32_t tick) {
  builtTick_ = tick;
  if (image_.empty()) return;
  SetupResult result = loadSetupImage(image_, origin_, tick);
  if (result.setup) exchange_.offer(std::move(result.setup));
}

void SetupLoader::watch() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, std::chrono::milliseconds(kWatchMilliseconds));
    if (stopping_) break;
    exchange_.collect();
    const uint32_t tick = wantedTick_.load(std::memory_order_relaxed);
    if (!path_.empty() && !(stampOf(path_) == stamp_)) {
      loadLocked(tick);
    } else if (tick != builtTick_) {
      rebuildLocked(tick);
    }
  }
}
