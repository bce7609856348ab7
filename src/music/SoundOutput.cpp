#include "music/SoundOutput.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/SampleRate.h"
#include "music/MusicMessages.h"
#include "music/PcmConversion.h"
#include "music/PrecalcWindow.h"
#include "platform/Clock.h"
#include "synth/DenormalGuard.h"
#include "synth/Song.h"
#include "synth/Synth.h"

namespace {

constexpr uint32_t kBytesPerFrame = 4;

// Shows the precalculation's progress: the caller's callback and the window,
// and the message when the block table is full. With a window, the message
// queue is drained after every block, so that the window paints from the
// first one and both it and the show's window answer input throughout.
class PrecalcProgress final : public SongRenderHook {
 public:
  PrecalcProgress(PrecalcWindow* window, SoundOutput::ProgressCallback callback, void* argument,
                  bool hasTotal)
      : window_(window), callback_(callback), argument_(argument), hasTotal_(hasTotal) {}

  void progress(uint32_t, uint32_t percent, float fraction) override {
    // A stretch with no total has no percentage to show.
    if (!hasTotal_) return;
    if (callback_) callback_(argument_, fraction);
    if (window_) window_->showProgress(percent);
  }

  void blockDone() override {
    if (window_) window_->pumpMessages();
  }

  void tableFull() override { showMusicMessage(MusicMessage::PrecalculationTableFull); }

 private:
  PrecalcWindow* window_;
  SoundOutput::ProgressCallback callback_;
  void* argument_;
  bool hasTotal_;
};

}  // namespace

SoundOutput::SoundOutput(std::unique_ptr<platform::SoundBuffer> buffer, Synth& synth)
    : buffer_(std::move(buffer)), synth_(&synth) {
  initialise();
  if (buffer_) bufferSize_ = buffer_->size();
}

void SoundOutput::initialise() {
  samplesPerTick_ = 826;
  synth_->setBlockSize(int(samplesPerTick_));
  left_.assign(kMixFrames, 0.0f);
  right_.assign(kMixFrames, 0.0f);
  heardTicks_.store(0);
  resync_ = true;
}

SoundOutput::~SoundOutput() {
  stop();
  // The ring goes before the device it belongs to.
  buffer_.reset();
  device_.reset();
}

void SoundOutput::prepare(const Song& song, int position) {
  uint32_t start = uint32_t(std::max(position, 0));
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (precalculated_) {
      // The blocks were rendered from precalcStartPosition_: begin at the
      // block of the asked position, and count the clock from there.
      uint32_t from = start > uint32_t(precalcStartPosition_)
                          ? (start - uint32_t(precalcStartPosition_)) * song.ticksPerStep
                          : 0;
      firstBlock_ = nextBlock_ = from;
      player_.song = &song;
    } else {
      playing_ = true;
      player_.song = &song;
      player_.orderPosition = start;
      player_.tickCounter = 0;
      samplesPerTick_ = std::min(samplesPerTickFor(song), kMixFrames);
      synth_->setBlockSize(int(samplesPerTick_));
      player_.clearChannels();
    }
    heardTicks_.store(0, std::memory_order_relaxed);
    resync_ = true;
  }
  if (!buffer_) return;

  void* region1 = nullptr;
  void* region2 = nullptr;
  uint32_t size1 = 0;
  uint32_t size2 = 0;
  if (buffer_->lock(0, 0, &region1, &size1, &region2, &size2, platform::kLockEntireBuffer)) {
    if (region1) std::memset(region1, 0, size1);
    if (region2) std::memset(region2, 0, size2);
    buffer_->unlock(region1, size1, region2, size2);
  }
  buffer_->setCurrentPosition(0);
  if (!buffer_->playLooping()) showMusicMessage(MusicMessage::PlayRefused);
  stop_.store(false);
}

