#include "synth/SynthModule.h"

#include "synth/DataStream.h"

void saveWithType(SynthModule& module, DataStream& stream) {
  stream.writeInt(module.type, 1);
  module.save(stream);
}
