#pragma once
// Small helpers shared by the benchmark programs: timing, figure lines, peers.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace velmont::bench {

// Seconds taken by the fastest of `runs` calls of `work`.
inline double bestSeconds(int runs, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
    if (d.count() < best) best = d.count();
  }
  return best;
}

// One figure line in the form "name: value unit".
inline void figure(const std::string& name, double value, const std::string& unit) {
  if (unit == "x")
    std::printf("%s: %.2f x\n", name.c_str(), value);
  else if (value >= 100)
    std::printf("%s: %.0f %s\n", name.c_str(), value, unit.c_str());
  else
    std::printf("%s: %.4g %s\n", name.c_str(), value, unit.c_str());
  std::fflush(stdout);
}

// Runs a command and returns the first number it prints, or -1 when it fails.
inline double numberFromCommand(const std::string& command) {
  FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  double value = -1;
  if (std::fscanf(p, "%lf", &value) != 1) value = -1;
  if (pclose(p) != 0) return -1;
  return value;
}

}  // namespace velmont::bench