void SoundOutput::switchSong(Synth& synth, const Song& song, int position) {
  std::lock_guard<std::mutex> guard(lock_);
  synth_ = &synth;
  player_.song = &song;
  player_.orderPosition = uint32_t(std::max(position, 0));
  player_.tickCounter = 0;
  player_.clearChannels();
  samplesPerTick_ = std::min(samplesPerTickFor(song), kMixFrames);
  synth_->setBlockSize(int(samplesPerTick_));
  heardTicks_.store(0, std::memory_order_relaxed);
}

void SoundOutput::start(const Song& song, int position, unsigned waitMilliseconds) {
  stop();
  prepare(song, position);
  started_ = true;
#ifdef __EMSCRIPTEN__
  // A page streams in its audio worklet, off the page's main thread
  // (platform/SoundDevice.h); the heard ticks come back from there.
  (void)waitMilliseconds;
  platform::streamInAudioWorklet(position, &heardTicks_);
#else
  thread_ = std::thread(&SoundOutput::run, this);
  if (waitMilliseconds > 0) platform::sleepMilliseconds(waitMilliseconds);
#endif
}

void SoundOutput::stop() {
  if (buffer_ && started_) buffer_->stop();
  stop_.store(true);
  if (thread_.joinable()) thread_.join();
  started_ = false;
  std::lock_guard<std::mutex> guard(lock_);
  playing_ = false;
}

void SoundOutput::run() {
  // Decaying filter and delay tails must not fall into slow denormals.
  DenormalGuard denormals;
  platform::raiseThreadPriority();
  for (;;) {
    streamingPass();
    platform::sleepMilliseconds(kWakeMilliseconds);
    // Tested only here, so even a stop right after the start lets one pass run.
    if (stop_.load()) break;
  }
}

void SoundOutput::streamingPass() {
  std::lock_guard<std::mutex> guard(lock_);
  passLocked();
}

void SoundOutput::passLocked() {
  if (!buffer_ || bufferSize_ == 0) return;
  uint32_t playCursor = 0;
  uint32_t writeCursor = 0;
  if (!buffer_->getCurrentPosition(&playCursor, &writeCursor)) return;
  if (resync_) {
    resync_ = false;
    writePosition_ = lastWriteCursor_ = writeCursor;
    budget_ = kLeadBytes;
  } else {
    uint32_t advance = writeCursor >= lastWriteCursor_
                           ? writeCursor - lastWriteCursor_
                           : bufferSize_ - lastWriteCursor_ + writeCursor;
    budget_ += advance;
    lastWriteCursor_ = writeCursor;
  }
  const uint32_t tickBytes = samplesPerTick_ * kBytesPerFrame;
  for (uint32_t blocks = budget_ / tickBytes; blocks > 0; --blocks) {
    bool written = precalculated_ ? writeStoredBlock(tickBytes) : writeRealTimeBlock(tickBytes);
    if (!written) {
      // The device refused the range: start again at its write cursor.
      resync_ = true;
      return;
    }
    writePosition_ = (writePosition_ + tickBytes) % bufferSize_;
    budget_ -= tickBytes;
  }
}

bool SoundOutput::writeRealTimeBlock(uint32_t tickBytes) {
  if (playing_ && player_.song) player_.tick(*synth_);
  synth_->render(left_.data(), right_.data());
  void* region1 = nullptr;
  void* region2 = nullptr;
  uint32_t size1 = 0;
  uint32_t size2 = 0;
  if (!buffer_->lock(writePosition_, tickBytes, &region1, &size1, &region2, &size2, 0))
    return false;
  convertToPcmRegions(left_.data(), right_.data(), samplesPerTick_, region1, size1, region2,
                      size2);
  buffer_->unlock(region1, size1, region2, size2);
  heardTicks_.store(heardTicksFor(player_.tickCounter, samplesPerTick_),
                    std::memory_order_relaxed);
  return true;
}

