#include "export/ResultsExport.h"

#include "app/OutputGuard.h"
#include "core/Encoding.h"
#include "export/ResultsText.h"

namespace korimo {

std::string WriteFailureMessage(const std::string& path, const std::string& reason) {
  return "ファイルを保存できませんでした。\r\n" + path + "\r\n" + reason;
}

bool MayWrite(Platform& platform, const std::string& path, const std::array<std::string, 3>& paths,
              const std::vector<std::string>& otherInputs) {
  std::vector<std::string> inputs(paths.begin(), paths.end());
  inputs.insert(inputs.end(), otherInputs.begin(), otherInputs.end());
  const std::string refusal = OutputRefusal(path, inputs);
  if (refusal.empty())
    return true;
  platform.ShowMessage(WriteFailureMessage(path, refusal));
  return false;
}

void But_DataR_Click(Platform& platform, const std::array<std::string, 3>& paths,
                     const GridContent& grid) {
  const auto chosen = platform.SaveFileDialog(kResultsFilter);
  if (!chosen)
    return;
  const std::string path = ResultsFileName(*chosen);
  if (!MayWrite(platform, path, paths))
    return;
  const WriteOutcome outcome = platform.WriteFile(path, Utf8ToCp932(BuildResultsText(paths, grid)));
  if (!outcome.ok())
    platform.ShowMessage(WriteFailureMessage(path, outcome.error));
}

}  // namespace korimo
