#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korimo::bench {

// Writes measurement files of a made-up CMYK print chart: a reference and
// drifted re-measurements of it, the same patches in the same order. Values
// come from a fixed seed, so every run measures the same bytes.
class SyntheticChart {
 public:
  explicit SyntheticChart(int patches, std::uint32_t seed = 20250115);

  // drift 0 is the reference; larger values drift further from it (in dE*ab).
  void Write(const std::string& path, double drift) const;

 private:
  struct Patch {
    double cmyk[4];
    double lab[3];
  };

  std::string Identifier(int patch) const;
  std::string Text(const std::string& descriptor, double drift) const;

  int rows_;
  std::uint32_t seed_;
  std::vector<Patch> patches_;
};

}  // namespace korimo::bench
