#pragma once

#include <QString>

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
  // `window` parents the dialogs and lends message boxes its caption; it
  // must outlive this object.
  explicit QtPlatform(QWidget* window = nullptr);

  // The window is built after the platform it uses; it is handed over here.
  void SetWindow(QWidget* window) { window_ = window; }

  std::optional<std::string> SaveFileDialog(std::string_view filter) override;
  void ShowMessage(std::string_view text) override;

  void ClipboardClear() override;
  void ClipboardSetText(std::string_view text) override;
  void ClipboardSetBitmap(const Raster& picture) override;
  void ClipboardSetBitmapAndText(const Raster& picture, std::string_view text) override;

  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override;
  WriteOutcome SaveBitmap(const Raster& picture, const std::string& path) override;

  void OpenDocument(const std::string& path) override;
  std::string ProgramFolder() const override;

  // "description|pattern|..." as Qt's file dialogs take it:
  // "description (pattern);;...".
  static QString QtFileFilter(std::string_view filter);

 private:
  QString Caption() const;

  QWidget* window_;
  QString lastSaved_;
};

}  // namespace korimo
