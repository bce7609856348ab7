// One stored parameter of a module kind: the name the set-up records and the
// song sources know it by, how its record stores it, and the values a song
// source may give it.
//
// Every module kind lists its stored parameters once, in record order, in a
// static describe(visit, module...), which calls visit(parameter, field...)
// for each with that field of every module passed: one module to save, load
// or set it from a song source, two to copy one into the other, none to learn
// the names. Saving, loading and copying (Parameterized.h) and the song
// compiler's field tables all walk that one list.
#pragma once

#include <cstdint>

struct Parameter {
  enum class Kind : uint8_t {
    kInteger,     // a whole number of `bytes` bytes, min to max
    kChoice,      // one byte: a value named by `choices`, or a number 0 to max
    kController,  // one byte: a controller number 1 to 255, or its name
    kReal,        // a float
    kFlag,        // one byte, 1 or 0
    kRoute,       // a modulator index byte, then a float depth
  };

  const char* name;
  Kind kind;
  int bytes = 1;
  long min = 0;
  long max = 255;
  // kChoice: the names of the values 0, 1, ..., separated by spaces.
  const char* choices = nullptr;
  // kFlag: only the byte 1 reads as true (otherwise any byte but 0 does).
  bool onlyOneIsTrue = false;
  // kRoute: a second name, saying what the route moves.
  const char* alias = nullptr;
};

namespace param {

constexpr Parameter integer(const char* name, long min, long max, int bytes = 1) {
  return {name, Parameter::Kind::kInteger, bytes, min, max};
}
constexpr Parameter choice(const char* name, const char* choices, long max) {
  return {name, Parameter::Kind::kChoice, 1, 0, max, choices};
}
constexpr Parameter controller(const char* name) {
  return {name, Parameter::Kind::kController, 1, 1, 255};
}
constexpr Parameter real(const char* name) { return {name, Parameter::Kind::kReal, 4}; }
constexpr Parameter flag(const char* name) { return {name, Parameter::Kind::kFlag}; }
constexpr Parameter strictFlag(const char* name) {
  return {name, Parameter::Kind::kFlag, 1, 0, 1, nullptr, true};
}
constexpr Parameter route(const char* name, const char* alias = nullptr) {
  return {name, Parameter::Kind::kRoute, 5, 0, 255, nullptr, false, alias};
}

}  // namespace param
