// A small deterministic random source (SplitMix64) whose results are the same
// on every platform and library, so one seed always gives the same school.
// Thread rule: one object per thread.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace marksend::sample {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  // Mixes a seed with a stream number into an independent seed.
  static std::uint64_t Derive(std::uint64_t seed, std::uint64_t stream) {
    Random mixer(seed ^ (stream * 0xD1B54A32D192ED03ULL));
    mixer.Next();
    return mixer.Next();
  }

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // A whole number in [0, bound); bound must be positive.
  int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
  // A number in [0, 1) with 53 bits, exact in any IEEE double.
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Between(double low, double high) { return low + (high - low) * Unit(); }
  bool Chance(double probability) { return Unit() < probability; }

  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t state_;
};

}  // namespace marksend::sample
