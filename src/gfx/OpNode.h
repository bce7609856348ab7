// One node of an image-operator tree. Owns neither its children nor its
// operator: the Image operation that builds a tree keeps them as locals.
#pragma once

#include "gfx/ImageOp.h"

struct OpNode {
  OpNode* first = nullptr;
  OpNode* second = nullptr;
  ImageOp* op = nullptr;

  // The subtree's picture at width x height; null without an operator or
  // with an arity other than 0, 1 or 2. A combiner's second child is
  // evaluated before its first.
  ColorBuffer evaluate(int width, int height) const;
};
