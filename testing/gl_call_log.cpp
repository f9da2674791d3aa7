#include "testing/gl_call_log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace vellumor {

namespace {

std::vector<GlCall> calls;
bool recording = true;

// The first call given a value that is not finite, kept without allocating.
struct NonFiniteSighting {
  static constexpr std::size_t kMaxArgs = 8;
  std::size_t count = 0;
  const char* name = nullptr;
  double args[kMaxArgs] = {};
  std::size_t argCount = 0;
};

NonFiniteSighting nonFinite;

}  // namespace

namespace recgl {

const std::vector<GlCall>& Calls() { return calls; }

std::vector<GlCall> Named(std::string_view name) {
  std::vector<GlCall> found;
  for (const GlCall& call : calls) {
    if (name == call.name) found.push_back(call);
  }
  return found;
}

std::size_t Count(std::string_view name) {
  std::size_t n = 0;
  for (const GlCall& call : calls) n += name == call.name ? 1 : 0;
  return n;
}

std::vector<std::string> Names() {
  std::vector<std::string> names;
  names.reserve(calls.size());
  for (const GlCall& call : calls) names.emplace_back(call.name);
  return names;
}

std::size_t Find(std::string_view name, std::size_t from) {
  for (std::size_t i = from; i < calls.size(); ++i) {
    if (name == calls[i].name) return i;
  }
  return calls.size();
}

std::size_t NonFiniteCalls() { return nonFinite.count; }

std::string FirstNonFiniteCall() {
  if (nonFinite.count == 0) return {};
  std::string text = std::string(nonFinite.name) + "(";
  for (std::size_t i = 0; i < nonFinite.argCount; ++i) {
    char number[32];
    std::snprintf(number, sizeof number, "%s%.17g", i ? ", " : "", nonFinite.args[i]);
    text += number;
  }
  return text + ")";
}

}  // namespace recgl

namespace calllog {

void Reset() {
  calls.clear();
  recording = true;
  nonFinite = NonFiniteSighting{};
}

void SetRecording(bool on) { recording = on; }

GlCall* Record(const char* name, std::initializer_list<double> args) {
  Watch(name, args.begin(), args.size());
  if (!recording) return nullptr;
  GlCall& call = calls.emplace_back();
  call.name = name;
  call.args.assign(args);
  return &call;
}

GlCall* Record(const char* name, std::initializer_list<double> args, const GLfloat* values, std::size_t n) {
  GlCall* call = Record(name, args);
  double read[4] = {};
  n = std::min(n, std::size(read));
  std::copy(values, values + n, read);
  Watch(name, read, n);
  if (call) call->args.insert(call->args.end(), read, read + n);
  return call;
}

void Watch(const char* name, const double* values, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (std::isfinite(values[i])) continue;
    if (nonFinite.count++ == 0) {
      nonFinite.name = name;
      nonFinite.argCount = std::min(n, NonFiniteSighting::kMaxArgs);
      std::copy(values, values + nonFinite.argCount, nonFinite.args);
    }
    return;
  }
}

std::size_t LightValueCount(GLenum pname) {
  if (pname == GL_POSITION || pname == GL_AMBIENT || pname == GL_DIFFUSE || pname == GL_SPECULAR) return 4;
  return pname == GL_SPOT_DIRECTION ? 3 : 1;
}

}  // namespace calllog

}  // namespace vellumor
