#include "plugin/TickStream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/Random.h"
#include "base/SampleRate.h"
#include "plugin/HostParameters.h"
#include "plugin/Setup.h"
#include "plugin/SetupExchange.h"
#include "synth/DenormalGuard.h"
#include "synth/SynthModule.h"

namespace {

// Host frames converted per call of the converter.
constexpr uint32_t kChunk = 512;

}  // namespace

TickStream::TickStream(SetupExchange& exchange, const HostParameters& parameters)
    : exchange_(exchange),
      parameters_(parameters),
      converter_(&TickStream::pull, this),
      queue_(kQueueSize) {}

TickStream::~TickStream() { delete current_; }

void TickStream::prepare(double hostRate) {
  ratio_ = 1.0;
  converting_ = false;
  lookahead_ = 0.0;
  if (hostRate > 0.0 && hostRate != double(kSampleRate)) {
    if (converter_.start(hostRate / double(kSampleRate))) {
      ratio_ = hostRate / double(kSampleRate);
      converting_ = true;
      lookahead_ = converter_.lookahead();
      converted_.assign(size_t(kChunk) * 2, 0.0f);
    } else {
      std::fprintf(stderr, "Kylvander Synth: playing at 44100 Hz instead of %g Hz\n", hostRate);
    }
  }
  blockEnd_ = 0;
  blockFrames_ = blockPos_ = 0;
  starting_ = true;
  silentBlocks_ = 0;
  anchorPosition_ = 0.0;
  anchorOutput_ = output_ = 0;
  head_ = count_ = 0;
  decoder_.reset();
  held_.clear();
}

void TickStream::adopt() {
  exchange_.collect();
  if (Setup* next = exchange_.take()) {
    delete current_;
    current_ = next;
    exchange_.giveBack(nullptr);
  }
}

std::unique_ptr<Setup> TickStream::release() {
  std::unique_ptr<Setup> setup(current_);
  current_ = nullptr;
  blockFrames_ = blockPos_ = 0;
  return setup;
}

uint32_t TickStream::tickFrames() const { return current_ ? current_->tickFrames : 0; }

uint32_t TickStream::tickForTempo(double beatsPerMinute) const {
  if (!current_) return 0;
  const uint32_t tick = tickFramesForTempo(beatsPerMinute, current_->speed);
  return tick == current_->songTickFrames ? 0 : tick;
}

uint32_t TickStream::latencyTicks() const {
  // An event must land in a block the converter has not read yet: the
  // boundary nearest its aim lies at least half a tick past it.
  const double tick = double(tickFrames());
  uint32_t ticks = 1;
  while ((double(ticks) - 0.5) * tick <= lookahead_) ++ticks;
  return ticks;
}

uint32_t TickStream::latency() const {
  return uint32_t(std::lround(double(latencyTicks()) * double(tickFrames()) * ratio_));
}

double TickStream::position() const {
  if (!converting_) return double(blockEnd_ - (blockFrames_ - blockPos_));
  return anchorPosition_ + double(output_ - anchorOutput_) / ratio_;
}

void TickStream::receive(const MidiMessage& message) {
  // Notes and controllers are three bytes; hosts do not use running status.
  if (message.size < 3) return;
  const uint8_t status = message.data[0];
  if ((status & 0xF0) == 0xB0 && HeldNotes::endsAllNotes(message.data[1] & 0x7F)) {
    const int channel = status & 0x0F;
    held_.releaseAll(channel, [&](uint32_t note) { queue(channel, eventKind::kNoteOff, note); });
    return;
  }
  MidiToSynth::Event e;
  if (!decoder_.decode(status, message.data[1], message.data[2], &e)) return;
  held_.note(e.channel, e.kind, e.value);
  queue(e.channel, e.kind, e.value);
}

void TickStream::queue(int channel, int kind, uint32_t value) {
  if (count_ == kQueueSize) {
    ++dropped_;
    return;
  }
  const double due = position() + double(latencyTicks()) * double(tickFrames());
  queue_[(head_ + count_) % kQueueSize] = {due, uint8_t(channel), uint8_t(kind), value};
  ++count_;
}

