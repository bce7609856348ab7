// The show's song, brumtakt, compiled at build time into the plugin, so that
// it sounds before any file is chosen.
#pragma once

#include <cstddef>
#include <cstdint>

extern const uint8_t kBuiltInSetup[];
extern const size_t kBuiltInSetupSize;
constexpr const char* kBuiltInSetupName = "brumtakt (built in)";
