// Whether the toolkit sends its primitives to OpenGL. The offline modes draw
// the frames before a screenshot's moment only for the state they leave in
// the scenes (clocks, particle records, random draws), with the pixels
// discarded; meanwhile meshes, particle systems and display-listed objects
// do all their own work and set the same GL state, but send no primitives,
// which are nearly all of such a frame's cost. On by default.
#pragma once

namespace geometryOutput {

void setEnabled(bool enabled);
bool enabled();

}  // namespace geometryOutput
