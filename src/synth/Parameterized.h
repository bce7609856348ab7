// A module kind whose file record is the list of its stored parameters
// (Module::describe, see Parameter.h): its save, load, copy and field walk
// all follow that list, so a parameter is added or changed in one place. The
// kind names its type byte once, as Module::kType.
#pragma once

#include <cstdint>
#include <type_traits>

#include "synth/DataStream.h"
#include "synth/FieldVisitor.h"
#include "synth/Modulator.h"
#include "synth/Parameter.h"

// Writes each parameter as its record stores it.
struct ParameterWriter {
  DataStream& stream;

  void operator()(const Parameter&, float value) const { stream.writeFloat(value); }
  void operator()(const Parameter&, bool value) const { stream.writeInt(value ? 1 : 0, 1); }
  void operator()(const Parameter&, const ModulationRoute& route) const {
    stream.writeInt(route.source, 1);
    stream.writeFloat(route.depth);
  }
  template <class Integer>
  void operator()(const Parameter& parameter, Integer value) const {
    static_assert(std::is_integral_v<Integer>);
    stream.writeInt(uint32_t(value), parameter.bytes);
  }
};

// Reads each parameter back as ParameterWriter wrote it.
struct ParameterReader {
  DataStream& stream;

  void operator()(const Parameter&, float& value) const { value = stream.readFloat(); }
  void operator()(const Parameter& parameter, bool& value) const {
    const uint8_t byte = stream.readByte();
    value = parameter.onlyOneIsTrue ? byte == 1 : byte != 0;
  }
  void operator()(const Parameter&, ModulationRoute& route) const {
    route.source = stream.readByte();
    route.depth = stream.readFloat();
  }
  template <class Integer>
  void operator()(const Parameter& parameter, Integer& value) const {
    static_assert(std::is_integral_v<Integer>);
    value = Integer(stream.readInt(parameter.bytes));
  }
};

// Copies each parameter of one module into another of the same kind.
struct ParameterCopier {
  template <class Field>
  void operator()(const Parameter&, Field& to, const Field& from) const {
    to = from;
  }
};

// Hands each parameter to a FieldVisitor, whole numbers widened to long.
struct ParameterForwarder {
  FieldVisitor& to;

  void operator()(const Parameter& parameter, float& value) const { to.real(parameter, value); }
  void operator()(const Parameter& parameter, bool& value) const { to.flag(parameter, value); }
  void operator()(const Parameter& parameter, ModulationRoute& route) const {
    to.route(parameter, route);
  }
  template <class Integer>
  void operator()(const Parameter& parameter, Integer& value) const {
    static_assert(std::is_integral_v<Integer>);
    long wide = long(value);
    to.integer(parameter, wide);
    value = Integer(wide);
  }
};

template <class Module, class Base>
class Parameterized : public Base {
 public:
  Parameterized() : Base(Module::kType) {}

  // The record only: whoever holds the module writes its type byte first,
  // as it reads it back before calling load.
  void save(DataStream& stream) override {
    Module::describe(ParameterWriter{stream}, static_cast<const Module&>(*this));
  }
  void load(DataStream& stream) override {
    Module::describe(ParameterReader{stream}, static_cast<Module&>(*this));
  }
  void copyParametersFrom(const SynthModule& other) override {
    if (const auto* from = dynamic_cast<const Module*>(&other))
      Module::describe(ParameterCopier{}, static_cast<Module&>(*this), *from);
  }
  void visitFields(FieldVisitor& visitor) override {
    Module::describe(ParameterForwarder{visitor}, static_cast<Module&>(*this));
  }
};
