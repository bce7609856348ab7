// The stored fields of every synthesizer module kind, by the names of the
// song file's records, for the compiler to set from key=value words. A field
// left out keeps the module's constructed default.
#pragma once

#include <vector>

#include "songc/Settings.h"

class Envelope;
class Lfo;
class ControllerFollower;
class Oscillator;
class Filter;
class Waveshaper;
class Delay;
class Chorus;

const std::vector<Field<Envelope>>& envelopeFields();
const std::vector<Field<Lfo>>& lfoFields();
const std::vector<Field<ControllerFollower>>& followerFields();
const std::vector<Field<Oscillator>>& oscillatorFields();
const std::vector<Field<Filter>>& filterFields();
const std::vector<Field<Waveshaper>>& waveshaperFields();
const std::vector<Field<Delay>>& delayFields();
const std::vector<Field<Chorus>>& chorusFields();
