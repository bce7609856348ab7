#include "synth/Modulator.h"

#include "synth/ControllerFollower.h"
#include "synth/Envelope.h"
#include "synth/Lfo.h"

namespace {
constexpr ModuleKind<Modulator> kKinds[] = {
    kindOf<Envelope, Modulator>("envelope"),
    kindOf<Lfo, Modulator>("lfo"),
    kindOf<ControllerFollower, Modulator>("follower"),
};
}  // namespace

ModuleKinds<Modulator> modulatorKinds() { return kKinds; }
