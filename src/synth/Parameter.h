// One stored parameter of a module kind: the name the set-up records and the
// song sources know it by, how its record stores it, and the values a song
// source may give it.
//
// Every module kind lists its stored parameters once, in record order, in a
// static describe(visit, module...), which calls visit(parameter, field...)
// for each with that field of every module passed: one module to save, load
// or set it from a song source, two to copy one into the other, none to learn
// the names. Saving, loading and copying (Parameterized.h) and the song
// compiler's field tables all walk that one list. The containers describe
// their own stored values the same way: a voice's key range
// (Voice::describe), a layer (SynthChannel::describeLayer) and a channel's
// mixer strip (Synth::describeStrip).
#pragma once

#include <cstddef>
#include <cstdint>

struct Parameter {
  enum class Kind : uint8_t {
    kInteger,     // a whole number of `bytes` bytes, min to max
    kChoice,      // one byte: a value named by `choices`, or a number 0 to max
    kController,  // one byte: a controller number 1 to 255, or its name
    kReal,        // a float, low to high when they differ
    kFlag,        // one byte, 1 or 0
    kRoute,       // a modulator index byte, then a float depth
  };

  const char* name;
  Kind kind;
  int bytes = 1;
  long min = 0;
  long max = 255;
  // kChoice: the names of the values 0 to choiceCount - 1.
  const char* const* choices = nullptr;
  int choiceCount = 0;
  // kFlag: only the byte 1 reads as true (otherwise any byte but 0 does).
  bool onlyOneIsTrue = false;
  // kRoute: a second name, saying what the route moves.
  const char* alias = nullptr;
  // kReal: the range a song source may give; any float when both are 0.
  float low = 0.0f;
  float high = 0.0f;
};

namespace param {

constexpr Parameter integer(const char* name, long min, long max, int bytes = 1) {
  Parameter p{name, Parameter::Kind::kInteger};
  p.bytes = bytes;
  p.min = min;
  p.max = max;
  return p;
}
// names: the names of the values from 0 up; max: the largest number a source
// may give instead (values beyond the names have a defined meaning too).
template <size_t N>
constexpr Parameter choice(const char* name, const char* const (&names)[N], long max) {
  Parameter p{name, Parameter::Kind::kChoice};
  p.max = max;
  p.choices = names;
  p.choiceCount = int(N);
  return p;
}
constexpr Parameter controller(const char* name) {
  Parameter p{name, Parameter::Kind::kController};
  p.min = 1;
  return p;
}
constexpr Parameter real(const char* name, float low = 0.0f, float high = 0.0f) {
  Parameter p{name, Parameter::Kind::kReal};
  p.bytes = 4;
  p.low = low;
  p.high = high;
  return p;
}
constexpr Parameter flag(const char* name) { return {name, Parameter::Kind::kFlag}; }
constexpr Parameter strictFlag(const char* name) {
  Parameter p{name, Parameter::Kind::kFlag};
  p.max = 1;
  p.onlyOneIsTrue = true;
  return p;
}
constexpr Parameter route(const char* name, const char* alias = nullptr) {
  Parameter p{name, Parameter::Kind::kRoute};
  p.bytes = 5;
  p.alias = alias;
  return p;
}

}  // namespace param
