#include "synth/VoiceEffect.h"

#include "synth/Filter.h"
#include "synth/Waveshaper.h"

namespace {
constexpr ModuleKind<VoiceEffect> kKinds[] = {
    kindOf<Filter, VoiceEffect>("filter"),
    kindOf<Waveshaper, VoiceEffect>("waveshaper"),
};
}  // namespace

ModuleKinds<VoiceEffect> voiceEffectKinds() { return kKinds; }
