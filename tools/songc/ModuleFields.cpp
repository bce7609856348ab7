#include "songc/ModuleFields.h"

#include "synth/Chorus.h"
#include "synth/ControllerFollower.h"
#include "synth/Delay.h"
#include "synth/Envelope.h"
#include "synth/Filter.h"
#include "synth/Lfo.h"
#include "synth/Oscillator.h"
#include "synth/Waveshaper.h"

namespace {

template <class M>
Field<M> real(const char* name, float M::*member) {
  return {name, [member](M& m, const Setting& s, const NameScope&) { m.*member = s.real(); }};
}

template <class M, class T>
Field<M> integer(const char* name, T M::*member, long min, long max) {
  return {name, [member, min, max](M& m, const Setting& s, const NameScope&) {
            m.*member = T(s.integer(min, max));
          }};
}

template <class M>
Field<M> flag(const char* name, bool M::*member) {
  return {name, [member](M& m, const Setting& s, const NameScope&) { m.*member = s.flag(); }};
}

// Named values; numbers up to max are taken as they are (the file stores a
// byte, and values beyond the names have a defined meaning: none).
template <class M, class T>
Field<M> choice(const char* name, T M::*member, std::vector<const char*> names, long max) {
  return {name, [member, names, max](M& m, const Setting& s, const NameScope&) {
            m.*member = T(s.choice(names, max));
          }};
}

template <class M>
Field<M> route(const char* name, ModulationRoute M::*member) {
  return {name, [member](M& m, const Setting& s, const NameScope& n) { m.*member = s.route(n); }};
}

Field<Oscillator> oscillatorRoute(const char* name, int index) {
  return {name, [index](Oscillator& m, const Setting& s, const NameScope& n) {
            m.routes[index] = s.route(n);
          }};
}

}  // namespace

const std::vector<Field<Envelope>>& envelopeFields() {
  static const std::vector<Field<Envelope>> fields = {
      integer("attack", &Envelope::attack, 0, 255),
      integer("decay", &Envelope::decay, 0, 255),
      integer("release", &Envelope::release, 0, 255),
      real("sustain", &Envelope::sustain),
      real("velocitySens", &Envelope::velocitySens),
      flag("hold", &Envelope::hold),
  };
  return fields;
}

const std::vector<Field<Lfo>>& lfoFields() {
  static const std::vector<Field<Lfo>> fields = {
      choice("waveform", &Lfo::waveform, {"sine", "saw", "square", "triangle", "random", "smooth"}, 5),
      flag("spareFlag", &Lfo::spareFlag),
      real("offset", &Lfo::offset),
      integer("fadeSteps", &Lfo::fadeSteps, 0, 255),
      flag("restartOnNote", &Lfo::restartOnNote),
      real("spareValue", &Lfo::spareValue),
      // A period of 0 would divide by zero.
      integer("period", &Lfo::period, 1, 65535),
  };
  return fields;
}

const std::vector<Field<ControllerFollower>>& followerFields() {
  static const std::vector<Field<ControllerFollower>> fields = {
      real("smoothing", &ControllerFollower::smoothing),
      {"controller", [](ControllerFollower& m, const Setting& s, const NameScope& n) {
         m.controller = uint8_t(s.controller(n));
       }},
  };
  return fields;
}

const std::vector<Field<Oscillator>>& oscillatorFields() {
  static const std::vector<Field<Oscillator>> fields = {
      real("detune", &Oscillator::detune),
      real("pulseWidth", &Oscillator::pulseWidth),
      integer("multiplier", &Oscillator::multiplier, 0, 255),
      integer("transpose", &Oscillator::transpose, -128, 127),
      real("glide", &Oscillator::glide),
      choice("waveform", &Oscillator::waveform,
             {"sine", "pulse", "additive", "triangle", "noise", "periodic"}, 5),
      flag("sync", &Oscillator::sync),
      choice("combine", &Oscillator::combine, {"mix", "ring"}, 255),
      real("mix", &Oscillator::mix),
      real("fmAmount", &Oscillator::fmAmount),
      oscillatorRoute("route0", 0),
      oscillatorRoute("route1", 1),
      oscillatorRoute("route2", 2),
      oscillatorRoute("route3", 3),
      oscillatorRoute("route4", 4),
      oscillatorRoute("route5", 5),
      // The same routes named for what they move.
      oscillatorRoute("pw", 0),
      oscillatorRoute("pw2", 1),
      oscillatorRoute("pitch", 2),
      oscillatorRoute("pitch2", 3),
      oscillatorRoute("fm", 4),
      oscillatorRoute("fm2", 5),
  };
  return fields;
}

const std::vector<Field<Filter>>& filterFields() {
  static const std::vector<Field<Filter>> fields = {
      choice("mode", &Filter::mode, {"lowpass", "highpass", "bandpass", "notch"}, 255),
      flag("singleStage", &Filter::singleStage),
      real("cutoff", &Filter::cutoff),
      real("resonance", &Filter::resonance),
      real("inputGain", &Filter::inputGain),
      route("primary", &Filter::primary),
      route("additive", &Filter::additive),
      route("scaling", &Filter::scaling),
  };
  return fields;
}

const std::vector<Field<Waveshaper>>& waveshaperFields() {
  static const std::vector<Field<Waveshaper>> fields = {
      real("drive", &Waveshaper::drive),
      real("level", &Waveshaper::level),
      choice("mode", &Waveshaper::mode, {"clip", "saturate", "fold"}, 255),
  };
  return fields;
}

const std::vector<Field<Delay>>& delayFields() {
  static const std::vector<Field<Delay>> fields = {
      integer("delayLeft", &Delay::delayLeft, 0, 128),
      integer("loopLeft", &Delay::loopLeft, 0, 128),
      real("wetLeft", &Delay::wetLeft),
      real("feedbackLeft", &Delay::feedbackLeft),
      integer("delayRight", &Delay::delayRight, 0, 128),
      integer("loopRight", &Delay::loopRight, 0, 128),
      real("wetRight", &Delay::wetRight),
      real("feedbackRight", &Delay::feedbackRight),
      real("dry", &Delay::dry),
  };
  return fields;
}

const std::vector<Field<Chorus>>& chorusFields() {
  static const std::vector<Field<Chorus>> fields = {
      real("rate", &Chorus::rate),
      real("depth", &Chorus::depth),
      real("stereoOffset", &Chorus::stereoOffset),
      real("feedback", &Chorus::feedback),
      real("spareValue", &Chorus::spareValue),
      real("dry", &Chorus::dry),
      flag("spareFlag", &Chorus::spareFlag),
  };
  return fields;
}
