#include "export/Manual.h"

namespace korimo {

std::string ManualPath(const std::string& programFolder) {
  std::string path = programFolder;
  if (path.empty() || path.back() != '/')
    path += '/';
  return path + std::string(kManualFileName);
}

void But_Help_Click(Platform& platform) {
  platform.OpenDocument(ManualPath(platform.ProgramFolder()));
}

}  // namespace korimo
