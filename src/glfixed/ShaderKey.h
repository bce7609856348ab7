// What the shader of a draw depends on, packed into one number: which
// fixed-function features are on and in which mode. Draws with equal keys
// share one program.
#pragma once

#include <cstdint>

#include "glfixed/FixedState.h"

namespace glfixed {

// Texture-coordinate generation of one coordinate, as a shader sees it.
enum class Generation : uint32_t { Off = 0, ObjectLinear = 1, EyeLinear = 2, SphereMap = 3 };
// A unit's environment; Disabled when the unit does not texture.
enum class Environment : uint32_t { Disabled = 0, Modulate = 1, Decal = 2, Add = 3, Replace = 4 };
enum class FogMode : uint32_t { Off = 0, Linear = 1, Exp = 2, Exp2 = 3 };

struct ShaderKey {
  bool lighting = false;
  uint32_t lightMask = 0;  // enabled lights, bit per light
  Environment environment[kUnits] = {Environment::Disabled, Environment::Disabled};
  Generation generationS[kUnits] = {Generation::Off, Generation::Off};
  Generation generationT[kUnits] = {Generation::Off, Generation::Off};
  // Whether a unit's coordinates may end with q other than 1 (its texture
  // matrix is projective, or its vertices say so): only then does the
  // shader divide by q.
  bool projective[kUnits] = {false, false};
  // One colour for the whole draw (no lighting, the vertices' colours all
  // alike): a uniform instead of a colour interpolated at every pixel.
  bool flatColor = false;
  FogMode fog = FogMode::Off;
  GLenum alphaFunc = GL_ALWAYS;  // GL_ALWAYS when the test is off

  uint64_t packed() const;
  // The key the state calls for; unitComplete[u] tells whether the texture
  // bound to unit u has an image (an incomplete one textures nothing), and
  // projective[u] whether its coordinates may end with q other than 1.
  static ShaderKey from(const ServerState& server, const TextureState& textures,
                        const bool unitComplete[kUnits], const bool projective[kUnits]);
};

}  // namespace glfixed
