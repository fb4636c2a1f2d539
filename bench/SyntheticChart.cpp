#include "SyntheticChart.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <random>
#include <stdexcept>

namespace korimo::bench {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// std::uniform_real_distribution differs between standard libraries; this
// keeps the files identical everywhere.
double Uniform(std::mt19937& rng, double low, double high) {
  return low + (high - low) * (static_cast<double>(rng()) / 4294967296.0);
}

void AppendFixed2(std::string& out, double value) {
  std::array<char, 32> buf{};
  const double rounded = std::round(value * 100) / 100 + 0.0;  // no "-0.00"
  const auto r =
      std::to_chars(buf.data(), buf.data() + buf.size(), rounded, std::chars_format::fixed, 2);
  out.append(buf.data(), r.ptr);
}

// A rough press model: paper white darkened and tinted by the inks.
std::array<double, 3> PrintedLab(const double (&cmyk)[4]) {
  const double c = cmyk[0] / 100, m = cmyk[1] / 100, y = cmyk[2] / 100, k = cmyk[3] / 100;
  const double cover = std::min(1.0, (c + m + y) / 2.2);
  const double L = 95 * (1 - 0.62 * k) * (1 - 0.55 * cover) + 2;
  const double a = (74 * m - 37 * c - 5 * y) * (1 - 0.7 * k) * (1 - 0.35 * cover);
  const double b = (93 * y - 50 * c - 3 * m) * (1 - 0.7 * k) * (1 - 0.35 * cover);
  return {std::clamp(L, 0.0, 100.0), std::clamp(a, -127.0, 127.0), std::clamp(b, -127.0, 127.0)};
}

}  // namespace

SyntheticChart::SyntheticChart(int patches, std::uint32_t seed)
    : rows_(std::max(1, static_cast<int>(std::lround(std::sqrt(patches))))), seed_(seed) {
  if (patches < 1)
    throw std::invalid_argument("a chart needs at least one patch");
  std::mt19937 rng(seed);
  patches_.resize(static_cast<std::size_t>(patches));
  for (Patch& p : patches_) {
    for (double& ink : p.cmyk)
      ink = std::floor(Uniform(rng, 0, 101));
    const auto lab = PrintedLab(p.cmyk);
    std::copy(lab.begin(), lab.end(), p.lab);
  }
}

std::string SyntheticChart::Identifier(int patch) const {
  std::string column;
  for (int g = patch / rows_ + 1; g > 0; g = (g - 1) / 26) {
    column.insert(column.begin(), static_cast<char>('A' + (g - 1) % 26));
  }
  return column + std::to_string(patch % rows_ + 1);
}

std::string SyntheticChart::Text(const std::string& descriptor, double drift) const {
  std::string out = "CGATS.17\r\nORIGINATOR \"Korimo benchmark\"\r\nDESCRIPTOR \"" + descriptor +
                    "\"\r\nKEYWORD \"LGOROWLENGTH\"\r\nLGOROWLENGTH " + std::to_string(rows_) +
                    "\r\nNUMBER_OF_FIELDS 9\r\nBEGIN_DATA_FORMAT\r\n"
                    "SAMPLE_ID\tSAMPLE_NAME\tCMYK_C\tCMYK_M\tCMYK_Y\tCMYK_K\tLAB_L\tLAB_A\tLAB_B"
                    "\r\nEND_DATA_FORMAT\r\nNUMBER_OF_SETS " +
                    std::to_string(patches_.size()) + "\r\nBEGIN_DATA\r\n";
  std::mt19937 noise(seed_ + static_cast<std::uint32_t>(drift * 1000));
  for (std::size_t i = 0; i < patches_.size(); ++i) {
    const Patch& p = patches_[i];
    out += std::to_string(i + 1) + "\t" + Identifier(static_cast<int>(i));
    for (double ink : p.cmyk) {
      out += '\t';
      AppendFixed2(out, ink);
    }
    for (int c = 0; c < 3; ++c) {
      out += '\t';
      const double limit = c == 0 ? 100.0 : 127.0;
      const double low = c == 0 ? 0.0 : -127.0;
      AppendFixed2(out, std::clamp(p.lab[c] + drift * Uniform(noise, -1, 1), low, limit));
    }
    out += kCrLf;
  }
  return out + "END_DATA\r\n";
}

void SyntheticChart::Write(const std::string& path, double drift) const {
  std::ofstream file(path, std::ios::binary);
  const std::string text = Text(drift == 0 ? "reference" : "re-measurement", drift);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!file)
    throw std::runtime_error("cannot write " + path);
}

}  // namespace korimo::bench
