#pragma once
// The recording OpenGL's log: each call with its arguments (pointer arguments
// read out), and a watch on every argument (and every vertex an index reaches)
// for values that are not finite, kept whether recording or not.

#include <GL/gl.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vellumor {

struct GlCall {
  const char* name = "";
  std::vector<double> args;  // scalar arguments in order; glXxxv: the values pointed to
  std::string text;          // glCallLists: the bytes
};

namespace recgl {

const std::vector<GlCall>& Calls();
// The calls with this name, in order.
std::vector<GlCall> Named(std::string_view name);
std::size_t Count(std::string_view name);
// Names of all calls in order, for the few places where the order is the behaviour.
std::vector<std::string> Names();
// Index of the first call with this name at or after `from`, or Calls().size().
std::size_t Find(std::string_view name, std::size_t from = 0);

// Calls since Reset that were given an infinity or NaN, and the first of them
// written out ("glVertex3dv(1, nan, 3)"; empty when there was none).
std::size_t NonFiniteCalls();
std::string FirstNonFiniteCall();

}  // namespace recgl

namespace calllog {

// Forgets every call and every sighting of a value that is not finite.
void Reset();
// Off, calls are still watched but not kept (and nothing is allocated).
void SetRecording(bool on);

// Watches a call's arguments and keeps it; null when not recording.
GlCall* Record(const char* name, std::initializer_list<double> args);
// The same, then the n values its pointer argument points to, watched on their own.
GlCall* Record(const char* name, std::initializer_list<double> args, const GLfloat* values, std::size_t n);
void Watch(const char* name, const double* values, std::size_t n);

// How many values glLightfv reads for this parameter.
std::size_t LightValueCount(GLenum pname);

}  // namespace calllog

}  // namespace vellumor
