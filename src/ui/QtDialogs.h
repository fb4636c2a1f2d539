#pragma once

#include <QFileDialog>
#include <QString>

#include <array>

#include "ui/WindowDialogs.h"

class QWidget;

namespace korimo {

// The window's questions as Qt dialogs and menus. Each file button's dialog
// opens where its last choice was.
class QtDialogs : public WindowDialogs {
 public:
  // `window` parents the dialogs and the menu; it must outlive this object.
  explicit QtDialogs(QWidget* window = nullptr);

  // The window is built after the dialogs it uses; it is handed over here.
  void SetWindow(QWidget* window) { window_ = window; }

  std::optional<std::string> OpenFile(DataSet set) override;
  std::optional<MenuItem> EditMenu(bool itemsEnabled) override;
  std::optional<std::string> OpenCriteriaFile() override;
  std::vector<std::string> OpenSheets() override;
  std::optional<std::string> OpenSheetList() override;
  std::optional<std::string> ChooseWatchedFolder() override;

  // A file button's dialog, starting from the set's last choice. It returns
  // a typed name whether or not the file exists: such a name loads as a file
  // without patches, which is what the user asked for.
  static void PrepareOpenDialog(QFileDialog& dialog, const QString& lastChosen);

 private:
  // One file (or folder) in `mode`, starting from and keeping `last`.
  std::optional<std::string> ChooseOne(QString& last, QFileDialog::FileMode mode);
  QWidget* window_;
  std::array<QString, 3> lastOpened_;
  QString lastCriteria_;
  QString lastSheet_;
  QString lastList_;
  QString lastFolder_;
};

}  // namespace korimo
