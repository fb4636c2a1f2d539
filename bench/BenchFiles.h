#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace korimo::bench {

// A scratch folder with a 3000-patch reference and two drifted
// re-measurements of it, made once per benchmark run and removed at exit.
class BenchFiles {
 public:
  static constexpr int kPatches = 3000;

  explicit BenchFiles(const std::string& tag);
  ~BenchFiles();
  BenchFiles(const BenchFiles&) = delete;
  BenchFiles& operator=(const BenchFiles&) = delete;

  // Reference, File1, File2.
  std::array<std::string, 3> paths;

  // A further file in the same folder.
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

}  // namespace korimo::bench
