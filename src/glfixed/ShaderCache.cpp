#include "glfixed/ShaderCache.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace glfixed {
namespace {

std::string unitName(int u) { return std::to_string(u); }

// The s or t coordinate a generation mode gives, as GLSL.
std::string generated(Generation mode, const char* component, int planeIndex) {
  switch (mode) {
    case Generation::ObjectLinear:
      // The initial object planes: s = x, t = y.
      return std::string("aPosition.") + (planeIndex == 0 ? "x" : "y");
    case Generation::EyeLinear:
      // The initial eye planes, given while the modelview was the identity.
      return std::string("eye.") + (planeIndex == 0 ? "x" : "y");
    case Generation::SphereMap:
      return std::string("sphere.") + component;
    case Generation::Off:
      break;
  }
  return "";
}

const char* texCoordType(const ShaderKey& key, int unit) {
  return key.projective[unit] ? "vec4" : "vec2";
}

bool usesSphere(const ShaderKey& key) {
  for (int u = 0; u < kUnits; ++u)
    if (key.generationS[u] == Generation::SphereMap || key.generationT[u] == Generation::SphereMap)
      return true;
  return false;
}

std::string comparison(GLenum func) {
  switch (func) {
    case GL_NEVER: return "false";
    case GL_LESS: return "c.a < uAlphaRef";
    case GL_EQUAL: return "c.a == uAlphaRef";
    case GL_LEQUAL: return "c.a <= uAlphaRef";
    case GL_GREATER: return "c.a > uAlphaRef";
    case GL_NOTEQUAL: return "c.a != uAlphaRef";
    case GL_GEQUAL: return "c.a >= uAlphaRef";
    default: return "true";
  }
}

// The compiled shader, or 0 after saying why on standard error.
GLuint compile(GLenum type, const std::string& source) {
  GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "glfixed: a shader does not compile: %s\n%s\n", log, text);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

void locate(Uniform& uniform, GLuint program, const char* name) {
  uniform.location = glGetUniformLocation(program, name);
}

}  // namespace

bool Uniform::changed(const float* value, int n) {
  if (location < 0) return false;
  const size_t bytes = sizeof(float) * size_t(n);
  if (known && std::memcmp(sent, value, bytes) == 0) return false;
  std::memcpy(sent, value, bytes);
  known = true;
  return true;
}

