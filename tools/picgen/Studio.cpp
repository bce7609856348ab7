#include "Studio.h"

#include <cstdio>

namespace picgen {

Studio::Studio(const std::string& fontDirectory) : type_(fontDirectory) {}

const PortraitLayers& Studio::portrait(const Person& person, const PortraitFrame& frame) {
  char key[160];
  std::snprintf(key, sizeof key, "%s %d %d %.3f %.3f %.3f %.3f", person.name, frame.width,
                frame.height, double(frame.centreX), double(frame.centreY), double(frame.scale),
                double(frame.squeeze));
  auto found = portraits_.find(key);
  if (found != portraits_.end()) return *found->second;
  auto layers = std::make_unique<PortraitLayers>(PortraitPainter(person).paint(frame));
  return *portraits_.emplace(key, std::move(layers)).first->second;
}

}  // namespace picgen
