#pragma once

#include <string>
#include <string_view>

#include "app/Platform.h"

namespace korimo {

// Writes `bytes` to `path` (UTF-8) through a temporary file beside it, so
// that an existing file is replaced only once the new content is complete.
// On failure the old file is left as it was and the outcome names the reason.
// A device or pipe (/dev/null, /dev/stdout) is written in place.
WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace korimo
