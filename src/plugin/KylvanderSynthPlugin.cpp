// The plugin as DPF sees it: the synthesizer with a song's set-up, played
// by MIDI, as LV2, VST3 and CLAP from this one class. TickStream makes the
// sound, SetupLoader loads the set-up file the host's state names, and
// HostParameters lists what a host automates.
//
// Threads: run is the host's audio thread; setState, getState, activate and
// deactivate come from the host's other threads (an LV2 host's worker
// thread for a new file); parameters may be set from either.
#include <algorithm>
#include <string>

#include "plugin/HostParameters.h"
#include "plugin/SetupExchange.h"
#include "plugin/SetupLoader.h"
#include "plugin/TickStream.h"

// After ours: DPF's names (Parameter, State) would otherwise meet the
// synthesizer's in the global namespace.
#include "DistrhoPlugin.hpp"

START_NAMESPACE_DISTRHO

namespace {

constexpr const char* kSetupKey = "setup";
constexpr uint32_t kMidiChunk = 512;

class KylvanderSynthPlugin : public Plugin {
 public:
  KylvanderSynthPlugin()
      : Plugin(HostParameters::kCount, 0, 1),
        loader_(exchange_),
        stream_(exchange_, parameters_) {
    stream_.prepare(getSampleRate());
    stream_.adopt();
    reportedLatency_ = stream_.latency();
    setLatency(reportedLatency_);
  }

 protected:
  const char* getLabel() const override { return "kylvander_synth"; }
  const char* getDescription() const override {
    return "The Kylvander show's modular synthesizer with a song's set-up, played by MIDI: "
           "MIDI channel k plays synthesizer channel k.";
  }
  const char* getMaker() const override { return "Kylvander"; }
  const char* getLicense() const override { return "All rights reserved"; }
  uint32_t getVersion() const override { return d_version(1, 0, 0); }
  int64_t getUniqueId() const override { return d_cconst('K', 'y', 'l', 'S'); }

  void initAudioPort(bool input, uint32_t index, AudioPort& port) override {
    port.groupId = kPortGroupStereo;
    Plugin::initAudioPort(input, index, port);
  }

  void initParameter(uint32_t index, Parameter& parameter) override {
    const HostParameters::Description d = HostParameters::describe(index);
    parameter.name = d.name.c_str();
    parameter.symbol = d.symbol.c_str();
    parameter.description = d.description.c_str();
    parameter.ranges.min = d.min;
    parameter.ranges.max = d.max;
    parameter.ranges.def = d.def;
    if (d.output) {
      parameter.hints = kParameterIsOutput | kParameterIsInteger;
    } else if (d.toggle) {
      parameter.hints = kParameterIsAutomatable | kParameterIsBoolean | kParameterIsInteger;
    } else {
      parameter.hints = kParameterIsAutomatable;
    }
    if (d.valueCount) {
      auto* values = new ParameterEnumerationValue[d.valueCount];
      for (int i = 0; i < d.valueCount; ++i) values[i] = ParameterEnumerationValue(float(i), d.valueNames[i]);
      parameter.enumValues.count = uint8_t(d.valueCount);
      parameter.enumValues.restrictedMode = true;
      parameter.enumValues.values = values;
    }
  }

  void initState(uint32_t, State& state) override {
    state.key = kSetupKey;
    state.hints = kStateIsFilenamePath | kStateIsOnlyForDSP;
    state.defaultValue = "";
    state.label = "Set-up file";
    state.description =
        "a song source (.song) or a compiled song whose synthesizer set-up plays; "
        "none: the show's song brumtakt. Reloaded when the file changes.";
  }

  float getParameterValue(uint32_t index) const override {
    if (index == HostParameters::kStatus) return float(loader_.status());
    return parameters_.get(index);
  }
  void setParameterValue(uint32_t index, float value) override { parameters_.set(index, value); }

  // DPF keeps the value set last and saves it in the host's session.
  void setState(const char* key, const char* value) override {
    if (std::string(key) == kSetupKey) loader_.choose(value ? value : "");
  }

  void activate() override {
    stream_.prepare(getSampleRate());
    stream_.adopt();
    reportedLatency_ = stream_.latency();
    setLatency(reportedLatency_);
  }

  void run(const float**, float** outputs, uint32_t frames, const MidiEvent* events,
           uint32_t eventCount) override {
    const TimePosition& time = getTimePosition();
    const bool hostTempo = parameters_.followHostTempo() && time.bbt.valid &&
                           time.bbt.beatsPerMinute > 0.0;
    loader_.requestTick(hostTempo ? stream_.tickForTempo(time.bbt.beatsPerMinute) : 0);
    TickStream::Transport transport;
    transport.playing = time.playing;
    transport.frame = time.frame;

    // DPF hands MIDI as its own events; the stream takes them in chunks
    // converted on the stack, each chunk's frames counted from where its
    // stretch of the buffer begins.
    TickStream::MidiMessage midi[kMidiChunk];
    uint32_t done = 0, next = 0;
    for (;;) {
      uint32_t count = 0;
      while (next < eventCount && count < kMidiChunk) {
        const MidiEvent& e = events[next++];
        const uint8_t* data = e.size > MidiEvent::kDataSize ? e.dataExt : e.data;
        midi[count++] = {e.frame > done ? e.frame - done : 0, data, e.size};
      }
      uint32_t until = frames;
      if (next < eventCount) until = std::max(done, std::min(frames, events[next].frame));
      stream_.run(outputs[0] + done, outputs[1] + done, until - done, midi, count, transport);
      transport.frame += until - done;
      done = until;
      if (next >= eventCount && done >= frames) break;
    }

    const uint32_t latency = stream_.latency();
    if (latency != reportedLatency_) {
      reportedLatency_ = latency;
      setLatency(latency);
    }
  }

 private:
  HostParameters parameters_;
  SetupExchange exchange_;
  SetupLoader loader_;
  TickStream stream_;
  uint32_t reportedLatency_ = 0;

  DISTRHO_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(KylvanderSynthPlugin)
};

}  // namespace

Plugin* createPlugin() { return new KylvanderSynthPlugin(); }

END_NAMESPACE_DISTRHO
