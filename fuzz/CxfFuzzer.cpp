// Feeds arbitrary bytes to the CxF3 reader and checks what a read promises:
// patches and a reason never both, at most 3000 patches with one notice for
// more, finite values, one identifier per patch.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/Cxf3Reader.h"
#include "core/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  int notices = 0;
  const korimo::Measurement m =
      korimo::ReadCxf3(text, "fuzz.cxf", [&notices](std::string_view) { ++notices; });
  if (m.Count() > korimo::kMaxPatches || notices != (m.cutAt3000 ? 1 : 0))
    __builtin_trap();
  if (m.Stored() == (m.failure.code != korimo::ReadFailure::None))
    __builtin_trap();
  if (!korimo::IsValidUtf8(korimo::EnglishReason(m.failure)) ||
      !korimo::IsValidUtf8(korimo::JapaneseReason(m.failure)))
    __builtin_trap();
  for (const korimo::LabValue& lab : m.lab) {
    for (const float v : lab) {
      if (!std::isfinite(v))
        __builtin_trap();
    }
  }
  for (const korimo::IdentifierColumn* column : {&m.ids, &m.sampleName, &m.sampleId}) {
    if (m.Stored() && (!column->present || column->values.size() != m.lab.size()))
      __builtin_trap();
    for (const std::string& id : column->values) {
      if (!korimo::IsValidUtf8(id))
        __builtin_trap();
    }
  }
  if (m.device.space != korimo::DeviceSpace::None && m.device.values.size() != m.lab.size())
    __builtin_trap();
  return 0;
}
