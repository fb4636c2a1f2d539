#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/Measurement.h"

namespace korimo {

// A CxF3 file larger than this is refused before it is parsed; a 3000-patch
// spectral file is about 3 MB.
inline constexpr std::size_t kMaxCxfBytes = 32u << 20;

// What parsing one CxF3 file may hold at once: its text as UTF-8 and the
// parser's tree. With the file itself this keeps a read under 100 MiB.
inline constexpr std::size_t kMaxXmlMemoryBytes = 48u << 20;

// No instrument measures more bands than this; a longer spectrum is refused
// rather than held.
inline constexpr int kMaxSpectralValues = 1024;

// Whether a file's first bytes are XML rather than CGATS text: after an
// optional UTF-8 or UTF-16 byte-order mark and white space, the first
// character is '<'. A UTF-16 file without a mark is recognised when '<' is
// its first character.
bool LooksLikeXml(std::string_view head);

// Reads a CxF3 file whose bytes are all in memory, as the CGATS reader reads
// its files: at most 3000 patches (`notice` is called once when there were
// more), L*a*b* stored as 32-bit values, and a refusal with a reason and no
// patches when the file cannot be read whole. Never throws for bad input.
Measurement ReadCxf3(std::string_view bytes, const std::string& path,
                     const std::function<void(std::string_view)>& notice);

}  // namespace korimo
