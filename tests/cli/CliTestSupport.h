#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "cli/BatchRun.h"
#include "support/TestCharts.h"

namespace korimo::testing {

inline const std::string kSmallRef = KORIMO_SAMPLES_DIR "/small-reference.txt";
inline const std::string kSmallF1 = KORIMO_SAMPLES_DIR "/small-file1.txt";
inline const std::string kSmallF2 = KORIMO_SAMPLES_DIR "/small-file2.txt";
inline const std::string kLargeRef = KORIMO_SAMPLES_DIR "/large-reference.txt";
inline const std::string kLargeF1 = KORIMO_SAMPLES_DIR "/large-file1.txt";
inline const std::string kLargeF2 = KORIMO_SAMPLES_DIR "/large-file2.txt";

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace korimo::testing
