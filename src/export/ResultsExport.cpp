#include "export/ResultsExport.h"

#include "core/Encoding.h"
#include "export/ResultsText.h"

namespace korimo {

std::string WriteFailureMessage(const std::string& path, const std::string& reason) {
  return "ファイルを保存できませんでした。\r\n" + path + "\r\n" + reason;
}

void But_DataR_Click(Platform& platform, const WindowRecord& record) {
  const auto chosen = platform.SaveFileDialog(kResultsFilter);
  if (!chosen)
    return;
  const std::string path = ResultsFileName(*chosen);
  const WriteOutcome outcome = platform.WriteFile(path, Utf8ToCp932(BuildResultsText(record)));
  if (!outcome.ok())
    platform.ShowMessage(WriteFailureMessage(path, outcome.error));
}

}  // namespace korimo
