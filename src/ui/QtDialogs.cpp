#include "ui/QtDialogs.h"

#include <QAction>
#include <QCursor>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QTreeView>

#include "ui/FileDropFilter.h"
#include "ui/StaticCaptions.h"

namespace korimo {

namespace {

constexpr int kOpenDialogWidth = 760;
constexpr int kOpenDialogHeight = 440;

}  // namespace

QtDialogs::QtDialogs(QWidget* window) : window_(window) {}

std::optional<std::string> QtDialogs::OpenFile(DataSet set) {
  return ChooseOne(lastOpened_[Index(set)], QFileDialog::AnyFile);
}

std::optional<std::string> QtDialogs::OpenCriteriaFile() {
  return ChooseOne(lastCriteria_, QFileDialog::ExistingFile);
}

std::vector<std::string> QtDialogs::OpenSheets() {
  QFileDialog dialog(window_);
  PrepareOpenDialog(dialog, lastSheet_);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  if (dialog.exec() != QDialog::Accepted)
    return {};
  const QStringList chosen = dialog.selectedFiles();
  if (!chosen.isEmpty())
    lastSheet_ = chosen.first();
  return ToPaths(chosen);
}

std::optional<std::string> QtDialogs::OpenSheetList() {
  return ChooseOne(lastList_, QFileDialog::ExistingFile);
}

std::optional<std::string> QtDialogs::ChooseWatchedFolder() {
  return ChooseOne(lastFolder_, QFileDialog::Directory);
}

std::optional<std::string> QtDialogs::ChooseOne(QString& last, QFileDialog::FileMode mode) {
  QFileDialog dialog(window_);
  PrepareOpenDialog(dialog, last);
  dialog.setFileMode(mode);
  if (mode == QFileDialog::Directory)
    dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  last = dialog.selectedFiles().first();
  return last.toStdString();
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
