// Picture generator: what every design draws with, the typesetter and the
// painted portraits. A person's portrait is painted once per framing and
// shared by the pictures that use it (the four photos of one person are
// four treatments of one painting, so they line up exactly when the show
// lays them over each other).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "PortraitPainter.h"
#include "Typesetter.h"

namespace picgen {

class Studio {
 public:
  explicit Studio(const std::string& fontDirectory);

  Typesetter& type() { return type_; }
  const PortraitLayers& portrait(const Person& person, const PortraitFrame& frame);

 private:
  Typesetter type_;
  std::map<std::string, std::unique_ptr<PortraitLayers>> portraits_;
};

}  // namespace picgen
