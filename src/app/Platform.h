#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korimo {

// A picture handed to the clipboard or to a bitmap file: packed colours with
// red in the low byte, row by row from the top.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// What a file write reports: empty on success, else the reason.
struct WriteOutcome {
  std::string error;
  bool ok() const { return error.empty(); }
};

struct ProgramVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

// Services of the desktop the window relies on. The Qt window supplies the
// real ones; tests supply fakes that record calls and answer dialogs.
class Platform {
 public:
  virtual ~Platform() = default;

  // Open dialog of data set 0..2; each remembers the file last chosen in it.
  // nullopt when the user cancels.
  virtual std::optional<std::string> OpenFileDialog(int set) = 0;
  // The one save dialog shared by every save command; it asks before an
  // existing file is overwritten. `filter` is "description|pattern".
  virtual std::optional<std::string> SaveFileDialog(std::string_view filter) = 0;

  virtual void ShowMessage(std::string_view text) = 0;  // one OK button

  // Shows the Edit pop-up menu ("コピー", "保  存") at the pointer; returns the
  // item chosen (0 or 1), nullopt when dismissed or when the items are off.
  virtual std::optional<int> PopupEditMenu(bool itemsEnabled) = 0;

  virtual void ClipboardClear() = 0;
  virtual void ClipboardSetText(std::string_view text) = 0;
  virtual void ClipboardSetBitmap(const Bitmap& bitmap) = 0;
  virtual void ClipboardSetBitmapAndText(const Bitmap& bitmap, std::string_view text) = 0;

  // Files are replaced only once the new content is complete.
  virtual WriteOutcome WriteFile(const std::string& path, std::string_view bytes) = 0;
  virtual WriteOutcome SaveBitmap(const Bitmap& bitmap, const std::string& path) = 0;

  virtual void OpenDocument(const std::string& path) = 0;
  virtual std::string ProgramFolder() const = 0;
  virtual ProgramVersion Version() const = 0;
};

}  // namespace korimo
