#include "cli/CliPlatform.h"

#include <utility>

#include "app/Version.h"
#include "export/AtomicFile.h"

namespace korimo {

void CliPlatform::ReadFinished(const std::string& path) {
  for (std::string& message : pending_) {
    if (reported_.emplace(path, message).second) {
      diagnostics_.push_back("korimo-cli: " + path + ": " + message);
    }
  }
  pending_.clear();
}

std::vector<std::string> CliPlatform::TakeDiagnostics() {
  // A message no read claimed is still the user's business.
  for (std::string& message : pending_)
    diagnostics_.push_back("korimo-cli: " + message);
  pending_.clear();
  return std::exchange(diagnostics_, {});
}

WriteOutcome CliPlatform::WriteFile(const std::string& path, std::string_view bytes) {
  return WriteFileAtomically(path, bytes);
}

WriteOutcome CliPlatform::SaveBitmap(const Bitmap&, const std::string& path) {
  return {"pictures are not saved by the batch tool: " + path};
}

ProgramVersion CliPlatform::Version() const {
  return {kVersionMajor, kVersionMinor, kVersionPatch};
}

}  // namespace korimo
