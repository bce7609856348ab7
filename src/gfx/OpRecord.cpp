#include "gfx/OpRecord.h"

namespace opRecord {

uint8_t unitByte(float value) {
  // The low 8 bits of the truncated product, as the record format has it;
  // the range check keeps the conversion defined for any float.
  const float scaled = value * 255.0f;
  if (!(scaled > -2147483520.0f && scaled < 2147483520.0f)) return 0;
  return uint8_t(uint32_t(int32_t(scaled)) & 0xFF);
}

void writeByte(std::FILE* file, uint8_t value) { std::fwrite(&value, 1, 1, file); }

void writeColor(std::FILE* file, const Color& c) {
  const uint8_t bytes[4] = {unitByte(c.red), unitByte(c.green), unitByte(c.blue),
                            unitByte(c.alpha)};
  std::fwrite(bytes, 1, 4, file);
}

void writeUnit(std::FILE* file, float value) { writeByte(file, unitByte(value)); }

bool readByte(std::FILE* file, uint8_t* value) {
  uint8_t byte = 0;
  if (std::fread(&byte, 1, 1, file) != 1) return false;
  *value = byte;
  return true;
}

bool readColor(std::FILE* file, Color* c) {
  uint8_t bytes[4];
  if (std::fread(bytes, 1, 4, file) != 4) return false;
  *c = Color(float(bytes[0]) * kByteScale, float(bytes[1]) * kByteScale,
             float(bytes[2]) * kByteScale, float(bytes[3]) * kByteScale);
  return true;
}

bool readUnit(std::FILE* file, float* value) {
  uint8_t byte = 0;
  if (!readByte(file, &byte)) return false;
  *value = float(byte) * kByteScale;
  return true;
}

}  // namespace opRecord
