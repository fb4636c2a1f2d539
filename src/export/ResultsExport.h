#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/GridRows.h"
#include "app/Platform.h"

namespace korimo {

// "結果保存": asks for a file name and writes the grid as the results text in
// CP932. A file that cannot be written is reported, never half-written.
void But_DataR_Click(Platform& platform, const std::array<std::string, 3>& paths,
                     const std::vector<GridRow>& rows);

// The message shown when an output file could not be written.
std::string WriteFailureMessage(const std::string& path, const std::string& reason);

}  // namespace korimo
