#include "ui/QtDialogs.h"

#include <QAction>
#include <QCursor>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QTreeView>

#include "ui/StaticCaptions.h"

namespace korimo {

namespace {

constexpr int kOpenDialogWidth = 760;
constexpr int kOpenDialogHeight = 440;

}  // namespace

QtDialogs::QtDialogs(QWidget* window) : window_(window) {}

std::optional<std::string> QtDialogs::OpenFile(DataSet set) {
  QString& last = lastOpened_[Index(set)];
  QFileDialog dialog(window_);
  PrepareOpenDialog(dialog, last);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  last = dialog.selectedFiles().first();
  return last.toStdString();
}

std::optional<std::string> QtDialogs::OpenCriteriaFile() {
  QFileDialog dialog(window_);
  PrepareOpenDialog(dialog, lastCriteria_);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  lastCriteria_ = dialog.selectedFiles().first();
  return lastCriteria_.toStdString();
}

std::vector<std::string> QtDialogs::OpenSheets() {
  QFileDialog dialog(window_);
  PrepareOpenDialog(dialog, lastSheet_);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  std::vector<std::string> paths;
  if (dialog.exec() != QDialog::Accepted)
    return paths;
  const QStringList chosen = dialog.selectedFiles();
  for (const QString& path : chosen)
    paths.push_back(path.toStdString());
  if (!chosen.isEmpty())
    lastSheet_ = chosen.first();
  return paths;
}

std::optional<std::string> QtDialogs::OpenSheetList() {
  QFileDialog dialog(window_);
  PrepareOpenDialog(dialog, lastList_);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  lastList_ = dialog.selectedFiles().first();
  return lastList_.toStdString();
}

std::optional<std::string> QtDialogs::ChooseWatchedFolder() {
  QFileDialog dialog(window_);
  PrepareOpenDialog(dialog, lastFolder_);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  lastFolder_ = dialog.selectedFiles().first();
  return lastFolder_.toStdString();
}

void QtDialogs::PrepareOpenDialog(QFileDialog& dialog, const QString& lastChosen) {
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The desktop's own dialogs refuse a name that does not exist when they
  // open, and speak the desktop's language rather than the window's.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (!lastChosen.isEmpty())
    dialog.selectFile(lastChosen);
  // Qt's default size and column widths cut the size, type and date of a
  // file to an ellipsis.
  dialog.resize(dialog.sizeHint().expandedTo(QSize(kOpenDialogWidth, kOpenDialogHeight)));
  if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = details->header();
    for (int column = 1; column < header->count(); ++column)
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

std::optional<MenuItem> QtDialogs::EditMenu(bool itemsEnabled) {
  QMenu menu(window_);
  menu.setTitle(QString::fromUtf8(kEditMenuTitle));
  QAction* copy = menu.addAction(QString::fromUtf8(kEditMenuCopy));
  QAction* save = menu.addAction(QString::fromUtf8(kEditMenuSave));
  copy->setEnabled(itemsEnabled);
  save->setEnabled(itemsEnabled);
  const QAction* chosen = menu.exec(QCursor::pos());
  if (chosen == copy)
    return MenuItem::Copy;
  if (chosen == save)
    return MenuItem::Save;
  return std::nullopt;
}

}  // namespace korimo
