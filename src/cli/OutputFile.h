#pragma once

#include <string>
#include <string_view>

#include "app/Platform.h"

namespace korimo {

// Writes the tool's output to `path`. A regular file (existing or new) is
// replaced only once the new content is complete; a device or pipe such as
// /dev/null or /dev/stdout is written in place, since renaming a temporary
// file over it would replace the device itself.
WriteOutcome WriteOutputFile(const std::string& path, std::string_view bytes);

}  // namespace korimo
