// Feeds arbitrary bytes to the measurement reader as a file, into each data
// set in turn, and runs the comparison helpers on whatever it stored.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/Common.h"
#include "core/ComparisonData.h"
#include "core/MeasurementReader.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static auto data = std::make_unique<korimo::ComparisonData>();
  // fmemopen refuses an empty buffer; an empty file reads as no patches anyway.
  std::string copy(reinterpret_cast<const char*>(bytes), size);
  if (copy.empty())
    copy.push_back('\n');
  const int set = size % 3;
  std::unique_ptr<std::FILE, FileCloser> file(fmemopen(copy.data(), copy.size(), "rb"));
  if (!file)
    return 0;
  int messages = 0;
  const korimo::ReadResult read = korimo::ReadMeasurementStream(
      file.get(), set, *data, [&messages](std::string_view) { ++messages; });
  const int n = read.patches;
  if (n < 0 || n > korimo::kMaxPatches || messages != (read.cutAt3000 ? 1 : 0))
    __builtin_trap();
  // A read tells why it stored nothing, and only then.
  if ((n == 0) != (read.failure != korimo::ReadFailure::None))
    __builtin_trap();
  const korimo::LabTable& lab = data->Lab(set);
  for (int i = 0; i < n; ++i) {
    for (double v : lab[i]) {
      if (!(v == v) || v > 3.5e38 || v < -3.5e38)
        __builtin_trap();  // the reader never stores a NaN or an infinity
      korimo::FormatTwoDec(v);
    }
  }
  return 0;
}