void TickStream::renderBlock() {
  if (Setup* next = exchange_.take()) {
    exchange_.giveBack(current_);
    current_ = next;
  }
  Setup& setup = *current_;
  const uint32_t frames = setup.tickFrames;
  if (starting_) {
    starting_ = false;
    silentBlocks_ = latencyTicks();
  }
  if (silentBlocks_ > 0) {
    --silentBlocks_;
    silenceBlock();
    return;
  }
  // Events whose aim lies nearer this block's start than the next one's.
  const double limit = double(blockEnd_) + double(frames) * 0.5;
  while (count_ && queue_[head_].due < limit) {
    const Pending& e = queue_[head_];
    setup.synth->event(e.channel, e.kind, e.value);
    head_ = (head_ + 1) % kQueueSize;
    --count_;
  }
  parameters_.applyTo(setup);
  // The random LFO waveforms draw from the rendering thread's generator: each
  // set-up keeps its own, so the host's thread does not matter.
  base::swapRandState(&setup.randState);
  setup.synth->render(setup.left.data(), setup.right.data());
  base::swapRandState(&setup.randState);
  if (converting_) {
    float* out = setup.interleaved.data();
    for (uint32_t i = 0; i < frames; ++i) {
      out[2 * i] = setup.left[i];
      out[2 * i + 1] = setup.right[i];
    }
  }
  blockEnd_ += frames;
  blockFrames_ = frames;
  blockPos_ = 0;
}

void TickStream::silenceBlock() {
  Setup& setup = *current_;
  std::fill(setup.left.begin(), setup.left.end(), 0.0f);
  std::fill(setup.right.begin(), setup.right.end(), 0.0f);
  std::fill(setup.interleaved.begin(), setup.interleaved.end(), 0.0f);
  blockEnd_ += setup.tickFrames;
  blockFrames_ = setup.tickFrames;
  blockPos_ = 0;
}

long TickStream::pull(void* self, float** data) {
  TickStream& stream = *static_cast<TickStream*>(self);
  if (stream.blockPos_ >= stream.blockFrames_) stream.renderBlock();
  *data = stream.current_->interleaved.data() + size_t(stream.blockPos_) * 2;
  const long frames = long(stream.blockFrames_ - stream.blockPos_);
  stream.blockPos_ = stream.blockFrames_;
  return frames;
}

void TickStream::alignTo(uint64_t hostFrame) {
  const double tick = double(current_->tickFrames);
  const double want = std::fmod(double(hostFrame) / ratio_, tick);
  double have = std::fmod(position() - double(blockEnd_), tick);
  if (have < 0.0) have += tick;
  double off = std::fabs(have - want);
  off = std::min(off, tick - off);
  if (off < (converting_ ? 1.0 : 0.5)) return;
  // Start the next block where the transport's tick grid has got to.
  renderBlock();
  blockPos_ = std::min(uint32_t(std::lround(want)), blockFrames_ - 1);
  if (converting_) {
    converter_.reset();
    anchorPosition_ = double(blockEnd_ - blockFrames_ + blockPos_);
    anchorOutput_ = output_;
  }
}

void TickStream::produce(float* left, float* right, uint32_t frames) {
  if (!converting_) {
    while (frames) {
      if (blockPos_ >= blockFrames_) renderBlock();
      const uint32_t n = std::min(frames, blockFrames_ - blockPos_);
      std::memcpy(left, current_->left.data() + blockPos_, n * sizeof(float));
      std::memcpy(right, current_->right.data() + blockPos_, n * sizeof(float));
      blockPos_ += n;
      left += n;
      right += n;
      frames -= n;
      output_ += n;
    }
    return;
  }
  while (frames) {
    const long got = converter_.read(long(std::min(frames, kChunk)), converted_.data());
    if (got <= 0) {
      std::fill(left, left + frames, 0.0f);
      std::fill(right, right + frames, 0.0f);
      output_ += frames;
      return;
    }
    for (long i = 0; i < got; ++i) {
      left[i] = converted_[size_t(2 * i)];
      right[i] = converted_[size_t(2 * i + 1)];
    }
    left += got;
    right += got;
    frames -= uint32_t(got);
    output_ += uint64_t(got);
  }
}

void TickStream::run(float* left, float* right, uint32_t frames, const MidiMessage* midi,
                     uint32_t count, const Transport& transport) {
  DenormalGuard denormals;
  if (!current_) {
    if (Setup* next = exchange_.take()) {
      current_ = next;
      exchange_.giveBack(nullptr);
    }
  }
  if (!current_) {
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
    return;
  }
  if (transport.playing) alignTo(transport.frame);

  uint32_t done = 0, next = 0;
  while (done < frames) {
    while (next < count && midi[next].frame <= done) {
      receive(midi[next]);
      ++next;
    }
    const uint32_t until = next < count ? std::min(frames, midi[next].frame) : frames;
    produce(left + done, right + done, until - done);
    done = until;
  }
  for (; next < count; ++next) receive(midi[next]);

  const float master = parameters_.masterVolume();
  if (master != 1.0f) {
    for (uint32_t i = 0; i < frames; ++i) {
      left[i] *= master;
      right[i] *= master;
    }
  }
}
