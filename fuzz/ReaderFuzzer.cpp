// Feeds arbitrary bytes to the measurement reader as a file, CGATS or CxF3 as
// their content says, and checks what a read promises: at most 3000 patches
// with one notice for more, a reason exactly when nothing was stored, finite
// values that the two-decimal texts write and read back alike.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/Common.h"
#include "core/MeasurementReader.h"
#include "core/TextFields.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  // fmemopen refuses an empty buffer; an empty file reads as no patches anyway.
  std::string copy(reinterpret_cast<const char*>(bytes), size);
  if (copy.empty())
    copy.push_back('\n');
  std::unique_ptr<std::FILE, FileCloser> file(fmemopen(copy.data(), copy.size(), "rb"));
  if (!file)
    return 0;
  int notices = 0;
  const korimo::Measurement m =
      korimo::ReadMeasurementStream(file.get(), [&notices](std::string_view) { ++notices; });
  if (m.Count() > korimo::kMaxPatches || notices != (m.cutAt3000 ? 1 : 0))
    __builtin_trap();
  if (m.Stored() == (m.failure.code != korimo::ReadFailure::None))
    __builtin_trap();
  for (const korimo::LabValue& lab : m.lab) {
    for (const float v : lab) {
      if (!std::isfinite(v))
        __builtin_trap();  // the reader never stores a NaN or an infinity
      if (korimo::TwoDecimalsAsSingle(v) != korimo::ParseSingle(korimo::FormatTwoDec(v)))
        __builtin_trap();
    }
  }
  return 0;
}
