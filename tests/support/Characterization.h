#pragma once

#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korimo::testing {

// Printing-condition characterization data of Debian's icc-profiles-free:
// 1617 IT8.7/4 patches with CMYK and L*a*b* in the same order.
inline constexpr const char* kFogra39L = "/usr/share/color/icc/FOGRA39L.ti3";
inline constexpr const char* kFogra40L = "/usr/share/color/icc/FOGRA40L.ti3";

struct Characterization {
  std::vector<std::array<float, 4>> cmyk;
  std::vector<std::array<double, 3>> lab;
};

// Columns SAMPLE_ID CMYK_C..K XYZ_X..Z LAB_L..B; empty when not installed.
inline Characterization ReadCharacterization(const char* path) {
  Characterization out;
  std::ifstream in(path);
  std::string line;
  bool data = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line == "BEGIN_DATA" || line == "END_DATA") {
      data = line == "BEGIN_DATA";
      continue;
    }
    if (!data)
      continue;
    std::istringstream fields(line);
    int id = 0;
    std::array<float, 4> c{};
    std::array<double, 3> xyz{}, lab{};
    fields >> id >> c[0] >> c[1] >> c[2] >> c[3] >> xyz[0] >> xyz[1] >> xyz[2] >> lab[0] >>
        lab[1] >> lab[2];
    out.cmyk.push_back(c);
    out.lab.push_back(lab);
  }
  return out;
}

}  // namespace korimo::testing
