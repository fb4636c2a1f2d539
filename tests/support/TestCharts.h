#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korimo::testing {

struct Patch {
  std::string id;
  double L = 0, a = 0, b = 0;
  std::optional<std::array<int, 4>> cmyk{};  // written when the first patch has them
};

// Patches P1, P2, ... at L* = 50 + d[i], a* = b* = 0: against a flat
// Reference at 50 their dE*ab is d[i].
inline std::vector<Patch> Offsets(const std::vector<double>& d) {
  std::vector<Patch> out;
  for (std::size_t i = 0; i < d.size(); ++i)
    out.push_back({"P" + std::to_string(i + 1), 50 + d[i], 0, 0});
  return out;
}

inline std::vector<Patch> Flat(int n, double L = 50) {
  return Offsets(std::vector<double>(static_cast<std::size_t>(n), L - 50));
}

// Patches P1 ... Pn with colours that differ in every component.
inline std::vector<Patch> Varied(int n, double shift) {
  std::vector<Patch> patches;
  for (int i = 1; i <= n; ++i)
    patches.push_back({"P" + std::to_string(i), 20 + 3 * i + shift, (i % 7) * 4.5 - 12 + shift,
                       (i % 5) * 6.0 - 9 - shift});
  return patches;
}

// Writes a measurement file the way measuring software exports it.
inline void WriteChart(const std::filesystem::path& path, const std::vector<Patch>& patches,
                       int rowLength = 0) {
  std::ofstream out(path, std::ios::binary);
  out << "CGATS.17\r\n";
  if (rowLength > 0)
    out << "LGOROWLENGTH " << rowLength << "\r\n";
  const bool device = !patches.empty() && patches[0].cmyk;
  out << "BEGIN_DATA_FORMAT\r\nSAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B"
      << (device ? "\tCMYK_C\tCMYK_M\tCMYK_Y\tCMYK_K" : "")
      << "\r\nEND_DATA_FORMAT\r\nBEGIN_DATA\r\n";
  int n = 0;
  for (const Patch& p : patches) {
    out << ++n << '\t' << p.id << '\t' << p.L << '\t' << p.a << '\t' << p.b;
    for (std::size_t k = 0; device && k < 4; ++k)
      out << '\t' << p.cmyk.value()[k];
    out << "\r\n";
  }
  out << "END_DATA\r\n";
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The largest the process's resident memory has been, in KiB.
inline long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A temporary folder removed with the fixture.
class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    static std::atomic<int> next{0};
    path_ = std::filesystem::temp_directory_path() /
            ("korimo-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(++next));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Writes a file in the folder; its path.
  std::string Write(const std::string& name, std::string_view bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
    return File(name);
  }
  std::string Chart(const std::string& name, const std::vector<Patch>& patches,
                    int rowLength = 0) const {
    WriteChart(path_ / name, patches, rowLength);
    return File(name);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace korimo::testing
