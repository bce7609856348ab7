// Base of the operators that combine two input pictures into one.
#pragma once

#include "gfx/ImageOp.h"

class CombinerOp : public ImageOp {
 protected:
  explicit CombinerOp(int type) : ImageOp(2, type) {}
};
