#pragma once

#include <string>
#include <vector>

#include "app/EngineState.h"
#include "app/Hooks.h"

namespace korimo {

// The ways a measurement file is chosen. Each ends the same: the path goes
// into the set's path label and the load driver reads it from there. A drop
// uses the first path of its list; an empty list changes nothing.

// The open dialog of the set's file button returned `path`.
void ChooseFile(EngineState& state, DataSet set, const std::string& path, const EngineHooks& hooks);

void But_File_OLEDragDrop(EngineState& state, DataSet set, const std::vector<std::string>& paths,
                          const EngineHooks& hooks);
// Path labels and charts ignore shell links.
void Lb_File_OLEDragDrop(EngineState& state, DataSet set, const std::vector<std::string>& paths,
                         const EngineHooks& hooks);
// A chart fills the Reference first, then its own sample file.
void PictPat_OLEDragDrop(EngineState& state, Pair chart, const std::vector<std::string>& paths,
                         const EngineHooks& hooks);
// The grid fills the first set without a file; with all three chosen it
// reads the Reference again.
void FlexG_OLEDragDrop(EngineState& state, const std::vector<std::string>& paths,
                       const EngineHooks& hooks);

// The program's argument text: loads it as the Reference, enclosing double
// quotes dropped.
void CommandLine(EngineState& state, const std::string& argumentText, const EngineHooks& hooks);

// A shell link (".lnk" in any case).
bool IsShellLink(const std::string& path);

// What the argument text of the process becomes as the Reference path.
std::string ReferencePathFromArguments(const std::string& argumentText);

}  // namespace korimo
