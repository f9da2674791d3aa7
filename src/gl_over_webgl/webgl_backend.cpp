// The subset's backend on WebGL 1: the vertex program and a fragment shader
// that passes its colour, one vertex and one index buffer refilled for each
// batch, and the batch's raster state and matrix set only where they changed.
// Reaches WebGL through Emscripten's emscripten_gl* names, since the plain
// gl* names belong to the subset.

#include <emscripten/html5.h>
#include <webgl/webgl1.h>

#include <algorithm>
#include <cstddef>

#include "gl_over_webgl/backend.h"
#include "gl_over_webgl/vertex_program.h"
#include "gl_over_webgl/webgl.h"

namespace vellumor::webgl {

namespace {

constexpr const char* kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec4 shade;
void main() { gl_FragColor = shade; }
)";

constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kColorAttribute = 1;

GLenum ModeOf(Primitive kind) {
  switch (kind) {
    case Primitive::Points:
      return GL_POINTS;
    case Primitive::Lines:
      return GL_LINES;
    case Primitive::Triangles:
      break;
  }
  return GL_TRIANGLES;
}

void SetCap(GLenum cap, bool on) {
  if (on) {
    emscripten_glEnable(cap);
  } else {
    emscripten_glDisable(cap);
  }
}

class WebGlBackend final : public Backend {
 public:
  GLint clipUniform = -1;
  GLint pointSizeUniform = -1;

  void Clear(bool color, bool depth, const float rgba[4], float depthValue) override {
    emscripten_glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    emscripten_glClearDepthf(depthValue);
    if (depth && !(applied_ && state_.depthWrite)) {
      emscripten_glDepthMask(GL_TRUE);
      state_.depthWrite = true;
    }
    emscripten_glClear((color ? GL_COLOR_BUFFER_BIT : 0u) | (depth ? GL_DEPTH_BUFFER_BIT : 0u));
  }

  void Draw(const Batch& batch) override {
    Apply(batch.raster);
    Apply(batch.shading);
    Upload(GL_ARRAY_BUFFER, batch.vertices, batch.vertexCount * sizeof(Vertex), vertexCapacity_);
    Upload(GL_ELEMENT_ARRAY_BUFFER, batch.indices, batch.indexCount * sizeof(std::uint16_t), indexCapacity_);
    for (std::size_t i = 0; i < batch.segmentCount; ++i) {
      const Segment& segment = batch.segments[i];
      emscripten_glDrawElements(ModeOf(segment.kind), static_cast<GLsizei>(segment.count), GL_UNSIGNED_SHORT,
                                reinterpret_cast<const void*>(segment.first * sizeof(std::uint16_t)));
    }
  }

  DrawableSize Size() override {
    int width = 0, height = 0;
    emscripten_webgl_get_drawing_buffer_size(emscripten_webgl_get_current_context(), &width, &height);
    return {width, height};
  }

 private:
  // Sets what differs from the state WebGL was last given; all of it the first time.
  void Apply(const RasterState& s) {
    const bool all = !applied_;
    const RasterState& was = state_;
    if (all || s.viewport[0] != was.viewport[0] || s.viewport[1] != was.viewport[1] ||
        s.viewport[2] != was.viewport[2] || s.viewport[3] != was.viewport[3]) {
      emscripten_glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    }
    if (all || s.depthTest != was.depthTest) SetCap(GL_DEPTH_TEST, s.depthTest);
    if (all || s.depthWrite != was.depthWrite) emscripten_glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
    if (all || s.blend != was.blend) SetCap(GL_BLEND, s.blend);
    if (all || s.blendSrc != was.blendSrc || s.blendDst != was.blendDst) emscripten_glBlendFunc(s.blendSrc, s.blendDst);
    if (all || s.pointSize != was.pointSize) emscripten_glUniform1f(pointSizeUniform, s.pointSize);
    state_ = s;
    applied_ = true;
  }

  void Apply(const Shading& s) {
    if (shaded_ && s == shading_) return;
    emscripten_glUniformMatrix4fv(clipUniform, 1, GL_FALSE, s.clip);
    shading_ = s;
    shaded_ = true;
  }

  // One upload a batch, into a buffer that only grows.
  static void Upload(GLenum target, const void* data, std::size_t bytes, std::size_t& capacity) {
    if (bytes > capacity) {
      capacity = std::max(bytes, 2 * capacity);
      emscripten_glBufferData(target, static_cast<GLsizeiptr>(capacity), nullptr, GL_DYNAMIC_DRAW);
    }
    emscripten_glBufferSubData(target, 0, static_cast<GLsizeiptr>(bytes), data);
  }

  std::size_t vertexCapacity_ = 0;
  std::size_t indexCapacity_ = 0;
  bool applied_ = false;
  RasterState state_;
  bool shaded_ = false;
  Shading shading_;
};

WebGlBackend backend;

// The shader's info log's first line, or what failed when there is none.
std::string FirstLine(const char* log, const char* otherwise) {
  std::string line = log != nullptr && log[0] != '\0' ? log : otherwise;
  const std::size_t end = line.find('\n');
  return end == std::string::npos ? line : line.substr(0, end);
}

GLuint CompileShader(GLenum type, const char* source, std::string& reason) {
  const GLuint shader = emscripten_glCreateShader(type);
  emscripten_glShaderSource(shader, 1, &source, nullptr);
  emscripten_glCompileShader(shader);
  GLint compiled = GL_FALSE;
  emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == GL_TRUE) return shader;
  char log[256] = {};
  emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  reason = "WebGL cannot compile the subset's shader: " + FirstLine(log, "no log");
  emscripten_glDeleteShader(shader);
  return 0;
}

}  // namespace

bool StartRenderer(std::string& reason) {
  if (emscripten_webgl_get_current_context() == 0) {
    reason = "no WebGL context is current";
    return false;
  }
  backend = WebGlBackend{};  // a restored context remembers nothing of the lost one
  const GLuint vertex = CompileShader(GL_VERTEX_SHADER, kVertexProgram, reason);
  if (vertex == 0) return false;
  const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader, reason);
  if (fragment == 0) return false;
  const GLuint program = emscripten_glCreateProgram();
  emscripten_glAttachShader(program, vertex);
  emscripten_glAttachShader(program, fragment);
  emscripten_glBindAttribLocation(program, kPositionAttribute, "position");
  emscripten_glBindAttribLocation(program, kColorAttribute, "color");
  emscripten_glLinkProgram(program);
  GLint linked = GL_FALSE;
  emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    char log[256] = {};
    emscripten_glGetProgramInfoLog(program, sizeof log, nullptr, log);
    reason = "WebGL cannot link the subset's shaders: " + FirstLine(log, "no log");
    return false;
  }
  emscripten_glUseProgram(program);
  backend.clipUniform = emscripten_glGetUniformLocation(program, "clip");
  backend.pointSizeUniform = emscripten_glGetUniformLocation(program, "pointSize");

  GLuint buffers[2] = {};
  emscripten_glGenBuffers(2, buffers);
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
  emscripten_glEnableVertexAttribArray(kPositionAttribute);
  emscripten_glEnableVertexAttribArray(kColorAttribute);
  emscripten_glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                   reinterpret_cast<const void*>(offsetof(Vertex, position)));
  emscripten_glVertexAttribPointer(kColorAttribute, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                   reinterpret_cast<const void*>(offsetof(Vertex, color)));
  emscripten_glDisable(GL_CULL_FACE);
  emscripten_glDepthFunc(GL_LESS);
  SetBackend(&backend);
  return true;
}

}  // namespace vellumor::webgl
