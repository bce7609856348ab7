// A family's registry of module kinds (modulators, voice effects, send
// effects): for each kind its type byte, the word song sources name it by
// and how to make one. The loader, the voice and effect-chain builders and
// the song compiler all look kinds up here, so a new kind is one row in its
// family's list (Modulator.cpp, VoiceEffect.cpp, SendEffect.cpp) beside its
// own files. Its record follows from its describe (Parameterized.h).
//
//   for (const ModuleKind<Modulator>& kind : modulatorKinds()) ...
//   std::unique_ptr<Modulator> m = modulatorKinds().create(type);  // null if none
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

template <class Family>
struct ModuleKind {
  uint32_t type;        // the type byte before the record
  const char* keyword;  // the song source's word for it
  std::unique_ptr<Family> (*create)();
};

// The row of Module, whose class names its type byte as Module::kType.
template <class Module, class Family>
constexpr ModuleKind<Family> kindOf(const char* keyword) {
  return {Module::kType, keyword,
          []() -> std::unique_ptr<Family> { return std::make_unique<Module>(); }};
}

// A family's rows.
template <class Family>
class ModuleKinds {
 public:
  template <size_t N>
  constexpr ModuleKinds(const ModuleKind<Family> (&rows)[N]) : rows_(rows), count_(N) {}

  const ModuleKind<Family>* begin() const { return rows_; }
  const ModuleKind<Family>* end() const { return rows_ + count_; }
  size_t size() const { return count_; }

  // The kind of a type byte or a keyword; null when the family has none.
  const ModuleKind<Family>* find(uint32_t type) const {
    for (const ModuleKind<Family>& kind : *this)
      if (kind.type == type) return &kind;
    return nullptr;
  }
  const ModuleKind<Family>* find(const char* keyword) const {
    for (const ModuleKind<Family>& kind : *this)
      if (std::strcmp(kind.keyword, keyword) == 0) return &kind;
    return nullptr;
  }
  // A new module of the type; null when the family has no such kind.
  std::unique_ptr<Family> create(uint32_t type) const {
    const ModuleKind<Family>* kind = find(type);
    return kind ? kind->create() : nullptr;
  }

 private:
  const ModuleKind<Family>* rows_;
  size_t count_;
};
