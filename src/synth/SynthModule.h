// The base of every synthesizer object: what a set-up file stores is a tree
// of modules, each able to save itself, load itself and receive the events of
// its voice.
#pragma once

#include <cstdint>
#include <string>

class DataStream;
class FieldVisitor;

// Module type numbers, written as the type byte before a module's record.
namespace moduleType {
constexpr uint32_t kNone = 0;
constexpr uint32_t kEnvelope = 1;
constexpr uint32_t kLfo = 2;
constexpr uint32_t kControllerFollower = 3;
constexpr uint32_t kFilter = 5;
constexpr uint32_t kWaveshaper = 6;
constexpr uint32_t kDelay = 7;
constexpr uint32_t kChorus = 8;
}  // namespace moduleType

// Synthesizer event kinds (Synth::event, Voice::event, ...).
namespace eventKind {
constexpr int kNoteOn = 0;
constexpr int kNoteOff = 1;
constexpr int kController = 2;
}  // namespace eventKind

class SynthModule {
 public:
  explicit SynthModule(uint32_t moduleType = moduleType::kNone) : type(moduleType) {}
  virtual ~SynthModule() = default;
  SynthModule(const SynthModule&) = delete;
  SynthModule& operator=(const SynthModule&) = delete;

  // The module's record, without its type byte: whoever holds the module
  // writes and reads that byte around the call.
  virtual void save(DataStream&) {}
  virtual void load(DataStream&) {}
  // kind: eventKind; value: note or controller number in the low 16 bits,
  // velocity or controller value x 256 in the high 16 bits.
  virtual void event(int /*kind*/, uint32_t /*value*/) {}
  // Makes this module's stored parameters those of other, a module of the
  // same kind (a module of another kind is ignored).
  virtual void copyParametersFrom(const SynthModule& /*other*/) {}
  // Every stored parameter, in record order (a kind with a describe walks
  // it; see Parameterized.h).
  virtual void visitFields(FieldVisitor& /*visitor*/) {}
  // What is wrong with settings that the record can hold but the module
  // cannot play as given (empty when nothing is): the song compiler refuses
  // them, the loader plays them as the module's own rules bend them.
  virtual std::string settingsProblem() const { return {}; }

  uint32_t type;  // the type byte of the file; 0 for modules without one
};

// The type byte, then the record: how a holder that reads the kind back from
// the file (a voice, a channel's insert, an effect chain) saves a module.
void saveWithType(SynthModule& module, DataStream& stream);
