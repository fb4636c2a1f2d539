#include "ui/QtDialogs.h"

#include <QAction>
#include <QCursor>
#include <QFileDialog>
#include <QMenu>

#include "ui/StaticCaptions.h"

namespace korimo {

QtDialogs::QtDialogs(QWidget* window) : window_(window) {}

std::optional<std::string> QtDialogs::OpenFile(DataSet set) {
  QString& last = lastOpened_[Index(set)];
  const QString path = QFileDialog::getOpenFileName(window_, QString(), last);
  if (path.isEmpty())
    return std::nullopt;
  last = path;
  return path.toStdString();
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
