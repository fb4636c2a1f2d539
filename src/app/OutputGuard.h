#pragma once

#include <string>
#include <vector>

namespace korimo {

// Why `output` must not be written, or empty when it may. Both faces ask
// before any save: an output that is one of the inputs (the same file, by
// any name or link) would lose the user's measurements; an existing file
// the user could not write in place, or that has no write bit at all, keeps
// its protection although replacing it by renaming would succeed (root may
// write anything, and the folder's permissions would decide otherwise); a
// folder is no file; and a folder that cannot take the temporary file is
// named as the cause. `inputs` are every file the run reads; empty entries
// are skipped.
std::string OutputRefusal(const std::string& output, const std::vector<std::string>& inputs);

}  // namespace korimo
