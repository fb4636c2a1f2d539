#include "BenchFiles.h"

#include <unistd.h>

#include <system_error>

#include "SyntheticChart.h"

namespace korimo::bench {

BenchFiles::BenchFiles(const std::string& tag)
    : dir_(std::filesystem::temp_directory_path() /
           ("korimo-" + tag + "-" + std::to_string(::getpid()))) {
  std::filesystem::create_directories(dir_);
  const SyntheticChart chart(kPatches);
  const double drift[3] = {0.0, 1.5, 3.0};
  for (int s = 0; s < 3; ++s) {
    paths[s] = Path("set" + std::to_string(s) + ".txt");
    chart.Write(paths[s], drift[s]);
  }
}

BenchFiles::~BenchFiles() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

}  // namespace korimo::bench
