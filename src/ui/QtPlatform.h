#pragma once

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/Platform.h"

class QWidget;

namespace korimo {

// The desktop services of Platform on top of Qt. Paths and texts cross the
// interface as UTF-8.
class QtPlatform : public Platform {
 public:
  // `window` parents the dialogs and the menu and lends message boxes its
  // caption; it must outlive this object.
  explicit QtPlatform(QWidget* window);

  // The window is built after the platform it uses; it is handed over here.
  void SetWindow(QWidget* window) { window_ = window; }

  std::optional<std::string> OpenFileDialog(int set) override;
  std::optional<std::string> SaveFileDialog(std::string_view filter) override;
  void ShowMessage(std::string_view text) override;
  std::optional<int> PopupEditMenu(bool itemsEnabled) override;

  void ClipboardClear() override;
  void ClipboardSetText(std::string_view text) override;
  void ClipboardSetBitmap(const Bitmap& bitmap) override;
  void ClipboardSetBitmapAndText(const Bitmap& bitmap, std::string_view text) override;

  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override;
  WriteOutcome SaveBitmap(const Bitmap& bitmap, const std::string& path) override;

  void OpenDocument(const std::string& path) override;
  std::string ProgramFolder() const override;
  ProgramVersion Version() const override;

  // "description|pattern|..." as Qt's file dialogs take it:
  // "description (pattern);;...".
  static QString QtFileFilter(std::string_view filter);
  // "major.minor.revision"; missing or unreadable parts read as 0.

 private:
  QString Caption() const;

  QWidget* window_;
  std::array<QString, 3> lastOpened_;
  QString lastSaved_;
};

}  // namespace korimo