std::string ShaderCache::vertexSource(const ShaderKey& key) {
  std::string s =
      "attribute vec4 aPosition;\n"
      "attribute vec3 aNormal;\n"
      "attribute vec4 aColor;\n"
      "attribute vec4 aTexCoord0;\n"
      "attribute vec4 aTexCoord1;\n"
      "uniform mat4 uModelView;\n"
      "uniform mat4 uProjection;\n"
      "uniform mat3 uNormalMatrix;\n"
      "uniform mat4 uTextureMatrix[2];\n";
  if (!key.flatColor) s += "varying vec4 vColor;\n";
  for (int u = 0; u < kUnits; ++u)
    if (key.environment[u] != Environment::Disabled)
      s += std::string("varying ") + texCoordType(key, u) + " vTexCoord" + unitName(u) + ";\n";
  if (key.fog != FogMode::Off) s += "varying float vFogDistance;\n";
  if (key.lighting)
    s +=
        "uniform vec4 uSceneColor;\n"
        "uniform vec4 uLightAmbient[8];\n"
        "uniform vec4 uLightDiffuse[8];\n"
        "uniform vec4 uLightSpecular[8];\n"
        "uniform vec4 uLightPosition[8];\n"
        "uniform float uShininess;\n"
        "uniform float uDiffuseAlpha;\n";
  s += "void main() {\n"
       "  vec4 eye = uModelView * aPosition;\n"
       "  gl_Position = uProjection * eye;\n";
  if (key.lighting || usesSphere(key)) s += "  vec3 normal = uNormalMatrix * aNormal;\n";
  if (key.lighting) {
    s += "  vec3 lit = uSceneColor.rgb;\n";
    for (int i = 0; i < kLights; ++i) {
      if (!(key.lightMask & (1u << i))) continue;
      const std::string n = std::to_string(i);
      s += "  {\n"
           "    vec3 toLight = uLightPosition[" + n + "].w == 0.0 ? normalize(uLightPosition[" + n +
           "].xyz) : normalize(uLightPosition[" + n + "].xyz - eye.xyz / eye.w);\n"
           "    float diffuse = dot(normal, toLight);\n"
           "    vec3 halfway = normalize(toLight + vec3(0.0, 0.0, 1.0));\n"
           "    float specular = diffuse > 0.0 ? pow(max(dot(normal, halfway), 0.0), uShininess) : 0.0;\n"
           "    lit += uLightAmbient[" + n + "].rgb + max(diffuse, 0.0) * uLightDiffuse[" + n +
           "].rgb + specular * uLightSpecular[" + n + "].rgb;\n"
           "  }\n";
    }
    s += "  vColor = clamp(vec4(lit, uDiffuseAlpha), 0.0, 1.0);\n";
  } else if (!key.flatColor) {
    s += "  vColor = clamp(aColor, 0.0, 1.0);\n";
  }
  if (usesSphere(key))
    s += "  vec3 u = normalize(eye.xyz);\n"
         "  vec3 r = u - 2.0 * normal * dot(normal, u);\n"
         "  vec3 rz = r + vec3(0.0, 0.0, 1.0);\n"
         "  vec2 sphere = r.xy * (0.5 * inversesqrt(dot(rz, rz))) + 0.5;\n";
  for (int u = 0; u < kUnits; ++u) {
    if (key.environment[u] == Environment::Disabled) continue;
    const std::string n = unitName(u);
    s += "  vec4 tc" + n + " = aTexCoord" + n + ";\n";
    if (key.generationS[u] != Generation::Off)
      s += "  tc" + n + ".s = " + generated(key.generationS[u], "s", 0) + ";\n";
    if (key.generationT[u] != Generation::Off)
      s += "  tc" + n + ".t = " + generated(key.generationT[u], "t", 1) + ";\n";
    s += "  vTexCoord" + n + " = (uTextureMatrix[" + n + "] * tc" + n + ")" +
         (key.projective[u] ? "" : ".st") + ";\n";
  }
  if (key.fog != FogMode::Off) s += "  vFogDistance = abs(eye.z);\n";
  s += "}\n";
  return s;
}

std::string ShaderCache::fragmentSource(const ShaderKey& key) {
  std::string s =
      "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
      "precision highp float;\n"
      "#else\n"
      "precision mediump float;\n"
      "#endif\n";
  s += key.flatColor ? "uniform vec4 uColor;\n" : "varying vec4 vColor;\n";
  for (int u = 0; u < kUnits; ++u)
    if (key.environment[u] != Environment::Disabled)
      s += std::string("varying ") + texCoordType(key, u) + " vTexCoord" + unitName(u) +
           ";\nuniform sampler2D uSampler" + unitName(u) + ";\n";
  if (key.fog != FogMode::Off)
    s += "varying float vFogDistance;\nuniform vec4 uFogColor;\nuniform vec3 uFogParams;\n";
  if (key.alphaFunc != GL_ALWAYS) s += "uniform float uAlphaRef;\n";
  s += key.flatColor ? "void main() {\n  vec4 c = uColor;\n" : "void main() {\n  vec4 c = vColor;\n";
  for (int u = 0; u < kUnits; ++u) {
    const std::string n = unitName(u);
    // Coordinates that end with q = 1 need no division.
    const std::string t = (key.projective[u] ? "texture2DProj(uSampler" : "texture2D(uSampler") + n +
                          ", vTexCoord" + n + ")";
    switch (key.environment[u]) {
      case Environment::Disabled: break;
      case Environment::Modulate: s += "  c = c * " + t + ";\n"; break;
      case Environment::Decal:
        s += "  { vec4 t = " + t + "; c = vec4(mix(c.rgb, t.rgb, t.a), c.a); }\n";
        break;
      case Environment::Add:
        s += "  { vec4 t = " + t + "; c = vec4(min(c.rgb + t.rgb, 1.0), c.a * t.a); }\n";
        break;
      case Environment::Replace: s += "  c = " + t + ";\n"; break;
    }
  }
  switch (key.fog) {
    case FogMode::Off: break;
    case FogMode::Linear:
      s += "  float f = (uFogParams.y - vFogDistance) / (uFogParams.y - uFogParams.x);\n";
      break;
    case FogMode::Exp: s += "  float f = exp(-uFogParams.z * vFogDistance);\n"; break;
    case FogMode::Exp2:
      s += "  float d = uFogParams.z * vFogDistance;\n  float f = exp(-d * d);\n";
      break;
  }
  if (key.fog != FogMode::Off) s += "  c.rgb = mix(uFogColor.rgb, c.rgb, clamp(f, 0.0, 1.0));\n";
  if (key.alphaFunc != GL_ALWAYS) s += "  if (!(" + comparison(key.alphaFunc) + ")) discard;\n";
  s += "  gl_FragColor = c;\n}\n";
  return s;
}

