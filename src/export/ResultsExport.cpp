#include "export/ResultsExport.h"

#include "core/Encoding.h"
#include "export/ResultsText.h"

namespace korimo {

std::string WriteFailureMessage(const std::string& path, const std::string& reason) {
  return "ファイルを保存できませんでした。\r\n" + path + "\r\n" + reason;
}

void But_DataR_Click(Platform& platform, const std::array<std::string, 3>& paths,
                     const std::vector<GridRow>& rows) {
  const auto chosen = platform.SaveFileDialog(kResultsFilter);
  if (!chosen)
    return;
  const std::string path = ResultsFileName(*chosen);
  const std::string bytes = Utf8ToCp932(BuildResultsText(paths, rows));
  const WriteOutcome outcome = platform.WriteFile(path, bytes);
  if (!outcome.ok())
    platform.ShowMessage(WriteFailureMessage(path, outcome.error));
}

}  // namespace korimo
