#pragma once

#include <string>
#include <string_view>

#include "app/Platform.h"

namespace korimo {

// Writes `bytes` to `path` through a temporary file in the same folder,
// flushed to the disk before it is renamed over the target, so that an
// existing file is replaced only once the new content is complete. On
// failure the old file is left as it was, no temporary remains and the
// outcome names the reason. A device or pipe (/dev/null, /dev/stdout) is
// written in place: renaming over it would replace the device itself.
WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace korimo
