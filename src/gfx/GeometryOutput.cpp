#include "gfx/GeometryOutput.h"

namespace {
// Read and written on the GL context's thread only.
bool outputEnabled = true;
}  // namespace

namespace geometryOutput {

void setEnabled(bool enabled) { outputEnabled = enabled; }

bool enabled() { return outputEnabled; }

}  // namespace geometryOutput
