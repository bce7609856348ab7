#include "music/MusicSystem.h"

#include "music/SongLoadMessages.h"
#include "music/SoundOutput.h"
#include "synth/Song.h"
#include "synth/Synth.h"

namespace {
// The precalculated table holds at most this many ticks (about ten minutes
// at 826 frames per tick).
constexpr uint32_t kPrecalcMaxFrames = 32768;
}  // namespace

MusicSystem::MusicSystem() = default;

MusicSystem::~MusicSystem() {
  if (output_) output_->stop();
  output_.reset();
  synth_.reset();
  song_.reset();
}

bool MusicSystem::init(const uint8_t* songImage, size_t imageSize, platform::WindowHandle window,
                       bool precalculate, int precalcEndPosition, ProgressCallback callback,
                       void* callbackArgument) {
  stopwatch_.reset();
  synth_ = std::make_unique<Synth>();
  song_ = loadSongShowingMessages(*synth_, songImage, imageSize);
  if (!song_) return false;
  output_ = std::make_unique<SoundOutput>(window, *synth_);
  if (precalculate)
    output_->precalculate(*song_, 0, precalcEndPosition, true, kPrecalcMaxFrames, callback,
                          callbackArgument);
  return true;
}

void MusicSystem::start(int position) {
  startPosition_ = position;
  stopwatch_.reset();
  if (output_ && song_) output_->start(*song_, position);
}

int MusicSystem::songPosition() {
  uint32_t ticksPerStep = song_ && song_->ticksPerStep ? song_->ticksPerStep : 1;
  uint32_t heard = output_ ? output_->heardTicks() : 0;
  return startPosition_ + int(heard / ticksPerStep);
}

int MusicSystem::beat() {
  uint32_t heard = output_ ? output_->heardTicks() : 0;
  return int(heard >> 2);
}

double MusicSystem::seconds() { return stopwatch_.seconds(); }

uint32_t MusicSystem::heardTicksAt(double secondsSinceStart) const {
  if (!output_ || !song_) return 0;
  return output_->heardTicksAt(secondsSinceStart, samplesPerTickFor(*song_));
}
