#pragma once
// Reads a fuzzer's bytes as small numbers, key codes and doubles, so that a
// mutated byte tends to change one value and not the meaning of all that
// follows. Past the end every read gives zeros.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vellumor::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

  bool Empty() const { return position >= size; }

  std::uint8_t Byte() { return position < size ? data[position++] : 0; }

  std::uint16_t U16() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }

  std::uint32_t U32() { return U16() | static_cast<std::uint32_t>(U16()) << 16; }

  std::uint64_t U64() { return U32() | static_cast<std::uint64_t>(U32()) << 32; }

  // Any double; the first byte says how it is spelled, so that the values
  // where arithmetic turns interesting are a byte away:
  //   0x00-0x3f  one of the special values below
  //   0x40-0x7f  a small number: a signed 16-bit count of sixteenths
  //   0x80-0xbf  a signed 16-bit integer times a power of two from 2^-1100 to 2^1100
  //   0xc0-0xff  the next eight bytes as the bits of a double (any NaN payload too)
  double Number() {
    const std::uint8_t tag = Byte();
    switch (tag >> 6) {
      case 0: return kSpecial[tag % kSpecialCount];
      case 1: return static_cast<std::int16_t>(U16()) / 16.0;
      case 2: {
        const double mantissa = static_cast<std::int16_t>(U16());
        const int exponent = static_cast<std::int16_t>(U16()) % 1100;
        return std::ldexp(mantissa, exponent);
      }
      default: {
        const std::uint64_t bits = U64();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
      }
    }
  }

 private:
  static constexpr double kInf = std::numeric_limits<double>::infinity();
  static constexpr double kMax = std::numeric_limits<double>::max();
  static constexpr double kTiny = std::numeric_limits<double>::denorm_min();
  static constexpr double kSpecial[] = {
      0.0, -0.0, 1.0, -1.0, 0.5, -0.5, 2.0, 80.0, 230.0, 0.0011, 0.1, 0.9, 1.5, 3.0,
      kInf, -kInf, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
      kMax, -kMax, kTiny, -kTiny, std::numeric_limits<double>::min(), 0.9999999999999999, 1.0000000000000002,
      2147483647.0, 2147483648.0, -2147483648.0, -2147483649.0, 4294967296.0, 4294967295.5,
      9007199254740992.0, 9007199254740993.0 /* rounds to 2^53 */, 18014398509481984.0, 9.2233720368547758e18,
      1e15, 1e300, -1e300, 1e-300, 0x1p-56, 0x1p-900, 0x1p970, 0x1p1012, 4096.0, 4097.5, 0.25, -0.25, 0.75,
      1.0 / 3.0, 3.141592653589793, 57.0, 58.0, 65.0, 180.0, 9000.0, 1500.0, 1e12, -1e12, 3e17, 1.7e308 / 9000.0};
  static constexpr std::size_t kSpecialCount = sizeof kSpecial / sizeof kSpecial[0];

  const std::uint8_t* data;
  std::size_t size;
  std::size_t position = 0;
};

inline std::uint64_t Bits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}

// Equal bits, with any NaN matching any NaN: the payload depends on the order
// in which the compiler hands an addition its operands.
inline bool SameValue(double a, double b) { return std::isnan(a) ? std::isnan(b) : Bits(a) == Bits(b); }

// VELLUMOR_FUZZ_TRACE set: a target prints what it decodes, for replaying an input.
inline bool Tracing() {
  static const bool tracing = std::getenv("VELLUMOR_FUZZ_TRACE") != nullptr;
  return tracing;
}

}  // namespace vellumor::fuzz
