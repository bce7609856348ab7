// Base of the operators that take no input: pictures and pure generators.
#pragma once

#include "gfx/ImageOp.h"

class GeneratorOp : public ImageOp {
 protected:
  explicit GeneratorOp(int type) : ImageOp(0, type) {}
};
