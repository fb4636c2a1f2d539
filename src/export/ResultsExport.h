#pragma once

#include <string>
#include <vector>

#include "app/Platform.h"
#include "app/WindowRecord.h"

namespace korimo {

// "結果保存": asks for a file name and writes the grid as the results text in
// CP932. A file that cannot be written is reported, never half-written.
void But_DataR_Click(Platform& platform, const std::array<std::string, 3>& paths,
                     const GridContent& grid);

// Whether a save may write `path`; when it may not (one of the chosen
// files, read-only, a folder), says why and the save writes nothing.
bool MayWrite(Platform& platform, const std::string& path, const std::array<std::string, 3>& paths,
              const std::vector<std::string>& otherInputs = {});

// The message shown when an output file could not be written.
std::string WriteFailureMessage(const std::string& path, const std::string& reason);

}  // namespace korimo
