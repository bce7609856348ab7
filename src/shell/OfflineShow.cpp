#include "shell/OfflineShow.h"

#include <cmath>
#include <exception>
#include <thread>

#include "base/SampleRate.h"
#include "music/SongLoadMessages.h"
#include "music/SoundOutput.h"
#include "platform/SoundDevice.h"
#include "platform/Stopwatch.h"
#include "scenes/Scene.h"
#include "shell/SceneSchedule.h"
#include "shell/ShellError.h"
#include "synth/Song.h"
#include "synth/Synth.h"

OfflineShow::OfflineShow(const std::vector<uint8_t>& songImage, int startPosition)
    : startPosition_(startPosition < 0 ? 0 : startPosition) {
  synth_ = std::make_unique<Synth>();
  song_ = loadSongShowingMessages(*synth_, songImage.data(), songImage.size());
  if (!song_) throw ShellError("the song could not be loaded");
  if (startPosition_ > SceneSchedule::kLastPlayedPosition)
    throw ShellError("the start position is past the end of the show");
  clock_ = std::make_unique<SoundOutput>(
      platform::createSilentSoundBuffer(SoundOutput::kBufferBytes, platform::WaveFormat{}),
      *synth_);
  clock_->prepare(*song_, startPosition_);
  virtualClock_ = VirtualClock(song_->ticksPerStep, startPosition_);

  Stopwatch stopwatch;
  scenes_ = constructScenes(virtualClock_);
  constructionSeconds_ = stopwatch.seconds();
}

OfflineShow::~OfflineShow() = default;

int OfflineShow::positionAt(double seconds) const {
  const uint32_t ticksPerStep = song_->ticksPerStep ? song_->ticksPerStep : 1;
  return startPosition_ + int(clock_->heardTicksAt(seconds) / ticksPerStep);
}

bool OfflineShow::playing(double seconds) const {
  return positionAt(seconds) <= SceneSchedule::kLastPlayedPosition;
}

uint32_t OfflineShow::frameCount(int fps) const {
  // Starts from the estimate and settles on the exact first frame past the end.
  uint32_t k = uint32_t(std::max(0.0, std::floor(lengthSeconds() * fps) - 2.0));
  while (k > 0 && !playing(double(k) / fps)) --k;
  while (playing(double(k) / fps)) ++k;
  return k;
}

double OfflineShow::lengthSeconds() const {
  return double(soundTicks()) * double(samplesPerTickFor(*song_)) / double(kSampleRate);
}

double OfflineShow::secondsOfPosition(int position) const {
  const uint32_t steps = uint32_t(std::max(0, position - startPosition_));
  double seconds = double(steps) * song_->ticksPerStep * samplesPerTickFor(*song_) / double(kSampleRate);
  // Step on by milliseconds until the clock agrees (the lead rounds to ticks).
  while (positionAt(seconds) < position) seconds += 0.001;
  return seconds;
}

uint32_t OfflineShow::soundTicks() const {
  return uint32_t(SceneSchedule::kLastPlayedPosition + 1 - startPosition_) * song_->ticksPerStep;
}

void OfflineShow::setClock(double seconds) {
  virtualClock_.set(seconds, clock_->heardTicksAt(seconds));
}

void OfflineShow::drawFrame(double seconds) {
  setClock(seconds);
  frame_.draw();
}

RenderedSong OfflineShow::renderSound(SongRenderHook* hook) {
  // The renderer stops before the end position's second tick; one step past
  // the last played position covers the whole show.
  const uint32_t end = uint32_t(SceneSchedule::kLastPlayedPosition + 2);
  RenderedSong sound;
  std::exception_ptr failure;
  std::thread streaming([&] {
    try {
      sound = renderSong(*synth_, *song_, uint32_t(startPosition_), end, soundTicks() + 1, hook);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  streaming.join();
  if (failure) std::rethrow_exception(failure);
  if (sound.blocks.size() > soundTicks()) sound.blocks.resize(soundTicks());
  return sound;
}