bool SoundOutput::writeStoredBlock(uint32_t tickBytes) {
  uint32_t index = nextBlock_++;
  void* region1 = nullptr;
  void* region2 = nullptr;
  uint32_t size1 = 0;
  uint32_t size2 = 0;
  if (!buffer_->lock(writePosition_, tickBytes, &region1, &size1, &region2, &size2, 0))
    return false;
  if (index < blocks_.blocks.size()) {
    const auto* block = reinterpret_cast<const uint8_t*>(blocks_.blocks[index]);
    uint32_t first = std::min(size1, tickBytes);
    if (region1) std::memcpy(region1, block, first);
    if (region2) std::memcpy(region2, block + first, std::min(size2, tickBytes - first));
  } else {
    // After the last stored block: silence, while the clock keeps running.
    if (region1) std::memset(region1, 0, size1);
    if (region2) std::memset(region2, 0, size2);
  }
  heardTicks_.store(heardTicksFor(index - firstBlock_, samplesPerTick_),
                    std::memory_order_relaxed);
  buffer_->unlock(region1, size1, region2, size2);
  return true;
}

void SoundOutput::precalculate(const Song& song, int startPosition, int endPosition,
                                bool showWindow, uint32_t maxframes, ProgressCallback callback,
                                void* callbackArgument) {
  std::lock_guard<std::mutex> guard(lock_);
  const uint32_t start = uint32_t(std::max(startPosition, 0));
  const uint32_t end = uint32_t(std::max(endPosition, 0));
  std::unique_ptr<PrecalcWindow> window;
  if (showWindow) window = std::make_unique<PrecalcWindow>();
  const uint64_t total = end > 0 ? uint64_t(song.ticksPerStep) * (end - 1) : 0;
  PrecalcProgress progress(window && window->isOpen() ? window.get() : nullptr, callback,
                           callbackArgument, total != 0);
  samplesPerTick_ = samplesPerTickFor(song);
  blocks_ = renderSong(*synth_, song, start, end, maxframes, &progress);
  if (window) {
    window.reset();
    // The progress window had the focus; the show's window takes it back so
    // that its keys work without a click.
    if (window_) platform::showWindow(window_);
  }
  precalcStartPosition_ = int(start);
  precalculated_ = true;
}

uint32_t SoundOutput::heardTicksFor(uint32_t ticks, uint32_t samplesPerTick) {
  if (samplesPerTick == 0) return 0;
  const float tickDuration = float(samplesPerTick) * (1.0f / float(kSampleRate));
  const float latency = float(kLatencyMilliseconds) * 0.001f;
  float heard = (float(ticks) * tickDuration - latency) / tickDuration;
  if (!(heard > 0.0f)) return 0;
  if (heard >= 4294967040.0f) return 0xFFFFFF00u;
  return uint32_t(heard);
}

uint32_t SoundOutput::heardTicksAt(double seconds, uint32_t samplesPerTick) const {
  if (seconds < 0.0) seconds = 0.0;
  const uint64_t tickBytes = uint64_t(samplesPerTick) * kBytesPerFrame;
  if (tickBytes == 0) return 0;
  // The first pass writes the lead; every later one what the device took.
  uint64_t consumed = uint64_t(std::floor(seconds * double(kSampleRate))) * kBytesPerFrame;
  uint64_t blocks = (kLeadBytes + consumed) / tickBytes;
  if (blocks > 0xFFFFFFFFu) blocks = 0xFFFFFFFFu;
  if (precalculated_) return heardTicksFor(blocks > 0 ? uint32_t(blocks - 1) : 0, samplesPerTick);
  return heardTicksFor(uint32_t(blocks), samplesPerTick);
}

SoundOutput::Heard SoundOutput::heard() const {
  std::lock_guard<std::mutex> guard(lock_);
  Heard result{heardTicks(), 0};
  const Song* song = player_.song;
  if (song && song->ticksPerStep != 0) result.steps = result.ticks / song->ticksPerStep;
  return result;
}
