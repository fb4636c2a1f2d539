#include "ui/FileDropFilter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace korimo {

FileDropFilter::FileDropFilter(QWidget* target) : QObject(target) {
  target->setAcceptDrops(true);
  target->installEventFilter(this);
}

std::vector<std::string> ToPaths(const QStringList& list) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(list.size()));
  for (const QString& p : list)
    paths.push_back(p.toStdString());
  return paths;
}

QStringList FileDropFilter::LocalFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls())
    return paths;
  const QList<QUrl> urls = data->urls();
  for (const QUrl& url : urls) {
    if (url.isLocalFile())
      paths.append(url.toLocalFile());
  }
  return paths;
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      // QDragEnterEvent derives from QDragMoveEvent, which derives from QDropEvent.
      auto* drag = static_cast<QDropEvent*>(event);
      if (LocalFiles(drag->mimeData()).isEmpty())
        drag->ignore();
      else
        drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList paths = LocalFiles(drop->mimeData());
      if (paths.isEmpty()) {
        drop->ignore();
        return true;
      }
      drop->acceptProposedAction();
      emit filesDropped(paths);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace korimo
