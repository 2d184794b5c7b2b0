#pragma once
// A small seeded random source whose sequence is the same on every platform and
// compiler (the standard distributions are not), so that a demo school comes out
// byte for byte the same for the same seed.
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace velmont::batch {

class DemoRandom {
 public:
  // A stream of its own for each part of the school: changing how one table is
  // generated leaves the others as they were.
  DemoRandom(uint64_t seed, std::string_view stream) : state_(seed * 0x9E3779B97F4A7C15ull) {
    for (char c : stream) state_ = (state_ ^ uint8_t(c)) * 0x100000001B3ull;
    next();
  }

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1 (0 when n is not positive).
  int below(int n) { return n <= 0 ? 0 : int(next() % uint64_t(n)); }
  // lo .. hi inclusive.
  int between(int lo, int hi) { return lo + below(hi - lo + 1); }
  // True in `percent` of a hundred calls.
  bool chance(int percent) { return below(100) < percent; }
  // A value in [0, 1).
  double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }

  template <class T>
  const T& pick(const std::vector<T>& items) { return items[size_t(below(int(items.size())))]; }
  template <class T, size_t N>
  const T& pick(const T (&items)[N]) { return items[size_t(below(int(N)))]; }

  template <class T>
  void shuffle(std::vector<T>& items) {
    for (size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[size_t(below(int(i)))]);
  }

 private:
  uint64_t state_;
};

}  // namespace velmont::batch
