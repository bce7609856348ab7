#include "glfixed/ShaderKey.h"

namespace glfixed {
namespace {

Generation generation(bool on, GLenum mode) {
  if (!on) return Generation::Off;
  switch (mode) {
    case GL_OBJECT_LINEAR: return Generation::ObjectLinear;
    case GL_SPHERE_MAP: return Generation::SphereMap;
    default: return Generation::EyeLinear;
  }
}

Environment environmentOf(GLenum mode) {
  switch (mode) {
    case GL_DECAL: return Environment::Decal;
    case GL_ADD: return Environment::Add;
    case GL_REPLACE: return Environment::Replace;
    default: return Environment::Modulate;
  }
}

}  // namespace

uint64_t ShaderKey::packed() const {
  uint64_t key = lighting ? 1u : 0u;
  key |= uint64_t(lightMask & 0xFF) << 1;
  for (int u = 0; u < kUnits; ++u) {
    const int shift = 9 + u * 7;
    key |= uint64_t(environment[u]) << shift;
    key |= uint64_t(generationS[u]) << (shift + 3);
    key |= uint64_t(generationT[u]) << (shift + 5);
  }
  key |= uint64_t(fog) << 23;
  key |= uint64_t(alphaFunc - GL_NEVER) << 25;
  for (int u = 0; u < kUnits; ++u) key |= uint64_t(projective[u]) << (28 + u);
  key |= uint64_t(flatColor) << 30;
  return key;
}

ShaderKey ShaderKey::from(const ServerState& server, const TextureState& textures,
                          const bool unitComplete[kUnits], const bool projective[kUnits]) {
  ShaderKey key;
  key.lighting = server.lighting;
  if (server.lighting)
    for (int i = 0; i < kLights; ++i)
      if (server.lights[i].enabled) key.lightMask |= 1u << i;
  for (int u = 0; u < kUnits; ++u) {
    const UnitState& unit = textures.units[u];
    if (!unit.enabled2D || !unitComplete[u]) continue;
    key.environment[u] = environmentOf(unit.envMode);
    key.generationS[u] = generation(unit.genS, unit.genModeS);
    key.generationT[u] = generation(unit.genT, unit.genModeT);
    key.projective[u] = projective[u];
  }
  if (server.fog)
    key.fog = server.fogMode == GL_LINEAR ? FogMode::Linear
              : server.fogMode == GL_EXP2 ? FogMode::Exp2
                                          : FogMode::Exp;
  key.alphaFunc = server.alphaTest ? server.alphaFunc : GL_ALWAYS;
  return key;
}

}  // namespace glfixed
