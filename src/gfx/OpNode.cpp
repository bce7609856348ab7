#include "gfx/OpNode.h"

#include <utility>

ColorBuffer OpNode::evaluate(int width, int height) const {
  if (!op) return nullptr;
  switch (op->arity) {
    case 0:
      return op->generate(nullptr, nullptr, width, height);
    case 1: {
      ColorBuffer firstResult = first ? first->evaluate(width, height) : nullptr;
      return op->generate(std::move(firstResult), nullptr, width, height);
    }
    case 2: {
      ColorBuffer secondResult = second ? second->evaluate(width, height) : nullptr;
      ColorBuffer firstResult = first ? first->evaluate(width, height) : nullptr;
      return op->generate(std::move(firstResult), std::move(secondResult), width, height);
    }
    default:
      return nullptr;
  }
}
