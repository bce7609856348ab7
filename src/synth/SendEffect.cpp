#include "synth/SendEffect.h"

#include "synth/Chorus.h"
#include "synth/Delay.h"

namespace {
constexpr ModuleKind<SendEffect> kKinds[] = {
    kindOf<Delay, SendEffect>("delay"),
    kindOf<Chorus, SendEffect>("chorus"),
};
}  // namespace

ModuleKinds<SendEffect> sendEffectKinds() { return kKinds; }
