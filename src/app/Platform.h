#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/Raster.h"

namespace korimo {

// What a file write reports: empty on success, else the reason.
struct WriteOutcome {
  std::string error;
  bool ok() const { return error.empty(); }
};

// The desktop services the window's commands use. The Qt window supplies
// the real ones; tests supply fakes that record calls and answer dialogs.
class Platform {
 public:
  virtual ~Platform() = default;

  // The one save dialog shared by every save command; it asks before an
  // existing file is overwritten. `filter` is "description|pattern".
  // nullopt when the user cancels.
  virtual std::optional<std::string> SaveFileDialog(std::string_view filter) = 0;

  virtual void ShowMessage(std::string_view text) = 0;  // one OK button

  virtual void ClipboardClear() = 0;
  virtual void ClipboardSetText(std::string_view text) = 0;
  virtual void ClipboardSetBitmap(const Raster& picture) = 0;
  virtual void ClipboardSetBitmapAndText(const Raster& picture, std::string_view text) = 0;

  // Files are replaced only once the new content is complete.
  virtual WriteOutcome WriteFile(const std::string& path, std::string_view bytes) = 0;
  virtual WriteOutcome SaveBitmap(const Raster& picture, const std::string& path) = 0;

  // Opens a document with the desktop's application for it.
  virtual void OpenDocument(const std::string& path) = 0;
  // The folder that holds the program, without a trailing separator.
  virtual std::string ProgramFolder() const = 0;
};

}  // namespace korimo