Program* ShaderCache::get(const ShaderKey& key, EsState& es) {
  const uint64_t packed = key.packed();
  if (packed == lastKey_) return last_;
  auto found = programs_.find(packed);
  if (found != programs_.end()) {
    lastKey_ = packed;
    last_ = found->second.get();
    return last_;
  }
  return build(packed, vertexSource(key), fragmentSource(key), es);
}

Program* ShaderCache::build(uint64_t packed, const std::string& vertexText,
                            const std::string& fragmentText, EsState& es) {
  lastKey_ = packed;
  last_ = nullptr;
  const GLuint vertex = compile(GL_VERTEX_SHADER, vertexText);
  const GLuint fragment = vertex ? compile(GL_FRAGMENT_SHADER, fragmentText) : 0;
  if (!vertex || !fragment) {
    if (vertex) glDeleteShader(vertex);
    programs_[packed] = nullptr;
    return nullptr;
  }
  auto made = std::make_unique<Program>();
  Program& p = *made;
  p.name = glCreateProgram();
  glAttachShader(p.name, vertex);
  glAttachShader(p.name, fragment);
  glBindAttribLocation(p.name, kPosition, "aPosition");
  glBindAttribLocation(p.name, kNormal, "aNormal");
  glBindAttribLocation(p.name, kColor, "aColor");
  glBindAttribLocation(p.name, kTexCoord0, "aTexCoord0");
  glBindAttribLocation(p.name, kTexCoord1, "aTexCoord1");
  glLinkProgram(p.name);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = GL_FALSE;
  glGetProgramiv(p.name, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetProgramInfoLog(p.name, sizeof log, nullptr, log);
    std::fprintf(stderr, "glfixed: a program does not link: %s\n", log);
    glDeleteProgram(p.name);
    programs_[packed] = nullptr;
    return nullptr;
  }
  locate(p.modelView, p.name, "uModelView");
  locate(p.projection, p.name, "uProjection");
  locate(p.normalMatrix, p.name, "uNormalMatrix");
  locate(p.textureMatrix[0], p.name, "uTextureMatrix[0]");
  locate(p.textureMatrix[1], p.name, "uTextureMatrix[1]");
  locate(p.sceneColor, p.name, "uSceneColor");
  locate(p.lightAmbient, p.name, "uLightAmbient");
  locate(p.lightDiffuse, p.name, "uLightDiffuse");
  locate(p.lightSpecular, p.name, "uLightSpecular");
  locate(p.lightPosition, p.name, "uLightPosition");
  locate(p.shininess, p.name, "uShininess");
  locate(p.diffuseAlpha, p.name, "uDiffuseAlpha");
  locate(p.fogColor, p.name, "uFogColor");
  locate(p.fogParams, p.name, "uFogParams");
  locate(p.alphaRef, p.name, "uAlphaRef");
  locate(p.color, p.name, "uColor");
  // The samplers read units 0 and 1 for good.
  es.useProgram(p.name);
  const GLint sampler0 = glGetUniformLocation(p.name, "uSampler0");
  const GLint sampler1 = glGetUniformLocation(p.name, "uSampler1");
  if (sampler0 >= 0) glUniform1i(sampler0, 0);
  if (sampler1 >= 0) glUniform1i(sampler1, 1);
  last_ = &p;
  programs_[packed] = std::move(made);
  return last_;
}

}  // namespace glfixed
