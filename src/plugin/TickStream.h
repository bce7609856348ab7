// The plugin's sound: the synthesizer rendering blocks of one tick, as the
// show renders them, with the host's MIDI applied at block boundaries, at the
// host's sample rate.
//
// Timing. The synthesizer steps its modulators once per block, so an event
// can only take effect where a block begins. A MIDI event that arrives when
// the stream is at internal position p (44100 Hz frames) takes effect at the
// block boundary nearest p + latency, and the stream reports that latency to
// the host, which plays the output that much earlier: an event on the tick
// grid is heard exactly on it, one between ticks on the nearest tick. While
// the host's transport plays, block boundaries are kept where its frame
// count passes whole ticks (a jump in the transport realigns them, skipping
// less than a block of sound), so notes a host places on the song's ticks
// fall on block boundaries.
//
// Rate. At 44100 Hz the output is the synthesizer's blocks, sample for
// sample. At any other rate a RateConverter converts them, pulling blocks
// as it needs them; the latency grows by whole ticks if its look-ahead needs
// more than half a tick.
//
// MIDI. Messages become events by MidiToSynth, the mapping the song
// compiler's MIDI files follow, so a song exported as MIDI plays here as in
// the show; "all notes off" ends the notes the channel holds.
//
// Set-ups. Before each block the stream takes a new set-up from its
// SetupExchange, if one is offered, and gives the old one back.
//
// How to use:
//   TickStream stream(exchange, parameters);
//   stream.prepare(rate);         // off the audio thread, while stopped
//   stream.adopt();               // the set-up offered now, off the audio thread
//   stream.run(left, right, frames, midi, count, transport);   // audio thread
// run allocates nothing, takes no lock and reads no file.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "midi/MidiToSynth.h"
#include "plugin/HeldNotes.h"
#include "plugin/RateConverter.h"

struct Setup;
class SetupExchange;
class HostParameters;

class TickStream {
 public:
  struct MidiMessage {
    uint32_t frame;  // within the run, ascending
    const uint8_t* data;
    uint32_t size;
  };
  struct Transport {
    bool playing = false;
    uint64_t frame = 0;  // host frames since the start of the timeline
  };
  // Events waiting for their block; more in one tick are dropped.
  static constexpr size_t kQueueSize = 8192;

  TickStream(SetupExchange& exchange, const HostParameters& parameters);
  ~TickStream();
  TickStream(const TickStream&) = delete;
  TickStream& operator=(const TickStream&) = delete;

  // Off the audio thread, while run is not called: the host's rate. Starts
  // the stream over (no events waiting, the first block next).
  void prepare(double hostRate);
  // Off the audio thread: plays the set-up offered now, if any, from the
  // next block.
  void adopt();
  // Off the audio thread: gives the set-up in play back to the exchange's
  // owner, to be freed.
  std::unique_ptr<Setup> release();

  // Host frames from an event to its sound.
  uint32_t latency() const;
  // The tick length of the set-up in play (0 before any).
  uint32_t tickFrames() const;
  // The tick length to ask the set-up for at a host's tempo; 0 when that is
  // the song's own tick.
  uint32_t tickForTempo(double beatsPerMinute) const;
  const Setup* setup() const { return current_; }
  uint64_t droppedEvents() const { return dropped_; }

  void run(float* left, float* right, uint32_t frames, const MidiMessage* midi, uint32_t count,
           const Transport& transport);

 private:
  struct Pending {
    double due;  // internal position the event aims at
    uint8_t channel;
    uint8_t kind;
    uint32_t value;
  };

  // One host message: decoded by the MIDI mapping, or a channel mode
  // message ending the channel's notes.
  void receive(const MidiMessage& message);
  void queue(int channel, int kind, uint32_t value);
  double position() const;
  void silenceBlock();
  uint32_t latencyTicks() const;
  void alignTo(uint64_t hostFrame);
  void renderBlock();
  void produce(float* left, float* right, uint32_t frames);
  static long pull(void* self, float** data);

  SetupExchange& exchange_;
  const HostParameters& parameters_;
  Setup* current_ = nullptr;
  MidiToSynth decoder_;
  HeldNotes held_;

  // The internal stream, in 44100 Hz frames: the block last rendered spans
  // [blockEnd_ - blockFrames_, blockEnd_) and is read from blockPos_.
  uint64_t blockEnd_ = 0;
  uint32_t blockFrames_ = 0;
  uint32_t blockPos_ = 0;
  // After a start, the blocks no event can reach yet are silence, not
  // rendered: the synthesizer's first block is the first that events reach,
  // as in the show, whose effects would otherwise have moved on.
  bool starting_ = true;
  uint32_t silentBlocks_ = 0;

  // Resampling (rate other than 44100 Hz): the output position is anchored
  // where the converter last started.
  double ratio_ = 1.0;  // host frames per internal frame
  RateConverter converter_;
  bool converting_ = false;
  double lookahead_ = 0.0;  // internal frames the converter reads ahead
  double anchorPosition_ = 0.0;
  uint64_t anchorOutput_ = 0;
  uint64_t output_ = 0;  // host frames produced since prepare
  std::vector<float> converted_;

  std::vector<Pending> queue_;  // a ring
  size_t head_ = 0, count_ = 0;
  uint64_t dropped_ = 0;
};
