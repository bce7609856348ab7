// The byte encodings shared by the operator records: colours as four bytes
// red, green, blue, alpha and unit values as one byte, both the low 8 bits of
// value * 255 truncated (no clamping: -1 writes 0x01), read back as
// byte / 255.
#pragma once

#include <cstdint>
#include <cstdio>

#include "gfx/Color.h"

namespace opRecord {

constexpr float kByteScale = 0.003921568859368563f;  // 1/255

uint8_t unitByte(float value);
void writeByte(std::FILE* file, uint8_t value);
void writeColor(std::FILE* file, const Color& c);
void writeUnit(std::FILE* file, float value);
// Each returns false, leaving its target unchanged, when the file ends.
bool readByte(std::FILE* file, uint8_t* value);
bool readColor(std::FILE* file, Color* c);
bool readUnit(std::FILE* file, float* value);

}  // namespace opRecord
