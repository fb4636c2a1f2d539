#include "app/FileSelection.h"

#include "app/LoadDriver.h"
#include "core/TextFields.h"

namespace korimo {

bool IsShellLink(const std::string& path) {
  return EndsWithUpperAscii(path, ".LNK");
}

std::string ReferencePathFromArguments(const std::string& text) {
  if (!text.empty() && text.front() == '"')
    return text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
  return text;
}

void ChooseFile(EngineState& state, DataSet set, const std::string& path,
                const EngineHooks& hooks) {
  state.inputs.paths[Index(set)] = path;
  LoadDataSet(state, set, hooks);
}

void But_File_OLEDragDrop(EngineState& state, DataSet set, const std::vector<std::string>& paths,
                          const EngineHooks& hooks) {
  if (!paths.empty())
    ChooseFile(state, set, paths.front(), hooks);
}

void Lb_File_OLEDragDrop(EngineState& state, DataSet set, const std::vector<std::string>& paths,
                         const EngineHooks& hooks) {
  if (paths.empty() || IsShellLink(paths.front()))
    return;
  ChooseFile(state, set, paths.front(), hooks);
}

void PictPat_OLEDragDrop(EngineState& state, Pair chart, const std::vector<std::string>& paths,
                         const EngineHooks& hooks) {
  if (paths.empty() || IsShellLink(paths.front()))
    return;
  const DataSet target =
      state.inputs.Chosen(DataSet::Reference) ? SampleOf(chart) : DataSet::Reference;
  ChooseFile(state, target, paths.front(), hooks);
}

void FlexG_OLEDragDrop(EngineState& state, const std::vector<std::string>& paths,
                       const EngineHooks& hooks) {
  if (paths.empty())
    return;
  for (DataSet set : kAllSets) {
    if (!state.inputs.Chosen(set)) {
      ChooseFile(state, set, paths.front(), hooks);
      return;
    }
  }
  LoadDataSet(state, DataSet::Reference, hooks);
}

void CommandLine(EngineState& state, const std::string& argumentText, const EngineHooks& hooks) {
  if (argumentText.empty())
    return;
  ChooseFile(state, DataSet::Reference, ReferencePathFromArguments(argumentText), hooks);
}

}  // namespace korimo
