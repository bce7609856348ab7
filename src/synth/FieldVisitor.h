// A module's stored parameters walked without knowing its class: the song
// compiler sets a module that a family's registry made, and tools read one,
// through SynthModule::visitFields. Each field comes with its Parameter;
// whole numbers come as long and go back in the field's own type.
#pragma once

#include <utility>

struct Parameter;
struct ModulationRoute;

class FieldVisitor {
 public:
  virtual void real(const Parameter& parameter, float& field) = 0;
  virtual void flag(const Parameter& parameter, bool& field) = 0;
  virtual void route(const Parameter& parameter, ModulationRoute& field) = 0;
  virtual void integer(const Parameter& parameter, long& field) = 0;

 protected:
  ~FieldVisitor() = default;
};

// A FieldVisitor that hands every field to visit(parameter, field), as a
// describe's visit is called, for callers that write one generic lambda.
template <class Visit>
class ForwardingFieldVisitor final : public FieldVisitor {
 public:
  explicit ForwardingFieldVisitor(Visit& visit) : visit_(visit) {}
  void real(const Parameter& parameter, float& field) override { visit_(parameter, field); }
  void flag(const Parameter& parameter, bool& field) override { visit_(parameter, field); }
  void route(const Parameter& parameter, ModulationRoute& field) override {
    visit_(parameter, field);
  }
  void integer(const Parameter& parameter, long& field) override { visit_(parameter, field); }

 private:
  Visit& visit_;
};
