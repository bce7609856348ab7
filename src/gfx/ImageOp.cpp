#include "gfx/ImageOp.h"

#include "gfx/DistortOp.h"
#include "gfx/OpRecord.h"
#include "gfx/PlasmaOp.h"
#include "gfx/RadialGradientOp.h"
#include "gfx/TgaSourceOp.h"

ImageOp::ImageOp(int arity, int type)
    : header(uint8_t((arity & 0x3) | ((type & 0x3F) << 2))), arity(arity), type(type) {}

uint8_t ImageOp::recordHeader() const { return uint8_t(((arity & 0x3) << 6) | (type & 0x3F)); }

std::unique_ptr<ImageOp> ImageOp::readRecord(std::FILE* file) {
  uint8_t header = 0;
  if (!opRecord::readByte(file, &header)) return nullptr;
  const int arity = header >> 6;
  const int type = header & 0x3F;
  std::unique_ptr<ImageOp> op;
  if (arity == 0 && type == PlasmaOp::kType) op = std::make_unique<PlasmaOp>();
  if (arity == 0 && type == RadialGradientOp::kType) op = std::make_unique<RadialGradientOp>();
  if (arity == 0 && type == 5) op = std::make_unique<TgaSourceOp>(nullptr, 0, "operator record");
  if (arity == 2 && type == DistortOp::kType) op = std::make_unique<DistortOp>();
  if (op) op->load(file);
  return op;
}
